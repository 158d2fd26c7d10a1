#pragma once
// Subjects stored twice: the pairs that share the digits of a NIP, PESEL or REGON, or the
// same folded name and postal code, found in one grouped pass over ew_ident; and the pairs
// the operator marked as no duplicates (ew_not_duplicate), which are not offered again.

#include "uEwidarQuorDBIntf.h"
#include "uSqlConnection.h"

#include <QString>

namespace SqlDuplicates {

// The ew_ident symbol under which a subject's folded name and postal code are kept.
extern const QString kNameSymbol;

// A name as duplicates are compared: case-folded, blanks and punctuation dropped, Polish
// (and other Latin) letters without their marks, so "Łódź  Sp. z o.o." equals "lodz spzoo".
QString FoldName(const QString& Name);
// Stores (or removes) the name-and-postal-code key of a subject from its stored name line
// and the postal code of its first address.
void WriteNameKey(TSqlConnection& C, qint64 ID, const QString& NameLine);
// Stores a subject's key as NameKey made it, given the one stored now (Stored: NULL when
// none is); writes nothing when they are equal.
void StoreNameKey(TSqlConnection& C, qint64 ID, const QString& Key, const QVariant& Stored);
// The key WriteNameKey stores for a subject's name line and its first address's postal
// code; empty when either is missing (nothing is stored then).
QString NameKey(const QString& NameLine, const QString& PostalCode);
// The keys of every stored subject (after an upgrade).
void WriteAllNameKeys(TSqlConnection& C);

TIntfPtr<IDuplicatePairs> Find(const TSqlConnectionPtr& C);
void MarkNotDuplicate(TSqlConnection& C, qint64 First, qint64 Second);
// Gives To the marks of From (a merge keeps To and deletes From): a pair (From, X) becomes
// (To, X) unless X is To itself or the pair is marked already. Within the caller's write.
void CarryMarks(TSqlConnection& C, qint64 From, qint64 To);

} // namespace SqlDuplicates
