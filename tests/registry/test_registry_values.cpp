// Reading, testing and writing values of the current user's branch in every policy mode,
// and what happens when the user's settings cannot be read or written.

#include "RegistryTestSupport.h"
#include "uRegistry.h"
#include "uRegistryPolicy.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <limits>

#include <sys/stat.h>

using namespace Registry;
using namespace RegistryTest;

namespace {

const QString Key = QStringLiteral("Software\\Quorsys\\Ewidar\\");
const QString Group = QStringLiteral("Ewidar");
const QString X = QStringLiteral("X");
const QString Y = QStringLiteral("Y");

// Expects ERegistryException with exactly the given message.
#define EXPECT_REGISTRY_ERROR(statement, message)                                                            \
    do {                                                                                                     \
        try {                                                                                                \
            statement;                                                                                       \
            ADD_FAILURE() << "no ERegistryException from " #statement;                                       \
        } catch (const ERegistryException& e) {                                                              \
            EXPECT_EQ(e.Message(), message);                                                                 \
        }                                                                                                    \
    } while (false)

class RegistryValuesTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override { ResetAll(); }

    // Policy number n on the key Ewidar itself.
    static void KeyPolicy(int n) { SetMachine(Group, QStringLiteral("UseHKLM"), n); }
    // Ewidar missing machine-wide; its values come from "Ewidar/default" with policy n.
    static void DefaultKeyPolicy(int n) {
        SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 12);
        SetMachine(QStringLiteral("Ewidar/default"), QStringLiteral("UseHKLM"), n);
    }
};

TEST_F(RegistryValuesTest, ReadingAMissingValueWritesTheDefault) {
    EXPECT_FALSE(ValueExists(Key, X));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(UserValue(Group, X).toString(), QStringLiteral("d"));
    EXPECT_TRUE(ValueExists(Key, X));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("other")), QStringLiteral("d"));

    EXPECT_EQ(ReadInteger(Key, Y, 7), 7);
    ForceReloadFromDisk();
    EXPECT_EQ(UserValue(Group, Y).toString(), QStringLiteral("7"));
    EXPECT_EQ(ReadInteger(Key, Y, 0), 7);

    // An empty text is a value like any other.
    EXPECT_EQ(ReadString(Key, QStringLiteral("E"), QString()), QString());
    EXPECT_TRUE(ValueExists(Key, QStringLiteral("E")));
}

TEST_F(RegistryValuesTest, IntegerReadOfOtherTextGivesTheDefaultWithoutRewriting) {
    SetUser(Group, X, QStringLiteral("abc"));
    EXPECT_EQ(ReadInteger(Key, X, 3), 3);
    EXPECT_EQ(UserValue(Group, X).toString(), QStringLiteral("abc"));
    SetUser(Group, X, QStringLiteral("-42"));
    EXPECT_EQ(ReadInteger(Key, X, 3), -42);
    WriteInteger(Key, Y, std::numeric_limits<int32_t>::min());
    ForceReloadFromDisk();
    EXPECT_EQ(ReadInteger(Key, Y, 0), std::numeric_limits<int32_t>::min());
}

TEST_F(RegistryValuesTest, TextSurvivesTheSettingsFile) {
    const QString texts[] = {
        QStringLiteral("zażółć gęślą jaźń ŻÓŁW €"),
        QStringLiteral("@Variant(not really)"),
        QStringLiteral("@"),
        QStringLiteral("host=db;user=ewidar;pwd=a;b@host2;x@"),
        QStringLiteral("a, b,c"),
        QStringLiteral("\"quoted\" and 'single' \\ back\\slash"),
        QStringLiteral(" leading and trailing  "),
        QStringLiteral("line1\nline2\ttab = [section]"),
        QString(100000, QLatin1Char('x')) + QStringLiteral("ą;@"),
    };
    int i = 0;
    for (const QString& text : texts)
        WriteString(Key, QStringLiteral("V%1").arg(i++), text);
    WriteString(Key, QStringLiteral("ConnectorParams_ŻÓŁW;@"), texts[0]);
    ForceReloadFromDisk();
    i = 0;
    for (const QString& text : texts)
        EXPECT_EQ(ReadString(Key, QStringLiteral("V%1").arg(i++), QString()), text) << i;
    EXPECT_EQ(ReadString(Key, QStringLiteral("ConnectorParams_ŻÓŁW;@"), QString()), texts[0]);
}

