#pragma once
// The connection parameter: "KEY=value;" pairs. Keys are case-insensitive; a value
// may be quoted ("DIR=\"C:\\a;b\\x.db\";") with "" standing for a quote inside it
// (the reading is ParamText's, shared with the settings window).
// Unknown keys are kept, so a parameter survives a round trip unchanged.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TSqlParams {
public:
    static TSqlParams Parse(const QString& Text);

    QString Value(const QString& Key) const;
    void SetValue(const QString& Key, const QString& Value);
    void Remove(const QString& Key);
    QString ToString() const;
    // The keys in their first order, as first written.
    QStringList Keys() const;

private:
    QList<QPair<QString, QString>> m_items;
};
