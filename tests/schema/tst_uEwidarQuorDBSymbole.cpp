// The field symbol table: count, symbols, captions, kinds, group options, fields per record kind.

#include "uEwidarQuorDBSymbole.h"

#include "TestSupport.h"

#include <QSet>

#include <gtest/gtest.h>

#include <climits>
#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

// Read during this unit's static initialisation: the descriptors must already be built.
const QString gEarlySymbol = cDaneAdresoweKraj.Symbol;
const qsizetype gEarlyCount = AllFields().size();

QStringList Symbols(const TInternalFieldRecordList& fields) {
    QStringList result;
    for (const TInternalFieldRecord& f : fields)
        result << f.Symbol;
    return result;
}

bool IsGroup(TFieldType t) {
    return t == ctRadioGroup || t == ctCheckBoxGroup;
}

} // namespace

TEST(FieldTable, UsableFromStaticInitialisers) {
    EXPECT_EQ(gEarlySymbol, QStringLiteral("cDaneAdresoweKraj"));
    EXPECT_EQ(gEarlyCount, 199);
}

TEST(FieldTable, HoldsAllDescriptorsOnceInDeclarationOrder) {
    const TInternalFieldRecordList& all = AllFields();
    ASSERT_EQ(all.size(), 199);
    EXPECT_EQ(all.size(), FieldCount);
    EXPECT_EQ(all.first().Symbol, QStringLiteral("cBiuroRachunkoweKodKrajuNadaniaNumeru"));
    EXPECT_EQ(all.last().Symbol, QStringLiteral("cUwagi"));

    QSet<QString> seen;
    for (const TInternalFieldRecord& f : all) {
        EXPECT_TRUE(f.Symbol.startsWith(u'c')) << f.Symbol.toStdString();
        EXPECT_FALSE(f.Description.isEmpty()) << f.Symbol.toStdString();
        EXPECT_NE(f.FieldType, ctStandard) << f.Symbol.toStdString();
        EXPECT_FALSE(seen.contains(f.Symbol)) << "duplicate " << f.Symbol.toStdString();
        seen.insert(f.Symbol);
    }

    int sectionTotal = 0;
    TInternalFieldRecordList concatenated;
    for (int s = 0; s < FieldSectionCount; ++s)
        concatenated += FieldsOfSection(TFieldSection(s));
    sectionTotal = int(concatenated.size());
    EXPECT_EQ(sectionTotal, 199);
    EXPECT_EQ(concatenated, all);
    EXPECT_TRUE(FieldsOfSection(TFieldSection(FieldSectionCount)).isEmpty());
}

TEST(FieldTable, KindCountsMatchTheTable) {
    std::map<TFieldType, int> counts;
    for (const TInternalFieldRecord& f : AllFields())
        ++counts[f.FieldType];
    EXPECT_EQ(counts[ctEdit], 146);
    EXPECT_EQ(counts[ctDate], 9);
    EXPECT_EQ(counts[ctMemo], 5);
    EXPECT_EQ(counts[ctCheckBox], 8);
    EXPECT_EQ(counts[ctComboBox], 5);
    EXPECT_EQ(counts[ctCheckBoxGroup], 6);
    EXPECT_EQ(counts[ctRadioGroup], 20);
    EXPECT_EQ(counts[ctStandard], 0);
}

TEST(FieldTable, ConstantsCarryTheirOwnNameAsSymbol) {
    EXPECT_EQ(cDaneAdresoweKraj.Symbol, QStringLiteral("cDaneAdresoweKraj"));
    EXPECT_EQ(cDanePodmiotuREGON.Symbol, QStringLiteral("cDanePodmiotuREGON"));
    EXPECT_EQ(cDanePodmiotuUS2RachunekVIUDVINDMOSS.Symbol,
              QStringLiteral("cDanePodmiotuUS2RachunekVIUDVINDMOSS"));
    EXPECT_EQ(cDaneAdresoweDzialanosciAdresDoreczeiTakiSamJakZamieszkania.Symbol,
              QStringLiteral("cDaneAdresoweDzialanosciAdresDoreczeiTakiSamJakZamieszkania"));
}

