// Record locks across connections and processes, locks and placeholders left by
// processes that died, and placeholders of processes that still run.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "TestServer.h"
#include "uEwidarQuorDBSymbole.h"

#include <QDateTime>
#include <QSysInfo>

#include <chrono>
#include <thread>

using LockingTest = BackendTest;

namespace {

TIntfPtr<IEwidarRecord> FirstTaxpayer(IEwidarDataBase* Db) {
    return Supports<IEwidarListCollection>(Db->GetRegistries()->GetPodatnicy({}))->GetItem(0);
}

} // namespace

TEST_F(LockingTest, SecondConnectionCannotLockOrChangeALockedRecord) {
    auto mine = NewPodatnik(m_db.get(), QStringLiteral("Zenon"), QStringLiteral("Zamknięty"));
    auto db2 = Open();
    auto theirs = FirstTaxpayer(db2.get());
    ASSERT_TRUE(mine->Lock());
    EXPECT_TRUE(mine->Lock()); // again in the same connection
    EXPECT_FALSE(theirs->Lock());
    EXPECT_EQ(theirs->GetLastErrorCode(), 105);
    SetValue(theirs.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Obcy"));
    EXPECT_FALSE(theirs->Post());
    EXPECT_EQ(theirs->GetLastErrorCode(), 105);
    EXPECT_FALSE(theirs->Delete());
    EXPECT_EQ(theirs->GetLastErrorCode(), 105);
    EXPECT_TRUE(theirs->Unlock()); // releases nothing of the other connection
    EXPECT_FALSE(theirs->Lock());
    ASSERT_TRUE(mine->Unlock());
    EXPECT_TRUE(theirs->Lock());
    EXPECT_FALSE(mine->Lock());
    EXPECT_EQ(mine->GetLastErrorCode(), 105);
    // Closing a connection releases its locks.
    db2->Disconnect();
    EXPECT_TRUE(mine->Lock());
}

TEST_F(LockingTest, SecondProcessGetsCode105AndALockOfADeadProcessIsTakenOver) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Wspólny"), QStringLiteral("Rekord"));
    const QString id = QString::number(p->GetID());
    ASSERT_TRUE(p->Lock());
    {
        TChildProcess child({QStringLiteral("lock"), m_path, id});
        EXPECT_EQ(child.ReadLine(), QStringLiteral("LOCK 0 105"));
        EXPECT_TRUE(child.Finish());
    }
    ASSERT_TRUE(p->Unlock());
    TChildProcess holder({QStringLiteral("lock"), m_path, id});
    ASSERT_EQ(holder.ReadLine(), QStringLiteral("LOCK 1 0"));
    EXPECT_FALSE(p->Lock());
    EXPECT_EQ(p->GetLastErrorCode(), 105);
    holder.KillHard();
    // A server learns of the dead connection a moment after the kill.
    bool taken = p->Lock();
    for (int i = 0; i < 50 && !taken; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        taken = p->Lock();
    }
    EXPECT_TRUE(taken) << p->GetLastErrorCode();
}

TEST_F(LockingTest, LockOfAnotherMachineExpiresWithItsHeartbeat) {
    // A server judges a session by its connection alone: heartbeats and clocks play no part.
    FILE_DATABASE_ONLY();
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Zdalny"), QStringLiteral("Zamek"));
    auto plant = [&](qint64 heartbeat) {
        RawScalar(m_path, QStringLiteral("DELETE FROM ew_lock"));
        RawScalar(m_path,
                  QStringLiteral("INSERT INTO ew_session (id, host, boot_id, pid, start_ticks, heartbeat, "
                                 "opened_at) VALUES (9999, 'inny-komputer', 'x', 1, '1', %1, 0)")
                      .arg(heartbeat));
        RawScalar(m_path, QStringLiteral(
                              "INSERT INTO ew_lock (record_id, session_id, locked_at) VALUES (%1, 9999, 0)")
                              .arg(p->GetID()));
    };
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    plant(now);
    EXPECT_FALSE(p->Lock());
    EXPECT_EQ(p->GetLastErrorCode(), 105);
    RawScalar(m_path, QStringLiteral("DELETE FROM ew_session WHERE id = 9999"));
    plant(now - 3600);
    EXPECT_TRUE(p->Lock()) << p->GetLastErrorCode();
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_session WHERE id = 9999")).toInt(),
              0);
}

TEST_F(LockingTest, PlaceholdersOfARunningProcessStayAndThoseOfADeadOneGo) {
    const QString placeholders = QStringLiteral("SELECT count(*) FROM ew_record WHERE state = 1");
    TChildProcess child({QStringLiteral("placeholder"), m_path});
    const QString line = child.ReadLine();
    ASSERT_TRUE(line.startsWith(QStringLiteral("PLACEHOLDER "))) << line.toStdString();
    EXPECT_NE(line, QStringLiteral("PLACEHOLDER 0"));
    auto other = Open(); // connecting cleans up what dead processes left
    EXPECT_EQ(RawScalar(m_path, placeholders).toInt(), 1);
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 0);
    other->Disconnect();
    child.KillHard();
    other = Open();
    EXPECT_EQ(RawScalar(m_path, placeholders).toInt(), 0);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_session")).toInt(), 2);
    other->Disconnect();
}

