// The router library's exports. Discovery runs on the first call of any export;
// the backends loaded for use are unloaded when the library itself is unloaded.
// No export throws or shows anything: what cannot be answered ends in false, 0
// or an empty interface.

#include "QuorDataBase_.h"
#include "uEwidarQuorDBIntf.h"
#include "uLibraryExports.h"
#include "uModulePath.h"

#include <type_traits>

namespace {

// Destroyed when the library is unloaded, which unloads the backends it loaded.
TQuorDataBase Router;

TQuorDataBase& LoadedRouter() {
    if (!Router.IsLoaded())
        Router.Load(ModuleFilePath(&Router));
    return Router;
}

// Asks the backend's export of the same name for the interface and hands it out.
// A half-made object is not handed out: when the backend throws, its reference is lost
// rather than released through a pointer of unknown state.
template <class T> void ForwardIntf(const char* ExportName, const std::u16string& Symbol, T** Out) {
    HandOutIntf(Out, [&] {
        T* intf = nullptr;
        using TExport = void (*)(const std::u16string&, T**);
        auto fn = reinterpret_cast<TExport>(LoadedRouter().ResolveBackendExport(Symbol, ExportName));
        if (fn)
            fn(Symbol, &intf);
        return intf;
    });
}

} // namespace

extern "C" {

EWIDAR_EXPORT int32_t DBListCount() {
    try {
        return LoadedRouter().DBListCount();
    } catch (...) {
        return 0;
    }
}

EWIDAR_EXPORT bool DBListItem(int32_t Index, std::u16string& DBSymbol, std::u16string& DBManagerCaption) {
    try {
        return LoadedRouter().DBListItem(Index, DBSymbol, DBManagerCaption);
    } catch (...) {
        DBSymbol.clear();
        DBManagerCaption.clear();
        return false;
    }
}

EWIDAR_EXPORT bool GetLastError(int32_t ErrCode, const std::u16string& DataBaseID, std::u16string& Text,
                                std::u16string& Link) {
    try {
        return LoadedRouter().GetLastError(ErrCode, DataBaseID, Text, Link);
    } catch (...) {
        Text.clear();
        Link.clear();
        return false;
    }
}

EWIDAR_EXPORT void GetEwidarIntf(const std::u16string& Symbol, IEwidarDataBase** Out) {
    ForwardIntf("GetEwidarIntf", Symbol, Out);
}

EWIDAR_EXPORT void GetFormuloIntf(const std::u16string& Symbol, IInterface** Out) {
    ForwardIntf("GetFormuloIntf", Symbol, Out);
}

EWIDAR_EXPORT void GetFormuloIntf02(const std::u16string& Symbol, IInterface** Out) {
    ForwardIntf("GetFormuloIntf02", Symbol, Out);
}

EWIDAR_EXPORT void GetPosmetIntf(const std::u16string& Symbol, IInterface** Out) {
    ForwardIntf("GetPosmetIntf", Symbol, Out);
}

EWIDAR_EXPORT void GetPosmetIntf02(const std::u16string& Symbol, IInterface** Out) {
    ForwardIntf("GetPosmetIntf02", Symbol, Out);
}

} // extern "C"

EWIDAR_EXPORT_FILE_VERSION(EWIDAR_FILE_VERSION)

// The exports keep the signatures the program and the backends declare.
static_assert(std::is_same_v<decltype(&DBListCount), TDBListCount>);
static_assert(std::is_same_v<decltype(&DBListItem), TDBListItem>);
static_assert(std::is_same_v<decltype(&GetLastError), TGetLastError>);
static_assert(std::is_same_v<decltype(&GetEwidarIntf), TGetEwidarIntf>);
static_assert(std::is_same_v<decltype(&GetFormuloIntf), TGetIntf>);
static_assert(std::is_same_v<decltype(&GetFormuloIntf02), TGetIntf>);
static_assert(std::is_same_v<decltype(&GetPosmetIntf), TGetIntf>);
static_assert(std::is_same_v<decltype(&GetPosmetIntf02), TGetIntf>);
static_assert(std::is_same_v<decltype(&GetFileVersion), TGetFileVersion>);
