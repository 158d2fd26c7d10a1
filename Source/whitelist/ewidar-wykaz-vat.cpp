// ewidar-wykaz-vat: imports the ministry's daily flat file of the VAT white list (its 7z archive
// or the JSON unpacked) into the user's data folder, where the program checks accounts against it when the
// service cannot be asked; or checks one account against the imported file.
//
//   ewidar-wykaz-vat PLIK.7z|PLIK.json
//   ewidar-wykaz-vat --sprawdz NIP RACHUNEK
//
// Exit codes: 0 imported (or: the account is on the list), 1 refused or failed (or: not on the
// list, or no answer for today), 2 wrong use. One line on stderr says what happened.

#include "uWhiteListAnswer.h"
#include "uWhiteListClient.h"
#include "uWhiteListFlatFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

int Say(int Code, const QString& Text) {
    std::fputs((Text + u'\n').toUtf8().constData(), stderr);
    return Code;
}

int Check(const QString& NipText, const QString& AccountText) {
    const QString nip = TWhiteListClient::NipDigits(NipText);
    const QString account = WhiteListAnswer::AccountDigits(AccountText);
    if (nip.isEmpty() || account.isEmpty())
        return Say(2, QStringLiteral("Nieprawidłowy NIP lub numer rachunku (26 cyfr)."));
    TWhiteListFlatStore store;
    QString error;
    if (!store.Open(WhiteListFlatFile::StorePath(), error))
        return Say(1, error);
    using WhiteListFlatFile::TStatus;
    const WhiteListFlatFile::TAnswer a = store.Check(nip, account, QDate::currentDate());
    const QString day = a.FileDate.toString(Qt::ISODate);
    switch (a.Status) {
    case TStatus::sOtherDate:
        return Say(1, QStringLiteral("Zaimportowany plik płaski jest z dnia %1 i odpowiada tylko na ten dzień.").arg(day));
    case TStatus::sNotFound:
        return Say(1, QStringLiteral("Rachunku nie ma w pliku płaskim z dnia %1 dla NIP %2.").arg(day, nip));
    default:
        return Say(0, QStringLiteral("Rachunek jest w pliku płaskim z dnia %1 dla NIP %2 (podatnik %3%4).")
                          .arg(day, nip,
                               a.Status == TStatus::sActive ? QStringLiteral("czynny") : QStringLiteral("zwolniony"),
                               a.ByMask ? QStringLiteral(", rachunek wirtualny") : QString()));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--sprawdz"))
        return Check(args[1], args[2]);
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return Say(2, QStringLiteral("Użycie: ewidar-wykaz-vat PLIK.7z|PLIK.json | ewidar-wykaz-vat --sprawdz NIP RACHUNEK "
                                     "(plik trafia do „%1”).")
                          .arg(QDir::toNativeSeparators(WhiteListFlatFile::StorePath())));
    WhiteListFlatFile::TSummary s;
    QString error;
    if (!WhiteListFlatFile::Import(args[0], WhiteListFlatFile::StorePath(), s, error))
        return Say(1, error);
    return Say(0, QStringLiteral("Zaimportowano plik płaski z dnia %1: %2 skrótów podatników czynnych, %3 zwolnionych, "
                                 "%4 masek; %5 MB w „%6”.")
                      .arg(s.Date.toString(Qt::ISODate))
                      .arg(s.Active)
                      .arg(s.Exempt)
                      .arg(s.Masks)
                      .arg(double(s.Bytes) / (1024 * 1024), 0, 'f', 1)
                      .arg(QDir::toNativeSeparators(WhiteListFlatFile::StorePath())));
}
