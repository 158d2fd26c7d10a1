// Identifier and format checks: the documented edge cases per routine, then generated
// valid numbers whose check digit (or, where the algorithm guarantees it, any digit) is
// corrupted.

#include "CheckCRC.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

using namespace CheckCRC;
using namespace Qt::Literals::StringLiterals;

namespace {

struct BoolCase {
    QString text;
    bool expected;
};

QString RandomDigits(std::mt19937& rng, int count) {
    std::uniform_int_distribution<int> digit(0, 9);
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + digit(rng));
    return s;
}

int D(const QString& s, int index) {
    return s.at(index).unicode() - u'0';
}

// The same text with the digit at index replaced by another digit.
QString WithDigit(QString s, int index, int digit) {
    s[index] = QChar(u'0' + digit);
    return s;
}

// The nine texts that differ from s only by another digit at index.
QStringList Corruptions(const QString& s, int index) {
    QStringList result;
    for (int d = 0; d < 10; ++d)
        if (d != D(s, index))
            result << WithDigit(s, index, d);
    return result;
}

// Independent check-digit computations used to generate valid numbers.
QString PeselWithCheckDigit(const QString& ten) {
    static const int w[] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += D(ten, i) * w[i];
    return ten + QString::number((10 - sum % 10) % 10);
}

// Empty when the nine digits have no valid check digit (remainder 10).
QString NipWithCheckDigit(const QString& nine) {
    static const int w[] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += D(nine, i) * w[i];
    return sum % 11 == 10 ? QString() : nine + QString::number(sum % 11);
}

QString RegonWithCheckDigit(const QString& eight) {
    static const int w[] = {8, 9, 2, 3, 4, 5, 6, 7};
    int sum = 0;
    for (int i = 0; i < 8; ++i)
        sum += D(eight, i) * w[i];
    return eight + QString::number(sum % 11 % 10);
}

// ISO 7064 mod 97-10 over "basic" + "PL00" (P=25, L=21), in 64-bit steps.
QString NrbWithCheckDigits(const QString& basic24) {
    const std::string digits = basic24.toStdString() + "252100";
    uint64_t r = 0;
    for (char c : digits)
        r = (r * 10 + uint64_t(c - '0')) % 97;
    const int check = int(98 - r);
    return QString::number(check).rightJustified(2, u'0') + basic24;
}

QString Grouped(const QString& nrb) {
    QString s = nrb.left(2);
    for (int i = 2; i < nrb.size(); i += 4)
        s += u' ' + nrb.mid(i, 4);
    return s;
}

} // namespace

// ---------------------------------------------------------------- helpers

TEST(TrimAndDigits, TrimSpacesRemovesOnlyCode32) {
    EXPECT_EQ(TrimSpaces(u"  12 3  "_s), u"12 3"_s);
    EXPECT_EQ(TrimSpaces(u"\t12\t"_s), u"\t12\t"_s);
    EXPECT_EQ(TrimSpaces(u" \n12\n "_s), u"\n12\n"_s);
    EXPECT_EQ(TrimSpaces(u"    "_s), QString());
    EXPECT_EQ(TrimSpaces(QString()), QString());
    EXPECT_EQ(TrimSpaces(u"\u00a012\u00a0"_s), u"\u00a012\u00a0"_s);
}

TEST(TrimAndDigits, HasNonDigit) {
    EXPECT_FALSE(HasNonDigit(QString()));
    EXPECT_FALSE(HasNonDigit(u"0123456789"_s));
    EXPECT_TRUE(HasNonDigit(u"12a"_s));
    EXPECT_TRUE(HasNonDigit(u" 12"_s));
    EXPECT_TRUE(HasNonDigit(u"1-2"_s));
    EXPECT_TRUE(HasNonDigit(u"\u0661\u0662"_s)); // Arabic-Indic digits are not "0"-"9"
    EXPECT_TRUE(HasNonDigit(u"\uff11"_s));       // full-width one
}

// ---------------------------------------------------------------- PESEL

