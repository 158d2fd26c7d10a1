// The list chooser, the subject chooser and the taxpayer chooser over the SQL backend.

#include "ListFakes.h"
#include "SelectionFixture.h"
#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uCollectionForm.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uPodmiotyForm.h"
#include "uSetPodatnikKontekst.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace TestSupport;

namespace {

using ChooserTest = SelectionTest;

template <class T> int32_t IdOf(const TIntfPtr<T>& Record) {
    return Record ? Record->GetID() : -1;
}

// Double-clicks a row of a frame's grid as the grid reports it.
void DoubleClickRow(TCollectionBaseFrame* Frame, int Row) {
    TDrawGrid* grid = Frame->DrawGrid1;
    grid->OnRowDblClick()(grid, Row, Row < grid->FixedRows());
}

} // namespace

TEST_F(ChooserTest, ListChooserCaptionFollowsTheFirstInterfaceTheCollectionSupports) {
    auto reg = Reg();
    auto p = Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowal")));
    auto spolka = Supports<ISpolka>(reg->GetSpolki({})->New());
    const std::pair<TIntfPtr<IEwidarCollection>, const char*> cases[] = {
        {p->GetObywatelstwa(), "Lista wyboru obywatelstwa"},
        {p->GetDokumentyTozsamosci(), "Lista wyboru dokumentu tożsamości"},
        {p->GetAdresy(), "Lista wyboru adresu"},
        {p->GetAdresyDzialalnosci(), "Lista wyboru adresu działalności"},
        {p->GetOddzialy(), "Lista wyboru oddziału"},
        {p->GetRodzajeDzialalnosci(), "Lista wyboru rodzaju działalności"},
        {reg->GetDaneZUSow({}), "Lista wyboru danych ZUS"},
        {reg->GetUrzedyStatystyczne({}), "Lista wyboru urzędu statystycznego"},
        {reg->GetDaneNFZow({}), "Lista wyboru danych NFZ"},
        {reg->GetSadyRejonowe({}), "Lista wyboru sądu rejonowego"},
        {reg->GetDaneBankow({}), "Lista wyboru banku"},
        {p->GetNrIdentyfikacyjne(), "Lista wyboru numeru identyfikacyjnego"},
        {spolka->GetWspolnicy(), "Lista wyboru wspólników"},
        {reg->GetSpolki({}), "Lista wyboru spółki"},
        {p->GetSpolkiPodmiotu(), "Lista wyboru spółki podmiotu"},
        {p->GetRachunkiBankowe(), "Lista wyboru rachunku bankowego"},
        {p->GetDaneZamawiajacych(), "Lista wyboru zamawiającego"},
        {p->GetReprezentanci(), "Lista wyboru reprezentanta"},
        {reg->GetBiuraRachunkowe({}), "Lista wyboru biura rachunkowego"},
        {reg->GetPodmioty({}), "Lista wyboru podmiotu"},
        {reg->GetPodatnicy({}), "Lista wyboru podatnika"},
        {reg->GetPracownicy({}), "Lista wyboru pracownika"},
        {reg->GetKontrahenci({}), "Lista wyboru kontrahenta"},
        {nullptr, "Lista wyboru"},
    };
    for (const auto& [collection, caption] : cases)
        EXPECT_EQ(CollectionFormCaption(collection.get()), QString::fromUtf8(caption));
}

TEST_F(ChooserTest, ListChooserOpensOnThePreselectedRowAndEnterChoosesTheCurrentRow) {
    const auto a = Bank(QStringLiteral("Bank A"));
    const auto b = Bank(QStringLiteral("Bank B"));
    Bank(QStringLiteral("Bank C"));
    int opened = 0;
    ListOpeners::SetRecordFormOpener([&](QWidget*, IEwidarRecord*, TKontekst, IEwidarDataBase*) {
        ++opened;
        return false;
    });
    TIntfPtr<IEwidarRecord> expected;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TCollectionForm*>(w);
        ASSERT_TRUE(form);
        Activate(form);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Lista wyboru banku"));
        TCollectionBaseFrame* frame = form->CollectionBaseFrame1;
        EXPECT_EQ(IdOf(frame->DrawGrid1->EwidarRecord(frame->DrawGrid1->Row())), b->GetID());
        EXPECT_EQ(frame->Kontekst(), kPodatnik);
        QTest::keyClick(frame->edtfilter, Qt::Key_Down);
        expected = frame->DrawGrid1->EwidarRecord(frame->DrawGrid1->Row());
        QTest::keyClick(frame->edtfilter, Qt::Key_Return);
    });
    auto chosen =
        ChooseFromCollection(nullptr, m_db.get(), Reg()->GetDaneBankow({}).get(), kPodatnik, b.get());
    ASSERT_TRUE(expected);
    EXPECT_NE(expected->GetID(), b->GetID());
    EXPECT_EQ(IdOf(chosen), expected->GetID());
    EXPECT_EQ(opened, 0); // Enter chose instead of opening the record

    // Escape, and Enter while "Anuluj" has the focus, cancel.
    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_FALSE(ChooseFromCollection(nullptr, m_db.get(), Reg()->GetDaneBankow({}).get(), kBrak, a.get()));
    WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TCollectionForm*>(w);
        Activate(form);
        form->btnClose->setFocus();
        QTest::keyClick(form->btnClose, Qt::Key_Return);
    });
    EXPECT_FALSE(ChooseFromCollection(nullptr, m_db.get(), Reg()->GetDaneBankow({}).get(), kBrak, a.get()));
}