TEST_F(RegistryValuesTest, UserOnlyModeIgnoresTheMachineWideValue) {
    KeyPolicy(0);
    SetMachine(Group, X, QStringLiteral("machine"));
    EXPECT_FALSE(ValueExists(Key, X));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(UserValue(Group, X).toString(), QStringLiteral("d"));
}

TEST_F(RegistryValuesTest, ModeTwoFallsBackToTheMachineWideValue) {
    KeyPolicy(1);
    SetMachine(Group, X, QStringLiteral("machine"));
    SetMachine(Group, Y, 5);
    SetUser(Group, Y, QStringLiteral("not a number"));

    EXPECT_TRUE(ValueExists(Key, X));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("machine"));
    EXPECT_FALSE(UserHas(Group, X)) << "a value supplied by the machine-wide branch is not copied";
    // The user's non-integer text is passed over for the machine-wide integer.
    EXPECT_EQ(ReadInteger(Key, Y, 0), 5);

    WriteString(Key, X, QStringLiteral("mine"));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("mine"));
    EXPECT_EQ(ReadString(Key, QStringLiteral("Z"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(UserHas(Group, QStringLiteral("Z")));
}

TEST_F(RegistryValuesTest, ModeFourAlsoReadsTheDefaultKey) {
    DefaultKeyPolicy(1);
    ASSERT_EQ(PolicyMode(Key, X), TPolicyMode::pmUserThenMachineDefault);
    SetMachine(QStringLiteral("Ewidar/default"), X, QStringLiteral("from default"));
    EXPECT_TRUE(ValueExists(Key, X));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("from default"));
    EXPECT_FALSE(UserHas(Group, X));
    SetUser(Group, X, QStringLiteral("mine"));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("mine"));
    // Policy values of the default key are not data of the user's key.
    EXPECT_FALSE(ValueExists(Key, QStringLiteral("Other")));
}

TEST_F(RegistryValuesTest, ModeThreeMachineWideValueAlwaysWins) {
    KeyPolicy(2);
    SetMachine(Group, X, QStringLiteral("machine"));
    SetUser(Group, X, QStringLiteral("mine"));
    SetUser(Group, Y, QStringLiteral("mine"));

    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("machine"));
    // The user's value is not read: Y does not exist machine-wide.
    EXPECT_FALSE(ValueExists(Key, Y));
    EXPECT_EQ(ReadString(Key, Y, QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(UserValue(Group, Y).toString(), QStringLiteral("d")) << "the default differs, so it is written";
}

TEST_F(RegistryValuesTest, ModeThreeWritesOnlyDataThatDifferFromTheMachineWideValue) {
    KeyPolicy(2);
    SetMachine(Group, X, QStringLiteral("machine"));
    SetMachine(Group, QStringLiteral("N"), 5);

    WriteString(Key, X, QStringLiteral("machine"));
    EXPECT_FALSE(UserHas(Group, X));
    WriteInteger(Key, QStringLiteral("N"), 5);
    EXPECT_FALSE(UserHas(Group, QStringLiteral("N")));

    WriteString(Key, X, QStringLiteral("Machine"));
    EXPECT_EQ(UserValue(Group, X).toString(), QStringLiteral("Machine"));
    WriteInteger(Key, QStringLiteral("N"), 6);
    EXPECT_EQ(UserValue(Group, QStringLiteral("N")).toInt(), 6);
    // Written, yet the machine-wide value still wins on reading.
    EXPECT_EQ(ReadString(Key, X, QString()), QStringLiteral("machine"));
    EXPECT_EQ(ReadInteger(Key, QStringLiteral("N"), 0), 5);
}

TEST_F(RegistryValuesTest, ModeThreeComparesAgainstTheTextOfAHandWrittenFile) {
    WriteMachineFile("[Ewidar]\nUseHKLM=2\nN=5\nL=\"a,b\"\n");
    WriteInteger(Key, QStringLiteral("N"), 5);
    WriteString(Key, QStringLiteral("L"), QStringLiteral("a,b"));
    EXPECT_FALSE(UserHas(Group, QStringLiteral("N")));
    EXPECT_FALSE(UserHas(Group, QStringLiteral("L")));
    EXPECT_EQ(ReadInteger(Key, QStringLiteral("N"), 0), 5);
}

TEST_F(RegistryValuesTest, ModeFiveReadsTheDefaultKeyWhenTheKeyIsMissing) {
    DefaultKeyPolicy(2);
    ASSERT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachineOrDefault);
    SetMachine(QStringLiteral("Ewidar/default"), X, QStringLiteral("from default"));
    SetUser(Group, X, QStringLiteral("mine"));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("from default"));

    WriteString(Key, X, QStringLiteral("from default"));
    EXPECT_EQ(UserValue(Group, X).toString(), QStringLiteral("mine")) << "equal data are not written";
    WriteString(Key, X, QStringLiteral("new"));
    EXPECT_EQ(UserValue(Group, X).toString(), QStringLiteral("new"));
}

