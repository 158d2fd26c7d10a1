// Exports of the backend library QuorDataBaseSQL. Nothing throws across them.

#include "uEwidarQuorDBIntf.h"
#include "uLibraryExports.h"
#include "uSqlDataBase.h"
#include "uSqlErrors.h"

#include <QSqlDatabase>

#include <dlfcn.h>

#include <mutex>

namespace {

struct TDataBaseType {
    const char16_t* symbol;
    const char16_t* caption;
};

// The database types this library serves: one desk (a file), several desks (a server).
constexpr TDataBaseType kTypes[] = {{u"SQLITE", u"SQL Lite"}, {u"MYSQL", u"MySQL / MariaDB"}};

// Qt's SQL library registers clean-up routines that the application object runs when it
// ends (the driver table, the MySQL client library). When the router unloads this
// backend and with it the last user of Qt's SQL library, those routines would point into
// unmapped code and the program would crash or hang at exit. So once this library uses
// Qt's SQL library, that library stays loaded until the process ends.
void KeepQtSqlLoaded() {
    static std::once_flag once;
    std::call_once(once, [] {
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(&QSqlDatabase::isDriverAvailable), &info) && info.dli_fname)
            dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    });
}

} // namespace

extern "C" {

EWIDAR_EXPORT int32_t DBListCount() {
    return static_cast<int32_t>(std::size(kTypes));
}

EWIDAR_EXPORT bool DBListItem(int32_t Index, std::u16string& DBSymbol, std::u16string& DBManagerCaption) {
    try {
        if (Index < 0 || Index >= DBListCount())
            return false;
        DBSymbol = kTypes[Index].symbol;
        DBManagerCaption = kTypes[Index].caption;
        KeepQtSqlLoaded();
        // Offered as enabled only when Qt's driver for the engine is installed.
        return Index == 0 || QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL"));
    } catch (...) {
        return false;
    }
}

EWIDAR_EXPORT void GetEwidarIntf(const std::u16string& Symbol, IEwidarDataBase** Out) {
    HandOutIntf(Out, [&] {
        KeepQtSqlLoaded();
        return MakeSqlDataBase(QString::fromStdU16String(Symbol)).detach();
    });
}

EWIDAR_EXPORT bool GetLastError(int32_t ErrCode, const std::u16string& DataBaseID, std::u16string& Text,
                                std::u16string& Link) {
    try {
        QString text, link;
        if (!SqlErrors::Describe(ErrCode, text, link))
            return false;
        const QString native = SqlErrors::DetailsFor(ErrCode, QString::fromStdU16String(DataBaseID));
        if (!native.isEmpty())
            text += QStringLiteral("\r\nSzczegóły: ") + native;
        Text = text.toStdU16String();
        Link = link.toStdU16String();
        return true;
    } catch (...) {
        return false;
    }
}

} // extern "C"

EWIDAR_EXPORT_FILE_VERSION(QUOR_SQL_VERSION)
