// A router library built only for tests: exports the router's functions and
// hands out a root object that counts its Disconnect calls. Built twice: with
// and without "GetEwidarIntf".

#include "FakeDataBase.h"

#include <string>

namespace {

std::u16string g_lastSymbol;
int g_requests = 0;
int g_disconnects = 0;

class TCountingDataBase : public TFakeDataBase {
public:
    void Disconnect() override { ++g_disconnects; }
};

} // namespace

extern "C" {

EWIDAR_EXPORT int32_t DBListCount() {
    return 1;
}

EWIDAR_EXPORT bool DBListItem(int32_t Index, std::u16string& DBSymbol, std::u16string& DBManagerCaption) {
    DBSymbol.clear();
    DBManagerCaption.clear();
    if (Index != 0)
        return false;
    DBSymbol = u"SQLITE";
    DBManagerCaption = u"SQL Lite";
    return true;
}

EWIDAR_EXPORT bool GetLastError(int32_t ErrCode, const std::u16string&, std::u16string& Text,
                                std::u16string& Link) {
    Text = u"fake text " + std::u16string(1, static_cast<char16_t>(u'0' + ErrCode % 10));
    Link = u"https://example.invalid/";
    return true;
}

#ifndef FAKE_ROUTER_WITHOUT_INTF
EWIDAR_EXPORT void GetEwidarIntf(const std::u16string& Symbol, IEwidarDataBase** Out) {
    ++g_requests;
    g_lastSymbol = Symbol;
    *Out = nullptr;
    if (Symbol.empty())
        return;
    auto root = MakeIntf<IEwidarDataBase, TCountingDataBase>();
    *Out = root.detach();
}
#endif

// Observation points for the tests.
EWIDAR_EXPORT void FakeRouterLastSymbol(std::u16string& Symbol) {
    Symbol = g_lastSymbol;
}
EWIDAR_EXPORT int32_t FakeRouterRequests() {
    return g_requests;
}
EWIDAR_EXPORT int32_t FakeRouterDisconnects() {
    return g_disconnects;
}
}
