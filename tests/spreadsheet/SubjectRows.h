#pragma once
// Generated subject rows in the field order of SubjectFields: Polish text, quotes,
// semicolons and line breaks in the values, valid and distinct identifiers.

#include <QList>
#include <QString>
#include <QStringList>

namespace SubjectRows {

// Row Index of a generated set (identifiers derived from Index, so rows differ).
QStringList Row(int Index);
QString Nip(int Index);
QString Regon(int Index);
QString Pesel(int Index);
QString Account(int Index);
// The rows as a CSV text with the field captions as header (written by the CSV writer).
QByteArray Csv(const QList<QStringList>& Rows, const QStringList& Header);

} // namespace SubjectRows
