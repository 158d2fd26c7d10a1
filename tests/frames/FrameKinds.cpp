#include "FrameKinds.h"

#include "uBaseFrame.h"
#include "uEwidarKinds.h"
#include "uEwidarRecordForm.h"

#include <QVBoxLayout>

namespace {

using TPanels = QList<QPair<const char*, QString>>;

template <class T> TIntfPtr<IEwidarCollection> Col(const TIntfPtr<T>& C) {
    return TIntfPtr<IEwidarCollection>(C.get());
}

// The eleven address panels of a symbol prefix.
TPanels Address(const QString& Prefix) {
    static const std::pair<const char*, const char*> parts[] = {
        {"pnlKraj", "Kraj"},           {"pnlWojewodztwo", "Wojewodztwo"},
        {"pnlPowiat", "Powiat"},       {"pnlGmina", "Gmina"},
        {"pnlDzielnica", "Dzielnica"}, {"pnlMiejscowosc", "Miejscowosc"},
        {"pnlUlica", "Ulica"},         {"pnlNrDomu", "NrDomu"},
        {"pnlNrLokalu", "NrLokalu"},   {"pnlKodPocztowy", "KodPocztowy"},
        {"pnlPoczta", "Poczta"}};
    TPanels panels;
    for (const auto& [name, part] : parts)
        panels.append({name, Prefix + QLatin1String(part)});
    return panels;
}

} // namespace

