#include "uBaseFrame.h"

#include "TForm.h"
#include "uButtonStrip.h"
#include "uDynamicFieldsFrame.h"
#include "uEditingPictures.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarKinds.h"
#include "uListPictures.h"
#include "uUserMessagesModule.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Position 18 (IRekordDodatkowy) has no frame and is never asked for.
constexpr int32_t kRekordDodatkowyPosition = 18;

QWidget* TabPage(QTabWidget* Tabs, const char* Name, const QString& Caption) {
    auto* page = new QWidget(Tabs);
    page->setObjectName(QLatin1String(Name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    Tabs->addTab(page, Caption);
    return page;
}

} // namespace

EFrameContextError::EFrameContextError(const QString& ClassName)
    : std::logic_error((ClassName + QStringLiteral(" nieprawidlowy kontekst")).toStdString()) {}

TBaseFrame::TBaseFrame(QWidget* Parent) : TFrame(Parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    pgcContainer = new QTabWidget(this);
    pgcContainer->setObjectName(QStringLiteral("pgcContainer"));
    tsContainer = TabPage(pgcContainer, "tsContainer", QStringLiteral("Pola ewidary"));
    tsDynamicField = TabPage(pgcContainer, "tsDynamicField", QStringLiteral("Pola własne"));
    DynamicFieldsFrame1 = new TDynamicFieldsFrame(tsDynamicField);
    DynamicFieldsFrame1->setObjectName(QStringLiteral("DynamicFieldsFrame1"));
    tsDynamicField->layout()->addWidget(DynamicFieldsFrame1);
    pgcContainer->hide();
    outer->addWidget(pgcContainer);
    connect(pgcContainer, &QTabWidget::currentChanged, this, &TBaseFrame::pgcContainerChange);

    pnlButtons = ButtonStrip(this, QStringLiteral("Zapisz"), btnPost, btnClose);
    outer->addWidget(pnlButtons);
    connect(btnPost, &QToolButton::clicked, this, [this] { btnPostClick(); });
    connect(btnClose, &QToolButton::clicked, this, &TBaseFrame::btnCloseClick);

    AttachToParentFrame();
}

TBaseFrame::~TBaseFrame() {
    // Embedded frames are freed after this part of the object: they must not reach back into it.
    for (TBaseFrame* child : Childs())
        child->m_parentFrame = nullptr;
    DetachFromParentFrame();
}

TPanel* TBaseFrame::CreateContainer(const QString& Title) {
    pnlContainer = new TPanel(this);
    pnlContainer->setObjectName(QStringLiteral("pnlContainer"));
    pnlContainer->Header()->SetCaptionLabel(Title);
    auto* outer = static_cast<QVBoxLayout*>(layout());
    outer->insertWidget(outer->indexOf(pnlButtons), pnlContainer);
    return pnlContainer;
}

QString TBaseFrame::FormCaption() const {
    return window() ? window()->windowTitle() : QString();
}

void TBaseFrame::SetFormCaption(const QString& Caption) {
    if (QWidget* w = window(); w && w != this)
        w->setWindowTitle(Caption);
}

QList<TBaseFrame*> TBaseFrame::Childs() const {
    QList<TBaseFrame*> childs;
    for (const QPointer<TBaseFrame>& c : FChilds)
        if (c)
            childs.append(c);
    return childs;
}

void TBaseFrame::SetViewOnly(bool Value) {
    FViewOnly = Value;
    SetReadOnly(Value);
}

// --- binding

void TBaseFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    FEwidarRecord = Record;
    if (FFirstAssignTempRecord) {
        FTempEwidarRecord = Record;
        FFirstAssignTempRecord = false;
    }
    m_unpostedValues = false;
    if (FEwidarRecord) {
        if (!FReadOnly && !FViewOnly)
            ResolveKindProviders();
        BindPanels();
    } else {
        for (QWidget* w : Panels())
            if (auto* panel = qobject_cast<TPanel*>(w))
                panel->SetDataField({});
    }
    if (FReadOnly && pnlContainer)
        pnlContainer->Header()->SetDeleteLabelEnabled(bool(FEwidarRecord));
}

void TBaseFrame::ResolveKindProviders() {
    FDynamicFields = nullptr;
    FSlownik = nullptr;
    const int32_t position = EwidarKinds::KindPosition(FEwidarRecord.get());
    if (position == 0 || position == kRekordDodatkowyPosition || !FEwidarDataBase)
        return;
    if (auto provider = FEwidarDataBase->GetDynamicFieldsProvider(0))
        FDynamicFields = provider->GetDynamicFields(position);
    if (auto provider = FEwidarDataBase->GetSlownikProvider(0))
        FSlownik = provider->GetSlownik(position);
}

