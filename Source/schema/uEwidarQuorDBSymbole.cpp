#include "uEwidarQuorDBSymbole.h"

#include <QHash>

#include <array>

TInternalFieldRecord TInternalFieldRecord::Create(const QString& Symbol, const QString& Description,
                                                  TFieldType FieldType) {
    return TInternalFieldRecord{Symbol, Description, FieldType};
}

namespace {

// Names of the kinds in enumeration order.
constexpr std::array<const char16_t*, 8> kFieldTypeNames = {
    u"ctStandard", u"ctEdit",     u"ctDate",          u"ctMemo",
    u"ctCheckBox", u"ctComboBox", u"ctCheckBoxGroup", u"ctRadioGroup",
};

struct TFieldTables {
    TInternalFieldRecordList all;
    std::array<TInternalFieldRecordList, FieldSectionCount> sections;
    QHash<QString, const TInternalFieldRecord*> bySymbol;
};

const TFieldTables& Tables() {
    static const TFieldTables tables = [] {
        TFieldTables t;
        t.all.reserve(FieldCount);
        t.bySymbol.reserve(FieldCount);
        auto add = [&t](TFieldSection section, const TInternalFieldRecord& field) {
            t.all.append(field);
            t.sections[section].append(field);
            t.bySymbol.insert(field.Symbol, &field);
        };
#define EWIDAR_FIELD(Section, Name, Caption, Kind) add(Section, Name);
#include "uEwidarQuorDBSymboleTable.inc"
#undef EWIDAR_FIELD
        return t;
    }();
    return tables;
}

const TInternalFieldRecordList& EmptyList() {
    static const TInternalFieldRecordList empty;
    return empty;
}

TInternalFieldRecordList Concat(std::initializer_list<TFieldSection> sections) {
    TInternalFieldRecordList result;
    for (TFieldSection s : sections)
        result += Tables().sections[s];
    return result;
}

// Position n (EwidarKinds order) is element n-1.
const std::array<TInternalFieldRecordList, 21>& KindTables() {
    static const std::array<TInternalFieldRecordList, 21> kinds = [] {
        TInternalFieldRecordList reprezentant = Concat({fsReprezentant});
        // The representative frame also edits these subject fields of the representative's record.
        reprezentant += {cDanePodmiotuPierwszeImie,
                         cDanePodmiotuNazwisko,
                         cDanePodmiotuNrTelefonu,
                         cDanePodmiotuKodKrajuNadaniaNumeru,
                         cDanePodmiotuNIP,
                         cDanePodmiotuPESEL,
                         cDanePodmiotuWlasciwyIdentyfikatorPodatkowy};
        return std::array<TInternalFieldRecordList, 21>{
            Concat({fsObywatelstwo}),           // IObywatelstwo
            Concat({fsDokumentTozsamosci}),     // IDokumentTozsamosci
            Concat({fsAdres}),                  // IAdres
            Concat({fsAdresDzialalnosci}),      // IAdresDzialalnosci
            Concat({fsOddzial}),                // IOddzial
            Concat({fsRodzajDzialalnosci}),     // IRodzajDzialalnosci
            Concat({fsDaneZUS}),                // IDaneZUS
            Concat({fsUrzadStatystyczny}),      // IUrzadStatystyczny
            Concat({fsDaneNFZ}),                // IDaneNFZ
            Concat({fsSadRejonowy}),            // ISadRejonowy
            Concat({fsDaneBanku}),              // IDaneBanku
            Concat({fsNrIdentyfikacyjny}),      // INrIdentyfikacyjny
            Concat({fsWspolnik}),               // IWspolnik
            Concat({fsSpolka}),                 // ISpolka
            Concat({fsSpolkaPodmiotu}),         // ISpolkaPodmiotu
            Concat({fsRachunekBankowy}),        // IRachunekBankowy
            Concat({fsZamawiajacy}),            // IDaneZamawiajacego
            TInternalFieldRecordList(),         // IRekordDodatkowy
            reprezentant,                       // IReprezentant
            Concat({fsBiuroRachunkowe}),        // IBiuroRachunkowe
            Concat({fsPodmiot, fsDaneOsobowe}), // IPodmiot
        };
    }();
    return kinds;
}

const QHash<QString, QStringList>& GroupOptions() {
    static const QHash<QString, QStringList> options = [] {
        QHash<QString, QStringList> o;
        o.insert(cDaneAdresoweDzialanosciTypAdresu.Symbol,
                 {QStringLiteral("Adres głównego miejsca wykonywania działalności gospodarczej"),
                  QStringLiteral("Adres do doręczeń"),
                  QStringLiteral("Adres dodatkowego miejsca wykonywania działalności gospodarczej")});
        o.insert(cDaneAdresoweTypAdresu.Symbol,
                 {QStringLiteral("Adres miejsca zameldowania"), QStringLiteral("Adres miejsca zamieszkania"),
                  QStringLiteral("Adres do korespondencji")});
        o.insert(cDaneNumeruIdentyfikacyjnegoTyp.Symbol,
                 {QStringLiteral("podatkowy"), QStringLiteral("ubezpieczeniowy")});
        o.insert(cDaneRachunkuCharakterRachunku.Symbol,
                 {QStringLiteral("Firmowy"), QStringLiteral("Osobisty")});
        o.insert(cDaneReprezentantaRodzajReprezentanta.Symbol,
                 {QStringLiteral("Pełnomocnik określony w pełnomocnictwie"),
                  QStringLiteral("Osoba uprawniona lub upoważniona do reprezentowania podatnika"),
                  QStringLiteral("Osoba odpowiedzialna za obliczenie podatku"), QStringLiteral("Inny")});
        o.insert(cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol,
                 {QStringLiteral("osoba fizyczna"), QStringLiteral("osoba prawna")});
        o.insert(cDanePodmiotuCzyProwadzilaDzialalnoscSamodzielnie.Symbol,
                 {QStringLiteral("nieprowadząca samodzielnie działalności gospodarczej"),
                  QStringLiteral("prowadząca samodzielnie działalność gospodarczą")});
        o.insert(cDanePodmiotuCzyPrzedsiebiorca.Symbol,
                 {QStringLiteral("będąca przedsiębiorcą"), QStringLiteral("niebędąca przedsiębiorcą")});
        o.insert(cDanePodmiotuWlasciwyIdentyfikatorPodatkowy.Symbol,
                 {QStringLiteral("Numer PESEL"), QStringLiteral("NIP")});
        o.insert(cDanePodmiotuPlec.Symbol, {QStringLiteral("kobieta"), QStringLiteral("mężczyzna")});
        o.insert(cDanePodmiotuRezydent.Symbol, {QStringLiteral("rezydent"), QStringLiteral("nierezydent")});
        const QStringList naczelnik = {QStringLiteral("do spraw ewidencji podatników"),
                                       QStringLiteral("w zakresie podatku dochodowego od osób fizycznych")};
        o.insert(cDanePodmiotuTypNaczelnika1.Symbol, naczelnik);
        o.insert(cDanePodmiotuTypNaczelnika2.Symbol, naczelnik);
        o.insert(cDanePodmiotuFormaOplacaniaPodatku.Symbol,
                 {QStringLiteral("Podatek wg skali podatkowej"), QStringLiteral("Podatek liniowy"),
                  QStringLiteral("Ryczałt od przychodów ewidencjonowanych"),
                  QStringLiteral("Karta podatkowa"),
                  QStringLiteral("Podatek dochodowy od osób prawnych CIT")});
        o.insert(cDanePodmiotuFormaWplatyZaliczki.Symbol,
                 {QStringLiteral("miesięczna"), QStringLiteral("kwartalna"), QStringLiteral("uproszczona")});
        o.insert(cDanePodmiotuRodzajProwadzonejDokumentacjiRachunkowej.Symbol,
                 {QStringLiteral("księgi rachunkowe"), QStringLiteral("inne ewidencje"),
                  QStringLiteral("nie jest prowadzona"),
                  QStringLiteral("podatkowa księga przychodów i rozchodów")});
        o.insert(cDanePodmiotuProwadzenieDokumentacjiRachunkowej.Symbol,
                 {QStringLiteral("w biurze rachunkowym lub przez inny podmiot"),
                  QStringLiteral("we własnym zakresie")});
        for (const TInternalFieldRecord* f :
             {&cDanePodmiotuProwadziZakladPracyChronionej,
              &cDanePodmiotuZagranicznePrzedsiebiorstwoDrobnaWytworczosc,
              &cDanePodmiotuDzialalnoscWylacznieSpolkaCywilna, &cDanePodmiotuCzyPodatnikVAT,
              &cDanePodmiotuProwadziDzialalnoscNaTerenieStrefy, &cCzyLaczyWspolnoscMajatkowa})
            o.insert(f->Symbol, {QStringLiteral("Tak"), QStringLiteral("Nie")});
        o.insert(cDanePodmiotuSposobRozliczaniaPodatkuOdTowarow.Symbol,
                 {QStringLiteral("miesięczny"), QStringLiteral("kwartalny")});
        o.insert(cStopienNiepelnosprawnosci.Symbol,
                 {QStringLiteral("lekki"), QStringLiteral("umiarkowany"), QStringLiteral("znaczny")});
        o.insert(cEmeryturaRenta.Symbol, {QStringLiteral("Emerytura"), QStringLiteral("Renta")});
        return o;
    }();
    return options;
}

} // namespace