TEST(FieldTable, SampleCaptionsAreExact) {
    struct Case {
        const TInternalFieldRecord& field;
        const char* caption;
        TFieldType type;
    };
    const Case cases[] = {
        {cDaneAdresoweWojewodztwo, "Województwo:", ctComboBox},
        {cDaneOddzialuMiejscowosc, "Miejscowość:", ctEdit},
        {cDaneAdresoweDzialanosciTypAdresu, "Typ adresu działalności:", ctCheckBoxGroup},
        {cDaneAdresoweDzialanosciAdresDzialalnosciTakiSamJakZamieszkania,
         "Adres głównego miejsca wykonywania działalności gospodarczej jest taki sam jak adres zamieszkania",
         ctCheckBox},
        {cDaneAdresoweDzialanosciAdresOpisowy, "Określenie opisowe adresu nietypowego:", ctMemo},
        {cDaneBankuNazwa, "Pełna nazwa banku (oddziału) / SKOK:", ctEdit},
        {cDaneDokumentuTozsamosciRodzaj, "Rodzaj dokumentu / numeru:", ctComboBox},
        {cDaneReprezentantaPosiadaUpowaznienie,
         "Posiada upoważnienie od podmiotu w zakresie wysyłki do e-Deklaracji (UPL-1; dot. certyfikatu)",
         ctCheckBox},
        {cSpolkaPodmiotuUdzial, "Udział (w %) w przychodach spółki:", ctEdit},
        {cDaneZUSNazwaRachunku3, "Nazwa rachunku ZUS 3", ctEdit},
        {cDaneZUSNumerRachunku4, "Numer rachunku ZUS 4", ctEdit},
        {cDanePodmiotuPlec, "Płeć:", ctRadioGroup},
        {cDanePodmiotuDataUrodzenia, "Data urodzenia:", ctDate},
        {cDanePodmiotuNiePosiadaNrNIPOF, "Osoba fizyczna nie posiada numeru NIP", ctCheckBox},
        {cDanePodmiotuTypNaczelnika2, "Naczelnik urzędu skarbowego właściwy:", ctCheckBoxGroup},
        {cDanePodmiotuKontoUS2, "Konto Urzędu Skarbowego:", ctEdit},
        {cDanePodmiotuUS1RachunekVIUDVINDMOSS, "Rachunek VIU-D/VIN-D(MOSS):", ctEdit},
        {cDanePodmiotuUS2RachunekIND, "Rachunek in.d.:", ctEdit},
        {cDanePodmiotuDzialalnoscWylacznieSpolkaCywilna,
         "Czy prowadzi działalność gospodarczą wyłącznie w formie spółki/spółek cywilnych:", ctRadioGroup},
        {cEmeryturaRenta, "Emerytura czy renta", ctRadioGroup},
        {cPokrewienstwoZPracodawca, "Stopień pokrewieństwa z pracodawcą:", ctEdit},
        {cUwagi, "Uwagi", ctMemo},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.field.Description, QString::fromUtf8(c.caption)) << c.field.Symbol.toStdString();
        EXPECT_EQ(c.field.FieldType, c.type) << c.field.Symbol.toStdString();
    }
    // Diacritics are single characters, not mis-decoded byte pairs.
    EXPECT_EQ(cDanePodmiotuPlec.Description.size(), 5);
}

TEST(FieldTable, AddressBlocksAreExpandedPerPrefix) {
    const QStringList suffixes = {u"Kraj"_s,      u"Wojewodztwo"_s, u"Powiat"_s, u"Gmina"_s,
                                  u"Dzielnica"_s, u"Miejscowosc"_s, u"Ulica"_s,  u"NrDomu"_s,
                                  u"NrLokalu"_s,  u"KodPocztowy"_s, u"Poczta"_s, u"SkrytkaPocztowa"_s};
    const std::pair<QString, int> blocks[] = {{u"cDaneAdresowe"_s, 12},
                                              {u"cDaneOddzialu"_s, 12},
                                              {u"cDaneAdresoweDzialanosci"_s, 11},
                                              {u"cDanePodmiotuAdresDokumentacjiRachunkowej"_s, 11}};
    const QStringList all = Symbols(AllFields());
    for (const auto& [prefix, count] : blocks) {
        const qsizetype first = all.indexOf(prefix + suffixes[0]);
        ASSERT_GE(first, 0) << prefix.toStdString();
        for (int i = 0; i < suffixes.size(); ++i) {
            const TInternalFieldRecord* f = FindField(prefix + suffixes[i]);
            if (i >= count) {
                EXPECT_EQ(f, nullptr) << (prefix + suffixes[i]).toStdString();
                continue;
            }
            ASSERT_NE(f, nullptr) << (prefix + suffixes[i]).toStdString();
            EXPECT_EQ(all.indexOf(f->Symbol), first + i) << "block order " << f->Symbol.toStdString();
            EXPECT_EQ(f->Description, FindField(u"cDaneAdresowe"_s + suffixes[i])->Description);
            EXPECT_EQ(f->FieldType, i == 1 ? ctComboBox : ctEdit);
        }
    }
    EXPECT_EQ(cDaneAdresoweSkrytkaPocztowa.Description, u"Skrytka pocztowa:"_s);
    EXPECT_EQ(cDaneAdresoweNrDomu.Description, u"Nr domu:"_s);
    // The business prefix keeps its historical spelling.
    EXPECT_EQ(FindField(u"cDaneAdresoweDzialalnosciKraj"_s), nullptr);
}

