#include "uPodmiotFrame.h"

#include "TCheckBox.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uDictionaryModule.h"
#include "uEditingOpeners.h"
#include "uFrameOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uLinkedRecordSection.h"
#include "uUserMessagesModule.h"

#include <QTabWidget>
#include <QToolButton>

namespace PodmiotOpeners {

namespace {
TAccountsOpener& Accounts() {
    static TAccountsOpener opener;
    return opener;
}
TRegonSearchOpener& Regon() {
    static TRegonSearchOpener opener;
    return opener;
}
TWhiteListOpener& WhiteList() {
    static TWhiteListOpener opener;
    return opener;
}
TDictionaryModule*& Module() {
    static TDictionaryModule* module = nullptr;
    return module;
}
} // namespace

void SetAccountsOpener(TAccountsOpener Opener) {
    Accounts() = std::move(Opener);
}
void SetRegonSearchOpener(TRegonSearchOpener Opener) {
    Regon() = std::move(Opener);
}
bool ShowAccounts(QWidget* OwnerForm, TAccounts& Values) {
    const TAccountsOpener opener = Accounts();
    return opener && opener(OwnerForm, Values);
}
void SetWhiteListOpener(TWhiteListOpener Opener) {
    WhiteList() = std::move(Opener);
}
void ShowWhiteList(QWidget* OwnerForm, TPodmiotFrame* Frame, TWhiteListAction Action) {
    if (const TWhiteListOpener opener = WhiteList())
        opener(OwnerForm, Frame, Action);
}
void ShowRegonSearch(QWidget* OwnerForm, TPodmiotFrame* Frame) {
    if (const TRegonSearchOpener opener = Regon())
        opener(OwnerForm, Frame);
}
void SetDictionaryModule(TDictionaryModule* Value) {
    Module() = Value;
}
TDictionaryModule* DictionaryModule() {
    if (Module())
        return Module();
    return Core() ? Core()->FDictionaryModule.get() : nullptr;
}

} // namespace PodmiotOpeners

namespace {

constexpr uint32_t kMsgSelfLink = 304;
constexpr uint32_t kMsgDuplicate = 315;

QString StoredValue(IEwidarRecord* Record, const TInternalFieldRecord& Field) {
    const TIntfPtr<IDataFields> fields = Record->GetDataFields();
    const TIntfPtr<IDataField> field = fields ? fields->GetDataField(Field.Symbol.toStdU16String()) : nullptr;
    return field ? QString::fromStdU16String(field->GetValue()) : QString();
}

} // namespace

// --- components

TPanel* TPodmiotFrame::Panel(const char* Name) const {
    return m_panels.value(QByteArray(Name));
}
TCollectionBaseFrame* TPodmiotFrame::List(const char* Name) const {
    EnsurePartOf(Name);
    return m_lists.value(QByteArray(Name));
}
TLinkedRecordSection* TPodmiotFrame::Linked(const char* Name) const {
    return m_linked.value(QByteArray(Name));
}
TBaseFrame* TPodmiotFrame::Viewer(const char* Name) const {
    EnsurePartOf(Name);
    return m_viewers.value(QByteArray(Name));
}
QWidget* TPodmiotFrame::Tab(const char* Name) const {
    return m_tabs.value(QByteArray(Name));
}

// --- binding

void TPodmiotFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    TBaseFrame::SetEwidarRecord(Record);
    FPodmiot = Supports<IPodmiot>(Record);
    FPodatnik = Supports<IPodatnik>(Record);
    FPracownik = Supports<IPracownik>(Record);
    FKontrahent = Supports<IKontrahent>(Record);
    if (!FPodmiot)
        return;
    BindLists();
    for (TLinkedRecordSection* section : m_linked) {
        section->Bind();
        section->SetOwnerReadOnly(ReadOnly());
    }
    BindPeople();
    if (const TIntfPtr<IEwidarRecordInfo> info = Record->GetRecordInfo(); info && info->GetCount() > 0) {
        const QString caption = QString::fromStdU16String(info->GetLine(0));
        SetFormCaption(caption);
        pnlContainer->Header()->SetHideCaption(caption);
    }
    PersonRulesA();
    PersonRulesB();
    TaxOfficeRules(1, nullptr);
    TaxOfficeRules(2, nullptr);
}

