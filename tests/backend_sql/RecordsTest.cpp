// Records: the data fields of every kind, stored values, the life of new records
// and placeholders, re-reading, descriptions and deletion of referenced records.

#include "BackendFixture.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <vector>

namespace {

// One record of every kind that the program can create, with its expected position.
std::vector<std::pair<int, TIntfPtr<IEwidarRecord>>> OneOfEachKind(IEwidarDataBase* Db) {
    auto reg = Db->GetRegistries();
    auto p = Supports<IPodmiot>(reg->GetPodatnicy({})->New());
    auto spolka = reg->GetSpolki({})->New();
    return {
        {1, p->GetObywatelstwa()->New()},
        {2, p->GetDokumentyTozsamosci()->New()},
        {3, p->GetAdresy()->New()},
        {4, p->GetAdresyDzialalnosci()->New()},
        {5, p->GetOddzialy()->New()},
        {6, p->GetRodzajeDzialalnosci()->New()},
        {7, reg->GetDaneZUSow({})->New()},
        {8, reg->GetUrzedyStatystyczne({})->New()},
        {9, reg->GetDaneNFZow({})->New()},
        {10, reg->GetSadyRejonowe({})->New()},
        {11, reg->GetDaneBankow({})->New()},
        {12, p->GetNrIdentyfikacyjne()->New()},
        {13, Supports<ISpolka>(spolka)->GetWspolnicy()->New()},
        {14, spolka},
        {15, p->GetSpolkiPodmiotu()->New()},
        {16, p->GetRachunkiBankowe()->New()},
        {17, p->GetDaneZamawiajacych()->New()},
        {19, p->GetReprezentanci()->New()},
        {20, reg->GetBiuraRachunkowe({})->New()},
        {21, TIntfPtr<IEwidarRecord>(p)},
    };
}

} // namespace

using RecordsTest = BackendTest;

