#pragma once
// The SQL that differs between database engines, so that the rest of the backend
// writes one portable text: SQLite (one desk, a file) and MariaDB/MySQL (several
// desks sharing a server).

#include <QString>
#include <QStringList>

#include <memory>

class QSqlDatabase;
class QSqlError;

// Where a connection goes: the file of an embedded engine, or a server's database.
struct TSqlTarget {
    QString database; // file path (SQLite) or database name (server)
    QString host;
    int port = 0;
    QString socket;
    QString user;
    QString password; // never written back into the parameter
    int busyMs = 5000;
};

class TSqlDialect {
public:
    virtual ~TSqlDialect() = default;

    // Qt SQL driver name.
    virtual QString DriverName() const = 0;
    // Puts the target into a not yet opened Qt connection.
    virtual void Configure(QSqlDatabase& Db, const TSqlTarget& Target) const = 0;
    // Why the engine behind an opened connection cannot hold this program's database
    // (Version: what VersionQuery gave); empty when it can. Checked before anything is
    // written, so that an unsuitable server never gets half a schema.
    virtual QString VersionQuery() const { return {}; }
    virtual QString RefusedVersion(const QString& Version) const {
        Q_UNUSED(Version);
        return {};
    }
    // Statements run once after opening (pragmas, session settings).
    virtual QStringList SessionSetup(const TSqlTarget& Target) const = 0;
    // Starts a write transaction in which no other connection writes: SQLite's write
    // lock, or a server's lock on the one writer row.
    virtual QStringList BeginWrite() const = 0;
    QString Commit() const { return QStringLiteral("COMMIT"); }
    QString Rollback() const { return QStringLiteral("ROLLBACK"); }
    QString Savepoint(const QString& Name) const { return QStringLiteral("SAVEPOINT ") + Name; }
    QString Release(const QString& Name) const { return QStringLiteral("RELEASE SAVEPOINT ") + Name; }
    QString RollbackTo(const QString& Name) const { return QStringLiteral("ROLLBACK TO SAVEPOINT ") + Name; }
    // Table DDL from a template with the tokens {ID} (auto-increment integer key),
    // {KEYTEXT} (text usable in keys and indexes), {TEXT}, {NOROWID} (table option),
    // {IFNEW} (creation of something that may exist already), {ONTABLE:t} (the table
    // of a dropped index), {COVER:cols} (columns that only make an index covering)
    // and {PREFIX:col} (a text column in an index, prefixed where keys are limited).
    virtual QString Ddl(QString Template) const = 0;
    // True when a failed schema step rolls back with its transaction; otherwise each
    // step is written so that it can be run again after a failure part way.
    virtual bool TransactionalDdl() const = 0;
    // True when the text is found in the column (both already normalised; no wildcards).
    // Both engines have instr() and compare the binary texts byte by byte.
    QString Contains(const QString& Column, const QString& Parameter) const {
        return QStringLiteral("instr(%1, %2) > 0").arg(Column, Parameter);
    }
    // Insert or replace one field value: parameters record_id, symbol, value, caption, field_type.
    virtual QString UpsertValue() const = 0;
    // A query of one row and column: the database's own time in whole seconds.
    virtual QString Now() const = 0;
    // The head of the history chain, locked for this write transaction, with the time of a
    // new entry in UTC milliseconds (the server's clock; on a file, the desk's) and the
    // login of the operator and the first description line of the record bound as the two
    // parameters: columns seq, hash, now, login, line1. No row when the head is missing.
    virtual QString HistoryHead() const = 0;
    // Names of the user tables of the open database.
    virtual QString ListTables() const = 0;
    // A cheap query whose value moves when another connection commits changes.
    virtual QString DataVersion() const = 0;
    // True when the server tells whether a session's connection lives (named locks held
    // by the connection); otherwise liveness is judged from processes and heartbeats.
    virtual bool ServerLiveness() const = 0;
    // The backend's code for an engine error.
    virtual int ErrorCode(const QSqlError& Error, int Fallback) const = 0;
    // True when a statement runs faster sent as text than prepared (a server whose client
    // library resets a prepared statement on the server before every run, a round trip of
    // its own), its values written in as SqlText::WithValues writes them.
    virtual bool ValuesAsText() const { return false; }
};

// The dialect of a backend symbol ("SQLITE", "MYSQL"); nullptr for a symbol not served.
std::unique_ptr<TSqlDialect> MakeDialect(const QString& Symbol);
