#include "uDuplicatesForm.h"

#include "uRecordMergeForm.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr uint32_t kMsgNoDuplicates = 328;

QTableWidgetItem* Item(const QString& Text) {
    auto* item = new QTableWidgetItem(Text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

TDuplicatesForm::TDuplicatesForm(QWidget* OwnerForm, IEwidarDataBase* DataBase)
    : TForm(OwnerForm), FDataBase(DataBase) {
    setObjectName(QStringLiteral("DuplicatesForm"));
    setWindowTitle(QStringLiteral("Duplikaty podmiotów"));
    resize(820, 420);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    Grid = new QTableWidget(0, 3, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setHorizontalHeaderLabels(
        {QStringLiteral("Pierwszy podmiot"), QStringLiteral("Drugi podmiot"), QStringLiteral("Wspólne dane")});
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->verticalHeader()->setVisible(false);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Grid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    btnMerge = new QPushButton(QStringLiteral("Scal dane"), this);
    btnMerge->setObjectName(QStringLiteral("btnMerge"));
    btnNotDuplicate = new QPushButton(QStringLiteral("To nie duplikat"), this);
    btnNotDuplicate->setObjectName(QStringLiteral("btnNotDuplicate"));
    btnClose = new QPushButton(QStringLiteral("Zamknij"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton* b : {btnMerge, btnNotDuplicate, btnClose})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnMerge);
    buttons->addWidget(btnNotDuplicate);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCount);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    connect(btnMerge, &QPushButton::clicked, this, &TDuplicatesForm::btnMergeClick);
    connect(btnNotDuplicate, &QPushButton::clicked, this, &TDuplicatesForm::btnNotDuplicateClick);
    connect(btnClose, &QPushButton::clicked, this, &TDuplicatesForm::reject);
    connect(Grid, &QTableWidget::cellDoubleClicked, this, [this] { btnMergeClick(); });
}

bool TDuplicatesForm::Reload() {
    const int row = std::max(Grid->currentRow(), 0);
    {
        TWaitCursor wait;
        FPairs = FDataBase ? FDataBase->FindDuplicates() : TIntfPtr<IDuplicatePairs>();
    }
    Grid->setRowCount(0);
    if (!FPairs) {
        lblCount->clear();
        return false;
    }
    const int count = FPairs->GetCount();
    Grid->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        Grid->setItem(i, 0, Item(DescribedRecord(FPairs->GetFirst(i).get())));
        Grid->setItem(i, 1, Item(DescribedRecord(FPairs->GetSecond(i).get())));
        Grid->setItem(i, 2, Item(QString::fromStdU16String(FPairs->GetReason(i))));
    }
    lblCount->setText(QStringLiteral("Pary podmiotów, które mogą być tym samym podmiotem: %1").arg(count));
    if (count > 0)
        Grid->selectRow(std::min(row, count - 1));
    btnMerge->setEnabled(count > 0);
    btnNotDuplicate->setEnabled(count > 0);
    return true;
}

int TDuplicatesForm::PairCount() const {
    return FPairs ? FPairs->GetCount() : 0;
}

int TDuplicatesForm::SelectedPair() const {
    const int row = Grid->currentRow();
    return row >= 0 && row < PairCount() ? row : -1;
}

void TDuplicatesForm::btnMergeClick() {
    const int pair = SelectedPair();
    if (pair < 0)
        return;
    if (MergeRecords(this, FPairs->GetFirst(pair).get(), FPairs->GetSecond(pair).get(), FDataBase))
        Reload();
}

void TDuplicatesForm::btnNotDuplicateClick() {
    const int pair = SelectedPair();
    if (pair < 0)
        return;
    const TIntfPtr<IEwidarRecord> first = FPairs->GetFirst(pair);
    const TIntfPtr<IEwidarRecord> second = FPairs->GetSecond(pair);
    if (!first || !second || !FDataBase->MarkNotDuplicate(first->GetID(), second->GetID()))
        ShowUserMessage(static_cast<uint32_t>(FDataBase->GetLastErrorCode()), this);
    Reload();
}

void ShowDuplicates(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    if (!DataBase)
        return;
    TDuplicatesForm form(OwnerForm, DataBase);
    if (!form.Reload()) {
        ShowUserMessage(static_cast<uint32_t>(DataBase->GetLastErrorCode()), OwnerForm);
        return;
    }
    if (form.PairCount() == 0) {
        ShowUserMessage(kMsgNoDuplicates, OwnerForm);
        return;
    }
    form.exec();
}
