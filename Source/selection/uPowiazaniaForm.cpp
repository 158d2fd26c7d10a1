#include "uPowiazaniaForm.h"

#include "uCollectionBaseFrame.h"
#include "uCommaText.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uSelectionParts.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

namespace {

constexpr uint32_t kMsgNoRelations = 305;
constexpr uint32_t kMsgNoGlobalRelations = 306;

enum TRelationTab { rtPodmioty, rtSpolki, rtRachunkiBankowe, rtSpolkiPodmiotow, rtReprezentanci };

using TRelatedList = std::pair<TRelationTab, TIntfPtr<IEwidarCollection>>;
using TRelatedLists = std::vector<TRelatedList>;

template <class K> TRelatedLists ReferringSubjects(IEwidarRecord* Record) {
    return {{rtPodmioty, Supports<K>(Record)->GetPodmioty()}};
}

TRelatedLists BankAccounts(IEwidarRecord* Record) {
    return {{rtRachunkiBankowe, Supports<IDaneBanku>(Record)->GetRachunkiBankowe()}};
}

TRelatedLists CompanyShares(IEwidarRecord* Record) {
    return {{rtSpolkiPodmiotow, Supports<ISpolka>(Record)->GetSpolkiPodmiotu()}};
}

TRelatedLists SubjectLinks(IEwidarRecord* Record) {
    const TIntfPtr<IPodmiot> podmiot = Supports<IPodmiot>(Record);
    return {{rtPodmioty, podmiot->GetPowiazanePodmioty()},
            {rtReprezentanci, podmiot->GetPowiazaniReprezentanci()}};
}

TRelatedLists NoLists(IEwidarRecord*) {
    return {};
}

struct TRelationKind {
    const TGUID* IID;
    const char16_t* CaptionSuffix;
    TRelatedLists (*Lists)(IEwidarRecord* Record);
};

// In the order in which a record is asked for its kind. Extra records count as
// having relations but have no list of them, so they always end with message 305.
const TRelationKind kRelationKinds[] = {
    {&IBiuroRachunkowe::IID, u" biura rachunkowego ", &ReferringSubjects<IBiuroRachunkowe>},
    {&ISadRejonowy::IID, u" sądu rejonowego ", &ReferringSubjects<ISadRejonowy>},
    {&IDaneNFZ::IID, u" danych NFZ ", &ReferringSubjects<IDaneNFZ>},
    {&IUrzadStatystyczny::IID, u" urzedu statystycznego ", &ReferringSubjects<IUrzadStatystyczny>},
    {&IDaneZUS::IID, u" danych ZUS ", &ReferringSubjects<IDaneZUS>},
    {&IDaneBanku::IID, u" danych banku ", &BankAccounts},
    {&ISpolka::IID, u" spółki ", &CompanyShares},
    {&IPodmiot::IID, u" podmiotu ", &SubjectLinks},
    {&IRekordDodatkowy::IID, u"", &NoLists},
};

const TRelationKind* RelationKind(IEwidarRecord* Record) {
    for (const TRelationKind& kind : kRelationKinds)
        if (SupportsIID(Record, *kind.IID))
            return &kind;
    return nullptr;
}

// Every window alive, oldest first (entered by the constructor, left by the destructor).
QList<TPowiazaniaForm*>& Windows() {
    static QList<TPowiazaniaForm*> windows;
    return windows;
}

} // namespace

bool HasGlobalRelations(IEwidarRecord* Record) {
    return RelationKind(Record) != nullptr;
}

