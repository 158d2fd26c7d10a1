#include "uSqlDialect.h"

#include "uSqlErrors.h"
#include "uSqlOptionFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>

namespace {

const QRegularExpression& OnTable() {
    static const QRegularExpression re(QStringLiteral("\\{ONTABLE:([A-Za-z_0-9]+)\\}"));
    return re;
}
const QRegularExpression& Cover() {
    static const QRegularExpression re(QStringLiteral("\\{COVER:([^}]*)\\}"));
    return re;
}
const QRegularExpression& Prefix() {
    static const QRegularExpression re(QStringLiteral("\\{PREFIX:([A-Za-z_0-9]+)\\}"));
    return re;
}

// The user's MariaDB option file, ~/.my.cnf (EWIDAR_MY_CNF names another file, for tests).
SqlOptionFile::TClientOptions ReadOptionFile() {
    QString path = qEnvironmentVariable("EWIDAR_MY_CNF");
    if (path.isEmpty())
        path = QDir::home().filePath(QStringLiteral(".my.cnf"));
    return SqlOptionFile::ClientOptions(path);
}

class TSqliteDialect final : public TSqlDialect {
public:
    QString DriverName() const override { return QStringLiteral("QSQLITE"); }
    void Configure(QSqlDatabase& Db, const TSqlTarget& T) const override {
        Db.setDatabaseName(T.database);
        Db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(T.busyMs));
    }
    QStringList SessionSetup(const TSqlTarget&) const override {
        // WAL lets readers of other connections proceed while one writes.
        return {QStringLiteral("PRAGMA foreign_keys = ON"), QStringLiteral("PRAGMA synchronous = FULL"),
                QStringLiteral("PRAGMA temp_store = MEMORY"), QStringLiteral("PRAGMA cache_size = -16000"),
                QStringLiteral("PRAGMA journal_mode = WAL")};
    }
    QStringList BeginWrite() const override { return {QStringLiteral("BEGIN IMMEDIATE")}; }
    QString Ddl(QString t) const override {
        t.replace(QStringLiteral("{ID}"), QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
        t.replace(QStringLiteral("{KEYTEXT}"), QStringLiteral("TEXT"));
        t.replace(QStringLiteral("{TEXT}"), QStringLiteral("TEXT"));
        t.replace(QStringLiteral("{LONGTEXT}"), QStringLiteral("TEXT"));
        t.replace(QStringLiteral("{NOROWID}"), QStringLiteral("WITHOUT ROWID"));
        t.replace(QStringLiteral("{IFNEW}"), QString());
        t.replace(OnTable(), QString());
        t.replace(Cover(), QStringLiteral("\\1"));
        t.replace(Prefix(), QStringLiteral("\\1"));
        return t;
    }
    bool TransactionalDdl() const override { return true; }
    QString UpsertValue() const override {
        return QStringLiteral(
            "INSERT INTO ew_value (record_id, symbol, value, caption, field_type) "
            "VALUES (?, ?, ?, ?, ?) ON CONFLICT (record_id, symbol) DO UPDATE SET "
            "value = excluded.value, caption = excluded.caption, field_type = excluded.field_type");
    }
    QString Now() const override { return QStringLiteral("SELECT CAST(strftime('%s', 'now') AS INTEGER)"); }
    // The write lock of BEGIN IMMEDIATE already keeps the head for this transaction.
    QString HistoryHead() const override {
        return QStringLiteral("SELECT h.seq, h.hash, CAST((julianday('now') - 2440587.5) * 86400000.0 AS INTEGER), "
                              "(SELECT login FROM ew_user WHERE id = ?), (SELECT line1 FROM ew_record WHERE id = ?) "
                              "FROM ew_history_head h WHERE h.id = 1");
    }
    QString ListTables() const override {
        return QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
            "ESCAPE '\\'");
    }
    QString DataVersion() const override { return QStringLiteral("PRAGMA data_version"); }
    bool ServerLiveness() const override { return false; }
    int ErrorCode(const QSqlError& Error, int Fallback) const override {
        return SqlErrors::FromSqlError(Error, Fallback);
    }
};

