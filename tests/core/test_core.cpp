// The core object: one instance, modules present from creation to destruction.

#include "TestSupport.h"
#include "uCore.h"
#include "uDataBaseModule.h"

#include <gtest/gtest.h>

namespace {

TEST(Core, OneInstanceFromCreationToDestruction) {
    TestSupport::ClearSettings();
    const QString empty = TestSupport::NewTempDir();
    EXPECT_EQ(Core(), nullptr);
    TCore* core = CreateCore(empty);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(CreateCore(empty), core);
    ASSERT_TRUE(core->FDataBaseModule);
    // No router in the folder: the module exists but holds no root object.
    EXPECT_FALSE(core->FDataBaseModule->FEwidarDataBase);
    DestroyCore();
    EXPECT_EQ(Core(), nullptr);
}

} // namespace
