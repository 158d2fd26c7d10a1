// Links between records, the lists derived from them, deletion of referenced
// records (code 202) and the duplicate check of subjects.

#include "BackendFixture.h"
#include "uEwidarQuorDBSymbole.h"

using LinksTest = BackendTest;

TEST_F(LinksTest, SubjectLinksAreStoredWithThePostAndListedByTheirTargets) {
    auto reg = Reg();
    auto zus = NewPosted(reg->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol, QStringLiteral("ZUS Warszawa"));
    auto us = NewPosted(reg->GetUrzedyStatystyczne({}).get(), cDaneUrzeduStatystycznegoNazwa.Symbol,
                        QStringLiteral("US Kraków"));
    auto nfz = NewPosted(reg->GetDaneNFZow({}).get(), cDaneNFZNazwa.Symbol, QStringLiteral("Śląski OW"));
    auto sad =
        NewPosted(reg->GetSadyRejonowe({}).get(), cDaneSaduRejonowegoNazwa.Symbol, QStringLiteral("SR"));
    auto biuro =
        NewPosted(reg->GetBiuraRachunkowe({}).get(), cBiuroRachunkoweNazwa.Symbol, QStringLiteral("Biuro"));
    auto p = Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Powiązany")));
    auto pkd = p->GetRodzajeDzialalnosci()->New();
    SetValue(pkd.get(), cRodzajDzialalnosciKodPKD.Symbol, QStringLiteral("62.01.Z"));
    ASSERT_TRUE(pkd->Post());
    EXPECT_FALSE(p->GetDaneZUS());
    p->SetDaneZUS(zus.get());
    p->SetUrzadStatystyczny(us.get());
    p->SetDaneNFZ(nfz.get());
    p->SetSadRejonowy(sad.get());
    p->SetBiuroRachunkowe(biuro.get());
    p->SetRodzajPrzewazajacejDzialalnosci(pkd.get());
    EXPECT_EQ(p->GetDaneZUS()->GetID(), zus->GetID()); // visible before the post
    EXPECT_EQ(Supports<IDaneZUS>(zus)->GetPodmioty()->GetCount(), 0);
    ASSERT_TRUE(p->Post());

    auto db2 = Open();
    auto again = Supports<IPodmiot>(db2->GetRegistries()->GetPodatnicy({})->GetItem(0));
    EXPECT_EQ(again->GetDaneZUS()->GetID(), zus->GetID());
    EXPECT_EQ(again->GetUrzadStatystyczny()->GetID(), us->GetID());
    EXPECT_EQ(again->GetDaneNFZ()->GetID(), nfz->GetID());
    EXPECT_EQ(again->GetSadRejonowy()->GetID(), sad->GetID());
    EXPECT_EQ(again->GetBiuroRachunkowe()->GetID(), biuro->GetID());
    EXPECT_EQ(again->GetRodzajPrzewazajacejDzialalnosci()->GetID(), pkd->GetID());
    for (const auto& target : {zus, us, nfz, sad, biuro}) {
        TIntfPtr<IPodmioty> podmioty;
        if (auto r = Supports<IDaneZUS>(target))
            podmioty = r->GetPodmioty();
        else if (auto r = Supports<IUrzadStatystyczny>(target))
            podmioty = r->GetPodmioty();
        else if (auto r = Supports<IDaneNFZ>(target))
            podmioty = r->GetPodmioty();
        else if (auto r = Supports<ISadRejonowy>(target))
            podmioty = r->GetPodmioty();
        else if (auto r = Supports<IBiuroRachunkowe>(target))
            podmioty = r->GetPodmioty();
        ASSERT_TRUE(podmioty);
        EXPECT_EQ(podmioty->GetCount(), 1);
        // Still referenced: deleting it fails and changes nothing.
        EXPECT_FALSE(target->Delete());
        EXPECT_EQ(target->GetLastErrorCode(), 202);
    }
    EXPECT_EQ(Reg()->GetDaneZUSow({})->GetCount(), 1);
    // Deleting the main activity kind clears the link instead of failing.
    ASSERT_TRUE(pkd->Delete());
    EXPECT_FALSE(again->GetRodzajPrzewazajacejDzialalnosci());
    // A link of the wrong kind or to an unposted record is refused.
    p->SetDaneZUS(nfz.get());
    EXPECT_EQ(p->GetLastErrorCode(), 11);
    p->SetDaneZUS(p->GetAdresy()->New().get());
    EXPECT_EQ(p->GetLastErrorCode(), 104);
    p->SetDaneZUS(nullptr);
    ASSERT_TRUE(p->Post());
    EXPECT_EQ(Supports<IDaneZUS>(zus)->GetPodmioty()->GetCount(), 0);
    EXPECT_TRUE(zus->Delete());
}

