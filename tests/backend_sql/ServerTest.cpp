// What only the server dialect has: its parameter keys, the password that is never
// stored, the option file, and a connection that the server drops or a server restarted
// under an open program.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "TestServer.h"
#include "TestSupport.h"
#include "uEwidarQuorDBSymbole.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <thread>

namespace {

class ServerTest : public BackendTest {
protected:
    void SetUp() override {
        if (!ServerDialect())
            GTEST_SKIP() << "the server dialect only";
        BackendTest::SetUp();
    }
    // Ends every connection to the test database, as a restart would, and waits until the
    // server has let go of them (their named locks included).
    void KillConnections() {
        const QString list =
            QStringLiteral("SELECT GROUP_CONCAT(id) FROM information_schema.processlist WHERE db = '") +
            m_path + u'\'';
        for (const QString& id : RawScalar(m_path, list).toString().split(u',', Qt::SkipEmptyParts))
            RawScalar(m_path, QStringLiteral("KILL ") + id);
        QElapsedTimer t;
        t.start();
        while (!RawScalar(m_path, list + QStringLiteral(" AND id <> CONNECTION_ID()")).toString().isEmpty() &&
               t.elapsed() < 5000)
            QThread::msleep(20);
    }
    // From another thread: kills the connection that waits for a row lock, one newer than
    // After (the server's list of transactions is a snapshot that may still show a connection
    // killed before); its id.
    qint64 KillTheWaitingConnection(qint64 After) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 10000) {
            const QVariant id =
                RawScalar(m_path, QStringLiteral("SELECT max(trx_mysql_thread_id) FROM "
                                                 "information_schema.innodb_trx WHERE "
                                                 "trx_state = 'LOCK WAIT' AND trx_mysql_thread_id > %1")
                                      .arg(After));
            if (id.isValid() && !id.isNull()) {
                RawScalar(m_path, QStringLiteral("KILL ") + id.toString());
                return id.toLongLong();
            }
            QThread::msleep(150); // the server refreshes that list only when it was not read for 100 ms
        }
        return After;
    }
    // Stored records whose first line contains Text (all of them for an empty one).
    int Count(const QString& Text) {
        return RawScalar(m_path,
                         QStringLiteral("SELECT count(*) FROM ew_record WHERE state = 0 AND line1 LIKE '%") +
                             Text + QStringLiteral("%'"))
            .toInt();
    }
    // A root object whose statements wait long for row locks: until the test kills it.
    TIntfPtr<IEwidarDataBase> WaitingRoot() {
        auto db = NewRoot();
        std::u16string param = U(DialectParam(m_path) + QStringLiteral("TIMEOUT=20000;"));
        return db->Connect(param, true) ? db : nullptr;
    }
    static void Pump(int Ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < Ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // Connects a new root object; the code (0 on success) and the parameter written back.
    std::pair<int, QString> Try(const QString& Param) {
        auto db = NewRoot();
        std::u16string p = U(Param);
        const bool ok = db->Connect(p, true);
        const int code = ok ? 0 : db->GetLastErrorCode();
        db->Disconnect();
        return {code, Q(p)};
    }
};

// Another program's connection that ran one statement in a transaction it keeps open.
class THolder {
public:
    THolder(const QString& DataBase, const QString& Sql) : m_name(QUuid::createUuid().toString()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_name);
        db.setDatabaseName(DataBase);
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + TestServer::Socket());
        if (!db.open())
            return;
        QSqlQuery q(db);
        m_holds =
            q.exec(QStringLiteral("START TRANSACTION")) && q.exec(Sql) && q.next() && q.value(0).isValid();
    }
    ~THolder() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    THolder(const THolder&) = delete;
    THolder& operator=(const THolder&) = delete;
    bool Holds() const { return m_holds; }
    bool Alive() const {
        return QSqlQuery(QSqlDatabase::database(m_name, false)).exec(QStringLiteral("SELECT 1"));
    }

