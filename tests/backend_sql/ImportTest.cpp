// Import of another database: everything the source holds arrives with its links
// and descriptions; a cancel or a failure leaves the target as it was.

#include "BackendFixture.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <QFile>

#include <vector>

namespace {

TIntfPtr<IEwidarRecord> Section(IEwidarSectionCollection* L, const QString& Symbol, const QString& V) {
    auto r = L->New();
    SetValue(r.get(), Symbol, V);
    return r;
}

void Post(IEwidarRecord* R) {
    EXPECT_TRUE(R->Post()) << R->GetLastErrorCode();
}

void Define(IEwidarDataBase* Db, int Kind, const QString& Symbol, const QString& Description) {
    auto d = Db->GetDynamicFieldsProvider(0)->GetDynamicFields(Kind)->AddField();
    d->SetSymbol(U(Symbol));
    d->SetDescription(U(Description));
    d->SetFieldType(u"ctEdit");
    EXPECT_TRUE(d->PostDefinition()) << d->GetLastErrorCode();
}

// One taxpayer with a section of every kind a subject owns and every link a subject has.
TIntfPtr<IEwidarRecord> RichTaxpayer(IEwidarDataBase* Db, int I, IEwidarRecord* Previous,
                                     const std::vector<TIntfPtr<IEwidarRecord>>& Refs) {
    auto reg = Db->GetRegistries();
    const QString n = QString::number(I);
    auto t = NewPodatnik(Db, QStringLiteral("Imię%1").arg(I), QStringLiteral("Nazwisko%1").arg(I),
                         QStringLiteral("Miasto%1").arg(I));
    auto p = Supports<IPodmiot>(t);
    SetValue(t.get(), QStringLiteral("cKolor"), QStringLiteral("kolor ") + n);
    Post(Section(p->GetAdresyDzialalnosci().get(), cDaneAdresoweDzialanosciMiejscowosc.Symbol,
                 QStringLiteral("Firma") + n)
             .get());
    Post(Section(p->GetOddzialy().get(), cDaneOddzialuNazwa.Symbol, QStringLiteral("Oddział") + n).get());
    Post(Section(p->GetRodzajeDzialalnosci().get(), cRodzajDzialalnosciKodPKD.Symbol,
                 QStringLiteral("62.01.Z"))
             .get());
    auto pkd = Section(p->GetRodzajeDzialalnosci().get(), cRodzajDzialalnosciKodPKD.Symbol,
                       QStringLiteral("69.20.Z/") + n);
    Post(pkd.get());
    Post(Section(p->GetObywatelstwa().get(), cObywatelstwo.Symbol, QStringLiteral("polskie ") + n).get());
    Post(Section(p->GetDokumentyTozsamosci().get(), cDaneDokumentuTozsamosciNumer.Symbol,
                 QStringLiteral("ABC") + n)
             .get());
    auto share = p->GetSpolkiPodmiotu()->New();
    SetValue(share.get(), cSpolkaPodmiotuUdzial.Symbol, QStringLiteral("1/%1").arg(I + 2));
    Supports<ISpolkaPodmiotu>(share)->SetSpolka(Refs[6].get());
    Post(share.get());
    auto account = p->GetRachunkiBankowe()->New();
    SetValue(account.get(), cDaneRachunkuNrRachunku.Symbol,
             QStringLiteral("PL61 1090 1014 0000 0712 1981 %1").arg(I, 4, 10, QLatin1Char('0')));
    Supports<IRachunekBankowy>(account)->SetDaneBanku(Refs[4].get());
    Post(account.get());
    NewPosted(p->GetDaneZamawiajacych().get(), cDaneZamawiajacegoNazwisko.Symbol, QStringLiteral("Zam") + n);
    if (Previous) {
        auto rep = p->GetReprezentanci()->New();
        SetValue(rep.get(), cDaneReprezentantaRodzajReprezentanta.Symbol, QStringLiteral("1"));
        Supports<IReprezentant>(rep)->SetPodmiot(Previous);
        Post(rep.get());
    }
    p->SetRodzajPrzewazajacejDzialalnosci(pkd.get());
    p->SetDaneZUS(Refs[0].get());
    p->SetUrzadStatystyczny(Refs[1].get());
    p->SetDaneNFZ(Refs[2].get());
    p->SetSadRejonowy(Refs[3].get());
    p->SetBiuroRachunkowe(Refs[5].get());
    Post(t.get());
    auto worker = reg->GetPracownicy({})->NewForPodatnik(t.get());
    SetValue(worker.get(), cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pracownik") + n);
    Supports<IPracownik>(worker)->SetAktywny(I % 2 == 0);
    Post(worker.get());
    auto contractor = reg->GetKontrahenci({})->NewForPodatnik(t.get());
    SetValue(contractor.get(), cDanePodmiotuNazwaFirmy.Symbol, QStringLiteral("Kontrahent") + n);
    Post(contractor.get());
    if (Previous) // a taxpayer that is also an employee of the next one
        Supports<IPodatnik>(t)->GetPracownicy(0, 0)->AddExisting(Previous);
    return t;
}

// A source with a record of every kind the program can create, links, people,
// user-defined fields with values and word lists.
void FillRichSource(IEwidarDataBase* Db, int Taxpayers) {
    auto reg = Db->GetRegistries();
    ASSERT_TRUE(reg->GetDaneNFZow({})->FillDefaults());
    std::vector<TIntfPtr<IEwidarRecord>> refs = {
        NewPosted(reg->GetDaneZUSow({}).get(), cDaneZUSNazwa.Symbol, QStringLiteral("ZUS I Oddział")),
        NewPosted(reg->GetUrzedyStatystyczne({}).get(), cDaneUrzeduStatystycznegoNazwa.Symbol,
                  QStringLiteral("US Kraków")),
        Supports<IEwidarListCollection>(reg->GetDaneNFZow({}))->GetItem(3),
        NewPosted(reg->GetSadyRejonowe({}).get(), cDaneSaduRejonowegoNazwa.Symbol,
                  QStringLiteral("SR Kraków")),
        NewPosted(reg->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, QStringLiteral("Bank Śląski")),
        NewPosted(reg->GetBiuraRachunkowe({}).get(), cBiuroRachunkoweNazwa.Symbol,
                  QStringLiteral("Biuro \"Ala\"")),
        NewPosted(reg->GetSpolki({}).get(), cDaneSpolkiNazwa.Symbol, QStringLiteral("Spółka Jawna")),
    };
    NewPosted(Supports<ISpolka>(refs[6])->GetWspolnicy().get(), cDaneWspolnikaNazwisko.Symbol,
              QStringLiteral("Wspólnik"));
    Define(Db, 21, QStringLiteral("cKolor"), QStringLiteral("Kolor teczki"));
    Define(Db, 3, QStringLiteral("cPietro"), QStringLiteral("Piętro"));
    TIntfPtr<IEwidarRecord> previous;
    for (int i = 0; i < Taxpayers; ++i)
        previous = RichTaxpayer(Db, i, previous.get(), refs);
    // A value of a field whose definition is gone, with a word list of its own.
    SetValue(previous.get(), QStringLiteral("cUsunietyKiedys"), QStringLiteral("stara wartość"));
    Post(previous.get());
    auto slownik = Db->GetSlownikProvider(0)->GetSlownik(21);
    for (const char16_t* w : {u"pilne", u"VIP", u"stały klient"})
        slownik->GetWordList(U(cUwagi.Symbol))->AddWord(w);
    slownik->GetWordList(u"cKolor")->AddWord(u"zielony");
    slownik->GetWordList(u"cUsunietyKiedys")->AddWord(u"znaleziony po wartości");
    ASSERT_TRUE(slownik->Post());
}

QString Key(IEwidarRecord* R, bool Full = false) {
    QStringList parts;
    auto f = R->GetDataFields();
    for (int i = 0; i < f->GetCount(); ++i) {
        auto d = f->GetDataField(f->GetSymbol(i));
        if (!d->GetValue().empty())
            parts << Q(f->GetSymbol(i)) + u'=' + Q(d->GetValue()) +
                         (Full ? u'|' + Q(d->GetCaption()) + u'|' + Q(d->GetFieldType()) : QString());
    }
    parts.sort();
    return QString::number(EwidarKinds::KindPosition(R)) + u'{' + parts.join(u';') + u'}';
}

void Link(QStringList& Out, IEwidarRecord* From, const char* Role, IEwidarRecord* To) {
    if (To)
        Out << QStringLiteral("L %1 %2 %3").arg(Key(From), QLatin1String(Role), Key(To));
}

void Describe(QStringList& Out, IEwidarRecord* R, const QString& Owner) {
    Out << QStringLiteral("R %1 > %2 | %3").arg(Owner, Key(R, true), Lines(R).join(u'/'));
    if (auto p = Supports<IPodmiot>(R)) {
        Link(Out, R, "pkd", p->GetRodzajPrzewazajacejDzialalnosci().get());
        Link(Out, R, "zus", p->GetDaneZUS().get());
        Link(Out, R, "us", p->GetUrzadStatystyczny().get());
        Link(Out, R, "nfz", p->GetDaneNFZ().get());
        Link(Out, R, "sad", p->GetSadRejonowy().get());
        Link(Out, R, "biuro", p->GetBiuroRachunkowe().get());
        for (auto l : std::vector<TIntfPtr<IEwidarCollection>>{
                 p->GetAdresy(), p->GetAdresyDzialalnosci(), p->GetOddzialy(), p->GetRodzajeDzialalnosci(),
                 p->GetSpolkiPodmiotu(), p->GetObywatelstwa(), p->GetDokumentyTozsamosci(),
                 p->GetNrIdentyfikacyjne(), p->GetRachunkiBankowe(), p->GetDaneZamawiajacych(),
                 p->GetReprezentanci()})
            for (int i = 0; i < l->GetCount(); ++i)
                Describe(Out, EwidarKinds::CollectionGetItem(l.get(), i).get(), Key(R));
    }
    if (auto s = Supports<ISpolka>(R))
        for (int i = 0; i < s->GetWspolnicy()->GetCount(); ++i)
            Describe(Out, s->GetWspolnicy()->GetItem(i).get(), Key(R));
    if (auto s = Supports<ISpolkaPodmiotu>(R))
        Link(Out, R, "spolka", s->GetSpolka().get());
    if (auto a = Supports<IRachunekBankowy>(R))
        Link(Out, R, "bank", a->GetDaneBanku().get());
    if (auto a = Supports<IReprezentant>(R))
        Link(Out, R, "osoba", a->GetPodmiot().get());
}

// Everything a database holds, as sorted lines that name records by their values.
QStringList Snapshot(IEwidarDataBase* Db) {
    QStringList out;
    auto reg = Db->GetRegistries();
    for (auto l : std::vector<TIntfPtr<IEwidarCollection>>{
             reg->GetDaneZUSow({}), reg->GetUrzedyStatystyczne({}), reg->GetDaneNFZow({}),
             reg->GetSadyRejonowe({}), reg->GetDaneBankow({}), reg->GetBiuraRachunkowe({}),
             reg->GetSpolki({}), reg->GetPodmioty({})})
        for (int i = 0; i < l->GetCount(); ++i)
            Describe(out, EwidarKinds::CollectionGetItem(l.get(), i).get(), QString());
    const std::pair<const char*, TIntfPtr<IEwidarCollection>> registries[] = {
        {"podatnik", reg->GetPodatnicy({})},
        {"pracownik", reg->GetPracownicy({})},
        {"kontrahent", reg->GetKontrahenci({})}};
    for (const auto& [name, l] : registries)
        for (int i = 0; i < l->GetCount(); ++i)
            out << QStringLiteral("F %1 %2").arg(QLatin1String(name),
                                                 Key(EwidarKinds::CollectionGetItem(l.get(), i).get()));
    auto taxpayers = reg->GetPodatnicy({});
    for (int i = 0; i < taxpayers->GetCount(); ++i) {
        auto t = Supports<IPodatnik>(taxpayers->GetItem(i));
        for (auto people :
             std::vector<TIntfPtr<IEwidarPeopleCollection>>{t->GetPracownicy(0, 0), t->GetKontrahenci(0, 0)})
            for (int j = 0; j < people->GetCount(); ++j) {
                auto person = people->GetItem(j);
                const bool active = Supports<IPracownik>(person)
                                        ? Supports<IPracownik>(person)->GetAktywny()
                                        : Supports<IKontrahent>(person)->GetAktywny();
                out << QStringLiteral("P %1 %2 %3").arg(Key(t.get()), Key(person.get())).arg(active);
            }
    }
    for (int kind = 1; kind <= 21; ++kind) {
        auto defs = Db->GetDynamicFieldsProvider(0)->GetDynamicFields(kind);
        for (int i = 0; i < defs->GetCount(); ++i)
            out << QStringLiteral("D %1 %2 %3")
                       .arg(kind)
                       .arg(Q(defs->GetItem(i)->GetSymbol()), Q(defs->GetItem(i)->GetDescription()));
        auto slownik = Db->GetSlownikProvider(0)->GetSlownik(kind);
        for (const QString& symbol :
             {cUwagi.Symbol, QStringLiteral("cKolor"), QStringLiteral("cUsunietyKiedys")}) {
            auto words = slownik->GetWordList(U(symbol));
            for (int i = 0; i < words->GetCount(); ++i)
                out << QStringLiteral("W %1 %2 %3").arg(kind).arg(symbol, Q(words->GetWord(i)));
        }
    }
    out.sort();
    return out;
}

struct TProgressLog {
    std::vector<int> seen;
    int cancelAt = 101;
    std::function<void()> atCancel;
    TProgressEvent Handler() {
        return [this](int32_t p, bool& cancel) {
            seen.push_back(p);
            if (p >= cancelAt) {
                if (atCancel)
                    atCancel();
                else
                    cancel = true;
            }
        };
    }
};

class ImportTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        m_source = Open(AnotherDataBase());
        ASSERT_TRUE(m_source);
    }
    void TearDown() override {
        if (m_source)
            m_source->Disconnect();
        BackendTest::TearDown();
    }
    int Records() { return RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_record")).toInt(); }

    TIntfPtr<IEwidarDataBase> m_source;
};

} // namespace

