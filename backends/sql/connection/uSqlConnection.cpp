#include "uSqlConnection.h"

#include "uIntf.h"
#include "uPrivateFiles.h"
#include "uSqlChecks.h"
#include "uSqlErrors.h"
#include "uSqlSchema.h"
#include "uSqlSession.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>

namespace {

std::atomic<quint64> g_connectionCounter{0};

// A reconnect that failed slowly (a host that does not answer) holds up the event loop, so
// the timers then leave the server alone for a while; one refused at once is tried again at
// their next tick.
constexpr qint64 kSlowAttemptMs = 1000;
constexpr qint64 kTimerRetryMs = 10 * 1000;

// The kinds of records that have change counters.
constexpr int kFirstKind = 1;
constexpr int kLastKind = 21;

// A statement that changes nothing stored, or starts a transaction: running it again after
// a lost connection cannot write anything twice. An autocommitted write lost on its way
// may have been committed, so it is never run again.
bool Replayable(const QString& Sql) {
    static const QStringList starts = {QStringLiteral("SELECT "), QStringLiteral("SET "),
                                       QStringLiteral("SHOW "), QStringLiteral("START TRANSACTION")};
    for (const QString& s : starts)
        if (Sql.startsWith(s, Qt::CaseInsensitive))
            return true;
    return false;
}

// A null QString would be bound as SQL NULL; texts are stored as empty strings instead.
void Bind(QSqlQuery& Q, const QVariantList& Binds) {
    for (int i = 0; i < Binds.size(); ++i) {
        const QVariant& v = Binds[i];
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            Q.bindValue(i, QStringLiteral(""));
        else
            Q.bindValue(i, v);
    }
}

// The database holds personal numbers and password hashes: a new file is created owner-only
// before SQLite opens it (its journal, log and shared-memory files take the database's
// mode), and an existing one of this user is made so, side files included.
void KeepFilePrivate(const QString& Path) {
    if (Path.isEmpty() || Path.startsWith(u':') || Path.startsWith(QLatin1String("file:")))
        return;
    PrivateFiles::Prepare(Path);
    for (const char* side : {"-wal", "-shm", "-journal"})
        PrivateFiles::Restrict(Path + QLatin1String(side));
}

// A text value that can stand in a statement as a quoted literal whatever the server's
// escaping rules: ASCII letters, digits and a few marks, never a quote or a backslash.
bool PlainText(const QString& Text) {
    for (const QChar c : Text) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
                           u == u' ' || u == u'_' || u == u'#' || u == u':' || u == u'.' || u == u',' ||
                           u == u'-' || u == u'/' || u == u'@';
        if (!plain)
            return false;
    }
    return true;
}

// Longer texts stay bound: written in hexadecimal a text takes twice its bytes, and a
// statement must fit the server's packet.
constexpr qsizetype kLongestLiteral = 64 * 1024;

} // namespace

QString SqlText::WithValues(const QString& Sql, const QVariantList& Binds) {
    QString out;
    out.reserve(Sql.size() + Binds.size() * 12);
    qsizetype next = 0;
    bool quoted = false;
    for (const QChar c : Sql) {
        if (c == u'\'')
            quoted = !quoted;
        if (c != u'?' || quoted) {
            out += c;
            continue;
        }
        if (next >= Binds.size())
            return {};
        const QVariant& v = Binds[next++];
        switch (v.typeId()) {
        case QMetaType::QString: {
            // A null text as an empty one, as Bind does. Any other text goes as the hexadecimal
            // digits of its UTF-8 bytes, which nothing in it can end early.
            const QString text = v.toString();
            if (PlainText(text)) {
                out += u'\'';
                out += text;
                out += u'\'';
                break;
            }
            const QByteArray utf8 = text.toUtf8();
            if (utf8.size() > kLongestLiteral)
                return {};
            out += QStringLiteral("_utf8mb4 X'");
            out += QLatin1String(utf8.toHex());
            out += QStringLiteral("' COLLATE utf8mb4_bin");
            break;
        }
        case QMetaType::Int:
        case QMetaType::LongLong:
            out += v.isNull() ? QStringLiteral("NULL") : QString::number(v.toLongLong());
            break;
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            out += v.isNull() ? QStringLiteral("NULL") : QString::number(v.toULongLong());
            break;
        case QMetaType::Bool:
            out += v.isNull() ? QStringLiteral("NULL") : QString(v.toBool() ? u'1' : u'0');
            break;
        default:
            return {};
        }
    }
    return next == Binds.size() ? out : QString();
}