TEST_F(RegistryValuesTest, ModeFiveReadsTheKeyItselfWhenItExists) {
    KeyPolicy(12);
    SetMachine(Group, X, QStringLiteral("from key"));
    SetMachine(QStringLiteral("Ewidar/default"), X, QStringLiteral("from default"));
    EXPECT_EQ(ReadString(Key, X, QStringLiteral("d")), QStringLiteral("from key"));
}

TEST_F(RegistryValuesTest, WithoutAnyMachineWideKeyEmptyOrZeroDataAreNotWritten) {
    // Mode 5 through the parent, with neither Ewidar nor Ewidar/default present machine-wide.
    SetMachine(QString(), QStringLiteral("UseHKLM"), 2);
    SetMachine(QStringLiteral("Ewidar/UseHKLM"), QStringLiteral("Default"), 12);
    ASSERT_EQ(PolicyMode(Key, X), TPolicyMode::pmMachineOrDefault);

    WriteString(Key, X, QString());
    WriteInteger(Key, QStringLiteral("N"), 0);
    WriteString(Key, QStringLiteral("Z"), QString(3, QChar(0)));
    EXPECT_FALSE(UserHas(Group, X));
    EXPECT_FALSE(UserHas(Group, QStringLiteral("N")));
    EXPECT_FALSE(UserHas(Group, QStringLiteral("Z")));
    EXPECT_EQ(ReadString(Key, QStringLiteral("R"), QString()), QString());
    EXPECT_FALSE(UserHas(Group, QStringLiteral("R")));

    WriteString(Key, Y, QStringLiteral("a"));
    WriteInteger(Key, QStringLiteral("M"), 1);
    EXPECT_EQ(UserValue(Group, Y).toString(), QStringLiteral("a"));
    EXPECT_EQ(UserValue(Group, QStringLiteral("M")).toInt(), 1);
}