TEST_F(LinksTest, AccountsSharesAndRepresentativesWithTheirTargets) {
    auto reg = Reg();
    auto bank = NewPosted(reg->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("PKO BP"));
    auto spolka = reg->GetSpolki({})->New();
    auto wspolnik = Supports<ISpolka>(spolka)->GetWspolnicy()->New(); // before the company's first post
    SetValue(wspolnik.get(), cDaneWspolnikaNazwisko.Symbol, QStringLiteral("Wspólny"));
    ASSERT_TRUE(wspolnik->Post());
    SetValue(spolka.get(), cDaneSpolkiNazwa.Symbol, QStringLiteral("ABC sp.j."));
    SetValue(spolka.get(), cDaneSpolkiREGON.Symbol, QStringLiteral("123456785"));
    ASSERT_TRUE(spolka->Post());
    EXPECT_EQ(Supports<ISpolka>(spolka)->GetWspolnicy()->GetCount(), 1);

    auto p =
        Supports<IPodmiot>(NewPodatnik(m_db.get(), QStringLiteral("Ala"), QStringLiteral("Wspólniczka")));
    auto konto = Supports<IRachunekBankowy>(p->GetRachunkiBankowe()->New());
    SetValue(konto.get(), cDaneRachunkuNrRachunku.Symbol, QStringLiteral("PL61109010140000071219812874"));
    konto->SetDaneBanku(bank.get());
    ASSERT_TRUE(konto->Post());
    EXPECT_EQ(Lines(konto.get()), QStringList({"PL61109010140000071219812874", "PKO BP"}));
    EXPECT_EQ(konto->GetDaneBanku()->GetID(), bank->GetID());
    EXPECT_EQ(Supports<IDaneBanku>(bank)->GetRachunkiBankowe()->GetCount(), 1);
    EXPECT_FALSE(Supports<IDaneBanku>(bank)->GetRachunkiBankowe()->New()); // derived list: read-only
    // Renaming the bank renames it in the account's description.
    SetValue(bank.get(), cDaneBankuNazwa.Symbol, QStringLiteral("PKO Bank Polski"));
    ASSERT_TRUE(bank->Post());
    EXPECT_EQ(ListLines(p->GetRachunkiBankowe().get(), 1), QStringList({"PKO Bank Polski"}));

    auto udzial = Supports<ISpolkaPodmiotu>(p->GetSpolkiPodmiotu()->New());
    udzial->SetSpolka(spolka.get());
    SetValue(udzial.get(), cSpolkaPodmiotuUdzial.Symbol, QStringLiteral("50"));
    ASSERT_TRUE(udzial->Post());
    EXPECT_EQ(Lines(udzial.get()), QStringList({"ABC sp.j.", "123456785"}));
    EXPECT_EQ(Supports<ISpolka>(spolka)->GetSpolkiPodmiotu()->GetCount(), 1);

    auto osoba = NewPodatnik(m_db.get(), QStringLiteral("Piotr"), QStringLiteral("Pełnomocny"));
    auto rep = Supports<IReprezentant>(p->GetReprezentanci()->New());
    rep->SetPodmiot(osoba.get());
    SetValue(rep.get(), cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("Piotr"));
    SetValue(rep.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pełnomocny"));
    ASSERT_TRUE(rep->Post());
    EXPECT_EQ(rep->GetPodmiot()->GetID(), osoba->GetID());
    EXPECT_EQ(Supports<IPodmiot>(osoba)->GetPowiazaniReprezentanci()->GetCount(), 1);
    // The list names the representing person as that person is now called.
    SetValue(osoba.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pełnomocny-Nowak"));
    ASSERT_TRUE(osoba->Post());
    EXPECT_EQ(ListLines(p->GetReprezentanci().get(), 1), QStringList({QStringLiteral("Pełnomocny-Nowak")}));

    for (const auto& referenced : {bank, spolka, osoba}) {
        EXPECT_FALSE(referenced->Delete());
        EXPECT_EQ(referenced->GetLastErrorCode(), 202);
    }
    // The owner goes with its sections; then nothing refers to the targets any more.
    ASSERT_TRUE(p->Delete()) << p->GetLastErrorCode();
    for (const auto& referenced : {bank, spolka, osoba})
        EXPECT_TRUE(referenced->Delete()) << referenced->GetLastErrorCode();
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record")).toInt(), 0);
}

TEST_F(LinksTest, TaxpayerAndItsPeopleAreRelatedAndProtectEachOther) {
    auto podatnik = NewPodatnik(m_db.get(), QStringLiteral("Szef"), QStringLiteral("Firmy"));
    auto prac = Supports<IPodatnik>(podatnik)->GetPracownicy(0, 0)->New();
    SetValue(prac.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zatrudniony"));
    ASSERT_TRUE(prac->Post());
    EXPECT_EQ(ListLines(Supports<IPodmiot>(podatnik)->GetPowiazanePodmioty().get()),
              QStringList({"Zatrudniony"}));
    EXPECT_EQ(ListLines(Supports<IPodmiot>(prac)->GetPowiazanePodmioty().get()), QStringList({"Szef Firmy"}));
    EXPECT_FALSE(podatnik->Delete());
    EXPECT_EQ(podatnik->GetLastErrorCode(), 202);
    auto fromRegistry = Supports<IEwidarPeopleCollection>(Reg()->GetPracownicy({}))->GetItem(0);
    EXPECT_FALSE(fromRegistry->Delete());
    EXPECT_EQ(fromRegistry->GetLastErrorCode(), 202);
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), 2);
}

TEST_F(LinksTest, HasDuplicateFindsOtherSubjectsByAnyIdentifier) {
    auto a = NewPodatnik(m_db.get(), QStringLiteral("A"), QStringLiteral("Pierwszy"));
    SetValue(a.get(), cDanePodmiotuPESEL.Symbol, QStringLiteral("44051401359"));
    SetValue(a.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("526-025-02-74"));
    SetValue(a.get(), cDanePodmiotuREGON.Symbol, QStringLiteral("012100784"));
    ASSERT_TRUE(a->Post());
    auto b = Supports<IPodmiot>(Reg()->GetPodatnicy({})->New());
    EXPECT_TRUE(b->HasDuplicate(u"44051401359", u"", u""));
    EXPECT_TRUE(b->HasDuplicate(u"", u"526-025-02-74", u""));
    EXPECT_TRUE(b->HasDuplicate(u"", u"", u" 012100784 "));
    EXPECT_FALSE(b->HasDuplicate(u"", u"", u""));
    EXPECT_FALSE(b->HasDuplicate(u"' OR '1'='1", u"%", u"_"));
    EXPECT_FALSE(b->HasDuplicate(u"44051401350", u"5260250275", u"012100785"));
    // A subject never duplicates itself.
    EXPECT_FALSE(Supports<IPodmiot>(a)->HasDuplicate(u"44051401359", u"526-025-02-74", u"012100784"));
    EXPECT_EQ(b->GetLastErrorCode(), 0);
}