TSqlConnection::TSqlConnection(const QString& Symbol, std::unique_ptr<TSqlDialect> Dialect)
    : m_symbol(Symbol), m_dialect(std::move(Dialect)) {
    const quint64 n = ++g_connectionCounter;
    // The address of the counter tells apart two copies of this code in one process.
    m_name = QStringLiteral("QuorDataBaseSQL-%1-%2-%3")
                 .arg(QCoreApplication::applicationPid())
                 .arg(quintptr(&g_connectionCounter), 0, 16)
                 .arg(n);
    m_id = m_symbol + QStringLiteral(":#") + QString::number(n);
}

TSqlConnection::~TSqlConnection() {
    try {
        Close();
    } catch (...) {
    }
}

void TSqlConnection::Require() const {
    if (!m_open)
        Fail(m_wasOpen ? SqlErrors::ecNoLink : SqlErrors::ecNoConnection);
}

void TSqlConnection::Open(const TSqlTarget& Target, int WatchMs) {
    m_path = Target.database;
    m_id = m_symbol + u':' + Target.database;
    m_target = Target;
    m_db = QSqlDatabase::addDatabase(m_dialect->DriverName(), m_name);
    if (!m_db.isValid()) {
        ReleaseConnection();
        Fail(SqlErrors::ecOpen, QStringLiteral("brak sterownika Qt SQL %1").arg(m_dialect->DriverName()));
    }
    m_dialect->Configure(m_db, Target);
    if (m_dialect->DriverName() == QLatin1String("QSQLITE"))
        KeepFilePrivate(Target.database);
    if (!m_db.open()) {
        const QSqlError err = m_db.lastError();
        ReleaseConnection();
        throw TSqlFailure(m_dialect->ErrorCode(err, SqlErrors::ecOpen), err.text(), m_id);
    }
    m_open = true;
    try {
        RunSetup(Target);
        SqlSchema::Prepare(*this);
        SqlChecks::Prepare(*this);
        // From here on the database is named by the identifier stored in it.
        if (const QString id = SqlSchema::DataBaseID(*this); !id.isEmpty())
            m_id = id;
        SqlSession::Register(*this);
        SqlSession::PurgeDead(*this);
    } catch (...) {
        m_open = false;
        ReleaseConnection();
        throw;
    }
    m_wasOpen = true;
    StartTimers(WatchMs);
}

void TSqlConnection::RunSetup(const TSqlTarget& Target) {
    // Reading the catalogue first tells a file that is not a database (or one locked
    // exclusively by another program) before anything is written to it.
    Rows(m_dialect->ListTables(), {}, SqlErrors::ecOpen);
    if (const QString query = m_dialect->VersionQuery(); !query.isEmpty())
        if (const QString why = m_dialect->RefusedVersion(Scalar(query).toString()); !why.isEmpty())
            Fail(SqlErrors::ecCriticalOpen, why);
    for (const QString& sql : m_dialect->SessionSetup(Target))
        Rows(sql, {}, SqlErrors::ecOpen);
}

void TSqlConnection::BeginWrite() {
    const QStringList steps = m_dialect->BeginWrite();
    // On a server that takes statements as text the steps go together, in one round trip.
    const bool together = m_dialect->ValuesAsText() && steps.size() > 1;
    for (int i = 0; i < (together ? 1 : steps.size()); ++i) {
        try {
            if (together)
                Script(steps, SqlErrors::ecStartTransaction);
            else
                Rows(steps[i], {}, SqlErrors::ecStartTransaction);
        } catch (...) {
            // A transaction the steps may have begun goes (a lost connection took it with it).
            if (together ? !m_broken : (i > 0 && m_txnOpen)) {
                try {
                    Exec(m_dialect->Rollback());
                } catch (...) {
                }
            }
            TransactionEnded();
            throw;
        }
        m_txnOpen = true;
    }
}