QString FieldTypeToText(TFieldType FieldType) {
    if (FieldType >= kFieldTypeNames.size())
        return QString::fromUtf16(kFieldTypeNames[ctStandard]);
    return QString::fromUtf16(kFieldTypeNames[FieldType]);
}

TFieldType TextToFieldType(const QString& Text) {
    for (size_t i = ctEdit; i < kFieldTypeNames.size(); ++i)
        if (Text == QStringView(kFieldTypeNames[i]))
            return static_cast<TFieldType>(i);
    return ctStandard;
}

const TInternalFieldRecordList& AllFields() {
    return Tables().all;
}

const TInternalFieldRecordList& FieldsOfSection(TFieldSection Section) {
    if (Section >= FieldSectionCount)
        return EmptyList();
    return Tables().sections[Section];
}

const TInternalFieldRecordList& FieldsOfKind(int Position) {
    if (Position < 1 || Position > 21)
        return EmptyList();
    return KindTables()[Position - 1];
}

const TInternalFieldRecord* FindField(const QString& Symbol) {
    return Tables().bySymbol.value(Symbol, nullptr);
}

QStringList GroupFieldOptions(const QString& Symbol) {
    return GroupOptions().value(Symbol);
}

const QList<TComboBoxSymbolItemRecord>& IdentityDocumentItems() {
    static const QList<TComboBoxSymbolItemRecord> items = {
        cRodzajDokumentuPusty,
        cRodzajDokumentuDowod,
        cRodzajDokumentuKartaPobCudz,
        cRodzajDokumentuDokumenTozCudz,
        cRodzajDokumentuPaszportPolski,
        cRodzajDokumentuTymczasowyDowod,
        cRodzajDokumentuTymczasoweZaswiadczenie,
        cRodzajDokumentuPaszportZagraniczny,
        cRodzajDokumentuNumerDlaCelowPodatkowych,
        cRodzajDokumentuNumerDlaCelowUbezpieczenSpolecznych,
        cRodzajDokumentuInnyDokument,
    };
    return items;
}
