#include "uRecordMergeForm.h"

#include "uCommaText.h"
#include "uEwidarComponents_Error.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

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

QString DescribedRecord(IEwidarRecord* Record) {
    const TIntfPtr<IEwidarRecordInfo> info = Record ? Record->GetRecordInfo() : TIntfPtr<IEwidarRecordInfo>();
    const QString text = info ? DescribeCommaText(toQ(info->GetSummary())) : QString();
    return text.trimmed().isEmpty() ? QStringLiteral("(bez opisu)") : text;
}

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

// The question before a merge names the kept record, then the one that goes.
constexpr uint32_t kMsgMergeQuestion = 327;

// A left cell whose value was taken from the right says so in its caption line.
const QString kTakenMark = QStringLiteral("  <----- (z prawej)");

} // namespace

TRecordMergeForm::TRecordMergeForm(QWidget* OwnerForm, IEwidarDataBase* DataBase)
    : TForm(OwnerForm), FDataBase(DataBase) {
    setObjectName(QStringLiteral("RecordMergeForm"));
    setWindowTitle(QStringLiteral("Scalanie rekordów"));
    resize(760, 460);
    DrawGrid1 = new TMergeGrid(this);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    Button1 = new QPushButton(QStringLiteral("<-----"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setToolTip(QStringLiteral("Przejmij wartość z prawej strony do rekordu po lewej (ponownie: cofnij)"));
    DrawGrid2 = new TMergeGrid(this);
    DrawGrid2->setObjectName(QStringLiteral("DrawGrid2"));
    btnScal = new QPushButton(QStringLiteral("Scal"), this);
    btnScal->setObjectName(QStringLiteral("btnScal"));
    btnScal->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("Anuluj"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    // Without a database there is nothing to merge into: the window only compares.
    Button1->setEnabled(FDataBase != nullptr);
    btnScal->setVisible(FDataBase != nullptr);
    auto* sides = new QHBoxLayout;
    sides->addWidget(DrawGrid1, 1);
    sides->addWidget(Button1, 0, Qt::AlignVCenter);
    sides->addWidget(DrawGrid2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnScal);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(sides, 1);
    layout->addLayout(buttons);
    BindSynchronising(DrawGrid1, DrawGrid2);
    BindSynchronising(DrawGrid2, DrawGrid1);
    connect(Button1, &QPushButton::clicked, this, &TRecordMergeForm::Button1Click);
    connect(btnScal, &QPushButton::clicked, this, &TRecordMergeForm::btnScalClick);
    connect(btnCancel, &QPushButton::clicked, this, &TRecordMergeForm::reject);
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
    FLeft = TIntfPtr<IEwidarRecord>(First);
    FRight = TIntfPtr<IEwidarRecord>(Second);
    TIntfPtr<IDataFields> left = First ? First->GetDataFields() : TIntfPtr<IDataFields>();
    TIntfPtr<IDataFields> right = Second ? Second->GetDataFields() : TIntfPtr<IDataFields>();
    if (NumberOfFields(right.get()) > NumberOfFields(left.get())) {
        std::swap(left, right);
        std::swap(FLeft, FRight);
    }
    DrawGrid1->Clear();
    DrawGrid2->Clear();
    FRows.clear();
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
        FRows.push_back({symbol, caption, leftText, rightValue, rightText, false});
        DrawGrid1->AddRow(caption + QStringLiteral("\r\n") + leftText);
        DrawGrid2->AddRow(caption + QStringLiteral("\r\n") + rightText);
    }
    DrawGrid1->SetWidthColumns();
    DrawGrid2->SetWidthColumns();
}

void TRecordMergeForm::ShowLeftCell(int Row) {
    const TRow& row = FRows[static_cast<size_t>(Row)];
    const QString text = row.taken ? row.caption + kTakenMark + QStringLiteral("\r\n") + row.rightText
                                   : row.caption + QStringLiteral("\r\n") + row.leftText;
    DrawGrid1->SetCells(0, Row, text);
    DrawGrid1->SetRowHeights(Row, uRecordMergeForm::TDrawGrid::LineCount(text) * TDrawGrid::DefaultRowHeight);
    DrawGrid1->SetWidthColumns();
}

void TRecordMergeForm::Button1Click() {
    const int row = DrawGrid2->Row();
    if (!FDataBase || row < 0 || row >= static_cast<int>(FRows.size()))
        return;
    FRows[static_cast<size_t>(row)].taken = !FRows[static_cast<size_t>(row)].taken;
    ShowLeftCell(row);
}

std::vector<TMergeValue> TRecordMergeForm::ChosenValues() const {
    std::vector<TMergeValue> values;
    for (const TRow& row : FRows)
        if (row.taken)
            values.emplace_back(row.symbol, row.rightValue.toStdU16String());
    return values;
}

void TRecordMergeForm::btnScalClick() {
    if (!FDataBase || !FLeft || !FRight)
        return;
    if (ShowUserMessage(kMsgMergeQuestion, {DescribedRecord(FLeft.get()), DescribedRecord(FRight.get())}, this) !=
        ModalResult::mrYes)
        return;
    bool merged;
    {
        TWaitCursor wait;
        merged = FDataBase->MergeRecords(FLeft->GetID(), FRight->GetID(), ChosenValues());
    }
    if (!merged) {
        // Nothing changed: the window stays, so the operator may try again or cancel.
        ShowUserMessage(static_cast<uint32_t>(FDataBase->GetLastErrorCode()), this);
        return;
    }
    accept();
}

bool MergeRecords(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second, IEwidarDataBase* DataBase) {
    if (!First || !Second || First->GetID() == Second->GetID())
        return false;
    TRecordMergeForm form(OwnerForm, DataBase);
    form.Fill(First, Second);
    return form.exec() == QDialog::Accepted;
}
