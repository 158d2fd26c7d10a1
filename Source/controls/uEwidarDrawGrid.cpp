#include "uEwidarDrawGrid.h"

#include "uCommaText.h"
#include "uEwidarGridPaint.h"
#include "uEwidarKinds.h"
#include "uStrings.h"
#include "uWaitCursor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <array>

namespace {

const QString kBrakDanych = QStringLiteral("<brak danych>");

// The grid does not paint while it is refilled or re-sorted.
class TNoUpdates {
public:
    explicit TNoUpdates(QWidget* Widget) : m_widget(Widget), m_was(Widget->updatesEnabled()) {
        m_widget->setUpdatesEnabled(false);
    }
    ~TNoUpdates() { m_widget->setUpdatesEnabled(m_was); }
    TNoUpdates(const TNoUpdates&) = delete;
    TNoUpdates& operator=(const TNoUpdates&) = delete;

private:
    QWidget* m_widget;
    bool m_was;
};

using TKindCast = TIntfPtr<IEwidarCollection> (*)(IEwidarCollection*);

template <class K> TIntfPtr<IEwidarCollection> AsKind(IEwidarCollection* Collection) {
    if (auto k = Supports<K>(Collection))
        return TIntfPtr<IEwidarCollection>(k.get());
    return {};
}

// The collection kinds in the order in which a collection is asked for them.
const std::array<TKindCast, 23> kCollectionKinds = {
    &AsKind<IPodmioty>,
    &AsKind<IPodatnicy>,
    &AsKind<IPracownicy>,
    &AsKind<IKontrahenci>,
    &AsKind<IObywatelstwa>,
    &AsKind<IDokumentyTozsamosci>,
    &AsKind<IAdresy>,
    &AsKind<IAdresyDzialalnosci>,
    &AsKind<IOddzialy>,
    &AsKind<IRodzajeDzialalnosci>,
    &AsKind<IDaneZUSow>,
    &AsKind<IUrzedyStatystyczne>,
    &AsKind<IDaneNFZow>,
    &AsKind<ISadyRejonowe>,
    &AsKind<IDaneBankow>,
    &AsKind<INrIdentyfikacyjne>,
    &AsKind<IWspolnicy>,
    &AsKind<ISpolki>,
    &AsKind<ISpolkiPodmiotu>,
    &AsKind<IRachunkiBankowe>,
    &AsKind<IDaneZamawiajacych>,
    &AsKind<IReprezentanci>,
    &AsKind<IBiuraRachunkowe>,
};

TIntfPtr<IEwidarCollection> RetainByKind(IEwidarCollection* Collection) {
    for (TKindCast cast : kCollectionKinds)
        if (auto retained = cast(Collection))
            return retained;
    return {};
}

using TItemGetter = std::function<TIntfPtr<IEwidarRecord>(int32_t)>;

// The item getter of the collection's family, resolved once per load.
TItemGetter ItemGetter(IEwidarCollection* Collection) {
    if (auto c = Supports<IEwidarSectionCollection>(Collection))
        return [c](int32_t i) {
            return c->GetItem(i);
        };
    if (auto c = Supports<IEwidarListCollection>(Collection))
        return [c](int32_t i) {
            return c->GetItem(i);
        };
    if (auto c = Supports<IEwidarPeopleCollection>(Collection))
        return [c](int32_t i) {
            return c->GetItem(i);
        };
    if (auto c = Supports<IPodmioty>(Collection))
        return [c](int32_t i) {
            return c->GetItem(i);
        };
    return [](int32_t) {
        return TIntfPtr<IEwidarRecord>();
    };
}

QStringList DescriptionParts(IEwidarRecord* Record) {
    QStringList parts;
    const TIntfPtr<IEwidarRecordInfo> info = Record->GetRecordInfo();
    if (!info)
        return parts;
    const int32_t count = std::max(info->GetCount(), 0);
    parts.reserve(count);
    for (int32_t i = 0; i < count; ++i)
        parts.append(toQ(info->GetLine(i)));
    return parts;
}

} // namespace

