#include "BenchTargets.h"

#include "BackendLoader.h"
#include "SubjectGenerator.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace BenchTargets {

namespace {

QString DataDir() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir;
}

void RemoveFile(const QString& Path) {
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(Path + QLatin1String(suffix));
}

QString ServerParam(const QString& DataBase) {
    return QStringLiteral("SOCKET=%1;USER=root;DB=%2;").arg(TestServer::Socket(), DataBase);
}

QString DataBaseOf(const QString& Param) {
    const int at = Param.indexOf(QStringLiteral("DB="));
    return at < 0 ? QString() : Param.mid(at + 3).section(u';', 0, 0);
}

// Runs Sql as root on the private server.
bool Admin(const QString& Sql, QString* Why = nullptr) {
    const QString name = QStringLiteral("bench-admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + TestServer::Socket());
        QSqlQuery q(db);
        ok = db.open() && q.exec(Sql);
        if (!ok && Why)
            *Why = db.isOpen() ? q.lastError().text() : db.lastError().text();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Commits are synced to disk as SQLite's synchronous = FULL does (the test server starts
// with a relaxed setting); relaxed only while a data set is filled.
void DurableCommits(bool On) {
    Admin(QStringLiteral("SET GLOBAL innodb_flush_log_at_trx_commit = %1").arg(On ? 1 : 2));
}

// The private server, started at the first call. Its InnoDB buffer is enlarged so that
// 100,000 subjects fit in memory, as SQLite's file does in the page cache.
bool Server(QString& Why) {
    static QString why;
    static const bool up = [] {
        QElapsedTimer t;
        t.start();
        if (TestServer::Socket(&why).isEmpty())
            return false;
        if (!Admin(QStringLiteral("SET GLOBAL innodb_buffer_pool_size = 536870912"), &why)) {
            why = QStringLiteral("server tuning failed: ") + why;
            return false;
        }
        DurableCommits(true);
        std::fprintf(stderr, "MariaDB server started in %lld ms\n", static_cast<long long>(t.elapsed()));
        return true;
    }();
    Why = why;
    return up;
}

QHash<QString, QString>& EmptyByTag() {
    static QHash<QString, QString> m;
    return m;
}

} // namespace

QString Name(TDialect D) {
    return D == TDialect::Sqlite ? QStringLiteral("SQLITE") : QStringLiteral("MYSQL");
}

QString Generated(TDialect D, int Count, QString& Why) {
    static QHash<QString, QString> params;
    static QHash<QString, QString> failures;
    const QString key = Name(D) + QString::number(Count);
    if (params.contains(key))
        return params.value(key);
    if (failures.contains(key))
        return Why = failures.value(key), QString();
    QString param;
    if (D == TDialect::Sqlite) {
        const QString path = DataDir() + QStringLiteral("/subjects-%1.db").arg(Count);
        if (SubjectGenerator::EnsureGenerated(path, Count))
            param = QStringLiteral("DIR=%1;").arg(path);
        else
            Why = QStringLiteral("generator failed");
    } else if (Server(Why)) {
        const QString db = TestServer::NewDataBase();
        QElapsedTimer t;
        t.start();
        DurableCommits(false);
        if (db.isEmpty())
            Why = QStringLiteral("CREATE DATABASE failed");
        else if (SubjectGenerator::GenerateOnServer(TestServer::Socket(), db, Count, Why)) {
            param = ServerParam(db);
            std::fprintf(stderr, "generated %d subjects on the server in %lld ms\n", Count,
                         static_cast<long long>(t.elapsed()));
        } else
            Why = QStringLiteral("generator failed: ") + Why;
        DurableCommits(true);
    }
    if (param.isEmpty()) {
        std::fprintf(stderr, "%s skipped: %s\n", qPrintable(Name(D)), qPrintable(Why));
        failures.insert(key, Why);
    } else
        params.insert(key, param);
    return param;
}

QString Empty(TDialect D, const QString& Tag, QString& Why) {
    const QString key = Name(D) + u'/' + Tag;
    if (D == TDialect::Sqlite) {
        const QString path = DataDir() + u'/' + Tag + QStringLiteral(".db");
        RemoveFile(path);
        return EmptyByTag()[key] = QStringLiteral("DIR=%1;").arg(path);
    }
    if (!Server(Why))
        return {};
    if (const QString old = EmptyByTag().take(key); !old.isEmpty())
        Admin(QStringLiteral("DROP DATABASE IF EXISTS ") + DataBaseOf(old));
    const QString db = TestServer::NewDataBase();
    if (db.isEmpty())
        return Why = QStringLiteral("CREATE DATABASE failed"), QString();
    return EmptyByTag()[key] = ServerParam(db);
}

QString FileOf(const QString& Param) {
    return Param.startsWith(QStringLiteral("DIR=")) ? Param.mid(4).section(u';', 0, 0) : QString();
}

TIntfPtr<IEwidarDataBase> Connected(TDialect D, const QString& Param, bool Create, QString& Why) {
    return Connected(NewRoot(Name(D)), Param, Create, Why);
}

TIntfPtr<IEwidarDataBase> Connected(TIntfPtr<IEwidarDataBase> db, const QString& Param, bool Create, QString& Why) {
    // Change notices are not what is measured: no watching.
    std::u16string param = U(Param + QStringLiteral("WATCH=0;"));
    if (db && db->Connect(param, Create))
        return db;
    Why = QStringLiteral("connect failed: %1").arg(db ? db->GetLastErrorCode() : -1);
    return {};
}

void Skip(benchmark::State& State, const QString& Why) {
    State.SkipWithError(Why.toUtf8().constData());
}

QProcessEnvironment ChildEnvironment(TDialect D) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("EWIDAR_TEST_DIALECT"), Name(D));
    if (D == TDialect::MySql)
        env.insert(QStringLiteral("EWIDAR_TEST_MYSQL_SOCKET"), TestServer::Socket());
    return env;
}

QString ChildTarget(TDialect D, const QString& Param) {
    return D == TDialect::Sqlite ? FileOf(Param) : DataBaseOf(Param);
}

void Shutdown() {
    for (auto it = EmptyByTag().begin(); it != EmptyByTag().end(); ++it)
        if (it.key().startsWith(QStringLiteral("SQLITE/")))
            RemoveFile(FileOf(it.value()));
    EmptyByTag().clear();
    TestServer::Stop(); // the server's folder goes with the process
}

} // namespace BenchTargets
