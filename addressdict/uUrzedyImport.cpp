#include "uUrzedyImport.h"

#include "CheckCRC.h"
#include "uKwadrelCsv.h"

#include <QSet>

namespace {

bool IsPolishAccount(const QString& Digits) {
    // Check digits moved behind the basic number, "PL" as 2521: remainder 1 when valid.
    return Digits.size() == 26 && !CheckCRC::HasNonDigit(Digits) &&
           CheckCRC::Mod97(Digits.mid(2) + QStringLiteral("2521") + Digits.left(2)) == 1;
}

} // namespace

bool ReadUrzedy(const QString& Path, TKwadrelTable& Offices, QString& Error) {
    Offices = TKwadrelTable(12);
    const QStringList names = cUrzedyHeader.split(u';');
    QSet<QString> seen;
    const bool ok = ReadCsv(
        Path, cUrzedyHeader,
        [&](const QStringList& f, QString& Err) {
            QStringList row;
            for (const QString& s : f)
                row << s.trimmed();
            if (row[0].isEmpty()) {
                Err = QStringLiteral("pusta nazwa urzędu.");
                return false;
            }
            if (seen.contains(row[0].toUpper())) {
                Err = QStringLiteral("urząd „%1” występuje drugi raz.").arg(row[0]);
                return false;
            }
            seen.insert(row[0].toUpper());
            for (int c = 3; c < 12; ++c) {
                QString digits = row[c];
                digits.remove(u' ');
                const bool valid =
                    c == 11 ? digits.isEmpty() || (digits.size() == 17 && !CheckCRC::HasNonDigit(digits))
                            : digits.isEmpty() || IsPolishAccount(digits);
                if (!valid) {
                    Err = c == 11 ? QStringLiteral("pole %1 „%2” nie jest 17 cyframi środkowymi rachunku.")
                                        .arg(names[c], row[c])
                                  : QStringLiteral("pole %1 „%2” nie jest poprawnym numerem rachunku.")
                                        .arg(names[c], row[c]);
                    return false;
                }
            }
            Offices.Cells.insert(Offices.Cells.end(), row.begin(), row.end());
            return true;
        },
        Error);
    if (!ok)
        Offices.Clear();
    return ok;
}
