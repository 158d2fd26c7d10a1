// The relations window over the SQL backend: which tabs a record kind shows,
// messages 305 and 306, independent windows that free themselves, and the list
// frame's two ways in (the popup and a failed deletion).

#include "SelectionFixture.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarDrawGrid.h"
#include "uPowiazaniaForm.h"

#include <QLabel>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

namespace {

using RelationsTest = SelectionTest;

const QString kNoRelations = QStringLiteral("Dane nie mają powiązań.");
const QString kNoGlobalRelations = QStringLiteral("Dane nie posiadają powiązań globalnych.");

// Names of the visible tabs of the newest relations window.
QStringList VisibleTabs(TPowiazaniaForm* Form) {
    QStringList tabs;
    for (int i = 0; i < Form->PageControl1->count(); ++i)
        if (Form->PageControl1->isTabVisible(i))
            tabs << Form->PageControl1->widget(i)->objectName();
    return tabs;
}

TPowiazaniaForm* Newest() {
    const QList<TPowiazaniaForm*> open = TPowiazaniaForm::OpenWindows();
    return open.isEmpty() ? nullptr : open.last();
}

} // namespace

TEST_F(RelationsTest, RecordsReferredToBySubjectsListThemOnTheSubjectsTab) {
    auto reg = Reg();
    struct Case {
        TIntfPtr<IEwidarRecord> Record;
        const char* Caption;
        void (IPodmiot::*Link)(IEwidarRecord*);
    } cases[] = {
        {NewPosted(reg->GetBiuraRachunkowe({}).get(), cBiuroRachunkoweNazwa.Symbol, QStringLiteral("Biuro")),
         "Powiązania biura rachunkowego ", &IPodmiot::SetBiuroRachunkowe},
        {NewPosted(reg->GetSadyRejonowe({}).get(), cDaneSaduRejonowegoNazwa.Symbol, QStringLiteral("SR")),
         "Powiązania sądu rejonowego ", &IPodmiot::SetSadRejonowy},
        {NewPosted(reg->GetDaneNFZow({}).get(), cDaneNFZNazwa.Symbol, QStringLiteral("NFZ")),
         "Powiązania danych NFZ ", &IPodmiot::SetDaneNFZ},
        {NewPosted(reg->GetUrzedyStatystyczne({}).get(), cDaneUrzeduStatystycznegoNazwa.Symbol,
                   QStringLiteral("US")),
         "Powiązania urzedu statystycznego ", &IPodmiot::SetUrzadStatystyczny},
        {NewPosted(reg->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol, QStringLiteral("ZUS")),
         "Powiązania danych ZUS ", &IPodmiot::SetDaneZUS},
    };
    // Nothing refers to them yet: message 305 and no window.
    for (const Case& c : cases)
        ShowRelations(nullptr, m_db.get(), c.Record.get());
    EXPECT_EQ(ShownTexts(), QStringList(5, kNoRelations));
    EXPECT_TRUE(TPowiazaniaForm::OpenWindows().isEmpty());

    auto p = Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Związany")));
    for (const Case& c : cases)
        (p.get()->*c.Link)(c.Record.get());
    ASSERT_TRUE(p->Post()) << p->GetLastErrorCode();
    for (const Case& c : cases) {
        ShowRelations(nullptr, m_db.get(), c.Record.get());
        TPowiazaniaForm* form = Newest();
        ASSERT_TRUE(form && form->isVisible());
        EXPECT_EQ(form->windowTitle(), QString::fromUtf8(c.Caption));
        EXPECT_EQ(VisibleTabs(form), QStringList({"TsPodmioty"}));
        EXPECT_EQ(form->PodmiotyCollection->EwidarCollection()->GetCount(), 1);
        EXPECT_TRUE(form->PodmiotyCollection->Panel3->isHidden());
        EXPECT_FALSE(form->PodmiotyCollection->DrawGrid1->VisibleCheckBox());
    }
    EXPECT_EQ(TPowiazaniaForm::OpenWindows().size(), 5);
    EXPECT_EQ(m_messages.Count(), 5);
}

