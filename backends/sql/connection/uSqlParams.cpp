#include "uSqlParams.h"

namespace {

// Reads one value starting at pos (after '='); stops at an unquoted ';'. Blanks around an
// unquoted value are dropped; a quoted value keeps its own.
QString ReadValue(const QString& t, int& pos) {
    QString v;
    bool quoted = false;
    bool wasQuoted = false;
    int i = pos;
    while (i < t.size() && t[i].isSpace())
        ++i;
    if (i < t.size() && t[i] == u'"') {
        quoted = wasQuoted = true;
        ++i;
    } else {
        i = pos;
    }
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (quoted && c == u'"') {
            if (i + 1 < t.size() && t[i + 1] == u'"') {
                v += c;
                ++i;
                continue;
            }
            quoted = false;
            continue;
        }
        if (!quoted && c == u';')
            break;
        // Only blanks may follow the closing quote.
        if (wasQuoted && !quoted && c.isSpace())
            continue;
        v += c;
    }
    pos = i + 1;
    return wasQuoted ? v : v.trimmed();
}

bool NeedsQuotes(const QString& v) {
    return v.contains(u';') || v.contains(u'"') ||
           (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()));
}

} // namespace

TSqlParams TSqlParams::Parse(const QString& Text) {
    TSqlParams p;
    int pos = 0;
    while (pos < Text.size()) {
        const int eq = Text.indexOf(u'=', pos);
        const int semi = Text.indexOf(u';', pos);
        if (eq < 0 || (semi >= 0 && semi < eq)) { // a piece without '=' is skipped
            if (semi < 0)
                break;
            pos = semi + 1;
            continue;
        }
        const QString key = Text.mid(pos, eq - pos).trimmed();
        pos = eq + 1;
        QString value = ReadValue(Text, pos);
        if (!key.isEmpty())
            p.SetValue(key, value);
    }
    return p;
}

QString TSqlParams::Value(const QString& Key) const {
    for (const auto& [k, v] : m_items)
        if (k.compare(Key, Qt::CaseInsensitive) == 0)
            return v;
    return {};
}

void TSqlParams::SetValue(const QString& Key, const QString& Value) {
    for (auto& [k, v] : m_items)
        if (k.compare(Key, Qt::CaseInsensitive) == 0) {
            v = Value;
            return;
        }
    m_items.append({Key, Value});
}

void TSqlParams::Remove(const QString& Key) {
    m_items.removeIf([&](const auto& Item) { return Item.first.compare(Key, Qt::CaseInsensitive) == 0; });
}

QString TSqlParams::ToString() const {
    QString out;
    for (const auto& [k, v] : m_items) {
        QString value = v;
        if (NeedsQuotes(value))
            value = u'"' + QString(value).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
        out += k + u'=' + value + u';';
    }
    return out;
}
