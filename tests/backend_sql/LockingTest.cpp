// Record locks across connections and processes, locks and placeholders left by
// processes that died, and placeholders of processes that still run.

#include "BackendFixture.h"
#include "ChildProcess.h"
#include "uEwidarQuorDBSymbole.h"

#include <QDateTime>
#include <QSysInfo>

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
    EXPECT_TRUE(p->Lock()) << p->GetLastErrorCode();
}

TEST_F(LockingTest, LockOfAnotherMachineExpiresWithItsHeartbeat) {
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