const QList<TFrameKind>& FrameKinds() {
    static const QList<TFrameKind> kinds = {
        {"TDaneObywatelstwaFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetObywatelstwa()); },
         {{"pnlObywatelstwo", "cObywatelstwo"}}},
        {"TDaneDokumentuTozsamosciFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetDokumentyTozsamosci()); },
         {{"pnlRodzaj", "cDaneDokumentuTozsamosciRodzaj"},
          {"pnlRodzajInny", "cDaneDokumentuTozsamosciRodzajInny"},
          {"pnlKraj", "cDaneDokumentuTozsamosciKraj"},
          {"pnlKodKraju", "cDaneDokumentuTozsamosciKodKraju"},
          {"pnlSeria", "cDaneDokumentuTozsamosciSeria"},
          {"pnlNumer", "cDaneDokumentuTozsamosciNumer"}}},
        {"TDaneAdresoweFrame", kPodatnik, [](const TKindOwners& O) { return Col(O.Podmiot->GetAdresy()); },
         (TPanels{{"pnlTypAdresu", "cDaneAdresoweTypAdresu"},
                  {"pnlBrakAdresuZameldowania", "cDaneAdresoweBrakAdresuZameldowania"}} +
          Address("cDaneAdresowe") + TPanels{{"pnlSkrytkaPocztowa", "cDaneAdresoweSkrytkaPocztowa"}})},
        {"TDaneAdresoweDzialanosciFrame", kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetAdresyDzialalnosci()); },
         (TPanels{{"pnlTypAdresu", "cDaneAdresoweDzialanosciTypAdresu"},
                  {"pnlAdresDzialalnosciTakiSamJakZamieszkania",
                   "cDaneAdresoweDzialanosciAdresDzialalnosciTakiSamJakZamieszkania"},
                  {"pnlAdresDoreczeiTakiSamJakZamieszkania",
                   "cDaneAdresoweDzialanosciAdresDoreczeiTakiSamJakZamieszkania"}} +
          Address("cDaneAdresoweDzialanosci") +
          TPanels{{"pnlAdresOpisowy", "cDaneAdresoweDzialanosciAdresOpisowy"}})},
        {"TOddzialFrame", kPodatnik, [](const TKindOwners& O) { return Col(O.Podmiot->GetOddzialy()); },
         (TPanels{{"pnlNazwa", "cDaneOddzialuNazwa"}, {"pnlREGON", "cDaneOddzialuREGON"}} +
          Address("cDaneOddzialu") + TPanels{{"pnlSkrytkaPocztowa", "cDaneOddzialuSkrytkaPocztowa"}})},
        {"TRodzajDzialalnosciFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetRodzajeDzialalnosci()); },
         {{"pnlKodPKD", "cRodzajDzialalnosciKodPKD"}, {"pnlOpisPKD", "cRodzajDzialalnosciOpisPKD"}}},
        {"TDaneZUSFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Registries->GetDaneZUSow({})); },
         {{"pnlNazwa", "cDaneZUSNazwa"},
          {"pnlAdres", "cDaneZUSAdres"},
          {"pnlNazwa1", "cDaneZUSNazwaRachunku1"},
          {"pnlNumer1", "cDaneZUSNumerRachunku1"},
          {"pnlNazwa2", "cDaneZUSNazwaRachunku2"},
          {"pnlNumer2", "cDaneZUSNumerRachunku2"},
          {"pnlNazwa3", "cDaneZUSNazwaRachunku3"},
          {"pnlNumer3", "cDaneZUSNumerRachunku3"},
          {"pnlNazwa4", "cDaneZUSNazwaRachunku4"},
          {"pnlNumer4", "cDaneZUSNumerRachunku4"}}},
        {"TDaneUrzeduStatystycznegoFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Registries->GetUrzedyStatystyczne({})); },
         {{"pnlNazwa", "cDaneUrzeduStatystycznegoNazwa"}, {"pnlAdres", "cDaneUrzeduStatystycznegoAdres"}}},
        {"TDaneNFZFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Registries->GetDaneNFZow({})); },
         {{"pnlKod", "cDaneNFZKod"}, {"pnlNazwa", "cDaneNFZNazwa"}}},
        {"TDaneSaduRejonowegoFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Registries->GetSadyRejonowe({})); },
         {{"pnlNazwa", "cDaneSaduRejonowegoNazwa"}, {"pnlAdres", "cDaneSaduRejonowegoAdres"}}},
        {"TDaneBankuFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Registries->GetDaneBankow({})); },
         {{"pnlNazwa", "cDaneBankuNazwa"}, {"pnlAdres", "cDaneBankuAdres"}, {"pnlKraj", "cDaneBankuKraj"}}},
        {"TDaneNumerowIdentyfikacyjnychFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetNrIdentyfikacyjne()); },
         {{"pnlTyp", "cDaneNumeruIdentyfikacyjnegoTyp"},
          {"pnlNumer", "cDaneNumeruIdentyfikacyjnegoNumer"},
          {"pnlKraj", "cDaneNumeruIdentyfikacyjnegoKraj"},
          {"pnlKodKraju", "cDaneNumeruIdentyfikacyjnegoKodKraju"}}},
        {"TDaneWspolnikaFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Spolka->GetWspolnicy()); },
         {{"pnlImie", "cDaneWspolnikaImie"}, {"pnlNazwisko", "cDaneWspolnikaNazwisko"}}},
        {"TDaneSpolkiFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Registries->GetSpolki({})); },
         {{"pnlNazwa", "cDaneSpolkiNazwa"},
          {"pnlKrajNadaniaNumeru", "cDaneSpolkiKodKraju"},
          {"pnlNIP", "cDaneSpolkiNIP"},
          {"pnlRegon", "cDaneSpolkiREGON"},
          {"pnlMiejsceProwadzenia", "cDaneSpolkiMiejsceProwadzenia"},
          {"pnlRodzaj", "cDaneSpolkiRodzaj"}}},
        {"TSpolkaPodmiotuFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetSpolkiPodmiotu()); },
         {{"pnlUdzial", "cSpolkaPodmiotuUdzial"}}},
        {"TDaneRachunkuFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetRachunkiBankowe()); },
         {{"pnlCharakterRachunku", "cDaneRachunkuCharakterRachunku"},
          {"pnlPosiadaczRachunku", "cDaneRachunkuPosiadaczRachunku"},
          {"pnlNrRachunku", "cDaneRachunkuNrRachunku"},
          {"pnlSWIFT", "cDaneRachunkuSWIFT"}}},
        {"TDaneZamawiajacego",
         kKontrahent,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetDaneZamawiajacych()); },
         {{"pnlImie", "cDaneZamawiajacegoImie"},
          {"pnlNazwisko", "cDaneZamawiajacegoNazwisko"},
          {"pnlDaneDodatkowe", "cDaneZamawiajacegoDaneDodatkowe"}}},
        {"TDaneReprezentantaFrame",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Podmiot->GetReprezentanci()); },
         {{"pnlRodzajReprezentanta", "cDaneReprezentantaRodzajReprezentanta"},
          {"pnlPosiadaUpowaznienie", "cDaneReprezentantaPosiadaUpowaznienie"}}},
        {"TBiuroRachunkoweFrames",
         kPodatnik,
         [](const TKindOwners& O) { return Col(O.Registries->GetBiuraRachunkowe({})); },
         {{"pnlKrajNadaniaNumeru", "cBiuroRachunkoweKodKrajuNadaniaNumeru"},
          {"pnlNIP", "cBiuroRachunkoweNIP"},
          {"pnlNazwa", "cBiuroRachunkoweNazwa"},
          {"pnlNazwisko", "cBiuroRachunkoweNazwisko"},
          {"pnlImie", "cBiuroRachunkoweImie"}}},
    };
    return kinds;
}

