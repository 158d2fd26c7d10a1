#include "uSqlSession.h"

#include "uSqlConnection.h"
#include "uSqlErrors.h"
#include "uSqlRecordStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#endif

namespace SqlSession {

namespace {

QString MachineName() {
    const QByteArray id = QSysInfo::machineUniqueId();
    const QString host = QSysInfo::machineHostName();
    return id.isEmpty() ? host : host + u'/' + QString::fromLatin1(id);
}

// The session holding a lock, or 0.
qint64 LockHolder(TSqlConnection& C, qint64 RecordID) {
    static const QString sql = QStringLiteral("SELECT ") + LockHolderColumn();
    return C.Scalar(sql, {RecordID}, 0).toLongLong();
}

// The server's named lock that a session's connection holds while it lives.
QString SessionLockName(qint64 SessionID) {
    return QStringLiteral("ew_session:%1").arg(SessionID);
}
const QString kLockNameSql = QStringLiteral("CONCAT(?, '@', LEFT(MD5(DATABASE()), 20))");

// On a server, a session lives while its connection does: the server frees the named lock
// as soon as it sees the connection gone (a killed desk included), whatever any clock says.
bool ServerSessionAlive(TSqlConnection& C, qint64 SessionID) {
    return !C.Scalar(QStringLiteral("SELECT IS_USED_LOCK(%1)").arg(kLockNameSql),
                     {SessionLockName(SessionID)})
                .isNull();
}

bool SessionAlive(TSqlConnection& C, qint64 SessionID) {
    if (SessionID == C.SessionID())
        return true;
    if (C.Dialect().ServerLiveness())
        return ServerSessionAlive(C, SessionID);
    const auto rows =
        C.Rows(QStringLiteral("SELECT host, boot_id, pid, start_ticks, heartbeat FROM ew_session "
                              "WHERE id = ?"),
               {SessionID});
    if (rows.isEmpty())
        return false;
    const QVariantList& r = rows.front();
    TIdentity s{r[0].toString(), r[1].toString(), r[2].toLongLong(), r[3].toString()};
    return IsAlive(s, r[4].toLongLong(), C.Now());
}

// Posted records that depend on a placeholder: its sections or partners, records that
// link to it, people linked to it as their taxpayer.
int PostedDependents(TSqlConnection& C, qint64 ID) {
    return C
        .Scalar(QStringLiteral("SELECT (SELECT count(*) FROM ew_record WHERE owner_id = ? AND state = 0) + "
                               "(SELECT count(*) FROM ew_link WHERE target_id = ?) + "
                               "(SELECT count(*) FROM ew_person p JOIN ew_record o ON o.id = p.osoba_id "
                               "WHERE p.podatnik_id = ? AND o.state = 0)"),
                {ID, ID, ID}, 0)
        .toInt();
}

// A placeholder without posted dependents goes. One with them becomes a stored record, so
// that nothing already posted is deleted with it; the lists then show it. In a savepoint of
// its own: one that fails is left for a later purge.
void ResolvePlaceholder(TSqlConnection& C, qint64 ID) {
    try {
        TWriteScope one(C);
        if (PostedDependents(C, ID) == 0) {
            C.Exec(QStringLiteral("DELETE FROM ew_record WHERE id = ? AND state = 1"), {ID});
        } else {
            C.Exec(
                QStringLiteral(
                    "UPDATE ew_record SET state = 0, session_id = NULL, version = version + 1 WHERE id = ?"),
                {ID});
            one.Changed(SqlRecordStore::RefreshStoredLines(C, ID));
        }
        one.Commit();
    } catch (const TSqlFailure&) {
    }
}

// Resolves a dead session's placeholders, then deletes the session row, which takes its
// locks with it.
void PurgeSession(TSqlConnection& C, qint64 SessionID) {
    const auto rows =
        C.Rows(QStringLiteral("SELECT id FROM ew_record WHERE state = 1 AND session_id = ?"), {SessionID});
    for (const QVariantList& r : rows)
        ResolvePlaceholder(C, r[0].toLongLong());
    C.Exec(QStringLiteral("DELETE FROM ew_session WHERE id = ?"), {SessionID});
}

} // namespace

const TIdentity& CurrentProcess() {
    static const TIdentity me = [] {
        TIdentity t;
        t.host = MachineName();
        t.bootId = QString::fromLatin1(QSysInfo::bootUniqueId());
        t.pid = QCoreApplication::applicationPid();
        t.startTicks = ProcessStartTicks(t.pid);
        return t;
    }();
    return me;
}

QString ProcessStartTicks(qint64 Pid) {
#if defined(Q_OS_LINUX)
    QFile f(QStringLiteral("/proc/%1/stat").arg(Pid));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = f.readAll();
    // The command name in parentheses may contain spaces; fields follow its last ')'.
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // Field 22 of the file (start time) is index 19 after the state field (field 3).
    return fields.size() > 19 ? QString::fromLatin1(fields[19]) : QString();
#elif defined(Q_OS_UNIX)
    if (::kill(static_cast<pid_t>(Pid), 0) == 0 || errno == EPERM)
        return QStringLiteral("running");
    return {};
#else
    Q_UNUSED(Pid);
    return {};
#endif
}

bool IsAlive(const TIdentity& Session, qint64 Heartbeat, qint64 NowSecs) {
    const TIdentity& me = CurrentProcess();
    const bool sameBoot = Session.host == me.host && Session.bootId == me.bootId && !me.bootId.isEmpty();
    if (sameBoot && !me.startTicks.isEmpty()) {
        const QString ticks = ProcessStartTicks(Session.pid);
        return !ticks.isEmpty() && ticks == Session.startTicks;
    }
    return NowSecs - Heartbeat < StaleAfterSeconds;
}

void Register(TSqlConnection& C) {
    const TIdentity& me = CurrentProcess();
    TWriteScope scope(C);
    const qint64 now = C.Now();
    const qint64 id =
        C.Insert(QStringLiteral("INSERT INTO ew_session (host, boot_id, pid, start_ticks, heartbeat, "
                                "opened_at) VALUES (?, ?, ?, ?, ?, ?)"),
                 {me.host, me.bootId, me.pid, me.startTicks, now, now});
    // The named lock is taken before the row is committed: a desk purging dead sessions
    // between the two would find the row without its lock and purge a live session.
    if (C.Dialect().ServerLiveness() &&
        C.Scalar(QStringLiteral("SELECT GET_LOCK(%1, 0)").arg(kLockNameSql), {SessionLockName(id)}, 0)
                .toInt() != 1)
        Fail(SqlErrors::ecOpen, QStringLiteral("nie można zająć blokady sesji"));
    scope.Commit();
    C.SetSessionID(id);
}

void PurgeDead(TSqlConnection& C) {
    TWriteScope scope(C);
    const auto rows =
        C.Rows(QStringLiteral("SELECT id, host, boot_id, pid, start_ticks, heartbeat FROM ew_session"));
    const qint64 now = C.Now();
    for (const QVariantList& r : rows) {
        const qint64 id = r[0].toLongLong();
        TIdentity s{r[1].toString(), r[2].toString(), r[3].toLongLong(), r[4].toString()};
        if (id == C.SessionID())
            continue;
        const bool alive =
            C.Dialect().ServerLiveness() ? ServerSessionAlive(C, id) : IsAlive(s, r[5].toLongLong(), now);
        if (!alive)
            PurgeSession(C, id);
    }
    const auto orphans =
        C.Rows(QStringLiteral("SELECT id FROM ew_record WHERE state = 1 AND (session_id IS NULL "
                              "OR session_id NOT IN (SELECT id FROM ew_session))"));
    for (const QVariantList& r : orphans)
        ResolvePlaceholder(C, r[0].toLongLong());
    scope.Commit();
}

void Unregister(TSqlConnection& C) {
    if (C.SessionID() == 0)
        return;
    TWriteScope scope(C);
    PurgeSession(C, C.SessionID());
    scope.Commit();
    C.SetSessionID(0);
}

// In a write scope of its own, which also finds out when this session was purged.
void Heartbeat(TSqlConnection& C) {
    TWriteScope scope(C);
    C.Exec(QStringLiteral("UPDATE ew_session SET heartbeat = ? WHERE id = ?"), {C.Now(), C.SessionID()});
    scope.Commit();
}

bool Reclaim(TSqlConnection& C) {
    if (C.Dialect().ServerLiveness()) {
        const QString name = SessionLockName(C.SessionID());
        const QString take = QStringLiteral("SELECT GET_LOCK(%1, ?)").arg(kLockNameSql);
        if (C.Scalar(take, {name, 0}, 0).toInt() != 1) {
            // No other session takes this lock: its holder is this session's own earlier
            // connection, which the server has not yet seen gone (a dropped network link).
            const QVariant holder =
                C.Scalar(QStringLiteral("SELECT IS_USED_LOCK(%1)").arg(kLockNameSql), {name});
            try {
                if (!holder.isNull())
                    C.Exec(QStringLiteral("KILL CONNECTION %1").arg(holder.toLongLong()));
            } catch (const TSqlFailure&) {
                // Already ending: the server frees the lock when it is done.
            }
            if (C.Scalar(take, {name, 5}, 0).toInt() != 1)
                Fail(SqlErrors::ecOpen, QStringLiteral("nie można zająć blokady sesji"));
        }
    }
    return C.Scalar(QStringLiteral("SELECT count(*) FROM ew_session WHERE id = ?"), {C.SessionID()}, 0)
               .toInt() > 0;
}

void Renew(TSqlConnection& C) {
    // The old session's name was taken again by Reclaim; nobody waits for it any more.
    const qint64 old = C.SessionID();
    C.Scalar(QStringLiteral("SELECT RELEASE_LOCK(%1)").arg(kLockNameSql), {SessionLockName(old)});
    C.SetSessionID(0); // the new row is written as at opening
    try {
        Register(C);
    } catch (...) {
        C.SetSessionID(old); // the next reconnect finds it purged and tries again
        throw;
    }
}

void Lock(TSqlConnection& C, qint64 RecordID) {
    TWriteScope scope(C);
    if (C.Scalar(QStringLiteral("SELECT count(*) FROM ew_record WHERE id = ?"), {RecordID}, 0).toInt() == 0)
        Fail(SqlErrors::ecRecordDeleted);
    const qint64 holder = LockHolder(C, RecordID);
    if (holder == C.SessionID()) {
        scope.Commit();
        return;
    }
    if (holder != 0) {
        if (SessionAlive(C, holder))
            Fail(SqlErrors::ecRecordLocked);
        PurgeSession(C, holder);
    }
    const qint64 now = C.Now();
    C.Exec(QStringLiteral("INSERT INTO ew_lock (record_id, session_id, locked_at) VALUES (?, ?, ?)"),
           {RecordID, C.SessionID(), now});
    C.Exec(QStringLiteral("UPDATE ew_session SET heartbeat = ? WHERE id = ?"), {now, C.SessionID()});
    scope.Commit();
}

void Unlock(TSqlConnection& C, qint64 RecordID) {
    TWriteScope scope(C);
    C.Exec(QStringLiteral("DELETE FROM ew_lock WHERE record_id = ? AND session_id = ?"),
           {RecordID, C.SessionID()});
    scope.Commit();
}

void CheckNotLockedByOther(TSqlConnection& C, qint64 RecordID) {
    CheckHolder(C, LockHolder(C, RecordID));
}

QString LockHolderColumn() {
    return QStringLiteral("(SELECT session_id FROM ew_lock WHERE record_id = ?)");
}

void CheckHolder(TSqlConnection& C, qint64 Holder) {
    if (Holder != 0 && Holder != C.SessionID() && SessionAlive(C, Holder))
        Fail(SqlErrors::ecRecordLocked);
}

} // namespace SqlSession
