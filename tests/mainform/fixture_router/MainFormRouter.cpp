// A router library built only for the main window's tests: every root object it
// hands out comes from a factory that the test installs, so a test decides what
// the "installed backend" is and keeps hold of the objects it hands out.

#include "uEwidarQuorDBIntf.h"

#include <functional>
#include <string>

namespace {
std::function<IEwidarDataBase*(const std::u16string&)> g_factory;
}

extern "C" {

EWIDAR_EXPORT int32_t DBListCount() {
    return 0;
}

EWIDAR_EXPORT bool DBListItem(int32_t, std::u16string& DBSymbol, std::u16string& DBManagerCaption) {
    DBSymbol.clear();
    DBManagerCaption.clear();
    return false;
}

EWIDAR_EXPORT bool GetLastError(int32_t, const std::u16string&, std::u16string& Text, std::u16string& Link) {
    Text.clear();
    Link.clear();
    return false;
}

EWIDAR_EXPORT void GetEwidarIntf(const std::u16string& Symbol, IEwidarDataBase** Out) {
    *Out = g_factory ? g_factory(Symbol) : nullptr;
}

// The factory returns one reference owned by the caller, or nullptr ("not installed").
EWIDAR_EXPORT void MainFormRouterSetFactory(std::function<IEwidarDataBase*(const std::u16string&)> Factory) {
    g_factory = std::move(Factory);
}
}
