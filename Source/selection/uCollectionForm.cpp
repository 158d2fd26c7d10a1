#include "uCollectionForm.h"

#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uSelectionParts.h"
#include "uWaitCursor.h"

#include <QPushButton>

#include <memory>

using namespace uCollectionForm;

namespace {

struct TCaptionEntry {
    const TGUID* IID;
    const char16_t* Caption;
};

// In the order in which a collection is asked for its kind.
const TCaptionEntry kCaptions[] = {
    {&IObywatelstwa::IID, u"Lista wyboru obywatelstwa"},
    {&IDokumentyTozsamosci::IID, u"Lista wyboru dokumentu tożsamości"},
    {&IAdresy::IID, u"Lista wyboru adresu"},
    {&IAdresyDzialalnosci::IID, u"Lista wyboru adresu działalności"},
    {&IOddzialy::IID, u"Lista wyboru oddziału"},
    {&IRodzajeDzialalnosci::IID, u"Lista wyboru rodzaju działalności"},
    {&IDaneZUSow::IID, u"Lista wyboru danych ZUS"},
    {&IUrzedyStatystyczne::IID, u"Lista wyboru urzędu statystycznego"},
    {&IDaneNFZow::IID, u"Lista wyboru danych NFZ"},
    {&ISadyRejonowe::IID, u"Lista wyboru sądu rejonowego"},
    {&IDaneBankow::IID, u"Lista wyboru banku"},
    {&INrIdentyfikacyjne::IID, u"Lista wyboru numeru identyfikacyjnego"},
    {&IWspolnicy::IID, u"Lista wyboru wspólników"},
    {&ISpolki::IID, u"Lista wyboru spółki"},
    {&ISpolkiPodmiotu::IID, u"Lista wyboru spółki podmiotu"},
    {&IRachunkiBankowe::IID, u"Lista wyboru rachunku bankowego"},
    {&IDaneZamawiajacych::IID, u"Lista wyboru zamawiającego"},
    {&IReprezentanci::IID, u"Lista wyboru reprezentanta"},
    {&IBiuraRachunkowe::IID, u"Lista wyboru biura rachunkowego"},
    {&IPodmioty::IID, u"Lista wyboru podmiotu"},
    {&IPodatnicy::IID, u"Lista wyboru podatnika"},
    {&IPracownicy::IID, u"Lista wyboru pracownika"},
    {&IKontrahenci::IID, u"Lista wyboru kontrahenta"},
};

} // namespace

QString CollectionFormCaption(IEwidarCollection* Collection) {
    for (const TCaptionEntry& entry : kCaptions)
        if (SupportsIID(Collection, *entry.IID))
            return QString::fromUtf16(entry.Caption);
    return QStringLiteral("Lista wyboru");
}

TCollectionForm::TCollectionForm(QWidget* OwnerForm) : TForm(OwnerForm) {
    setObjectName(QStringLiteral("CollectionForm"));
    setWindowTitle(QStringLiteral("Lista wyboru"));
    resize(640, 460);
    CollectionBaseFrame1 = new TCollectionBaseFrame(this);
    CollectionBaseFrame1->setObjectName(QStringLiteral("CollectionBaseFrame1"));
    pnlButtons = SelectionParts::ButtonBar(this, "pnlButtons");
    btnPost = SelectionParts::BarButton(pnlButtons, "btnPost", QStringLiteral("Wybierz"),
                                        SelectionParts::AcceptGlyph());
    btnClose = SelectionParts::BarButton(pnlButtons, "btnClose", QStringLiteral("Anuluj"),
                                         SelectionParts::CancelGlyph());
    SelectionParts::StackParts(this, {CollectionBaseFrame1, pnlButtons}, CollectionBaseFrame1);
    connect(btnPost, &QPushButton::clicked, this, &TCollectionForm::btnPostClick);
    connect(btnClose, &QPushButton::clicked, this, &TCollectionForm::btnCloseClick);
    // Enter is the window's: it chooses wherever the focus is (the list frame
    // would otherwise open the record).
    SelectionParts::OnEnter(this, btnClose, [this] { AcceptAndClose(); });
    CollectionBaseFrame1->edtfilter->setFocus();
}

void TCollectionForm::AcceptAndClose() {
    FCloseType = ctAccept;
    accept();
}

void TCollectionForm::btnCloseClick() {
    FCloseType = ctCancel;
    reject();
}

TIntfPtr<IEwidarRecord> ChooseFromCollection(QWidget* OwnerForm, IEwidarDataBase* DataBase,
                                             IEwidarCollection* Collection, TKontekst Kontekst,
                                             IEwidarRecord* Selected) {
    std::unique_ptr<TCollectionForm> form;
    {
        TWaitCursor wait;
        form = std::make_unique<TCollectionForm>(OwnerForm);
        TCollectionBaseFrame* frame = form->CollectionBaseFrame1;
        frame->SetCurrentEwidarRecord(Selected);
        frame->SetEwidarDataBase(DataBase);
        frame->SetEwidarCollection(Collection);
        frame->SetKontekst(Kontekst);
        form->setWindowTitle(CollectionFormCaption(Collection));
    }
    form->exec();
    if (form->CloseType() != ctAccept)
        return {};
    return SelectionParts::CurrentDataRecord(form->CollectionBaseFrame1);
}
