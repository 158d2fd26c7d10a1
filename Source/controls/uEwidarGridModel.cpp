#include "uEwidarGridModel.h"

#include <QLocale>

#include <algorithm>
#include <numeric>

TEwidarGridModel::TEwidarGridModel(QObject* Parent) : QAbstractTableModel(Parent) {}

void TEwidarGridModel::SetRowCount(int Value) {
    Value = std::max(Value, 0);
    const int oldView = rowCount();
    if (Value == RowCount())
        return;
    if (Value < FFixedRows) { // no rows at all, not even the title row
        ResetRows({}, FColCount, 0);
        return;
    }
    const int newView = Value - FFixedRows;
    if (newView > oldView) {
        beginInsertRows({}, oldView, newView - 1);
        FGrid.resize(static_cast<size_t>(Value));
        endInsertRows();
    } else {
        beginRemoveRows({}, newView, oldView - 1);
        FGrid.resize(static_cast<size_t>(Value));
        endRemoveRows();
    }
}

void TEwidarGridModel::SetColCount(int Value) {
    Value = std::max(Value, 0);
    if (Value == FColCount)
        return;
    if (Value > FColCount) {
        beginInsertColumns({}, FColCount, Value - 1);
        FColCount = Value;
        endInsertColumns();
    } else {
        beginRemoveColumns({}, Value, FColCount - 1);
        FColCount = Value;
        endRemoveColumns();
    }
}

void TEwidarGridModel::SetFixedRows(int Value) {
    Value = std::clamp(Value, 0, std::min(1, RowCount()));
    if (Value == FFixedRows)
        return;
    // Row 0 moves between the view's rows and its header.
    if (Value > FFixedRows) {
        beginRemoveRows({}, 0, 0);
        FFixedRows = Value;
        endRemoveRows();
    } else {
        beginInsertRows({}, 0, 0);
        FFixedRows = Value;
        endInsertRows();
    }
    if (FColCount > 0)
        emit headerDataChanged(Qt::Horizontal, 0, FColCount - 1);
}

const TEwidarRow* TEwidarGridModel::GridRow(int Row) const {
    if (Row < 0 || Row >= RowCount())
        return nullptr;
    return &FGrid[static_cast<size_t>(Row)];
}

TEwidarRow* TEwidarGridModel::GridRow(int Row) {
    if (Row < 0 || Row >= RowCount())
        return nullptr;
    return &FGrid[static_cast<size_t>(Row)];
}

QString TEwidarGridModel::Cell(int Col, int Row) const {
    const TEwidarRow* r = GridRow(Row);
    if (r && r->Lines < 0)
        return Col >= 0 && Col < r->Row.size() ? r->Row.at(Col) : QString();
    return CellView(Col, Row).toString();
}

QStringView TEwidarGridModel::CellView(int Col, int Row) const {
    const TEwidarRow* r = GridRow(Row);
    if (!r || Col < 0)
        return {};
    if (r->Lines < 0)
        return Col < r->Row.size() ? QStringView(r->Row.at(Col)) : QStringView();
    if (Col >= FColCount || Col < FLines.First)
        return {};
    const int32_t line = Col - FLines.First;
    QStringView text;
    if (line < FLines.Lines.LineCount) {
        const std::u16string_view l = FLines.Lines.Line(static_cast<size_t>(r->Lines), line);
        text = QStringView(l.data(), static_cast<qsizetype>(l.size()));
    }
    return !FLines.Blank.isEmpty() && text.trimmed().isEmpty() ? QStringView(FLines.Blank) : text;
}

bool TEwidarGridModel::HasCells(int Row) const {
    const TEwidarRow* r = GridRow(Row);
    return r && (r->Lines >= 0 || !r->Row.isEmpty());
}

void TEwidarGridModel::OwnCells(TEwidarRow& R) {
    if (R.Lines < 0)
        return;
    const int row = static_cast<int>(&R - FGrid.data());
    TStringArray cells;
    cells.reserve(FColCount);
    for (int c = 0; c < FColCount; ++c)
        cells.append(CellView(c, row).toString());
    R.Row = std::move(cells);
    R.Lines = -1;
}

