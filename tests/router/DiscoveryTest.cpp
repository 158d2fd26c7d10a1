// Which backends the router finds beside itself and in the registry list, and
// what it lists for them.

#include "QuorDataBase_.h"
#include "RouterSandbox.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <climits>

namespace {

QStringList Symbols(const std::vector<TListed>& list) {
    QStringList symbols;
    for (const TListed& e : list)
        symbols << e.Symbol;
    return symbols;
}

QStringList Captions(const std::vector<TListed>& list) {
    QStringList captions;
    for (const TListed& e : list)
        captions << e.Caption;
    return captions;
}

class RouterDiscovery : public ::testing::Test {
protected:
    void SetUp() override { TestSupport::ClearSettings(); }
    TRouterSandbox box;
};

TEST_F(RouterDiscovery, RouterAloneOffersNothing) {
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(box.DBListCount(), 0);
    std::u16string symbol = u"x", caption = u"y";
    EXPECT_FALSE(box.DBListItem(0, symbol, caption));
    EXPECT_TRUE(symbol.empty());
    EXPECT_TRUE(caption.empty());
}

TEST_F(RouterDiscovery, ListsEveryTypeOfEveryLibraryInFileNameOrder) {
    box.AddFixture(QStringLiteral("QuorDataBaseBeta"));
    box.AddFixture(QStringLiteral("QuorDataBaseAlpha"));
    ASSERT_TRUE(box.Load());
    const std::vector<TListed> list = box.List();
    EXPECT_EQ(Symbols(list), QStringList({"ALPHA", "SHARED", "BETA", "SHARED"}));
    EXPECT_EQ(Captions(list),
              QStringList({"Alpha caption", "Shared by alpha", "Beta caption", "Shared by beta"}));
    // The result says whether the library file lies beside the router, whatever the
    // backend itself answered for the entry.
    for (const TListed& e : list)
        EXPECT_TRUE(e.Result) << e.Caption.toStdString();
}

TEST_F(RouterDiscovery, IndexOutsideTheListGivesFalseAndEmptyStrings) {
    box.AddFixture(QStringLiteral("QuorDataBaseAlpha"));
    ASSERT_TRUE(box.Load());
    ASSERT_EQ(box.DBListCount(), 2);
    for (int32_t index : {-1, 2, INT_MIN, INT_MAX}) {
        std::u16string symbol = u"x", caption = u"y";
        EXPECT_FALSE(box.DBListItem(index, symbol, caption)) << index;
        EXPECT_TRUE(symbol.empty()) << index;
        EXPECT_TRUE(caption.empty()) << index;
    }
}

TEST_F(RouterDiscovery, ItemResultFollowsTheFileInTheRouterFolderAtCallTime) {
    const QString alpha = box.AddFixture(QStringLiteral("QuorDataBaseAlpha"));
    box.AddFixture(QStringLiteral("QuorDataBaseBeta"));
    ASSERT_TRUE(box.Load());
    ASSERT_EQ(box.DBListCount(), 4);
    ASSERT_TRUE(QFile::remove(alpha));
    const std::vector<TListed> list = box.List();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].Symbol, QStringLiteral("ALPHA"));
    EXPECT_FALSE(list[0].Result);
    EXPECT_FALSE(list[1].Result);
    EXPECT_TRUE(list[2].Result);
    EXPECT_TRUE(list[3].Result);
}

TEST_F(RouterDiscovery, LibrariesThatCannotListContributeNothing) {
    box.AddFixture(QStringLiteral("QuorDataBaseEmpty"));
    box.AddFixture(QStringLiteral("QuorDataBaseNoItem"));
    box.AddFixture(QStringLiteral("QuorDataBaseUnresolved"));
    box.AddFile(QStringLiteral("QuorDataBaseBroken.so"), "this is not a library");
    box.AddFile(QStringLiteral("QuorDataBaseZero.so"), QByteArray());
    QDir().mkpath(box.Folder() + QStringLiteral("QuorDataBaseFolder.so"));
    box.AddFixture(QStringLiteral("QuorDataBaseQuiet"));
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(Symbols(box.List()), QStringList({"QUIET"}));
}

TEST_F(RouterDiscovery, ALibraryClaimingTooManyTypesIsCut) {
    box.AddFixture(QStringLiteral("QuorDataBaseHuge"));
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(box.DBListCount(), QuorDataBase_::MaxEntriesPerLibrary);
}

TEST_F(RouterDiscovery, MatchesNamesInAnyLetterCaseButNeverTheRouterItself) {
    ASSERT_TRUE(TRouterSandbox::CopyRouterTo(box.Folder() + QStringLiteral("QUORDATABASE.SO")));
    ASSERT_TRUE(TRouterSandbox::CopyRouterTo(box.Folder() + QStringLiteral("quordatabase.so")));
    box.AddFixture(QStringLiteral("QuorDataBaseAlpha"), QStringLiteral("QUORDATABASEALPHA.SO"));
    box.AddFixture(QStringLiteral("QuorDataBaseBeta"), QStringLiteral("quordatabasebeta.so"));
    // Not "QuorDataBase*" with the library suffix.
    box.AddFixture(QStringLiteral("QuorDataBaseQuiet"), QStringLiteral("MyQuorDataBaseQuiet.so"));
    box.AddFixture(QStringLiteral("QuorDataBaseQuiet"), QStringLiteral("QuorDataBaseQuiet.so.bak"));
    box.AddFixture(QStringLiteral("QuorDataBaseQuiet"), QStringLiteral("QuorDataBaseQuiet.dll"));
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(Symbols(box.List()), QStringList({"ALPHA", "SHARED", "BETA", "SHARED"}));
}

