#include "uSqlParams.h"

#include "uParamText.h"

namespace {

// A value opening with a brace is quoted too: unquoted it would be read as a braced one.
bool NeedsQuotes(const QString& v) {
    return v.contains(u';') || v.contains(u'"') || v.startsWith(u'{') ||
           (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()));
}

} // namespace

TSqlParams TSqlParams::Parse(const QString& Text) {
    TSqlParams p;
    for (const ParamText::TPart& part : ParamText::Split(Text))
        if (part.HasValue && !part.Key.isEmpty())
            p.SetValue(part.Key, part.Value);
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

QStringList TSqlParams::Keys() const {
    QStringList keys;
    for (const auto& item : m_items)
        keys.append(item.first);
    return keys;
}
