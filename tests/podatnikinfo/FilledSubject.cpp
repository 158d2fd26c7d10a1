#include "FilledSubject.h"

#include "uEwidarQuorDBSymbole.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

std::u16string U(const QString& s) {
    return s.toStdU16String();
}

void Set(IEwidarRecord* R, const QString& Symbol, const QString& Value) {
    auto f = R->GetDataFields()->GetDataField(U(Symbol));
    ASSERT_TRUE(f) << Symbol.toStdString();
    f->SetValue(U(Value));
}

// A value of the field's kind; text values are the symbol without its "c".
QString Sample(const TInternalFieldRecord& F) {
    switch (F.FieldType) {
    case ctDate:
        return QStringLiteral("2021-03-04");
    case ctMemo:
        return F.Symbol.mid(1) + QStringLiteral(" 1\r\nlinia 2: <ważna> & \"cytat\"");
    case ctCheckBox:
        return QStringLiteral("1");
    case ctRadioGroup:
        return QStringLiteral("1");
    case ctCheckBoxGroup:
        return QStringLiteral("1,0,1,0,1");
    case ctComboBox:
        return F.Symbol == cDaneDokumentuTozsamosciRodzaj.Symbol ? QStringLiteral("PaszportPolski")
                                                                 : QStringLiteral("mazowieckie");
    default:
        return F.Symbol.mid(1);
    }
}

// Every field of the kind at Position, then the given values, then the post.
bool Fill(IEwidarRecord* R, int Position, const QMap<QString, QString>& Values = {}) {
    for (const TInternalFieldRecord& f : FieldsOfKind(Position))
        Set(R, f.Symbol, Sample(f));
    for (auto it = Values.begin(); it != Values.end(); ++it)
        Set(R, it.key(), it.value());
    const bool ok = R->Post();
    EXPECT_TRUE(ok) << "position " << Position << ": " << R->GetLastErrorCode();
    return ok;
}

void Define(IEwidarDataBase* Db, int Position, const char* Symbol, const char* Description,
            const char* Type) {
    auto f = Db->GetDynamicFieldsProvider(0)->GetDynamicFields(Position)->AddField();
    f->SetSymbol(U(QString::fromUtf8(Symbol)));
    f->SetDescription(U(QString::fromUtf8(Description)));
    f->SetFieldType(U(QString::fromUtf8(Type)));
    EXPECT_TRUE(f->PostDefinition()) << Symbol;
}

template <class T> TIntfPtr<IEwidarRecord> New(const TIntfPtr<T>& List) {
    if constexpr (std::is_base_of_v<IEwidarSectionCollection, T>)
        return static_cast<IEwidarSectionCollection*>(List.get())->New();
    else
        return static_cast<IEwidarListCollection*>(List.get())->New();
}

} // namespace

TIntfPtr<IPodmiot> NewFilledSubject(IEwidarDataBase* Db) {
    Define(Db, 21, "cNrKlienta", "Numer klienta", "ctEdit");
    Define(Db, 21, "cVIP", "Klient <VIP>", "ctCheckBox");
    Define(Db, 21, "cDataUmowy", "Data umowy", "ctDate");
    Define(Db, 12, "cNrZagraniczny", "Numer zagraniczny:", "ctEdit");
    Define(Db, 13, "cUdzialWspolnika", "Udział wspólnika", "ctEdit");
    auto reg = Db->GetRegistries();

    auto s = Supports<IPodmiot>(reg->GetPodatnicy({})->New());
    const QMap<QString, QString> own = {
        {cDanePodmiotuNazwisko.Symbol, QStringLiteral("Kowalska-Żółć <i>&amp; \"Syn\"</i> 'ą'")},
        {cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("Łucja")},
        {cDanePodmiotuDataUrodzenia.Symbol, QStringLiteral("H2021-03-04")}, // a blank date
        {cDanePodmiotuTypNaczelnika2.Symbol, QStringLiteral("0,1")},
        {cDanePodmiotuPlec.Symbol, QStringLiteral("0")},
        {cStopienNiepelnosprawnosci.Symbol, QStringLiteral("2")},
        {QStringLiteral("cNrKlienta"), QStringLiteral("K/7 <&>")},
        {QStringLiteral("cVIP"), QStringLiteral("1")},
        {QStringLiteral("cDataUmowy"), QStringLiteral("H2020-01-01")},
    };
    if (!Fill(s.get(), 21, own))
        return {};
    Fill(s->GetObywatelstwa()->New().get(), 1);
    Fill(s->GetDokumentyTozsamosci()->New().get(), 2);
    Fill(s->GetAdresy()->New().get(), 3);
    Fill(s->GetAdresyDzialalnosci()->New().get(), 4);
    Fill(s->GetOddzialy()->New().get(), 5);
    auto pkd = s->GetRodzajeDzialalnosci()->New();
    Fill(pkd.get(), 6);
    auto nr = New(s->GetNrIdentyfikacyjne());
    Fill(nr.get(), 12, {{QStringLiteral("cNrZagraniczny"), QStringLiteral("DE-123")}});

    auto zus = New(reg->GetDaneZUSow({}));
    Fill(zus.get(), 7);
    auto us = New(reg->GetUrzedyStatystyczne({}));
    Fill(us.get(), 8);
    auto nfz = New(reg->GetDaneNFZow({}));
    Fill(nfz.get(), 9);
    auto sad = New(reg->GetSadyRejonowe({}));
    Fill(sad.get(), 10);
    auto biuro = New(reg->GetBiuraRachunkowe({}));
    Fill(biuro.get(), 20);
    auto bank = New(reg->GetDaneBankow({}));
    Fill(bank.get(), 11);

    auto spolka = Supports<ISpolka>(New(reg->GetSpolki({})));
    Fill(New(spolka->GetWspolnicy()).get(), 13,
         {{QStringLiteral("cUdzialWspolnika"), QStringLiteral("25%")}});
    Fill(spolka.get(), 14);
    auto udzial = Supports<ISpolkaPodmiotu>(New(s->GetSpolkiPodmiotu()));
    udzial->SetSpolka(spolka.get());
    Fill(udzial.get(), 15);
    auto konto = Supports<IRachunekBankowy>(New(s->GetRachunkiBankowe()));
    konto->SetDaneBanku(bank.get());
    Fill(konto.get(), 16);

    auto osoba = reg->GetPodatnicy({})->New();
    Fill(osoba.get(), 21, {{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Pełnomocny")}});
    auto rep = Supports<IReprezentant>(New(s->GetReprezentanci()));
    rep->SetPodmiot(osoba.get());
    EXPECT_TRUE(rep->Post());
    auto podatnik = Supports<IPodatnik>(s);
    for (int i = 0; i < 2; ++i)
        Fill(podatnik->GetPracownicy(0, 0)->New().get(), 21);
    Fill(podatnik->GetKontrahenci(0, 0)->New().get(), 21);

    s->SetDaneZUS(zus.get());
    s->SetUrzadStatystyczny(us.get());
    s->SetDaneNFZ(nfz.get());
    s->SetSadRejonowy(sad.get());
    s->SetBiuroRachunkowe(biuro.get());
    s->SetRodzajPrzewazajacejDzialalnosci(pkd.get());
    EXPECT_TRUE(s->Post()) << s->GetLastErrorCode();
    return s;
}