// Enter pressed right after typing a filter, before the list reloaded by itself, chooses
// from the filtered list, in the list chooser and in the taxpayer chooser alike.
TEST_F(ChooserTest, EnterRightAfterTypingAFilterChoosesFromTheFilteredList) {
    Bank(QStringLiteral("Bank Alfa"));
    const auto wanted = Bank(QStringLiteral("Bank Zeta"));
    WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TCollectionForm*>(w);
        Activate(form);
        QTest::keyClicks(form->CollectionBaseFrame1->edtfilter, QStringLiteral("Zeta"));
        QTest::keyClick(form->CollectionBaseFrame1->edtfilter, Qt::Key_Return);
    });
    EXPECT_EQ(IdOf(ChooseFromCollection(nullptr, m_db.get(), Reg()->GetDaneBankow({}).get(), kBrak)),
              wanted->GetID());

    NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Alfowa"));
    const auto taxpayer = NewPodatnik(m_db.get(), QStringLiteral("Zenon"), QStringLiteral("Zetowski"));
    WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TSetPodatnikKontekstForm*>(w);
        Activate(form);
        QTest::keyClicks(form->ActiveFrame()->edtfilter, QStringLiteral("Zetow"));
        QTest::keyClick(form->ActiveFrame()->edtfilter, Qt::Key_Return);
    });
    EXPECT_EQ(IdOf(ChooseTaxpayer(nullptr, m_db.get(), ptPracownik)), taxpayer->GetID());
}

TEST_F(ChooserTest, ListChooserAcceptsADoubleClickOnADataRowOnlyAndAnEmptyListChoosesNothing) {
    const auto a = Bank(QStringLiteral("Bank A"));
    bool stayedOpen = false;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TCollectionForm*>(w);
        DoubleClickRow(form->CollectionBaseFrame1, 0); // the title row
        stayedOpen = form->isVisible();
        DoubleClickRow(form->CollectionBaseFrame1, 1);
    });
    auto chosen = ChooseFromCollection(nullptr, m_db.get(), Reg()->GetDaneBankow({}).get(), kBrak);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(IdOf(chosen), a->GetID());

    WhenModal([](QWidget* w) { qobject_cast<TCollectionForm*>(w)->btnPost->click(); });
    EXPECT_FALSE(ChooseFromCollection(nullptr, m_db.get(), Reg()->GetSpolki({}).get(), kBrak));
}

TEST_F(ChooserTest, SubjectChooserReadsATabOnFirstShowingAndChoosesOnlyARecord) {
    auto podatnik = NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Podatna"));
    Employee(podatnik.get(), QStringLiteral("Pracowity"));
    {
        TPodmiotyForm form(nullptr, m_db.get());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Podmioty"));
        EXPECT_EQ(form.pnlContainer->Header()->CaptionLabel(), QStringLiteral("Lista wyboru podmiotu"));
        EXPECT_TRUE(form.TabLoaded(0));
        EXPECT_FALSE(form.TabLoaded(1) || form.TabLoaded(2) || form.TabLoaded(3));
        EXPECT_FALSE(form.PracownicyCollection->EwidarCollection());
        form.PageControl1->setCurrentIndex(2);
        EXPECT_TRUE(form.TabLoaded(2));
        EXPECT_EQ(form.PracownicyCollection->EwidarCollection()->GetCount(), 1);
        // The list of all subjects is read-only; people are not added here; taxpayers keep every button.
        EXPECT_TRUE(form.PodmiotyCollection->Panel3->isHidden());
        EXPECT_TRUE(form.PracownicyCollection->btnAdd->isHidden());
        EXPECT_TRUE(form.KontrahenciCollection->btnAdd->isHidden());
        EXPECT_FALSE(form.PodatnicyCollection->btnAdd->isHidden());
    }
    bool stayedOpen = false;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TPodmiotyForm*>(w);
        form->PageControl1->setCurrentIndex(3); // no contractors: nothing to choose
        form->btnAccept->click();
        stayedOpen = form->isVisible();
        form->PageControl1->setCurrentIndex(1);
        form->btnAccept->click();
    });
    auto chosen = ChooseSubject(nullptr, m_db.get());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(IdOf(chosen), podatnik->GetID());

    WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_FALSE(ChooseSubject(nullptr, m_db.get()));
}

