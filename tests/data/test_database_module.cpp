// The database module: where it finds the router, which symbol it asks for,
// what it leaves behind.

#include "TestSupport.h"
#include "uDataBaseModule.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uStrings.h"

#include <QDir>
#include <QFile>
#include <QLibrary>

#include <gtest/gtest.h>

#include <memory>

#include <dlfcn.h>

namespace {

using namespace QuorDataBaseDefs;

class DataBaseModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        m_savedDir = QDir::currentPath();
        m_emptyFolder = TestSupport::NewTempDir(QStringLiteral("empty"));
    }
    void TearDown() override { QDir::setCurrent(m_savedDir); }

    // A fresh copy of a fixture router in a folder of its own (a new path, so
    // the loader gives it fresh state).
    static QString CopyRouter(const char* fixture) {
        const QString dir = TestSupport::NewTempDir(QStringLiteral("router"));
        const QString path = dir + QLatin1Char('/') + TDataBaseModule::RouterFileName();
        EXPECT_TRUE(QFile::copy(QString::fromUtf8(fixture), path));
        return path;
    }

    // The symbol the fixture router was last asked for, read through a handle of
    // our own on the same file.
    static QString LastSymbol(const QString& routerPath) {
        QLibrary lib(routerPath);
        EXPECT_TRUE(lib.load());
        using Fn = void (*)(std::u16string&);
        auto fn = reinterpret_cast<Fn>(lib.resolve("FakeRouterLastSymbol"));
        std::u16string s;
        if (fn)
            fn(s);
        return toQ(s);
    }

    static void PointRegistryAt(const QString& routerPath) {
        Registry::WriteString(DLLsKey, QStringLiteral("QuorDataBase"), routerPath);
    }

    QString m_savedDir;
    QString m_emptyFolder;
};

TEST_F(DataBaseModuleTest, SymbolFallsBackToSqliteOnAFreshRegistry) {
    const QString router = CopyRouter(FIXTURE_ROUTER_OK);
    PointRegistryAt(router);
    TDataBaseModule module(m_emptyFolder);
    EXPECT_TRUE(module.FEwidarDataBase);
    EXPECT_EQ(LastSymbol(router), QStringLiteral("SQLITE"));
}

TEST_F(DataBaseModuleTest, SymbolComesFromDataBaseSymbolThenDataBaseType) {
    struct Case {
        QString symbol;
        int type;
        bool typeSet;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("MYSQL"), 3, true, QStringLiteral("MYSQL")},
        {QString(), 2, true, QStringLiteral("MYSQLADO")},
        {QString(), 3, true, QStringLiteral("MSSQLADO")},
        {QString(), 4, true, QString()},
        {QString(), -1, true, QString()},
    };
    for (const Case& c : cases) {
        TestSupport::ClearSettings();
        const QString router = CopyRouter(FIXTURE_ROUTER_OK);
        PointRegistryAt(router);
        Registry::WriteString(EwidarKey, QStringLiteral("DataBaseSymbol"), c.symbol);
        if (c.typeSet)
            Registry::WriteInteger(EwidarKey, QStringLiteral("DataBaseType"), c.type);
        TDataBaseModule module(m_emptyFolder);
        EXPECT_EQ(LastSymbol(router), c.expected) << "type " << c.type;
        // The fixture hands out no root object for an empty symbol, like a router
        // that knows no backend for it.
        EXPECT_EQ(bool(module.FEwidarDataBase), !c.expected.isEmpty()) << "type " << c.type;
    }
}

TEST_F(DataBaseModuleTest, ExplicitSymbolIsPassedAsGiven) {
    const QString router = CopyRouter(FIXTURE_ROUTER_OK);
    PointRegistryAt(router);
    TDataBaseModule module(m_emptyFolder);
    auto root = module.CreateEwidarInterface(QStringLiteral("sqlite"));
    EXPECT_TRUE(root);
    EXPECT_EQ(LastSymbol(router), QStringLiteral("sqlite"));
}

TEST_F(DataBaseModuleTest, RouterFoundThroughTheRegistry) {
    const QString router = CopyRouter(FIXTURE_ROUTER_OK);
    PointRegistryAt(router);
    TDataBaseModule module(m_emptyFolder);
    EXPECT_TRUE(module.GetDLLLoaded());
    EXPECT_TRUE(module.DBListAssigned());
    EXPECT_TRUE(module.FGetLastError);
    EXPECT_EQ(module.RouterPath(), router);
}