void TSqlConnection::TransactionEnded() {
    m_txnOpen = false;
    m_depth = 0;
    m_sessionUnread = false;
}

void TSqlConnection::StartTimers(int WatchMs) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return;
    m_heartbeat = std::make_unique<QTimer>();
    m_heartbeat->setInterval(m_heartbeatMs);
    // A server that is down fails the tick quietly; a later tick reconnects.
    QObject::connect(m_heartbeat.get(), &QTimer::timeout, m_heartbeat.get(), [this] {
        try {
            if (TimerMayRun())
                SqlSession::Heartbeat(*this);
        } catch (...) {
        }
    });
    m_heartbeat->start();
    if (WatchMs <= 0)
        return;
    // The data version first: a commit between the two reads is then seen once more, never missed.
    m_dataVersion = Scalar(m_dialect->DataVersion(), {}, 0).toLongLong();
    ReadChangeCounters();
    m_watch = std::make_unique<QTimer>();
    m_watch->setInterval(WatchMs);
    QObject::connect(m_watch.get(), &QTimer::timeout, m_watch.get(), [this] { CheckForeignChanges(); });
    m_watch->start();
}

// The engine's data version changes whenever another connection commits, heartbeats and
// locks included; the change counters tell which kinds of records that commit changed,
// so that only the lists of those kinds reload.
void TSqlConnection::CheckForeignChanges() {
    try {
        if (!TimerMayRun())
            return;
        const qint64 version = Scalar(m_dialect->DataVersion(), {}, 0).toLongLong();
        if (m_reloadAll) {
            m_dataVersion = version;
            ReadChangeCounters();
            m_reloadAll = false;
            QSet<int> all;
            for (int kind = kFirstKind; kind <= kLastKind; ++kind)
                all.insert(kind);
            NotifyChanged(all);
            return;
        }
        if (version == m_dataVersion)
            return;
        m_dataVersion = version;
        QSet<int> changed;
        for (const QVariantList& r : Rows(QStringLiteral("SELECT kind, counter FROM ew_change"))) {
            const int kind = r[0].toInt();
            const qint64 counter = r[1].toLongLong();
            if (m_seenCounters.value(kind, 0) != counter)
                changed.insert(kind);
            m_seenCounters.insert(kind, counter);
        }
        NotifyChanged(changed);
    } catch (...) {
        // Checked again on the next tick.
    }
}

void TSqlConnection::ReadChangeCounters() {
    m_seenCounters.clear();
    for (const QVariantList& r : Rows(QStringLiteral("SELECT kind, counter FROM ew_change")))
        m_seenCounters.insert(r[0].toInt(), r[1].toLongLong());
}

bool TSqlConnection::TimerMayRun() const {
    if (!m_open || m_txnOpen || m_doomed > 0 || m_reconnecting)
        return false;
    return !m_broken || !m_lastAttempt.isValid() || m_lastAttempt.elapsed() >= m_retryPauseMs;
}

qint64 TSqlConnection::Now() {
    if (m_clock)
        return m_clock();
    return Scalar(m_dialect->Now(), {}, 0).toLongLong();
}

void TSqlConnection::CheckSession() {
    if (m_session == 0)
        return;
    if (!m_lost && Scalar(QStringLiteral("SELECT ") + SessionColumn(), {m_session}, 0).toInt() > 0)
        return;
    SessionGone();
}

void TSqlConnection::SessionRead(bool Present) {
    if (!m_sessionUnread)
        return;
    m_sessionUnread = false;
    if (m_session != 0 && !Present)
        SessionGone();
}

