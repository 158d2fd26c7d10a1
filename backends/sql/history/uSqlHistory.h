#pragma once
// The history of changes: one append-only table whose entries are chained by SHA-256
// hashes. Every change of data appends its entries inside the write transaction of the
// change, so a rolled-back change leaves none. The chain head (last position and hash)
// is read and written under the write lock, so desks appending at once still build one
// chain; Verify finds the first entry changed, removed or inserted outside the program.

#include "uEwidarQuorDBIntf.h"

#include <QList>
#include <QString>

#include <functional>

class TSqlConnection;

namespace SqlHistory {

struct TChange {
    QString symbol;
    QString caption;
    QString oldValue;
    QString newValue;
};

struct TEntry {
    THistoryEvent event = THistoryEvent::hePost;
    int kind = 0;        // record-kind position; 0 for events of no registry
    qint64 record = 0;   // the record; 0 when none
    qint64 subject = 0;  // the top-level record it belongs to; 0: the record itself
    QString description; // the record's first description line
    QList<TChange> changes;
};

// Appends one entry inside the open write transaction of the change it records (or a
// transaction of its own when none is open), so it commits or rolls back with it. The one function through which
// every part of the backend writes history (backups, restores and merges included).
void Append(TSqlConnection& C, const TEntry& Entry);

// The benchmark's baseline (a post without history) in its own process, which links this
// library directly; the program never calls it and the plugin exports nothing that does.
void SuspendForBenchmark(bool Suspended);

// The first description line stored for a record; empty when it has none.
QString Description(TSqlConnection& C, qint64 Record);

// Entries in the filter, newest first (at most Filter.Limit), handed to Out one by one.
void Query(TSqlConnection& C, const THistoryFilter& Filter, const std::function<void(THistoryEntry&&)>& Out);
// Logins that occur in the history, sorted.
QStringList Operators(TSqlConnection& C);

struct TVerdict {
    qint64 firstBroken = 0; // 0: the chain verifies
    QString reason;
};
TVerdict Verify(TSqlConnection& C);

// The hash of an entry given the previous entry's hash and its stored columns, as Verify
// recomputes it (exposed for tests that write a row as an intruder would).
QString EntryHash(const QString& Previous, qint64 Seq, qint64 AtMs, qint64 OperatorID, const QString& Operator,
                  const QString& Host, int Event, int Kind, qint64 Record, qint64 Subject,
                  const QString& Description, const QString& Details);

} // namespace SqlHistory
