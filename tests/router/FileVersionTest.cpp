#include "RouterSandbox.h"
#include "uFileVersion.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* text;
    std::optional<uint64_t> value;
};

TEST(FileVersionParse, ReadsUpToFourNumbersHighestFirst) {
    const ParseCase cases[] = {
        {"1.2.3.4", 0x0001000200030004ull},
        {"V_1.2", 0x0001000200000000ull},
        {"1.2.0.0", 0x0001000200000000ull},
        {"7", 0x0007000000000000ull},
        {"0.0.0.0", 0ull},
        {"65535.65535.65535.65535", 0xFFFFFFFFFFFFFFFFull},
        {"01.002", 0x0001000200000000ull},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(FileVersion::Parse(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(FileVersionParse, RejectsWhatIsNotFourSmallNumbers) {
    for (const char* text : {"", "V_", "1.x", "x", "1..2", "1.2.", ".1", "1.2.3.4.5", "65536", "1.-2", "+1",
                             " 1.2", "1.2 ", "v_1.2", "V_V_1", "1,2", "99999999999999999999"})
        EXPECT_EQ(FileVersion::Parse(QString::fromLatin1(text)), std::nullopt) << '"' << text << '"';
}

TEST(FileVersionCompare, OrdersNumbersFromTheFirstAndFlagsTheUnparsable) {
    struct Case {
        const char* a;
        const char* b;
        int result;
    };
    const Case cases[] = {
        {"1.2", "V_1.2.0.0", 0},
        {"1.0", "2.0", -1},
        {"2.0", "1.9.9.9", 1},
        {"1.2.3.4", "1.2.3.5", -1},
        {"1.10", "1.9", 1},
        {"40000.0", "1.0", 1},
        {"1.x", "1.0", -2},
        {"1.0", "1.x", -2},
        {"", "", -2},
        {"1.0", "", -2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileVersion::Compare(QString::fromLatin1(c.a), QString::fromLatin1(c.b)), c.result)
            << c.a << " vs " << c.b;
}

TEST(FileVersionRead, AsksTheLibraryItselfAndGivesEmptyWhenItCannot) {
    EXPECT_EQ(FileVersion::Read(FixturePath(QStringLiteral("QuorDataBaseAlpha"))), QStringLiteral("1.2.0.0"));
    EXPECT_EQ(FileVersion::Read(FixturePath(QStringLiteral("QuorDataBaseBeta"))), QStringLiteral("V_1.3"));
    EXPECT_TRUE(FileVersion::Read(FixturePath(QStringLiteral("QuorDataBaseVerNone"))).isEmpty());
    EXPECT_TRUE(FileVersion::Read(FixturePath(QStringLiteral("QuorDataBaseUnresolved"))).isEmpty());
    EXPECT_TRUE(FileVersion::Read(QStringLiteral(ROUTER_FIXTURE_DIR "/NoSuchLibrary.so")).isEmpty());
    EXPECT_TRUE(FileVersion::Read(QString()).isEmpty());
    EXPECT_TRUE(FileVersion::Read(QStringLiteral(ROUTER_FIXTURE_DIR)).isEmpty());

    TRouterSandbox box;
    const QString broken = box.AddFile(QStringLiteral("QuorDataBaseBroken.so"), "not a library");
    EXPECT_TRUE(FileVersion::Read(broken).isEmpty());
    // Reading the version does not leave the library loaded.
    EXPECT_FALSE(IsLibraryLoaded(FixturePath(QStringLiteral("QuorDataBaseAlpha"))));
}

TEST(FileVersionRead, TheRouterReportsAReadableVersion) {
    EXPECT_TRUE(FileVersion::Parse(FileVersion::Read(QStringLiteral(ROUTER_FILE))).has_value());
}

} // namespace
