#pragma once
// ew_check: the proof of register checks. Rows are only ever inserted: nothing here
// updates or deletes one, and a subject's deletion leaves its rows (no foreign key).

#include "uEwidarRegisterChecksIntf.h"

#include <QString>

#include <vector>

class TSqlConnection;

namespace SqlChecks {

// Creates the table when missing (at every connection, after the schema).
void Prepare(TSqlConnection& C);
// Stores Check with the time and the operator's login; sets its ID, AskedAt and Operator.
void Add(TSqlConnection& C, TRegisterCheck& Check);
std::vector<TRegisterCheck> Find(TSqlConnection& C, int32_t SubjectID, const QString& Identifier);

} // namespace SqlChecks
