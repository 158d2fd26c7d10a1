// The import tool as a user runs it: exit codes and what it prints.

#include "KwadrelTestFiles.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

using namespace KwadrelTest;

namespace {

struct TRun {
    int Code;
    QString Out, Err;
};

TRun RunTool(const QStringList& Args) {
    QProcess p;
    p.start(QStringLiteral(KWADREL_IMPORT_TOOL), Args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(ImportTool, InstallsReportsCountsAndRefusesWithTheLine) {
    const QString folder = TestSupport::NewTempDir();
    const QString terc = WritePublished(QStringLiteral("TERC.csv"), TercLines());
    TRun r = RunTool({QStringLiteral("--folder"), folder, QStringLiteral("teryt"), terc,
                      WritePublished(QStringLiteral("SIMC.csv"), SimcLines())});
    EXPECT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("4 gmin, 6 miejscowości"))) << r.Out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath(QStringLiteral("teryt.txt"))));

    r = RunTool({QStringLiteral("--folder"), folder, QStringLiteral("teryt"), terc, terc});
    EXPECT_EQ(r.Code, 1);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("wiersz 1: oczekiwano nagłówka"))) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("pozostają bez zmian")));

    r = RunTool({QStringLiteral("--sprawdz"), QStringLiteral("urzedy"),
                 QStringLiteral(KWADREL_TEST_DATA "/urzedy_przyklad.csv")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Out.startsWith(QStringLiteral("Pliki są poprawne: 3 urzędów"))) << r.Out.toStdString();

    EXPECT_EQ(RunTool({QStringLiteral("teryt"), terc}).Code, 2);
}