const TFrameKind& KindOf(const char* Frame) {
    for (const TFrameKind& kind : FrameKinds())
        if (qstrcmp(kind.Frame, Frame) == 0)
            return kind;
    throw std::logic_error(Frame);
}

void FramesTest::SetUp() {
    EditingTest::SetUp();
    m_registries = Reg();
    m_podatnik = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"));
    m_spolka = Supports<ISpolka>(NewPosted(m_registries->GetSpolki({}).get(), cDaneSpolkiNazwa.Symbol,
                                           QStringLiteral("Spółka Testowa")));
    ASSERT_TRUE(m_podatnik && m_spolka);
}

void FramesTest::TearDown() {
    m_host.reset();
    m_podatnik = nullptr;
    m_spolka = nullptr;
    m_registries = nullptr;
    if (m_second)
        m_second->Disconnect();
    m_second = nullptr;
    EditingTest::TearDown();
}

TIntfPtr<IEwidarRecord> FramesTest::NewRecord(const TFrameKind& Kind) {
    return EwidarKinds::CollectionNew(Kind.Collection(Owners()).get());
}

namespace {
TIntfPtr<IEwidarRecord> FindIn(IEwidarCollection* C, int32_t ID) {
    for (int32_t i = 0; C && i < C->GetCount(); ++i)
        if (auto r = EwidarKinds::CollectionGetItem(C, i); r && r->GetID() == ID)
            return r;
    return {};
}
} // namespace

TIntfPtr<IEwidarRecord> FramesTest::Reread(const TFrameKind& Kind, int32_t ID) {
    if (!m_second)
        m_second = Open();
    TIntfPtr<IEwidarRegistries> registries = m_second->GetRegistries();
    const TIntfPtr<IEwidarRecord> podatnik = FindIn(registries->GetPodatnicy({}).get(), m_podatnik->GetID());
    const TIntfPtr<IEwidarRecord> spolka = FindIn(registries->GetSpolki({}).get(), m_spolka->GetID());
    const TKindOwners owners{registries.get(), Supports<IPodmiot>(podatnik).get(),
                             Supports<ISpolka>(spolka).get()};
    return FindIn(Kind.Collection(owners).get(), ID);
}

TBaseFrame* FramesTest::Host(const TIntfPtr<IEwidarRecord>& Record, TKontekst Kontekst) {
    m_host = std::make_unique<TForm>();
    auto* layout = new QVBoxLayout(m_host.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    TBaseFrame* frame = CreateRecordFrame(Record.get(), m_host.get());
    if (!frame)
        return nullptr;
    layout->addWidget(frame);
    frame->SetEwidarDataBase(m_db);
    frame->SetKontekst(Kontekst);
    frame->SetEwidarRecord(Record);
    return frame;
}