struct TDrawGrid::TLoadedRows {
    std::vector<TEwidarRow> Rows;
    int ColCount = 0;
    TSharedRowLines Lines;
};

TDrawGrid::TDrawGrid(QWidget* Parent) : QTableView(Parent), FGrid(new TEwidarGridModel(this)) {
    QFont f = font();
    f.setKerning(false);
    setFont(f);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_header = new TEwidarGridHeader(this);
    setHorizontalHeader(m_header);
    // Column widths are the grid's to fit; a double click on a divider changes nothing.
    disconnect(m_header, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    setItemDelegate(new TEwidarGridDelegate(this));
    setModel(FGrid);
    connect(FGrid, &QAbstractItemModel::modelReset, this, &TDrawGrid::UpdateHeaderVisibility);
    connect(FGrid, &QAbstractItemModel::rowsInserted, this, &TDrawGrid::UpdateHeaderVisibility);
    connect(FGrid, &QAbstractItemModel::rowsRemoved, this, &TDrawGrid::UpdateHeaderVisibility);
    connect(m_header, &QHeaderView::sectionPressed, this, &TDrawGrid::HeaderPressed);
    connect(m_header, &QHeaderView::sectionClicked, this, &TDrawGrid::FixedCellClick);
    connect(m_header, &QHeaderView::sectionDoubleClicked, this, &TDrawGrid::HeaderDoubleClicked);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { ReportScroll(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { ReportScroll(Qt::Horizontal, action); });
    UpdateHeaderVisibility();
}

TDrawGrid::~TDrawGrid() {
    Clear();
}

void TDrawGrid::SetEwidarCollection(IEwidarCollection* Value, IEwidarRecord* Selected) {
    TNoUpdates noUpdates(this);
    Clear();
    const int32_t count = Value ? std::max(Value->GetCount(), 0) : 0;
    FVisibleCheckBox = FVisibleCheckBoxEnabled && Value && count >= 1;
    const QStringList titles = ParseCommaText(FTitleBar);
    TLoadedRows loaded = LoadRows(Value, titles);
    if (!titles.isEmpty() && loaded.Rows.size() == 1)
        loaded.Rows.emplace_back();
    const int fixed = !titles.isEmpty() && loaded.Rows.size() > 1 ? 1 : 0;
    FGrid->ResetRows(std::move(loaded.Rows), loaded.ColCount, fixed, std::move(loaded.Lines));
    InvalidateWidths();
    if (FLastFixedColClick >= 0)
        SortByColumn(FLastFixedColClick, !FMinToMaxSort);
    // Selected after sorting, so the current row is the selected record's.
    SelectRecord(Selected);
    RestoreCheckedRows();
    SetWidthColumns();
}

TDrawGrid::TLoadedRows TDrawGrid::LoadRows(IEwidarCollection* Value, const QStringList& Titles) {
    TLoadedRows out;
    const int first = FVisibleCheckBox ? 1 : 0;
    out.ColCount = first + static_cast<int>(Titles.size());
    if (!Titles.isEmpty()) {
        TEwidarRow title;
        title.Row.resize(out.ColCount);
        for (int i = 0; i < Titles.size(); ++i)
            title.Row[first + i] = CellText(Titles.at(i));
        out.Rows.push_back(std::move(title));
    }
    FCollection = RetainByKind(Value);
    if (!FCollection || LoadLines(out, first, !Titles.isEmpty()))
        return out;
    const TItemGetter getItem = ItemGetter(FCollection.get());
    const int32_t count = std::max(FCollection->GetCount(), 0);
    out.Rows.reserve(out.Rows.size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        TIntfPtr<IEwidarRecord> record = getItem(i);
        if (!record || record->IsNew())
            continue;
        const QStringList parts = DescriptionParts(record.get());
        if (Titles.isEmpty())
            out.ColCount = std::max(out.ColCount, first + static_cast<int>(parts.size()));
        TEwidarRow row;
        row.ID = record->GetID();
        row.EwidarRecord = std::move(record);
        row.CheckBoxActive = FVisibleCheckBox && FVisibleCheckBoxEnabled;
        row.Row.resize(first);
        for (int c = first; c < out.ColCount; ++c)
            row.Row.append(CellText(parts.value(c - first)));
        out.Rows.push_back(std::move(row));
    }
    // Without titles the widest description sets the columns; shorter rows are filled up.
    for (TEwidarRow& row : out.Rows)
        while (row.Row.size() < out.ColCount)
            row.Row.append(CellText(QString()));
    return out;
}

// Every row's identifier and lines in one call, when the collection offers it; the
// rows show the lines where they were read, and the records are made later, one by
// one, for the rows that are opened or ticked.
bool TDrawGrid::LoadLines(TLoadedRows& Out, int First, bool Titled) {
    const TIntfPtr<IEwidarRowReader> reader = Supports<IEwidarRowReader>(FCollection);
    TSharedRowLines& shared = Out.Lines;
    if (!reader || !reader->ReadRows(shared.Lines))
        return false;
    shared.First = First;
    shared.Blank = CellText(QString());
    if (!Titled)
        Out.ColCount = std::max(Out.ColCount, First + static_cast<int>(shared.Lines.LineCount));
    const size_t count = shared.Lines.IDs.size();
    Out.Rows.reserve(Out.Rows.size() + count);
    for (size_t r = 0; r < count; ++r) {
        TEwidarRow row;
        row.ID = shared.Lines.IDs[r];
        row.CheckBoxActive = FVisibleCheckBox && FVisibleCheckBoxEnabled;
        row.Lines = static_cast<int32_t>(r);
        Out.Rows.push_back(std::move(row));
    }
    FRowReader = reader;
    return true;
}

void TDrawGrid::SelectRecord(IEwidarRecord* Selected) {
    int target = -1;
    if (Selected) {
        const int32_t id = Selected->GetID();
        for (int r = FixedRows(); r < RowCount() && target < 0; ++r) {
            const TEwidarRow* row = FGrid->GridRow(r);
            if (row->ID != 0 && row->ID == id)
                target = r;
        }
    }
    if (target < 0 && RowCount() > FixedRows())
        target = FixedRows();
    if (target >= 0)
        SetRow(target);
}

void TDrawGrid::RestoreCheckedRows() {
    if (FCheckedIDList.isEmpty())
        return;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        TEwidarRow* row = FGrid->GridRow(r);
        if (row->CheckBoxActive && row->ID != 0 && FCheckedIDList.contains(QString::number(row->ID)))
            row->Checked = true;
    }
    FGrid->AllRowsChanged();
}

TIntfPtr<IEwidarRecord> TDrawGrid::GetEwidarRecord(int Index) const {
    TEwidarRow* row = FGrid->GridRow(Index);
    if (!row)
        return {};
    if (!row->EwidarRecord && row->ID != 0 && FRowReader)
        row->EwidarRecord = FRowReader->GetItemByID(row->ID);
    return row->EwidarRecord;
}

int32_t TDrawGrid::RowID(int Row) const {
    const TEwidarRow* row = FGrid->GridRow(Row);
    return row ? row->ID : 0;
}

void TDrawGrid::Clear() {
    FCollection = nullptr;
    FRowReader = nullptr;
    FCheckBoxGroupValue = false;
    FVisibleCheckBox = false;
    FGrid->Clear();
    InvalidateWidths();
}

void TDrawGrid::ClearOldValueCheckbox() {
    FCheckedIDList.clear();
}

QString TDrawGrid::CellText(const QString& Text) const {
    if (!FEmptyCellsEnabled && Text.trimmed().isEmpty())
        return kBrakDanych;
    return Text;
}

QString TDrawGrid::Cells(int Col, int Row) const {
    return FGrid->Cell(Col, Row);
}

void TDrawGrid::SetCells(int Col, int Row, const QString& Text) {
    if (FGrid->SetCell(Col, Row, CellText(Text)))
        InvalidateWidths();
}

bool TDrawGrid::Checked(int Row) const {
    const TEwidarRow* row = FGrid->GridRow(Row);
    return row && row->CheckBoxActive && row->Checked;
}

void TDrawGrid::SetChecked(int Row, bool Value) {
    TEwidarRow* row = FGrid->GridRow(Row);
    if (!row || !row->CheckBoxActive)
        return;
    row->Checked = Value;
    if (row->ID != 0) {
        const QString id = QString::number(row->ID);
        if (Value)
            FCheckedIDList.insert(id);
        else
            FCheckedIDList.remove(id);
    }
    FGrid->RowChanged(Row);
}

void TDrawGrid::SetAllChecked(bool Value) {
    for (int r = 0; r < RowCount(); ++r) {
        TEwidarRow* row = FGrid->GridRow(r);
        if (!row->CheckBoxActive)
            continue;
        row->Checked = Value;
        if (row->ID == 0)
            continue;
        const QString id = QString::number(row->ID);
        if (Value)
            FCheckedIDList.insert(id);
        else
            FCheckedIDList.remove(id);
    }
    FGrid->AllRowsChanged();
}

QStringList TDrawGrid::CheckedIDList() const {
    QStringList ids(FCheckedIDList.begin(), FCheckedIDList.end());
    ids.sort();
    return ids;
}

void TDrawGrid::SetRowCount(int Value) {
    FGrid->SetRowCount(Value);
    InvalidateWidths();
}

void TDrawGrid::SetColCount(int Value) {
    FGrid->SetColCount(Value);
    InvalidateWidths();
}

void TDrawGrid::SetFixedRows(int Value) {
    FGrid->SetFixedRows(Value);
    InvalidateWidths();
}

int TDrawGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? FGrid->ToGridRow(current.row()) : -1;
}

