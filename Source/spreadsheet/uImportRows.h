#pragma once
// The preview of a subjects file: every data row with the values of the mapped fields,
// checked and marked ready, invalid (which field, why) or duplicate (an identifier that
// a stored subject or an earlier row of the file already carries). Rows that are not
// ready go to a report file beside the source.

#include "uColumnMapping.h"
#include "uSubjectFields.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace ImportRows {

enum TStatus { stReady, stInvalid, stDuplicate };

struct TRow {
    int Line = 0;         // line of the file where the row starts
    QStringList Source;   // the cells as read
    QStringList Values;   // one per subject field, checked and normalised; empty when unmapped
    TStatus Status = stReady;
    QString Field;        // caption of the field at fault
    QString Reason;       // Polish, for the operator and the report
};

// True when a stored subject carries one of the identifiers (each may be empty).
using TDuplicateProbe = std::function<bool(const QString& Pesel, const QString& Nip, const QString& Regon)>;

struct TPreview {
    QStringList Header;
    QList<TRow> Rows;
    int Ready = 0;
    int Invalid = 0;
    int Duplicate = 0;
};

// The reason a value fails its field's check, empty when it passes. Value may be
// normalised on the way (a date given as dd.mm.yyyy becomes yyyy-mm-dd).
QString CheckValue(const SubjectFields::TField& Field, QString& Value);
// Rows holds the header first, then the data rows; Lines the file line of each.
TPreview Build(const QList<QStringList>& Rows, const QList<int>& Lines, const ColumnMapping::TMapping& Mapping,
               const TDuplicateProbe& Probe);
// "<name>.raport.csv" beside the source.
QString ReportPath(const QString& SourcePath);
// The rows not ready, with the source's columns and then "Wiersz", "Stan", "Pole", "Powód";
// false (and Error) when the file cannot be written.
bool WriteReport(const QString& Path, const TPreview& Preview, QString& Error);
QString StatusText(TStatus Status);

} // namespace ImportRows
