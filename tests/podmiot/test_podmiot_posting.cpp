// Posting, the duplicate test, cancelling links, the tax-office pick and the main
// activity kind, over the real backend.

#include "PodmiotFixture.h"
#include "TCheckBox.h"
#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uLinkedRecordSection.h"
#include "uPodmiotFrameParts.h"

#include <QApplication>
#include <QToolButton>

namespace {

const QString kDuplicate =
    QStringLiteral("Podmiot o takim identyfikatorze podatkowym już istnieje.\r\nCzy dodać mimo to?");
// Valid identifiers.
const QString kPesel = QStringLiteral("90010112349");
const QString kNipA = QStringLiteral("5260250274");
const QString kNipB = QStringLiteral("7740001454");
const QString kRegon = QStringLiteral("123456785");

} // namespace

TEST_F(PodmiotTest, UnchangedIdentifiersAreNotTestedForDuplicates) {
    // Two stored subjects already share every identifier (imported data): editing one
    // of them without touching its identifiers asks nothing.
    const QList<std::pair<QString, QString>> ids = {{cDanePodmiotuPESEL.Symbol, kPesel},
                                                    {cDanePodmiotuREGON.Symbol, kRegon},
                                                    {cDanePodmiotuNIP.Symbol, kNipA},
                                                    {cDanePodmiotuNIPOF.Symbol, kNipB}};
    NewTaxpayer(ids);
    auto second = NewTaxpayer(ids);
    TPodmiotFrame* f = Open(second, kPodatnik);
    Type(f->Panel("pnlNrTelefonu"), QStringLiteral("123"));
    ASSERT_TRUE(f->PostPodmiot());
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    EXPECT_EQ(StoredValue(second->GetID(), cDanePodmiotuNrTelefonu.Symbol), QStringLiteral("123"));
}

// Each NIP field is compared with its own stored value: a company NIP typed on "Dane
// firmy" that another subject holds is found even when the personal NIP is unchanged.
TEST_F(PodmiotTest, ChangedCompanyNipOfAnotherSubjectAsksAndNoPostsNothing) {
    NewTaxpayer({{cDanePodmiotuNIP.Symbol, kNipA}});
    auto mine = NewTaxpayer(
        {{cDanePodmiotuNIPOF.Symbol, kNipB}, {cDanePodmiotuNazwisko.Symbol, QStringLiteral("Ala")}});
    TPodmiotFrame* f = Open(mine, kPodatnik);
    Type(f->Panel("pnlNIP2"), kNipA);
    Messages->QueueResult(ModalResult::mrNo);
    EXPECT_FALSE(f->PostPodmiot());
    EXPECT_EQ(ShownTexts(), QStringList{kDuplicate});
    EXPECT_TRUE(StoredValue(mine->GetID(), cDanePodmiotuNIP.Symbol).isEmpty());
    EXPECT_TRUE(f->Modified());
    Messages->QueueResult(ModalResult::mrYes);
    EXPECT_TRUE(f->PostPodmiot());
    EXPECT_EQ(StoredValue(mine->GetID(), cDanePodmiotuNIP.Symbol), kNipA);
}

TEST_F(PodmiotTest, ChangedPeselOfAnotherSubjectAsks) {
    NewTaxpayer({{cDanePodmiotuPESEL.Symbol, kPesel}});
    auto mine = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Ala")}});
    TPodmiotFrame* f = Open(mine, kPodatnik);
    Type(f->Panel("pnlPESEL"), kPesel);
    Messages->QueueResult(ModalResult::mrYes);
    EXPECT_TRUE(f->PostPodmiot());
    EXPECT_EQ(ShownTexts(), QStringList{kDuplicate});
}

TEST_F(PodmiotTest, CancelPutsThePreviousStatisticalOfficeBack) {
    auto first = NewPosted(Reg()->GetUrzedyStatystyczne({}).get(), cDaneUrzeduStatystycznegoNazwa.Symbol,
                           QStringLiteral("US Kraków"));
    auto second = NewPosted(Reg()->GetUrzedyStatystyczne({}).get(), cDaneUrzeduStatystycznegoNazwa.Symbol,
                            QStringLiteral("US Tarnów"));
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    Supports<IPodmiot>(taxpayer)->SetUrzadStatystyczny(first.get());
    ASSERT_TRUE(taxpayer->Post());
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    EditingOpeners::SetCollectionChooser(
        [&](QWidget*, IEwidarDataBase*, IEwidarCollection*, TKontekst, IEwidarRecord*) { return second; });
    f->Linked("DaneUrzeduStatystycznegoFrame1")->Choose();
    EXPECT_EQ(Supports<IPodmiot>(taxpayer)->GetUrzadStatystyczny()->GetID(), second->GetID());
    EXPECT_TRUE(f->Modified());
    Messages->QueueResult(ModalResult::mrYes); // 300: close without saving
    ASSERT_TRUE(f->Close());
    EXPECT_EQ(Supports<IPodmiot>(taxpayer)->GetUrzadStatystyczny()->GetID(), first->GetID());
    // A link that was not there before is removed again.
    TPodmiotFrame* g = Open(taxpayer, kPodatnik);
    g->Linked("DaneZUSFrame1")->Choose(); // the chooser hands a record of another kind: nothing
    EXPECT_FALSE(Supports<IPodmiot>(taxpayer)->GetDaneZUS());
    EXPECT_FALSE(g->Modified());
}

