// Reading the TERYT files: what becomes a commune and a locality, and every way a
// damaged file is refused with a message naming its line.

#include "KwadrelTestFiles.h"
#include "TestSupport.h"
#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"
#include "uTerytImport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace KwadrelTest;

namespace {

struct TRead {
    bool Ok;
    TTerytData Data;
    TTerytStats Stats;
    QString Error;
};

TRead Read(const QString& Terc, const QString& Simc) {
    TRead r{};
    r.Ok = ReadTeryt(WritePublished(QStringLiteral("TERC.csv"), Terc),
                     WritePublished(QStringLiteral("SIMC.csv"), Simc), r.Data, r.Stats, r.Error);
    return r;
}

QString Tabbed(const char* Text) {
    return QString::fromUtf8(Text).replace(u'|', u'\t');
}

} // namespace

TEST(TerytImport, BuildsTheDictionariesFromThePublishedForm) {
    const TRead r = Read(TercLines(), SimcLines());
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_EQ(RowsOf(r.Data.Wojewodztwa), QStringList{Tabbed("30|TESTOWE")});
    EXPECT_EQ(RowsOf(r.Data.Powiaty),
              (QStringList{Tabbed("TESTOWE|3001|lipowski"), Tabbed("TESTOWE|3061|Grodno Wielkie")}));
    // Urban, rural and urban-rural communes; the town and rural area of an urban-rural
    // commune and a city's delegation are not communes.
    EXPECT_EQ(RowsOf(r.Data.Gminy), (QStringList{Tabbed("TESTOWE|lipowski|3001011|Lipowo"),
                                                 Tabbed("TESTOWE|lipowski|3001022|Lipowo"),
                                                 Tabbed("TESTOWE|lipowski|3001033|Dębnik"),
                                                 Tabbed("TESTOWE|Grodno Wielkie|3061011|Grodno Wielkie")}));
    // Independent localities by commune, names in Polish order; the same village listed
    // twice in one commune and once more in the same-named urban commune is kept once;
    // parts and the delegation are left out; a quote inside a name is a letter.
    EXPECT_EQ(
        RowsOf(r.Data.Miejscowosci),
        (QStringList{Tabbed("TESTOWE|lipowski|Lipowo|Lipowo"), Tabbed("TESTOWE|lipowski|Lipowo|Zalesie"),
                     Tabbed("TESTOWE|lipowski|Dębnik|Albinów"), Tabbed("TESTOWE|lipowski|Dębnik|Dębnik"),
                     Tabbed("TESTOWE|lipowski|Dębnik|Mazewo Górne\"B\""),
                     Tabbed("TESTOWE|Grodno Wielkie|Grodno Wielkie|Grodno Wielkie")}));
    EXPECT_EQ(r.Stats.Miejscowosci, 6);
    EXPECT_EQ(r.Stats.CzesciPominiete, 2);
    EXPECT_EQ(r.Stats.DzielniceWlaczone, 1);
    EXPECT_EQ(r.Stats.Powtorzenia, 2);
}

TEST(TerytImport, AcceptsLfLineEndsWithoutByteOrderMarkAndTrailingBlankLines) {
    const QString terc =
        WriteBytes(QStringLiteral("TERC.csv"), (TercLines() + QStringLiteral("\n\n")).toUtf8());
    const QString simc = WriteBytes(QStringLiteral("SIMC.csv"), SimcLines().toUtf8());
    TTerytData data;
    TTerytStats stats;
    QString error;
    ASSERT_TRUE(ReadTeryt(terc, simc, data, stats, error)) << error.toStdString();
    EXPECT_EQ(stats.Gminy, 4);
    EXPECT_EQ(stats.Miejscowosci, 6);
}

// A damaged file: which file, the line named and a word of the reason.
struct TDamage {
    const char* Case;
    bool InTerc;
    std::function<QString(QString)> Damage;
    const char* Expected;
};

class TerytDamage : public ::testing::TestWithParam<TDamage> {};

QString ReplaceLine(const QString& Text, int Line, const QString& With) {
    QStringList lines = Text.split(u'\n');
    lines[Line - 1] = With;
    return lines.join(u'\n');
}

