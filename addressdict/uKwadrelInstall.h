#pragma once
// Checks published dictionary files and installs them into the library's data folder.
// Installing replaces the dictionary's one file atomically: after a refused or failed
// import the previous dictionary stays exactly as it was. Every input may also be the
// .zip the statistics office serves, holding the .csv.

#include "uTerytImport.h"

#include <QString>

// TERC and SIMC together (the localities refer to the communes). Folder empty: the
// library's data folder. CheckOnly reads and checks without installing.
bool InstallTeryt(const QString& TercPath, const QString& SimcPath, const QString& Folder, bool CheckOnly,
                  TTerytStats& Stats, QString& Error);
// A tax-office list; Count receives the number of offices.
bool InstallUrzedy(const QString& ListPath, const QString& Folder, bool CheckOnly, int& Count,
                   QString& Error);

// What an import reports, in the tool and in the program. Done: "Zainstalowano w …" or
// "Pliki są poprawne".
QString TerytInstalledText(const QString& Done, const TTerytStats& Stats);
QString UrzedyInstalledText(const QString& Done, int Count);
inline const QString cNothingInstalledText =
    QStringLiteral("Niczego nie zainstalowano; dotychczasowe słowniki pozostają bez zmian.");