void TPodmiotFrame::BindLists() {
    // Lists not built yet are bound when they are.
    for (TCollectionBaseFrame* list : m_lists)
        BindList(list);
}

void TPodmiotFrame::BindList(TCollectionBaseFrame* List) {
    IEwidarDataBase* db = EwidarDataBase().get();
    const QByteArray name = List->objectName().toLatin1();
    TIntfPtr<IEwidarCollection> collection;
    if (name == "PracownicyCollection" || name == "KontrahenciCollection") {
        if (!FPodatnik)
            return;
        collection = name == "PracownicyCollection"
                         ? TIntfPtr<IEwidarCollection>(FPodatnik->GetPracownicy(0, 0))
                         : TIntfPtr<IEwidarCollection>(FPodatnik->GetKontrahenci(0, 0));
        List->pnlAktywni->show();
    } else if (name == "PodatnicyCollection") {
        if (FPodatnik)
            return;
        if (FPracownik)
            collection = FPracownik->GetPodatnicy();
        else if (FKontrahent)
            collection = FKontrahent->GetPodatnicy();
        List->DrawGrid1->SetVisibleCheckBoxEnabled(false);
        List->Panel3->hide();
    } else {
        using TGet = TIntfPtr<IEwidarCollection> (*)(IPodmiot*);
        static const std::pair<const char*, TGet> sections[] = {
            {"ObywatelstwaCollection", [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetObywatelstwa(); }},
            {"DokumentyTozsamosciCollection",
             [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetDokumentyTozsamosci(); }},
            {"AdresyCollection", [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetAdresy(); }},
            {"RodzajeDzialalnosciCollection",
             [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetRodzajeDzialalnosci(); }},
            {"AdresyDzialalnosciCollection",
             [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetAdresyDzialalnosci(); }},
            {"OddzialyCollection", [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetOddzialy(); }},
            {"SpolkiCollection", [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetSpolkiPodmiotu(); }},
            {"RachunkiBankoweCollection",
             [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetRachunkiBankowe(); }},
            {"ReprezentanciCollection",
             [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetReprezentanci(); }},
            {"ZamawiajacyCollection",
             [](IPodmiot* P) -> TIntfPtr<IEwidarCollection> { return P->GetDaneZamawiajacych(); }},
        };
        for (const auto& [n, get] : sections)
            if (name == n)
                collection = get(FPodmiot.get());
    }
    List->SetEwidarDataBase(db);
    List->SetEwidarCollection(collection.get());
}

void TPodmiotFrame::BindPeople() {
    const bool taxpayer = bool(FPodatnik);
    PageControl1->setTabVisible(PageControl1->indexOf(Tab("TabSheet11")), taxpayer);
    PageControl1->setTabVisible(PageControl1->indexOf(Tab("TabSheet12")), taxpayer);
    PageControl1->setTabVisible(PageControl1->indexOf(Tab("TabSheet13")), !taxpayer);
    if (taxpayer) {
        ShowActiveStrip(false);
        return;
    }
    bool flagged = false;
    bool active = false;
    if (FPracownik) {
        flagged = FPracownik->HasPodatnikKontekst();
        active = flagged && FPracownik->GetAktywny();
    } else if (FKontrahent) {
        flagged = FKontrahent->HasPodatnikKontekst();
        active = flagged && FKontrahent->GetAktywny();
    }
    if (FPracownik || FKontrahent) {
        chkAktywny->setChecked(active);
        FTempAktywny = active;
    }
    chkAktywny->setText(FPracownik ? QStringLiteral("Pracownik aktywny")
                                   : QStringLiteral("Kontrahent aktywny"));
    ShowActiveStrip(flagged);
}

