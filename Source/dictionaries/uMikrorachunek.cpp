#include "uMikrorachunek.h"

#include "CheckCRC.h"

QString Mikrorachunek(const QString& Identifier, TTaxIdKind Kind) {
    const qsizetype length = Kind == TTaxIdKind::Pesel ? 11 : 10;
    if (Identifier.size() != length || CheckCRC::HasNonDigit(Identifier))
        return QString();
    QString basic = QStringLiteral("10100071222") + QString::number(int(Kind)) + Identifier;
    basic = basic.leftJustified(24, u'0');
    return CheckCRC::NrbCheckDigits(basic) + basic;
}

QString SubjectMikrorachunek(const QString& Nip, const QString& Pesel) {
    if (CheckCRC::IsValidNIP(Nip)) {
        QString digits = CheckCRC::TrimSpaces(Nip);
        digits.remove(u'-');
        return Mikrorachunek(digits, TTaxIdKind::Nip);
    }
    if (CheckCRC::IsValidPESEL(Pesel))
        return Mikrorachunek(CheckCRC::TrimSpaces(Pesel), TTaxIdKind::Pesel);
    return QString();
}