TEST(FieldTable, TaxOfficeAccountBlocksFollowTheOfficeFields) {
    const QStringList suffixes = {u"PIT"_s,    u"PITSTD"_s,       u"CIT"_s,  u"VAT"_s,
                                  u"VATUE1"_s, u"VIUDVINDMOSS"_s, u"Doch"_s, u"IND"_s};
    const QStringList all = Symbols(AllFields());
    const qsizetype start = all.indexOf(u"cDanePodmiotuKontoUS2"_s) + 1;
    int i = 0;
    for (const char* office : {"US1", "US2"})
        for (const QString& suffix : suffixes) {
            const QString symbol = u"cDanePodmiotu"_s + QLatin1String(office) + u"Rachunek"_s + suffix;
            EXPECT_EQ(all.value(start + i++), symbol);
        }
    EXPECT_EQ(all.value(start + i), u"cDanePodmiotuFormaOplacaniaPodatku"_s);
    EXPECT_EQ(cDanePodmiotuUS1RachunekPITSTD.Description, u"Rachunek PIT-STD:"_s);
    EXPECT_EQ(cDanePodmiotuUS2RachunekDoch.Description, u"Rachunek doch.:"_s);
}

TEST(FieldTable, FindFieldIsExactAndCaseSensitive) {
    for (const TInternalFieldRecord& f : AllFields()) {
        const TInternalFieldRecord* found = FindField(f.Symbol);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(*found, f);
    }
    EXPECT_EQ(FindField(QString()), nullptr);
    EXPECT_EQ(FindField(u"cdanepodmiotunip"_s), nullptr);
    EXPECT_EQ(FindField(u" cDanePodmiotuNIP"_s), nullptr);
    EXPECT_EQ(FindField(u"cDanePodmiotuNIP"_s), &cDanePodmiotuNIP);
}

TEST(FieldType, TextFormsRoundTrip) {
    const std::pair<TFieldType, const char*> names[] = {
        {ctStandard, "ctStandard"},
        {ctEdit, "ctEdit"},
        {ctDate, "ctDate"},
        {ctMemo, "ctMemo"},
        {ctCheckBox, "ctCheckBox"},
        {ctComboBox, "ctComboBox"},
        {ctCheckBoxGroup, "ctCheckBoxGroup"},
        {ctRadioGroup, "ctRadioGroup"},
    };
    int expectedValue = 0;
    for (const auto& [type, name] : names) {
        EXPECT_EQ(int(type), expectedValue++);
        EXPECT_EQ(FieldTypeToText(type), QLatin1String(name));
        EXPECT_EQ(TextToFieldType(QLatin1String(name)), type);
    }
    EXPECT_EQ(sizeof(TFieldType), 1u);
}

TEST(FieldType, UnknownTextsReadAsStandard) {
    EXPECT_EQ(TextToFieldType(u"ctStandard"_s), ctStandard);
    EXPECT_EQ(TextToFieldType(QString()), ctStandard);
    EXPECT_EQ(TextToFieldType(u"ctedit"_s), ctStandard);
    EXPECT_EQ(TextToFieldType(u"CTEDIT"_s), ctStandard);
    EXPECT_EQ(TextToFieldType(u" ctEdit"_s), ctStandard);
    EXPECT_EQ(TextToFieldType(u"ctEdit "_s), ctStandard);
    EXPECT_EQ(TextToFieldType(u"ctCheck"_s), ctStandard);
    EXPECT_EQ(TextToFieldType(u"ctCheckBoxGroup"_s), ctCheckBoxGroup);
    EXPECT_EQ(TextToFieldType(u"ctCheckBox"_s), ctCheckBox);
    EXPECT_EQ(FieldTypeToText(TFieldType(8)), u"ctStandard"_s);
    EXPECT_EQ(FieldTypeToText(TFieldType(255)), u"ctStandard"_s);
}

