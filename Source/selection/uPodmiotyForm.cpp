#include "uPodmiotyForm.h"

#include "TEdit.h"
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
    FFrames = AddSubjectTabs(PageControl1, {"PodmiotyCollection", "PodatnicyCollection",
                                            "PracownicyCollection", "KontrahenciCollection"});
    PodmiotyCollection = FFrames[slWszyscy];
    PodatnicyCollection = FFrames[slPodatnicy];
    PracownicyCollection = FFrames[slPracownicy];
    KontrahenciCollection = FFrames[slKontrahenci];
    // The list of all subjects is read-only; employees and contractors are added elsewhere.
    PodmiotyCollection->Panel3->hide();
    PracownicyCollection->btnAdd->hide();
    KontrahenciCollection->btnAdd->hide();

    pnl1 = ButtonBar(this, "pnl1");
    btnClose = BarButton(pnl1, "btnClose", QStringLiteral("Zamknij"), CancelGlyph());
    btnAccept = BarButton(pnl1, "btnAccept", QStringLiteral("Wybierz"), AcceptGlyph());
    StackParts(this, {pnlContainer, pnl1}, pnlContainer);
    connect(btnAccept, &QPushButton::clicked, this, &TPodmiotyForm::btnAcceptClick);
    connect(btnClose, &QPushButton::clicked, this, &TPodmiotyForm::btnCloseClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TPodmiotyForm::LoadTab);
    LoadTab(PageControl1->currentIndex());
    PodmiotyCollection->edtfilter->setFocus();
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
    return CurrentFrame(PageControl1, FFrames);
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
