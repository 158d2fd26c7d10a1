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

// A new root object for the symbol, or empty.
TIntfPtr<IEwidarDataBase> NewRoot(const QString& Symbol = QStringLiteral("SQLITE"));

inline std::u16string U(const QString& s) {
    return s.toStdU16String();
}
inline QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}
