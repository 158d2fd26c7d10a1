#include "uDictionaryFilter.h"

QString DictionaryMatchKey(const QString& Text) {
    QString key = Text;
    key.remove(u' ');
    return key.toUpper();
}

TDictionaryFilterText::TDictionaryFilterText(const QString& Text, TShowDataMode Mode, bool Exact)
    : m_key(DictionaryMatchKey(Text)), m_empty(Text.isEmpty()), m_equal(Exact || Mode == sdmSelect) {}

bool TDictionaryFilterText::Matches(const QString& Value) const {
    if (IsEmpty())
        return true;
    const QString value = DictionaryMatchKey(Value);
    return m_equal ? value == m_key : value.contains(m_key);
}

TDictionaryFilterText ProvinceFilter(const QString& Text, TShowDataMode Mode, const QStringList& Provinces) {
    const QString key = DictionaryMatchKey(Text);
    for (const QString& province : Provinces)
        if (!key.isEmpty() && DictionaryMatchKey(province) == key)
            return TDictionaryFilterText(Text, Mode, true);
    return TDictionaryFilterText(Text, Mode);
}
