#pragma once
// Backups of a whole database and their restore, the same file for both engines.
//
// A backup is a consistent copy taken while other desks go on working: SQLite's
// VACUUM INTO over a connection of its own (one read transaction), or, on a server,
// every table read inside one consistent-snapshot read transaction and written into
// a new SQLite file of this schema. Sessions and locks are left out (placeholders
// lose their session and are resolved at the next connection). The file is written
// under a temporary name beside the final one, read back and checked completely
// (container checksum, SHA-256 of the database, integrity, record counts against the
// manifest) and only then renamed; a failed or cancelled backup leaves no file.
//
// A restore replaces the records, operators, field definitions and word lists of
// the connected database with the backup's, in one write transaction of that
// database (its own identifier, schema version and change counters stay), and
// checks the counts against the manifest before committing.

#include "uEwidarQuorDBIntf.h"
#include "uSqlDialect.h"

#include <QString>

class TSqlConnection;

namespace SqlBackup {

// Writes the backup of the database Target names (Symbol's engine) into Path, read
// with the rights of Operator; encrypted when Password is not empty. Works over
// connections of its own, so it may run on another thread than the root object.
void Backup(const QString& Symbol, const TSqlTarget& Target, qint64 Operator, const QString& Path,
            const QString& Password, const TProgressEvent& Progress);

// Reads and checks the whole backup; its manifest as JSON text.
QString Inspect(const QString& Path, const QString& Password, const TProgressEvent& Progress);

// Replaces what C's database holds with the backup's content (needs the right to
// manage operators). Progress 0-30 reading and checking, up to 100 writing.
void Restore(TSqlConnection& C, const QString& Path, const QString& Password, const TProgressEvent& Progress);

} // namespace SqlBackup
