#pragma once
// The collection grid: the records of one collection as rows, one column per
// part of a record's description, an optional title row (the view's header),
// an optional check-box column with an "all" box, click-to-sort on the titles,
// alternating row colours and automatic column widths. Every list of the
// program is this grid; callers ask it for the record of a row. Rows are in
// grid coordinates: row 0 is the title row while there is one.

#include "uEwidarGridModel.h"

#include <QPoint>
#include <QSet>
#include <QTableView>

#include <functional>
#include <vector>

class QPainter;
class TEwidarGridHeader;

class TDrawGrid;

// A scroll step of one of the grid's scroll bars, reported before it is applied.
struct TScrollMessage {
    Qt::Orientation Orientation = Qt::Vertical;
    int Action = 0;   // QAbstractSlider::SliderAction
    int Position = 0; // the scroll bar's position after the step
};

using TOnScrollEvent = std::function<void(TDrawGrid* Sender, const TScrollMessage& Msg)>;
// Fixed: the double-clicked row is the title row.
using TOnRowDblClick = std::function<void(TDrawGrid* Sender, int Row, bool Fixed)>;
// The owner's own drawing of a cell, after the grid's.
using TOnDrawCell =
    std::function<void(TDrawGrid* Sender, int Col, int Row, const QRect& Rect, QPainter* Painter)>;

class TDrawGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int DefaultRowHeight = 17;
    static constexpr int CheckBoxColumnWidth = 16;

    explicit TDrawGrid(QWidget* Parent = nullptr);
    ~TDrawGrid() override;

    // Refills the grid from a collection (nullptr: empty) and makes the row of
    // the record with Selected's identifier current.
    void SetEwidarCollection(IEwidarCollection* Value, IEwidarRecord* Selected = nullptr);
    // The loaded collection, as retained under its kind; empty when none.
    TIntfPtr<IEwidarCollection> EwidarCollection() const { return FCollection; }
    // The record of a row; empty for the title row and outside the rows. A list read
    // in one pass makes a row's record only when it is first asked for.
    TIntfPtr<IEwidarRecord> GetEwidarRecord(int Index) const;
    // The identifier of a row's record, without making the record; 0 for none.
    int32_t RowID(int Row) const;
    TIntfPtr<IEwidarRecord> EwidarRecord(int Row) const { return GetEwidarRecord(Row); }
    // Drops the collection, every row and column; the "all" box goes back to false.
    void Clear();
    // Forgets the remembered check marks.
    void ClearOldValueCheckbox();
    // Fits the columns: natural widths, then the surplus of the client width spread.
    void SetWidthColumns();

    QString Cells(int Col, int Row) const;
    // Trimmed empty text reads "<brak danych>" unless EmptyCellsEnabled.
    void SetCells(int Col, int Row, const QString& Text);
    bool Checked(int Row) const;
    void SetChecked(int Row, bool Value);

    QString TitleBar() const { return FTitleBar; }
    void SetTitleBar(const QString& Value) { FTitleBar = Value; }
    int RowCount() const { return FGrid->RowCount(); }
    void SetRowCount(int Value);
    int ColCount() const { return FGrid->ColCount(); }
    void SetColCount(int Value);
    int FixedRows() const { return FGrid->FixedRows(); }
    void SetFixedRows(int Value);
    // The current row in grid coordinates; -1 when there is none.
    int Row() const;
    void SetRow(int Value);
    int TopRow() const;
    void SetTopRow(int Value);
    int ColWidths(int Col) const { return columnWidth(Col); }
    void SetColWidths(int Col, int Width) { setColumnWidth(Col, Width); }
    int RowHeights(int Row) const;
    void SetRowHeights(int Row, int Height);

    bool VisibleCheckBox() const { return FVisibleCheckBox; }
    bool VisibleCheckBoxEnabled() const { return FVisibleCheckBoxEnabled; }
    void SetVisibleCheckBoxEnabled(bool Value) { FVisibleCheckBoxEnabled = Value; }
    bool SetWidthColumnsInResize() const { return FSetWidthColumnsInResize; }
    void SetSetWidthColumnsInResize(bool Value);
    bool EmptyCellsEnabled() const { return FEmptyCellsEnabled; }
    void SetEmptyCellsEnabled(bool Value) { FEmptyCellsEnabled = Value; }
    bool DrawSelectOnlyWhenFocus() const { return FDrawSelectOnlyWhenFocus; }
    void SetDrawSelectOnlyWhenFocus(bool Value);
    const TOnRowDblClick& OnRowDblClick() const { return FOnRowDblClick; }
    void SetOnRowDblClick(TOnRowDblClick Value) { FOnRowDblClick = std::move(Value); }
    const TOnScrollEvent& OnScroll() const { return FOnScroll; }
    void SetOnScroll(TOnScrollEvent Value) { FOnScroll = std::move(Value); }
    void SetOnDrawCell(TOnDrawCell Value) { FOnDrawCell = std::move(Value); }

    // Sort and check-box state, for owners and tests.
    int SortColumn() const { return FSortColumn; }
    int LastFixedColClick() const { return FLastFixedColClick; }
    bool MinToMaxSort() const { return FMinToMaxSort; }
    bool CheckBoxGroupValue() const { return FCheckBoxGroupValue; }
    QStringList CheckedIDList() const;
    // What a click on a title cell does: the "all" box, or sorting by the column.
    void FixedCellClick(int Col);
    // Applies a scroll step reported by another grid's OnScroll.
    void PerformScroll(const TScrollMessage& Msg);

    // Paints one cell (title or data) as the grid shows it.
    void DrawCell(QPainter* Painter, const QRect& Rect, int Col, int Row);
    QFont TitleFont() const;
    // Width of a text line in a font, as the column fitting measures it.
    static int TextWidth(const QFont& Font, const QString& Line);

