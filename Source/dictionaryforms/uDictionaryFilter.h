#pragma once
// Matching the dictionary window's filter texts against dictionary values: spaces
// removed and letter case ignored on both sides, so "nowawieś" finds "Nowa Wieś".
// No widgets: the rule is shared by the window and its tests.

#include <QString>
#include <QStringList>

enum TShowDataMode { sdmSelect, sdmFilter };

// The form both sides are compared in: every space removed, upper case.
QString DictionaryMatchKey(const QString& Text);

// One filter text prepared once per filling of the list.
class TDictionaryFilterText {
public:
    TDictionaryFilterText() = default;
    // Exact: the value must equal the text (also in sdmFilter), used where the text
    // is one whole name of a closed list, e.g. a province.
    TDictionaryFilterText(const QString& Text, TShowDataMode Mode, bool Exact = false);

    // True when no filter is given (the text is empty): every value matches.
    bool IsEmpty() const { return m_empty; }
    // sdmSelect or Exact: the keys are equal; sdmFilter: the text's key occurs in the value's.
    bool Matches(const QString& Value) const;

private:
    QString m_key;
    bool m_empty = true;
    bool m_equal = false;
};

// The province filter: equality when the text is exactly one of the province names
// (after removing spaces and upper-casing), so "pomorskie" does not also find
// "kujawsko-pomorskie"; otherwise the mode's rule.
TDictionaryFilterText ProvinceFilter(const QString& Text, TShowDataMode Mode, const QStringList& Provinces);
