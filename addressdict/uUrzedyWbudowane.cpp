#include "uUrzedyWbudowane.h"

#include "uUrzedyImport.h"

#include <QHash>
#include <QStringList>

namespace {

QString Capitalised(const QString& Word) {
    QString w = Word.toLower();
    bool start = true;
    for (QChar& c : w) {
        if (start)
            c = c.toUpper();
        start = c == u'-';
    }
    return w;
}

// The genitive of an ordinal or adjective before "Urząd": Pierwszy -> Pierwszego,
// Drugi -> Drugiego, Dolnośląski -> Dolnośląskiego.
QString AdjectiveGenitive(const QString& Word) {
    if (Word.endsWith(u'y'))
        return Word.chopped(1) + QStringLiteral("ego");
    if (Word.endsWith(u'i'))
        return Word + QStringLiteral("ego");
    return Word;
}

TKwadrelTable ParseBuiltIn() {
    TKwadrelTable offices(cUrzadColumns);
    const QStringList lines = QString::fromUtf8(BuiltInOfficeList()).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(u';');
        if (f.size() != 2)
            continue;
        QStringList row(cUrzadColumns);
        row[cUrzadNazwa] = OfficeWrittenName(f[1].trimmed());
        row[cUrzadNaczelnik] = OfficeHeadTitle(row[cUrzadNazwa]);
        row[cUrzadKod] = f[0].trimmed();
        offices.Cells.insert(offices.Cells.end(), row.begin(), row.end());
    }
    return offices;
}

} // namespace

QString OfficeWrittenName(const QString& MinistryName) {
    static const QStringList prepositions{QStringLiteral("w"), QStringLiteral("we"), QStringLiteral("nad"),
                                          QStringLiteral("pod")};
    QStringList words = MinistryName.split(u' ', Qt::SkipEmptyParts);
    for (QString& w : words)
        w = prepositions.contains(w.toLower()) ? w.toLower() : Capitalised(w);
    return words.join(u' ');
}

QString OfficeHeadTitle(const QString& WrittenName) {
    QStringList words = WrittenName.split(u' ', Qt::SkipEmptyParts);
    const qsizetype office = words.indexOf(QStringLiteral("Urząd"));
    if (office < 0 || office + 1 >= words.size() || words[office + 1] != QLatin1String("Skarbowy"))
        return QString();
    for (qsizetype i = 0; i < office; ++i)
        words[i] = AdjectiveGenitive(words[i]);
    words[office] = QStringLiteral("Urzędu");
    words[office + 1] = QStringLiteral("Skarbowego");
    return QStringLiteral("Naczelnik ") + words.join(u' ');
}

const TKwadrelTable& BuiltInOffices() {
    static const TKwadrelTable offices = ParseBuiltIn();
    return offices;
}

TKwadrelTable MergeOffices(const TKwadrelTable& BuiltIn, const TKwadrelTable& Imported) {
    TKwadrelTable merged = BuiltIn;
    QHash<QString, int> byCode, byName;
    for (int r = 0; r < BuiltIn.Rows(); ++r) {
        byCode.insert(BuiltIn.Cell(r, cUrzadKod), r);
        byName.insert(BuiltIn.Cell(r, cUrzadNazwa), r);
    }
    const auto cell = [&merged](int Row, int Column) -> QString& {
        return merged.Cells[size_t(Row) * size_t(cUrzadColumns) + size_t(Column)];
    };
    std::vector<int> extra;
    for (int r = 0; r < Imported.Rows(); ++r) {
        const QString code = Imported.Cell(r, cUrzadKod);
        const int target = code.isEmpty() ? byName.value(Imported.Cell(r, cUrzadNazwa), -1)
                                          : byCode.value(code, -1);
        if (target < 0) {
            extra.push_back(r);
            continue;
        }
        const QString builtInHead = cell(target, cUrzadNaczelnik);
        const QString builtInCode = cell(target, cUrzadKod);
        for (int c = 0; c < cUrzadColumns; ++c)
            cell(target, c) = Imported.Cell(r, c);
        if (cell(target, cUrzadNaczelnik).isEmpty())
            cell(target, cUrzadNaczelnik) = builtInHead;
        cell(target, cUrzadKod) = builtInCode;
    }
    for (int r : extra)
        for (int c = 0; c < cUrzadColumns; ++c)
            merged.Cells.push_back(Imported.Cell(r, c));
    return merged;
}