TEST_F(RegistryValuesTest, ReadValuesListsTheSourcesOfTheKeyMode) {
    const QString dbs = QStringLiteral("Software\\Quorsys\\DLLs\\DBs");
    const QString dbsGroup = QStringLiteral("DLLs/DBs");
    SetUser(dbsGroup, QStringLiteral("b"), QStringLiteral("/user/b.so"));
    SetUser(dbsGroup, QStringLiteral("a"), QStringLiteral("/user/a.so"));
    SetMachine(dbsGroup, QStringLiteral("a"), QStringLiteral("/machine/a.so"));
    SetMachine(dbsGroup, QStringLiteral("c"), QStringLiteral("/machine/c.so"));
    EXPECT_EQ(ReadValues(dbs), QStringList({QStringLiteral("/user/a.so"), QStringLiteral("/user/b.so")}));

    ResetAll();
    SetUser(dbsGroup, QStringLiteral("b"), QStringLiteral("/user/b.so"));
    SetUser(dbsGroup, QStringLiteral("a"), QStringLiteral("/user/a.so"));
    SetMachine(dbsGroup, QStringLiteral("a"), QStringLiteral("/machine/a.so"));
    SetMachine(dbsGroup, QStringLiteral("c"), QStringLiteral("/machine/c.so"));
    SetMachine(dbsGroup, QStringLiteral("UseHKLM"), 1);
    EXPECT_EQ(ReadValues(dbs), QStringList({QStringLiteral("/user/a.so"), QStringLiteral("/user/b.so"),
                                            QStringLiteral("/machine/c.so")}));

    ClearPolicyTable();
    SetMachine(dbsGroup, QStringLiteral("UseHKLM"), 2);
    EXPECT_EQ(ReadValues(dbs),
              QStringList({QStringLiteral("/machine/a.so"), QStringLiteral("/machine/c.so")}));
}

class RegistryFailureTest : public RegistryValuesTest {};

TEST_F(RegistryFailureTest, UnreadableUserSettingsRaiseOnReadTestAndWrite) {
    TUnreadableUserStore unreadable;
    EXPECT_REGISTRY_ERROR(ReadString(Key, X, QString()), QStringLiteral("Failed to get data for 'X'"));
    EXPECT_REGISTRY_ERROR(ReadInteger(Key, X, 0), QStringLiteral("Failed to get data for 'X'"));
    EXPECT_REGISTRY_ERROR(ValueExists(Key, X), QStringLiteral("Failed to get data for 'X'"));
    EXPECT_REGISTRY_ERROR(WriteString(Key, X, QStringLiteral("v")),
                          QStringLiteral("Failed to set data for 'X'"));
    EXPECT_REGISTRY_ERROR(ReadValues(Key),
                          QStringLiteral("Failed to get data for '") + Key + QLatin1Char('\''));
}

TEST_F(RegistryFailureTest, MachineWideFallbackCoversAnUnreadableUserSettingsFile) {
    KeyPolicy(1);
    SetMachine(Group, X, QStringLiteral("machine"));
    TUnreadableUserStore unreadable;
    EXPECT_EQ(ReadString(Key, X, QString()), QStringLiteral("machine"));
    EXPECT_TRUE(ValueExists(Key, X));
    EXPECT_REGISTRY_ERROR(ReadString(Key, Y, QString()), QStringLiteral("Failed to get data for 'Y'"));
}

TEST_F(RegistryFailureTest, UnwritableUserSettingsRaiseOutsideTheMachineWinsModes) {
    for (const int policy : {-1, 0, 1}) {
        ResetAll();
        if (policy >= 0)
            KeyPolicy(policy);
        TUnwritableStore unwritable;
        TReportRecorder recorder;
        EXPECT_REGISTRY_ERROR(WriteString(Key, X, QStringLiteral("v")),
                              QStringLiteral("Failed to set data for 'X'"));
        EXPECT_REGISTRY_ERROR(WriteInteger(Key, Y, 1), QStringLiteral("Failed to set data for 'Y'"));
        // The default of a missing value cannot be written either.
        EXPECT_REGISTRY_ERROR(ReadString(Key, X, QStringLiteral("d")),
                              QStringLiteral("Failed to set data for 'X'"));
        EXPECT_FALSE(ValueExists(Key, X)) << "a failed write leaves nothing behind";
        EXPECT_TRUE(ReportMessages().isEmpty());
    }
}

