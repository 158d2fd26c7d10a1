#include "TestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <gtest/gtest.h>

#include <memory>

#include <csignal>
#include <sys/prctl.h>

namespace TestServer {

namespace {

struct TServer {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QProcess> process;
    QString daemon;
    QString socket;
    QString why;
    bool tried = false;
    int databases = 0;
};

TServer& Server() {
    static TServer s;
    return s;
}

QString Find(const QString& Name) {
    return QStandardPaths::findExecutable(Name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                                 QStringLiteral("/usr/local/sbin"),
                                                 QStringLiteral("/usr/local/bin")});
}

// Runs Sql as root over the socket; false when the server does not answer.
bool Admin(const QString& Socket, const QString& Sql) {
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + Socket);
        if (db.open())
            ok = QSqlQuery(db).exec(Sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Stops the server when the tests end.
class TStopAtEnd : public ::testing::Environment {
public:
    void TearDown() override { Stop(); }
};

// Runs mariadbd on the data folder and waits until it answers on the socket.
bool Launch(TServer& S) {
    const QString data = S.dir->filePath(QStringLiteral("data"));
    S.process = std::make_unique<QProcess>();
    S.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    S.process->setStandardOutputFile(QProcess::nullDevice());
    // The server ends with the test process, even one that crashed or was killed by a timeout.
    S.process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    S.process->start(S.daemon, {QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + data,
                                QStringLiteral("--socket=") + S.socket, QStringLiteral("--skip-networking"),
                                QStringLiteral("--user=root"),
                                QStringLiteral("--pid-file=") + S.dir->filePath("mysqld.pid"),
                                QStringLiteral("--log-error=") + S.dir->filePath(QStringLiteral("error.log")),
                                QStringLiteral("--innodb-buffer-pool-size=64M"),
                                QStringLiteral("--innodb-log-file-size=16M"),
                                QStringLiteral("--innodb-flush-log-at-trx-commit=2"),
                                QStringLiteral("--skip-log-bin"), QStringLiteral("--max-connections=200")});
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 120000) {
        if (S.process->state() == QProcess::NotRunning)
            break;
        if (QFile::exists(S.socket) && Admin(S.socket, QStringLiteral("SELECT 1")))
            return true;
        QThread::msleep(100);
    }
    S.why = QStringLiteral("mariadbd did not start; see its error log");
    Stop();
    return false;
}

bool Start(TServer& S) {
    const QString install = Find(QStringLiteral("mariadb-install-db"));
    const QString daemon = Find(QStringLiteral("mariadbd"));
    if (install.isEmpty() || daemon.isEmpty()) {
        S.why = QStringLiteral("MariaDB server binaries (mariadb-install-db, mariadbd) not installed: "
                               "run scripts/install-deps.sh");
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL"))) {
        S.why =
            QStringLiteral("Qt's MySQL driver (libqt6sql6-mysql) not installed: run scripts/install-deps.sh");
        return false;
    }
    // A short path: unix socket paths are limited to about 100 bytes.
    S.dir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/ewmdb-XXXXXX"));
    if (!S.dir->isValid()) {
        S.why = QStringLiteral("no temporary folder");
        return false;
    }
    const QString data = S.dir->filePath(QStringLiteral("data"));
    QProcess init;
    init.setProcessChannelMode(QProcess::MergedChannels);
    init.start(install, {QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + data,
                         QStringLiteral("--user=root"), QStringLiteral("--skip-test-db"),
                         QStringLiteral("--auth-root-authentication-method=normal")});
    if (!init.waitForFinished(180000) || init.exitCode() != 0) {
        S.why =
            QStringLiteral("mariadb-install-db failed: ") + QString::fromLocal8Bit(init.readAll()).right(500);
        return false;
    }
    S.socket = S.dir->filePath(QStringLiteral("mysqld.sock"));
    S.daemon = daemon;
    return Launch(S);
}

} // namespace

QString Socket(QString* Why) {
    TServer& s = Server();
    if (!s.tried) {
        s.tried = true;
        if (Start(s)) {
            ::testing::AddGlobalTestEnvironment(new TStopAtEnd); // gtest owns it
            qputenv("EWIDAR_TEST_MYSQL_SOCKET", s.socket.toLocal8Bit());
        } else
            s.socket.clear();
    }
    if (Why)
        *Why = s.why;
    return s.socket;
}

QString NewDataBase() {
    TServer& s = Server();
    if (Socket().isEmpty())
        return {};
    const QString name = QStringLiteral("ew_test_%1").arg(++s.databases);
    return Admin(s.socket,
                 QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_bin").arg(name))
               ? name
               : QString();
}

void Stop() {
    TServer& s = Server();
    if (!s.process)
        return;
    s.process->terminate(); // mariadbd shuts down cleanly on SIGTERM
    if (!s.process->waitForFinished(60000)) {
        s.process->kill();
        s.process->waitForFinished(10000);
    }
    s.process.reset();
}

bool Resume() {
    TServer& s = Server();
    if (s.process || s.daemon.isEmpty())
        return false;
    return Launch(s);
}

} // namespace TestServer