void TBaseFrame::BindPanels() {
    const TIntfPtr<IDataFields> fields = FEwidarRecord->GetDataFields();
    for (QWidget* w : Panels()) {
        auto* panel = qobject_cast<TPanel*>(w);
        if (!panel || panel->DynamicField())
            continue; // user-defined panels are rebuilt below
        panel->SetDataFields(fields);
        if (FSlownik)
            panel->SetSlownik(FSlownik);
    }
    if (FDynamicFields)
        DynamicFieldsFrame1->CreateDynamicFields(this, FEwidarRecord, FDynamicFields);
    else
        DynamicFieldsFrame1->CreateDynamicFields(this, {}, {});
    for (QWidget* w : Panels()) {
        auto* panel = qobject_cast<TPanel*>(w);
        if (panel && panel->OnValidate())
            panel->OnValidate()(panel);
    }
}

// --- modification, posting, closing

bool TBaseFrame::GetModified() {
    if (FViewOnly)
        return false;
    if (bool(FTempEwidarRecord) != bool(FEwidarRecord))
        return true;
    if (FTempEwidarRecord && FTempEwidarRecord->GetID() != FEwidarRecord->GetID())
        return true;
    if (m_dependentPosted && FEwidarRecord && FEwidarRecord->IsNew())
        return true;
    for (TBaseFrame* child : Childs())
        if (child->Modified())
            return true;
    for (QWidget* w : Panels())
        if (auto* panel = qobject_cast<TPanel*>(w); panel && panel->Modified())
            return true;
    return false;
}

void TBaseFrame::AcceptChanges() {
    for (TBaseFrame* child : Childs())
        child->AcceptChanges();
    FTempEwidarRecord = FEwidarRecord;
    m_dependentPosted = false;
}

void TBaseFrame::CancelChanges() {}

bool TBaseFrame::btnPostClick() {
    if (!FEwidarRecord)
        return true;
    // The values go into the record first; the panels take them as their start values
    // only once the record accepted them, so a refused post leaves every edit pending.
    QList<TPanel*> bound;
    for (QWidget* w : Panels()) {
        auto* panel = qobject_cast<TPanel*>(w);
        if (!panel || !panel->DataField())
            continue;
        const TIntfPtr<IDataField> field = panel->DataField();
        field->SetCaption(panel->Caption().toStdU16String());
        field->SetValue(panel->Value().toStdU16String());
        field->SetFieldType(FieldTypeToStr(panel->ComponentType()).toStdU16String());
        bound.append(panel);
    }
    if (!FEwidarRecord->Post()) {
        m_unpostedValues = true;
        ShowUserMessage(uint32_t(FEwidarRecord->GetLastErrorCode()), window());
        return false;
    }
    m_unpostedValues = false;
    for (TPanel* panel : bound)
        panel->Post();
    if (FSlownik && !FSlownik->Post())
        ShowUserMessage(uint32_t(FSlownik->GetLastErrorCode()), window());
    FCloseType = uBaseFrame::ctPost;
    AcceptChanges();
    if (QWidget* w = window(); w && w != this)
        w->close();
    return true;
}

void TBaseFrame::btnCloseClick() {
    if (QWidget* w = window(); w && w != this)
        w->close();
}

bool TBaseFrame::Close() {
    if (Modified() && ShowUserMessage(300, window()) != ModalResult::mrYes)
        return false;
    if (FEwidarRecord && FEwidarRecord->IsNew() && FEwidarRecord->GetID() != 0 && !FEwidarRecord->Delete())
        ShowUserMessage(uint32_t(FEwidarRecord->GetLastErrorCode()), window());
    CancelChanges();
    if (m_unpostedValues)
        RevertUnpostedValues();
    return true;
}

void TBaseFrame::RevertUnpostedValues() {
    m_unpostedValues = false;
    if (!FEwidarRecord)
        return;
    // A stored record is read again; otherwise (or when that fails) the accepted
    // values are written back, so nobody holding the record sees the refused edits.
    if (!FEwidarRecord->IsNew() && FEwidarRecord->GetID() != 0 && FEwidarRecord->Refresh())
        return;
    for (QWidget* w : Panels())
        if (auto* panel = qobject_cast<TPanel*>(w); panel && panel->DataField())
            panel->DataField()->SetValue(panel->StartValue().toStdU16String());
}