TEST_F(PodmiotTest, TaxOfficePickFillsTheOfficeAndItsAccountsAsOrdinaryChanges) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNaczelnikUS1.Symbol, QStringLiteral("Jan Stary")},
                                 {cDanePodmiotuTypNaczelnika1.Symbol, QStringLiteral("10")}});
    TDictionaryModule::SetDictionaryFormOpener(
        [](QWidget*, const TDictionaryRecord&, TDictionaryType Type, TDictionaryRecord& Result) {
            ASSERT_EQ(Type, dtUS);
            Result.USNazwa = QStringLiteral("Urząd Skarbowy Kraków-Krowodrza");
            Result.USAdres = QStringLiteral("ul. Wrocławska 20");
            Result.USRachPit = QStringLiteral("PIT-1");
            Result.USRachInD = QStringLiteral("IND-8");
        });
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    ASSERT_TRUE(f->CheckBox[1]->isChecked());
    f->NazwaUSIconClick(1);
    EXPECT_EQ(f->Panel("pnlNazwaUS1")->Value(), QStringLiteral("Urząd Skarbowy Kraków-Krowodrza"));
    EXPECT_EQ(f->Panel("pnlNaczelnikUS1")->Value(), QStringLiteral("Jan Stary")); // empty part: kept
    EXPECT_EQ(f->AccountPanels(1).first()->Value(), QStringLiteral("PIT-1"));
    EXPECT_EQ(f->AccountPanels(1).last()->Value(), QStringLiteral("IND-8"));
    EXPECT_TRUE(f->Modified());
    // Cancelling drops the picked accounts like typed values.
    Messages->QueueResult(ModalResult::mrYes);
    ASSERT_TRUE(f->Close());
    EXPECT_TRUE(StoredValue(taxpayer->GetID(), cDanePodmiotuUS1RachunekPIT.Symbol).isEmpty());
    EXPECT_TRUE(Value(taxpayer.get(), cDanePodmiotuUS1RachunekPIT.Symbol).isEmpty());

    f = Open(taxpayer, kPodatnik);
    f->NazwaUSIconClick(1);
    // The accounts window edits the same values; accepted, they are posted with the record.
    PodmiotOpeners::SetAccountsOpener([](QWidget*, PodmiotOpeners::TAccounts& A) {
        EXPECT_EQ(A[0], QStringLiteral("PIT-1"));
        A[3] = QStringLiteral("VAT-4");
        return true;
    });
    f->findChild<QToolButton*>(QStringLiteral("btnRachunkiBankoweUS1"))->click();
    ASSERT_TRUE(f->PostPodmiot());
    EXPECT_EQ(StoredValue(taxpayer->GetID(), cDanePodmiotuUS1RachunekPIT.Symbol), QStringLiteral("PIT-1"));
    EXPECT_EQ(StoredValue(taxpayer->GetID(), cDanePodmiotuUS1RachunekVAT.Symbol), QStringLiteral("VAT-4"));
    EXPECT_EQ(StoredValue(taxpayer->GetID(), cDanePodmiotuNazwaUS1.Symbol),
              QStringLiteral("Urząd Skarbowy Kraków-Krowodrza"));
}

TEST_F(PodmiotTest, MainActivityIsClearedOnlyWhenItsRowIsReallyDeleted) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    auto kinds = Supports<IPodmiot>(taxpayer)->GetRodzajeDzialalnosci();
    auto kind = kinds->New();
    SetValue(kind.get(), cRodzajDzialalnosciKodPKD.Symbol, QStringLiteral("62.01.Z"));
    ASSERT_TRUE(kind->Post());
    Supports<IPodmiot>(taxpayer)->SetRodzajPrzewazajacejDzialalnosci(kind.get());
    ASSERT_TRUE(taxpayer->Post());
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    TCollectionBaseFrame* list = f->List("RodzajeDzialalnosciCollection");
    list->tmrFilterTimer();
    list->DrawGrid1->SetRow(list->DrawGrid1->FixedRows());
    ASSERT_TRUE(list->DrawGrid1->EwidarRecord(list->DrawGrid1->Row()));
    Messages->Answer = [](const TMessageRequest&) {
        return ModalResult::mrNo;
    };
    list->btnDelete->click();
    ASSERT_GE(Messages->Count(), 1);
    EXPECT_TRUE(Supports<IPodmiot>(taxpayer)->GetRodzajPrzewazajacejDzialalnosci());
    EXPECT_TRUE(f->Linked("RodzajDzialalnosciFrame1")->Embedded()->EwidarRecord());
    Messages->Answer = [](const TMessageRequest&) {
        return ModalResult::mrYes;
    };
    list->btnDelete->click();
    EXPECT_FALSE(Supports<IPodmiot>(taxpayer)->GetRodzajPrzewazajacejDzialalnosci());
    EXPECT_FALSE(f->Linked("RodzajDzialalnosciFrame1")->Embedded()->EwidarRecord());
}

