#pragma once
// Reading and writing records: creation (with placeholders for the kinds that own
// collections), posting values and links, deletion with the reference check,
// re-reading, and the stored description lines of a record and of the records
// whose descriptions depend on it.

#include "uSqlRecordState.h"

#include <QSet>
#include <QStringList>

namespace SqlRecordStore {

// Flags of the registries a new subject belongs to.
struct TRoles {
    bool podatnik = false;
    bool pracownik = false;
    bool kontrahent = false;
};

// A new record of a kind; stored at once as this session's placeholder when the
// kind owns collections (subject, company), so that its sections can be added.
TRecordStatePtr Create(const TSqlConnectionPtr& C, int Kind, qint64 Owner, TRoles Roles = {});
// A stored record by identifier; nullptr when there is none (or not of Kind, when Kind is non-zero).
TRecordStatePtr Load(const TSqlConnectionPtr& C, qint64 ID, int Kind = 0);

void Post(TRecordState& R);
void Delete(TRecordState& R);
// False when the record is gone (106) or was never stored (104).
void Refresh(TRecordState& R);

// Lines of the record as it stands in memory (unposted changes included).
QStringList CurrentLines(TRecordState& R);
// Recomputes the stored lines of a record and of the records whose lines show its
// values; returns the kinds whose rows changed.
QSet<int> RefreshStoredLines(TSqlConnection& C, qint64 ID);
// Recomputes the stored lines of the records whose lines show values of a record of Kind
// (its owner, for an address; records linking to it); Changed, when given, names the
// symbols whose values changed: records that show none of them are left alone.
QSet<int> RefreshDependents(TSqlConnection& C, qint64 ID, int Kind, qint64 Owner, const QStringList* Changed);
// The value of Symbol in the first stored section of Kind (by identifier) of Owner that has one.
QString FirstSection(TSqlConnection& C, qint64 Owner, int Kind, const QString& Symbol);

// Stores one value of a stored record (removing the row when nothing is left to keep;
// Fresh: the record has no values stored yet, so there is nothing to remove).
void WriteField(TSqlConnection& C, qint64 ID, const QString& Symbol, const TFieldValue& F,
                bool Fresh = false);
// The caption and kind a value is stored with (empty where they equal the symbol
// table's); false when the value leaves nothing to store.
bool StoredColumns(const QString& Symbol, const TFieldValue& F, QString& Caption, QString& Type);
// The identifier symbols of a subject whose digits are kept for the duplicate check, and
// the write of those digits (with the value, by WriteField).
const QStringList& IdentifierSymbols();
void WriteIdentifier(TSqlConnection& C, qint64 ID, const QString& Symbol, const QString& Value, bool Fresh);
// Recomputes and stores the lines of one record only, leaving the records that show its values.
void WriteStoredLines(TSqlConnection& C, qint64 ID, int Kind);

// The people link of a subject to a taxpayer (stored at once), and the registry flag.
void LinkPerson(TSqlConnection& C, qint64 Podatnik, int Role, qint64 Osoba);

} // namespace SqlRecordStore