TEST_F(ImportTest, CopiesEveryRecordLinkPersonDefinitionAndWordList) {
    FillRichSource(m_source.get(), 4);
    const QStringList expected = Snapshot(m_source.get());
    ASSERT_GT(expected.size(), 100);
    TProgressLog log;
    m_db->SetOnProgress(log.Handler());
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(m_db->GetLastErrorCode(), 0);
    const QStringList copied = Snapshot(m_db.get());
    EXPECT_EQ(copied, expected);
    for (qsizetype i = 0; i < std::min(copied.size(), expected.size()); ++i)
        if (copied[i] != expected[i]) {
            ADD_FAILURE() << "first difference:\n"
                          << copied[i].toStdString() << "\n"
                          << expected[i].toStdString();
            break;
        }
    // Progress from 0 to 100, each value once, always growing.
    ASSERT_FALSE(log.seen.empty());
    EXPECT_EQ(log.seen.front(), 0);
    EXPECT_EQ(log.seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(log.seen.begin(), log.seen.end()));
    EXPECT_EQ(std::adjacent_find(log.seen.begin(), log.seen.end()), log.seen.end());
    // Copies have identifiers of their own and the source is untouched.
    EXPECT_EQ(Snapshot(m_source.get()), expected);
}

TEST_F(ImportTest, ImportingIntoAFilledDatabaseAddsAndMergesDefinitionsAndWords) {
    FillRichSource(m_source.get(), 1);
    NewPodatnik(m_db.get(), QStringLiteral("Własny"), QStringLiteral("Podatnik"));
    Define(m_db.get(), 21, QStringLiteral("CKOLOR"), QStringLiteral("Kolor wg celu"));
    auto slownik = m_db->GetSlownikProvider(0)->GetSlownik(21);
    slownik->GetWordList(U(cUwagi.Symbol))->AddWord(u"VIP");
    slownik->GetWordList(U(cUwagi.Symbol))->AddWord(u"własne");
    ASSERT_TRUE(slownik->Post());
    const int sourceSubjects = m_source->GetRegistries()->GetPodmioty({})->GetCount();
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), sourceSubjects + 1);
    EXPECT_EQ(Reg()->GetDaneNFZow({})->GetCount(), 16);
    auto defs = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(21);
    ASSERT_EQ(defs->GetCount(), 1); // the target's own definition of the symbol stays
    EXPECT_EQ(Q(defs->GetItem(0)->GetDescription()), QStringLiteral("Kolor wg celu"));
    EXPECT_EQ(m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(3)->GetCount(), 1);
    auto words = m_db->GetSlownikProvider(0)->GetSlownik(21)->GetWordList(U(cUwagi.Symbol));
    QStringList list;
    for (int i = 0; i < words->GetCount(); ++i)
        list << Q(words->GetWord(i));
    EXPECT_EQ(list, (QStringList{QStringLiteral("VIP"), QStringLiteral("własne"), QStringLiteral("pilne"),
                                 QStringLiteral("stały klient")}));
    // A second import adds the copies once more: records are copied, never matched.
    ASSERT_TRUE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), 2 * sourceSubjects + 1);
}

