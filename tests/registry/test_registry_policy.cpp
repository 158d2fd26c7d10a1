// How the machine-wide branch decides the policy mode of a key and value.

#include "RegistryTestSupport.h"
#include "TestSupport.h"
#include "uRegistryPolicy.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Registry;
using namespace RegistryTest;

namespace {

const QString Key = QStringLiteral("Software\\Quorsys\\Ewidar\\");
const QString DLLsKey = QStringLiteral("Software\\Quorsys\\DLLs");
const QString Quorsys = QStringLiteral("Software\\Quorsys");
const QString X = QStringLiteral("X");

class RegistryPolicyTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override { ResetAll(); }
};

TEST_F(RegistryPolicyTest, WithoutMachineWideSettingsOnlyTheUserCounts) {
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUser);
    EXPECT_EQ(PolicyMode(Quorsys, QString()), TPolicyMode::pmUser);
    EXPECT_EQ(PolicyMode(QString(), X), TPolicyMode::pmUser);
    EXPECT_FALSE(RememberedPolicyNumber(Key + QStringLiteral("_X")));
}

TEST_F(RegistryPolicyTest, PolicyNumbersMapToModes) {
    const struct {
        int number;
        TPolicyMode mode;
    } cases[] = {
        {0, TPolicyMode::pmUserOnly}, {1, TPolicyMode::pmUserThenMachine},
        {2, TPolicyMode::pmMachine},  {12, TPolicyMode::pmMachineOrDefault},
        {3, TPolicyMode::pmUser},     {-1, TPolicyMode::pmUser},
    };
    for (const auto& c : cases) {
        ResetAll();
        SetMachine(QStringLiteral("Ewidar"), QStringLiteral("UseHKLM"), c.number);
        EXPECT_EQ(PolicyMode(Key, X), c.mode) << c.number;
        // Remembered under K and under K_V.
        EXPECT_EQ(RememberedPolicyNumber(Key), c.number);
        EXPECT_EQ(RememberedPolicyNumber(Key + QStringLiteral("_X")), c.number);
    }
}

TEST_F(RegistryPolicyTest, PerValueNumberOverridesTheKeyNumber) {
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("X/UseHKLM"), 2);
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("UseHKLM"), 1);
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachine);
    EXPECT_EQ(PolicyMode(Key, QStringLiteral("Y")), TPolicyMode::pmUserThenMachine);
    EXPECT_EQ(PolicyMode(Key, QString()), TPolicyMode::pmUserThenMachine);
}

TEST_F(RegistryPolicyTest, NonIntegerTextCountsAsNoNumberAndTheParentDecides) {
    SetMachine(QString(), QStringLiteral("UseHKLM"), 1);
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("UseHKLM"), QStringLiteral("abc"));
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("X/UseHKLM"), QStringLiteral("2x"));
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("Y/UseHKLM"), 2);
    // A per-value entry that is not an integer does not fall back to the key's "UseHKLM".
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUserThenMachine);
    EXPECT_EQ(PolicyMode(Key, QStringLiteral("Y")), TPolicyMode::pmMachine);
    EXPECT_EQ(PolicyMode(Key, QStringLiteral("Z")), TPolicyMode::pmUserThenMachine);
    // The inherited number is remembered where it was found, not for the child.
    EXPECT_EQ(RememberedPolicyNumber(Quorsys), 1);
    EXPECT_EQ(RememberedPolicyNumber(Quorsys + QStringLiteral("_")), 1);
    EXPECT_FALSE(RememberedPolicyNumber(Key + QStringLiteral("_X")));
}

TEST_F(RegistryPolicyTest, ParentKeyPolicyAppliesToEveryKeyBelowIt) {
    SetMachine(QString(), QStringLiteral("UseHKLM"), 2);
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachine);
    EXPECT_EQ(PolicyMode(DLLsKey, QStringLiteral("QuorDataBase")), TPolicyMode::pmMachine);
    EXPECT_EQ(PolicyMode(DLLsKey + QStringLiteral("\\DBs"), QString()), TPolicyMode::pmMachine);
    // A number of the child key itself (even one meaning "no policy") stops the inheritance.
    SetMachine(QStringLiteral("DLLs"), QStringLiteral("UseHKLM"), 9);
    EXPECT_EQ(PolicyMode(DLLsKey, QStringLiteral("Other")), TPolicyMode::pmUser);
}

