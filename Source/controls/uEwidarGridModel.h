#pragma once
// The rows of the collection grid and the item model that shows them to the
// view. Rows are kept in grid coordinates: while there is a fixed row, row 0 is
// the title row (shown by the view's header) and the data rows follow it.

#include "uEwidarQuorDBIntf.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

using TStringArray = QStringList;

// One row of the grid: its record's identifier (0 for the title row), the record
// itself once asked for, whether it can be checked, whether it is, and its cell
// texts: one per column in Row, or, for a row of a list read in one pass, its place
// among the model's shared lines (no string of its own until a cell is set).
struct TEwidarRow {
    int32_t ID = 0;
    TIntfPtr<IEwidarRecord> EwidarRecord;
    bool CheckBoxActive = false;
    bool Checked = false;
    int32_t Lines = -1;
    TStringArray Row;
};

// The lines of a list read in one pass, as the rows that point into them show them:
// line i in column First + i, and Blank for a line (or a column past the lines) that
// is empty or only spaces, when Blank is set.
struct TSharedRowLines {
    TEwidarRowLines Lines;
    int First = 0;
    QString Blank;
};

class TEwidarGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TEwidarGridModel(QObject* Parent = nullptr);

    int RowCount() const { return static_cast<int>(FGrid.size()); }
    void SetRowCount(int Value);
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    // 0 or 1: the title row is fixed only while a data row follows it.
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);

    const TEwidarRow* GridRow(int Row) const;
    TEwidarRow* GridRow(int Row);
    // Empty outside the stored cells.
    QString Cell(int Col, int Row) const;
    // The same text without a copy; valid until the row changes.
    QStringView CellView(int Col, int Row) const;
    // Whether the row has cell texts (a filler row has none).
    bool HasCells(int Row) const;
    // Stores the text as given; false (and nothing stored) outside RowCount x ColCount.
    bool SetCell(int Col, int Row, const QString& Text);
    // Repaints one row after its check mark or record changed.
    void RowChanged(int Row);
    void AllRowsChanged();

    // Replaces every row at once (one reset for the view); rows with Lines >= 0 show
    // the shared lines.
    void ResetRows(std::vector<TEwidarRow> Rows, int ColCount, int FixedRows, TSharedRowLines Lines = {});
    void Clear();
    // Sorts the data rows by the upper-cased texts of one column (ordinal
    // comparison); rows that compare equal keep their order.
    void SortRows(int Col, bool Ascending);

    int ToViewRow(int GridRow) const { return GridRow - FFixedRows; }
    int ToGridRow(int ViewRow) const { return ViewRow + FFixedRows; }

    int rowCount(const QModelIndex& Parent = {}) const override;
    int columnCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

private:
    void MovePersistentIndexes(const std::vector<size_t>& Order);
    // A row of shared lines gets texts of its own, so that one cell can be set.
    void OwnCells(TEwidarRow& R);

    std::vector<TEwidarRow> FGrid;
    TSharedRowLines FLines;
    int FColCount = 0;
    int FFixedRows = 0;
};