TEST_F(ImportTest, CancelAtHalfLeavesTheTargetAsItWas) {
    for (int i = 0; i < 60; ++i)
        NewPodatnik(m_source.get(), QStringLiteral("Imię%1").arg(i), QStringLiteral("Nazwisko%1").arg(i),
                    QStringLiteral("Gniezno"));
    Define(m_source.get(), 21, QStringLiteral("cKolor"), QStringLiteral("Kolor"));
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const QStringList before = Snapshot(m_db.get());
    const int records = Records();
    TProgressLog log;
    log.cancelAt = 50;
    m_db->SetOnProgress(log.Handler());
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 204);
    ASSERT_FALSE(log.seen.empty());
    EXPECT_GE(log.seen.back(), 50);
    EXPECT_LT(log.seen.back(), 60); // stopped at once
    EXPECT_EQ(Snapshot(m_db.get()), before);
    EXPECT_EQ(Records(), records);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT count(*) FROM ew_field")).toInt(), 0);
    // The write lock is gone: another desk writes at once, and a later import succeeds.
    auto other = Open();
    EXPECT_TRUE(NewPodatnik(other.get(), QStringLiteral("Inne"), QStringLiteral("Stanowisko")));
    other->Disconnect();
    m_db->SetOnProgress(nullptr);
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(Reg()->GetPodatnicy({})->GetCount(), 62);
}