private:
    QString m_name;
    bool m_holds = false;
};

} // namespace

TEST_F(ServerTest, ParameterKeysAreCheckedAndAPasswordIsNeverWrittenBack) {
    const QString socket = TestServer::Socket();
    const auto [code, written] =
        Try(QStringLiteral("SOCKET=%1;USER=root;DB=%2;PASSWORD=;Extra=1;").arg(socket, m_path));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(written.contains(QStringLiteral("PASSWORD"), Qt::CaseInsensitive)) << written.toStdString();
    EXPECT_TRUE(written.contains(QStringLiteral("Extra=1;"))) << written.toStdString();
    struct TCase {
        QString param;
        int code;
    };
    const TCase cases[] = {
        {QStringLiteral("SOCKET=%1;USER=root;DB=%2;PORT=abc;").arg(socket, m_path), 13},
        {QStringLiteral("SOCKET=%1;USER=root;PORT=99999;DB=%2;").arg(socket, m_path), 13},
        {QStringLiteral("SOCKET=%1;USER=root;").arg(socket), 14},
        {QStringLiteral("SOCKET=%1;USER=root;DB=no_such_db;").arg(socket), 14},
        {QStringLiteral("SOCKET=%1/none.sock;USER=root;DB=%2;").arg(socket, m_path), 20},
        {QStringLiteral("SOCKET=%1;USER=nobody_here;DB=%2;PASSWORD=x;").arg(socket, m_path), 21},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Try(c.param).first, c.code) << c.param.toStdString();
}

TEST_F(ServerTest, TheOptionFileSuppliesWhatTheParameterLeavesOut) {
    const QString cnf = m_dir + QStringLiteral("/my.cnf");
    ASSERT_TRUE(WriteFile(cnf, QStringLiteral("[mysqld]\nuser=wrong\n[client]\nuser = root\nsocket=\"%1\"\n")
                                   .arg(TestServer::Socket())
                                   .toUtf8()));
    qputenv("EWIDAR_MY_CNF", cnf.toLocal8Bit());
    EXPECT_EQ(Try(QStringLiteral("DB=%1;").arg(m_path)).first, 0);
    // A wrong password in the file is refused with the login code, nothing asked for here.
    ASSERT_TRUE(WriteFile(cnf, QStringLiteral("[client]\nuser=root\npassword=wrong\nsocket=%1\n")
                                   .arg(TestServer::Socket())
                                   .toUtf8()));
    EXPECT_EQ(Try(QStringLiteral("DB=%1;").arg(m_path)).first, 21);
    qunsetenv("EWIDAR_MY_CNF");
}

// A connection killed while idle is opened again by the next operation, reads and writes
// alike, with its session, its record lock and its session lock: a connection the server
// still counts as holding that lock (cut by the network) is ended.
TEST_F(ServerTest, AConnectionKilledByTheServerIsOpenedAgainWithItsSessionAndLocks) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Zerwany"));
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->Lock());
    KillConnections();
    EXPECT_EQ(ListLines(Reg()->GetPodatnicy({}).get()).size(), 1);
    KillConnections();
    THolder stale(m_path,
                  QStringLiteral("SELECT GET_LOCK(CONCAT('ew_session:', (SELECT max(id) FROM ew_session), "
                                 "'@', LEFT(MD5(DATABASE()), 20)), 0)"));
    ASSERT_TRUE(stale.Holds());
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Po zerwaniu"));
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_FALSE(stale.Alive());
    EXPECT_EQ(Count(QStringLiteral("Po zerwaniu")), 1);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE state = 0")).toInt(),
              Count(QString()));
    EXPECT_EQ(Count(QString()), 1);
    TChildProcess child({QStringLiteral("lock"), m_path, QString::number(p->GetID())});
    EXPECT_EQ(child.ReadLine(), QStringLiteral("LOCK 0 105"));
    EXPECT_TRUE(child.Finish());
}

