#include "uRecordMergeForm.h"

#include "uEwidarComponents_Error.h"
#include "uStrings.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace uRecordMergeForm {

TDrawGrid::TDrawGrid(QWidget* Parent) : ::TDrawGrid(Parent) {
    SetVisibleCheckBoxEnabled(false);
    // The row chosen on the other side stays visible here.
    SetDrawSelectOnlyWhenFocus(false);
    // The two sides stand apart on the window's white.
    setFrameShape(QFrame::StyledPanel);
}

int TDrawGrid::LineCount(const QString& Text) {
    // The grid breaks lines at LF (a CR before it is dropped), so CR LF and the
    // LF-only breaks of multi-line edits both count.
    return 1 + static_cast<int>(Text.count(u'\n'));
}

void TDrawGrid::AddRow(const QString& Text) {
    if (ColCount() < 1)
        SetColCount(1);
    const int row = RowCount();
    SetRowCount(row + 1);
    SetCells(0, row, Text);
    SetRowHeights(row, LineCount(Text) * DefaultRowHeight);
}

} // namespace uRecordMergeForm

using TMergeGrid = uRecordMergeForm::TDrawGrid;

namespace {

// The value of a symbol's field; empty when the record has no such field.
QString FieldValue(IDataFields* Fields, const std::u16string& Symbol, TIntfPtr<IDataField>* Field = nullptr) {
    TIntfPtr<IDataField> field = Fields ? Fields->GetDataField(Symbol) : TIntfPtr<IDataField>();
    const QString value = field ? toQ(field->GetValue()) : QString();
    if (Field)
        *Field = std::move(field);
    return value;
}

// What a side shows: a blank for an empty value and for a date written with "H".
QString DisplayText(IDataField* Field, const QString& Value) {
    const bool date = Field && StrToFieldType(toQ(Field->GetFieldType())) == ctDate;
    if ((date && Value.contains(u'H')) || Value.isEmpty())
        return QStringLiteral(" ");
    return Value;
}

int NumberOfFields(IDataFields* Fields) {
    return Fields ? std::max(Fields->GetCount(), 0) : 0;
}

} // namespace

TRecordMergeForm::TRecordMergeForm(QWidget* OwnerForm) : TForm(OwnerForm) {
    setObjectName(QStringLiteral("RecordMergeForm"));
    setWindowTitle(QStringLiteral("Scalanie rekordów"));
    resize(760, 460);
    DrawGrid1 = new TMergeGrid(this);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    Button1 = new QPushButton(QStringLiteral("<-----"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    // Taking a value from the right record into the left one is not settled: no action.
    Button1->setEnabled(false);
    DrawGrid2 = new TMergeGrid(this);
    DrawGrid2->setObjectName(QStringLiteral("DrawGrid2"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(DrawGrid1, 1);
    layout->addWidget(Button1, 0, Qt::AlignVCenter);
    layout->addWidget(DrawGrid2, 1);
    BindSynchronising(DrawGrid1, DrawGrid2);
    BindSynchronising(DrawGrid2, DrawGrid1);
}

void TRecordMergeForm::BindSynchronising(TMergeGrid* Grid, TMergeGrid* Other) {
    connect(Grid, &::TDrawGrid::SelectCell, this, [this, Other](int, int Row) { SelectCell(Other, Row); });
    Grid->SetOnScroll([this, Other](::TDrawGrid*, const TScrollMessage& Msg) { Scroll(Other, Msg); });
}

void TRecordMergeForm::SelectCell(TMergeGrid* Other, int Row) {
    if (FSelecting)
        return;
    FSelecting = true;
    Other->SetRow(Row);
    FSelecting = false;
}

void TRecordMergeForm::Scroll(TMergeGrid* Other, const TScrollMessage& Msg) {
    // Passed on with the other side's handler unbound, so it does not come back.
    const TOnScrollEvent handler = Other->OnScroll();
    Other->SetOnScroll(nullptr);
    Other->PerformScroll(Msg);
    Other->SetOnScroll(handler);
}

void TRecordMergeForm::Fill(IEwidarRecord* First, IEwidarRecord* Second) {
    TIntfPtr<IDataFields> left = First ? First->GetDataFields() : TIntfPtr<IDataFields>();
    TIntfPtr<IDataFields> right = Second ? Second->GetDataFields() : TIntfPtr<IDataFields>();
    if (NumberOfFields(right.get()) > NumberOfFields(left.get()))
        std::swap(left, right);
    DrawGrid1->Clear();
    DrawGrid2->Clear();
    const int count = NumberOfFields(left.get());
    for (int i = 0; i < count; ++i) {
        const std::u16string symbol = left->GetSymbol(i);
        TIntfPtr<IDataField> leftField;
        TIntfPtr<IDataField> rightField;
        const QString leftValue = FieldValue(left.get(), symbol, &leftField);
        const QString rightValue = FieldValue(right.get(), symbol, &rightField);
        if (leftValue == rightValue)
            continue;
        const QString leftText = DisplayText(leftField.get(), leftValue);
        const QString rightText = DisplayText(rightField.get(), rightValue);
        if (leftText == rightText)
            continue;
        const QString caption = leftField ? toQ(leftField->GetCaption()) : toQ(symbol);
        DrawGrid1->AddRow(caption + QStringLiteral("\r\n") + leftText);
        DrawGrid2->AddRow(caption + QStringLiteral("\r\n") + rightText);
    }
    DrawGrid1->SetWidthColumns();
    DrawGrid2->SetWidthColumns();
}

void MergeRecords(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second) {
    if (!First || !Second || First->GetID() == Second->GetID())
        return;
    TRecordMergeForm form(OwnerForm);
    form.Fill(First, Second);
    form.exec();
}
