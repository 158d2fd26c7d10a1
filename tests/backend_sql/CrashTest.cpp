// A process killed while it posts many records leaves a sound file that holds
// every record whose post had returned.

#include "BackendFixture.h"
#include "ChildProcess.h"

#include <QElapsedTimer>
#include <QSet>

using CrashTest = BackendTest;

TEST_F(CrashTest, KilledWhilePostingLeavesASoundFileWithEveryCommittedRecord) {
    m_db->Disconnect();
    TChildProcess child({QStringLiteral("post-many"), m_path, QStringLiteral("1000000")});
    QSet<QString> posted;
    QElapsedTimer t;
    t.start();
    while (posted.size() < 150 && t.elapsed() < 60000) {
        const QString line = child.ReadLine();
        ASSERT_TRUE(line.startsWith(QStringLiteral("POSTED "))) << line.toStdString();
        posted.insert(line.mid(7));
    }
    child.KillHard(); // the child is somewhere inside its next post
    // Lines printed before the kill are committed records too.
    while (child.Process().canReadLine()) {
        const QString line = QString::fromUtf8(child.Process().readLine()).trimmed();
        if (line.startsWith(QStringLiteral("POSTED ")))
            posted.insert(line.mid(7));
    }
    ASSERT_GE(posted.size(), 150);
    if (ServerDialect()) {
        // No half-written record: every stored subject has its values, no value lost its record.
        EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_value v LEFT JOIN ew_record r "
                                                   "ON r.id = v.record_id WHERE r.id IS NULL"))
                      .toInt(),
                  0);
        EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record r WHERE state = 0 AND "
                                                   "kind = 21 AND NOT EXISTS (SELECT 1 FROM ew_value v "
                                                   "WHERE v.record_id = r.id)"))
                      .toInt(),
                  0);
    } else {
        EXPECT_EQ(RawScalar(m_path, QStringLiteral("PRAGMA integrity_check")).toString(),
                  QStringLiteral("ok"));
        EXPECT_EQ(RawScalar(m_path, QStringLiteral("PRAGMA foreign_key_check")).toString(), QString());
    }
    const QString ids = QStringList(posted.begin(), posted.end()).join(u',');
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE state = 0 AND kind = 21 AND "
                                         "id IN (%1)")
                              .arg(ids))
            .toInt(),
        posted.size());
    // The backend opens it again, drops the dead process's placeholder and lists every record.
    m_db = Open();
    ASSERT_TRUE(m_db);
    EXPECT_GE(Reg()->GetPodatnicy({})->GetCount(), posted.size());
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record WHERE state = 1")).toInt(), 0);
}
