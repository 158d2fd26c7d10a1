#include "uCore.h"

#include "uDataBaseModule.h"

namespace {
std::unique_ptr<TCore> g_core;
}

TCore::TCore(const QString& ProgramFolder) {
    // Creation order: messages module, dictionary loader thread, database module
    // (which loads the router and asks for the configured root object at once),
    // settings module, dictionary module.
    FDataBaseModule = std::make_unique<TDataBaseModule>(ProgramFolder);
}

TCore::~TCore() {
    // Destruction follows the field order: the database module disconnects and
    // releases the root object, then unloads the router.
    FDataBaseModule.reset();
}

TCore* Core() {
    return g_core.get();
}

TCore* CreateCore(const QString& ProgramFolder) {
    if (!g_core)
        g_core = std::make_unique<TCore>(ProgramFolder);
    return g_core.get();
}

void DestroyCore() {
    g_core.reset();
}
