#pragma once
// Import of another connected database into this one. Everything is written in
// one write transaction: records get new identifiers, links and people follow
// them, description lines are computed here, user-defined definitions and words
// join those already present (a symbol the kind already has keeps its
// definition). A cancel from the progress handler (code 204) or any failure
// (203) rolls everything back, so the target stays as it was. Operators are not
// copied: the target keeps its own.

#include "uEwidarQuorDBIntf.h"
#include "uSqlConnection.h"

namespace SqlImport {

// Progress goes to Progress as a percentage (0 first, 100 last, each value once);
// reading the source takes 0-90, linking and describing the copies 90-100.
// Throws TSqlFailure: 204 cancelled, 203 failed (also for a source that is this
// database, or while the root object's own transaction is open), 2 not connected.
// SameBackend: the connection under Source when Source is a database of this backend,
// whose tables are then read whole (uSqlImportBulk); null for any other source, read
// through the contract.
void Run(const TSqlConnectionPtr& Target, IEwidarDataBase* Source, const TProgressEvent& Progress,
         const TSqlConnectionPtr& SameBackend = nullptr);

} // namespace SqlImport