// --- read-only, context, size

void TBaseFrame::SetKontekst(TKontekst Value) {
    FKontekst = Value;
}

void TBaseFrame::SetReadOnly(bool Value) {
    FReadOnly = Value;
    pnlButtons->setVisible(!Value);
    if (pnlContainer && !pnlContainer->Header()->CaptionLabel().isEmpty()) {
        THeader* header = pnlContainer->Header();
        if (Value) {
            header->SetCaptionPicture(ListPictures::ViewGlyph());
            header->SetDeleteLabel(QStringLiteral("Usuń"));
            header->SetDeleteLabelEnabled(bool(FEwidarRecord));
            header->SetEditLabel(QStringLiteral("Ustaw/zmień"));
        } else {
            header->SetDeleteLabel(QString());
            header->SetEditLabel(QString());
            header->SetCaptionPicture(QPixmap());
        }
    }
    for (QWidget* w : Panels())
        if (auto* panel = qobject_cast<TPanel*>(w))
            panel->SetReadOnly(Value);
    ApplyPageControl(!Value);
}

void TBaseFrame::SetSize() {
    for (TBaseFrame* child : Childs())
        child->SetSize();
    // A frame inside a layout takes the size the layout gives it: a size set here would
    // hold only until the layout runs again, overlapping or clipping its neighbours.
    if (QWidget* parent = parentWidget(); parent && parent->layout())
        updateGeometry();
    else
        adjustSize();
    if (pnlContainer)
        SetFormCaption(pnlContainer->Header()->CaptionLabel());
    ApplyPageControl(!FReadOnly);
}

void TBaseFrame::ApplyPageControl(bool Show) {
    if (!pnlContainer)
        return;
    auto* outer = static_cast<QVBoxLayout*>(layout());
    if (Show && FInternalPageControlEnabled) {
        if (!pgcContainer->isHidden())
            return;
        tsContainer->layout()->addWidget(pnlContainer);
        pgcContainer->show();
        FitPageControl();
        return;
    }
    if (pnlContainer->parentWidget() != this)
        outer->insertWidget(outer->indexOf(pgcContainer) + 1, pnlContainer);
    pgcContainer->hide();
}

void TBaseFrame::pgcContainerChange(int) {
    FitPageControl();
    auto* form = qobject_cast<TForm*>(window());
    if (!form)
        return;
    QLayout* layout = form->layout();
    if (layout)
        layout->activate();
    if (!layout || layout->sizeConstraint() == QLayout::SetFixedSize) {
        form->adjustSize();
        form->PlaceWindow();
        return;
    }
    // A window the user sizes keeps its size; it grows only as far as the page needs.
    QSize minimum = layout->minimumSize();
    if (QScreen* screen = form->screen())
        minimum = minimum.boundedTo(screen->availableSize());
    form->setMinimumSize(minimum);
    form->resize(form->size().expandedTo(minimum));
}

void TBaseFrame::FitPageControl() {
    // Only the shown page counts for the height: the fields' page fits its panels,
    // the user-defined fields' page has a fixed height.
    const bool dynamicPage = pgcContainer->currentWidget() == tsDynamicField;
    for (QWidget* page : {tsContainer, tsDynamicField}) {
        const bool current = page == pgcContainer->currentWidget();
        page->setSizePolicy(QSizePolicy::Preferred, current ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    }
    if (dynamicPage) {
        pgcContainer->setFixedHeight(DynamicPageHeight);
    } else {
        pgcContainer->setMinimumHeight(0);
        pgcContainer->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    pgcContainer->updateGeometry();
}

// --- nesting

bool TBaseFrame::event(QEvent* Event) {
    if (Event->type() == QEvent::ParentChange)
        AttachToParentFrame();
    return TFrame::event(Event);
}

void TBaseFrame::AttachToParentFrame() {
    TBaseFrame* parentFrame = nullptr;
    for (QWidget* w = parentWidget(); w && !parentFrame; w = w->parentWidget())
        parentFrame = qobject_cast<TBaseFrame*>(w);
    if (parentFrame == m_parentFrame)
        return;
    DetachFromParentFrame();
    m_parentFrame = parentFrame;
    if (parentFrame && !parentFrame->FChilds.contains(this))
        parentFrame->FChilds.append(this);
}

void TBaseFrame::DetachFromParentFrame() {
    if (m_parentFrame)
        m_parentFrame->FChilds.removeAll(this);
    m_parentFrame = nullptr;
}
