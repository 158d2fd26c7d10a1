#include "uCollectionBaseFrame.h"

#include "TEdit.h"
#include "uCollectionTitles.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uListExport.h"
#include "uListPictures.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kFilterDelayMs = 250;

QToolButton* SpeedButton(QWidget* Parent, const char* Name, const QString& Caption, const QPixmap& Glyph) {
    auto* button = new QToolButton(Parent);
    button->setObjectName(QLatin1String(Name));
    button->setText(Caption);
    button->setIcon(Glyph);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QFrame* PlainPanel(QWidget* Parent, const char* Name) {
    auto* panel = new QFrame(Parent);
    panel->setObjectName(QLatin1String(Name));
    return panel;
}

// A control's own visibility flag, whatever its parents show.
bool Shown(const QWidget* Widget) {
    return !Widget->isHidden();
}

} // namespace

TCollectionBaseFrame::TCollectionBaseFrame(QWidget* Parent) : TFrame(Parent) {
    setObjectName(QStringLiteral("CollectionBaseFrame"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Panel1 = new TPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    outer->addWidget(Panel1);
    Panel5 = PlainPanel(Panel1, "Panel5");
    auto* top = new QHBoxLayout(Panel5);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(2);
    CreateButtonBar();
    CreateFilter();
    CreateGrid();
    pbDeleteProgress = new QProgressBar(Panel1);
    pbDeleteProgress->setObjectName(QStringLiteral("pbDeleteProgress"));
    pbDeleteProgress->hide();
    Panel1->Layout()->addWidget(Panel5);
    Panel1->Layout()->addWidget(DrawGrid1, 1);
    Panel1->Layout()->addWidget(pbDeleteProgress);
    CreatePopup();
    tmrFilter = new QTimer(this);
    tmrFilter->setObjectName(QStringLiteral("tmrFilter"));
    tmrFilter->setInterval(kFilterDelayMs);
    tmrFilter->setSingleShot(true);
    BindHandlers();
}

TCollectionBaseFrame::~TCollectionBaseFrame() = default;

void TCollectionBaseFrame::CreateButtonBar() {
    Panel3 = PlainPanel(Panel5, "Panel3");
    auto* bar = new QHBoxLayout(Panel3);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);
    btnView = SpeedButton(Panel3, "btnView", QStringLiteral("&Pokaż"), ListPictures::ViewGlyph());
    btnAdd = SpeedButton(Panel3, "btnAdd", QStringLiteral("Dodaj"), ListPictures::AddGlyph());
    btnEdit = SpeedButton(Panel3, "btnEdit", QStringLiteral("Edytuj"), ListPictures::EditGlyph());
    btnList = SpeedButton(Panel3, "btnList", QStringLiteral("Wybierz z Listy"), ListPictures::AddGlyph());
    btnDelete = SpeedButton(Panel3, "btnDelete", QStringLiteral("Usuń"), ListPictures::DeleteGlyph());
    for (QToolButton* b : {btnView, btnAdd, btnEdit, btnList, btnDelete})
        bar->addWidget(b);
    btnView->hide();
    btnList->hide();
    Panel5->layout()->addWidget(Panel3);
}

void TCollectionBaseFrame::CreateFilter() {
    pnlAktywni = PlainPanel(Panel5, "pnlAktywni");
    auto* activity = new QHBoxLayout(pnlAktywni);
    activity->setContentsMargins(0, 0, 0, 0);
    ComboBox1 = new QComboBox(pnlAktywni);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(
        {QStringLiteral("Wszystkie"), QStringLiteral("Aktywne"), QStringLiteral("Nie aktywne")});
    ComboBox1->setCurrentIndex(0);
    activity->addWidget(ComboBox1);
    pnlAktywni->hide();
    pnlFilter = PlainPanel(Panel5, "pnlFilter");
    auto* filter = new QHBoxLayout(pnlFilter);
    filter->setContentsMargins(0, 0, 0, 0);
    edtfilter = new TEdit(pnlFilter);
    edtfilter->setObjectName(QStringLiteral("edtfilter"));
    edtfilter->SetIcon(ListPictures::FilterIcon());
    edtfilter->SetIconHint(QStringLiteral("Filtruj"));
    filter->addWidget(edtfilter);
    Panel5->layout()->addWidget(pnlAktywni);
    Panel5->layout()->addWidget(pnlFilter);
    static_cast<QHBoxLayout*>(Panel5->layout())->setStretchFactor(pnlFilter, 1);
}

void TCollectionBaseFrame::CreateGrid() {
    DrawGrid1 = new TDrawGrid(Panel1);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TCollectionBaseFrame::CreatePopup() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char* Name, const QString& Caption) {
        QAction* action = PopupMenu1->addAction(Caption);
        action->setObjectName(QLatin1String(Name));
        return action;
    };
    Poka1 = add("Poka1", QStringLiteral("Pokaż"));
    Dodaj1 = add("Dodaj1", QStringLiteral("Dodaj"));
    Edytuj1 = add("Edytuj1", QStringLiteral("Edytuj"));
    Usu1 = add("Usu1", QStringLiteral("Usuń"));
    N1 = PopupMenu1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Powizania1 = add("Powizania1", QStringLiteral("Powiązania"));
    N2 = PopupMenu1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    N2->setVisible(false);
    Scaldane1 = add("Scaldane1", QStringLiteral("Scal dane"));
    Scaldane1->setVisible(false);
    Znajdzduplikaty1 = add("Znajdzduplikaty1", QStringLiteral("Znajdź duplikaty"));
    Znajdzduplikaty1->setVisible(false);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N3"));
    add("Eksportuj1", QStringLiteral("Eksportuj…"));
}

