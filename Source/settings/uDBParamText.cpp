#include "uDBParamText.h"

namespace DBParamText {

namespace {

// One "KEY=value" part of a parameter, as positions in its text.
struct TPart {
    qsizetype KeyStart = 0;
    qsizetype KeyEnd = 0; // at "=", or at the end of a part without one
    qsizetype ValueStart = 0;
    qsizetype ValueEnd = 0; // one past the value
    qsizetype Next = 0;     // where the next part starts
};

// End of a value starting at From: a quoted or braced value runs to its closing
// mark (past it), any other to the next ";".
qsizetype ValueEnd(const QString& Text, qsizetype From) {
    const qsizetype n = Text.size();
    if (From < n && Text.at(From) == QLatin1Char('"')) {
        qsizetype i = From + 1;
        while (i < n) {
            if (Text.at(i) == QLatin1Char('"')) {
                if (i + 1 < n && Text.at(i + 1) == QLatin1Char('"')) {
                    i += 2;
                    continue;
                }
                return i + 1;
            }
            ++i;
        }
        return n;
    }
    if (From < n && Text.at(From) == QLatin1Char('{')) {
        const qsizetype close = Text.indexOf(QLatin1Char('}'), From);
        return close < 0 ? n : close + 1;
    }
    const qsizetype semi = Text.indexOf(QLatin1Char(';'), From);
    return semi < 0 ? n : semi;
}

TPart PartAt(const QString& Text, qsizetype Start) {
    TPart p;
    p.KeyStart = Start;
    const qsizetype semi = Text.indexOf(QLatin1Char(';'), Start);
    const qsizetype eq = Text.indexOf(QLatin1Char('='), Start);
    if (eq < 0 || (semi >= 0 && semi < eq)) {
        // No value: the part runs to the next ";".
        p.KeyEnd = p.ValueStart = p.ValueEnd = semi < 0 ? Text.size() : semi;
    } else {
        p.KeyEnd = eq;
        p.ValueStart = eq + 1;
        p.ValueEnd = ValueEnd(Text, p.ValueStart);
    }
    const qsizetype next = Text.indexOf(QLatin1Char(';'), p.ValueEnd);
    p.Next = next < 0 ? Text.size() : next + 1;
    return p;
}

bool IsPasswordKey(QStringView Key) {
    return Key.contains(u"PASSWORD", Qt::CaseInsensitive) || Key.contains(u"PWD", Qt::CaseInsensitive);
}

} // namespace

QString Masked(const QString& Param) {
    QString shown = Param;
    for (qsizetype at = 0; at < Param.size();) {
        const TPart p = PartAt(Param, at);
        if (IsPasswordKey(QStringView(Param).mid(p.KeyStart, p.KeyEnd - p.KeyStart)))
            for (qsizetype i = p.ValueStart; i < p.ValueEnd; ++i)
                shown[i] = QLatin1Char('*');
        at = p.Next;
    }
    return shown;
}

QStringList SplitHistory(const QString& History) {
    return History.split(QLatin1Char('@'), Qt::SkipEmptyParts);
}

QString JoinHistory(const QStringList& Entries) {
    QString text;
    for (const QString& e : Entries)
        if (!e.isEmpty())
            text += e + QLatin1Char('@');
    return text;
}

TMatch MatchChosen(const QString& Param, const QString& Chosen) {
    if (Param.compare(Chosen, Qt::CaseInsensitive) == 0)
        return TMatch::Exact;
    const qsizetype backup = Param.indexOf(QLatin1String("BACKUP"), 0, Qt::CaseInsensitive);
    const QString head = backup < 0 ? Param : Param.left(backup);
    if (!head.isEmpty() && Chosen.contains(head, Qt::CaseInsensitive))
        return TMatch::Contained;
    return TMatch::None;
}

QString DirPath(const QString& Param) {
    for (qsizetype at = 0; at < Param.size();) {
        const TPart p = PartAt(Param, at);
        if (QStringView(Param)
                .mid(p.KeyStart, p.KeyEnd - p.KeyStart)
                .trimmed()
                .compare(u"DIR", Qt::CaseInsensitive) == 0) {
            QString value = Param.mid(p.ValueStart, p.ValueEnd - p.ValueStart).trimmed();
            if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                value = value.mid(1, value.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
            return value;
        }
        at = p.Next;
    }
    return QString();
}

} // namespace DBParamText
