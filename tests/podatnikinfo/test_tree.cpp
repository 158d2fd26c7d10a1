// The record structure tree: nodes and pruning, value texts, and what the builder
// reads from a subject (absent lists and links, blank dates, counts, user fields).

#include "InfoFakes.h"
#include "TestSupport.h"
#include "uGetPodatnikInfo.h"

#include <gtest/gtest.h>

namespace {

QStringList ChildNames(const TTreeItem& Node) {
    QStringList names;
    for (int i = 0; i < Node.Count(); ++i)
        names.append(Node.Item(i)->Name());
    return names;
}

QStringList StructuralNames(const TTreeItem& Node) {
    QStringList names;
    for (const QString& n : ChildNames(Node))
        if (n.startsWith(QLatin1String("Col")) || n.startsWith(QLatin1String("Set")))
            names.append(n);
    return names;
}

QString ValueOf(const TTreeItem* Node, const QString& Symbol) {
    const TTreeItem* f = Node ? Node->ItemBySymbol(Symbol) : nullptr;
    return f ? f->Value() : QStringLiteral("<none>");
}

template <class I> TIntfPtr<TList<I>> ListOf(std::initializer_list<TIntfPtr<IEwidarRecord>> Items) {
    auto list = Make<TList<I>>();
    for (const auto& r : Items)
        list->Items.append(r);
    return list;
}

} // namespace

TEST(TreeNodes, FieldDescriptionsEndInAColonAndLookupsAreSafe) {
    TEwidarTreeItem root;
    EXPECT_EQ(root.Add(QStringLiteral("a"), tiField, QStringLiteral("Numer"), {})->Description(), "Numer:");
    EXPECT_EQ(root.Add(QStringLiteral("b"), tiUserField, QString(), {})->Description(), ":");
    EXPECT_EQ(root.Add(QStringLiteral("c"), tiField, QStringLiteral("Kod:"), {})->Description(), "Kod:");
    EXPECT_EQ(root.Add(QStringLiteral("Item"), tiRecord, QStringLiteral("Tytuł"), {})->Description(),
              "Tytuł");
    root.Add(QStringLiteral("a"), tiField, QStringLiteral("Drugi"), QStringLiteral("2"));
    EXPECT_EQ(root.ItemBySymbol(QStringLiteral("a"))->Description(), "Numer:"); // the first of two
    EXPECT_EQ(root.ItemBySymbol(QStringLiteral("A")), nullptr);                 // case-sensitive
    EXPECT_EQ(root.GetItem(-1), nullptr);
    EXPECT_EQ(root.GetItem(root.Count()), nullptr);
    root.Delete(99);
    root.Delete(-1);
    EXPECT_EQ(root.Count(), 5);
    root.Delete(0);
    EXPECT_EQ(ChildNames(root), QStringList({"b", "c", "Item", "a"}));
}

TEST(TreeNodes, PruningRemovesEmptyLeavesThenEmptiedParentsButNeverTheRoot) {
    TEwidarTreeItem root;
    TTreeItem* col = root.Add(QStringLiteral("ColA"), tiCollection, {}, {});
    TTreeItem* empty = col->Add(QStringLiteral("Item"), tiRecord, {}, {});
    empty->Add(QStringLiteral("x"), tiField, QStringLiteral("X"), {});
    TTreeItem* full = col->Add(QStringLiteral("Item"), tiRecord, {}, {});
    full->Add(QStringLiteral("x"), tiField, QStringLiteral("X"), {});
    full->Add(QStringLiteral("y"), tiUserField, QStringLiteral("Y"), QStringLiteral("1"));
    TTreeItem* gone = root.Add(QStringLiteral("ColB"), tiCollection, {}, {});
    gone->Add(QStringLiteral("Item"), tiRecord, {}, {})->Add(QStringLiteral("z"), tiField, {}, {});
    root.Add(QStringLiteral("SetC"), tiRecord, {}, {});
    root.RemoveEmpty();
    ASSERT_EQ(ChildNames(root), QStringList({"ColA"}));
    ASSERT_EQ(col->Count(), 1);
    EXPECT_EQ(ChildNames(*col->Item(0)), QStringList({"y"}));

    TEwidarTreeItem lonely;
    lonely.RemoveEmpty();
    EXPECT_EQ(lonely.Count(), 0);
}