TEST_F(RelationsTest, BanksCompaniesAndSubjectsShowTheirOwnTabsAndSectionsHaveNoRelations) {
    auto bank = Bank(QStringLiteral("PKO BP"));
    ShowRelations(nullptr, m_db.get(), bank.get()); // a bank with no accounts
    EXPECT_EQ(ShownTexts(), QStringList({kNoRelations}));

    auto p = Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Ala"), QStringLiteral("Kowalska")));
    auto konto = Supports<IRachunekBankowy>(p->GetRachunkiBankowe()->New());
    SetValue(konto.get(), cDaneRachunkuNrRachunku.Symbol, QStringLiteral("PL61109010140000071219812874"));
    konto->SetDaneBanku(bank.get());
    ASSERT_TRUE(konto->Post());
    ShowRelations(nullptr, m_db.get(), bank.get());
    ASSERT_TRUE(Newest());
    EXPECT_EQ(Newest()->windowTitle(), QStringLiteral("Powiązania danych banku "));
    EXPECT_EQ(Newest()->Label1->text(), QStringLiteral("Powiązane dane z \"PKO BP\"."));
    EXPECT_EQ(VisibleTabs(Newest()), QStringList({"TsRachunkiBankowe"}));

    auto spolka = Reg()->GetSpolki({})->New();
    SetValue(spolka.get(), cDaneSpolkiNazwa.Symbol, QStringLiteral("ABC sp.j."));
    ASSERT_TRUE(spolka->Post());
    auto udzial = Supports<ISpolkaPodmiotu>(p->GetSpolkiPodmiotu()->New());
    udzial->SetSpolka(spolka.get());
    ASSERT_TRUE(udzial->Post());
    ShowRelations(nullptr, m_db.get(), spolka.get());
    EXPECT_EQ(Newest()->windowTitle(), QStringLiteral("Powiązania spółki "));
    EXPECT_EQ(VisibleTabs(Newest()), QStringList({"TsSpolkiPodmiotow"}));

    // A taxpayer with an employee but no representatives: only the subjects tab.
    auto szef = NewPodatnik(m_db.get(), QStringLiteral("Szef"), QStringLiteral("Firmy"));
    Employee(szef.get(), QStringLiteral("Zatrudniony"));
    ShowRelations(nullptr, m_db.get(), szef.get());
    EXPECT_EQ(Newest()->windowTitle(), QStringLiteral("Powiązania podmiotu "));
    EXPECT_EQ(VisibleTabs(Newest()), QStringList({"TsPodmioty"}));
    // Named as a representative: the second tab appears, in front of nothing else.
    auto rep = Supports<IReprezentant>(p->GetReprezentanci()->New());
    rep->SetPodmiot(szef.get());
    ASSERT_TRUE(rep->Post());
    ShowRelations(nullptr, m_db.get(), szef.get());
    EXPECT_EQ(VisibleTabs(Newest()), QStringList({"TsPodmioty", "TsReprezentanci"}));
    EXPECT_EQ(Newest()->PageControl1->currentWidget(), Newest()->TsPodmioty);

    // A section record: message 306; no record: nothing.
    m_messages.Shown.clear();
    const int open = static_cast<int>(TPowiazaniaForm::OpenWindows().size());
    ShowRelations(nullptr, m_db.get(), p->GetAdresy()->New().get());
    ShowRelations(nullptr, m_db.get(), nullptr);
    EXPECT_EQ(ShownTexts(), QStringList({kNoGlobalRelations}));
    EXPECT_EQ(TPowiazaniaForm::OpenWindows().size(), open);
}

TEST_F(RelationsTest, WindowsAreIndependentFreeThemselvesAndAllCloseAtOnce) {
    auto szef = NewPodatnik(m_db.get(), QStringLiteral("Szef"), QStringLiteral("Firmy"));
    auto employee = Employee(szef.get(), QStringLiteral("Zatrudniony"));
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    ShowRelations(&owner, m_db.get(), szef.get());
    ShowRelations(&owner, m_db.get(), employee.get());
    ASSERT_EQ(TPowiazaniaForm::OpenWindows().size(), 2);
    QPointer<TPowiazaniaForm> first = TPowiazaniaForm::OpenWindows().at(0);
    QPointer<TPowiazaniaForm> second = TPowiazaniaForm::OpenWindows().at(1);
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->EwidarRecord()->GetID(), szef->GetID());
    EXPECT_EQ(second->EwidarRecord()->GetID(), employee->GetID());
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(first->isVisible());
    FlushDeletes();
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(ListLines(second->PodmiotyCollection->EwidarCollection().get()), QStringList({"Szef Firmy"}));

    ShowRelations(nullptr, m_db.get(), szef.get()); // one without an owner
    CloseRelationsWindows();
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(TPowiazaniaForm::OpenWindows().isEmpty());
}

TEST_F(RelationsTest, ListFrameOpensTheWindowFromItsPopupAndAfterAFailedDeletion) {
    auto bank = Bank(QStringLiteral("PKO BP"));
    auto p = Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Ala"), QStringLiteral("Kowalska")));
    auto konto = Supports<IRachunekBankowy>(p->GetRachunkiBankowe()->New());
    konto->SetDaneBanku(bank.get());
    ASSERT_TRUE(konto->Post());
    TCollectionBaseFrame frame;
    frame.SetEwidarDataBase(m_db.get());
    frame.SetEwidarCollection(Reg()->GetDaneBankow({}).get());
    frame.Powizania1Click();
    ASSERT_EQ(TPowiazaniaForm::OpenWindows().size(), 1);

    m_messages.QueueButton(QStringLiteral("Tak"));        // delete the bank?
    m_messages.QueueButton(QStringLiteral("Powiązania")); // 202: still referenced
    frame.btnDeleteClick();
    ASSERT_EQ(m_messages.Count(), 2);
    EXPECT_TRUE(m_messages.Last().Text.startsWith(QStringLiteral("Nie można usunąć danych powiązanych")));
    ASSERT_EQ(TPowiazaniaForm::OpenWindows().size(), 2);
    EXPECT_EQ(Newest()->EwidarRecord()->GetID(), bank->GetID());
    EXPECT_EQ(Reg()->GetDaneBankow({})->GetCount(), 1);
}
