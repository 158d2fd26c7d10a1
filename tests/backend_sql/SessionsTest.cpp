// Desks that connect at the same moment: every one keeps the session it registered,
// however the others' clean-up of dead sessions interleaves with it.

#include "BackendFixture.h"
#include "ChildProcess.h"

#include <memory>
#include <vector>

using SessionsTest = BackendTest;

TEST_F(SessionsTest, DesksConnectingAtOnceAllKeepTheirSessions) {
    constexpr int kDesks = 8;
    constexpr int kRounds = 8;
    constexpr int kPosts = 3;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::unique_ptr<TChildProcess>> desks;
        for (int i = 0; i < kDesks; ++i)
            desks.push_back(std::make_unique<TChildProcess>(
                QStringList{QStringLiteral("post-many"), m_path, QString::number(kPosts)}));
        for (int i = 0; i < kDesks; ++i)
            for (int p = 0; p < kPosts; ++p) {
                // "CONNECT 1009" or "FAILED 1009": the desk's session was purged as dead.
                const QString line = desks[i]->ReadLine(60000);
                ASSERT_TRUE(line.startsWith(QStringLiteral("POSTED ")))
                    << "round " << round << " desk " << i << ": " << line.toStdString();
            }
    }
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), kDesks * kRounds * kPosts);
}