void TDrawGrid::SetRow(int Value) {
    if (Value < FixedRows() || Value >= RowCount())
        return;
    const int col = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(FGrid->index(FGrid->ToViewRow(Value), std::max(col, 0)));
}

int TDrawGrid::TopRow() const {
    const int viewRow = rowAt(0);
    return viewRow < 0 ? FixedRows() : FGrid->ToGridRow(viewRow);
}

void TDrawGrid::SetTopRow(int Value) {
    if (Value < FixedRows() || Value >= RowCount())
        return;
    scrollTo(FGrid->index(FGrid->ToViewRow(Value), 0), QAbstractItemView::PositionAtTop);
}

int TDrawGrid::RowHeights(int Row) const {
    if (Row < 0 || Row >= RowCount())
        return 0;
    return Row < FixedRows() ? m_header->height() : rowHeight(FGrid->ToViewRow(Row));
}

void TDrawGrid::SetRowHeights(int Row, int Height) {
    if (Row < 0 || Row >= RowCount() || Height < 0)
        return;
    if (Row < FixedRows())
        m_header->setFixedHeight(Height);
    else
        setRowHeight(FGrid->ToViewRow(Row), Height);
}

void TDrawGrid::SetSetWidthColumnsInResize(bool Value) {
    FSetWidthColumnsInResize = Value;
    if (Value)
        SetWidthColumns();
}

