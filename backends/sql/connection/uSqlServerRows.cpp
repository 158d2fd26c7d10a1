#include "uSqlServerRows.h"

#include <QSqlDriver>

#include <mysql.h>

#include <charconv>
#include <string>

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

bool IsInteger(const QVariant& V) {
    switch (V.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// The statement with each ? (outside quotes) replaced by its bind as a literal.
std::string WithLiterals(MYSQL* H, const QString& Sql, const QVariantList& Binds) {
    const QByteArray sql = Sql.toUtf8();
    std::string out;
    out.reserve(size_t(sql.size()) + 32 * size_t(Binds.size()));
    qsizetype next = 0;
    char quote = 0;
    for (const char c : sql) {
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '\'' || c == '"' || c == '`') {
            quote = c;
        } else if (c == '?' && next < Binds.size()) {
            const QVariant& v = Binds[next++];
            if (IsInteger(v)) {
                out += std::to_string(v.toLongLong());
            } else {
                const QByteArray text = v.toString().toUtf8();
                std::string escaped(size_t(text.size()) * 2 + 1, '\0');
                escaped.resize(mysql_real_escape_string(H, escaped.data(), text.constData(),
                                                        static_cast<unsigned long>(text.size())));
                out += '\'';
                out += escaped;
                out += '\'';
            }
            continue;
        }
        out += c;
    }
    return out;
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
    const std::string sql = WithLiterals(h, Sql, Binds);
    if (mysql_real_query(h, sql.data(), static_cast<unsigned long>(sql.size())) != 0)
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
