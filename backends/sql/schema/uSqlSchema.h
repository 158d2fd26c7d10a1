#pragma once
// The tables of this backend, created on first use and upgraded by forward
// migrations; the version lives in ew_meta.

#include <QString>

class TSqlConnection;

namespace SqlSchema {

// Version that this build writes.
constexpr int CurrentVersion = 6;

// Creates the schema in an empty database or upgrades an older one, in one write
// transaction. A database of another program (tables but no ew_meta) or of a newer
// version is left untouched and fails with code 101.
void Prepare(TSqlConnection& C);

// The version stored in the open database; 0 when it has none.
int StoredVersion(TSqlConnection& C);

// The identifier written into the database when it was created (or upgraded to
// version 2): the same for every connection to the file, whatever its path.
QString DataBaseID(TSqlConnection& C);

} // namespace SqlSchema