TEST_F(RouterDiscovery, EveryCandidateIsUnloadedAfterListing) {
    const QString alpha = box.AddFixture(QStringLiteral("QuorDataBaseAlpha"));
    const QString noItem = box.AddFixture(QStringLiteral("QuorDataBaseNoItem"));
    ASSERT_TRUE(box.Load());
    ASSERT_EQ(box.DBListCount(), 2);
    EXPECT_FALSE(IsLibraryLoaded(alpha));
    EXPECT_FALSE(IsLibraryLoaded(noItem));
}

// ---------------------------------------------------------------------------
// The registry list

TEST_F(RouterDiscovery, RegisteredLibrariesFollowTheFolderOnes) {
    box.AddFixture(QStringLiteral("QuorDataBaseBeta"));
    const QString elsewhere = TestSupport::NewTempDir(QStringLiteral("elsewhere"));
    // Any file name will do for a registered library.
    SetRegisteredBackends(
        {box.AddFixture(QStringLiteral("QuorDataBaseAlpha"), QStringLiteral("alpha.so"), elsewhere)});
    ASSERT_TRUE(box.Load());
    const std::vector<TListed> list = box.List();
    EXPECT_EQ(Symbols(list), QStringList({"BETA", "SHARED", "ALPHA", "SHARED"}));
    ASSERT_EQ(list.size(), 4u);
    // Only libraries whose file lies beside the router report true.
    EXPECT_TRUE(list[0].Result);
    EXPECT_FALSE(list[2].Result);
    EXPECT_FALSE(list[3].Result);
}

TEST_F(RouterDiscovery, ARegisteredPathOfAListedLibraryIsNotListedTwice) {
    const QString alpha = box.AddFixture(QStringLiteral("QuorDataBaseAlpha"));
    QString otherCase = alpha;
    otherCase.replace(QStringLiteral("QuorDataBaseAlpha"), QStringLiteral("QUORDATABASEalpha"));
    const QString elsewhere = TestSupport::NewTempDir(QStringLiteral("elsewhere"));
    const QString beta = box.AddFixture(QStringLiteral("QuorDataBaseBeta"), QString(), elsewhere);
    SetRegisteredBackends(
        {alpha, otherCase, box.Folder() + QStringLiteral("./QuorDataBaseAlpha.so"), beta, beta});
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(Symbols(box.List()), QStringList({"ALPHA", "SHARED", "BETA", "SHARED"}));
}

TEST_F(RouterDiscovery, RegisteredRoutersMissingFilesAndEmptyValuesAreSkipped) {
    const QString elsewhere = TestSupport::NewTempDir(QStringLiteral("elsewhere"));
    // A router copy elsewhere would list the backend beside it if it were queried.
    box.AddFixture(QStringLiteral("QuorDataBaseBeta"), QString(), elsewhere);
    const QString otherRouter = elsewhere + QStringLiteral("/quordatabase.so");
    ASSERT_TRUE(TRouterSandbox::CopyRouterTo(otherRouter));
    const QString broken = elsewhere + QStringLiteral("/QuorDataBaseBroken.so");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("garbage");
    file.close();
    SetRegisteredBackends({otherRouter, box.RouterPath(),
                           elsewhere + QStringLiteral("/QuorDataBaseMissing.so"), QString(),
                           QStringLiteral("   "), broken, elsewhere});
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(box.DBListCount(), 0);
}

TEST_F(RouterDiscovery, RelativeRegisteredPathsStartAtTheRouterFolder) {
    box.AddFixture(QStringLiteral("QuorDataBaseBeta"), QString(), box.Folder() + QStringLiteral("sub"));
    SetRegisteredBackends({QStringLiteral("sub/QuorDataBaseBeta.so")});
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(Symbols(box.List()), QStringList({"BETA", "SHARED"}));
}

// A registered library with the file name of a listed one takes its place only
// when the listed one's version is not lower; unreadable versions keep the listed one.
struct SameNameCase {
    const char* inFolder;
    const char* registered;
    const char* listed; // caption of the library that ends up listed
};

class RouterSameName : public ::testing::TestWithParam<SameNameCase> {
protected:
    void SetUp() override { TestSupport::ClearSettings(); }
};

TEST_P(RouterSameName, KeepsTheVersionTheRulesChoose) {
    const SameNameCase c = GetParam();
    TRouterSandbox box;
    const QString name = QStringLiteral("QuorDataBaseVer.so");
    box.AddFixture(QString::fromLatin1(c.inFolder), name);
    const QString elsewhere = TestSupport::NewTempDir(QStringLiteral("elsewhere"));
    // The same file name in another letter case still counts as the same library.
    SetRegisteredBackends(
        {box.AddFixture(QString::fromLatin1(c.registered), QStringLiteral("QUORDATABASEVER.so"), elsewhere)});
    ASSERT_TRUE(box.Load());
    const std::vector<TListed> list = box.List();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Caption, QString::fromLatin1(c.listed));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, RouterSameName,
    ::testing::Values(SameNameCase{"QuorDataBaseVer10", "QuorDataBaseVer20", "ver10"},
                      SameNameCase{"QuorDataBaseVer20", "QuorDataBaseVer10", "ver10"},
                      SameNameCase{"QuorDataBaseVer10", "QuorDataBaseVer10b", "ver10b"},
                      SameNameCase{"QuorDataBaseVerBad", "QuorDataBaseVer10", "verbad"},
                      SameNameCase{"QuorDataBaseVer10", "QuorDataBaseVerBad", "ver10"},
                      SameNameCase{"QuorDataBaseVerNone", "QuorDataBaseVer10", "vernone"},
                      SameNameCase{"QuorDataBaseVer10", "QuorDataBaseVerNone", "ver10"}));

} // namespace
