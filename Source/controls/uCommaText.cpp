#include "uCommaText.h"

namespace {

bool IsBlank(QChar c) {
    return c.unicode() <= u' ';
}

// Reads a quoted item starting at the opening quote; leaves pos after the closing one.
QString ReadQuoted(const QString& Text, qsizetype& pos) {
    QString item;
    ++pos;
    while (pos < Text.size()) {
        const QChar c = Text.at(pos++);
        if (c != u'"') {
            item.append(c);
            continue;
        }
        if (pos < Text.size() && Text.at(pos) == u'"') {
            item.append(c);
            ++pos;
            continue;
        }
        break;
    }
    return item;
}

QString ReadPlain(const QString& Text, qsizetype& pos) {
    const qsizetype start = pos;
    while (pos < Text.size() && Text.at(pos) != u',' && !IsBlank(Text.at(pos)))
        ++pos;
    return Text.mid(start, pos - start);
}

void SkipBlanks(const QString& Text, qsizetype& pos) {
    while (pos < Text.size() && IsBlank(Text.at(pos)))
        ++pos;
}

} // namespace

QStringList ParseCommaText(const QString& Text) {
    QStringList items;
    qsizetype pos = 0;
    SkipBlanks(Text, pos);
    while (pos < Text.size()) {
        items.append(Text.at(pos) == u'"' ? ReadQuoted(Text, pos) : ReadPlain(Text, pos));
        SkipBlanks(Text, pos);
        if (pos < Text.size() && Text.at(pos) == u',') {
            ++pos;
            SkipBlanks(Text, pos);
            // A trailing comma still closes an (empty) item.
            if (pos >= Text.size())
                items.append(QString());
        }
    }
    return items;
}

QString DescribeCommaText(const QString& Text) {
    QString result;
    for (const QString& item : ParseCommaText(Text))
        if (!item.isEmpty())
            result += item + QStringLiteral(", ");
    result = result.trimmed();
    if (result.endsWith(u','))
        result.chop(1);
    return result;
}
