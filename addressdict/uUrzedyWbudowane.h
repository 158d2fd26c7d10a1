#pragma once
// The tax offices every installation knows without an import: the finance ministry's
// published code list (4-digit code and official name, compiled in from
// data/kody_urzedow_skarbowych.csv). The ministry writes names in capitals; the table
// gives them in their usual written form and the head's title in the genitive.

#include "uKwadrelTable.h"

#include <QString>

// The compiled-in list as published: header "Kod;Nazwa", one office a line.
const char* BuiltInOfficeList();

// "URZĄD SKARBOWY W NAKLE NAD NOTECIĄ" -> "Urząd Skarbowy w Nakle nad Notecią": every
// word and every part after a hyphen capitalised, the prepositions w, we, nad, pod in
// lower case.
QString OfficeWrittenName(const QString& MinistryName);
// "Pierwszy Urząd Skarbowy w Bydgoszczy" -> "Naczelnik Pierwszego Urzędu Skarbowego w
// Bydgoszczy": the words up to "Skarbowy" in the genitive, the place as it stands (it
// already follows a preposition, or is a city district's name in the nominative).
QString OfficeHeadTitle(const QString& WrittenName);

// The built-in offices in code order, in the library's tax-office columns (name, head,
// code; address and accounts empty). Built once.
const TKwadrelTable& BuiltInOffices();

// The tax-office table: every built-in office, replaced by the imported office of the
// same code, or for an imported office without a code, of exactly the same name; an
// imported office that replaces one takes over its code and, when it gives none, its
// head. Imported offices that match no built-in one follow in their list's order.
TKwadrelTable MergeOffices(const TKwadrelTable& BuiltIn, const TKwadrelTable& Imported);
