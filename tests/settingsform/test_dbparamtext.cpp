// Parameter texts: hidden passwords, the history's entries, the chosen-configuration
// match and the database file of a parameter.

#include "TestSupport.h"
#include "uDBParamText.h"

#include <gtest/gtest.h>

using namespace DBParamText;

namespace {

struct MaskCase {
    const char* Param;
    const char* Shown;
};

class MaskedTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskedTest, EveryPasswordValueIsHidden) {
    EXPECT_EQ(Masked(QString::fromUtf8(GetParam().Param)), QString::fromUtf8(GetParam().Shown));
}

INSTANTIATE_TEST_SUITE_P(
    Params, MaskedTest,
    ::testing::Values(
        // A three-character value followed by further keys.
        MaskCase{"HOST=srv;PWD=abc;USER=jan;", "HOST=srv;PWD=***;USER=jan;"},
        // The same value as the last key, without a closing ";".
        MaskCase{"HOST=srv;PWD=abc", "HOST=srv;PWD=***"},
        // Any letter case, at the very start, several keys, both names.
        MaskCase{"password=sekret;Pwd=xy;PASSWORD=z", "password=******;Pwd=**;PASSWORD=*"},
        // A key that only holds the word, one character per "*" (Polish letters too).
        MaskCase{"USER=u;DbPassword=zażółć;", "USER=u;DbPassword=******;"},
        // A quoted or braced value keeps its ";" hidden inside.
        MaskCase{"PWD=\"a;\"\"b\";X=1", "PWD=*******;X=1"}, MaskCase{"PWD={a;b};X=1", "PWD=*****;X=1"},
        // Nothing to hide.
        MaskCase{"DIR=/home/jan/ewidar.db;TIMEOUT=5000;", "DIR=/home/jan/ewidar.db;TIMEOUT=5000;"},
        MaskCase{"PWD=;X=1", "PWD=;X=1"}, MaskCase{"X=1;;PWD", "X=1;;PWD"}, MaskCase{"", ""},
        // A value holding "=" is hidden whole.
        MaskCase{"X=1;;PWD=a=b", "X=1;;PWD=***"}));

TEST(HistoryTest, EmptyPiecesAreDroppedAndJoiningEndsEveryEntry) {
    // Three parameters with one extra "@" between the second and the third.
    const QStringList entries = SplitHistory(QStringLiteral("DIR=/a.db;@DIR=/b.db;@@HOST=h;PWD=x@"));
    EXPECT_EQ(entries, (QStringList{"DIR=/a.db;", "DIR=/b.db;", "HOST=h;PWD=x"}));
    EXPECT_EQ(JoinHistory(entries), QStringLiteral("DIR=/a.db;@DIR=/b.db;@HOST=h;PWD=x@"));
    EXPECT_TRUE(SplitHistory(QStringLiteral("@@")).isEmpty());
    EXPECT_EQ(JoinHistory({QString(), QStringLiteral("a")}), QStringLiteral("a@"));
}

TEST(MatchChosenTest, ExactBeforeContainedAndNothingFromAnEmptyHead) {
    const QString chosen = QStringLiteral("DIR=/data/a.db;TIMEOUT=5;");
    EXPECT_EQ(MatchChosen(QStringLiteral("dir=/DATA/A.db;timeout=5;"), chosen), TMatch::Exact);
    EXPECT_EQ(MatchChosen(QStringLiteral("DIR=/data/a.db;"), chosen), TMatch::Contained);
    EXPECT_EQ(MatchChosen(QStringLiteral("DIR=/data/a.db;BACKUP=/b.db;"), chosen), TMatch::Contained);
    EXPECT_EQ(MatchChosen(QStringLiteral("DIR=/data/b.db;"), chosen), TMatch::None);
    // "BACKUP" at the start leaves nothing to look for: it is not the chosen one.
    EXPECT_EQ(MatchChosen(QStringLiteral("BACKUP=/b.db;"), chosen), TMatch::None);
    EXPECT_EQ(MatchChosen(QStringLiteral("DIR=/data/a.db;"), QString()), TMatch::None);
}

TEST(DirPathTest, DirValueInAnyCaseWithQuotesRemoved) {
    EXPECT_EQ(DirPath(QStringLiteral("TIMEOUT=5;dir=\"/x y/a\"\"b.db\";")), QStringLiteral("/x y/a\"b.db"));
    EXPECT_EQ(DirPath(QStringLiteral("DIR=/a.db")), QStringLiteral("/a.db"));
    EXPECT_EQ(DirPath(QStringLiteral("HOST=h;SUBDIR=/x;")), QString());
}

} // namespace
