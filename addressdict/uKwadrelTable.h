#pragma once
// One dictionary held by the library: rows of a fixed number of text columns.

#include <QString>

#include <initializer_list>
#include <vector>

struct TKwadrelTable {
    explicit TKwadrelTable(int ColumnCount = 1) : Columns(ColumnCount) {}

    int Columns;
    // Row-major cells: row r, column c is Cells[r * Columns + c].
    std::vector<QString> Cells;

    int Rows() const { return int(Cells.size() / size_t(Columns)); }
    const QString& Cell(int Row, int Column) const {
        return Cells[size_t(Row) * size_t(Columns) + size_t(Column)];
    }
    void AddRow(std::initializer_list<QString> Row) { Cells.insert(Cells.end(), Row.begin(), Row.end()); }
    void Clear() { Cells.clear(); }
};