TEST_F(RegistryPolicyTest, MissingKeyTakesTheDefaultValueOfItsUseHKLMKey) {
    SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 1);
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUserThenMachine);
    EXPECT_EQ(RememberedPolicyNumber(Key + QStringLiteral("_X")), 1);

    ResetAll();
    SetMachine(QStringLiteral("DLLs/UseHKLM"), QStringLiteral("."), 2);
    EXPECT_EQ(PolicyMode(DLLsKey, X), TPolicyMode::pmMachine);

    // Without a default value there is no number: the parent decides.
    ResetAll();
    SetMachine(QString(), QStringLiteral("UseHKLM"), 0);
    SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Other"), 2);
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUserOnly);
}

TEST_F(RegistryPolicyTest, UseHKLMKeyIsIgnoredWhenTheKeyExists) {
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("Something"), QStringLiteral("v"));
    SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 2);
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUser);
}

TEST_F(RegistryPolicyTest, NumberTwelveOnTheUseHKLMKeyRedirectsToTheDefaultKey) {
    const struct {
        int defaultKeyNumber;
        TPolicyMode mode;
    } cases[] = {
        {1, TPolicyMode::pmUserThenMachineDefault},
        {2, TPolicyMode::pmMachineOrDefault},
        {12, TPolicyMode::pmMachineOrDefault},
        {0, TPolicyMode::pmUserOnly},
    };
    for (const auto& c : cases) {
        ResetAll();
        SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 12);
        SetMachine(QStringLiteral("Ewidar/default"), QStringLiteral("UseHKLM"), c.defaultKeyNumber);
        EXPECT_EQ(PolicyMode(Key, X), c.mode) << c.defaultKeyNumber;
        EXPECT_FALSE(RememberedPolicyNumber(Key + QStringLiteral("_X")));
        EXPECT_FALSE(RememberedPolicyNumber(Key));
        EXPECT_EQ(RememberedPolicyNumber(Key + QStringLiteral("/default_X")), c.defaultKeyNumber);
    }
}

TEST_F(RegistryPolicyTest, RedirectIsNotRememberedSoItsChangeTakesEffect) {
    SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 12);
    SetMachine(QStringLiteral("Ewidar/default"), QStringLiteral("UseHKLM"), 1);
    ASSERT_EQ(PolicyMode(Key, X), TPolicyMode::pmUserThenMachineDefault);
    SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 2);
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachine);
}

TEST_F(RegistryPolicyTest, RedirectWithoutDefaultKeyFallsToTheParentMode) {
    SetMachine(QString(), QStringLiteral("UseHKLM"), 2);
    SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 12);
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachineOrDefault);
}

TEST_F(RegistryPolicyTest, FoundNumbersLastUntilTheTableIsCleared) {
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("UseHKLM"), 2);
    ASSERT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachine);
    RemoveMachine(QStringLiteral("Ewidar"), QStringLiteral("UseHKLM"));
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachine);
    // Another value of the same key is looked up afresh.
    EXPECT_EQ(PolicyMode(Key, QStringLiteral("Y")), TPolicyMode::pmUser);
    ClearPolicyTable();
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUser);
}

TEST_F(RegistryPolicyTest, LeadingBackslashIsRemovedFromTheKeyPath) {
    SetMachine(QStringLiteral("Ewidar"), QStringLiteral("UseHKLM"), 1);
    EXPECT_EQ(PolicyMode(QLatin1Char('\\') + Key, X), TPolicyMode::pmUserThenMachine);
    EXPECT_EQ(RememberedPolicyNumber(Key + QStringLiteral("_X")), 1);
}

TEST_F(RegistryPolicyTest, HandWrittenMachineWideFile) {
    WriteMachineFile("[Ewidar]\n"
                     "X\\UseHKLM=2\n"
                     "UseHKLM=1\n"
                     "[DLLs/UseHKLM]\n"
                     "Default=12\n"
                     "[DLLs/default]\n"
                     "UseHKLM=1\n"
                     "QuorDataBase=/opt/quorsys/QuorDataBase.so\n");
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachine);
    EXPECT_EQ(PolicyMode(Key, QStringLiteral("Y")), TPolicyMode::pmUserThenMachine);
    EXPECT_EQ(PolicyMode(DLLsKey, QStringLiteral("QuorDataBase")), TPolicyMode::pmUserThenMachineDefault);
}

TEST_F(RegistryPolicyTest, UnreadableOrUnwritableMachineWideBranchMeansNoPolicy) {
    {
        TUnwritableStore machine(true);
        EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUser);
    }
    // The machine-wide file is a folder: nothing can be read from it.
    ASSERT_TRUE(QDir().mkpath(TestSupport::SystemSettingsDir() + QStringLiteral("/Quorsys.conf")));
    EXPECT_EQ(PolicyMode(Key, X), TPolicyMode::pmUser);
}

} // namespace
