#pragma once
// Description lines of a record, one per column of the list that shows its kind,
// the one-line summary (comma text) and the normalised search text of the lines.

#include <QString>
#include <QStringList>

#include <functional>

namespace SqlDescribe {

// Values the lines are built from: the record's own fields, the fields of a record
// it links to (by link role), and the first section of a kind that it owns.
struct TSource {
    std::function<QString(const QString& Symbol)> own;
    std::function<QString(int Role, const QString& Symbol)> linked;
    std::function<QString(int SectionKind, const QString& Symbol)> firstSection;
};

// The lines of a record of the kind at Position (1-21); as many lines as its list has columns.
QStringList Lines(int Position, const TSource& Source);
// Number of lines of a kind (the columns of its list).
int LineCount(int Position);
// Case-folded text of the lines, separated so that a search never matches across two.
QString SearchText(const QStringList& Lines);
// The key by which lists are ordered, built from SearchText: Polish alphabetical order
// (a ą b c ć … l ł … z ź ż) when the keys are compared byte by byte, as the engine's
// binary collation does. Separators and punctuation come before digits, digits before
// letters; other accented Latin letters sort with their base letter; other scripts follow.
QString SortKey(const QString& SearchText);
// The digits of an identifier (NIP, PESEL, REGON) with every separator dropped.
QString Digits(const QString& Value);
// The filter text as it is compared with SearchText.
QString NormaliseFilter(const QString& Text);
// Comma text of the lines: items with a space, comma, quote or control character
// (and empty items) in double quotes, inner quotes doubled.
QString CommaText(const QStringList& Lines);

} // namespace SqlDescribe