signals:
    // The usual double-click event, after OnRowDblClick.
    void DblClick();
    // The current cell changed (grid coordinates).
    void SelectCell(int Col, int Row);

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void keyboardSearch(const QString&) override {}
    void currentChanged(const QModelIndex& Current, const QModelIndex& Previous) override;

private:
    friend class TEwidarGridHeader;

    struct TLoadedRows;
    TLoadedRows LoadRows(IEwidarCollection* Value, const QStringList& Titles);
    bool LoadLines(TLoadedRows& Out, int First, bool Titled);
    void SelectRecord(IEwidarRecord* Selected);
    void RestoreCheckedRows();
    void SortByColumn(int Col, bool Ascending);
    void SetAllChecked(bool Value);
    QString CellText(const QString& Text) const;
    const std::vector<int>& NaturalWidths();
    void InvalidateWidths() { m_widthsValid = false; }
    void UpdateHeaderVisibility();
    void HeaderPressed(int Col);
    void HeaderDoubleClicked();
    void ReportScroll(Qt::Orientation Orientation, int Action);

    void DrawTitleCell(QPainter* Painter, const QRect& Rect, int Col);
    void DrawDataCell(QPainter* Painter, const QRect& Rect, int Col, int Row);
    void DrawCheckBox(QPainter* Painter, const QRect& Rect, bool Checked);
    void DrawSortArrow(QPainter* Painter, const QRect& Rect);
    bool DrawsCurrentRow() const;

    int FLastFixedColClick = -1;
    bool FMinToMaxSort = true;
    int FSortColumn = -1;
    bool FVisibleCheckBox = false;
    bool FVisibleCheckBoxEnabled = true;
    bool FCheckBoxGroupValue = false;
    TEwidarGridModel* FGrid;
    bool FSetWidthColumnsInResize = true;
    QPoint FLastClickPoint;
    QString FTitleBar;
    bool FDrawSelectOnlyWhenFocus = true;
    TOnScrollEvent FOnScroll;
    TOnRowDblClick FOnRowDblClick;
    TOnDrawCell FOnDrawCell;
    TIntfPtr<IEwidarCollection> FCollection;
    TIntfPtr<IEwidarRowReader> FRowReader; // set while the rows came from it
    QSet<QString> FCheckedIDList;
    bool FEmptyCellsEnabled = false;

    TEwidarGridHeader* m_header;
    std::vector<int> m_naturalWidths;
    bool m_widthsValid = false;
};