// Killed while waiting inside a post, alone or in the root object's transaction: code 22,
// nothing of that transaction stored, and the next transaction starts and commits.
TEST_F(ServerTest, AConnectionKilledInsideATransactionFailsWith22AndStoresNothingOfIt) {
    auto db = WaitingRoot();
    ASSERT_TRUE(db);
    auto p = NewPodatnik(db.get(), QStringLiteral("Jan"), QStringLiteral("Czekający"));
    ASSERT_TRUE(p);
    qint64 killed = 0;
    for (const bool user : {false, true}) {
        SCOPED_TRACE(user ? "the root object's transaction" : "a post of its own");
        // Another connection holds the record's row, so the post waits inside its transaction.
        THolder row(m_path,
                    QStringLiteral("SELECT id FROM ew_record WHERE id = %1 FOR UPDATE").arg(p->GetID()));
        ASSERT_TRUE(row.Holds());
        if (user) {
            ASSERT_TRUE(db->StartTransaction());
            NewPodatnik(db.get(), QStringLiteral("Anna"), QStringLiteral("Wcześniejsza"));
        }
        std::thread killer([&] { killed = KillTheWaitingConnection(killed); });
        SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zabity"));
        EXPECT_FALSE(p->Post());
        killer.join();
        EXPECT_EQ(p->GetLastErrorCode(), 22);
        if (user) {
            EXPECT_FALSE(db->Commit());
        }
    }
    EXPECT_EQ(Count(QStringLiteral("Zabity")), 0);
    EXPECT_EQ(Count(QStringLiteral("Wcześniejsza")), 0);
    ASSERT_TRUE(db->StartTransaction()) << db->GetLastErrorCode();
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Po zerwaniu"));
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_TRUE(db->Commit()) << db->GetLastErrorCode();
    EXPECT_EQ(Count(QStringLiteral("Po zerwaniu")), 1);
    db->Disconnect();
}

// Killed while purging a dead desk's session, after the placeholder it resolved in a
// savepoint failed and was passed over: the rest of the purge must not go on outside the
// lost transaction, so the dead session stays whole until the next operation purges it.
TEST_F(ServerTest, AConnectionKilledWhilePurgingADeadDeskLeavesThatSessionWhole) {
    auto db = WaitingRoot();
    ASSERT_TRUE(db);
    auto p = NewPodatnik(db.get(), QStringLiteral("Jan"), QStringLiteral("Zablokowany"));
    ASSERT_TRUE(p);
    TChildProcess child({QStringLiteral("script"), m_path});
    ASSERT_EQ(child.Ask(QStringLiteral("lock %1").arg(p->GetID())), QStringLiteral("LOCK 1 0"));
    const QStringList made = child.Ask(QStringLiteral("new-with-address")).split(u' ');
    ASSERT_EQ(made.value(0), QStringLiteral("NEW"));
    const QString childLock = QStringLiteral("SELECT IS_USED_LOCK(CONCAT('ew_session:', (SELECT max(id) FROM "
                                             "ew_session), '@', LEFT(MD5(DATABASE()), 20)))");
    child.KillHard();
    QElapsedTimer t;
    t.start();
    while (!RawScalar(m_path, childLock).isNull() && t.elapsed() < 5000)
        QThread::msleep(20);
    const QString sessions = QStringLiteral("SELECT count(*) FROM ew_session");
    const QString placeholders = QStringLiteral("SELECT count(*) FROM ew_record WHERE state = 1");
    const int before = RawScalar(m_path, sessions).toInt(); // the fixture's, this test's, the dead desk's
    ASSERT_EQ(before, 3);
    ASSERT_EQ(RawScalar(m_path, placeholders).toInt(), 1);
    {
        THolder row(m_path,
                    QStringLiteral("SELECT id FROM ew_record WHERE id = %1 FOR UPDATE").arg(made.value(1)));
        ASSERT_TRUE(row.Holds());
        std::thread killer([&] { KillTheWaitingConnection(0); });
        EXPECT_FALSE(p->Lock());
        killer.join();
        EXPECT_EQ(p->GetLastErrorCode(), 22);
    }
    EXPECT_EQ(RawScalar(m_path, sessions).toInt(), before);
    EXPECT_EQ(RawScalar(m_path, placeholders).toInt(), 1);
    EXPECT_TRUE(p->Lock()) << p->GetLastErrorCode();
    EXPECT_EQ(RawScalar(m_path, sessions).toInt(), before - 1);
    EXPECT_EQ(RawScalar(m_path, placeholders).toInt(), 0); // stored: a posted address depends on it
    db->Disconnect();
}

