#include "uPodmiotyForm.h"

#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uSelectionParts.h"

#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace uPodmiotyForm;
using namespace SelectionParts;

TPodmiotyForm::TPodmiotyForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase)
    : TForm(OwnerForm), FEwidarDataBase(EwidarDataBase) {
    setObjectName(QStringLiteral("PodmiotyForm"));
    setWindowTitle(QStringLiteral("Podmioty"));
    resize(720, 500);
    pnlContainer = new TPanel(this);
    pnlContainer->setObjectName(QStringLiteral("pnlContainer"));
    pnlContainer->Header()->SetCaptionLabel(QStringLiteral("Lista wyboru podmiotu"));
    PageControl1 = new QTabWidget(pnlContainer);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    pnlContainer->Layout()->addWidget(PageControl1, 1);
    PodmiotyCollection =
        AddFrameTab(PageControl1, "TabSheet1", QStringLiteral("Wszyscy"), "PodmiotyCollection");
    PodatnicyCollection =
        AddFrameTab(PageControl1, "TabSheet2", QStringLiteral("Podatnicy"), "PodatnicyCollection");
    PracownicyCollection =
        AddFrameTab(PageControl1, "TabSheet3", QStringLiteral("Pracownicy"), "PracownicyCollection");
    KontrahenciCollection =
        AddFrameTab(PageControl1, "TabSheet4", QStringLiteral("Kontrahenci"), "KontrahenciCollection");
    FFrames = {PodmiotyCollection, PodatnicyCollection, PracownicyCollection, KontrahenciCollection};
    // The list of all subjects is read-only; employees and contractors are added elsewhere.
    PodmiotyCollection->Panel3->hide();
    PracownicyCollection->btnAdd->hide();
    KontrahenciCollection->btnAdd->hide();

    pnl1 = ButtonBar(this, "pnl1");
    btnClose = BarButton(pnl1, "btnClose", QStringLiteral("Zamknij"), CancelGlyph());
    btnAccept = BarButton(pnl1, "btnAccept", QStringLiteral("Wybierz"), AcceptGlyph());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlContainer, 1);
    layout->addWidget(pnl1);
    connect(btnAccept, &QPushButton::clicked, this, &TPodmiotyForm::btnAcceptClick);
    connect(btnClose, &QPushButton::clicked, this, &TPodmiotyForm::btnCloseClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TPodmiotyForm::LoadTab);
    LoadTab(PageControl1->currentIndex());
}

void TPodmiotyForm::LoadTab(int Index) {
    if (Index < 0 || Index >= SubjectListCount || FLoaded[static_cast<size_t>(Index)])
        return;
    FLoaded[static_cast<size_t>(Index)] = true;
    TCollectionBaseFrame* frame = FFrames[static_cast<size_t>(Index)];
    frame->SetEwidarDataBase(FEwidarDataBase.get());
    frame->SetEwidarCollection(SubjectList(FEwidarDataBase.get(), static_cast<TSubjectList>(Index)).get());
}

TCollectionBaseFrame* TPodmiotyForm::ActiveFrame() const {
    const int index = PageControl1->currentIndex();
    return index >= 0 && index < SubjectListCount ? FFrames[static_cast<size_t>(index)] : nullptr;
}

void TPodmiotyForm::AcceptAndClose() {
    FCloseType = ctAccept;
    accept();
}

void TPodmiotyForm::btnAcceptClick() {
    if (CurrentDataRecord(ActiveFrame()))
        AcceptAndClose();
}

void TPodmiotyForm::btnCloseClick() {
    FCloseType = ctCancel;
    reject();
}

TIntfPtr<IEwidarRecord> ChooseSubject(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase) {
    TPodmiotyForm form(OwnerForm, EwidarDataBase);
    form.exec();
    if (form.CloseType() != ctAccept)
        return {};
    return CurrentDataRecord(form.ActiveFrame());
}
