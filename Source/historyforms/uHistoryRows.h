#pragma once
// History entries as the windows and the CSV export show them: one row per changed
// value (an entry without values gives one row), with the event, registry and time
// written out in Polish. No widgets.

#include "uEwidarQuorDBIntf.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace HistoryRows {

struct TRow {
    qint64 seq = 0;
    QString time; // local time, yyyy-MM-dd HH:mm:ss
    QString operatorLogin;
    QString host;
    QString event;
    QString registry;
    QString record; // "#id description"
    QString field;  // caption
    QString oldValue;
    QString newValue;
};

QString EventName(THistoryEvent Event);
// The registry of a record-kind position 1-21; empty for 0.
QString RegistryName(int32_t Kind);
// The positions with their names, in the order the journal's registry filter lists them.
std::vector<std::pair<int32_t, QString>> Registries();
std::vector<TRow> Rows(const std::vector<THistoryEntry>& Entries);
// At most Max characters: longer texts end with "…"; line breaks shown as " ⏎ ".
QString Shortened(const QString& Text, int Max);
// The column titles and the fields of a row, in the order of the windows and the CSV file.
QStringList Titles();
QStringList Fields(const TRow& Row);
// Writes the rows as CSV (UTF-8 with BOM, ';', every field guarded against formulas);
// the file appears only when complete. False with Error set when it cannot be written.
bool WriteCsv(const QString& Path, const std::vector<TRow>& Rows, QString& Error);

} // namespace HistoryRows