TEST_F(RegistryFailureTest, FailedWriteWhereTheMachineWideValueWinsIsReported) {
    KeyPolicy(2);
    SetMachine(Group, X, QStringLiteral("machine"));
    TUnwritableStore unwritable;
    TReportRecorder recorder;

    EXPECT_NO_THROW(WriteString(Key, X, QStringLiteral("machine")));
    EXPECT_TRUE(ReportMessages().isEmpty()) << "equal data are not written, so nothing fails";

    EXPECT_NO_THROW(WriteString(Key, X, QStringLiteral("mine")));
    EXPECT_NO_THROW(WriteString(Key, X, QStringLiteral("mine again")));
    EXPECT_NO_THROW(EXPECT_EQ(ReadString(Key, Y, QStringLiteral("d")), QStringLiteral("d")));
    const QString message =
        QStringLiteral("Wystąpił błąd zapisu w kluczu \"Software\\Quorsys\\Ewidar\\\" wartości "
                       "\"%1\". Prawdopodobnie użytkownik nie ma uprawnień do zapisywania "
                       "danych w tej lokalizacji rejestru HKEY_CURRENT_USER.");
    EXPECT_EQ(ReportMessages(), QStringList({message.arg(X), message.arg(Y)}));

    ProcessEventsFor(ReportDelayMs * 3);
    ASSERT_EQ(recorder.Showings.size(), 1u);
    EXPECT_EQ(recorder.Showings[0].Caption, QStringLiteral("UWAGA! Ważna Informacja."));
    EXPECT_EQ(recorder.Showings[0].Text, message.arg(X) + QStringLiteral("\n\n") + message.arg(Y));
}

TEST_F(RegistryFailureTest, FailedWriteInModeFiveIsReported) {
    DefaultKeyPolicy(2);
    TUnwritableStore unwritable;
    TReportRecorder recorder;
    EXPECT_NO_THROW(WriteString(Key, X, QStringLiteral("mine")));
    EXPECT_EQ(ReportMessages().size(), 1);
}

TEST_F(RegistryFailureTest, UnwritableMachineWideFolderDoesNotHinderTheUser) {
    TUnwritableStore machine(true);
    WriteString(Key, X, QStringLiteral("v"));
    EXPECT_EQ(ReadString(Key, X, QString()), QStringLiteral("v"));
    EXPECT_EQ(ReadString(Key, Y, QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(ReportMessages().isEmpty());
}

TEST_F(RegistryFailureTest, KeyPathWithoutOrganisationIsAnErrorNotACrash) {
    for (const QString& path : {QString(), QStringLiteral("Software"), QStringLiteral("\\\\")}) {
        EXPECT_REGISTRY_ERROR(ReadString(path, X, QString()), QStringLiteral("Failed to get data for 'X'"));
        EXPECT_REGISTRY_ERROR(WriteString(path, X, QString()), QStringLiteral("Failed to set data for 'X'"));
    }
    EXPECT_REGISTRY_ERROR(WriteString(Key, QString(), QStringLiteral("v")),
                          QStringLiteral("Failed to set data for ''"));
}

// The user's file holds the register key: written owner-only even under a permissive umask,
// and an existing readable one is made so when opened; the machine-wide file stays as set.
TEST_F(RegistryValuesTest, TheUsersSettingsFileIsReadableByItsOwnerOnly) {
    const auto mode = [](QSettings::Scope Scope) {
        struct stat st {};
        const QByteArray path = QFile::encodeName(QSettings(QSettings::NativeFormat, Scope, "Quorsys").fileName());
        return ::stat(path.constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    };
    const mode_t umaskBefore = ::umask(022);
    WriteString(Key, X, QStringLiteral("klucz"));
    EXPECT_EQ(mode(QSettings::UserScope), 0600);
    WriteString(Key, Y, QStringLiteral("drugi"));
    EXPECT_EQ(mode(QSettings::UserScope), 0600);

    ResetAll();
    SetUser(Group, X, QStringLiteral("dawny")); // an earlier file, readable by everyone
    SetMachine(Group, Y, QStringLiteral("firmowy"));
    ASSERT_EQ(mode(QSettings::UserScope), 0644);
    ASSERT_EQ(mode(QSettings::SystemScope), 0644);
    EXPECT_EQ(ReadString(Key, X, QString()), QStringLiteral("dawny"));
    EXPECT_EQ(mode(QSettings::UserScope), 0600);
    EXPECT_EQ(mode(QSettings::SystemScope), 0644);
    ::umask(umaskBefore);
}

} // namespace
