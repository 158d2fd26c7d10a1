#pragma once
// Hand-made TERYT files and helpers shared by the address-dictionary tests.

#include <QString>
#include <QStringList>

namespace KwadrelTest {

// A small TERC and SIMC in the published form's columns (invented names).
QString TercLines();
QString SimcLines();

// Writes Text into a new file of a fresh folder as the statistics office publishes:
// byte-order mark, CRLF line ends (each line, the last one too). Returns its path.
QString WritePublished(const QString& Name, const QString& Text);
// Writes raw bytes into a new file; returns its path.
QString WriteBytes(const QString& Name, const QByteArray& Bytes);
QByteArray ReadBytes(const QString& Path);

// Folder of the official TERYT files beside the repository (../shared/data/teryt), or
// empty when absent.
QString RealTerytFolder();
QString RealTerc();
QString RealSimc();

// The tab-joined cells of every row of a table-like list, for comparisons.
template <class TTable> QStringList RowsOf(const TTable& Table) {
    QStringList rows;
    for (int r = 0; r < Table.Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < Table.Columns; ++c)
            cells << Table.Cell(r, c);
        rows << cells.join(u'\t');
    }
    return rows;
}

} // namespace KwadrelTest

#define SKIP_WITHOUT_REAL_TERYT()                                                                            \
    if (KwadrelTest::RealTerytFolder().isEmpty())                                                            \
    GTEST_SKIP() << "The official TERYT files are not in ../shared/data/teryt beside the repository; "       \
                    "skipped."