TEST_F(DataBaseModuleTest, MissingRegistryFileFallsBackToTheProgramFolder) {
    const QString router = CopyRouter(FIXTURE_ROUTER_OK);
    PointRegistryAt(m_emptyFolder + QStringLiteral("/gone/QuorDataBase.so"));
    TDataBaseModule module(QFileInfo(router).absolutePath());
    EXPECT_TRUE(module.GetDLLLoaded());
    EXPECT_EQ(module.RouterPath(), router);
}

TEST_F(DataBaseModuleTest, PlainNameIsLookedUpInTheCurrentDirectory) {
    const QString router = CopyRouter(FIXTURE_ROUTER_OK);
    ASSERT_TRUE(QDir::setCurrent(QFileInfo(router).absolutePath()));
    TDataBaseModule module(m_emptyFolder);
    EXPECT_TRUE(module.GetDLLLoaded());
    EXPECT_TRUE(module.FEwidarDataBase);
}

TEST_F(DataBaseModuleTest, NoRouterAnywhereGivesNoRootObject) {
    ASSERT_TRUE(QDir::setCurrent(m_emptyFolder));
    TDataBaseModule module(m_emptyFolder);
    EXPECT_FALSE(module.GetDLLLoaded());
    EXPECT_FALSE(module.DBListAssigned());
    EXPECT_FALSE(module.FEwidarDataBase);
    EXPECT_FALSE(module.CreateEwidarInterface(QStringLiteral("SQLITE")));
}

TEST_F(DataBaseModuleTest, RouterWithoutGetEwidarIntfGivesNoRootObject) {
    const QString router = CopyRouter(FIXTURE_ROUTER_NOINTF);
    PointRegistryAt(router);
    TDataBaseModule module(m_emptyFolder);
    EXPECT_TRUE(module.GetDLLLoaded());
    EXPECT_TRUE(module.DBListAssigned());
    EXPECT_FALSE(module.FEwidarDataBase);
}

TEST_F(DataBaseModuleTest, CurrentDirectoryIsRestoredAfterSuccessAndFailure) {
    const QString before = QDir::currentPath();
    {
        PointRegistryAt(CopyRouter(FIXTURE_ROUTER_OK));
        TDataBaseModule module(m_emptyFolder);
        EXPECT_TRUE(module.GetDLLLoaded());
        EXPECT_EQ(QDir::currentPath(), before);
    }
    {
        // A file that exists but is no library: loading fails.
        const QString bogus = TestSupport::NewTempDir() + QStringLiteral("/QuorDataBase.so");
        QFile f(bogus);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a library");
        f.close();
        PointRegistryAt(bogus);
        TDataBaseModule module(m_emptyFolder);
        EXPECT_FALSE(module.GetDLLLoaded());
        EXPECT_EQ(QDir::currentPath(), before);
    }
}

TEST_F(DataBaseModuleTest, DestructionDisconnectsTheRootObjectAndUnloads) {
    const QString router = CopyRouter(FIXTURE_ROUTER_OK);
    PointRegistryAt(router);
    // Our own handle keeps the router in memory after the module unloads it.
    void* observer = dlopen(QFile::encodeName(router).constData(), RTLD_NOW);
    ASSERT_TRUE(observer);
    using Count = int32_t (*)();
    auto disconnects = reinterpret_cast<Count>(dlsym(observer, "FakeRouterDisconnects"));
    ASSERT_TRUE(disconnects);
    {
        auto module = std::make_unique<TDataBaseModule>(m_emptyFolder);
        ASSERT_TRUE(module->FEwidarDataBase);
        EXPECT_EQ(disconnects(), 0);
    }
    EXPECT_EQ(disconnects(), 1);
    dlclose(observer);
    // Our handle was the last one: the module let go of its own, so the router is gone.
    void* left = dlopen(QFile::encodeName(router).constData(), RTLD_LAZY | RTLD_NOLOAD);
    EXPECT_FALSE(left);
    if (left)
        dlclose(left);
}

} // namespace
