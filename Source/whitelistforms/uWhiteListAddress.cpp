#include "uWhiteListAddress.h"

#include <QRegularExpression>

TWhiteListAddress SplitWhiteListAddress(const QString& Text) {
    TWhiteListAddress a;
    QString rest = Text.simplified();
    // ", 00-000 TOWN" at the end.
    static const QRegularExpression tail(QStringLiteral("^(.*),\\s*(\\d{2}-\\d{3})\\s+(.+)$"));
    if (const auto m = tail.match(rest); m.hasMatch()) {
        a.PostalCode = m.captured(2);
        a.Locality = m.captured(3).trimmed();
        rest = m.captured(1).trimmed();
    }
    // "STREET 5", "STREET 5/7", "STREET 5A LOK. 7", "STREET 5 M. 7" at the start.
    static const QRegularExpression house(
        QStringLiteral("^(.*?\\S)\\s+(\\d+[A-Z]?)(?:\\s*/\\s*(\\w+)|\\s+(?:LOK\\.?|M\\.?)\\s*(\\w+))?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    if (const auto m = house.match(rest); m.hasMatch()) {
        rest = m.captured(1);
        a.House = m.captured(2);
        a.Flat = m.captured(3).isEmpty() ? m.captured(4) : m.captured(3);
    }
    static const QRegularExpression prefix(QStringLiteral("^UL\\.\\s*"), QRegularExpression::CaseInsensitiveOption);
    rest.remove(prefix);
    a.Street = rest.trimmed();
    return a;
}
