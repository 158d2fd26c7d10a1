#pragma once
// Reads a list of tax offices: ";"-separated, UTF-8, header
// "Nazwa;Naczelnik;Adres;RachPit;RachPitStd;RachCit;RachVat;RachVatUe;RachViuVin;RachDoch1;RachInD;RachDoch".
// Every account given must be a Polish account number (26 digits, spaces allowed)
// with a correct check sum; RachDoch, the middle digits, is empty or 17 digits.

#include "uKwadrelTable.h"

#include <QString>

inline const QString cUrzedyHeader =
    QStringLiteral("Nazwa;Naczelnik;Adres;RachPit;RachPitStd;RachCit;RachVat;RachVatUe;RachViuVin;RachDoch1;"
                   "RachInD;RachDoch");

// Fills Offices (12 columns, in the header's order, texts trimmed); false with a Polish
// message naming the file and the line, Offices then empty.
bool ReadUrzedy(const QString& Path, TKwadrelTable& Offices, QString& Error);
