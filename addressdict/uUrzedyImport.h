#pragma once
// Reads a list of tax offices: ";"-separated, UTF-8, header
// "Nazwa;Naczelnik;Adres;RachPit;RachPitStd;RachCit;RachVat;RachVatUe;RachViuVin;RachDoch1;RachInD;RachDoch",
// optionally preceded by a "Kod;" column with the office's 4-digit code. Every account
// given must be a Polish account number (26 digits, spaces allowed) with a correct check
// sum; RachDoch, the middle digits, is empty or 17 digits.

#include "uKwadrelTable.h"

#include <QString>

inline const QString cUrzedyHeader =
    QStringLiteral("Nazwa;Naczelnik;Adres;RachPit;RachPitStd;RachCit;RachVat;RachVatUe;RachViuVin;RachDoch1;"
                   "RachInD;RachDoch");
inline const QString cUrzedyCodedHeader = QStringLiteral("Kod;") + cUrzedyHeader;

// The columns of a tax-office table as the library holds and serves it: the header's
// twelve, then the code.
inline constexpr int cUrzadNazwa = 0;
inline constexpr int cUrzadNaczelnik = 1;
inline constexpr int cUrzadKod = 12;
inline constexpr int cUrzadColumns = 13;

// Fills Offices (13 columns, texts trimmed, the code last and empty when the list has
// none); false with a Polish message naming the file and the line, Offices then empty.
bool ReadUrzedy(const QString& Path, TKwadrelTable& Offices, QString& Error);
