#include "uSqlServerRows.h"

#include <QSqlDriver>

#include <mysql.h>

#include <charconv>

namespace SqlServerRows {

namespace {

MYSQL* Handle(const QSqlDatabase& Db) {
    if (!Db.isOpen() || !Db.driver())
        return nullptr;
    const QVariant h = Db.driver()->handle();
    // Qt names the type after the client library's struct.
    if (!h.isValid() || (qstrcmp(h.typeName(), "MYSQL*") != 0 && qstrcmp(h.typeName(), "st_mysql*") != 0))
        return nullptr;
    return *static_cast<MYSQL* const*>(h.constData());
}

struct TResult {
    MYSQL_RES* r = nullptr;
    ~TResult() {
        if (r)
            mysql_free_result(r); // reads what the server still sends, so the connection is free again
    }
};

} // namespace

qint64 TRow::Int(int Col) const {
    const std::string_view t = Text(Col);
    qint64 v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}

bool EachRow(TSqlConnection& C, const QString& Sql, const QVariantList& Binds,
             const std::function<void(const TRow&)>& Row) {
    C.Require();
    MYSQL* h = Handle(C.Database());
    if (!h)
        return false;
    const QByteArray sql = SqlText::WithValues(Sql, Binds).toUtf8();
    if (sql.isEmpty() || mysql_real_query(h, sql.constData(), static_cast<unsigned long>(sql.size())) != 0)
        return false;
    TResult result{mysql_use_result(h)};
    if (!result.r)
        return false;
    TRow row;
    while (MYSQL_ROW r = mysql_fetch_row(result.r)) {
        row.columns = r;
        row.lengths = mysql_fetch_lengths(result.r);
        Row(row);
    }
    return mysql_errno(h) == 0;
}

} // namespace SqlServerRows