TEST(Pesel, DocumentedNumber) {
    EXPECT_TRUE(IsValidPESEL(u"90010112349"_s));
    EXPECT_TRUE(IsValidPESEL(u"  90010112349 "_s));
    EXPECT_EQ(PeselBirthDate(u"90010112349"_s), QDate(1990, 1, 1));
    EXPECT_EQ(PeselSex(u"90010112349"_s), 2);
    EXPECT_FALSE(IsValidPESEL(u"90010112340"_s));
    EXPECT_FALSE(IsValidPESEL(u"9001011234"_s));
    EXPECT_EQ(PeselSex(u"9001011234"_s), 2);
    EXPECT_EQ(PeselSex(u"9001011235"_s), 1);
}

TEST(Pesel, RejectsMalformedText) {
    const BoolCase cases[] = {
        {u""_s, false},
        {u"9001011234"_s, false},
        {u"900101123490"_s, false},
        {u"9001011234a"_s, false},
        {u"90010-12349"_s, false},
        {u"\t90010112349"_s, false},
        {u"9001011234\u0669"_s, false},
        {u"9001 0112349"_s, false},
    };
    for (const BoolCase& c : cases)
        EXPECT_EQ(IsValidPESEL(c.text), c.expected) << c.text.toStdString();
}

TEST(Pesel, BirthDateCenturies) {
    struct Case {
        QString text;
        QDate date;
    };
    const Case cases[] = {
        {u"850515"_s, QDate(1985, 5, 15)},     {u"052515"_s, QDate(2005, 5, 15)},
        {u"054515"_s, QDate(2105, 5, 15)},     {u"056515"_s, QDate(2205, 5, 15)},
        {u"058515"_s, QDate(1805, 5, 15)},     {u"99923100000"_s, QDate(1899, 12, 31)},
        {u"00210100000"_s, QDate(2000, 1, 1)}, {u"99723100000"_s, QDate(2299, 12, 31)},
        {u"002229"_s, QDate(2000, 2, 29)},     {u" 9001011"_s, QDate(1990, 1, 1)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PeselBirthDate(c.text), c.date) << c.text.toStdString();
}

TEST(Pesel, ImpossibleOrUnreadableDateIsNull) {
    const QString cases[] = {
        u"851315"_s,       // month 13
        u"850015"_s,       // month 0
        u"853315"_s,       // month 33 (beyond the 2000s block)
        u"859315"_s,       // month 93
        u"850230"_s,       // 30 February
        u"850500"_s,       // day 0
        u"850532"_s,       // day 32
        u"000229"_s,       // 1900 is not a leap year
        u"004229"_s,       // 2100 is not a leap year
        u"85051"_s,        // too short
        u"850515123456"_s, // too long
        u"8505a5"_s,       QString(),
    };
    for (const QString& c : cases)
        EXPECT_FALSE(PeselBirthDate(c).isValid()) << c.toStdString();
}

TEST(Pesel, MatchesBirthDate) {
    const QString pesel = u"90010112349"_s;
    EXPECT_TRUE(PeselMatchesBirthDate(pesel, QDate(1990, 1, 1)));
    EXPECT_FALSE(PeselMatchesBirthDate(pesel, QDate(1990, 1, 2)));
    EXPECT_FALSE(PeselMatchesBirthDate(pesel, QDate()));
    // The time of day is cut off, not rounded.
    EXPECT_TRUE(PeselMatchesBirthDate(pesel, QDateTime(QDate(1990, 1, 1), QTime(23, 59, 59))));
    EXPECT_FALSE(PeselMatchesBirthDate(pesel, QDateTime(QDate(1989, 12, 31), QTime(23, 59, 59))));
    // An invalid PESEL never gives a mismatch.
    EXPECT_TRUE(PeselMatchesBirthDate(u"90010112340"_s, QDate(2020, 5, 5)));
    EXPECT_TRUE(PeselMatchesBirthDate(u"abc"_s, QDate()));
    // A valid check digit over an impossible date: no date to match.
    const QString impossible = PeselWithCheckDigit(u"8513151234"_s);
    ASSERT_TRUE(IsValidPESEL(impossible));
    EXPECT_FALSE(PeselMatchesBirthDate(impossible, QDate(1985, 1, 15)));
}

TEST(Pesel, SexDigit) {
    EXPECT_EQ(PeselSex(u"90010112359"_s), 1);
    EXPECT_EQ(PeselSex(u"90010112349"_s), 2);
    EXPECT_EQ(PeselSex(u" 9001011230 "_s), 2);
    EXPECT_EQ(PeselSex(u"900101123"_s), 0);
    EXPECT_EQ(PeselSex(u"900101123491"_s), 0);
    EXPECT_EQ(PeselSex(u"900101123x9"_s), 0);
    EXPECT_EQ(PeselSex(QString()), 0);
}

TEST(Pesel, GeneratedNumbersInEveryCenturyAndCorruptions) {
    std::mt19937 rng(8101);
    const std::pair<int, int> centuries[] = {{1800, 80}, {1900, 0}, {2000, 20}, {2100, 40}, {2200, 60}};
    for (int n = 0; n < 2000; ++n) {
        const auto [base, offset] = centuries[n % 5];
        const QDate date = QDate(base, 1, 1).addDays(std::uniform_int_distribution<int>(0, 36523)(rng));
        const QString ten =
            QString::asprintf("%02d%02d%02d", date.year() % 100, date.month() + offset, date.day()) +
            RandomDigits(rng, 4);
        const QString pesel = PeselWithCheckDigit(ten);
        ASSERT_TRUE(IsValidPESEL(pesel)) << pesel.toStdString();
        EXPECT_EQ(PeselBirthDate(pesel), date) << pesel.toStdString();
        EXPECT_TRUE(PeselMatchesBirthDate(pesel, date));
        EXPECT_FALSE(PeselMatchesBirthDate(pesel, date.addDays(1)));
        EXPECT_EQ(PeselSex(pesel), D(pesel, 9) % 2 == 1 ? 1 : 2);
        // Weights 1, 3, 7, 9 are prime to 10: any single wrong digit changes the sum.
        for (int pos = 0; pos < 11; ++pos)
            for (const QString& bad : Corruptions(pesel, pos))
                ASSERT_FALSE(IsValidPESEL(bad)) << bad.toStdString();
    }
}

// ---------------------------------------------------------------- NIP

TEST(Nip, DocumentedPatterns) {
    const BoolCase cases[] = {
        {u"1234563218"_s, true},      {u"123-456-32-18"_s, true},
        {u"123-45-63-218"_s, true},   {u"123-45-632-18"_s, true},
        {u"123-456-3-218"_s, true},   {u"  123-456-32-18  "_s, true},
        {u" 1234563218 "_s, true},    {u"123-4563218"_s, false},
        {u"1-23-456-3218"_s, false},  {u"1234563219"_s, false},
        {u"123456321"_s, false},      {u"12345632180"_s, false},
        {u"123 456 32 18"_s, false},  {u"123-456-32-1"_s, false},
        {u"123-456-32-180"_s, false}, {u"123.456.32.18"_s, false},
        {u"12-3456-32-18"_s, false},  {u"123-456-3218-"_s, false},
        {u"\t1234563218"_s, false},   {u"123456321a"_s, false},
        {u"-123-456-3218"_s, false},  {u""_s, false},
        {u"-------------"_s, false},  {u"123-456--3218"_s, false},
    };
    for (const BoolCase& c : cases)
        EXPECT_EQ(IsValidNIP(c.text), c.expected) << c.text.toStdString();
}

TEST(Nip, RemainderTenIsNeverValid) {
    std::mt19937 rng(11);
    int found = 0;
    while (found < 20) {
        const QString nine = RandomDigits(rng, 9);
        if (!NipWithCheckDigit(nine).isEmpty())
            continue;
        ++found;
        for (int d = 0; d < 10; ++d)
            EXPECT_FALSE(IsValidNIP(nine + QString::number(d))) << nine.toStdString();
    }
}

TEST(Nip, GeneratedNumbersAndCorruptions) {
    std::mt19937 rng(8102);
    int generated = 0;
    while (generated < 2000) {
        const QString nip = NipWithCheckDigit(RandomDigits(rng, 9));
        if (nip.isEmpty())
            continue;
        ++generated;
        ASSERT_TRUE(IsValidNIP(nip)) << nip.toStdString();
        const QString dashed = nip.left(3) + u'-' + nip.mid(3, 3) + u'-' + nip.mid(6, 2) + u'-' + nip.mid(8);
        EXPECT_TRUE(IsValidNIP(dashed)) << dashed.toStdString();
        // 11 is prime and every weight and digit change is below it: a single wrong digit
        // always changes the remainder.
        for (int pos = 0; pos < 10; ++pos)
            for (const QString& bad : Corruptions(nip, pos))
                ASSERT_FALSE(IsValidNIP(bad)) << bad.toStdString();
    }
}

// ---------------------------------------------------------------- REGON

TEST(Regon, DocumentedForms) {
    const BoolCase cases[] = {
        {u"123456785"_s, true},         {u"12345678512345"_s, true},   {u"123456785-12345"_s, true},
        {u"12345678599999"_s, true},    {u" 123456785 "_s, true},      {u"1234567851"_s, true},
        {u"123456786"_s, false},        {u"12345678"_s, false},        {u"123456785123456"_s, false},
        {u"12345678-512345"_s, false},  {u"1234567851-2345"_s, false}, {u"123456785-"_s, true},
        {u"123456785-123456"_s, false}, {u"12345678a"_s, false},       {u""_s, false},
        {u"---------"_s, false},
    };
    for (const BoolCase& c : cases)
        EXPECT_EQ(IsValidREGON(c.text), c.expected) << c.text.toStdString();
}

TEST(Regon, RemainderTenGivesCheckDigitZero) {
    // Digits 00000200: sum 2 * 5 = 10, remainder 10, check digit 0.
    EXPECT_TRUE(IsValidREGON(u"000002000"_s));
    EXPECT_FALSE(IsValidREGON(u"000002001"_s));
}

TEST(Regon, GeneratedNumbersAndWrongCheckDigits) {
    std::mt19937 rng(8103);
    for (int n = 0; n < 2000; ++n) {
        const QString regon = RegonWithCheckDigit(RandomDigits(rng, 8));
        ASSERT_TRUE(IsValidREGON(regon)) << regon.toStdString();
        const QString tail = RandomDigits(rng, 5);
        EXPECT_TRUE(IsValidREGON(regon + tail));
        EXPECT_TRUE(IsValidREGON(regon + u'-' + tail));
        for (const QString& bad : Corruptions(regon, 8)) {
            ASSERT_FALSE(IsValidREGON(bad)) << bad.toStdString();
            ASSERT_FALSE(IsValidREGON(bad + u'-' + tail)) << bad.toStdString();
        }
    }
}

// ---------------------------------------------------------------- account numbers

TEST(AccountHelpers, Mod97AndConversions) {
    EXPECT_EQ(Mod97(QString()), 0);
    EXPECT_EQ(Mod97(u"96"_s), 96);
    EXPECT_EQ(Mod97(u"97"_s), 0);
    EXPECT_EQ(Mod97(u"98"_s), 1);
    EXPECT_EQ(Mod97(u"123456789012345678901234567890"_s), 52);
    EXPECT_EQ(Mod97(u"9-8"_s), 1); // non-digits are skipped
    EXPECT_EQ(Mod97(u"\uffff98"_s), 1);

    EXPECT_EQ(LettersToDigits(u"A"_s), u"10"_s);
    EXPECT_EQ(LettersToDigits(u"Z"_s), u"35"_s);
    EXPECT_EQ(LettersToDigits(u"1A2Z"_s), u"110235"_s);
    EXPECT_EQ(LettersToDigits(QString()), QString());

    EXPECT_EQ(KeepAlphanumeric(u"pl 61-10aB\tCZ"_s), u"6110BCZ"_s);
    EXPECT_EQ(KeepAlphanumeric(u"ŁĄ12"_s), u"12"_s);
}

TEST(AccountHelpers, IbanRemainderAndCheckDigits) {
    EXPECT_EQ(IbanRemainder(u"DE89370400440532013000"_s), 1);
    EXPECT_EQ(IbanRemainder(u"GB82 WEST 1234 5698 7654 32"_s), 1);
    EXPECT_EQ(IbanRemainder(u"PL96123456780000000000000001"_s), 1);
    EXPECT_NE(IbanRemainder(u"PL97123456780000000000000001"_s), 1);
    EXPECT_EQ(IbanRemainder(u"AB"_s), Mod97(u"1011"_s)); // shorter than four: nothing to move

    EXPECT_EQ(IbanCheckDigits(u"DE"_s, u"370400440532013000"_s), 89);
    EXPECT_EQ(IbanCheckDigits(u"de"_s, u"370400440532013000"_s), 89);
    EXPECT_EQ(IbanCheckDigits(u"GB"_s, u"WEST12345698765432"_s), 82);
    EXPECT_EQ(IbanCheckDigits(QString(), u"123456780000000000000001"_s), 96);
    EXPECT_EQ(IbanCheckDigits(u"POL"_s, u"1"_s), -1);
    EXPECT_EQ(IbanCheckDigits(u"P"_s, u"1"_s), -1);

    EXPECT_EQ(NrbCheckDigits(u"123456780000000000000001"_s), u"96"_s);
    // Always two characters (a leading zero below 10), as an independent computation gives.
    std::mt19937 rng(8104);
    for (int n = 0; n < 500; ++n) {
        const QString basic = RandomDigits(rng, 24);
        const QString check = NrbCheckDigits(basic);
        ASSERT_EQ(check.size(), 2);
        EXPECT_EQ(check + basic, NrbWithCheckDigits(basic)) << basic.toStdString();
    }
}

TEST(AccountHelpers, IbanRemainderEqualsItsDefinition) {
    // Mod97 of the moved text reduced to account characters, letters as two digits.
    std::mt19937 rng(8106);
    const QString alphabet = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ az-\tŁ"_s;
    for (int n = 0; n < 2000; ++n) {
        QString text;
        const int length = std::uniform_int_distribution<int>(0, 40)(rng);
        for (int i = 0; i < length; ++i)
            text += alphabet.at(std::uniform_int_distribution<int>(0, int(alphabet.size()) - 1)(rng));
        const QString moved = text.mid(4) + text.left(4);
        ASSERT_EQ(IbanRemainder(text), Mod97(LettersToDigits(KeepAlphanumeric(moved)))) << text.toStdString();
    }
}

TEST(AccountHelpers, FindCharRun) {
    struct Case {
        QString text;
        TCharRun run;
    };
    const Case cases[] = {
        {QString(), {0, 0}},   {u"abc"_s, {3, 3}},     {u"12"_s, {1, 2}},
        {u"ab12c3"_s, {3, 4}}, {u"x"_s, {1, 1}},       {u"1"_s, {1, 1}},
        {u"a1"_s, {2, 2}},     {u"96 1234"_s, {1, 2}}, {u"1\u0661"_s, {1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindCharRun(c.text, cDigits), c.run) << c.text.toStdString();
    EXPECT_EQ(FindCharRun(u"\t \tX"_s, cAccountBlanks), (TCharRun{1, 3}));
    EXPECT_EQ(FindCharRun(u"PL96"_s, cDigits | cAccountLetters), (TCharRun{1, 4}));
    EXPECT_EQ(FindCharRun(u"pl96"_s, cAccountLetters), (TCharRun{4, 4}));
}

TEST(AccountHelpers, NormalizeRecognisesPolishAndForeignForms) {
    struct Case {
        QString text;
        bool recognised;
        QString normalised;
    };
    const Case cases[] = {
        {u"96 1234 5678"_s, true, u"PL96 1234 5678"_s},
        {u" \t96 1234"_s, true, u"PL96 1234"_s},
        {u"96123456780000000000000001"_s, true, u"PL96123456780000000000000001"_s},
        {u"1234567890 12"_s, true, u"PL1234567890 12"_s},
        {u"12AB"_s, true, u"PL12AB"_s},
        {u"96"_s, true, u"PL96"_s},
        {u"12 AB"_s, true, u"PL12 AB"_s},
        {u"123-456"_s, false, u"123-456"_s},
        {u"12AB CD"_s, false, u"12AB CD"_s},
        {u"1234567890AB CD"_s, false, u"1234567890AB CD"_s},
        {u"DE89 3704"_s, true, u"DE89 3704"_s},
        {u"PL96 1234"_s, true, u"PL96 1234"_s},
        {u"PL 96"_s, false, u"PL 96"_s},
        {u"ABC"_s, false, u"ABC"_s},
        {u"D89"_s, false, u"D89"_s},
        {u"DEU89"_s, false, u"DEU89"_s},
        {u"DE8"_s, false, u"DE8"_s},
        {u"1"_s, false, u"1"_s},
        {QString(), false, QString()},
        {u"  "_s, false, QString()},
    };
    for (const Case& c : cases) {
        QString text = c.text;
        EXPECT_EQ(NormalizeAccountNumber(text), c.recognised) << c.text.toStdString();
        EXPECT_EQ(text, c.normalised) << c.text.toStdString();
    }
}

TEST(AccountNumber, DocumentedNumbers) {
    struct Case {
        QString text;
        int result;
    };
    const Case cases[] = {
        {u"96 1234 5678 0000 0000 0000 0001"_s, 0},
        {u"96123456780000000000000001"_s, 0},
        {u"PL96123456780000000000000001"_s, 0},
        {u"PL96 1234 5678 0000 0000 0000 0001"_s, 0},
        {u"pl96123456780000000000000001"_s, 0},
        {u"96 1234 5678 0000 0000 0000 0002"_s, -1},
        {u"DE89370400440532013000"_s, 0},
        {u"DE89 3704 0044 0532 0130 00"_s, 0},
        {u"DE88370400440532013000"_s, -1},
        {u"GB82WEST12345698765432"_s, 0},
        {u"gb82 west 1234 5698 7654 32"_s, 0},
        {u"FR1420041010050500013M02606"_s, 0},
        {u"ABC"_s, -2},
        {QString(), -2},
        {u"brak"_s, -2},
        {u"12"_s, -1}, // two digits are read as the start of a Polish number
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckAccountNumber(c.text), c.result) << c.text.toStdString();

    EXPECT_TRUE(IsValidAccountNumber(u"  96 1234 5678 0000 0000 0000 0001  "_s));
    EXPECT_TRUE(IsValidAccountNumber(u"ABC"_s));
    EXPECT_TRUE(IsValidAccountNumber(QString()));
    EXPECT_FALSE(IsValidAccountNumber(u"96 1234 5678 0000 0000 0000 0002"_s));
    EXPECT_FALSE(IsValidAccountNumber(u"DE88370400440532013000"_s));
}

TEST(AccountNumber, GeneratedNrbAnyDigitCorrupted) {
    std::mt19937 rng(8105);
    for (int n = 0; n < 300; ++n) {
        const QString nrb = NrbWithCheckDigits(RandomDigits(rng, 24));
        ASSERT_EQ(CheckAccountNumber(nrb), 0) << nrb.toStdString();
        EXPECT_EQ(CheckAccountNumber(Grouped(nrb)), 0) << Grouped(nrb).toStdString();
        EXPECT_EQ(CheckAccountNumber(u"PL"_s + nrb), 0);
        EXPECT_TRUE(IsValidAccountNumber(nrb));
        // Mod 97-10 catches every single-digit substitution.
        for (int pos = 0; pos < 26; ++pos)
            for (const QString& bad : Corruptions(nrb, pos)) {
                ASSERT_EQ(CheckAccountNumber(bad), -1) << bad.toStdString();
                ASSERT_FALSE(IsValidAccountNumber(Grouped(bad))) << bad.toStdString();
            }
    }
}

// ---------------------------------------------------------------- tax-office accounts

TEST(TaxOfficeAccount, SuffixPerTaxType) {
    const std::pair<QString, QString> cases[] = {
        {u"CIT"_s, u"1000000"_s},   {u"cit-8"_s, u"1000000"_s}, {u"VAT"_s, u"2000000"_s},
        {u"VAT-7"_s, u"2000000"_s}, {u"GL"_s, u"2000000"_s},    {u"gl"_s, u"2000000"_s},
        {u"GLX"_s, QString()},      {u"POG"_s, u"2000000"_s},   {u"VAI"_s, u"2000000"_s},
        {u"VAP"_s, u"2000000"_s},   {u"PIT"_s, u"3000000"_s},   {u"PPL"_s, u"3000000"_s},
        {u"PPD"_s, u"3000000"_s},   {u"PPE"_s, u"3000000"_s},   {u"PPW"_s, u"3000000"_s},
        {u"IND"_s, u"7000000"_s},   {u"XYZ"_s, QString()},      {u"CI"_s, QString()},
        {u" CIT"_s, QString()},     {QString(), QString()},
    };
    for (const auto& [type, suffix] : cases)
        EXPECT_EQ(TaxAccountSuffix(type), suffix) << type.toStdString();
}

TEST(TaxOfficeAccount, BuildsAValidNumber) {
    const QString middle = u"10101010230000261"_s;
    for (const QString& type : {u"CIT"_s, u"VAT"_s, u"PIT"_s, u"IND"_s}) {
        const QString account = BuildTaxOfficeAccount(middle, type);
        ASSERT_EQ(account.size(), 26) << type.toStdString();
        EXPECT_EQ(account.mid(2, 17), middle);
        EXPECT_EQ(account.right(7), TaxAccountSuffix(type));
        EXPECT_EQ(CheckAccountNumber(account), 0) << account.toStdString();
    }
    EXPECT_EQ(BuildTaxOfficeAccount(middle, u"XYZ"_s), middle);
    EXPECT_EQ(BuildTaxOfficeAccount(middle, QString()), middle);
    EXPECT_EQ(BuildTaxOfficeAccount(QString(), u"XYZ"_s), QString());
}

// ---------------------------------------------------------------- postal codes and e-mail

TEST(PostalCode, Patterns) {
    const BoolCase cases[] = {
        {u"00-950"_s, true},       {u"00 950"_s, true},   {u"00950"_s, true},   {u""_s, true},
        {u"   "_s, true},          {u" 00-950 "_s, true}, {u"00-95"_s, false},  {u"0O-950"_s, false},
        {u"00_950"_s, false},      {u"00-9500"_s, false}, {u"009500"_s, false}, {u"0-0950"_s, false},
        {u"00\t950"_s, false},     {u"\t00950"_s, false}, {u"0095"_s, false},   {u"00--50"_s, false},
        {u"00\u2013950"_s, false},
    };
    for (const BoolCase& c : cases)
        EXPECT_EQ(IsValidPostalCode(c.text), c.expected) << c.text.toStdString();
}

TEST(Email, Rules) {
    const BoolCase cases[] = {
        {u"jan.kowalski@firma.pl"_s, true},
        {u"jan.kowalski@pl"_s, true}, // dot in the local part, two-letter domain without a dot
        {u"jan_k-1@a.b.cd"_s, true},
        {u"a@bc.de"_s, true},
        {u" \tjan@firma.pl\r\n"_s, true}, // codes up to 32 are trimmed
        {u"jan.kowalski@p"_s, false},     // one-character domain
        {u"jan@firma.p"_s, false},        // one character after the first dot of the domain
        {u"jan@ab.c"_s, false},
        {u"@firma.pl"_s, false},
        {u"jan@"_s, false},
        {u"jan.kowalski@"_s, false},
        {u"jan@@firma.pl"_s, false},
        {u"jan@firma@x.pl"_s, false},
        {u"jan kowalski@firma.pl"_s, false},
        {u"jan@firma"_s, false},    // no dot anywhere
        {u"jan.firma.pl"_s, false}, // no at sign
        {u"żaneta@firma.pl"_s, false},
        {u"jan+x@firma.pl"_s, false},
        {u""_s, false},
        {u"@"_s, false},
        {u"."_s, false},
    };
    for (const BoolCase& c : cases)
        EXPECT_EQ(IsValidEmail(c.text), c.expected) << c.text.toStdString();

    EXPECT_TRUE(IsEmailPart(QString()));
    EXPECT_TRUE(IsEmailPart(u"Aa0-._z"_s));
    EXPECT_FALSE(IsEmailPart(u"a@b"_s));
    EXPECT_FALSE(IsEmailPart(u"ą"_s));
    EXPECT_FALSE(IsEmailPart(u"\u0100"_s)); // above 255: in no set
}
