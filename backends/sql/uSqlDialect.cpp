#include "uSqlDialect.h"

namespace {

class TSqliteDialect final : public TSqlDialect {
public:
    QString DriverName() const override { return QStringLiteral("QSQLITE"); }
    QStringList SessionSetup() const override {
        return {QStringLiteral("PRAGMA foreign_keys = ON"), QStringLiteral("PRAGMA synchronous = FULL"),
                QStringLiteral("PRAGMA temp_store = MEMORY"), QStringLiteral("PRAGMA cache_size = -16000")};
    }
    QString BeginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString Ddl(QString t) const override {
        t.replace(QStringLiteral("{ID}"), QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
        t.replace(QStringLiteral("{KEYTEXT}"), QStringLiteral("TEXT"));
        t.replace(QStringLiteral("{TEXT}"), QStringLiteral("TEXT"));
        t.replace(QStringLiteral("{NOROWID}"), QStringLiteral("WITHOUT ROWID"));
        return t;
    }
    QString Contains(const QString& Column, const QString& Parameter) const override {
        return QStringLiteral("instr(%1, %2) > 0").arg(Column, Parameter);
    }
    QString UpsertValue() const override {
        return QStringLiteral(
            "INSERT INTO ew_value (record_id, symbol, value, caption, field_type) "
            "VALUES (?, ?, ?, ?, ?) ON CONFLICT (record_id, symbol) DO UPDATE SET "
            "value = excluded.value, caption = excluded.caption, field_type = excluded.field_type");
    }
    QString Now() const override { return QStringLiteral("SELECT CAST(strftime('%s', 'now') AS INTEGER)"); }
    QString ListTables() const override {
        return QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
            "ESCAPE '\\'");
    }
};

} // namespace

std::unique_ptr<TSqlDialect> MakeDialect(const QString& Symbol) {
    if (Symbol.compare(QStringLiteral("SQLITE"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TSqliteDialect>();
    return nullptr;
}
