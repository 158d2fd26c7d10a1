#pragma once
// The SQL that differs between database engines, so that the rest of the backend
// writes one portable text. SQLite is served now; a server engine adds a subclass.

#include <QString>
#include <QStringList>

#include <memory>

class TSqlDialect {
public:
    virtual ~TSqlDialect() = default;

    // Qt SQL driver name.
    virtual QString DriverName() const = 0;
    // Statements run once after opening (pragmas, session settings).
    virtual QStringList SessionSetup() const = 0;
    // Starts a write transaction that takes the write lock at once.
    virtual QString BeginWrite() const = 0;
    QString Commit() const { return QStringLiteral("COMMIT"); }
    QString Rollback() const { return QStringLiteral("ROLLBACK"); }
    QString Savepoint(const QString& Name) const { return QStringLiteral("SAVEPOINT ") + Name; }
    QString Release(const QString& Name) const { return QStringLiteral("RELEASE SAVEPOINT ") + Name; }
    QString RollbackTo(const QString& Name) const { return QStringLiteral("ROLLBACK TO SAVEPOINT ") + Name; }
    // Table DDL from a template with the tokens {ID} (auto-increment integer key),
    // {KEYTEXT} (text usable in keys and indexes), {TEXT} and {NOROWID} (table option).
    virtual QString Ddl(QString Template) const = 0;
    // True when the text is found in the column (both already normalised; no wildcards).
    virtual QString Contains(const QString& Column, const QString& Parameter) const = 0;
    // Insert or replace one field value: parameters record_id, symbol, value, caption, field_type.
    virtual QString UpsertValue() const = 0;
    // A query of one row and column: the database's own time in whole seconds.
    virtual QString Now() const = 0;
    // Names of the user tables of the open database.
    virtual QString ListTables() const = 0;
};

// The dialect of a backend symbol ("SQLITE"); nullptr for a symbol not served.
std::unique_ptr<TSqlDialect> MakeDialect(const QString& Symbol);
