#include "RichData.h"

#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <vector>

static TIntfPtr<IEwidarRecord> Section(IEwidarSectionCollection* L, const QString& Symbol, const QString& V) {
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
static TIntfPtr<IEwidarRecord> RichTaxpayer(IEwidarDataBase* Db, int I, IEwidarRecord* Previous,
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

static QString Key(IEwidarRecord* R, bool Full = false) {
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

static void Link(QStringList& Out, IEwidarRecord* From, const char* Role, IEwidarRecord* To) {
    if (To)
        Out << QStringLiteral("L %1 %2 %3").arg(Key(From), QLatin1String(Role), Key(To));
}

static void Describe(QStringList& Out, IEwidarRecord* R, const QString& Owner) {
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

