#pragma once
// One open database of one root object: the Qt SQL connection (a unique connection
// name per root object), the dialect, cached prepared statements, nested write
// transactions, the root object's own transaction, this connection's session row
// and the change notifications of the live collections.

#include "uSqlDialect.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class QSqlError;
class QSqlQuery;
class QTimer;
struct IInterface;

namespace SqlText {
// The statement with each placeholder replaced by its value, for a statement sent as text to
// a MariaDB server: integers, NULL, and texts up to 64 kB, quoted when made of ASCII letters,
// digits and a few marks, otherwise as the hexadecimal digits of their UTF-8 bytes (in the
// binary collation the tables use). Empty when any value is of another kind or longer, or
// the placeholders and the values do not pair up; quoted literals of the statement are
// passed over.
QString WithValues(const QString& Sql, const QVariantList& Binds);
} // namespace SqlText

// A live collection that reloads when records of the kinds it lists change.
class TChangeListener {
public:
    virtual void DataChanged(const QSet<int>& Kinds) = 0;
    // The object to keep alive while it is being notified.
    virtual IInterface* ListenerObject() = 0;

protected:
    ~TChangeListener() = default;
};

class TSqlConnection {
public:
    TSqlConnection(const QString& Symbol, std::unique_ptr<TSqlDialect> Dialect);
    ~TSqlConnection();
    TSqlConnection(const TSqlConnection&) = delete;
    TSqlConnection& operator=(const TSqlConnection&) = delete;

    // Opens the file or server database, prepares the schema and registers the
    // session. Target.busyMs is how long a statement waits for another connection's
    // write lock; WatchMs how often the database is checked for changes committed by
    // other connections (0: never), which the live collections then hear of. Throws
    // TSqlFailure.
    void Open(const TSqlTarget& Target, int WatchMs);
    // Rolls back an open transaction, removes this session's placeholders and locks.
    void Close();
    // True while a server connection is lost and not yet opened again.
    bool Broken() const { return m_broken; }
    bool IsOpen() const { return m_open; }
    // Throws 2 before the first connection and 103 when the connection was closed
    // under an object that still uses it.
    void Require() const;

    const QString& Symbol() const { return m_symbol; }
    // The file path, or the server database's name.
    const QString& FilePath() const { return m_path; }
    // The identifier stored in the open database; before (or after a failed)
    // opening, the symbol and the file path.
    const QString& DataBaseID() const { return m_id; }
    // Where the connection went (also after it was opened again); what a second
    // connection to the same database, a backup's say, is opened with.
    const TSqlTarget& Target() const { return m_target; }
    const TSqlDialect& Dialect() const { return *m_dialect; }
    // The Qt connection's name, unique to this object within the process.
    const QString& ConnectionName() const { return m_name; }
    // The Qt connection, for the engine's own interface (uSqlNativeRows).
    const QSqlDatabase& Database() const { return m_db; }
    qint64 SessionID() const { return m_session; }
    void SetSessionID(qint64 ID) { m_session = ID; }
    // True once another connection purged this session as dead: its locks are gone, so
    // every later write fails with code 1009 until the connection is opened again.
    bool SessionLost() const { return m_lost; }

    // The operator logged in on this connection (0: nobody). The root object's login
    // lives here so that every object reached from it checks the same operator.
    qint64 Operator() const { return m_operator; }
    void SetOperator(qint64 ID) { m_operator = ID; }

    // The database's own time in seconds, by which heartbeats are written and judged, so
    // that no two machines' clocks are compared. Tests may put another clock in.
    qint64 Now();
    void SetClock(std::function<qint64()> Clock) { m_clock = std::move(Clock); }
    // How often the session's heartbeat is renewed while an event loop runs.
    void SetHeartbeatMs(int Ms) { m_heartbeatMs = Ms; }

    // Statements: each throws TSqlFailure with FallbackCode unless the engine's
    // result maps to a more precise code (busy, read-only, not a database).
    void Exec(const QString& Sql, const QVariantList& Binds = {}, int FallbackCode = 3);
    QList<QVariantList> Rows(const QString& Sql, const QVariantList& Binds = {}, int FallbackCode = 3);
    QVariant Scalar(const QString& Sql, const QVariantList& Binds = {}, const QVariant& Default = {});
    // Writes whose results nobody reads, in turn: on a server that takes statements as text,
    // sent together (one round trip), each one's result checked.
    void ExecAll(const QList<std::pair<QString, QVariantList>>& Statements);
    qint64 Insert(const QString& Sql, const QVariantList& Binds, int FallbackCode = 3);
    // Runs a cached statement and hands each row to Row without copying the result
    // set; Row must not run statements itself.
    void EachRow(const QString& Sql, const QVariantList& Binds,
                 const std::function<void(const QSqlQuery&)>& Row);

    // The root object's transaction (StartTransaction/Commit).
    void StartUserTransaction();
    void CommitUserTransaction();
    bool InUserTransaction() const { return m_userTxn; }
    // True while a write scope is alive: whatever is written now commits or rolls back with it.
    bool InWriteScope() const { return m_scopes > 0; }
    // A column that counts this session's row (bound to SessionID()), for a write scope whose
    // caller reads it in its own first statement instead of one of the scope's.
    static QString SessionColumn() {
        return QStringLiteral("(SELECT count(*) FROM ew_session WHERE id = ?)");
    }

