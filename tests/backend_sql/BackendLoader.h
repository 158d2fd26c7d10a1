#pragma once
// Loads QuorDataBaseSQL from the folder of the running executable and binds its
// exports by name, as the router does.

#include "uEwidarQuorDBIntf.h"

#include <QString>

struct TBackendExports {
    TDBListCount DBListCount = nullptr;
    TDBListItem DBListItem = nullptr;
    TGetEwidarIntf GetEwidarIntf = nullptr;
    TGetLastError GetLastError = nullptr;
    TGetFileVersion GetFileVersion = nullptr;
    QString error; // why loading failed; empty when every export was found
};

// Loaded once per process and never unloaded.
const TBackendExports& Backend();

// The dialect the suite runs over: "SQLITE", or "MYSQL" when EWIDAR_TEST_DIALECT says so
// (the suite is registered once per dialect).
QString TestDialect();
inline bool ServerDialect() {
    return TestDialect() == QStringLiteral("MYSQL");
}
// The connection parameter of a database of the tested dialect: a file path for SQLite,
// a database name on the private test server otherwise.
QString DialectParam(const QString& Target);

// A new root object for the symbol (the tested dialect by default), or empty.
TIntfPtr<IEwidarDataBase> NewRoot(const QString& Symbol = TestDialect());

inline std::u16string U(const QString& s) {
    return s.toStdU16String();
}
inline QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}
