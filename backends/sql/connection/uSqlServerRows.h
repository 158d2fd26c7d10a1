#pragma once
// Reading many rows of a server connection through MariaDB's client library, on the
// handle of Qt's own connection (the same session, transaction and settings), the
// rows streamed as the server sends them, with no QVariant per column: the long
// lists' hot path on a server, as uSqlNativeRows is on a file. Qt's MySQL driver
// links the same system libmariadb whose handle it hands out.

#include "uSqlConnection.h"

#include <functional>
#include <string_view>

namespace SqlServerRows {

// The columns of one row as the text protocol carries them: UTF-8 bytes, NULL empty.
struct TRow {
    const char* const* columns = nullptr;
    const unsigned long* lengths = nullptr;

    std::string_view Text(int Col) const {
        return columns[Col] ? std::string_view(columns[Col], lengths[Col]) : std::string_view();
    }
    qint64 Int(int Col) const;
};

// Runs a read statement on C's server handle and hands each row to Row. False when C is
// no server connection, or when the read failed (nothing thrown): the caller then drops
// the rows handed out and reads through C's own statements, which report the failure
// or recover a lost connection as every statement does. The binds are written into the
// statement as SqlText::WithValues writes them (false when it cannot).
bool EachRow(TSqlConnection& C, const QString& Sql, const QVariantList& Binds,
             const std::function<void(const TRow&)>& Row);

} // namespace SqlServerRows