// MariaDB (and MySQL) over InnoDB. Texts are utf8mb4 with binary collation, because the
// program normalises and compares them itself (filter text, login keys, symbols, words)
// and orders lists by its own sort key. Writers serialise on one row of ew_meta, which
// keeps every check-then-write of the backend as safe as under SQLite's one writer.
class TMySqlDialect final : public TSqlDialect {
public:
    QString DriverName() const override { return QStringLiteral("QMYSQL"); }
    void Configure(QSqlDatabase& Db, const TSqlTarget& T) const override {
        Db.setDatabaseName(T.database);
        // The user's option file supplies what the parameter leaves out, the password above all.
        const SqlOptionFile::TClientOptions file = ReadOptionFile();
        const auto pick = [](const QString& Given, const QString& FromFile) {
            return Given.isEmpty() ? FromFile : Given;
        };
        const QString host = pick(T.host, file.host);
        const QString socket = pick(T.socket, host.isEmpty() ? file.socket : QString());
        if (!host.isEmpty())
            Db.setHostName(host);
        if (const int port = T.port > 0 ? T.port : file.port; port > 0)
            Db.setPort(port);
        if (const QString user = pick(T.user, file.user); !user.isEmpty())
            Db.setUserName(user);
        if (const QString password = pick(T.password, file.password); !password.isEmpty())
            Db.setPassword(password);
        QStringList options = {QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10")};
        if (!socket.isEmpty())
            options << QStringLiteral("UNIX_SOCKET=") + socket;
        Db.setConnectOptions(options.join(u';'));
    }
    // The schema and its upgrades use MariaDB's own forms (IF [NOT] EXISTS on indexes and
    // columns), which MySQL does not accept; 10.5 is the oldest release still maintained
    // when this dialect was written (it is tested on 10.11).
    QString VersionQuery() const override { return QStringLiteral("SELECT VERSION()"); }
    QString RefusedVersion(const QString& Version) const override {
        static const QRegularExpression re(QStringLiteral("^(?:5\\.5\\.5-)?(\\d+)\\.(\\d+)\\.\\d+.*-MariaDB"));
        const QRegularExpressionMatch m = re.match(Version);
        const int major = m.hasMatch() ? m.captured(1).toInt() : 0;
        const int minor = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (major > 10 || (major == 10 && minor >= 5))
            return {};
        return QStringLiteral("Serwer bazy danych (wersja %1) nie jest obsługiwany: potrzebny jest "
                              "MariaDB 10.5 lub nowszy.")
            .arg(Version.isEmpty() ? QStringLiteral("nieznana") : Version.left(80));
    }
    QStringList SessionSetup(const TSqlTarget& T) const override {
        const int waitSecs = qBound(1, (T.busyMs + 999) / 1000, 3600);
        return {QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_bin"),
                QStringLiteral("SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_ZERO_DATE,NO_ZERO_IN_DATE,"
                               "ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION,NO_BACKSLASH_ESCAPES'"),
                QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL READ COMMITTED"),
                QStringLiteral("SET SESSION innodb_lock_wait_timeout = %1").arg(waitSecs),
                QStringLiteral("SET SESSION autocommit = 1")};
    }
    QStringList BeginWrite() const override {
        return {QStringLiteral("START TRANSACTION"),
                QStringLiteral("SELECT value FROM ew_meta WHERE name = 'application' FOR UPDATE")};
    }
    QString Ddl(QString t) const override {
        t.replace(QStringLiteral("{ID}"), QStringLiteral("INTEGER NOT NULL AUTO_INCREMENT PRIMARY KEY"));
        // 255 characters of four bytes: a key of two such columns stays within InnoDB's 3072 bytes.
        t.replace(QStringLiteral("{KEYTEXT}"), QStringLiteral("VARCHAR(255) COLLATE utf8mb4_bin"));
        // Values of any length (a memo may hold megabytes); search texts and sort keys are
        // indexed by a prefix.
        t.replace(QStringLiteral("{TEXT}"), QStringLiteral("LONGTEXT COLLATE utf8mb4_bin"));
        t.replace(QStringLiteral("{LONGTEXT}"), QStringLiteral("LONGTEXT COLLATE utf8mb4_bin"));
        t.replace(QStringLiteral("{NOROWID}"), QString());
        t.replace(QStringLiteral("{IFNEW}"), QStringLiteral("IF NOT EXISTS"));
        t.replace(OnTable(), QStringLiteral("ON \\1"));
        t.replace(Cover(), QString());
        t.replace(Prefix(), QStringLiteral("\\1(100)"));
        if (t.startsWith(QStringLiteral("CREATE TABLE")))
            t += QStringLiteral(" ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_bin");
        else if (t.startsWith(QStringLiteral("DROP INDEX")))
            t.insert(10, QStringLiteral(" IF EXISTS"));
        else if (t.startsWith(QStringLiteral("ALTER TABLE")))
            t.replace(QStringLiteral("ADD COLUMN"), QStringLiteral("ADD COLUMN IF NOT EXISTS"));
        return t;
    }
    bool TransactionalDdl() const override { return false; }
    QString UpsertValue() const override {
        return QStringLiteral(
            "INSERT INTO ew_value (record_id, symbol, value, caption, field_type) "
            "VALUES (?, ?, ?, ?, ?) ON DUPLICATE KEY UPDATE "
            "value = VALUES(value), caption = VALUES(caption), field_type = VALUES(field_type)");
    }
    QString Now() const override { return QStringLiteral("SELECT UNIX_TIMESTAMP()"); }
    QString HistoryHead() const override {
        return QStringLiteral("SELECT h.seq, h.hash, CAST(UNIX_TIMESTAMP(NOW(3)) * 1000 AS SIGNED), "
                              "(SELECT login FROM ew_user WHERE id = ?), (SELECT line1 FROM ew_record WHERE id = ?) "
                              "FROM ew_history_head h WHERE h.id = 1 FOR UPDATE");
    }
    QString ListTables() const override {
        return QStringLiteral(
            "SELECT table_name FROM information_schema.tables WHERE table_schema = DATABASE()");
    }
    QString DataVersion() const override { return QStringLiteral("SELECT sum(counter) FROM ew_change"); }
    bool ServerLiveness() const override { return true; }
    bool ValuesAsText() const override { return true; }
    int ErrorCode(const QSqlError& Error, int Fallback) const override {
        bool ok = false;
        const int native = Error.nativeErrorCode().toInt(&ok);
        if (!ok)
            return Fallback;
        switch (native) {
        case 1205: // lock wait timeout
        case 1213: // deadlock: the transaction was rolled back
            return SqlErrors::ecFileLocked;
        case 1451: // a row still referred to by a foreign key
            return SqlErrors::ecReferenced;
        case 1044: // access denied to the database
        case 1045: // access denied for the user (password)
            return SqlErrors::ecBadLogin;
        case 1049: // unknown database
            return SqlErrors::ecNotFound;
        case 2002: // no server on the socket
        case 2003: // no server on the host and port
        case 2005: // unknown host
            return SqlErrors::ecMySqlNoServer;
        case 1927: // connection killed
        case 2006: // server has gone away
        case 2013: // lost connection during a query
            return SqlErrors::ecMySqlLost;
        default:
            return Fallback;
        }
    }
};

} // namespace

std::unique_ptr<TSqlDialect> MakeDialect(const QString& Symbol) {
    if (Symbol.compare(QStringLiteral("SQLITE"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TSqliteDialect>();
    if (Symbol.compare(QStringLiteral("MYSQL"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TMySqlDialect>();
    return nullptr;
}
