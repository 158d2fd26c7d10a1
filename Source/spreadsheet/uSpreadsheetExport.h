#pragma once
// Writes a table (header captions and rows of texts) to a CSV or XLSX file. The file
// appears only when the whole table was written: a cancelled or failed export leaves
// whatever was at the path before.

#include <QString>
#include <QStringList>

#include <functional>

namespace SpreadsheetExport {

enum TFormat { fmCsv, fmXlsx };

struct TTable {
    QStringList Header;
    int RowCount = 0;
    std::function<QStringList(int Row)> Row;
};

// Called every few rows with the rows written so far; returning false cancels.
using TProgress = std::function<bool(int Done, int Total)>;

struct TResult {
    bool Ok = false;
    bool Cancelled = false;
    QString Error; // Polish, for the operator
};

// CSV: UTF-8 with a byte order mark, ";" between fields, formula-looking values guarded.
TResult Export(const TTable& Table, TFormat Format, const QString& Path, const TProgress& Progress = {});

} // namespace SpreadsheetExport
