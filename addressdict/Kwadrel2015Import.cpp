// Kwadrel2015Import: checks TERYT files (TERC and SIMC) or a tax-office list and
// installs them for the address-dictionary library. A refused file changes nothing.
// Each file may be the .csv or the .zip holding it.
//
//   Kwadrel2015Import [--sprawdz] [--folder FOLDER] teryt TERC.csv|TERC.zip SIMC.csv|SIMC.zip
//   Kwadrel2015Import [--sprawdz] [--folder FOLDER] urzedy LISTA.csv

#include "uKwadrelInstall.h"
#include "uKwadrelStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace {

void Print(FILE* Stream, const QString& Text) {
    std::fputs((Text + u'\n').toUtf8().constData(), Stream);
}

int Usage() {
    Print(stderr, QStringLiteral("Użycie:\n"
                                 "  Kwadrel2015Import [--sprawdz] [--folder FOLDER] teryt TERC.csv|.zip SIMC.csv|.zip\n"
                                 "  Kwadrel2015Import [--sprawdz] [--folder FOLDER] urzedy LISTA.csv\n"
                                 "--sprawdz tylko sprawdza pliki; bez --folder słowniki trafiają do „%1”.")
                      .arg(KwadrelDataFolder()));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    bool checkOnly = false;
    QString folder;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--sprawdz"))
            checkOnly = true;
        else if (option == QLatin1String("--folder") && !args.isEmpty())
            folder = args.takeFirst();
        else
            return Usage();
    }
    const QString where = QDir::toNativeSeparators(folder.isEmpty() ? KwadrelDataFolder() : folder);
    const QString done =
        checkOnly ? QStringLiteral("Pliki są poprawne") : QStringLiteral("Zainstalowano w „%1”").arg(where);
    QString error;
    if (args.size() == 3 && args[0] == QLatin1String("teryt")) {
        TTerytStats s;
        if (InstallTeryt(args[1], args[2], folder, checkOnly, s, error)) {
            Print(stdout, TerytInstalledText(done, s));
            return 0;
        }
    } else if (args.size() == 2 && args[0] == QLatin1String("urzedy")) {
        int count = 0;
        if (InstallUrzedy(args[1], folder, checkOnly, count, error)) {
            Print(stdout, UrzedyInstalledText(done, count));
            return 0;
        }
    } else {
        return Usage();
    }
    Print(stderr, error);
    if (!checkOnly)
        Print(stderr, cNothingInstalledText);
    return 1;
}