// The server stopped and started again on the same data: a clear code while it is down,
// quiet timers, then the next operation works with the session and its lock, and a list
// watched by another root object reloads once.
TEST_F(ServerTest, AServerRestartedUnderAnOpenProgramIsReconnectedWithItsSessionAndLock) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Restartowany"));
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->Lock());
    auto watcher = NewRoot();
    std::u16string param = U(DialectParam(m_path) + QStringLiteral("WATCH=50;HEARTBEAT=1000;"));
    ASSERT_TRUE(watcher->Connect(param, true));
    auto list = watcher->GetRegistries()->GetPodatnicy({});
    int reloads = 0;
    list->SetOnChange([&](IInterface*) { ++reloads; });
    ASSERT_EQ(list->GetCount(), 1);

    TestServer::Stop();
    Pump(1200); // the watch and a heartbeat tick against a server that is down
    EXPECT_EQ(reloads, 0);
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("W przerwie"));
    EXPECT_FALSE(p->Post());
    const int code = p->GetLastErrorCode();
    EXPECT_TRUE(code == 20 || code == 22) << code;
    std::u16string text, link;
    ASSERT_TRUE(Backend().GetLastError(code, m_db->GetDataBaseID(), text, link));
    EXPECT_TRUE(Q(text).contains(QStringLiteral("z serwerem MySQL"))) << Q(text).toStdString();
    EXPECT_TRUE(Q(text).contains(QStringLiteral("Szczegóły: "))) << Q(text).toStdString();
    ASSERT_TRUE(TestServer::Resume());

    QElapsedTimer t;
    t.start();
    while (reloads == 0 && t.elapsed() < 10000)
        Pump(20);
    EXPECT_EQ(reloads, 1);
    Pump(300);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(list->GetCount(), 1);
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Po restarcie"));
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_EQ(Count(QStringLiteral("Po restarcie")), 1);
    EXPECT_EQ(Count(QStringLiteral("W przerwie")), 0);
    auto theirs = Supports<IEwidarListCollection>(watcher->GetRegistries()->GetPodatnicy({}))->GetItem(0);
    ASSERT_TRUE(theirs);
    EXPECT_FALSE(theirs->Lock());
    EXPECT_EQ(theirs->GetLastErrorCode(), 105);
    watcher->Disconnect();
}

