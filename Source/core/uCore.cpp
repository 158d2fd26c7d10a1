#include "uCore.h"

#include "uDataBaseModule.h"
#include "uDictionaryModule.h"
#include "uInitializeTableThread.h"
#include "uRegistryReportBox.h"
#include "uSettingsModule.h"
#include "uUserMessagesModule.h"

namespace {
std::unique_ptr<TCore> g_core;
}

TCore::TCore(const QString& ProgramFolder) {
    // Failed registry writes are reported in one box from the start.
    InstallRegistryReportBox();
    try {
        // Creation order: messages module, dictionary loader thread, database module
        // (which loads the router and asks for the configured root object at once),
        // settings module, dictionary module.
        FUserMessagesModule = std::make_unique<TUserMessagesModule>();
        SetUserMessagesModule(FUserMessagesModule.get());
        FInitializeTableThread = std::make_unique<TInitializeTableThread>(ProgramFolder);
        FDataBaseModule = std::make_unique<TDataBaseModule>(ProgramFolder);
        FUserMessagesModule->SetDataBaseModule(FDataBaseModule.get());
        FSettingsModule = std::make_unique<TSettingsModule>();
        FDictionaryModule = std::make_unique<TDictionaryModule>();
    } catch (...) {
        FreeModules();
        throw;
    }
}

TCore::~TCore() {
    FreeModules();
}

void TCore::FreeModules() {
    // Field order: the database module disconnects and releases the root object,
    // then unloads the router; the messages module goes last. A dictionary load still
    // running is asked to stop at once (it ends after its current row while the
    // database module closes) and joined before the dictionary module is freed.
    if (FInitializeTableThread)
        FInitializeTableThread->requestInterruption();
    if (FUserMessagesModule)
        FUserMessagesModule->SetDataBaseModule(nullptr);
    FDataBaseModule.reset();
    FSettingsModule.reset();
    if (FInitializeTableThread)
        FInitializeTableThread->wait();
    FDictionaryModule.reset();
    FInitializeTableThread.reset();
    SetUserMessagesModule(nullptr);
    FUserMessagesModule.reset();
    RemoveRegistryReportBox();
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
