// CSV quoting, the formula guard, reading back, text decoding and separators.

#include "uColumnMapping.h"
#include "uCsv.h"
#include "uSubjectFields.h"
#include "uTextEncoding.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

struct TFieldCase {
    const char* Value;
    const char* Written; // the field as written with ";"
};

const TFieldCase kFields[] = {
    {"Kowalski", "Kowalski"},
    {"Zakład \"Łąka\"", "\"Zakład \"\"Łąka\"\"\""},
    {"a;b", "\"a;b\""},
    {"a,b", "a,b"},
    {"dwie\nlinie", "\"dwie\nlinie\""},
    {"cr\r\nlf", "\"cr\r\nlf\""},
    {"=SUMA(A1:A9)", "'=SUMA(A1:A9)"},
    {"+48 600 100 200", "'+48 600 100 200"},
    {"-5", "'-5"},
    {"@cmd", "'@cmd"},
    {"'=już osłonięte", "''=już osłonięte"},
    {"'zwykły apostrof", "'zwykły apostrof"},
    {"=a;b", "\"'=a;b\""},
    {"", ""},
};

QString S(const char* Utf8) {
    return QString::fromUtf8(Utf8);
}

} // namespace

TEST(CsvTest, FieldsAreGuardedQuotedAndReadBackUnchanged) {
    for (const QChar sep : {QChar(u';'), QChar(u',')}) {
        QStringList values;
        for (const TFieldCase& c : kFields) {
            values.append(S(c.Value));
            if (sep == u';') {
                EXPECT_EQ(Csv::Quote(Csv::Guard(S(c.Value)), sep), S(c.Written)) << c.Value;
            }
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            Csv::TWriter writer(&buffer, sep);
            writer.WriteRow(values);
            writer.WriteRow(values);
        }
        const QByteArray data = buffer.data();
        ASSERT_TRUE(data.startsWith("\xEF\xBB\xBF"));
        ASSERT_EQ(TextEncoding::Detect(data), TextEncoding::enUtf8);
        const Csv::TParsed parsed = Csv::Parse(TextEncoding::Decode(data, TextEncoding::enUtf8), sep);
        ASSERT_FALSE(parsed.Unterminated);
        ASSERT_EQ(parsed.Rows.size(), 2);
        for (const QStringList& row : parsed.Rows) {
            QStringList back;
            for (const QString& cell : row)
                back.append(Csv::Unguard(cell));
            EXPECT_EQ(back, values);
        }
        // The second row starts on the line after the first row's line breaks.
        EXPECT_EQ(parsed.Lines, (QList<int>{1, 4}));
    }
}

TEST(CsvTest, ParsesLineEndsBlankLinesAndUnterminatedQuotes) {
    const Csv::TParsed mixed = Csv::Parse(u"a;b\r\nc;\"d\"\"e\"\nf\rg;;", u';');
    EXPECT_EQ(mixed.Rows, (QList<QStringList>{{"a", "b"}, {"c", "d\"e"}, {"f"}, {"g", "", ""}}));
    EXPECT_EQ(Csv::Parse(u"a\n", u';').Rows.size(), 1);
    EXPECT_EQ(Csv::Parse(u"x;y\n1;2\n3;4\n", u';', 2).Rows.size(), 2);
    const Csv::TParsed open = Csv::Parse(u"a;\"b\nc", u';');
    EXPECT_TRUE(open.Unterminated);
}

TEST(CsvTest, DecodesWindows1250AndUtf8AndGuessesTheSeparator) {
    const QString polish = S("Zażółć gęślą jaźń ŻÓŁĆ ĘŚĄŹŃ – „cudzysłów”");
    // The same text in Windows-1250, byte by byte.
    const QByteArray cp1250("Za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1 \xAF\xD3\xA3\xC6 \xCA\x8C\xA5\x8F\xD1 \x96 "
                            "\x84\x63udzys\xB3\xF3w\x94");
    EXPECT_EQ(TextEncoding::Detect(cp1250), TextEncoding::enWindows1250);
    EXPECT_EQ(TextEncoding::Decode(cp1250, TextEncoding::enWindows1250), polish);
    EXPECT_EQ(TextEncoding::Detect(polish.toUtf8()), TextEncoding::enUtf8);
    EXPECT_EQ(TextEncoding::Decode("\xEF\xBB\xBF" + polish.toUtf8(), TextEncoding::enUtf8), polish);
    EXPECT_EQ(TextEncoding::GuessSeparator(u"Nazwa;NIP;\"Miasto, gmina\"\n1,2,3,4"), u';');
    EXPECT_EQ(TextEncoding::GuessSeparator(u"Nazwa,NIP,\"a;b;c\""), u',');
}

TEST(ColumnMappingTest, MatchesCaptionsAndRemembersTheOperatorsChoiceByHeader) {
    const QStringList header{S("NAZWA PEŁNA (FIRMA)"), S("nip"), S("Kod pocztowy"), S("Uwagi"), S("e-mail"), S("NIP")};
    const ColumnMapping::TMapping guessed = ColumnMapping::Guess(header);
    ASSERT_EQ(guessed.size(), header.size());
    EXPECT_EQ(guessed[0], SubjectFields::IndexOfKey("nazwa"));
    EXPECT_EQ(guessed[1], SubjectFields::IndexOfKey("nip"));
    EXPECT_EQ(guessed[2], SubjectFields::IndexOfKey("kod_pocztowy"));
    EXPECT_EQ(guessed[3], -1);
    EXPECT_EQ(guessed[4], SubjectFields::IndexOfKey("email"));
    EXPECT_EQ(guessed[5], -1) << "a field is mapped once";
    ColumnMapping::TMapping chosen = guessed;
    chosen[3] = SubjectFields::IndexOfKey("opis");
    ASSERT_TRUE(ColumnMapping::Remember(header, chosen));
    EXPECT_EQ(ColumnMapping::Guess(header), chosen);
    EXPECT_TRUE(ColumnMapping::Remembered(header + QStringList{"X"}).isEmpty());
}