bool TEwidarGridModel::SetCell(int Col, int Row, const QString& Text) {
    TEwidarRow* r = GridRow(Row);
    if (!r || Col < 0 || Col >= FColCount)
        return false;
    OwnCells(*r);
    if (Col >= r->Row.size())
        r->Row.resize(FColCount);
    r->Row[Col] = Text;
    if (Row < FFixedRows) {
        emit headerDataChanged(Qt::Horizontal, Col, Col);
    } else {
        const QModelIndex i = index(ToViewRow(Row), Col);
        emit dataChanged(i, i);
    }
    return true;
}

void TEwidarGridModel::RowChanged(int Row) {
    if (Row < FFixedRows) {
        if (FColCount > 0)
            emit headerDataChanged(Qt::Horizontal, 0, FColCount - 1);
        return;
    }
    if (Row < RowCount() && FColCount > 0)
        emit dataChanged(index(ToViewRow(Row), 0), index(ToViewRow(Row), FColCount - 1));
}

void TEwidarGridModel::AllRowsChanged() {
    if (FColCount > 0 && FFixedRows > 0)
        emit headerDataChanged(Qt::Horizontal, 0, FColCount - 1);
    if (FColCount > 0 && rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, FColCount - 1));
}

void TEwidarGridModel::ResetRows(std::vector<TEwidarRow> Rows, int ColCount, int FixedRows, TSharedRowLines Lines) {
    beginResetModel();
    FGrid = std::move(Rows);
    FLines = std::move(Lines);
    FColCount = std::max(ColCount, 0);
    FFixedRows = std::clamp(FixedRows, 0, std::min(1, RowCount()));
    endResetModel();
}

void TEwidarGridModel::Clear() {
    ResetRows({}, 0, 0);
}

void TEwidarGridModel::SortRows(int Col, bool Ascending) {
    const size_t first = static_cast<size_t>(FFixedRows);
    if (Col < 0 || Col >= FColCount || FGrid.size() <= first + 1)
        return;
    const QLocale locale;
    std::vector<QString> keys(FGrid.size() - first);
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = locale.toUpper(Cell(Col, static_cast<int>(first + i)));
    std::vector<size_t> order(keys.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // Stable: equal keys keep their order, and many equal keys (a town that
    // recurs in thousands of rows) cost no more than distinct ones.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = QString::compare(keys[a], keys[b], Qt::CaseSensitive);
        return Ascending ? c < 0 : c > 0;
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<TEwidarRow> sorted;
    sorted.reserve(FGrid.size());
    for (size_t i = 0; i < first; ++i)
        sorted.push_back(std::move(FGrid[i]));
    for (size_t i : order)
        sorted.push_back(std::move(FGrid[first + i]));
    FGrid = std::move(sorted);
    MovePersistentIndexes(order);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TEwidarGridModel::MovePersistentIndexes(const std::vector<size_t>& Order) {
    // Order[new view row] = old view row; the current row follows its record.
    std::vector<int> newRowOf(Order.size());
    for (size_t i = 0; i < Order.size(); ++i)
        newRowOf[Order[i]] = static_cast<int>(i);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from) {
        const bool known = i.row() >= 0 && static_cast<size_t>(i.row()) < newRowOf.size();
        to.append(known ? index(newRowOf[static_cast<size_t>(i.row())], i.column()) : QModelIndex());
    }
    changePersistentIndexList(from, to);
}

int TEwidarGridModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : RowCount() - FFixedRows;
}

int TEwidarGridModel::columnCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : FColCount;
}

QVariant TEwidarGridModel::data(const QModelIndex& Index, int Role) const {
    if (Role != Qt::DisplayRole || !Index.isValid())
        return {};
    return Cell(Index.column(), ToGridRow(Index.row()));
}

QVariant TEwidarGridModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Role != Qt::DisplayRole || Orientation != Qt::Horizontal || FFixedRows == 0)
        return {};
    return Cell(Section, 0);
}
