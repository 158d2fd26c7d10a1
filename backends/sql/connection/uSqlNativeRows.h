#pragma once
// Reading many rows of an SQLite connection through the engine's C interface, on the
// same connection Qt opened (the same lock, transaction and settings), without a
// QVariant per column: the long lists' hot path. Qt's SQLite driver links the same
// system libsqlite3 whose handle it hands out; a server connection has no such path.

#include "uSqlConnection.h"

#include <QStringConverter>

#include <functional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace SqlNative {

// The engine handle under an open SQLite connection; null for any other driver.
sqlite3* Handle(const QSqlDatabase& Db);

// Runs a read statement on C's SQLite handle and hands each row to Row, the statement
// finalised however it ends; false (nothing run) when C is no SQLite connection. Binds
// are integers or texts. Throws TSqlFailure as the connection's own statements do.
bool EachRow(TSqlConnection& C, const QString& Sql, const QVariantList& Binds,
             const std::function<void(sqlite3_stmt*)>& Row);

// Appends column Col of the current row (UTF-8 in the file) to Out as UTF-16.
void AppendText(sqlite3_stmt* S, int Col, std::u16string& Out);

// Appends UTF-8 bytes to Out as UTF-16, decoded straight into it.
void AppendUtf8(std::string_view Bytes, std::u16string& Out);

} // namespace SqlNative
