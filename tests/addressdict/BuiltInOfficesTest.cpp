// The built-in tax offices: the ministry's list compiled in, every name in its written
// form and every head's title in the genitive (by rule over all rows, and a sample checked
// by hand).

#include "KwadrelTestFiles.h"
#include "uUrzedyImport.h"
#include "uUrzedyWbudowane.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// The published list as the repository keeps it, read apart from the compiled-in copy.
QList<QStringList> PublishedRows() {
    const QString text = QString::fromUtf8(
        KwadrelTest::ReadBytes(QStringLiteral(EWIDAR_SOURCE_DIR "/addressdict/data/kody_urzedow_skarbowych.csv")));
    QList<QStringList> rows;
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i)
        rows << lines[i].split(u';');
    return rows;
}

// The part of a name after "Skarbowy" / "Skarbowego": the place, which both forms share.
QString Place(const QString& Text, const QString& After) {
    const qsizetype at = Text.indexOf(After);
    return at < 0 ? QStringLiteral("<none>") : Text.mid(at + After.size());
}

TEST(BuiltInOffices, EveryPublishedOfficeInWrittenFormWithItsHeadInTheGenitive) {
    const QList<QStringList> published = PublishedRows();
    const TKwadrelTable& offices = BuiltInOffices();
    ASSERT_EQ(published.size(), 400);
    ASSERT_EQ(offices.Rows(), 400);
    ASSERT_EQ(offices.Columns, cUrzadColumns);
    // A capital only at the start of a word or of a part after a hyphen.
    const QRegularExpression capitalInside(QStringLiteral("[^\\s-]\\p{Lu}"));
    const QRegularExpression adjectiveGenitive(QStringLiteral("^(\\S+ego )*Urzędu Skarbowego"));
    QSet<QString> codes;
    for (int r = 0; r < offices.Rows(); ++r) {
        const QString name = offices.Cell(r, cUrzadNazwa), head = offices.Cell(r, cUrzadNaczelnik);
        const QString code = offices.Cell(r, cUrzadKod);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(code, published[r][0]);
        EXPECT_FALSE(codes.contains(code));
        codes.insert(code);
        EXPECT_EQ(name.toUpper(), published[r][1]) << "only the letter case differs from the list";
        EXPECT_FALSE(name.contains(capitalInside));
        EXPECT_TRUE(name.contains(QStringLiteral("Urząd Skarbowy")));
        EXPECT_FALSE(name.contains(QRegularExpression(QStringLiteral(" (W|We|Nad|Pod) "))));
        ASSERT_TRUE(head.startsWith(QStringLiteral("Naczelnik ")));
        EXPECT_TRUE(head.mid(10).contains(adjectiveGenitive)) << head.toStdString();
        EXPECT_EQ(Place(head, QStringLiteral("Skarbowego")), Place(name, QStringLiteral("Skarbowy")));
        for (int c = 2; c < cUrzadKod; ++c)
            EXPECT_TRUE(offices.Cell(r, c).isEmpty()) << "no address or account is invented";
    }
}

TEST(BuiltInOffices, ASampleCheckedByHand) {
    const struct {
        const char* Code;
        const char* Name;
        const char* Head;
    } sample[] = {
        {"0404", "Pierwszy Urząd Skarbowy w Bydgoszczy", "Naczelnik Pierwszego Urzędu Skarbowego w Bydgoszczy"},
        {"0412", "Urząd Skarbowy w Nakle nad Notecią", "Naczelnik Urzędu Skarbowego w Nakle nad Notecią"},
        {"0271", "Dolnośląski Urząd Skarbowy we Wrocławiu",
         "Naczelnik Dolnośląskiego Urzędu Skarbowego we Wrocławiu"},
        {"1436", "Drugi Urząd Skarbowy Warszawa-Śródmieście",
         "Naczelnik Drugiego Urzędu Skarbowego Warszawa-Śródmieście"},
        {"1209", "Urząd Skarbowy Kraków-Nowa Huta", "Naczelnik Urzędu Skarbowego Kraków-Nowa Huta"},
        {"1207", "Pierwszy Urząd Skarbowy Kraków", "Naczelnik Pierwszego Urzędu Skarbowego Kraków"},
        {"1071", "Łódzki Urząd Skarbowy w Łodzi", "Naczelnik Łódzkiego Urzędu Skarbowego w Łodzi"},
        {"1449", "Trzeci Urząd Skarbowy Warszawa-Śródmieście",
         "Naczelnik Trzeciego Urzędu Skarbowego Warszawa-Śródmieście"},
        {"1473", "Trzeci Mazowiecki Urząd Skarbowy w Radomiu",
         "Naczelnik Trzeciego Mazowieckiego Urzędu Skarbowego w Radomiu"},
        {"1604", "Urząd Skarbowy w Kędzierzynie-Koźlu", "Naczelnik Urzędu Skarbowego w Kędzierzynie-Koźlu"},
        {"2013", "Urząd Skarbowy w Wysokiem Mazowieckiem",
         "Naczelnik Urzędu Skarbowego w Wysokiem Mazowieckiem"},
        {"2871", "Warmińsko-Mazurski Urząd Skarbowy w Olsztynie",
         "Naczelnik Warmińsko-Mazurskiego Urzędu Skarbowego w Olsztynie"},
    };
    const TKwadrelTable& offices = BuiltInOffices();
    for (const auto& s : sample) {
        int row = -1;
        for (int r = 0; r < offices.Rows(); ++r)
            if (offices.Cell(r, cUrzadKod) == QLatin1String(s.Code))
                row = r;
        ASSERT_GE(row, 0) << s.Code;
        EXPECT_EQ(offices.Cell(row, cUrzadNazwa), QString::fromUtf8(s.Name));
        EXPECT_EQ(offices.Cell(row, cUrzadNaczelnik), QString::fromUtf8(s.Head));
    }
}

} // namespace