void TDrawGrid::SetDrawSelectOnlyWhenFocus(bool Value) {
    FDrawSelectOnlyWhenFocus = Value;
    viewport()->update();
}

void TDrawGrid::FixedCellClick(int Col) {
    if (Col < 0 || Col >= ColCount())
        return;
    if (FVisibleCheckBox && Col == 0) {
        FCheckBoxGroupValue = !FCheckBoxGroupValue;
        SetAllChecked(FCheckBoxGroupValue);
        return;
    }
    if (Col != FLastFixedColClick)
        FMinToMaxSort = true;
    FLastFixedColClick = Col;
    if (FixedRows() > 0) {
        SortByColumn(Col, FMinToMaxSort);
        FMinToMaxSort = !FMinToMaxSort;
    }
}

void TDrawGrid::SortByColumn(int Col, bool Ascending) {
    if (Col < 0 || Col >= ColCount())
        return;
    TWaitCursor wait;
    TNoUpdates noUpdates(this);
    FGrid->SortRows(Col, Ascending);
    FSortColumn = Col;
    m_header->viewport()->update();
}

void TDrawGrid::PerformScroll(const TScrollMessage& Msg) {
    QScrollBar* bar = Msg.Orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    bar->setValue(Msg.Position);
}

void TDrawGrid::ReportScroll(Qt::Orientation Orientation, int Action) {
    if (!FOnScroll)
        return;
    const QScrollBar* bar = Orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    FOnScroll(this, TScrollMessage{Orientation, Action, bar->sliderPosition()});
}

