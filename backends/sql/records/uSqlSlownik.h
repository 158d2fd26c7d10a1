#pragma once
// Word lists of the fields of each record kind (ew_word): the provider of the
// root object, the dictionary of one kind and the words of one field symbol.
// AddWord, DeleteWord and ChangeWord change the list at once in memory; the
// dictionary's Post stores them by replaying each change on what is stored, so
// that words added meanwhile at another desk are kept. Blank words are never
// kept and a word is held once per list.

#include "uEwidarQuorDBIntf.h"
#include "uSqlConnection.h"

#include <QStringList>

TIntfPtr<IEwidarSlownikProvider> MakeSlownikProvider(const TSqlConnectionPtr& C);

namespace SqlSlownik {

// The stored words of a field of a kind, in the order they were added.
QStringList Words(TSqlConnection& C, int Kind, const QString& Symbol);
// Adds the words that the list does not hold yet (blank ones are skipped), in the
// caller's write transaction (the import's).
void AddWords(TSqlConnection& C, int Kind, const QString& Symbol, const QStringList& Words);

} // namespace SqlSlownik
