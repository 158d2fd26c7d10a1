#include "uUrzedyImport.h"

#include "CheckCRC.h"
#include "uKwadrelCsv.h"

#include <QFile>
#include <QSet>

namespace {

bool IsPolishAccount(const QString& Digits) {
    // Check digits moved behind the basic number, "PL" as 2521: remainder 1 when valid.
    return Digits.size() == 26 && !CheckCRC::HasNonDigit(Digits) &&
           CheckCRC::Mod97(Digits.mid(2) + QStringLiteral("2521") + Digits.left(2)) == 1;
}

// Whether the list's header begins with the code column (read before the checked pass,
// which then expects that header exactly).
bool HasCodeColumn(const QString& Path) {
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray first = file.readLine(4096);
    if (first.startsWith("\xEF\xBB\xBF"))
        first.remove(0, 3);
    return first.trimmed().toLower().startsWith("kod;");
}

} // namespace

bool ReadUrzedy(const QString& Path, TKwadrelTable& Offices, QString& Error) {
    Offices = TKwadrelTable(cUrzadColumns);
    const bool coded = HasCodeColumn(Path);
    const QString header = coded ? cUrzedyCodedHeader : cUrzedyHeader;
    const QStringList names = cUrzedyHeader.split(u';');
    QSet<QString> seen, codes;
    const bool ok = ReadCsv(
        Path, header,
        [&](const QStringList& f, QString& Err) {
            QStringList row;
            for (qsizetype i = coded ? 1 : 0; i < f.size(); ++i)
                row << f[i].trimmed();
            const QString code = coded ? f[0].trimmed() : QString();
            if (!code.isEmpty() && (code.size() != 4 || CheckCRC::HasNonDigit(code))) {
                Err = QStringLiteral("kod urzędu „%1” nie jest czterema cyframi.").arg(code);
                return false;
            }
            if (!code.isEmpty() && codes.contains(code)) {
                Err = QStringLiteral("kod urzędu %1 występuje drugi raz.").arg(code);
                return false;
            }
            codes.insert(code);
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
            row << code;
            Offices.Cells.insert(Offices.Cells.end(), row.begin(), row.end());
            return true;
        },
        Error);
    if (!ok)
        Offices.Clear();
    return ok;
}
