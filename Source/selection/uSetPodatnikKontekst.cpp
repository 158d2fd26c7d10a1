#include "uSetPodatnikKontekst.h"

#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uSelectionParts.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace uSetPodatnikKontekst;
using namespace SelectionParts;

namespace {

const char16_t* const kHeadings[SubjectListCount] = {u"Wszystkie podmioty", u"Podatnicy", u"Pracownicy",
                                                     u"Kontrahenci"};

} // namespace

TSetPodatnikKontekstForm::TSetPodatnikKontekstForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase,
                                                   TPodmiotType PodmiotType)
    : TForm(OwnerForm), FEwidarDataBase(EwidarDataBase) {
    setObjectName(QStringLiteral("SetPodatnikKontekstForm"));
    setWindowTitle(QStringLiteral("Lista podmiotów"));
    resize(720, 500);
    Panel1 = new TPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setContentsMargins(8, 8, 8, 8);
    Label1->setText(
        QStringLiteral("Wybierz podmiot, który będzie podatnikiem dla nowego %1.")
            .arg(PodmiotType == ptPracownik ? QStringLiteral("pracownika") : QStringLiteral("kontrahenta")));
    Panel1->Layout()->addWidget(Label1);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    WszyscyCollection =
        AddFrameTab(PageControl1, "TabSheet1", QStringLiteral("Wszyscy"), "WszyscyCollection");
    PodatnicyCollection =
        AddFrameTab(PageControl1, "TabSheet2", QStringLiteral("Podatnicy"), "PodatnicyCollection");
    PracownicyCollection =
        AddFrameTab(PageControl1, "TabSheet3", QStringLiteral("Pracownicy"), "PracownicyCollection");
    KontrahenciCollection =
        AddFrameTab(PageControl1, "TabSheet4", QStringLiteral("Kontrahenci"), "KontrahenciCollection");
    FFrames = {WszyscyCollection, PodatnicyCollection, PracownicyCollection, KontrahenciCollection};
    for (TCollectionBaseFrame* frame : FFrames) {
        frame->btnAdd->hide();
        frame->btnEdit->hide();
        frame->btnDelete->hide();
        frame->DrawGrid1->SetVisibleCheckBoxEnabled(false);
        // A double click on the title row sorts; only a data row chooses.
        frame->DrawGrid1->SetOnRowDblClick([this](TDrawGrid*, int, bool Fixed) {
            if (!Fixed)
                Choose();
        });
    }

    Panel2 = ButtonBar(this, "Panel2");
    btnClose = BarButton(Panel2, "btnClose", QStringLiteral("Zamknij"), CancelGlyph());
    btnAccept = BarButton(Panel2, "btnAccept", QStringLiteral("Wybierz"), AcceptGlyph());
    StackParts(this, {Panel1, PageControl1, Panel2}, PageControl1);
    connect(btnAccept, &QPushButton::clicked, this, &TSetPodatnikKontekstForm::btnAcceptClick);
    connect(btnClose, &QPushButton::clicked, this, &TSetPodatnikKontekstForm::btnCloseClick);
    OnEnter(this, btnClose, [this] { Choose(); });
    PageControl1->setCurrentIndex(slPodatnicy);
    LoadTab(slPodatnicy);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TSetPodatnikKontekstForm::LoadTab);
    PodatnicyCollection->edtfilter->setFocus();
}

void TSetPodatnikKontekstForm::LoadTab(int Index) {
    for (int i = 0; i < SubjectListCount; ++i) {
        TCollectionBaseFrame* frame = FFrames[static_cast<size_t>(i)];
        if (i == Index)
            continue;
        frame->SetEwidarCollection(nullptr);
        frame->SetEwidarDataBase(nullptr);
    }
    if (Index < 0 || Index >= SubjectListCount)
        return;
    TCollectionBaseFrame* frame = FFrames[static_cast<size_t>(Index)];
    frame->Panel1->Header()->SetCaptionLabel(QString::fromUtf16(kHeadings[Index]));
    frame->SetKontekst(kBrak);
    frame->SetEwidarDataBase(FEwidarDataBase.get());
    frame->SetEwidarCollection(SubjectList(FEwidarDataBase.get(), static_cast<TSubjectList>(Index)).get());
}

TCollectionBaseFrame* TSetPodatnikKontekstForm::ActiveFrame() const {
    return CurrentFrame(PageControl1, FFrames);
}

void TSetPodatnikKontekstForm::Choose() {
    FEwidarRecord = CurrentDataRecord(ActiveFrame());
    FCloseStatus = csAccept;
    accept();
}

void TSetPodatnikKontekstForm::btnAcceptClick() {
    if (CurrentDataRecord(ActiveFrame()))
        Choose();
}

void TSetPodatnikKontekstForm::btnCloseClick() {
    FCloseStatus = csCancel;
    reject();
}

TIntfPtr<IPodmiot> ChooseTaxpayer(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase,
                                  TPodmiotType PodmiotType) {
    TSetPodatnikKontekstForm form(OwnerForm, EwidarDataBase, PodmiotType);
    form.exec();
    if (form.CloseStatus() != csAccept)
        return {};
    return Supports<IPodmiot>(form.EwidarRecord());
}
