// The XLSX file: opened again as the zip it is, dates are dates, formula-looking values
// are text; a cancelled export leaves the earlier file alone.

#include "TestSupport.h"
#include "uSpreadsheetExport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using namespace SpreadsheetExport;

const QList<QStringList> kRows = {
    {QStringLiteral("Zażółć \"gęślą\""), QStringLiteral("2024-02-29"), QStringLiteral("=1+1")},
    {QStringLiteral("-5"), QStringLiteral("2024-02-30"), QStringLiteral("@SUMA(A1)")},
};

TTable Table() {
    return TTable{{QStringLiteral("Nazwa"), QStringLiteral("Data"), QStringLiteral("Uwagi")},
                  static_cast<int>(kRows.size()), [](int R) { return kRows[R]; }};
}

QByteArray Unzip(const QString& Path, const QString& Member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), Path, Member});
    if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

} // namespace

TEST(XlsxExportTest, WritesAWorkbookWithDatesAsDatesAndFormulasAsText) {
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    const QString path = TestSupport::NewTempDir(QStringLiteral("xlsx")) + QStringLiteral("/lista.xlsx");
    const TResult result = Export(Table(), fmXlsx, path);
    ASSERT_TRUE(result.Ok) << result.Error.toStdString();
    const QString sheet = QString::fromUtf8(Unzip(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_FALSE(sheet.contains(QStringLiteral("<f>"))) << "no cell is a formula";
    for (const QString& text : {QStringLiteral("Nazwa"), QStringLiteral("Zażółć \"gęślą\""),
                                QStringLiteral("=1+1"), QStringLiteral("@SUMA(A1)"), QStringLiteral(">-5<"),
                                QStringLiteral("2024-02-30")})
        EXPECT_TRUE(sheet.contains(text)) << text.toStdString();
    // 2024-02-29 is day 45351 of the spreadsheet calendar, stored as a number with a date style.
    EXPECT_TRUE(sheet.contains(QRegularExpression(QStringLiteral("<c r=\"B2\" s=\"\\d+\"><v>45351</v></c>"))))
        << sheet.toStdString();
    EXPECT_FALSE(sheet.contains(QStringLiteral("r=\"B3\" s="))) << "an impossible date stays text";
    EXPECT_TRUE(Unzip(path, QStringLiteral("xl/styles.xml")).contains("yyyy-mm-dd"));
}

TEST(XlsxExportTest, CancelledExportKeepsTheEarlierFileAndLeavesNoPart) {
    const QString dir = TestSupport::NewTempDir(QStringLiteral("cancel"));
    for (const TFormat format : {fmCsv, fmXlsx}) {
        const QString path = dir + (format == fmCsv ? QStringLiteral("/a.csv") : QStringLiteral("/a.xlsx"));
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        const TResult result = Export(Table(), format, path, [](int, int) { return false; });
        EXPECT_TRUE(result.Cancelled);
        EXPECT_FALSE(result.Ok);
        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
        earlier.close();
    }
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 2);
    const TResult refused = Export(Table(), fmXlsx, dir + QStringLiteral("/brak/a.xlsx"));
    EXPECT_FALSE(refused.Ok);
    EXPECT_FALSE(refused.Error.isEmpty());
}
