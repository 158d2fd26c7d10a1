#pragma once
// History entries as the windows and the CSV export show them: one row per changed
// value (an entry without values gives one row), with the event, registry and time
// written out in Polish and the values of record fields as the record windows show them.
// No widgets.

#include "uEwidarQuorDBIntf.h"
#include "uEwidarQuorDBSymbole.h"

#include <QHash>
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
// The descriptors of the fields whose values the rows show as the record windows do: the
// table's fields of each record kind and, read once per kind, the kind's user-defined
// fields (none without a database). Values of other changes are shown as stored.
class TFieldKinds {
public:
    explicit TFieldKinds(IEwidarDataBase* DataBase = nullptr) : m_db(DataBase) {}
    // The descriptor of Symbol in records of Kind; nullptr when it names no field there.
    const TInternalFieldRecord* Find(int32_t Kind, const QString& Symbol);

private:
    IEwidarDataBase* m_db;
    QHash<int32_t, QHash<QString, TInternalFieldRecord>> m_userFields;
};

// The history stores values as the records do; the rows show them readable, the stored
// history itself is left as it is.
std::vector<TRow> Rows(const std::vector<THistoryEntry>& Entries, TFieldKinds& Fields);
// At most Max characters: longer texts end with "…"; line breaks shown as " ⏎ ".
QString Shortened(const QString& Text, int Max);
// The column titles and the fields of a row, in the order of the windows and the CSV file.
QStringList Titles();
QStringList Fields(const TRow& Row);
// Writes the rows as CSV (UTF-8 with BOM, ';', every field guarded against formulas);
// the file appears only when complete. False with Error set when it cannot be written.
bool WriteCsv(const QString& Path, const std::vector<TRow>& Rows, QString& Error);

} // namespace HistoryRows