TEST_F(RecordsTest, EveryKindHasAFieldForEverySymbolOfItsKind) {
    for (const auto& [position, record] : OneOfEachKind(m_db.get())) {
        SCOPED_TRACE(position);
        ASSERT_TRUE(record);
        EXPECT_EQ(EwidarKinds::KindPosition(record.get()), position);
        auto fields = record->GetDataFields();
        const TInternalFieldRecordList& expected = FieldsOfKind(position);
        ASSERT_EQ(fields->GetCount(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(Q(fields->GetSymbol(i)), expected[i].Symbol);
            auto f = fields->GetDataField(U(expected[i].Symbol));
            ASSERT_TRUE(f);
            EXPECT_EQ(Q(f->GetCaption()), expected[i].Description);
            EXPECT_EQ(Q(f->GetFieldType()), FieldTypeToText(expected[i].FieldType));
            EXPECT_TRUE(f->GetValue().empty());
        }
        EXPECT_FALSE(fields->GetDataField(u""));
        EXPECT_TRUE(Q(fields->GetSymbol(-1)).isEmpty());
        EXPECT_TRUE(Q(fields->GetSymbol(fields->GetCount())).isEmpty());
        // One description line per column of the kind's list.
        const int columns = position == 1 ? 1 : (position == 2 || position == 21 ? 3 : 2);
        EXPECT_EQ(Lines(record.get()).size(), columns);
    }
}

TEST_F(RecordsTest, ValuesCaptionsAndKindsAreStoredAsWritten) {
    const QString tricky =
        QStringLiteral("O'Brien \"Ząb\" 100% _x_ \\ ; DROP TABLE ew_record; -- Łódź\r\nżółć");
    const QString huge(1 << 20, QChar(u'ś'));
    auto p = Reg()->GetPodatnicy({})->New();
    SetValue(p.get(), cDanePodmiotuNazwisko.Symbol, tricky);
    SetValue(p.get(), cUwagi.Symbol, huge);
    auto f = p->GetDataFields()->GetDataField(U(cDanePodmiotuOpis.Symbol));
    f->SetCaption(u"Mój opis:");
    f->SetFieldType(u"ctMemo");
    f->SetValue(u"opis");
    auto own = p->GetDataFields()->GetDataField(u"cPoleUzytkownika1");
    ASSERT_TRUE(own);
    own->SetValue(u"wartość własna");
    own->SetCaption(u"Pole własne:");
    own->SetFieldType(u"ctEdit");
    ASSERT_TRUE(p->Post()) << p->GetLastErrorCode();

    auto db2 = Open();
    auto again = db2->GetRegistries()->GetPodatnicy({})->GetItem(0);
    ASSERT_TRUE(again);
    EXPECT_EQ(Value(again.get(), cDanePodmiotuNazwisko.Symbol), tricky);
    EXPECT_EQ(Value(again.get(), cUwagi.Symbol), huge);
    auto f2 = again->GetDataFields()->GetDataField(U(cDanePodmiotuOpis.Symbol));
    EXPECT_EQ(f2->GetCaption(), u"Mój opis:");
    EXPECT_EQ(f2->GetFieldType(), u"ctMemo");
    auto fields = again->GetDataFields();
    EXPECT_EQ(fields->GetCount(), FieldsOfKind(21).size() + 1);
    EXPECT_EQ(fields->GetSymbol(fields->GetCount() - 1), u"cPoleUzytkownika1");
    auto own2 = fields->GetDataField(u"cPoleUzytkownika1");
    EXPECT_EQ(own2->GetValue(), u"wartość własna");
    EXPECT_EQ(own2->GetCaption(), u"Pole własne:");
    // Clearing a value removes it; an unknown symbol with nothing stored reads empty.
    own2->SetValue(u"");
    own2->SetCaption(u"");
    own2->SetFieldType(u"");
    ASSERT_TRUE(again->Post());
    EXPECT_EQ(
        RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_value WHERE symbol = 'cPoleUzytkownika1'"))
            .toInt(),
        0);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record")).toInt(), 1);
    db2->Disconnect();
}

TEST_F(RecordsTest, SectionRecordIsNewWithoutIdentifierUntilPosted) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"));
    auto a = Supports<IPodmiot>(p)->GetAdresy()->New();
    EXPECT_TRUE(a->IsNew());
    EXPECT_EQ(a->GetID(), 0);
    EXPECT_FALSE(a->Lock());
    EXPECT_EQ(a->GetLastErrorCode(), 104);
    EXPECT_FALSE(a->Delete());
    EXPECT_EQ(a->GetLastErrorCode(), 104);
    EXPECT_FALSE(a->Refresh());
    EXPECT_EQ(a->GetLastErrorCode(), 104);
    EXPECT_TRUE(a->Unlock()); // nothing to release
    SetValue(a.get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Gdańsk"));
    ASSERT_TRUE(a->Post());
    EXPECT_FALSE(a->IsNew());
    EXPECT_GT(a->GetID(), 0);
    EXPECT_EQ(a->GetLastErrorCode(), 0);
    EXPECT_EQ(Supports<IPodmiot>(p)->GetAdresy()->GetCount(), 1);
}

TEST_F(RecordsTest, SubjectIsAPlaceholderUntilPostedAndAbandoningItRemovesEverything) {
    auto p = Reg()->GetPodatnicy({})->New();
    EXPECT_TRUE(p->IsNew());
    EXPECT_NE(p->GetID(), 0);
    auto adresy = Supports<IPodmiot>(p)->GetAdresy();
    auto a = adresy->New();
    SetValue(a.get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Kraków"));
    ASSERT_TRUE(a->Post());
    EXPECT_EQ(adresy->GetCount(), 1);
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 0);
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), 0);
    // The record window deletes an abandoned new record.
    ASSERT_TRUE(p->Delete()) << p->GetLastErrorCode();
    EXPECT_FALSE(p->Delete());
    EXPECT_EQ(p->GetLastErrorCode(), 106);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record")).toInt(), 0);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_value")).toInt(), 0);

    auto q = Reg()->GetPodatnicy({})->New();
    SetValue(q.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zapisany"));
    ASSERT_TRUE(q->Post());
    EXPECT_FALSE(q->IsNew());
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 1);
    // A placeholder left when the connection closes is removed with it.
    auto left = Reg()->GetSpolki({})->New();
    ASSERT_NE(left->GetID(), 0);
    m_db->Disconnect();
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record")).toInt(), 1);
}

