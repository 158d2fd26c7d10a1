#include "BackendLoader.h"

#include <QCoreApplication>
#include <QLibrary>

const TBackendExports& Backend() {
    static const TBackendExports exports = [] {
        TBackendExports e;
        // Static and never unloaded: objects of the backend may live until the process ends.
        static QLibrary library(QCoreApplication::applicationDirPath() +
                                QStringLiteral("/QuorDataBaseSQL.so"));
        QLibrary* lib = &library;
        if (!lib->load()) {
            e.error = lib->errorString();
            return e;
        }
        e.DBListCount = reinterpret_cast<TDBListCount>(lib->resolve("DBListCount"));
        e.DBListItem = reinterpret_cast<TDBListItem>(lib->resolve("DBListItem"));
        e.GetEwidarIntf = reinterpret_cast<TGetEwidarIntf>(lib->resolve("GetEwidarIntf"));
        e.GetLastError = reinterpret_cast<TGetLastError>(lib->resolve("GetLastError"));
        e.GetFileVersion = reinterpret_cast<TGetFileVersion>(lib->resolve("GetFileVersion"));
        if (!e.DBListCount || !e.DBListItem || !e.GetEwidarIntf || !e.GetLastError || !e.GetFileVersion)
            e.error = QStringLiteral("missing export");
        return e;
    }();
    return exports;
}

TIntfPtr<IEwidarDataBase> NewRoot(const QString& Symbol) {
    if (!Backend().GetEwidarIntf)
        return {};
    IEwidarDataBase* raw = nullptr;
    Backend().GetEwidarIntf(U(Symbol), &raw);
    return TIntfPtr<IEwidarDataBase>::adopt(raw);
}

QString TestDialect() {
    const QString d = qEnvironmentVariable("EWIDAR_TEST_DIALECT").toUpper();
    return d.isEmpty() ? QStringLiteral("SQLITE") : d;
}

QString DialectParam(const QString& Target) {
    if (!ServerDialect())
        return QStringLiteral("DIR=%1;").arg(Target);
    return QStringLiteral("SOCKET=%1;USER=root;DB=%2;")
        .arg(qEnvironmentVariable("EWIDAR_TEST_MYSQL_SOCKET"), Target);
}