void TSqlConnection::SessionGone() {
    m_lost = true;
    try {
        Exec(m_dialect->Rollback());
    } catch (...) {
    }
    TransactionEnded();
    m_userTxn = false;
    Fail(SqlErrors::ecSessionLost);
}

QString TSqlConnection::CounterRaise(const QSet<int>& Kinds) {
    QList<int> kinds;
    for (int kind : Kinds)
        if (kind >= kFirstKind && kind <= kLastKind)
            kinds.append(kind);
    if (kinds.isEmpty())
        return {};
    std::sort(kinds.begin(), kinds.end());
    QStringList numbers;
    for (int kind : kinds)
        numbers.append(QString::number(kind));
    return QStringLiteral("UPDATE ew_change SET counter = counter + 1 WHERE kind IN (%1)")
        .arg(numbers.join(QStringLiteral(", ")));
}

void TSqlConnection::OwnChangesCommitted(const QHash<int, int>& Bumps) {
    for (auto it = Bumps.begin(); it != Bumps.end(); ++it)
        m_seenCounters[it.key()] += it.value();
}

void TSqlConnection::Close() {
    if (!m_open)
        return;
    m_heartbeat.reset();
    m_watch.reset();
    // A lost server connection is not opened again only to be closed: the session row left
    // behind is purged by the next connection as dead (the server holds its lock no more).
    if (!m_broken) {
        if (m_userTxn)
            RollbackUserTransaction();
        try {
            if (!m_lost) // a purged session has nothing left to remove
                SqlSession::Unregister(*this);
        } catch (...) {
            // A session row left behind is purged by the next connection as dead.
        }
    }
    m_open = false;
    ReleaseConnection();
}

void TSqlConnection::ReleaseConnection() {
    ReleaseDriver();
    TransactionEnded();
    m_userTxn = false;
    m_broken = false;
    m_reloadAll = false;
}

