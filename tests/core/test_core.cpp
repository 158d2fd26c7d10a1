// The core object: one instance, modules present from creation to destruction.

#include "TestSupport.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uRegistry.h"
#include "uSettingsModule.h"
#include "uUserMessagesModule.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(Core, OneInstanceWithItsModulesFromCreationToDestruction) {
    TestSupport::ClearSettings();
    const QString empty = TestSupport::NewTempDir();
    EXPECT_EQ(Core(), nullptr);
    TCore* core = CreateCore(empty);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(CreateCore(empty), core);
    ASSERT_TRUE(core->FDataBaseModule);
    ASSERT_TRUE(core->FSettingsModule);
    ASSERT_TRUE(core->FUserMessagesModule);
    // No router in the folder: the module exists but holds no root object.
    EXPECT_FALSE(core->FDataBaseModule->FEwidarDataBase);
    // Windows reach the messages module, which reaches the database module.
    EXPECT_EQ(UserMessagesModule(), core->FUserMessagesModule.get());
    EXPECT_EQ(core->FUserMessagesModule->DataBaseModule(), core->FDataBaseModule.get());
    // The settings were read after the database module created "DataBaseType".
    EXPECT_EQ(core->FSettingsModule->FMainSettingsRecord.DataBaseSymbol, QStringLiteral("SQLITE"));
    DestroyCore();
    EXPECT_EQ(Core(), nullptr);
    EXPECT_NE(UserMessagesModule(), nullptr); // the stand-in without a database module
    EXPECT_EQ(UserMessagesModule()->DataBaseModule(), nullptr);
}

TEST(Core, UnusableSettingsFailCleanly) {
    TestSupport::ClearSettings();
    // The user's settings folder is a regular file: nothing can be written there.
    const QString dir = TestSupport::UserSettingsDir();
    QDir(dir).removeRecursively();
    {
        QFile blocker(dir);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    EXPECT_THROW(CreateCore(TestSupport::NewTempDir()), Registry::ERegistryException);
    EXPECT_EQ(Core(), nullptr);
    EXPECT_EQ(UserMessagesModule()->DataBaseModule(), nullptr);
    QFile::remove(dir);
    TestSupport::ClearSettings();
}

} // namespace
