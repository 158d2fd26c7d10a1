#pragma once
// Sessions and record locks that hold across processes.
//
// Every open connection has a row in ew_session with the machine, the boot, the
// process id and the process start time. A lock row names its session. A session
// counts as dead when, on the same machine and boot, no process with that id and
// start time exists any more (a reused pid has another start time); on another
// machine or boot, when its heartbeat (renewed every minute) is older than
// StaleAfterSeconds, both times being the database's own (no two machines' clocks are
// compared). Dead sessions lose their locks; their placeholders go unless posted records
// depend on them, which makes them stored records instead. A session that finds its row
// purged fails every later write (code 1009).

#include <QString>

#include <cstdint>

class TSqlConnection;

namespace SqlSession {

constexpr qint64 StaleAfterSeconds = 5 * 60;

struct TIdentity {
    QString host;
    QString bootId;
    qint64 pid = 0;
    QString startTicks;
};

// This process.
const TIdentity& CurrentProcess();
// Start time of a process of this machine as the kernel reports it; empty when
// no such process runs (or the platform does not tell).
QString ProcessStartTicks(qint64 Pid);
// Liveness of a session row as seen from this process at NowSecs, the database's time.
bool IsAlive(const TIdentity& Session, qint64 Heartbeat, qint64 NowSecs);

void Register(TSqlConnection& C);
// Removes dead sessions with their locks and placeholders, and placeholders without a session.
void PurgeDead(TSqlConnection& C);
// Removes this session's placeholders, locks and row.
void Unregister(TSqlConnection& C);
void Heartbeat(TSqlConnection& C);
// After the connection was opened again: takes the session's server lock once more (ending
// this session's earlier connection if the server still counts it as open). False when
// another connection purged the session meanwhile.
bool Reclaim(TSqlConnection& C);
// After Reclaim found the session purged (another desk met it without its connection, as
// after a server restart): a new session row and server lock for this connection. The
// records the old session had locked are free now; posting them again is guarded, as for
// any session, by the row version and by other sessions' locks.
void Renew(TSqlConnection& C);

// Locks a stored record for this session; 105 when a live session holds it, 106
// when the record no longer exists. Locking twice in one session succeeds.
void Lock(TSqlConnection& C, qint64 RecordID);
void Unlock(TSqlConnection& C, qint64 RecordID);
// Throws 105 when a live session other than this one holds the record's lock. A Post or
// Delete runs under the lock: this session's own, or, when no live session holds one,
// its write transaction, during which no other session can take it.
void CheckNotLockedByOther(TSqlConnection& C, qint64 RecordID);
// The same check for a caller that read the holder itself, with LockHolderColumn (bound to
// the record's identifier; NULL or 0 when nobody holds the lock).
QString LockHolderColumn();
void CheckHolder(TSqlConnection& C, qint64 Holder);

} // namespace SqlSession