void TSqlConnection::ReleaseDriver() {
    // A lost connection is closed before its statements, which are then freed by the client
    // alone instead of each failing to reach the server.
    if (m_broken && m_db.isValid())
        m_db.close();
    qDeleteAll(m_cache);
    m_cache.clear();
    m_text.reset();
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void TSqlConnection::ConnectionLost() {
    m_broken = true;
    if (m_txnOpen) {
        // The server rolled the transaction back; the scopes still open on it fail from here on.
        ++m_epoch;
        m_doomed = m_scopes;
        TransactionEnded();
        m_userTxn = false;
        m_pending.clear();
        m_txnBumps.clear();
        m_txnKinds.clear();
    }
    ReleaseDriver();
}

void TSqlConnection::Reconnect() {
    m_lastAttempt.start();
    m_reconnecting = true;
    try {
        ReleaseDriver();
        m_db = QSqlDatabase::addDatabase(m_dialect->DriverName(), m_name);
        m_dialect->Configure(m_db, m_target);
        if (!m_db.open())
            Failed(m_db.lastError(), SqlErrors::ecMySqlLost);
        m_broken = false;
        RunSetup(m_target);
    } catch (const TSqlFailure& f) {
        m_reconnecting = false;
        m_broken = true;
        m_retryPauseMs = m_lastAttempt.elapsed() >= kSlowAttemptMs ? kTimerRetryMs : 0;
        m_lastAttempt.start();
        ReleaseDriver();
        const int code = f.Code();
        const bool specific = code == SqlErrors::ecBadLogin || code == SqlErrors::ecNotFound;
        throw TSqlFailure(specific ? code : SqlErrors::ecMySqlLost, f.Native(), m_id);
    }
    m_reconnecting = false;
    m_reloadAll = true;
    // Outside the reconnecting state: renewing writes in a transaction of its own.
    if (m_session != 0 && !m_lost && !SqlSession::Reclaim(*this))
        SqlSession::Renew(*this);
}

QSqlQuery& TSqlConnection::Prepared(const QString& Sql, int FallbackCode) {
    Require();
    auto it = m_cache.find(Sql);
    if (it != m_cache.end())
        return **it;
    auto* q = new QSqlQuery(m_db);
    q->setForwardOnly(true);
    if (!q->prepare(Sql)) {
        const QSqlError err = q->lastError();
        delete q;
        Failed(err, FallbackCode);
    }
    return **m_cache.insert(Sql, q);
}

// Every cached statement belongs to the connection: a lost one takes them all with it, so
// nothing may touch the failed statement after this.
void TSqlConnection::Failed(const QSqlError& Error, int FallbackCode) {
    const int code = m_dialect->ErrorCode(Error, FallbackCode);
    const bool lost = code == SqlErrors::ecMySqlLost || code == SqlErrors::ecMySqlNoServer;
    const QString native = Error.text();
    if (lost && m_wasOpen && m_open) {
        ConnectionLost();
        throw TSqlFailure(SqlErrors::ecMySqlLost, native, m_id);
    }
    throw TSqlFailure(code, native, m_id);
}

template <class F> void TSqlConnection::Statement(const QString& Sql, F&& Body) {
    if (m_doomed > 0) // the rest of a transaction that the server has rolled back
        Fail(SqlErrors::ecMySqlLost, QStringLiteral("transakcja wycofana po zerwaniu połączenia"));
    bool reconnected = false;
    if (m_broken && !m_reconnecting) {
        Reconnect();
        reconnected = true;
    }
    const bool outsideTransaction = !reconnected && !m_txnOpen && !m_reconnecting;
    try {
        Body();
    } catch (const TSqlFailure&) {
        if (!outsideTransaction || !m_broken || !Replayable(Sql))
            throw;
        Reconnect();
        Body();
    }
}

QSqlQuery& TSqlConnection::TextQuery() {
    Require();
    if (!m_text) {
        m_text = std::make_unique<QSqlQuery>(m_db);
        m_text->setForwardOnly(true);
    }
    return *m_text;
}

QSqlQuery& TSqlConnection::Run(const QString& Sql, const QVariantList& Binds, int FallbackCode) {
    if (m_dialect->ValuesAsText())
        if (const QString text = SqlText::WithValues(Sql, Binds); !text.isEmpty()) {
            QSqlQuery& q = TextQuery();
            if (!q.exec(text))
                Failed(q.lastError(), FallbackCode);
            return q;
        }
    QSqlQuery& q = Prepared(Sql, FallbackCode);
    Bind(q, Binds);
    if (!q.exec())
        Failed(q.lastError(), FallbackCode);
    return q;
}

// The server runs the statements in turn and stops at the first that fails, whose error
// each result is checked for.
void TSqlConnection::Script(const QStringList& Statements, int FallbackCode) {
    Statement(Statements.front(), [&] {
        QSqlQuery& q = TextQuery();
        if (!q.exec(Statements.join(QStringLiteral("; "))))
            Failed(q.lastError(), FallbackCode);
        for (qsizetype i = 1; i < Statements.size(); ++i)
            if (!q.nextResult())
                Failed(q.lastError(), FallbackCode);
        q.finish();
    });
}

void TSqlConnection::ExecAll(const QList<std::pair<QString, QVariantList>>& Statements) {
    if (m_dialect->ValuesAsText() && Statements.size() > 1) {
        QStringList texts;
        for (const auto& [sql, binds] : Statements)
            if (const QString text = SqlText::WithValues(sql, binds); !text.isEmpty())
                texts.append(text);
        if (texts.size() == Statements.size()) {
            Script(texts, SqlErrors::ecQuery);
            return;
        }
    }
    for (const auto& [sql, binds] : Statements)
        Exec(sql, binds);
}

void TSqlConnection::Exec(const QString& Sql, const QVariantList& Binds, int FallbackCode) {
    Statement(Sql, [&] { Run(Sql, Binds, FallbackCode).finish(); });
}

QList<QVariantList> TSqlConnection::Rows(const QString& Sql, const QVariantList& Binds, int FallbackCode) {
    QList<QVariantList> rows;
    Statement(Sql, [&] {
        rows.clear();
        QSqlQuery& q = Run(Sql, Binds, FallbackCode);
        const int columns = q.record().count();
        while (q.next()) {
            QVariantList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c)
                row.append(q.value(c));
            rows.append(std::move(row));
        }
        if (q.lastError().isValid())
            Failed(q.lastError(), FallbackCode);
        q.finish();
    });
    return rows;
}