void TDrawGrid::UpdateHeaderVisibility() {
    m_header->setVisible(FGrid->FixedRows() > 0);
}

void TDrawGrid::HeaderPressed(int Col) {
    FLastClickPoint = QPoint(Col, 0);
}

void TDrawGrid::HeaderDoubleClicked() {
    if (FOnRowDblClick)
        FOnRowDblClick(this, 0, true);
    emit DblClick();
}

void TDrawGrid::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Space && Event->modifiers() == Qt::NoModifier) {
        SetChecked(Row(), !Checked(Row()));
        Event->accept();
        return;
    }
    QTableView::keyPressEvent(Event);
}

void TDrawGrid::mousePressEvent(QMouseEvent* Event) {
    const QModelIndex pressed = indexAt(Event->position().toPoint());
    FLastClickPoint =
        pressed.isValid() ? QPoint(pressed.column(), FGrid->ToGridRow(pressed.row())) : QPoint(-1, -1);
    QTableView::mousePressEvent(Event);
    // Only the left button ticks: a right click opens the popup for the row without changing it.
    if (Event->button() == Qt::LeftButton && pressed.isValid() && pressed.column() == 0 && FVisibleCheckBox &&
        FVisibleCheckBoxEnabled) {
        const int row = FGrid->ToGridRow(pressed.row());
        SetChecked(row, !Checked(row));
    }
}

void TDrawGrid::mouseDoubleClickEvent(QMouseEvent* Event) {
    // The pressed cell; taken from the event itself, as a double click may arrive without its press.
    const QModelIndex pressed = indexAt(Event->position().toPoint());
    FLastClickPoint =
        pressed.isValid() ? QPoint(pressed.column(), FGrid->ToGridRow(pressed.row())) : QPoint(-1, -1);
    const int row = FLastClickPoint.y();
    if (FOnRowDblClick)
        FOnRowDblClick(this, row, row < FixedRows());
    QTableView::mouseDoubleClickEvent(Event);
    emit DblClick();
}

void TDrawGrid::focusInEvent(QFocusEvent* Event) {
    QTableView::focusInEvent(Event);
    viewport()->update();
}

void TDrawGrid::focusOutEvent(QFocusEvent* Event) {
    QTableView::focusOutEvent(Event);
    viewport()->update();
}

void TDrawGrid::resizeEvent(QResizeEvent* Event) {
    QTableView::resizeEvent(Event);
    if (FSetWidthColumnsInResize)
        SetWidthColumns();
}

void TDrawGrid::currentChanged(const QModelIndex& Current, const QModelIndex& Previous) {
    QTableView::currentChanged(Current, Previous);
    // The whole current row is highlighted, not only its cell.
    viewport()->update();
    if (Current.isValid())
        emit SelectCell(Current.column(), FGrid->ToGridRow(Current.row()));
}
