#pragma once
// Import from a database of this same backend, at the cost of a few statements per
// table rather than several per record: the source's tables are read in whole-table
// queries inside one read transaction (a consistent snapshot), identifiers are mapped
// in memory, and the copies go in many rows per statement with their description
// lines, sort keys and identifier digits computed on the way. The result is the one
// the reading through the contract gives (uSqlImportSource): the same records (those
// the source's lists show), in the same order of new identifiers, the same values,
// links and people; definitions and word lists are still read through the contract.

#include "uSqlImportSource.h"

#include "uSqlConnection.h"

#include <functional>

namespace SqlImport {

// Copies From (the connection under Source, open) into Target inside the caller's write
// scope. Sink hears the progress of the reading (Advance, 0-90) and receives the
// definitions and word lists; Finishing hears 90-100. Returns the number of records
// copied. Throws TSqlFailure 203 when the source cannot be read.
qint64 CopyInBulk(TSqlConnection& Target, TSqlConnection& From, IEwidarDataBase* Source, TImportSink& Sink,
                  const std::function<void(qint64 Percent)>& Finishing);

} // namespace SqlImport