TEST_P(TerytDamage, IsRefusedNamingTheLine) {
    const TDamage& d = GetParam();
    const TRead r =
        d.InTerc ? Read(d.Damage(TercLines()), SimcLines()) : Read(TercLines(), d.Damage(SimcLines()));
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Error.contains(QString::fromUtf8(d.Expected))) << r.Error.toStdString();
    EXPECT_EQ(r.Data.Miejscowosci.Rows(), 0);
    EXPECT_EQ(r.Data.Wojewodztwa.Rows(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TerytDamage,
    ::testing::Values(
        TDamage{"CutMidLine", false, [](QString s) { return s.left(s.size() - 20); },
                "SIMC.csv”, wiersz 12: wiersz urywa się"},
        // Cut at a line end every line reads well; a unit left without localities shows the cut.
        TDamage{"CutAtALineEnd", false, [](QString s) { return s.section(u'\n', 0, -5) + u'\n'; },
                "nie zawiera żadnej miejscowości jednostki 3061029 (Grodno Wielkie-Północ)"},
        TDamage{"CutInsideTheDate", false, [](QString s) { return s.left(s.size() - 4) + u'\n'; },
                "wiersz 12: pole STAN_NA"},
        TDamage{"MissingField", true,
                [](QString s) { return ReplaceLine(s, 4, "30;01;01;Lipowo;gmina;2020-01-01"); },
                "TERC.csv”, wiersz 4: oczekiwano 7 pól oddzielonych średnikiem, jest 6"},
        TDamage{
            "UnknownCommune", false,
            [](QString s) { return ReplaceLine(s, 3, "30;01;07;2;01;1;Nowe;1000002;1000002;2020-01-01"); },
            "wiersz 3: gmina 3001072 nie występuje w pliku TERC"},
        TDamage{
            "DelegationNotInTerc", false,
            [](QString s) { return ReplaceLine(s, 2, "30;01;03;9;01;1;Nowe;1000001;1000001;2020-01-01"); },
            "wiersz 2: gmina 3001039 nie występuje w pliku TERC"},
        TDamage{"FilesSwapped", true, [](QString) { return SimcLines(); }, "wiersz 1: oczekiwano nagłówka"},
        TDamage{"BlankLineInside", false, [](QString s) { return ReplaceLine(s, 5, ""); },
                "wiersz 5: pusty wiersz wewnątrz pliku"},
        TDamage{"CountyBeforeProvince", true,
                [](QString s) { return ReplaceLine(s, 2, "31;;;;INNE;województwo;2020-01-01"); },
                "wiersz 3: województwo 30 nie występuje wcześniej"},
        TDamage{"CodeNotDigits", true,
                [](QString s) { return ReplaceLine(s, 3, "30;0A;;;lipowski;powiat;2020-01-01"); },
                "wiersz 3: pole POW „0A”"},
        TDamage{"CommuneTwice", true,
                [](QString s) { return ReplaceLine(s, 5, "30;01;01;1;Lipowo;gmina miejska;2020-01-01"); },
                "wiersz 5: gmina 3001011 występuje drugi raz"},
        TDamage{"UnknownCommuneKind", true,
                [](QString s) { return ReplaceLine(s, 5, "30;01;02;7;Lipowo;gmina;2020-01-01"); },
                "wiersz 5: nieznany rodzaj gminy"},
        TDamage{"TabInName", false,
                [](QString s) {
                    return ReplaceLine(s, 2, "30;01;01;1;96;1;Lip\towo;1000001;1000001;2020-01-01");
                },
                "wiersz 2: wiersz zawiera znak sterujący"},
        TDamage{"HeaderOnly", false, [](QString s) { return s.left(s.indexOf(u'\n') + 1); },
                "nie zawiera danych"},
        TDamage{"Empty", true, [](QString) { return QString(); }, "jest pusty"}),
    [](const auto& Info) { return std::string(Info.param.Case); });

TEST(TerytImport, RefusesTextThatIsNotUtf8NamingTheLine) {
    QByteArray terc = TercLines().toUtf8();
    terc.replace("lipowski", "lipowski\xB3"); // a Windows-1250 letter
    TTerytData data;
    TTerytStats stats;
    QString error;
    EXPECT_FALSE(ReadTeryt(WriteBytes(QStringLiteral("TERC.csv"), terc),
                           WritePublished(QStringLiteral("SIMC.csv"), SimcLines()), data, stats, error));
    EXPECT_TRUE(error.contains(QStringLiteral("wiersz 3: tekst nie jest zapisany w UTF-8")))
        << error.toStdString();
}

TEST(TerytInstall, RefusedFilesLeaveThePreviousDictionary) {
    const QString folder = TestSupport::NewTempDir();
    TTerytStats stats;
    QString error;
    const QString terc = WritePublished(QStringLiteral("TERC.csv"), TercLines());
    ASSERT_TRUE(InstallTeryt(terc, WritePublished(QStringLiteral("SIMC.csv"), SimcLines()), folder, false,
                             stats, error))
        << error.toStdString();
    const QString installed = QDir(folder).filePath(cTerytStoreFile);
    const QByteArray before = ReadBytes(installed);
    ASSERT_FALSE(before.isEmpty());

    // Cut inside a line and at a line end.
    for (const QString& cut : {SimcLines().chopped(30), SimcLines().section(u'\n', 0, -5) + u'\n'}) {
        EXPECT_FALSE(
            InstallTeryt(terc, WritePublished(QStringLiteral("SIMC.csv"), cut), folder, false, stats, error));
        EXPECT_EQ(ReadBytes(installed), before);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{cTerytStoreFile})
        << "no temporary file left behind";

    // Checking alone installs nothing, even good files.
    const QString other = TestSupport::NewTempDir();
    EXPECT_TRUE(InstallTeryt(terc, WritePublished(QStringLiteral("SIMC.csv"), SimcLines()), other, true,
                             stats, error));
    EXPECT_TRUE(QDir(other).isEmpty());
}

TEST(TerytStore, ReadsBackWhatWasWrittenAndRefusesADamagedFileWhole) {
    const QString folder = TestSupport::NewTempDir();
    TTerytStats stats;
    QString error;
    ASSERT_TRUE(InstallTeryt(WritePublished(QStringLiteral("TERC.csv"), TercLines()),
                             WritePublished(QStringLiteral("SIMC.csv"), SimcLines()), folder, false, stats,
                             error));
    const QString path = QDir(folder).filePath(cTerytStoreFile);
    TKwadrelTable w(2), p(3), g(4), m(4);
    const std::vector<TStoreSection> sections{{QStringLiteral("W"), &w},
                                              {QStringLiteral("P"), &p},
                                              {QStringLiteral("G"), &g},
                                              {QStringLiteral("M"), &m}};
    ASSERT_TRUE(ReadStore(path, cTerytStoreKind, sections, error)) << error.toStdString();
    const TRead direct = Read(TercLines(), SimcLines());
    EXPECT_EQ(RowsOf(m), RowsOf(direct.Data.Miejscowosci));
    EXPECT_EQ(RowsOf(g), RowsOf(direct.Data.Gminy));

    // A copy cut short loses its closing line; one with a row removed disagrees with it.
    const QByteArray whole = ReadBytes(path);
    QByteArray withoutRow = whole;
    withoutRow.remove(withoutRow.indexOf("\nM\t") + 1,
                      withoutRow.indexOf('\n', withoutRow.indexOf("\nM\t") + 1) -
                          withoutRow.indexOf("\nM\t"));
    for (const QByteArray& damaged :
         {whole.left(whole.size() / 2), withoutRow, QByteArray("KWADREL2015\tURZEDY\t1\n")}) {
        const QString copy = WriteBytes(cTerytStoreFile, damaged);
        EXPECT_FALSE(ReadStore(copy, cTerytStoreKind, sections, error));
        EXPECT_EQ(w.Rows() + p.Rows() + g.Rows() + m.Rows(), 0) << error.toStdString();
    }
}
