// The official TERYT files (../shared/data/teryt beside the repository): the counts,
// every independent locality findable by name, county and commune, and damaged copies.

#include "KwadrelTestFiles.h"
#include "TestSupport.h"
#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"
#include "uTerytImport.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

using namespace KwadrelTest;

namespace {

QStringList DataLines(const QString& Path) {
    QString text = QString::fromUtf8(ReadBytes(Path));
    text.remove(QChar(0xFEFF));
    text.remove(u'\r');
    QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    lines.removeFirst();
    return lines;
}

// Province, county, commune and name of every locality that must be offered, worked
// out here from the two files on their own.
QSet<QString> ExpectedLocalities() {
    QHash<QString, QString> names; // "WOJ", "WOJPOW", "WOJPOWGMIRODZ"
    QHash<QString, QString> city;  // "WOJPOW" -> name of its urban commune
    for (const QString& line : DataLines(RealTerc())) {
        const QStringList f = line.split(u';');
        names.insert(f[0] + f[1] + f[2] + f[3], f[4]);
        if (f[3] == u'1')
            city.insert(f[0] + f[1], f[4]);
    }
    QSet<QString> expected;
    for (const QString& line : DataLines(RealSimc())) {
        const QStringList f = line.split(u';');
        const bool cityPart = f[3] == u'8' || f[3] == u'9';
        if (f[7] != f[8] || (cityPart && (f[4] == QLatin1String("95") || f[4] == QLatin1String("98"))))
            continue;
        const QString commune = cityPart ? city.value(f[0] + f[1]) : names.value(f[0] + f[1] + f[2] + f[3]);
        expected.insert(QStringList{names.value(f[0]), names.value(f[0] + f[1]), commune, f[6]}.join(u'\t'));
    }
    return expected;
}

} // namespace

TEST(TerytRealData, ImportsEveryProvinceCountyCommuneAndIndependentLocality) {
    SKIP_WITHOUT_REAL_TERYT();
    TTerytData data;
    TTerytStats stats;
    QString error;
    ASSERT_TRUE(ReadTeryt(RealTerc(), RealSimc(), data, stats, error)) << error.toStdString();
    EXPECT_EQ(stats.Wojewodztwa, 16);
    EXPECT_EQ(stats.Powiaty, 380);
    EXPECT_EQ(stats.Gminy, 2477);
    EXPECT_EQ(stats.DzielniceWlaczone, 37);

    const QStringList rows = RowsOf(data.Miejscowosci);
    const QSet<QString> offered(rows.begin(), rows.end());
    EXPECT_EQ(offered.size(), rows.size()) << "identical rows are offered once";
    const QSet<QString> expected = ExpectedLocalities();
    int missing = 0;
    for (const QString& l : expected)
        if (!offered.contains(l) && ++missing <= 5)
            ADD_FAILURE() << "not offered: " << l.toStdString();
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(offered, expected);
    std::printf("[ TERYT    ] %d localities offered; %d parts of localities left out, %d districts and "
                "delegations folded into their cities, %d identical rows kept once\n",
                stats.Miejscowosci, stats.CzesciPominiete, stats.DzielniceWlaczone, stats.Powtorzenia);
}

TEST(TerytRealData, DamagedCopiesAreRefusedAndThePreviousDictionaryStays) {
    SKIP_WITHOUT_REAL_TERYT();
    const QString folder = TestSupport::NewTempDir();
    TTerytStats stats;
    QString error;
    ASSERT_TRUE(InstallTeryt(RealTerc(), RealSimc(), folder, false, stats, error)) << error.toStdString();
    const QString installed = QDir(folder).filePath(cTerytStoreFile);
    const QByteArray before = ReadBytes(installed);

    // A download cut off in the middle of a line.
    const QByteArray simc = ReadBytes(RealSimc());
    const qsizetype cut = simc.size() * 3 / 5;
    const int cutLine = int(simc.left(cut).count('\n')) + 1;
    ASSERT_NE(simc[cut - 1], '\n');
    EXPECT_FALSE(InstallTeryt(RealTerc(), WriteBytes(QStringLiteral("SIMC.csv"), simc.left(cut)), folder,
                              false, stats, error));
    EXPECT_TRUE(error.contains(QStringLiteral("wiersz %1:").arg(cutLine))) << error.toStdString();

    // A TERC line that lost a field.
    QList<QByteArray> terc = ReadBytes(RealTerc()).split('\n');
    terc[1000] = terc[1000].left(terc[1000].lastIndexOf(';'));
    EXPECT_FALSE(InstallTeryt(WriteBytes(QStringLiteral("TERC.csv"), terc.join('\n')), RealSimc(), folder,
                              false, stats, error));
    EXPECT_TRUE(error.contains(QStringLiteral("TERC.csv”, wiersz 1001: oczekiwano 7 pól")))
        << error.toStdString();

    EXPECT_EQ(ReadBytes(installed), before);
}