// --- modification

bool TPodmiotFrame::ActiveStripShown() const {
    return !Panel4->isHidden() && (FPracownik || FKontrahent);
}

bool TPodmiotFrame::GetModified() {
    if (TBaseFrame::GetModified())
        return true;
    return !ViewOnly() && ActiveStripShown() && chkAktywny->isChecked() != FTempAktywny;
}

void TPodmiotFrame::AcceptChanges() {
    TBaseFrame::AcceptChanges();
    if (ActiveStripShown())
        FTempAktywny = chkAktywny->isChecked();
}

void TPodmiotFrame::CancelChanges() {
    TBaseFrame::CancelChanges();
    for (TLinkedRecordSection* section : m_linked)
        section->CancelChanges();
}

void TPodmiotFrame::SetReadOnly(bool Value) {
    TBaseFrame::SetReadOnly(Value);
    ShapeCountryCodes();
    for (TLinkedRecordSection* section : m_linked)
        section->SetOwnerReadOnly(Value);
    chkAktywny->setEnabled(!Value);
}

// --- posting

bool TPodmiotFrame::AskDuplicate() {
    // Each identifier is compared with its own stored value; only changed ones are
    // tested. The two NIP fields (natural person's and the company's) are tested apart.
    IEwidarRecord* record = EwidarRecord().get();
    auto changed = [record, this](const char* Name, const TInternalFieldRecord& Field) {
        const QString value = Panel(Name)->Value().trimmed();
        return value != StoredValue(record, Field).trimmed() ? value : QString();
    };
    const QString pesel = changed("pnlPESEL", cDanePodmiotuPESEL);
    const QString regon = changed("pnlREGON", cDanePodmiotuREGON);
    const QString nipOF = changed("pnlNIP", cDanePodmiotuNIPOF);
    const QString nip = changed("pnlNIP2", cDanePodmiotuNIP);
    bool duplicate =
        FPodmiot->HasDuplicate(pesel.toStdU16String(), nipOF.toStdU16String(), regon.toStdU16String());
    if (!duplicate && !nip.isEmpty() && nip != nipOF)
        duplicate = FPodmiot->HasDuplicate(u"", nip.toStdU16String(), u"");
    return !duplicate || ShowUserMessage(kMsgDuplicate, window()) == ModalResult::mrYes;
}

bool TPodmiotFrame::PostPodmiot() {
    if (FPodmiot && !ViewOnly() && !ReadOnly() && !AskDuplicate())
        return false;
    if (ActiveStripShown()) {
        if (FPracownik)
            FPracownik->SetAktywny(chkAktywny->isChecked());
        else
            FKontrahent->SetAktywny(chkAktywny->isChecked());
    }
    return btnPostClick();
}

// --- handlers

void TPodmiotFrame::btnSearchRregonGUSClick() {
    PodmiotOpeners::ShowRegonSearch(window(), this);
}

void TPodmiotFrame::btnRachunkiBankoweUSClick(int Office) {
    const QList<TPanel*>& panels = AccountPanels(Office);
    PodmiotOpeners::TAccounts accounts;
    for (size_t i = 0; i < accounts.size(); ++i)
        accounts[i] = panels[qsizetype(i)]->Value();
    if (!PodmiotOpeners::ShowAccounts(window(), accounts))
        return;
    for (size_t i = 0; i < accounts.size(); ++i)
        panels[qsizetype(i)]->SetValue(accounts[i]);
}