TEST(FieldRecord, CreateFillsAllThreeFields) {
    const TInternalFieldRecord r = TInternalFieldRecord::Create(u"cDyn1"_s, u"Pole własne:"_s, ctMemo);
    EXPECT_EQ(r.Symbol, u"cDyn1"_s);
    EXPECT_EQ(r.Description, u"Pole własne:"_s);
    EXPECT_EQ(r.FieldType, ctMemo);
    EXPECT_EQ(FindField(r.Symbol), nullptr);
}

TEST(GroupOptions, EveryGroupFieldAndOnlyGroupFieldsHaveOptions) {
    for (const TInternalFieldRecord& f : AllFields()) {
        const QStringList options = GroupFieldOptions(f.Symbol);
        if (IsGroup(f.FieldType))
            EXPECT_GE(options.size(), 2) << f.Symbol.toStdString();
        else
            EXPECT_TRUE(options.isEmpty()) << f.Symbol.toStdString();
    }
    EXPECT_TRUE(GroupFieldOptions(QString()).isEmpty());
    EXPECT_TRUE(GroupFieldOptions(u"cdanepodmiotuplec"_s).isEmpty());
}

TEST(GroupOptions, OptionsInValueOrder) {
    EXPECT_EQ(GroupFieldOptions(cDanePodmiotuPlec.Symbol), (QStringList{u"kobieta"_s, u"mężczyzna"_s}));
    EXPECT_EQ(GroupFieldOptions(cDaneAdresoweDzialanosciTypAdresu.Symbol),
              (QStringList{u"Adres głównego miejsca wykonywania działalności gospodarczej"_s,
                           u"Adres do doręczeń"_s,
                           u"Adres dodatkowego miejsca wykonywania działalności gospodarczej"_s}));
    EXPECT_EQ(GroupFieldOptions(cDanePodmiotuFormaOplacaniaPodatku.Symbol).size(), 5);
    EXPECT_EQ(GroupFieldOptions(cDanePodmiotuFormaOplacaniaPodatku.Symbol).last(),
              u"Podatek dochodowy od osób prawnych CIT"_s);
    EXPECT_EQ(GroupFieldOptions(cDanePodmiotuRodzajProwadzonejDokumentacjiRachunkowej.Symbol).value(3),
              u"podatkowa księga przychodów i rozchodów"_s);
    EXPECT_EQ(GroupFieldOptions(cDaneReprezentantaRodzajReprezentanta.Symbol).value(3), u"Inny"_s);
    EXPECT_EQ(GroupFieldOptions(cDanePodmiotuTypNaczelnika1.Symbol),
              GroupFieldOptions(cDanePodmiotuTypNaczelnika2.Symbol));
    const QStringList takNie = {u"Tak"_s, u"Nie"_s};
    for (const TInternalFieldRecord* f :
         {&cDanePodmiotuProwadziZakladPracyChronionej,
          &cDanePodmiotuZagranicznePrzedsiebiorstwoDrobnaWytworczosc,
          &cDanePodmiotuDzialalnoscWylacznieSpolkaCywilna, &cDanePodmiotuCzyPodatnikVAT,
          &cDanePodmiotuProwadziDzialalnoscNaTerenieStrefy, &cCzyLaczyWspolnoscMajatkowa})
        EXPECT_EQ(GroupFieldOptions(f->Symbol), takNie) << f->Symbol.toStdString();
    EXPECT_EQ(GroupFieldOptions(cStopienNiepelnosprawnosci.Symbol),
              (QStringList{u"lekki"_s, u"umiarkowany"_s, u"znaczny"_s}));
}