TEST_F(ChooserTest, TaxpayerChooserHoldsOnlyTheActiveListAndEnterOnAnEmptyListChoosesNothing) {
    // An empty database: Enter closes the window as chosen, with no taxpayer.
    bool accepted = false;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TSetPodatnikKontekstForm*>(w);
        Activate(form);
        QTest::keyClick(form->ActiveFrame()->edtfilter, Qt::Key_Return);
        accepted = form->CloseStatus() == uSetPodatnikKontekst::csAccept;
    });
    EXPECT_FALSE(ChooseTaxpayer(nullptr, m_db.get(), ptPracownik));
    EXPECT_TRUE(accepted);

    auto podatnik = NewPodatnik(m_db.get(), QStringLiteral("Anna"), QStringLiteral("Podatna"));
    TSetPodatnikKontekstForm form(nullptr, m_db.get(), ptKontrahent);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Lista podmiotów"));
    EXPECT_EQ(form.Label1->text(),
              QStringLiteral("Wybierz podmiot, który będzie podatnikiem dla nowego kontrahenta."));
    auto holds = [&form] {
        QList<bool> loaded;
        for (auto* frame : {form.WszyscyCollection, form.PodatnicyCollection, form.PracownicyCollection,
                            form.KontrahenciCollection})
            loaded << (frame->EwidarCollection() && frame->EwidarDataBase());
        return loaded;
    };
    EXPECT_EQ(form.PageControl1->currentIndex(), 1);
    EXPECT_EQ(holds(), QList<bool>({false, true, false, false}));
    EXPECT_EQ(form.PodatnicyCollection->Panel1->Header()->CaptionLabel(), QStringLiteral("Podatnicy"));
    form.PageControl1->setCurrentIndex(0);
    EXPECT_EQ(holds(), QList<bool>({true, false, false, false}));
    EXPECT_EQ(form.WszyscyCollection->Panel1->Header()->CaptionLabel(), QStringLiteral("Wszystkie podmioty"));
    TCollectionBaseFrame* frame = form.WszyscyCollection;
    EXPECT_TRUE(frame->btnAdd->isHidden() && frame->btnEdit->isHidden() && frame->btnDelete->isHidden());
    EXPECT_FALSE(frame->DrawGrid1->VisibleCheckBox());
    // A double click on the title row sorts and chooses nothing; on a data row it chooses.
    DoubleClickRow(frame, 0);
    EXPECT_EQ(form.CloseStatus(), uSetPodatnikKontekst::csCancel);
    DoubleClickRow(frame, 1);
    EXPECT_EQ(form.CloseStatus(), uSetPodatnikKontekst::csAccept);
    EXPECT_EQ(IdOf(form.EwidarRecord()), podatnik->GetID());
}

TEST_F(ChooserTest, TaxpayerChooserReturnsNoTaxpayerForARecordThatIsNotASubject) {
    struct SubjectsRegistries : FakeRegistries {
        TIntfPtr<IPodmioty> GetPodmioty(const std::u16string&) override { return Podmioty; }
        TIntfPtr<IPodatnicy> GetPodatnicy(const std::u16string&) override { return {}; }
        TIntfPtr<IPodmioty> Podmioty;
    };
    auto subjects = MakeIntf<SubjectsRegistries, SubjectsRegistries>();
    auto list = MakeCollection<IPodmioty>();
    list->Add(7, {QStringLiteral("nie podmiot")});
    subjects->Podmioty = TIntfPtr<IPodmioty>(list.get());
    auto db = MakeIntf<ListDataBase, ListDataBase>();
    db->Registries = TIntfPtr<IEwidarRegistries>(subjects.get());
    TIntfPtr<IEwidarRecord> chosen;
    WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TSetPodatnikKontekstForm*>(w);
        form->PageControl1->setCurrentIndex(0);
        form->btnAccept->click();
        chosen = form->EwidarRecord();
    });
    EXPECT_FALSE(ChooseTaxpayer(nullptr, db.get(), ptPracownik));
    EXPECT_EQ(IdOf(chosen), 7);
}

TEST_F(ChooserTest, AddingAnEmployeeFromTheRegistryAsksForItsTaxpayerThroughTheInstalledChooser) {
    auto podatnik = NewPodatnik(m_db.get(), QStringLiteral("Szef"), QStringLiteral("Firmy"));
    ListOpeners::SetRecordFormOpener(
        [](QWidget*, IEwidarRecord* Record, TKontekst Kontekst, IEwidarDataBase*) {
            EXPECT_EQ(Kontekst, kPracownik);
            SetValue(Record, cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowy"));
            return Record->Post();
        });
    TCollectionBaseFrame frame;
    frame.SetEwidarDataBase(m_db.get());
    frame.SetEwidarCollection(Reg()->GetPracownicy({}).get());
    WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TSetPodatnikKontekstForm*>(w);
        ASSERT_TRUE(form);
        EXPECT_EQ(form->Label1->text(),
                  QStringLiteral("Wybierz podmiot, który będzie podatnikiem dla nowego pracownika."));
        DoubleClickRow(form->PodatnicyCollection, 1);
    });
    frame.btnAddClick();
    EXPECT_EQ(ListLines(Supports<IPodatnik>(podatnik)->GetPracownicy(0, 0).get()), QStringList({"Nowy"}));
}