void TPodmiotFrame::NazwaUSIconClick(int Office) {
    TDictionaryModule* module = PodmiotOpeners::DictionaryModule();
    if (!module)
        return;
    TDictionaryRecord r;
    module->UrzadSkarbowy(window(), r);
    if (r.IsEmpty())
        return; // nothing picked
    const QByteArray n = QByteArray::number(Office);
    const std::pair<QByteArray, QString> parts[] = {
        {"pnlNazwaUS" + n, r.USNazwa}, {"pnlNaczelnikUS" + n, r.USNaczelnik}, {"pnlAdresUS" + n, r.USAdres}};
    for (const auto& [name, text] : parts)
        if (!text.isEmpty())
            Panel(name.constData())->SetValue(text);
    const QString accounts[] = {r.USRachPit,   r.USRachPitStd, r.USRachCit,   r.USRachVat,
                                r.USRachVatUe, r.USRachViuVin, r.USRachDoch1, r.USRachInD};
    const QList<TPanel*>& panels = AccountPanels(Office);
    for (qsizetype i = 0; i < panels.size(); ++i)
        panels[i]->SetValue(accounts[i]);
}

void TPodmiotFrame::PageControl1Change(int Index) {
    BuildTabParts(Index);
    SetSize();
}

void TPodmiotFrame::PersonListClick(TPodmiotType Type) {
    if (!FPodatnik || !EwidarDataBase())
        return;
    // The subject chooser: its list of all subjects is read-only, nobody is added or
    // deleted while picking a person.
    const TIntfPtr<IEwidarRecord> chosen = FrameOpeners::ChooseSubject(window(), EwidarDataBase().get());
    if (!chosen)
        return;
    if (chosen->GetID() == EwidarRecord()->GetID()) {
        ShowUserMessage(kMsgSelfLink, window());
        return;
    }
    TCollectionBaseFrame* list = List(Type == ptPracownik ? "PracownicyCollection" : "KontrahenciCollection");
    const TIntfPtr<IEwidarPeopleCollection> people =
        Supports<IEwidarPeopleCollection>(list->EwidarCollection());
    if (!people)
        return;
    people->AddExisting(chosen.get());
    if (const int32_t code = people->GetLastErrorCode())
        ShowUserMessage(uint32_t(code), window());
    list->RefreshData();
}

void TPodmiotFrame::RodzajeDzialalnosciCollectionbtnDeleteClick() {
    TCollectionBaseFrame* list = List("RodzajeDzialalnosciCollection");
    const TIntfPtr<IEwidarRecord> row = list->DrawGrid1->EwidarRecord(list->DrawGrid1->Row());
    const TIntfPtr<IRodzajDzialalnosci> main =
        FPodmiot ? FPodmiot->GetRodzajPrzewazajacejDzialalnosci() : nullptr;
    const bool wasMain = row && main && row->GetID() == main->GetID();
    list->btnDeleteClick();
    // The link goes only when the row is really gone (the user may refuse, the delete may fail).
    if (wasMain && !row->Refresh()) {
        FPodmiot->SetRodzajPrzewazajacejDzialalnosci(nullptr);
        Linked("RodzajDzialalnosciFrame1")->Embedded()->SetEwidarRecord({});
    }
}

void TPodmiotFrame::ShowViewer(const char* Name, TCollectionBaseFrame* List) {
    TBaseFrame* viewer = Viewer(Name);
    viewer->SetEwidarRecord(List->DrawGrid1->EwidarRecord(List->DrawGrid1->Row()));
}

void TPodmiotFrame::SetSize() {
    for (const char* name : {"pnlDanePersonalne", "pnlDaneKontaktowe", "pnlDaneWpisuEwidencji", "Panel35",
                             "pnlAdresMiejscaDokumentacjiRachunkowej", "pnlPozostaleDanePersonalne",
                             "pnlInformacjeOStopniuNiepelnosprawnosci", "pnlInformacjeOEmeryturzeRencie",
                             "pnlRabatPanel", "pnlUwagiPanel"})
        Panel(name)->updateGeometry(); // placed by their tab's layout, never sized by hand
    TBaseFrame::SetSize();
    if (const QString caption = pnlContainer->Header()->HideCaption(); !caption.isEmpty())
        SetFormCaption(caption);
}