void TCollectionBaseFrame::BindHandlers() {
    connect(btnView, &QToolButton::clicked, this, &TCollectionBaseFrame::btnViewClick);
    connect(btnAdd, &QToolButton::clicked, this, &TCollectionBaseFrame::btnAddClick);
    connect(btnEdit, &QToolButton::clicked, this, &TCollectionBaseFrame::btnEditClick);
    connect(btnList, &QToolButton::clicked, this, [this] { FOnListClick ? FOnListClick() : btnEditClick(); });
    connect(btnDelete, &QToolButton::clicked, this, &TCollectionBaseFrame::btnDeleteClick);
    connect(Poka1, &QAction::triggered, this, &TCollectionBaseFrame::btnViewClick);
    connect(Dodaj1, &QAction::triggered, btnAdd, &QToolButton::click);
    connect(Edytuj1, &QAction::triggered, btnEdit, &QToolButton::click);
    connect(Usu1, &QAction::triggered, btnDelete, &QToolButton::click);
    connect(Powizania1, &QAction::triggered, this, &TCollectionBaseFrame::Powizania1Click);
    connect(Scaldane1, &QAction::triggered, this, &TCollectionBaseFrame::Scaldane1Click);
    connect(Znajdzduplikaty1, &QAction::triggered, this, &TCollectionBaseFrame::Znajdzduplikaty1Click);
    connect(PopupMenu1->findChild<QAction*>(QStringLiteral("Eksportuj1")), &QAction::triggered, this, [this] {
        if (FEwidarCollection)
            ListExport::ExportList(window(), ListContents(this));
    });
    connect(tmrFilter, &QTimer::timeout, this, &TCollectionBaseFrame::tmrFilterTimer);
    connect(edtfilter, &QLineEdit::textChanged, this, &TCollectionBaseFrame::RefreshData);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TCollectionBaseFrame::RefreshData);
    connect(DrawGrid1, &QWidget::customContextMenuRequested, this, &TCollectionBaseFrame::ShowPopup);
    DrawGrid1->SetOnRowDblClick(
        [this](TDrawGrid*, int Row, bool Fixed) { DrawGrid1RowDblClick(Row, Fixed); });
    edtfilter->installEventFilter(this);
    DrawGrid1->installEventFilter(this);
}

