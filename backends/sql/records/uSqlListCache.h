#pragma once
// The last rows of a server's registry lists, kept on the desk with the data version they
// were read at. A list asked for again while no commit has raised a change counter since
// (every commit that changes records raises one, with itself) is copied from here: one
// query of the version instead of every row over the network.

#include "uSqlCollectionQuery.h"

#include <QString>
#include <QVariantList>

namespace SqlListCache {

// What tells one list from another: the connection (its process-unique name), the
// statement with its values, and what the rows are made into.
struct TKey {
    QString connection;
    QString sql;
    QVariantList binds;
    int face = 0;
    int lineCount = 0;
};

// Copies the rows read at Version into Rows; false when none are kept for it.
bool Find(const TKey& Key, qint64 Version, SqlCollections::TRows& Rows);
// Keeps a copy of Rows, read after Version was; the least recently used lists go when
// the copies would pass the budget.
void Keep(const TKey& Key, qint64 Version, const SqlCollections::TRows& Rows);
// Every kept list goes (tests, and a process that wants its memory back).
void Clear();

// The bytes kept lists may take together.
constexpr size_t kBudgetBytes = size_t(64) << 20;

} // namespace SqlListCache
