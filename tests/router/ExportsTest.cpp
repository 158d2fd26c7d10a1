// Root interfaces through the router, the backends it keeps loaded, and the
// backends' error texts.

#include "RouterSandbox.h"
#include "TestSupport.h"
#include "uStrings.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

// Stand-in backends know code 7; code -77 makes one tell how many unknown codes
// it was asked about.
constexpr int32_t KnownCode = 7;
constexpr int32_t CallCountCode = -77;

class RouterExports : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        alpha = box.AddFixture(QStringLiteral("QuorDataBaseAlpha"));
        beta = box.AddFixture(QStringLiteral("QuorDataBaseBeta"));
        box.AddFixture(QStringLiteral("QuorDataBaseQuiet"));
    }
    TRouterSandbox box;
    QString alpha;
    QString beta;
};

TEST_F(RouterExports, TheBackendOfTheSymbolMakesTheRootObject) {
    ASSERT_TRUE(box.Load());
    const TIntfPtr<IEwidarDataBase> root = box.Root(QStringLiteral("beta"));
    ASSERT_TRUE(root);
    EXPECT_EQ(RootID(root.get()), QStringLiteral("beta:GetEwidarIntf"));
    // The backend gets the symbol as the caller spelt it.
    EXPECT_EQ(toQ(root->GetDataBaseSymbol()), QStringLiteral("beta"));
    // The first listed library offering a symbol serves it.
    EXPECT_EQ(RootID(box.Root(QStringLiteral("SHARED")).get()), QStringLiteral("alpha:GetEwidarIntf"));
}

TEST_F(RouterExports, UnknownOrEmptySymbolsGiveNoInterface) {
    ASSERT_TRUE(box.Load());
    for (const char16_t* symbol : {u"NOPE", u"", u"ALPHA "}) {
        auto* root = reinterpret_cast<IEwidarDataBase*>(uintptr_t{0x10});
        box.GetEwidarIntf(symbol, &root);
        EXPECT_EQ(root, nullptr) << toQ(symbol).toStdString();
    }
    box.GetEwidarIntf(u"ALPHA", nullptr);
    EXPECT_FALSE(IsLibraryLoaded(alpha));
}

TEST_F(RouterExports, SiblingExportsReachTheirNamesakesInTheBackend) {
    ASSERT_TRUE(box.Load());
    for (const char* name : {"GetFormuloIntf", "GetFormuloIntf02", "GetPosmetIntf", "GetPosmetIntf02"}) {
        const TIntfPtr<IInterface> root = box.Sibling(name, QStringLiteral("ALPHA"));
        EXPECT_EQ(RootID(root.get()), QStringLiteral("alpha:") + QLatin1String(name));
        // Beta has no such export; the backend is found but the interface stays empty.
        EXPECT_FALSE(box.Sibling(name, QStringLiteral("BETA"))) << name;
        EXPECT_FALSE(box.Sibling(name, QStringLiteral("NOPE"))) << name;
    }
}

TEST_F(RouterExports, ASymbolInAnyLetterCaseLoadsItsBackendOnce) {
    ASSERT_TRUE(box.Load());
    for (const char* symbol : {"ALPHA", "alpha", "Alpha"})
        EXPECT_TRUE(box.Root(QLatin1String(symbol))) << symbol;
    QString text, link;
    EXPECT_FALSE(box.LastError(999, text, link));
    ASSERT_TRUE(box.LastError(CallCountCode, text, link));
    EXPECT_EQ(text, QStringLiteral("1"));
    EXPECT_EQ(link, QStringLiteral("alpha"));
    // Another symbol of the same library stands in the table once more.
    EXPECT_TRUE(box.Root(QStringLiteral("shared")));
    EXPECT_FALSE(box.LastError(999, text, link));
    ASSERT_TRUE(box.LastError(CallCountCode, text, link));
    EXPECT_EQ(text, QStringLiteral("3"));
}

TEST_F(RouterExports, BackendsStayLoadedUntilTheRouterIsUnloaded) {
    ASSERT_TRUE(box.Load());
    TIntfPtr<IEwidarDataBase> root = box.Root(QStringLiteral("ALPHA"));
    ASSERT_TRUE(root);
    root.reset();
    EXPECT_TRUE(IsLibraryLoaded(alpha));
    EXPECT_FALSE(IsLibraryLoaded(beta));
    EXPECT_TRUE(box.Unload());
    EXPECT_FALSE(IsLibraryLoaded(alpha));
}

TEST_F(RouterExports, ALibraryThatNoLongerLoadsEndsTheSearchForItsSymbol) {
    ASSERT_TRUE(box.Load());
    ASSERT_EQ(box.DBListCount(), 5);
    ASSERT_TRUE(QFile::remove(alpha));
    // Alpha is listed first for SHARED; beta is not tried in its place.
    EXPECT_FALSE(box.Root(QStringLiteral("SHARED")));
    EXPECT_FALSE(box.Root(QStringLiteral("ALPHA")));
    EXPECT_EQ(RootID(box.Root(QStringLiteral("BETA")).get()), QStringLiteral("beta:GetEwidarIntf"));
}

TEST_F(RouterExports, LastErrorBeforeAnyBackendIsLoadedIsFalseAndEmpty) {
    ASSERT_TRUE(box.Load());
    QString text, link;
    EXPECT_FALSE(box.LastError(KnownCode, text, link));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_TRUE(link.isEmpty());
}

TEST_F(RouterExports, LastErrorAsksTheLoadedBackendsInLoadOrder) {
    ASSERT_TRUE(box.Load());
    // Quiet has no error export and is passed over.
    ASSERT_TRUE(box.Root(QStringLiteral("QUIET")));
    ASSERT_TRUE(box.Root(QStringLiteral("BETA")));
    ASSERT_TRUE(box.Root(QStringLiteral("ALPHA")));
    QString text, link;
    ASSERT_TRUE(box.LastError(KnownCode, text, link));
    EXPECT_EQ(text, QStringLiteral("beta text for DB1"));
    EXPECT_EQ(link, QStringLiteral("beta link"));
    // Nobody knows the code: false, and what the backends left behind is not passed on.
    EXPECT_FALSE(box.LastError(12345, text, link));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_TRUE(link.isEmpty());
}

TEST_F(RouterExports, TheRouterTellsItsOwnVersion) {
    ASSERT_TRUE(box.Load());
    auto getVersion = reinterpret_cast<TGetFileVersion>(box.Resolve("GetFileVersion"));
    ASSERT_NE(getVersion, nullptr);
    std::u16string version = u"old";
    getVersion(version);
    EXPECT_FALSE(version.empty());
    EXPECT_NE(version, u"old");
}

} // namespace