// A taxpayer entered through the window, with its children, posted, read back through
// a fresh object and compared field by field; every list shows its records.
TEST_F(PodmiotTest, RoundTripOfATaxpayerWithItsChildren) {
    auto record = Reg()->GetPodatnicy({})->New();
    TPodmiotFrame* f = Open(record, kPodatnik);
    QHash<QString, QString> typed;
    for (const PodmiotParts::TFieldRow* row : PodmiotParts::AllRows()) {
        TPanel* panel = f->Panel(row->Name);
        if (row->Field->FieldType != ctEdit || !panel->Edit())
            continue;
        // A country code takes two letters.
        const QString text = (QStringLiteral("ąę ") + QLatin1String(row->Name))
                                 .left(panel->Edit()->validator() ? 2 : panel->Edit()->maxLength());
        Type(panel, text);
        typed.insert(QLatin1String(row->Name), text);
    }
    Check(f, 5);
    Check(f, 8);
    Check(f, 10);
    Click(f->CheckBox[2]);
    Click(f->CheckBox[6]);
    Messages->Answer = [](const TMessageRequest&) {
        return ModalResult::mrYes;
    };
    ASSERT_TRUE(f->PostPodmiot()) << Shown().toStdString();
    const int32_t id = record->GetID();
    ASSERT_NE(id, 0);

    auto podmiot = Supports<IPodatnik>(FindSubject(id));
    ASSERT_TRUE(podmiot);
    auto post = [](const TIntfPtr<IEwidarRecord>& R, const QString& Symbol, const QString& Text) {
        SetValue(R.get(), Symbol, Text);
        EXPECT_TRUE(R->Post()) << R->GetLastErrorCode();
        return R;
    };
    post(podmiot->GetAdresy()->New(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Kraków"));
    post(podmiot->GetDokumentyTozsamosci()->New(), cDaneDokumentuTozsamosciNumer.Symbol,
         QStringLiteral("ABC"));
    auto account = podmiot->GetRachunkiBankowe()->New();
    Supports<IRachunekBankowy>(account)->SetDaneBanku(NewBank(QStringLiteral("Bank Alfa")).get());
    post(account, cDaneRachunkuNrRachunku.Symbol, QStringLiteral("PL61109010140000071219812874"));
    auto company =
        NewPosted(Reg()->GetSpolki({}).get(), cDaneSpolkiNazwa.Symbol, QStringLiteral("Spółka Beta"));
    auto share = podmiot->GetSpolkiPodmiotu()->New();
    Supports<ISpolkaPodmiotu>(share)->SetSpolka(company.get());
    ASSERT_TRUE(share->Post()) << share->GetLastErrorCode();
    auto person = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pełnomocnik")}});
    auto representative = podmiot->GetReprezentanci()->New();
    Supports<IReprezentant>(representative)->SetPodmiot(person.get());
    ASSERT_TRUE(representative->Post()) << representative->GetLastErrorCode();
    post(podmiot->GetPracownicy(0, 0)->New(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pracownik"));
    post(podmiot->GetKontrahenci(0, 0)->New(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Kontrahent"));

    TPodmiotFrame* g = Open(TIntfPtr<IEwidarRecord>(podmiot), kPodatnik);
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        EXPECT_EQ(g->Panel(it.key().toLatin1().constData())->Value(), it.value()) << it.key().toStdString();
    EXPECT_EQ(g->Panel("pnlDaneOsoby")->Value(), QStringLiteral("0"));
    EXPECT_EQ(g->Panel("pnlDaneOsobyFizycznej")->Value(), QStringLiteral("1"));
    EXPECT_EQ(g->Panel("pnlDaneOsobyProwadzacejDzialalnoscSamodzielnie")->Value(), QStringLiteral("1"));
    EXPECT_TRUE(g->CheckBox[2]->isChecked());
    EXPECT_FALSE(g->CheckBox[1]->isChecked());
    EXPECT_TRUE(g->CheckBox[6]->isChecked());
    EXPECT_FALSE(g->Modified());
    for (const char* name :
         {"AdresyCollection", "DokumentyTozsamosciCollection", "RachunkiBankoweCollection",
          "SpolkiCollection", "ReprezentanciCollection", "PracownicyCollection", "KontrahenciCollection"}) {
        TCollectionBaseFrame* list = g->List(name);
        list->tmrFilterTimer();
        EXPECT_EQ(list->DrawGrid1->RowCount() - list->DrawGrid1->FixedRows(), 1) << name;
    }
    // Selecting the account shows it in the viewer.
    TCollectionBaseFrame* accounts = g->List("RachunkiBankoweCollection");
    accounts->DrawGrid1->SetRow(accounts->DrawGrid1->FixedRows());
    ASSERT_TRUE(g->Viewer("DaneRachunkuFrame1")->EwidarRecord());
    EXPECT_EQ(g->Viewer("DaneRachunkuFrame1")->EwidarRecord()->GetID(), account->GetID());
}
