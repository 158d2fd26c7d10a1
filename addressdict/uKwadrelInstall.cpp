#include "uKwadrelInstall.h"

#include "uKwadrelStore.h"
#include "uUrzedyImport.h"

#include <QDir>

namespace {

QString Target(const QString& Folder, const QString& File) {
    return QDir(Folder.isEmpty() ? KwadrelDataFolder() : Folder).filePath(File);
}

} // namespace

bool InstallTeryt(const QString& TercPath, const QString& SimcPath, const QString& Folder, bool CheckOnly,
                  TTerytStats& Stats, QString& Error) {
    TTerytData data;
    if (!ReadTeryt(TercPath, SimcPath, data, Stats, Error))
        return false;
    return CheckOnly || WriteStore(Target(Folder, cTerytStoreFile), cTerytStoreKind,
                                   {{QStringLiteral("W"), &data.Wojewodztwa},
                                    {QStringLiteral("P"), &data.Powiaty},
                                    {QStringLiteral("G"), &data.Gminy},
                                    {QStringLiteral("M"), &data.Miejscowosci}},
                                   Error);
}

bool InstallUrzedy(const QString& ListPath, const QString& Folder, bool CheckOnly, int& Count,
                   QString& Error) {
    TKwadrelTable offices(12);
    Count = 0;
    if (!ReadUrzedy(ListPath, offices, Error))
        return false;
    Count = offices.Rows();
    return CheckOnly || WriteStore(Target(Folder, cUrzedyStoreFile), cUrzedyStoreKind,
                                   {{QStringLiteral("U"), &offices}}, Error);
}