TEST(TreeNodes, AddPropStoresABlankDateEmptyAndOtherValuesAsGiven) {
    TEwidarTreeItem root;
    EXPECT_EQ(root.AddProp(cDanePodmiotuDataUrodzenia, QStringLiteral("H2001-02-03"))->Value(), "");
    EXPECT_EQ(root.AddProp(cDanePodmiotuDataUrodzenia, QStringLiteral("2001-02-03"))->Value(), "2001-02-03");
    // Only dates know the blank mark.
    EXPECT_EQ(root.AddProp(cDanePodmiotuNazwisko, QStringLiteral("Hanna"))->Value(), "Hanna");
    TTreeItem* item = root.Add(QStringLiteral("Item"), tiRecord, {}, {});
    TEwidarTreeItem* f = TEwidarTreeItem::AddProp(*item, cDaneNFZKod, QStringLiteral("07"));
    EXPECT_EQ(f->Typ(), tiField);
    EXPECT_EQ(f->Name(), "cDaneNFZKod");
    EXPECT_EQ(f->Description(), "Kod:");
}

TEST(TreeValues, ConversionsByKindAndSymbol) {
    using namespace PodatnikInfoValues;
    struct TCase {
        const TInternalFieldRecord* Field;
        const char* Value;
        const char* Expected;
    };
    const TCase cases[] = {
        {&cDanePodmiotuNiePosiadaNrPesel, "1", "tak"},
        {&cDanePodmiotuNiePosiadaNrPesel, "0", "tak"}, // any non-empty value
        {&cDanePodmiotuNiePosiadaNrPesel, "", ""},
        {&cDanePodmiotuPlec, "1", "mężczyzna"},
        {&cDanePodmiotuPlec, " 0 ", "kobieta"},
        {&cDanePodmiotuPlec, "-1", ""},
        {&cDanePodmiotuPlec, "2", ""},
        {&cDanePodmiotuPlec, "abc", ""},
        {&cDanePodmiotuPlec, "", ""},
        {&cDanePodmiotuRodzajProwadzonejDokumentacjiRachunkowej, "3",
         "podatkowa księga przychodów i rozchodów"},
        {&cCzyLaczyWspolnoscMajatkowa, "1", "Nie"},
        {&cDanePodmiotuCzyPodatnikVAT, "0", "Tak"},
        {&cStopienNiepelnosprawnosci, "2", "znaczny"},
        {&cEmeryturaRenta, "1", "renta"},
        {&cDaneRachunkuCharakterRachunku, "0", "firmowy"},
        {&cDanePodmiotuFormaWplatyZaliczki, "2", "uproszczona"},
        {&cDaneAdresoweTypAdresu, "1,0,1", "Adres miejsca zameldowania / Adres do korespondencji"},
        {&cDaneAdresoweTypAdresu, "0,0,0", ""},
        {&cDaneAdresoweTypAdresu, "", ""},
        {&cDaneAdresoweTypAdresu, "0,1,0,1,1", "Adres miejsca zamieszkania"}, // flags past the words
        {&cDanePodmiotuTypNaczelnika2, "1,1",
         "do spraw ewidencji podatnikow / w zakresie podatku dochodowego od osób fizycznych"},
        {&cDanePodmiotuFormaOplacaniaPodatku, "0,0,0,0,1", "Podatek dochodowy od osób prawnych CIT"},
        {&cDaneAdresoweDzialanosciTypAdresu, "0,1,0", "Adres do doręczeń"},
        {&cDaneDokumentuTozsamosciRodzaj, "PaszportPolski", "paszport polski"},
        {&cDaneDokumentuTozsamosciRodzaj, "InnyDokument", "inny dokument potwierdzający tożsamość"},
        {&cDaneDokumentuTozsamosciRodzaj, "paszportpolski", ""},
        {&cDaneDokumentuTozsamosciRodzaj, "", ""},
        {&cDaneAdresoweWojewodztwo, "mazowieckie", "mazowieckie"},
        {&cUwagi, "a\r\nb", "a\r\nb"},
        // Dates as the windows show them; anything else as stored.
        {&cDanePodmiotuDataUrodzenia, "1980-02-29", "29.02.1980"},
        {&cDanePodmiotuDataUrodzenia, "1980-02-30", "1980-02-30"},
        // Account numbers in fours, joined by no-break spaces; a domestic one after its check digits.
        {&cDaneRachunkuNrRachunku, "61109010140000071219812874",
         "61\u00A01090\u00A01014\u00A00000\u00A00712\u00A01981\u00A02874"},
        {&cDanePodmiotuUS1RachunekVAT, "pl61 1090-1014 0000 0712 1981 2874",
         "PL61\u00A01090\u00A01014\u00A00000\u00A00712\u00A01981\u00A02874"},
        {&cDaneZUSNumerRachunku2, "DE89370400440532013000", "DE89\u00A03704\u00A00044\u00A00532\u00A00130\u00A000"},
        {&cDaneZUSNumerRachunku2, "jeszcze nie znany", "jeszcze nie znany"},
        {&cDaneZUSNazwaRachunku2, "61109010140000071219812874", "61109010140000071219812874"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DisplayText(*c.Field, QString::fromUtf8(c.Value)), QString::fromUtf8(c.Expected))
            << c.Field->Symbol.toStdString() << " = '" << c.Value << "'";
}

TEST(TreeBuild, AbsentListsLinksAndProvidersReadAsEmpty) {
    auto subject = Make<TSubject>();
    TEwidarTreeItem root;
    BuildTree(root, nullptr, nullptr, subject.get());
    EXPECT_EQ(StructuralNames(root),
              QStringList({"ColObywatelstwa", "ColDokumentyTozsamosci", "ColAdresy", "ColRodzajeDzialalnosci",
                           "ColAdresyDzialalnosci", "ColOddzialy", "ColNrIdentyfikacyjne", "ColSpolki",
                           "ColRachunkiBankowe", "SetDodatkowePolaPodmiotu"}));
    for (int i = 0; i < root.Count(); ++i) {
        if (root.Item(i)->Typ() != tiField) {
            EXPECT_EQ(root.Item(i)->Count(), 0) << root.Item(i)->Name().toStdString();
        }
    }
    EXPECT_EQ(root.ItemBySymbol(cReprezentanciCount.Symbol), nullptr);
    EXPECT_EQ(ValueOf(&root, cDanePodmiotuNazwisko.Symbol), "");
    // Unpruned, every field of the subject is there: 20 + 12 + 6 + 24 + 15 + 6 + 10.
    int fields = 0;
    for (int i = 0; i < root.Count(); ++i)
        fields += root.Item(i)->Typ() == tiField;
    EXPECT_EQ(fields, 93);

    // A root object without provider or registries changes nothing.
    auto db = Make<TFakeDataBase>();
    TEwidarTreeItem again;
    BuildTree(again, db.get(), nullptr, subject.get());
    EXPECT_EQ(ChildNames(again), ChildNames(root));
    TEwidarTreeItem none;
    BuildTree(none, db.get(), nullptr, nullptr);
    EXPECT_EQ(none.Count(), 0);
}

TEST(TreeBuild, BlankDatesAreEmptyAndPruneAway) {
    auto subject = Make<TSubject>();
    subject->Set(cDanePodmiotuDataUrodzenia.Symbol, QStringLiteral("H1990-05-06"));
    subject->Set(cDanePodmiotuDataRejestracji.Symbol, QStringLiteral("2001-01-02"));
    TEwidarTreeItem root;
    BuildTree(root, nullptr, nullptr, subject.get());
    EXPECT_EQ(ValueOf(&root, cDanePodmiotuDataUrodzenia.Symbol), "");
    root.RemoveEmpty();
    EXPECT_EQ(ChildNames(root), QStringList({"cDanePodmiotuDataRejestracji"}));
}

TEST(TreeBuild, CountsOfRepresentativesAndOfTheMatchingTaxpayersPeople) {
    auto db = Make<TInfoDataBase>();
    auto subject = Make<TSubject>();
    subject->ID = 7;
    auto other = Make<TSubject>();
    other->ID = 3;
    other->Kontrahenci = Make<TPeople<IKontrahenci>>(5);
    auto self = Make<TSubject>(); // the subject as the taxpayers list holds it
    self->ID = 7;
    self->Pracownicy = Make<TPeople<IPracownicy>>(3);
    self->Kontrahenci = Make<TPeople<IKontrahenci>>(0);
    auto taxpayers = ListOf<IPodatnicy>({other, self});
    db->Registries->Podatnicy = taxpayers;
    subject->Reprezentanci = ListOf<IReprezentanci>({});

    const auto counts = [&](IPodatnicy* Given) {
        TEwidarTreeItem root;
        BuildTree(root, db.get(), Given, subject.get());
        return QStringList({ValueOf(&root, cReprezentanciCount.Symbol),
                            ValueOf(&root, cKontrahenciCount.Symbol),
                            ValueOf(&root, cPracownicyCount.Symbol)});
    };
    // No taxpayers list given: the registry's list of all taxpayers is searched.
    EXPECT_EQ(counts(nullptr), QStringList({"<none>", "<none>", "3"}));
    EXPECT_GT(taxpayers->GetItemCalls, 0);
    subject->Reprezentanci = ListOf<IReprezentanci>({Make<TReprezentant>(), Make<TReprezentant>()});
    // A given list that does not hold the subject: nobody's taxpayer.
    EXPECT_EQ(counts(ListOf<IPodatnicy>({other}).get()), QStringList({"2", "<none>", "<none>"}));
    // A new subject (no identifier) matches no stored taxpayer.
    subject->ID = 0;
    self->ID = 0;
    EXPECT_EQ(counts(taxpayers.get()), QStringList({"2", "<none>", "<none>"}));
}

TEST(TreeBuild, UserFieldsGetColonsYesTextsAndBlankDatesInEveryKindTheyBelongTo) {
    auto db = Make<TInfoDataBase>();
    db->Provider->Kinds[21] = {{QStringLiteral("cNumer"), QStringLiteral("Numer"), QStringLiteral("ctEdit")},
                               {QStringLiteral("cVip"), QStringLiteral("VIP:"), QStringLiteral("ctCheckBox")},
                               {QStringLiteral("cData"), QStringLiteral("Data"), QStringLiteral("ctDate")}};
    db->Provider->Kinds[13] = {
        {QStringLiteral("cUdzialy"), QStringLiteral("Udziały"), QStringLiteral("ctEdit")}};
    db->Provider->Kinds[16] = {
        {QStringLiteral("cBank16"), QStringLiteral("Po rachunku"), QStringLiteral("ctEdit")}};
    auto subject = Make<TSubject>();
    subject->Set(QStringLiteral("cNumer"), QStringLiteral("A-1"))
        .Set(QStringLiteral("cVip"), QStringLiteral("x"));
    subject->Set(QStringLiteral("cData"), QStringLiteral("H2020-01-01"));

    auto partner = Make<TRecord<IWspolnik>>();
    partner->Set(cDaneWspolnikaNazwisko.Symbol, QStringLiteral("Nowak"))
        .Set(QStringLiteral("cUdzialy"), QStringLiteral("40"));
    auto spolka = Make<TSpolka>();
    spolka->Wspolnicy = ListOf<IWspolnicy>({partner});
    auto share = Make<TUdzial>();
    share->Spolka = spolka;
    auto shareWithoutCompany = Make<TUdzial>();
    subject->Spolki = ListOf<ISpolkiPodmiotu>({share, shareWithoutCompany});
    auto account = Make<TRachunek>();
    account->Bank = Make<TBank>();
    auto accountWithoutBank = Make<TRachunek>();
    subject->Rachunki = ListOf<IRachunkiBankowe>({account, accountWithoutBank});

    TEwidarTreeItem root;
    BuildTree(root, db.get(), nullptr, subject.get());
    const TTreeItem* extra = root.ItemBySymbol(QStringLiteral("SetDodatkowePolaPodmiotu"));
    ASSERT_TRUE(extra);
    ASSERT_EQ(extra->Count(), 3);
    EXPECT_EQ(extra->Item(0)->Typ(), tiUserField);
    EXPECT_EQ(extra->Item(0)->Description(), "Numer:");
    EXPECT_EQ(extra->Item(0)->Value(), "A-1");
    EXPECT_EQ(extra->Item(1)->Value(), "tak");
    EXPECT_EQ(extra->Item(2)->Value(), ""); // a blank user-defined date prints empty

    const TTreeItem* spolki = root.ItemBySymbol(QStringLiteral("ColSpolki"));
    ASSERT_EQ(spolki->Count(), 2);
    EXPECT_EQ(ChildNames(*spolki->Item(0)), QStringList({"cSpolkaPodmiotuUdzial", "SetSpolka"}));
    EXPECT_EQ(ChildNames(*spolki->Item(1)), QStringList({"cSpolkaPodmiotuUdzial"}));
    const TTreeItem* set = spolki->Item(0)->ItemBySymbol(QStringLiteral("SetSpolka"));
    EXPECT_EQ(set->Count(), 7); // six fields and the partners
    const TTreeItem* partners = set->ItemBySymbol(QStringLiteral("ColWspolnicy"));
    ASSERT_EQ(partners->Count(), 1);
    EXPECT_EQ(ChildNames(*partners->Item(0)),
              QStringList({"cDaneWspolnikaImie", "cDaneWspolnikaNazwisko", "cUdzialy"}));
    EXPECT_EQ(ValueOf(partners->Item(0), QStringLiteral("cUdzialy")), "40");

    const TTreeItem* accounts = root.ItemBySymbol(QStringLiteral("ColRachunkiBankowe"));
    EXPECT_EQ(ChildNames(*accounts->Item(0)),
              QStringList({"cDaneRachunkuCharakterRachunku", "cDaneRachunkuPosiadaczRachunku",
                           "cDaneRachunkuNrRachunku", "cDaneRachunkuSWIFT", "SetDaneBanku", "cBank16"}));
    EXPECT_EQ(accounts->Item(1)->ItemBySymbol(QStringLiteral("SetDaneBanku")), nullptr);
}

TEST(TreeBuild, LinkedRecordsOnlyWhenSetAndWithTheirOwnUserFields) {
    auto db = Make<TInfoDataBase>();
    db->Provider->Kinds[9] = {
        {QStringLiteral("cNfzExtra"), QStringLiteral("Oddział"), QStringLiteral("ctEdit")}};
    auto subject = Make<TSubject>();
    auto nfz = Make<TReferenced<IDaneNFZ>>();
    nfz->Set(cDaneNFZNazwa.Symbol, QStringLiteral("Mazowiecki OW"))
        .Set(QStringLiteral("cNfzExtra"), QStringLiteral("7"));
    subject->Nfz = nfz;
    subject->Przewazajaca = Make<TRecord<IRodzajDzialalnosci>>();
    TEwidarTreeItem root;
    BuildTree(root, db.get(), nullptr, subject.get());
    const TTreeItem* node = root.ItemBySymbol(QStringLiteral("SetDaneNFZ"));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->Typ(), tiRecord);
    EXPECT_EQ(ChildNames(*node), QStringList({"cDaneNFZNazwa", "cDaneNFZKod", "cNfzExtra"}));
    EXPECT_TRUE(root.ItemBySymbol(QStringLiteral("SetRodzajPrzewazajacejDzialalnosci")));
    for (const char* absent : {"SetDaneZUS", "SetUrzadStatystyczny", "SetSadRejonowy", "SetBiuroRachunkowe"})
        EXPECT_EQ(root.ItemBySymbol(QString::fromUtf8(absent)), nullptr) << absent;
    // The linked record without values goes with pruning.
    root.RemoveEmpty();
    EXPECT_EQ(StructuralNames(root), QStringList({"SetDaneNFZ"}));
}
