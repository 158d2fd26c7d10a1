#pragma once
// The library's own files in the user's data folder, written by the import tool and
// read by the library: a header line naming the kind, one tab-separated line per row
// starting with its section tag, and a closing line with the row count of each
// section. A file whose closing line is missing or disagrees is refused whole.

#include "uKwadrelTable.h"

#include <QString>

#include <vector>

struct TStoreSection {
    QString Tag;
    TKwadrelTable* Table;
};

inline const QString cTerytStoreFile = QStringLiteral("teryt.txt");
inline const QString cTerytStoreKind = QStringLiteral("TERYT");
inline const QString cUrzedyStoreFile = QStringLiteral("urzedy.txt");
inline const QString cUrzedyStoreKind = QStringLiteral("URZEDY");

// Folder of the installed dictionaries: <user data folder>/Ewidar/slowniki
// (~/.local/share/Ewidar/slowniki on Linux).
QString KwadrelDataFolder();

// Writes the sections atomically (a temporary file renamed over Path only when
// complete); false with a Polish message in Error, leaving any previous file as it was.
bool WriteStore(const QString& Path, const QString& Kind, const std::vector<TStoreSection>& Sections,
                QString& Error);
// Reads a file written by WriteStore into the sections' tables. On any fault every
// table is left empty, Error says why, and the result is false.
bool ReadStore(const QString& Path, const QString& Kind, const std::vector<TStoreSection>& Sections,
               QString& Error);
