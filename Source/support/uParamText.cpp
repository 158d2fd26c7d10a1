#include "uParamText.h"

namespace ParamText {

namespace {

// Reads the value starting at Pos (after "=") up to the ";" that ends it; Pos is left there.
QString ReadValue(const QString& t, qsizetype& Pos) {
    QString v;
    QChar close; // the closing mark while inside quotes or braces
    bool marked = false;
    qsizetype i = Pos;
    while (i < t.size() && t[i].isSpace())
        ++i;
    if (i < t.size() && (t[i] == u'"' || t[i] == u'{')) {
        marked = true;
        close = t[i] == u'"' ? QChar(u'"') : QChar(u'}');
        if (close == u'}')
            v += t[i];
        ++i;
    } else {
        i = Pos;
    }
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (!close.isNull() && c == close) {
            if (close == u'"' && i + 1 < t.size() && t[i + 1] == u'"') {
                v += c;
                ++i;
                continue;
            }
            if (close == u'}')
                v += c;
            close = QChar();
            continue;
        }
        if (close.isNull() && c == u';')
            break;
        // After the closing mark blanks are dropped.
        if (marked && close.isNull() && c.isSpace())
            continue;
        v += c;
    }
    Pos = i;
    return marked ? v : v.trimmed();
}

} // namespace

QList<TPart> Split(const QString& Text) {
    QList<TPart> parts;
    qsizetype pos = 0;
    while (pos < Text.size()) {
        const qsizetype eq = Text.indexOf(u'=', pos);
        const qsizetype semi = Text.indexOf(u';', pos);
        TPart p;
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            p.Key = Text.mid(pos, (semi < 0 ? Text.size() : semi) - pos).trimmed();
            p.ValueStart = p.ValueEnd = semi < 0 ? Text.size() : semi;
            parts.append(p);
            if (semi < 0)
                break;
            pos = semi + 1;
            continue;
        }
        p.Key = Text.mid(pos, eq - pos).trimmed();
        p.HasValue = true;
        p.ValueStart = pos = eq + 1;
        p.Value = ReadValue(Text, pos);
        p.ValueEnd = pos;
        parts.append(p);
        ++pos;
    }
    return parts;
}

namespace {

bool IsPasswordKey(QStringView Key) {
    return Key.contains(u"PASSWORD", Qt::CaseInsensitive) || Key.contains(u"PWD", Qt::CaseInsensitive);
}

} // namespace

QString Masked(const QString& Param) {
    QString shown = Param;
    for (const TPart& p : Split(Param))
        if (p.HasValue && IsPasswordKey(p.Key))
            for (qsizetype i = p.ValueStart; i < p.ValueEnd; ++i)
                shown[i] = QLatin1Char('*');
    return shown;
}

} // namespace ParamText
