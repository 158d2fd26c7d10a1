// Binding the real library from the program's folder (and only from there), broken
// stand-ins of it, and the core object creating and ending the loader.

#include "KwadrelTestFiles.h"
#include "TestSupport.h"
#include "uCore.h"
#include "uDictionaryModule.h"
#include "uDictionaryTables.h"
#include "uInitializeTableThread.h"
#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// A fresh program folder holding a copy of the real library.
QString ProgramFolderWithLibrary() {
    const QString folder = TestSupport::NewTempDir(QStringLiteral("program"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(KWADREL_LIBRARY), TInitializeTableThread::LibraryPath(folder)));
    return folder;
}

class LibraryBinding : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(KwadrelDataFolder()).removeRecursively();
        TTerytStats stats;
        QString error;
        int count = 0;
        ASSERT_TRUE(
            InstallTeryt(KwadrelTest::WritePublished(QStringLiteral("TERC.csv"), KwadrelTest::TercLines()),
                         KwadrelTest::WritePublished(QStringLiteral("SIMC.csv"), KwadrelTest::SimcLines()),
                         QString(), false, stats, error))
            << error.toStdString();
        ASSERT_TRUE(
            InstallUrzedy(QStringLiteral(EWIDAR_SOURCE_DIR "/tests/addressdict/data/urzedy_przyklad.csv"),
                          QString(), false, count, error));
    }
    void TearDown() override { QDir(KwadrelDataFolder()).removeRecursively(); }

    static int TotalRows() {
        int rows = 0;
        for (int t = 0; t < cDictionaryTypeCount; ++t)
            rows += TableRowCount(TDictionaryType(t));
        return rows;
    }
};

} // namespace

TEST_F(LibraryBinding, TheLibraryBesideTheProgramLoadsEveryTableAndIsUnloadedAfterwards) {
    TInitializeTableThread thread(ProgramFolderWithLibrary());
    thread.wait();
    EXPECT_EQ(TableRowCount(dtWojewodztwa), 1);
    EXPECT_EQ(TableRowCount(dtPowiaty), 2);
    EXPECT_EQ(TableRowCount(dtGminy), 4);
    EXPECT_EQ(TableRowCount(dtMiejscowosci), 6);
    // The 400 built-in offices, then the three example offices that match none of them.
    ASSERT_EQ(TableRowCount(dtUS), 403);
    EXPECT_EQ(DictionaryTables().UrzedySkarbowe[0].Kod, QStringLiteral("0202"));
    EXPECT_EQ(DictionaryTables().UrzedySkarbowe[0].Naczelnik,
              QStringLiteral("Naczelnik Urzędu Skarbowego w Bolesławcu"));
    // The office given only by its middle digits has its accounts built.
    EXPECT_EQ(DictionaryTables().UrzedySkarbowe[401].RachCit, QStringLiteral("69101010100056789021000000"));
    EXPECT_EQ(DictionaryTables().UrzedySkarbowe[401].RachPitStd, QString());
    EXPECT_FALSE(thread.FDLLHandle) << "the library is unloaded when the loading ends";
    EXPECT_FALSE(thread.FAdrDictIntf);
}

TEST_F(LibraryBinding, BrokenOrMissingLibrariesLeaveEveryTableEmpty) {
    for (const QString& folder :
         {TestSupport::NewTempDir(QStringLiteral("nolibrary")),
          QStringLiteral(KWADREL_FIXTURE_DIR "/noexport"), QStringLiteral(KWADREL_FIXTURE_DIR "/nullintf")}) {
        TInitializeTableThread thread(folder);
        thread.wait();
        EXPECT_FALSE(thread.FAdrDictIntf);
        EXPECT_EQ(TotalRows(), 0) << folder.toStdString();
        for (int t = 0; t < cDictionaryTypeCount; ++t)
            EXPECT_TRUE(TableLoaded(TDictionaryType(t)));
        EXPECT_FALSE(thread.FDLLHandle);
    }
}

TEST_F(LibraryBinding, ALibraryOutsideTheProgramFolderIsNeverLoaded) {
    // The current folder and "..\..\Mapolin\out" below it both hold the real library.
    const QString root = TestSupport::NewTempDir(QStringLiteral("planted"));
    const QString cwd = root + QStringLiteral("/a/b");
    QDir().mkpath(cwd);
    QDir().mkpath(root + QStringLiteral("/Mapolin/out"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KWADREL_LIBRARY), TInitializeTableThread::LibraryPath(cwd)));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KWADREL_LIBRARY),
                            TInitializeTableThread::LibraryPath(root + QStringLiteral("/Mapolin/out"))));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd));
    for (const QString& folder : {TestSupport::NewTempDir(QStringLiteral("program")), QStringLiteral("."),
                                  QStringLiteral("../../Mapolin/out")}) {
        TInitializeTableThread thread(folder);
        thread.wait();
        EXPECT_EQ(TotalRows(), 0) << folder.toStdString();
    }
    QDir::setCurrent(previous);
}

TEST_F(LibraryBinding, TheCoreStartsTheLoaderAndEndingDuringTheLoadIsClean) {
    TestSupport::ClearSettings();
    // The real dictionaries when at hand, so that the load is still running at the end.
    if (!KwadrelTest::RealTerytFolder().isEmpty()) {
        TTerytStats stats;
        QString error;
        ASSERT_TRUE(
            InstallTeryt(KwadrelTest::RealTerc(), KwadrelTest::RealSimc(), QString(), false, stats, error));
    }
    const QString folder = ProgramFolderWithLibrary();
    TCore* core = CreateCore(folder);
    ASSERT_TRUE(core->FInitializeTableThread);
    ASSERT_TRUE(core->FDictionaryModule);
    QElapsedTimer timer;
    timer.start();
    DestroyCore();
    EXPECT_LT(timer.elapsed(), 2000);
    for (int t = 0; t < cDictionaryTypeCount; ++t)
        EXPECT_TRUE(TableLoaded(TDictionaryType(t)));

    // A core left to finish: the module answers from the loaded tables.
    core = CreateCore(folder);
    EXPECT_FALSE(core->FDictionaryModule->WojewodztwaCommaText().isEmpty());
    core->FInitializeTableThread->wait();
    EXPECT_GT(TableRowCount(dtMiejscowosci), 0);
    DestroyCore();
}
