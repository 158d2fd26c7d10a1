// A router library built only for the settings window's tests: the list of offered
// backends and every root object it hands out come from the test.

#include "uEwidarQuorDBIntf.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<std::u16string, std::u16string>> g_list;
std::function<IEwidarDataBase*(const std::u16string&)> g_factory;
} // namespace

extern "C" {

EWIDAR_EXPORT int32_t DBListCount() {
    return static_cast<int32_t>(g_list.size());
}

EWIDAR_EXPORT bool DBListItem(int32_t Index, std::u16string& DBSymbol, std::u16string& DBManagerCaption) {
    DBSymbol.clear();
    DBManagerCaption.clear();
    if (Index < 0 || Index >= DBListCount())
        return false;
    DBSymbol = g_list[static_cast<size_t>(Index)].first;
    DBManagerCaption = g_list[static_cast<size_t>(Index)].second;
    return true;
}

EWIDAR_EXPORT bool GetLastError(int32_t, const std::u16string&, std::u16string& Text, std::u16string& Link) {
    Text.clear();
    Link.clear();
    return false;
}

EWIDAR_EXPORT void GetEwidarIntf(const std::u16string& Symbol, IEwidarDataBase** Out) {
    *Out = g_factory ? g_factory(Symbol) : nullptr;
}

// The offered backends (symbol, caption) in list order.
EWIDAR_EXPORT void SettingsRouterSetList(std::vector<std::pair<std::u16string, std::u16string>> List) {
    g_list = std::move(List);
}

// The factory returns one reference owned by the caller, or nullptr ("not installed").
EWIDAR_EXPORT void SettingsRouterSetFactory(std::function<IEwidarDataBase*(const std::u16string&)> Factory) {
    g_factory = std::move(Factory);
}
}