QVariant TSqlConnection::Scalar(const QString& Sql, const QVariantList& Binds, const QVariant& Default) {
    const QList<QVariantList> rows = Rows(Sql, Binds);
    if (rows.isEmpty() || rows.front().isEmpty() || rows.front().front().isNull())
        return Default;
    return rows.front().front();
}

qint64 TSqlConnection::Insert(const QString& Sql, const QVariantList& Binds, int FallbackCode) {
    qint64 id = 0;
    Statement(Sql, [&] {
        QSqlQuery& q = Run(Sql, Binds, FallbackCode);
        id = q.lastInsertId().toLongLong();
        q.finish();
    });
    return id;
}

// Only the execution runs again after a lost connection: rows already handed out are not
// handed out twice.
void TSqlConnection::EachRow(const QString& Sql, const QVariantList& Binds,
                             const std::function<void(const QSqlQuery&)>& Row) {
    QSqlQuery* q = nullptr;
    Statement(Sql, [&] {
        q = &Prepared(Sql, SqlErrors::ecQuery);
        Bind(*q, Binds);
        if (!q->exec())
            Failed(q->lastError(), SqlErrors::ecQuery);
    });
    while (q->next())
        Row(*q);
    if (q->lastError().isValid())
        Failed(q->lastError(), SqlErrors::ecQuery);
    q->finish();
}

int TSqlConnection::BeginScope(bool SessionReadByCaller) {
    Require();
    if (m_lost)
        Fail(SqlErrors::ecSessionLost);
    const int level = m_depth;
    if (level == 0) {
        BeginWrite();
        if (SessionReadByCaller)
            m_sessionUnread = true;
        else
            CheckSession();
    } else
        Exec(m_dialect->Savepoint(QStringLiteral("ew_sp%1").arg(level)), {}, SqlErrors::ecStartTransaction);
    ++m_depth;
    return level;
}

void TSqlConnection::EndScope(int Level, bool Commit, const QString& Before) {
    m_depth = Level;
    const QString sp = QStringLiteral("ew_sp%1").arg(Level);
    if (Level == 0) {
        struct TEnded {
            TSqlConnection& c;
            ~TEnded() { c.TransactionEnded(); }
        } ended{*this};
        if (!Commit) {
            Exec(m_dialect->Rollback(), {}, SqlErrors::ecCommit);
            return;
        }
        try {
            if (Before.isEmpty())
                Exec(m_dialect->Commit(), {}, SqlErrors::ecCommit);
            else if (m_dialect->ValuesAsText())
                Script({Before, m_dialect->Commit()}, SqlErrors::ecCommit);
            else {
                Exec(Before);
                Exec(m_dialect->Commit(), {}, SqlErrors::ecCommit);
            }
        } catch (...) {
            try {
                Exec(m_dialect->Rollback());
            } catch (...) {
            }
            throw;
        }
        return;
    }
    if (Commit) {
        Exec(m_dialect->Release(sp), {}, SqlErrors::ecCommit);
        return;
    }
    Exec(m_dialect->RollbackTo(sp), {}, SqlErrors::ecCommit);
    Exec(m_dialect->Release(sp), {}, SqlErrors::ecCommit);
    if (Level == 1 && m_userTxn)
        RollbackUserTransaction();
}

void TSqlConnection::StartUserTransaction() {
    Require();
    if (m_lost)
        Fail(SqlErrors::ecSessionLost);
    if (m_userTxn || m_depth != 0)
        Fail(SqlErrors::ecStartTransaction);
    BeginWrite();
    CheckSession();
    m_userTxn = true;
    m_depth = 1;
    m_txnKinds.clear();
    m_txnBumps.clear();
}