TEST_F(LockingTest, AChangeByAnotherProcessSinceReadingIsNeverOverwritten) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Ewa"), QStringLiteral("Pierwsza"));
    const QString id = QString::number(p->GetID());
    auto mine = FirstTaxpayer(m_db.get());
    ASSERT_EQ(Value(mine.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Pierwsza")); // read now
    TChildProcess child({QStringLiteral("script"), m_path});
    ASSERT_EQ(child.Ask(QStringLiteral("edit %1 Druga").arg(id)), QStringLiteral("EDIT 1 0"));
    SetValue(mine.get(), cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("Ewelina"));
    EXPECT_FALSE(mine->Post());
    EXPECT_EQ(mine->GetLastErrorCode(), 1008);
    const QString value = QStringLiteral("SELECT value FROM ew_value WHERE record_id = %1 AND symbol = '%2'");
    EXPECT_EQ(RawScalar(m_path, value.arg(id, cDanePodmiotuPierwszeImie.Symbol)).toString(),
              QStringLiteral("Ewa"));
    std::u16string text, link;
    ASSERT_TRUE(Backend().GetLastError(1008, m_db->GetDataBaseID(), text, link));
    EXPECT_TRUE(Q(text).contains(QStringLiteral("zmienione przez innego użytkownika")))
        << Q(text).toStdString();
    // Read again, the record takes the other change and posts on top of it.
    ASSERT_TRUE(mine->Refresh());
    EXPECT_EQ(Value(mine.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Druga"));
    SetValue(mine.get(), cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("Ewelina"));
    ASSERT_TRUE(mine->Post()) << mine->GetLastErrorCode();
    // The first post of the other object of this session is stale now too.
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Stara"));
    EXPECT_FALSE(p->Post());
    EXPECT_EQ(p->GetLastErrorCode(), 1008);
    // While this session holds the lock, the other process can neither post nor delete.
    ASSERT_TRUE(mine->Lock());
    EXPECT_EQ(child.Ask(QStringLiteral("edit %1 Trzecia").arg(id)), QStringLiteral("EDIT 0 105"));
    ASSERT_TRUE(mine->Unlock());
    EXPECT_EQ(child.Ask(QStringLiteral("quit")), QStringLiteral("BYE"));
    EXPECT_TRUE(child.Finish());
    EXPECT_EQ(RawScalar(m_path, value.arg(id, cDanePodmiotuNazwisko.Symbol)).toString(),
              QStringLiteral("Druga"));
    EXPECT_EQ(RawScalar(m_path, value.arg(id, cDanePodmiotuPierwszeImie.Symbol)).toString(),
              QStringLiteral("Ewelina"));
}

TEST_F(LockingTest, APurgedProcessFailsItsNextWriteAndWhatItPostedStays) {
    // A server judges a session by its connection alone: heartbeats and clocks play no part.
    FILE_DATABASE_ONLY();
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Stały"), QStringLiteral("Rekord"));
    TChildProcess child({QStringLiteral("script"), m_path});
    const QStringList created = child.Ask(QStringLiteral("new-with-address")).split(u' ');
    ASSERT_EQ(created.value(0), QStringLiteral("NEW"));
    const QString placeholder = created.value(1), address = created.value(2);
    ASSERT_NE(address, QStringLiteral("0"));
    ASSERT_EQ(child.Ask(QStringLiteral("lock %1").arg(p->GetID())), QStringLiteral("LOCK 1 0"));
    EXPECT_FALSE(p->Lock());
    EXPECT_EQ(p->GetLastErrorCode(), 105);
    // The child's session now looks like one of another machine that stopped its heartbeat.
    RawScalar(m_path,
              QStringLiteral("UPDATE ew_session SET host = 'inny-komputer', heartbeat = heartbeat - 3600 "
                             "WHERE pid = %1")
                  .arg(child.Process().processId()));
    ASSERT_TRUE(p->Lock()) << p->GetLastErrorCode(); // taken over from the dead session
    // Its placeholder owns a posted address: it stays, as a stored record, with the address.
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT state FROM ew_record WHERE id = %1").arg(placeholder))
                  .toInt(),
              0);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE id = %1").arg(address))
                  .toInt(),
              1);
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 2);
    // The child notices at its next write and fails it, writing nothing; it stays failed.
    EXPECT_EQ(child.Ask(QStringLiteral("post-placeholder Spóźniony")), QStringLiteral("POST 0 1009"));
    EXPECT_EQ(child.Ask(QStringLiteral("post-new Nowy")), QStringLiteral("POST 0 1009"));
    EXPECT_EQ(child.Ask(QStringLiteral("unlock %1").arg(p->GetID())), QStringLiteral("UNLOCK 0 1009"));
    EXPECT_EQ(RawScalar(m_path,
                        QStringLiteral("SELECT count(*) FROM ew_value WHERE value IN ('Spóźniony', 'Nowy')"))
                  .toInt(),
              0);
    EXPECT_EQ(child.Ask(QStringLiteral("quit")), QStringLiteral("BYE"));
    EXPECT_TRUE(child.Finish());
    // This session's lock held through all of it.
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Mój"));
    EXPECT_TRUE(p->Post()) << p->GetLastErrorCode();
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE state = 1")).toInt(), 0);
}

