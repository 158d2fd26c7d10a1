// Parameter texts: hidden passwords, the history's entries, the chosen-configuration
// match and the database file of a parameter.

#include "TestSupport.h"
#include "uDBParamText.h"
#include "uSqlParams.h"

#include <QRandomGenerator>
#include <QRegularExpression>

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
        MaskCase{"X=1;;PWD=a=b", "X=1;;PWD=***"},
        // Blanks before the quote, text after the closing one: all of it is the backend's value.
        MaskCase{"PWD= \"a;b\";X=1", "PWD=******;X=1"}, MaskCase{"PWD=\"ab\"cd;X=1", "PWD=******;X=1"}));

// A parameter made of random pieces: keys with and without a password in their name, values
// quoted, braced, blank-padded or followed by more text, pieces without "=", a ";" or not at
// the end. Password values are drawn from digits only, nothing else holds one.
QString RandomParam(QRandomGenerator& Random) {
    static const QStringList keys = {"PASSWORD", "pwd", " DbPassword ", "USER", "dir", "HOST", "x", ""};
    const auto pick = [&](QStringView From) { return From.at(Random.bounded(From.size())); };
    const auto text = [&](QStringView Alphabet, int Max) {
        QString t;
        for (int n = Random.bounded(Max + 1); n > 0; --n)
            t += pick(Alphabet);
        return t;
    };
    QString param;
    for (int parts = Random.bounded(1, 5); parts > 0; --parts) {
        const QString key = keys.at(Random.bounded(keys.size()));
        const bool secret = key.contains(u"PASSWORD", Qt::CaseInsensitive) || key.contains(u"pwd");
        // Outside marks a ";" would end the value; inside quotes a quote is doubled.
        const QString plain = secret ? QStringLiteral("0123456789 =\"{}") : QStringLiteral("abcxyz/. =\"{}");
        const QString quoted = text(QString(plain).remove(u'"') + QStringLiteral(";\x01"), 6)
                                   .replace(u'\x01', QStringLiteral("\"\""));
        const QString braced = text(QString(plain).remove(u'}') + u';', 6);
        const QString blanks = text(u" ", 2);
        QString value;
        switch (Random.bounded(parts == 1 ? 4 : 3)) {
        case 0: value = pick(QStringView(plain).left(6)) + text(plain, 5); break; // opens with no mark
        case 1: value = blanks + u'"' + quoted + u'"' + text(QString(plain).remove(u'"'), 3); break; // no "" after
        case 2: value = blanks + u'{' + braced + u'}' + text(plain, 3); break;
        default: value = blanks + u'"' + quoted; break; // left open, last: runs to the end
        }
        param += Random.bounded(8) == 0 ? key : key + u'=' + value;
        if (parts > 1 || Random.bounded(2) == 0)
            param += u';';
    }
    return param;
}

// The masked text reads, for the backend, as the same keys with the same other values and
// passwords of stars only; no digit, so no character of a password, remains visible.
TEST(MaskedTest, AgreesWithTheBackendOnEveryGeneratedParameter) {
    QRandomGenerator random(20261209);
    for (int i = 0; i < 20000; ++i) {
        const QString param = RandomParam(random);
        const QString shown = Masked(param);
        SCOPED_TRACE(param.toStdString() + " -> " + shown.toStdString());
        ASSERT_FALSE(shown.contains(QRegularExpression(QStringLiteral("[0-9]"))));
        const TSqlParams read = TSqlParams::Parse(param);
        const TSqlParams seen = TSqlParams::Parse(shown);
        ASSERT_EQ(seen.Keys(), read.Keys());
        for (const QString& key : read.Keys()) {
            if (key.contains(u"PASSWORD", Qt::CaseInsensitive) || key.contains(u"PWD", Qt::CaseInsensitive))
                ASSERT_EQ(seen.Value(key), QString(seen.Value(key).size(), u'*'));
            else
                ASSERT_EQ(seen.Value(key), read.Value(key));
        }
    }
}

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