TEST_F(ImportTest, AFailingSourceGivesCode203AndLeavesTheTargetAsItWas) {
    for (int i = 0; i < 30; ++i)
        NewPodatnik(m_source.get(), QStringLiteral("Imię%1").arg(i), QStringLiteral("Nazwisko%1").arg(i));
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const QStringList before = Snapshot(m_db.get());
    TProgressLog log;
    log.cancelAt = 50;
    log.atCancel = [this] {
        m_source->Disconnect();
    }; // the source goes away half-way
    m_db->SetOnProgress(log.Handler());
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    std::u16string text, link;
    ASSERT_TRUE(Backend().GetLastError(203, m_db->GetDataBaseID(), text, link));
    EXPECT_TRUE(Q(text).contains(QStringLiteral("kod 103"))) << Q(text).toStdString();
    EXPECT_EQ(Snapshot(m_db.get()), before);
    // A handler that throws is a failure too.
    m_source = Open(AnotherDataBase());
    m_db->SetOnProgress([](int32_t, bool&) { throw std::runtime_error("handler"); });
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    EXPECT_EQ(Snapshot(m_db.get()), before);
}

TEST_F(ImportTest, RefusesItselfNoSourceAndAnOpenTransaction) {
    NewPodatnik(m_source.get(), QStringLiteral("A"), QStringLiteral("B"));
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const int records = Records();
    auto same = Open(); // the same file through another connection
    EXPECT_FALSE(m_db->ImportFrom(same.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    same->Disconnect();
    EXPECT_FALSE(m_db->ImportFrom(m_db.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    EXPECT_FALSE(m_db->ImportFrom(nullptr));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    auto unconnected = NewRoot();
    EXPECT_FALSE(m_db->ImportFrom(unconnected.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    ASSERT_TRUE(m_db->StartTransaction());
    NewPodatnik(m_db.get(), QStringLiteral("W"), QStringLiteral("Transakcji"));
    EXPECT_FALSE(m_db->ImportFrom(m_source.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 203);
    ASSERT_TRUE(m_db->Commit()); // the open transaction was left alone
    EXPECT_EQ(Records(), records + 1);
}

TEST_F(ImportTest, AnEmptySourceImportsNothingAndReportsItsProgress) {
    NewPodatnik(m_db.get(), QStringLiteral("Już"), QStringLiteral("Był"));
    const QStringList before = Snapshot(m_db.get());
    TProgressLog log;
    m_db->SetOnProgress(log.Handler());
    ASSERT_TRUE(m_db->ImportFrom(m_source.get())) << m_db->GetLastErrorCode();
    EXPECT_EQ(log.seen, (std::vector<int>{0, 90, 100}));
    EXPECT_EQ(Snapshot(m_db.get()), before);
}