// A post refused for one cause or several at once: each gives the code of the first of
// them in the order rights, session, record (or its owner), another desk's lock, version,
// and writes nothing. Each case in a database of its own, another desk (in this process)
// bringing the causes about.
TEST_F(LockingTest, ARefusedPostGivesTheCodeOfItsFirstCauseAndWritesNothing) {
    enum TCause { cLock = 1, cChange = 2, cDelete = 4, cPurge = 8 };
    struct TCase {
        const char* name;
        bool newAddress; // the refused post: a new address of the subject, else the subject
        int32_t rights;  // the group of the posting desk's operator (0: no operators; -1: not logged in)
        int causes;
        int32_t code;
    };
    const TCase cases[] = {
        {"locked by another desk", false, 0, cLock, 105},
        {"changed by another desk", false, 0, cChange, 1008},
        {"deleted by another desk", false, 0, cDelete, 106},
        {"this session purged", false, 0, cPurge, 1009},
        {"view rights only", false, 16, 0, 1013},
        {"nobody logged in", false, -1, 0, 1011},
        {"changed, then locked", false, 0, cChange | cLock, 105},
        {"changed, then deleted", false, 0, cChange | cDelete, 106},
        {"purged and locked", false, 0, cPurge | cLock | cChange, 1009},
        {"view rights, purged and locked", false, 16, cPurge | cLock, 1013},
        {"a new address, change rights only", true, 24, 0, 1014},
        {"a new address of a deleted subject", true, 0, cDelete, 106},
        {"a new address, purged, of a deleted subject", true, 0, cPurge | cDelete, 1009},
    };
    int n = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path =
            ServerDialect() ? TestServer::NewDataBase() : m_dir + QStringLiteral("/post%1.db").arg(++n);
        auto other = Open(path);
        ASSERT_TRUE(other);
        auto theirs =
            NewPodatnik(other.get(), QStringLiteral("Ala"), QStringLiteral("Kot"), QStringLiteral("Kraków"));
        auto desk = Open(path);
        ASSERT_TRUE(desk);
        const qint64 mySession =
            RawScalar(path, QStringLiteral("SELECT max(id) FROM ew_session")).toLongLong();
        // This desk's post, prepared before the other desk acts: the subject's values read.
        auto subject = FirstTaxpayer(desk.get());
        ASSERT_TRUE(subject);
        TIntfPtr<IEwidarRecord> mine = subject;
        if (c.newAddress) {
            mine = Supports<IPodmiot>(subject)->GetAdresy()->New();
            SetValue(mine.get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Mój"));
        } else {
            ASSERT_EQ(Value(subject.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Kot"));
            SetValue(subject.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Mój"));
        }
        if (c.rights != 0) {
            ASSERT_TRUE(AddAdministrator(other.get(), u"admin", u"hasło"));
            auto group = other->GetUsersGroups()->AddGroup();
            group->SetName(u"Biuro");
            group->SetUprawnienia(c.rights > 0 ? c.rights : 31);
            ASSERT_TRUE(group->Post());
            auto user = group->GetUsers()->AddUser();
            user->SetLogin(u"op");
            user->SetPassword(u"hasło");
            ASSERT_TRUE(user->Post());
            if (c.rights > 0) {
                ASSERT_TRUE(desk->Login(u"op", u"hasło"));
            }
        }
        if (c.causes & cChange) {
            SetValue(theirs.get(), cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("Alicja"));
            ASSERT_TRUE(theirs->Post()) << theirs->GetLastErrorCode();
        }
        if (c.causes & cLock) {
            ASSERT_TRUE(theirs->Lock()) << theirs->GetLastErrorCode();
        }
        if (c.causes & cDelete) {
            ASSERT_TRUE(theirs->Delete()) << theirs->GetLastErrorCode();
        }
        if (c.causes & cPurge)
            RawScalar(path, QStringLiteral("DELETE FROM ew_session WHERE id = %1").arg(mySession));
        const QString stored = QStringLiteral("SELECT count(*) FROM ew_value WHERE value = 'Mój'");
        const QString versions = QStringLiteral("SELECT coalesce(sum(version), 0) FROM ew_record");
        const QString entries = QStringLiteral("SELECT count(*) FROM ew_history");
        const qint64 versionsBefore = RawScalar(path, versions).toLongLong();
        const qint64 entriesBefore = RawScalar(path, entries).toLongLong();
        EXPECT_FALSE(mine->Post());
        EXPECT_EQ(mine->GetLastErrorCode(), c.code);
        EXPECT_EQ(RawScalar(path, stored).toInt(), 0);
        EXPECT_EQ(RawScalar(path, versions).toLongLong(), versionsBefore);
        EXPECT_EQ(RawScalar(path, entries).toLongLong(), entriesBefore);
        desk->Disconnect();
        other->Disconnect();
    }
}
