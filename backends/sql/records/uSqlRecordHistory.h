#pragma once
// What a post, a deletion or a person link of a record writes into the history of
// changes, inside the write transaction of that change.

#include "uSqlRecordState.h"

namespace SqlRecordHistory {

// Before the record's rows are written: the values that differ from those last read
// (every value of a new record), the active flag, and each link whose target changed.
// Fresh: the record is stored for the first time.
void NotePost(TSqlConnection& C, TRecordState& R, qint64 ID, bool Fresh);
// Before the record's row is deleted: its values, and each of its stored sections with theirs.
void NoteDelete(TSqlConnection& C, qint64 ID, int Kind, qint64 Owner);
// A person linked to (Linked) or unlinked from a taxpayer.
void NotePersonLink(TSqlConnection& C, qint64 Podatnik, int Role, qint64 Osoba, bool Linked);

} // namespace SqlRecordHistory
