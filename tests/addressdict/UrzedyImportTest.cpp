// The tax-office list: the synthetic example list and the lines it refuses.

#include "KwadrelTestFiles.h"
#include "TestSupport.h"
#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"
#include "uUrzedyImport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace KwadrelTest;

namespace {

const QString cExample = QStringLiteral(KWADREL_TEST_DATA "/urzedy_przyklad.csv");
const QString cGoodRow = QStringLiteral("US Testowo;Jan;ul. A 1;;;;;;;;;10101010005678902");

QString ListWith(const QString& Row) {
    return cUrzedyHeader + u'\n' + cGoodRow + u'\n' + Row + u'\n';
}

} // namespace

TEST(UrzedyImport, ReadsTheExampleListTrimmed) {
    TKwadrelTable offices;
    QString error;
    ASSERT_TRUE(ReadUrzedy(cExample, offices, error)) << error.toStdString();
    ASSERT_EQ(offices.Rows(), 3);
    EXPECT_EQ(offices.Columns, 13);
    EXPECT_EQ(offices.Cell(0, cUrzadKod), QString()) << "a list without codes";
    EXPECT_EQ(offices.Cell(0, 0), QStringLiteral("Urząd Skarbowy Przykładowo-Północ"));
    EXPECT_EQ(offices.Cell(0, 5), QStringLiteral("76101010100012345621000000"));
    EXPECT_EQ(offices.Cell(1, 11), QStringLiteral("10101010005678902"));
    EXPECT_EQ(offices.Cell(1, 5), QString());
    EXPECT_EQ(offices.Cell(2, 3), QStringLiteral("26 1010 1010 0090 1234 2300 0000"));
}

struct TBadOffice {
    const char* Case;
    const char* Row;
    const char* Expected;
};

class UrzedyDamage : public ::testing::TestWithParam<TBadOffice> {};

TEST_P(UrzedyDamage, IsRefusedNamingTheLine) {
    TKwadrelTable offices;
    QString error;
    EXPECT_FALSE(
        ReadUrzedy(WritePublished(QStringLiteral("urzedy.csv"), ListWith(QString::fromUtf8(GetParam().Row))),
                   offices, error));
    EXPECT_TRUE(
        error.contains(QStringLiteral("urzedy.csv”, wiersz 3: ") + QString::fromUtf8(GetParam().Expected)))
        << error.toStdString();
    EXPECT_EQ(offices.Rows(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, UrzedyDamage,
    ::testing::Values(
        TBadOffice{"WrongCheckDigits", "US B;;;74101010100012345623000000;;;;;;;;", "pole RachPit „74101010"},
        TBadOffice{"ShortAccount", "US B;;;;;;2610101010009012342200000;;;;;", "pole RachVat"},
        TBadOffice{"LettersInAccount", "US B;;;;;;;;;;67101010100012345627O00000;", "pole RachInD"},
        TBadOffice{"MiddleDigitsTooShort", "US B;;;;;;;;;;;1010101000567890",
                   "pole RachDoch „1010101000567890” nie jest 17"},
        TBadOffice{"ElevenFields", "US B;;;;;;;;;;", "oczekiwano 12 pól"},
        TBadOffice{"NoName", " ;Jan;;;;;;;;;;", "pusta nazwa urzędu"},
        TBadOffice{"SameOfficeTwice", "us testowo;;;;;;;;;;;", "urząd „us testowo” występuje drugi raz"}),
    [](const auto& Info) { return std::string(Info.param.Case); });

TEST(UrzedyImport, AListWithCodesReadsThemAndRefusesABadOrRepeatedCode) {
    const QString head = cUrzedyCodedHeader + u'\n';
    TKwadrelTable offices;
    QString error;
    ASSERT_TRUE(ReadUrzedy(WritePublished(QStringLiteral("kody.csv"), head + QStringLiteral("0404;US A;;;;;;;;;;;\n")),
                           offices, error))
        << error.toStdString();
    EXPECT_EQ(offices.Cell(0, cUrzadNazwa), QStringLiteral("US A"));
    EXPECT_EQ(offices.Cell(0, cUrzadKod), QStringLiteral("0404"));
    const std::pair<const char*, const char*> bad[] = {
        {"404;US A;;;;;;;;;;;\n", "wiersz 2: kod urzędu „404” nie jest czterema cyframi"},
        {"0404;US A;;;;;;;;;;;\n0404;US B;;;;;;;;;;;\n", "wiersz 3: kod urzędu 0404 występuje drugi raz"},
    };
    for (const auto& [rows, expected] : bad) {
        EXPECT_FALSE(ReadUrzedy(WritePublished(QStringLiteral("kody.csv"), head + QString::fromUtf8(rows)),
                                offices, error));
        EXPECT_TRUE(error.contains(QString::fromUtf8(expected))) << error.toStdString();
    }
}

TEST(UrzedyInstall, InstallsAndKeepsThePreviousListWhenRefused) {
    const QString folder = TestSupport::NewTempDir();
    int count = 0;
    QString error;
    ASSERT_TRUE(InstallUrzedy(cExample, folder, false, count, error)) << error.toStdString();
    EXPECT_EQ(count, 3);
    const QString installed = QDir(folder).filePath(cUrzedyStoreFile);
    const QByteArray before = ReadBytes(installed);
    EXPECT_FALSE(
        InstallUrzedy(WritePublished(QStringLiteral("urzedy.csv"), ListWith(QStringLiteral("x;;;1;;;;;;;;"))),
                      folder, false, count, error));
    EXPECT_EQ(ReadBytes(installed), before);
}