void TSqlConnection::CommitUserTransaction() {
    Require();
    if (!m_userTxn)
        Fail(SqlErrors::ecCommit);
    try {
        Exec(m_dialect->Commit(), {}, SqlErrors::ecCommit);
    } catch (...) {
        RollbackUserTransaction();
        throw;
    }
    m_userTxn = false;
    TransactionEnded();
    m_txnKinds.clear();
    OwnChangesCommitted(std::exchange(m_txnBumps, {}));
}

void TSqlConnection::RollbackUserTransaction() {
    try {
        if (!m_broken) // a lost connection took the transaction with it
            Exec(m_dialect->Rollback());
    } catch (...) {
        // The engine has already ended the transaction.
    }
    m_userTxn = false;
    TransactionEnded();
    m_pending.clear();
    m_txnBumps.clear();
    const QSet<int> kinds = std::exchange(m_txnKinds, {});
    if (!kinds.isEmpty())
        NotifyChanged(kinds);
}

void TSqlConnection::NotifyChanged(const QSet<int>& Kinds) {
    if (Kinds.isEmpty())
        return;
    if (m_userTxn)
        m_txnKinds.unite(Kinds);
    const QList<TChangeListener*> listeners(m_listeners.begin(), m_listeners.end());
    for (TChangeListener* l : listeners) {
        if (!m_listeners.contains(l)) // released by an earlier handler
            continue;
        TIntfPtr<IInterface> keep(l->ListenerObject());
        l->DataChanged(Kinds);
    }
}

TWriteScope::TWriteScope(TSqlConnection& C) : m_c(C) {
    m_level = m_c.BeginScope(false);
    m_epoch = m_c.m_epoch;
    ++m_c.m_scopes;
}

TWriteScope::TWriteScope(TSqlConnection& C, TSessionReadByCaller) : m_c(C) {
    m_level = m_c.BeginScope(true);
    m_epoch = m_c.m_epoch;
    ++m_c.m_scopes;
}

TWriteScope::~TWriteScope() {
    --m_c.m_scopes;
    if (m_epoch != m_c.m_epoch) { // the server rolled the transaction back with the connection
        --m_c.m_doomed;
        return;
    }
    if (m_done)
        return;
    try {
        m_c.EndScope(m_level, false);
    } catch (...) {
    }
    if (m_level == 0 || (m_level == 1 && !m_c.m_userTxn))
        m_c.m_pending.clear();
}

void TWriteScope::Commit() {
    if (m_epoch != m_c.m_epoch) {
        m_done = true;
        Fail(SqlErrors::ecMySqlLost, QStringLiteral("transakcja wycofana po zerwaniu połączenia"));
    }
    if (m_level == 0 && m_c.m_sessionUnread) {
        m_c.m_sessionUnread = false;
        m_c.CheckSession();
    }
    const bool announce = m_level == 0 || (m_level == 1 && m_c.m_userTxn);
    if (!announce) {
        m_done = true;
        m_c.EndScope(m_level, true);
        m_c.m_pending.unite(m_kinds);
        return;
    }
    QSet<int> kinds = m_kinds;
    kinds.unite(m_c.m_pending);
    // Inside the transaction, undone with it; with the commit itself where that is one statement.
    const QString raise = m_c.CounterRaise(kinds);
    if (m_level > 0 && !raise.isEmpty())
        m_c.Exec(raise);
    m_done = true;
    m_c.EndScope(m_level, true, m_level == 0 ? raise : QString());
    m_c.m_pending.clear();
    QHash<int, int> bumps;
    for (int kind : kinds)
        bumps[kind] += 1;
    if (m_level == 0)
        m_c.OwnChangesCommitted(bumps);
    else
        for (auto it = bumps.begin(); it != bumps.end(); ++it)
            m_c.m_txnBumps[it.key()] += it.value();
    m_c.NotifyChanged(kinds);
}
