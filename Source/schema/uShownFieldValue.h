#pragma once
// Stored field values as the record windows show them, for the places that show a value
// as text outside its editor (the history of changes).

#include "uEwidarQuorDBSymbole.h"

#include <QString>

// How the record windows' date pickers show a date.
inline const QString ShownDateFormat = QStringLiteral("dd.MM.yyyy");

// A stored value as the field's editor shows it: a date as ShownDateFormat (a blank date,
// stored with "H", as nothing), a check box as "Tak" or "Nie", a radio group's chosen
// option (nothing for -1), a check-box group's ticked options joined by ", " (the captions
// of GroupFieldOptions), an identity-document kind's caption. Text fields, and any value
// that does not have its kind's stored form, as stored.
QString ShownFieldValue(const TInternalFieldRecord& Field, const QString& Stored);
