// Installing dictionary data from the program: the chosen files are checked and installed
// with the command-line tool's messages; a refusal names the file and changes nothing.

#include "FakeMessagePresenter.h"
#include "KwadrelTestFiles.h"
#include "TestSupport.h"
#include "uDictionaryImport.h"
#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace KwadrelTest;

namespace {

class DictionaryImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = TestSupport::NewTempDir();
        DictionaryImport::SetTargetFolder(m_folder);
    }
    void TearDown() override {
        DictionaryImport::SetFileChooser({});
        DictionaryImport::SetTargetFolder(QString());
    }
    void Choose(const QStringList& Files) {
        DictionaryImport::SetFileChooser([Files](QWidget*, const QString&, const QString&, bool) { return Files; });
    }
    QString m_folder;
    FakeMessagePresenter m_presenter;
};

TEST_F(DictionaryImportTest, TerytFilesInstallWithTheToolsReportAndARefusalKeepsThePreviousData) {
    const QString terc = WritePublished(QStringLiteral("TERC_Urzedowy.csv"), TercLines());
    const QString simc = WritePublished(QStringLiteral("SIMC_Urzedowy.csv"), SimcLines());
    Choose({simc, terc}); // in any order: told apart by their names
    ASSERT_TRUE(DictionaryImport::ImportTeryt(nullptr));
    ASSERT_EQ(m_presenter.Count(), 1);
    EXPECT_TRUE(m_presenter.Last().Text.startsWith(QStringLiteral("Zainstalowano w")));
    EXPECT_TRUE(m_presenter.Last().Text.contains(QStringLiteral("4 gmin, 6 miejscowości")));
    const QString installed = QDir(m_folder).filePath(cTerytStoreFile);
    const QByteArray before = ReadBytes(installed);
    ASSERT_FALSE(before.isEmpty());

    QString cut = SimcLines();
    cut.chop(30);
    Choose({terc, WritePublished(QStringLiteral("SIMC_ucięty.csv"), cut)});
    EXPECT_FALSE(DictionaryImport::ImportTeryt(nullptr));
    EXPECT_TRUE(m_presenter.Last().Text.contains(QStringLiteral("Plik „SIMC_ucięty.csv”, wiersz")))
        << m_presenter.Last().Text.toStdString();
    EXPECT_TRUE(m_presenter.Last().Text.endsWith(cNothingInstalledText));

    // Two files of one kind, or one file, are not a TERYT pair; a cancelled dialog says nothing.
    for (const QStringList& files : {QStringList{terc, terc}, QStringList{simc}}) {
        Choose(files);
        EXPECT_FALSE(DictionaryImport::ImportTeryt(nullptr));
        EXPECT_TRUE(m_presenter.Last().Text.startsWith(QStringLiteral("Wybierz dwa pliki: TERC i SIMC")));
    }
    const qsizetype shown = m_presenter.Count();
    Choose({});
    EXPECT_FALSE(DictionaryImport::ImportTeryt(nullptr));
    EXPECT_EQ(m_presenter.Count(), shown);
    EXPECT_EQ(ReadBytes(installed), before);
}

TEST_F(DictionaryImportTest, ATaxOfficeListInstallsWithItsCount) {
    Choose({QStringLiteral(EWIDAR_SOURCE_DIR "/tests/addressdict/data/urzedy_przyklad.csv")});
    ASSERT_TRUE(DictionaryImport::ImportUrzedy(nullptr));
    EXPECT_TRUE(m_presenter.Last().Text.endsWith(QStringLiteral(": 3 urzędów skarbowych.")));
    EXPECT_TRUE(QFileInfo::exists(QDir(m_folder).filePath(cUrzedyStoreFile)));
}

} // namespace