TPowiazaniaForm::TPowiazaniaForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase,
                                 IEwidarRecord* EwidarRecord)
    : TForm(OwnerForm, OwnerForm ? OwnerForm->window() : nullptr), FEwidarDataBase(EwidarDataBase),
      FEwidarRecord(EwidarRecord) {
    setObjectName(QStringLiteral("PowiazaniaForm"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // An open relations window never keeps the program running after the main window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    resize(620, 400);
    Windows().append(this);

    Panel1 = new TPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setContentsMargins(8, 8, 8, 8);
    Label1->setWordWrap(true);
    Panel1->Layout()->addWidget(Label1);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    using SelectionParts::AddFrameTab;
    PodmiotyCollection =
        AddFrameTab(PageControl1, "TsPodmioty", QStringLiteral("Podmioty"), "PodmiotyCollection");
    SpolkiCollection = AddFrameTab(PageControl1, "TsSpolki", QStringLiteral("Spółki"), "SpolkiCollection");
    RachunkiBankoweCollection = AddFrameTab(PageControl1, "TsRachunkiBankowe",
                                            QStringLiteral("Rachunki bankowe"), "RachunkiBankoweCollection");
    SpolkiPodmiotowCollection = AddFrameTab(PageControl1, "TsSpolkiPodmiotow",
                                            QStringLiteral("Spółki podmiotów"), "SpolkiPodmiotowCollection");
    ReprezentanciCollection = AddFrameTab(PageControl1, "TsReprezentanci", QStringLiteral("Reprezentanci"),
                                          "ReprezentanciCollection");
    TsPodmioty = PageControl1->widget(rtPodmioty);
    TsSpolki = PageControl1->widget(rtSpolki);
    TsRachunkiBankowe = PageControl1->widget(rtRachunkiBankowe);
    TsSpolkiPodmiotow = PageControl1->widget(rtSpolkiPodmiotow);
    TsReprezentanci = PageControl1->widget(rtReprezentanci);
    pnlButtons = SelectionParts::ButtonBar(this, "pnlButtons");
    btnClose = SelectionParts::BarButton(pnlButtons, "btnClose", QStringLiteral("Zamknij"),
                                         SelectionParts::CancelGlyph());
    SelectionParts::StackParts(this, {Panel1, PageControl1, pnlButtons}, PageControl1);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);

    QString caption = QStringLiteral("Powiązania");
    if (FEwidarRecord) {
        const TIntfPtr<IEwidarRecordInfo> info = FEwidarRecord->GetRecordInfo();
        const QString description = info ? DescribeCommaText(toQ(info->GetSummary())) : QString();
        Label1->setText(QStringLiteral("Powiązane dane z \"%1\".").arg(description));
    }
    for (int tab = 0; tab < PageControl1->count(); ++tab)
        PageControl1->setTabVisible(tab, false);
    for (TCollectionBaseFrame* frame :
         {PodmiotyCollection, RachunkiBankoweCollection, SpolkiPodmiotowCollection, ReprezentanciCollection})
        frame->DrawGrid1->SetVisibleCheckBoxEnabled(false);
    if (const TRelationKind* kind = RelationKind(FEwidarRecord.get())) {
        caption += QString::fromUtf16(kind->CaptionSuffix);
        TCollectionBaseFrame* const frames[] = {PodmiotyCollection, SpolkiCollection,
                                                RachunkiBankoweCollection, SpolkiPodmiotowCollection,
                                                ReprezentanciCollection};
        for (const auto& [tab, collection] : kind->Lists(FEwidarRecord.get()))
            ShowList(PageControl1->widget(tab), frames[tab], collection.get());
    }
    setWindowTitle(caption);
}

TPowiazaniaForm::~TPowiazaniaForm() {
    Windows().removeAll(this);
}

void TPowiazaniaForm::ShowList(QWidget* Tab, TCollectionBaseFrame* Frame, IEwidarCollection* Collection) {
    // A backend that gives no list at all is treated as listing nothing.
    const bool visible = Collection && Collection->GetCount() >= 1;
    const int index = PageControl1->indexOf(Tab);
    PageControl1->setTabVisible(index, visible);
    if (!visible)
        return;
    Frame->Panel3->hide();
    Frame->SetEwidarDataBase(FEwidarDataBase.get());
    Frame->SetEwidarCollection(Collection);
    // The first list shown is the one in front.
    for (int i = 0; i < index; ++i)
        if (PageControl1->isTabVisible(i))
            return;
    PageControl1->setCurrentIndex(index);
}

bool TPowiazaniaForm::IsEmpty() const {
    for (int tab = 0; tab < PageControl1->count(); ++tab)
        if (PageControl1->isTabVisible(tab))
            return false;
    return true;
}

QList<TPowiazaniaForm*> TPowiazaniaForm::OpenWindows() {
    return Windows();
}

void ShowRelations(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase, IEwidarRecord* Record) {
    if (!Record)
        return;
    if (!HasGlobalRelations(Record)) {
        ShowUserMessage(kMsgNoGlobalRelations, OwnerForm);
        return;
    }
    auto* form = new TPowiazaniaForm(OwnerForm, EwidarDataBase, Record);
    if (form->IsEmpty()) {
        delete form;
        ShowUserMessage(kMsgNoRelations, OwnerForm);
        return;
    }
    form->show();
}

void CloseRelationsWindows() {
    // Freed at once, not later: the caller is about to let the root object go.
    for (TPowiazaniaForm* window : TPowiazaniaForm::OpenWindows())
        delete window;
}