    void AddListener(TChangeListener* L) { m_listeners.insert(L); }
    void RemoveListener(TChangeListener* L) { m_listeners.remove(L); }
    void NotifyChanged(const QSet<int>& Kinds);

private:
    friend class TWriteScope;
    int BeginScope(bool SessionReadByCaller);
    // Before: a statement to run just before the commit of the outermost scope (with it,
    // where statements can be sent together).
    void EndScope(int Level, bool Commit, const QString& Before = {});
    // Fails with 1009 (rolling back what Begin opened) when this session's row is gone.
    void CheckSession();
    // The answer of SessionColumn to a transaction begun without its own check; Present false
    // fails as CheckSession does.
    void SessionRead(bool Present);
    [[noreturn]] void SessionGone();
    // The statement that raises the change counters of the kinds (empty when none has one).
    static QString CounterRaise(const QSet<int>& Kinds);
    void OwnChangesCommitted(const QHash<int, int>& Bumps);
    void RollbackUserTransaction();
    QSqlQuery& Prepared(const QString& Sql, int FallbackCode);
    // Runs a statement (throwing on failure) and returns its query, positioned before the
    // first row: the cached prepared one, or, where the dialect prefers it and the values
    // allow, the connection's text query with the values written in (SqlText).
    QSqlQuery& Run(const QString& Sql, const QVariantList& Binds, int FallbackCode);
    // The connection's query for statements sent as text.
    QSqlQuery& TextQuery();
    // Statements without values sent as one text (one round trip on a server); throws the
    // failure of the first that fails, after which none runs.
    void Script(const QStringList& Statements, int FallbackCode);
    [[noreturn]] void Failed(const QSqlError& Error, int FallbackCode);
    // Runs one statement. After a lost server connection the connection is opened again
    // first; a statement lost outside a transaction that is safe to run twice runs once
    // more on the new connection. One reconnect per statement, never a loop.
    template <class F> void Statement(const QString& Sql, F&& Body);
    // The server ended the connection: whatever transaction was open is gone with it.
    void ConnectionLost();
    // Opens the server connection again with the same target and session; throws 22
    // (or the open's own code when it says more, a refused login say).
    void Reconnect();
    void RunSetup(const TSqlTarget& Target);
    void BeginWrite();
    void TransactionEnded();
    void StartTimers(int WatchMs);
    // False while a timer should leave the connection alone: a transaction is open, or
    // a reconnect was tried moments ago.
    bool TimerMayRun() const;
    void CheckForeignChanges();
    void ReadChangeCounters();
    void ReleaseConnection();
    void ReleaseDriver();

    QString m_symbol;
    std::unique_ptr<TSqlDialect> m_dialect;
    QString m_name; // Qt connection name
    QSqlDatabase m_db;
    QString m_id;
    QString m_path;
    bool m_open = false;
    bool m_wasOpen = false;
    qint64 m_session = 0;
    QHash<QString, QSqlQuery*> m_cache;
    std::unique_ptr<QSqlQuery> m_text; // statements sent as text
    TSqlTarget m_target;
    int m_depth = 0;        // open write scopes, the user transaction counting as one
    bool m_sessionUnread = false; // a transaction begun whose caller has not yet read the session row
    bool m_txnOpen = false; // from the start of a write transaction to its end
    bool m_userTxn = false;
    int m_scopes = 0;    // TWriteScope objects alive
    int m_doomed = 0;    // of them, those whose transaction the server ended with the connection
    quint64 m_epoch = 0; // raised whenever a lost connection takes a transaction with it
    bool m_broken = false;
    bool m_reconnecting = false;
    bool m_reloadAll = false;    // lists reload once after a reconnect: changes may have been missed
    QElapsedTimer m_lastAttempt; // the last reconnect, from its end when it failed
    qint64 m_retryPauseMs = 0;
    QSet<int> m_txnKinds; // kinds changed inside the user transaction
    QSet<int> m_pending;  // kinds changed by committed inner scopes, not yet announced
    QSet<TChangeListener*> m_listeners;
    std::unique_ptr<QTimer> m_heartbeat;
    std::unique_ptr<QTimer> m_watch;
    qint64 m_dataVersion = 0;
    QHash<int, qint64> m_seenCounters; // change counters of the kinds as last seen
    QHash<int, int> m_txnBumps;        // raises inside the root object's transaction
    std::function<qint64()> m_clock;
    int m_heartbeatMs = 60 * 1000;
    bool m_lost = false;
    qint64 m_operator = 0;
};

using TSqlConnectionPtr = std::shared_ptr<TSqlConnection>;

// A write transaction, or a savepoint inside one. Rolled back unless committed.
// A failure inside the root object's transaction rolls that whole transaction back,
// so that no write lock is left held and nothing later is lost at disconnect.
class TWriteScope {
public:
    explicit TWriteScope(TSqlConnection& C);
    // A scope whose caller reads TSqlConnection::SessionColumn in its first statement and
    // hands the count to SessionRead before it writes anything (should it not, Commit checks
    // the session itself). Inside an open transaction the session was checked when it began.
    struct TSessionReadByCaller {};
    TWriteScope(TSqlConnection& C, TSessionReadByCaller);
    ~TWriteScope();
    TWriteScope(const TWriteScope&) = delete;
    TWriteScope& operator=(const TWriteScope&) = delete;
    // Commits and then notifies the collections of the changed kinds.
    void Commit();
    void Changed(int Kind) { m_kinds.insert(Kind); }
    void Changed(const QSet<int>& Kinds) { m_kinds.unite(Kinds); }
    // The count SessionColumn gave: fails with 1009 (writing nothing) when the row is gone.
    void SessionRead(const QVariant& Count) { m_c.SessionRead(Count.toLongLong() > 0); }

private:
    TSqlConnection& m_c;
    int m_level = 0;
    quint64 m_epoch = 0;
    bool m_done = false;
    QSet<int> m_kinds;
};