TIntfPtr<IEwidarDataBase> TCollectionBaseFrame::EwidarDataBase() const {
    return FEwidarDataBaseSource ? FEwidarDataBaseSource() : FEwidarDataBase;
}

void TCollectionBaseFrame::SetEwidarDataBase(IEwidarDataBase* Value) {
    FEwidarDataBaseSource = nullptr;
    FEwidarDataBase = TIntfPtr<IEwidarDataBase>(Value);
}

void TCollectionBaseFrame::SetEwidarDataBaseSource(TDataBaseSource Source) {
    FEwidarDataBase = nullptr;
    FEwidarDataBaseSource = std::move(Source);
}

void TCollectionBaseFrame::SetEwidarCollection(IEwidarCollection* Value) {
    TWaitCursor wait;
    // Ticks belong to the records of one list: another registry (or another owner's
    // list) may reuse their identifiers for records the operator never saw ticked.
    if (!Value || Value != FEwidarCollection.get())
        DrawGrid1->ClearOldValueCheckbox();
    FEwidarCollection = TIntfPtr<IEwidarCollection>(Value);
    if (Value) {
        ShowUserMessage(static_cast<uint32_t>(Value->GetLastErrorCode()), window());
        // The collection reports changes of its content; the list then reloads. The
        // collection may outlive the frame, hence the guarded pointer.
        QPointer<TCollectionBaseFrame> self(this);
        Value->SetOnChange([self](IInterface*) {
            if (self)
                self->RefreshData();
        });
        const QString titles = CollectionTitleBar(Value);
        if (!titles.isNull())
            DrawGrid1->SetTitleBar(titles);
    }
    DrawGrid1->SetEwidarCollection(Value, FCurrentEwidarRecord.get());
    UpdateEditButtons();
}

void TCollectionBaseFrame::RefreshData() {
    if (FBulkDeleting) {
        FReloadPending = true;
        return;
    }
    tmrFilter->stop();
    tmrFilter->start();
}

void TCollectionBaseFrame::ApplyPendingFilter() {
    // Through the timer's signal: an owner may have connected its own reload to it.
    if (tmrFilter->isActive()) {
        tmrFilter->stop();
        QMetaObject::invokeMethod(tmrFilter, "timeout", Qt::DirectConnection);
    }
}

void TCollectionBaseFrame::tmrFilterTimer() {
    tmrFilter->stop();
    if (FBulkDeleting) {
        FReloadPending = true;
        return;
    }
    TWaitCursor wait;
    int activity = ComboBox1->currentIndex();
    if (activity < 0 || activity > 2)
        activity = 0;
    FCurrentEwidarRecord = DrawGrid1->EwidarRecord(DrawGrid1->Row());
    if (FEwidarCollection) {
        const std::u16string text = toU16(edtfilter->text());
        auto people = Supports<IEwidarPeopleCollection>(FEwidarCollection);
        if (people &&
            (SupportsIID(people.get(), IPracownicy::IID) || SupportsIID(people.get(), IKontrahenci::IID)))
            people->SetActivityFilter(activity, text);
        else
            FEwidarCollection->SetFilter(text);
    }
    DrawGrid1->SetEwidarCollection(FEwidarCollection.get(), FCurrentEwidarRecord.get());
    UpdateEditButtons();
}

void TCollectionBaseFrame::UpdateEditButtons() {
    const bool listed = FEwidarCollection && FEwidarCollection->GetCount() > 0;
    btnAdd->setEnabled(FMayCreate);
    btnEdit->setEnabled(listed && FMayModify);
    btnDelete->setEnabled(listed && FMayCreate);
}