// While this desk's connection was gone another desk found its session dead and purged it:
// the desk reconnects for reading, but its writes fail with 1009 and its lock is gone.
// Another desk met this session without its connection (as after a server restart) and
// purged it: the reconnected desk goes on under a new session. The record it had locked is
// free; another desk's lock on it and its row version still guard it.
TEST_F(ServerTest, ASessionPurgedWhileItsConnectionWasLostGoesOnUnderANewSession) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Porzucony"));
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->Lock());
    KillConnections();
    auto other = Open(); // its opening purges the sessions whose server lock is free
    ASSERT_TRUE(other);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_lock")).toInt(), 0);
    auto theirs = Supports<IEwidarListCollection>(other->GetRegistries()->GetPodatnicy({}))->GetItem(0);
    ASSERT_TRUE(theirs);
    EXPECT_TRUE(theirs->Lock()) << theirs->GetLastErrorCode();
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Po usunięciu"));
    EXPECT_FALSE(p->Post());
    EXPECT_EQ(p->GetLastErrorCode(), 105);
    EXPECT_EQ(Count(QStringLiteral("Po usunięciu")), 0);
    // New records go in at once, under a session the other desk sees alive.
    EXPECT_TRUE(NewPodatnik(m_db.get(), QStringLiteral("Ewa"), QStringLiteral("Nowa")));
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_session")).toInt(), 2);
    // Once the other desk lets go, the edit made before is stored.
    EXPECT_TRUE(theirs->Unlock());
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_EQ(Count(QStringLiteral("Po usunięciu")), 1);
    theirs = nullptr;
    other->Disconnect();
    // The other desk's opening now meets this session alive.
    auto third = Open();
    ASSERT_TRUE(third);
    EXPECT_TRUE(NewPodatnik(m_db.get(), QStringLiteral("Olga"), QStringLiteral("Dalsza")));
    third->Disconnect();
}

// The server's dialog: its fields start from the parameter, "Test połączenia" opens a bare
// connection and says whether it works, OK writes the keys back without a password.
TEST_F(ServerTest, TheDialogTestsTheConnectionAndWritesNoPassword) {
    QWidget owner;
    QString title, before, after, typedDb;
    TestSupport::WhenModal([&](QWidget* w) {
        title = w->windowTitle();
        auto* db = w->findChild<QLineEdit*>(QStringLiteral("edtDB"));
        auto* result = w->findChild<QLabel*>(QStringLiteral("lblError"));
        auto* test = w->findChild<QPushButton*>(QStringLiteral("btnTest"));
        ASSERT_TRUE(db && result && test);
        typedDb = db->text();
        db->setText(QStringLiteral("no_such_db"));
        test->click();
        before = result->text();
        db->setText(m_path);
        test->click();
        after = result->text();
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    std::u16string param = U(Param(m_path) + QStringLiteral("PASSWORD=tajne;"));
    ASSERT_TRUE(m_db->EditConnectionParams(&owner, param, true)) << m_db->GetLastErrorCode();
    EXPECT_EQ(title, QStringLiteral("Parametry bazy danych MySQL / MariaDB"));
    EXPECT_EQ(typedDb, m_path);
    EXPECT_TRUE(before.startsWith(QStringLiteral("Nie można się połączyć"))) << before.toStdString();
    EXPECT_EQ(after, QStringLiteral("Połączenie działa."));
    EXPECT_FALSE(Q(param).contains(QStringLiteral("tajne"))) << Q(param).toStdString();
    auto db = NewRoot();
    EXPECT_TRUE(db->Connect(param, true)) << db->GetLastErrorCode();
    db->Disconnect();
}

// Another connection holding the writer row past the wait: the post fails with 23, its
// transaction rolled back whole, and succeeds once the row is free.
TEST_F(ServerTest, AWriteThatWaitsTooLongFailsWithCode23AndWritesNothing) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Czekający"));
    ASSERT_TRUE(p);
    const QString name = QStringLiteral("ServerTest-holder");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setDatabaseName(m_path);
        db.setUserName(QStringLiteral("root"));
        db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + TestServer::Socket());
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("START TRANSACTION")));
        ASSERT_TRUE(
            q.exec(QStringLiteral("SELECT value FROM ew_meta WHERE name = 'application' FOR UPDATE")));
        SetValue(p.get(), QStringLiteral("cDanePodmiotuNazwisko"), QStringLiteral("Za długo"));
        EXPECT_FALSE(p->Post());
        EXPECT_EQ(p->GetLastErrorCode(), 23);
        q.exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE line1 LIKE '%Za długo%'"))
            .toInt(),
        0);
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE line1 LIKE '%Za długo%'"))
            .toInt(),
        1);
}