TEST(IdentityDocuments, ComboOrderEndsWithOtherDocument) {
    const QList<TComboBoxSymbolItemRecord>& items = IdentityDocumentItems();
    ASSERT_EQ(items.size(), 11);
    const char* symbols[] = {"",
                             "Dowod",
                             "KartaPobCudz",
                             "DokumenTozCudz",
                             "PaszportPolski",
                             "TymczasowyDowod",
                             "TymczasoweZaswiadczenie",
                             "PaszportZagraniczny",
                             "NumerDlaCelowPodatkowych",
                             "NumerDlaCelowUbezpieczenSpolecznych",
                             "InnyDokument"};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(items[i].Symbol, QLatin1String(symbols[i])) << i;
    EXPECT_TRUE(items[0].Caption.isEmpty());
    EXPECT_EQ(items[1].Caption, u"dowód osobisty"_s);
    EXPECT_EQ(items[3].Caption, u"dokument tożsamości cudzoziemca"_s);
    EXPECT_EQ(items[9].Caption, u"numer służący identyfikacji dla celów ubezpieczeń społecznych"_s);
    EXPECT_EQ(items[10], cRodzajDokumentuInnyDokument);
    EXPECT_EQ(items[10].Caption, u"inny dokument potwierdzający tożsamość"_s);
}

TEST(FieldsOfKind, SizesPerRecordKind) {
    const int expected[22] = {0, 1, 6, 14, 15, 14, 2, 10, 2, 2, 2, 3, 4, 2, 6, 1, 4, 3, 0, 9, 5, 101};
    for (int position = 1; position <= 21; ++position)
        EXPECT_EQ(FieldsOfKind(position).size(), expected[position]) << "position " << position;
    for (int position : {0, -1, 22, 1000, INT_MIN, INT_MAX})
        EXPECT_TRUE(FieldsOfKind(position).isEmpty()) << position;
}

TEST(FieldsOfKind, EveryDescriptorBelongsToItsRecordKind) {
    QMap<QString, QList<int>> kindsOf;
    for (int position = 1; position <= 21; ++position) {
        const QStringList symbols = Symbols(FieldsOfKind(position));
        EXPECT_EQ(QSet<QString>(symbols.begin(), symbols.end()).size(), symbols.size()) << position;
        for (const QString& s : symbols)
            kindsOf[s] << position;
    }
    const QSet<QString> sharedWithRepresentative = {cDanePodmiotuPierwszeImie.Symbol,
                                                    cDanePodmiotuNazwisko.Symbol,
                                                    cDanePodmiotuNrTelefonu.Symbol,
                                                    cDanePodmiotuKodKrajuNadaniaNumeru.Symbol,
                                                    cDanePodmiotuNIP.Symbol,
                                                    cDanePodmiotuPESEL.Symbol,
                                                    cDanePodmiotuWlasciwyIdentyfikatorPodatkowy.Symbol};
    for (const TInternalFieldRecord& f : AllFields()) {
        const QList<int> kinds = kindsOf.value(f.Symbol);
        if (sharedWithRepresentative.contains(f.Symbol))
            EXPECT_EQ(kinds, (QList<int>{19, 21})) << f.Symbol.toStdString();
        else
            EXPECT_EQ(kinds.size(), 1) << f.Symbol.toStdString();
    }
    EXPECT_EQ(kindsOf.size(), 199);

    EXPECT_EQ(FieldsOfKind(1).first(), cObywatelstwo);
    EXPECT_TRUE(Symbols(FieldsOfKind(3)).contains(cDaneAdresoweKodPocztowy.Symbol));
    EXPECT_TRUE(Symbols(FieldsOfKind(4)).contains(cDaneAdresoweDzialanosciAdresOpisowy.Symbol));
    EXPECT_TRUE(Symbols(FieldsOfKind(5)).contains(cDaneOddzialuSkrytkaPocztowa.Symbol));
    EXPECT_EQ(FieldsOfKind(16).first(), cDaneRachunkuCharakterRachunku);
    EXPECT_EQ(FieldsOfKind(19).first(), cDaneReprezentantaRodzajReprezentanta);
    EXPECT_EQ(FieldsOfKind(20).last(), cBiuroRachunkoweImie);
    const QStringList podmiot = Symbols(FieldsOfKind(21));
    EXPECT_EQ(podmiot.first(), cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol);
    EXPECT_EQ(podmiot.last(), cUwagi.Symbol);
    for (const TInternalFieldRecord* f : {&cDanePodmiotuUS1RachunekPIT, &cDanePodmiotuUS2RachunekIND,
                                          &cDanePodmiotuAdresDokumentacjiRachunkowejPoczta,
                                          &cDanePodmiotuKontoUS1, &cCzyLaczyWspolnoscMajatkowa})
        EXPECT_TRUE(podmiot.contains(f->Symbol)) << f->Symbol.toStdString();
}