void TCollectionBaseFrame::SetAllowedActions(bool Create, bool Modify) {
    FMayCreate = Create;
    FMayModify = Modify;
    UpdateEditButtons();
}

bool TCollectionBaseFrame::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == edtfilter) {
        switch (Event->type()) {
        case QEvent::KeyPress:
            return FilterKeyDown(static_cast<QKeyEvent*>(Event));
        case QEvent::KeyRelease:
            FilterKeyUp();
            break;
        case QEvent::FocusIn:
            DrawGrid1->SetDrawSelectOnlyWhenFocus(false);
            break;
        case QEvent::FocusOut:
            DrawGrid1->SetDrawSelectOnlyWhenFocus(true);
            break;
        default:
            break;
        }
    } else if (Watched == DrawGrid1 && Event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(Event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnEdit->click();
            return true;
        }
    }
    return TFrame::eventFilter(Watched, Event);
}

bool TCollectionBaseFrame::FilterKeyDown(QKeyEvent* Event) {
    const int key = Event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ApplyPendingFilter();
        btnEdit->click();
        return true;
    }
    const int row = DrawGrid1->Row();
    const int first = DrawGrid1->FixedRows();
    const int last = DrawGrid1->RowCount() - 1;
    int target = -1;
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        target = row < last ? row + 1 : row;
        break;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        target = row > first ? row - 1 : row;
        break;
    case Qt::Key_End:
        target = last;
        break;
    case Qt::Key_Home:
        target = first;
        break;
    default:
        return false;
    }
    DrawGrid1->SetRow(target);
    FSelPos = edtfilter->hasSelectedText() ? edtfilter->selectionStart() : edtfilter->cursorPosition();
    FSelLength = static_cast<int>(edtfilter->selectedText().size());
    return true;
}

void TCollectionBaseFrame::FilterKeyUp() {
    if (FSelPos < 0)
        return;
    if (FSelLength > 0)
        edtfilter->setSelection(FSelPos, FSelLength);
    else
        edtfilter->setCursorPosition(FSelPos);
    FSelPos = -1;
    FSelLength = -1;
}

void TCollectionBaseFrame::DrawGrid1RowDblClick(int Row, bool Fixed) {
    Q_UNUSED(Row);
    if (Fixed || !Shown(btnEdit) || !Shown(Panel5))
        return;
    if (auto* chooser = dynamic_cast<ISelectionWindow*>(window())) {
        chooser->AcceptAndClose();
        return;
    }
    if (Shown(Panel3) && Shown(btnEdit))
        btnEdit->click();
}

void TCollectionBaseFrame::ShowPopup(const QPoint& Pos) {
    PopupMenu1Popup();
    PopupMenu1->popup(DrawGrid1->viewport()->mapToGlobal(Pos));
}

void TCollectionBaseFrame::PopupMenu1Popup() {
    const bool bar = Shown(Panel3);
    Poka1->setEnabled(bar && Shown(btnView));
    Dodaj1->setEnabled(bar && Shown(btnAdd) && FMayCreate);
    Edytuj1->setEnabled(bar && Shown(btnEdit) && FMayModify);
    Usu1->setEnabled(bar && Shown(btnDelete) && FMayCreate);
    // Records of a registry may be merged (two ticked ones) and, in a registry of
    // subjects, searched for duplicates; sections and a taxpayer's people are not.
    const bool registry = bar && FEwidarCollection && !FPodatnik &&
                          !Supports<IEwidarSectionCollection>(FEwidarCollection);
    const bool subjects = Supports<IPodmioty>(FEwidarCollection) || Supports<IPodatnicy>(FEwidarCollection) ||
                          Supports<IPracownicy>(FEwidarCollection) || Supports<IKontrahenci>(FEwidarCollection);
    N2->setVisible(registry);
    Scaldane1->setVisible(registry);
    Scaldane1->setEnabled(registry && FMayCreate);
    Znajdzduplikaty1->setVisible(registry && subjects);
}
