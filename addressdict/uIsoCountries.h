#pragma once
// Countries with their Polish names from Debian's iso-codes: the ISO 3166-1 list in
// <data dir>/iso-codes/json/iso_3166-1.json and its Polish translation catalogue
// <data dir>/locale/pl/LC_MESSAGES/iso_3166-1.mo, found in the system's data folders
// (XDG_DATA_DIRS, /usr/share by default).

#include "uKwadrelTable.h"

#include <QHash>
#include <QString>

QString IsoCountriesJsonPath();
QString IsoCountriesCatalogPath();

// The translations of a gettext catalogue (.mo), original text to translation; empty
// when the file is missing or malformed.
QHash<QString, QString> ReadMoCatalog(const QString& Path);

// Fills Countries (code, name) sorted by name in Polish order: the Polish common name
// where iso-codes gives one, else the Polish short name; a name without a Polish
// translation stays English. False, Countries empty, when the list cannot be read.
bool ReadIsoCountries(const QString& JsonPath, const QString& CatalogPath, TKwadrelTable& Countries);
