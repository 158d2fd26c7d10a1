#include "uKwadrelInstall.h"

#include "uKwadrelStore.h"
#include "uKwadrelZip.h"
#include "uUrzedyImport.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Target(const QString& Folder, const QString& File) {
    return QDir(Folder.isEmpty() ? KwadrelDataFolder() : Folder).filePath(File);
}

// A reader's message about an unpacked .csv names its archive as well.
QString Explained(const QString& Error, std::initializer_list<const TUnpackedInput*> Inputs) {
    for (const TUnpackedInput* in : Inputs)
        if (in->IsArchive() && Error.contains(QStringLiteral("„%1”").arg(QFileInfo(in->CsvPath()).fileName())))
            return in->Explain(Error);
    return Error;
}

} // namespace

bool InstallTeryt(const QString& TercPath, const QString& SimcPath, const QString& Folder, bool CheckOnly,
                  TTerytStats& Stats, QString& Error) {
    const TUnpackedInput terc(TercPath, QStringLiteral("TERC")), simc(SimcPath, QStringLiteral("SIMC"));
    for (const TUnpackedInput* in : {&terc, &simc})
        if (!in->Ok()) {
            Error = in->Error();
            return false;
        }
    TTerytData data;
    if (!ReadTeryt(terc.CsvPath(), simc.CsvPath(), data, Stats, Error)) {
        Error = Explained(Error, {&terc, &simc});
        return false;
    }
    return CheckOnly || WriteStore(Target(Folder, cTerytStoreFile), cTerytStoreKind,
                                   {{QStringLiteral("W"), &data.Wojewodztwa},
                                    {QStringLiteral("P"), &data.Powiaty},
                                    {QStringLiteral("G"), &data.Gminy},
                                    {QStringLiteral("M"), &data.Miejscowosci}},
                                   Error);
}

bool InstallUrzedy(const QString& ListPath, const QString& Folder, bool CheckOnly, int& Count,
                   QString& Error) {
    Count = 0;
    const TUnpackedInput list(ListPath, QStringLiteral("urzed"));
    if (!list.Ok()) {
        Error = list.Error();
        return false;
    }
    TKwadrelTable offices(cUrzadColumns);
    if (!ReadUrzedy(list.CsvPath(), offices, Error)) {
        Error = Explained(Error, {&list});
        return false;
    }
    Count = offices.Rows();
    return CheckOnly || WriteStore(Target(Folder, cUrzedyStoreFile), cUrzedyStoreKind,
                                   {{QStringLiteral("U"), &offices}}, Error);
}

QString TerytInstalledText(const QString& Done, const TTerytStats& Stats) {
    return QStringLiteral("%1: %2 województw, %3 powiatów, %4 gmin, %5 miejscowości "
                          "(pominięto %6 części miejscowości, %7 dzielnic i delegatur włączono do "
                          "ich miast, %8 powtórzeń połączono).")
        .arg(Done)
        .arg(Stats.Wojewodztwa)
        .arg(Stats.Powiaty)
        .arg(Stats.Gminy)
        .arg(Stats.Miejscowosci)
        .arg(Stats.CzesciPominiete)
        .arg(Stats.DzielniceWlaczone)
        .arg(Stats.Powtorzenia);
}

QString UrzedyInstalledText(const QString& Done, int Count) {
    return QStringLiteral("%1: %2 urzędów skarbowych.").arg(Done).arg(Count);
}