TEST_F(RecordsTest, RefreshRereadsAndReportsDeletedRecords) {
    auto p = NewPodatnik(m_db.get(), QStringLiteral("Ewa"), QStringLiteral("Stara"));
    auto db2 = Open();
    auto other = db2->GetRegistries()->GetPodatnicy({})->GetItem(0);
    SetValue(other.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowa"));
    ASSERT_TRUE(other->Post());
    SetValue(p.get(), cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("porzucona zmiana"));
    ASSERT_TRUE(p->Refresh());
    EXPECT_EQ(Value(p.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Nowa"));
    EXPECT_EQ(Value(p.get(), cDanePodmiotuPierwszeImie.Symbol), QStringLiteral("Ewa"));
    ASSERT_TRUE(other->Delete());
    EXPECT_FALSE(p->Refresh());
    EXPECT_EQ(p->GetLastErrorCode(), 106);
    EXPECT_FALSE(p->Post());
    EXPECT_EQ(p->GetLastErrorCode(), 106);
    EXPECT_FALSE(p->Lock());
    EXPECT_EQ(p->GetLastErrorCode(), 106);
    db2->Disconnect();
}

TEST_F(RecordsTest, DescriptionLinesFollowTheListColumns) {
    auto p =
        NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"), QStringLiteral("Łódź"));
    SetValue(p.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("5260250274"));
    ASSERT_TRUE(p->Post());
    EXPECT_EQ(Lines(p.get()), QStringList({"Jan Kowalski", "5260250274", "Łódź"}));
    // A legal person is described by its company name, a description wins over both.
    SetValue(p.get(), cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol, QStringLiteral("1"));
    SetValue(p.get(), cDanePodmiotuNazwaFirmy.Symbol, QStringLiteral("Kowalski, \"Syn\" i S-ka"));
    EXPECT_EQ(Lines(p.get()).value(0), QStringLiteral("Kowalski, \"Syn\" i S-ka"));
    EXPECT_EQ(Q(p->GetRecordInfo()->GetSummary()),
              QStringLiteral("\"Kowalski, \"\"Syn\"\" i S-ka\",5260250274,Łódź"));
    SetValue(p.get(), cDanePodmiotuOpis.Symbol, QStringLiteral("Klient VIP"));
    EXPECT_EQ(Lines(p.get()).value(0), QStringLiteral("Klient VIP"));

    auto doc = Supports<IPodmiot>(p)->GetDokumentyTozsamosci()->New();
    SetValue(doc.get(), cDaneDokumentuTozsamosciRodzaj.Symbol, QStringLiteral("Dowod"));
    SetValue(doc.get(), cDaneDokumentuTozsamosciSeria.Symbol, QStringLiteral("ABC"));
    SetValue(doc.get(), cDaneDokumentuTozsamosciNumer.Symbol, QStringLiteral("123456"));
    EXPECT_EQ(Lines(doc.get()), QStringList({"dowód osobisty", "ABC", "123456"}));
    auto a = Supports<IPodmiot>(p)->GetAdresy()->New();
    SetValue(a.get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Łódź"));
    SetValue(a.get(), cDaneAdresoweUlica.Symbol, QStringLiteral("Piotrkowska"));
    SetValue(a.get(), cDaneAdresoweNrDomu.Symbol, QStringLiteral("12"));
    SetValue(a.get(), cDaneAdresoweNrLokalu.Symbol, QStringLiteral("3"));
    EXPECT_EQ(Lines(a.get()), QStringList({"Łódź", "Piotrkowska 12/3"}));
    auto nfz = Reg()->GetDaneNFZow({})->New();
    SetValue(nfz.get(), cDaneNFZKod.Symbol, QStringLiteral("07"));
    SetValue(nfz.get(), cDaneNFZNazwa.Symbol, QStringLiteral("Mazowiecki OW NFZ"));
    EXPECT_EQ(Lines(nfz.get()), QStringList({"07", "Mazowiecki OW NFZ"}));
    auto biuro = Reg()->GetBiuraRachunkowe({})->New();
    SetValue(biuro.get(), cBiuroRachunkoweImie.Symbol, QStringLiteral("Maria"));
    SetValue(biuro.get(), cBiuroRachunkoweNazwisko.Symbol, QStringLiteral("Księgowa"));
    EXPECT_EQ(Lines(biuro.get()), QStringList({"Maria Księgowa", ""}));
    EXPECT_EQ(Q(biuro->GetRecordInfo()->GetSummary()), QStringLiteral("\"Maria Księgowa\",\"\""));
    EXPECT_EQ(Lines(Supports<IPodmiot>(p)->GetObywatelstwa()->New().get()).size(), 1);
}

TEST_F(RecordsTest, SubjectListShowsTheCityOfItsFirstAddressAfterItChanges) {
    auto p =
        NewPodatnik(m_db.get(), QStringLiteral("Ola"), QStringLiteral("Mobilna"), QStringLiteral("Opole"));
    auto list = Reg()->GetPodatnicy({});
    EXPECT_EQ(ListLines(list.get(), 2), QStringList({"Opole"}));
    auto a = Supports<IPodmiot>(p)->GetAdresy()->GetItem(0);
    SetValue(a.get(), cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Olsztyn"));
    ASSERT_TRUE(a->Post());
    EXPECT_EQ(ListLines(list.get(), 2), QStringList({"Olsztyn"}));
    ASSERT_TRUE(a->Delete());
    EXPECT_EQ(ListLines(list.get(), 2), QStringList({""}));
}
