// The report text and its HTML page: sections and separators, indents, the column
// layout, and the safe handling of values (escaping, memo line breaks, UTF-8).

#include "InfoFakes.h"
#include "TestSupport.h"
#include "uGetPodatnikInfo.h"

#include <gtest/gtest.h>

namespace {

QString Text(IPodmiot* Subject, bool Prune = true, IEwidarDataBase* Db = nullptr) {
    return GetPodatnikInfo(Db, nullptr, nullptr, Subject, Prune, false, 3);
}

QStringList Lines(IPodmiot* Subject, bool Prune = true) {
    TEwidarTreeItem root;
    BuildTree(root, nullptr, nullptr, Subject);
    if (Prune)
        root.RemoveEmpty();
    return RenderReportLines(root);
}

QStringList PageCells(const QString& Page) {
    QStringList cells;
    for (QString cell : Page.split(QStringLiteral("<TD")).mid(1))
        cells.append(cell.left(cell.indexOf(QStringLiteral("</TD>"))));
    return cells;
}

} // namespace

TEST(Report, OnlyTheKindOfPersonGivesTheHeadingWithThatLineAndNothingElse) {
    auto s = Make<TSubject>();
    s->Set(cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol, QStringLiteral("0"));
    EXPECT_EQ(Text(s.get()), "Dane personalne\r\n  Dane osoby: osoba fizyczna\r\n");
}

TEST(Report, AnEmptySubjectGivesAnEmptyTextWithoutSeparators) {
    auto s = Make<TSubject>();
    EXPECT_TRUE(Lines(s.get()).isEmpty());
    EXPECT_EQ(Text(s.get()), "");
}

TEST(Report, SectionsSeparatorsAndIndentsOfAMixedSubject) {
    auto s = Make<TSubject>();
    s->Set(cDanePodmiotuNazwisko.Symbol, QStringLiteral("Wójcik"));
    s->Set(cDanePodmiotuNazwaFirmy.Symbol, QStringLiteral("Wójcik i S-ka"));
    s->Set(cDanePodmiotuTypNaczelnika1.Symbol, QStringLiteral("1,0"));
    s->Set(cDanePodmiotuNazwaUS1.Symbol, QStringLiteral("US Kraków"));
    s->Set(cDanePodmiotuCzyPodatnikVAT.Symbol, QStringLiteral("0"));
    s->Set(cUwagi.Symbol, QStringLiteral("Stały klient"));
    auto a1 = Make<TRecord<IAdres>>();
    a1->Set(cDaneAdresoweMiejscowosc.Symbol, QStringLiteral("Kraków"));
    auto a2 = Make<TRecord<IAdres>>();
    a2->Set(cDaneAdresoweUlica.Symbol, QStringLiteral("Długa"));
    auto adresy = Make<TList<IAdresy>>();
    adresy->Items = {a1, a2};
    s->Adresy = adresy;
    auto oddzial = Make<TRecord<IOddzial>>();
    oddzial->Set(cDaneOddzialuNazwa.Symbol, QStringLiteral("Filia"));
    auto oddzialy = Make<TList<IOddzialy>>();
    oddzialy->Items = {oddzial};
    s->Oddzialy = oddzialy;
    auto nfz = Make<TReferenced<IDaneNFZ>>();
    nfz->Set(cDaneNFZKod.Symbol, QStringLiteral("01"));
    s->Nfz = nfz;

    EXPECT_EQ(Lines(s.get()),
              QStringList({"Dane personalne",
                           "  Nazwisko: Wójcik",
                           "<HR>",
                           "Dane adresowe",
                           "  Adres",
                           "    Miejscowość: Kraków",
                           "<HR>",
                           "  Adres",
                           "    Ulica: Długa",
                           "<HR>",
                           "Dane firmy",
                           "  Dane wynikające z wpisu do ewidencji",
                           "    Nazwa pełna (firma): Wójcik i S-ka",
                           "  Oddziały / jednostki lokalne",
                           "    Oddział",
                           "      Nazwa oddziału / jednostki lokalnej: Filia",
                           "<HR>",
                           "Naczelnik urzędu skarbowego właściwy: do spraw ewidencji podatnikow",
                           "  Nazwa: US Kraków",
                           "<HR>",
                           "Dane NFZ",
                           "  Kod: 01",
                           "<HR>",
                           "Pozostale dane",
                           "  Czy jest podatnikiem VAT: Tak",
                           "<HR>",
                           "Uwagi: Stały klient"}));
}

TEST(Report, WithoutPruningEveryFieldAndCollectionHeadingIsShown) {
    auto s = Make<TSubject>();
    const QStringList lines = Lines(s.get(), false);
    for (const char* expected : {"Dane personalne", "  Nazwisko: ", "Obywatelstwa", "Dane adresowe",
                                 "Dokumenty potwierdzające tożsamość", "Dane firmy", "  Rodzaje działalności",
                                 "Spółki", "Rachunki bankowe", "Dane kontaktowe", "Uwagi: "})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected;
    // A company group without a registry entry, activities or branches still has its empty collections.
    EXPECT_FALSE(Lines(s.get(), true).contains(QStringLiteral("Dane firmy")));
}

TEST(Report, NeverTwoSeparatorsInARowNorOneAtEitherEnd) {
    // Every combination of four sections that each end with a separator.
    for (int mask = 0; mask < 16; ++mask) {
        auto s = Make<TSubject>();
        if (mask & 1)
            s->Set(cDanePodmiotuImieOjca.Symbol, QStringLiteral("Jan"));
        if (mask & 2)
            s->Set(cDanePodmiotuNrTelefonu.Symbol, QStringLiteral("123"));
        if (mask & 4)
            s->Obywatelstwa = Make<TList<IObywatelstwa>>();
        if (mask & 8)
            s->Set(cDanePodmiotuFormaWplatyZaliczki.Symbol, QStringLiteral("1"));
        const QStringList lines = Lines(s.get(), mask & 4 ? false : true);
        ASSERT_FALSE(lines.isEmpty() && mask != 0);
        if (lines.isEmpty())
            continue;
        EXPECT_NE(lines.first(), ReportSeparator) << mask;
        EXPECT_NE(lines.last(), ReportSeparator) << mask;
        for (qsizetype i = 1; i < lines.size(); ++i)
            EXPECT_FALSE(lines[i] == ReportSeparator && lines[i - 1] == ReportSeparator)
                << mask << " at " << i;
    }
}

TEST(Report, PlainTextTurnsSeparatorsIntoEmptyLinesAndKeepsTypedMarkup) {
    auto s = Make<TSubject>();
    s->Set(cDanePodmiotuNazwisko.Symbol, QStringLiteral("A<HR>b<hr>"));
    s->Set(cDanePodmiotuNrTelefonu.Symbol, QStringLiteral("5"));
    EXPECT_EQ(Text(s.get()),
              "Dane personalne\r\n  Nazwisko: A<HR>b<hr>\r\n\r\nDane kontaktowe\r\n  Numer telefonu: 5\r\n");
}

TEST(Report, CompaniesPartnersAndAccountsStandAtTheirIndents) {
    auto s = Make<TSubject>();
    auto partner = Make<TRecord<IWspolnik>>();
    partner->Set(cDaneWspolnikaImie.Symbol, QStringLiteral("Ewa"));
    auto partners = Make<TList<IWspolnicy>>();
    partners->Items = {partner};
    auto spolka = Make<TSpolka>();
    spolka->Set(cDaneSpolkiNazwa.Symbol, QStringLiteral("ABC"));
    spolka->Wspolnicy = partners;
    auto share = Make<TUdzial>();
    share->Set(cSpolkaPodmiotuUdzial.Symbol, QStringLiteral("50"));
    share->Spolka = spolka;
    auto spolki = Make<TList<ISpolkiPodmiotu>>();
    spolki->Items = {share};
    s->Spolki = spolki;
    auto bank = Make<TBank>();
    bank->Set(cDaneBankuNazwa.Symbol, QStringLiteral("PKO"));
    auto account = Make<TRachunek>();
    account->Set(cDaneRachunkuCharakterRachunku.Symbol, QStringLiteral("1"));
    account->Bank = bank;
    auto accounts = Make<TList<IRachunkiBankowe>>();
    accounts->Items = {account};
    s->Rachunki = accounts;
    EXPECT_EQ(Lines(s.get()),
              QStringList({"Spółki", "  Spolka", "    Udział (w %) w przychodach spółki: 50",
                           "    Nazwa pełna spółki: ABC", "      Wspolnik", "        Imię: Ewa", "<HR>",
                           "Rachunki bankowe", "  Rachunek bankowy", "    Charakter rachunku: osobisty",
                           "    Pełna nazwa banku (oddziału) / SKOK: PKO"}));
}

TEST(ReportPage, ParagraphsCarryTheIndentAsMarginAndTheValueInBold) {
    const QString page = BuildHtmlPage(QStringList({"    Kod: 01", "Dane NFZ", "<HR>"}), 1);
    EXPECT_TRUE(page.contains(
        QStringLiteral("<P style=\"text-indent: -10px; margin-left: 50px\">    Kod:<B> 01</B></P>")));
    EXPECT_TRUE(page.contains(
        QStringLiteral("<P style=\"text-indent: -10px; margin-left: 10px\"><B>Dane NFZ</B></P>")));
    EXPECT_TRUE(
        page.contains(QStringLiteral("<P style=\"text-indent: -10px; margin-left: 10px\"><B><HR></B></P>")));
    // The value is everything after the first colon.
    EXPECT_TRUE(
        BuildHtmlPage(QStringList({"Godzina: 10:30"}), 1).contains(QStringLiteral("Godzina:<B> 10:30</B>")));
}

TEST(ReportPage, IsUtf8AndEscapesEveryValueAndDescription) {
    auto db = Make<TInfoDataBase>();
    db->Provider->Kinds[21] = {
        {QStringLiteral("cX"), QStringLiteral("Próg <5> & \"więcej\""), QStringLiteral("ctEdit")}};
    auto s = Make<TSubject>();
    s->Set(cDanePodmiotuNazwisko.Symbol, QStringLiteral("<b>Kowalski</b> & \"Syn\" 'Ł'"));
    s->Set(QStringLiteral("cX"), QStringLiteral("<script>alert(1)</script>"));
    const QString page = GetPodatnikInfo(db.get(), nullptr, nullptr, s.get(), true, true, 3);
    EXPECT_TRUE(page.contains(QStringLiteral("charset=UTF-8")));
    EXPECT_FALSE(page.contains(QStringLiteral("1250")));
    EXPECT_TRUE(page.contains(
        QStringLiteral("Nazwisko:<B> &lt;b&gt;Kowalski&lt;/b&gt; &amp; &quot;Syn&quot; 'Ł'</B>")));
    EXPECT_TRUE(page.contains(QStringLiteral("Próg &lt;5&gt; &amp; &quot;więcej&quot;:<B> &lt;script&gt;")));
    EXPECT_FALSE(page.contains(QStringLiteral("<b>")));
    EXPECT_FALSE(page.contains(QStringLiteral("<script")));
}

TEST(ReportPage, MemoLinesBreakInsideTheirParagraph) {
    auto s = Make<TSubject>();
    s->Set(cUwagi.Symbol, QStringLiteral("pierwsza: a\r\ndruga <x>\nKod: 3\rczwarta"));
    const QString page = GetPodatnikInfo(nullptr, nullptr, nullptr, s.get(), true, true, 3);
    EXPECT_TRUE(page.contains(
        QStringLiteral("Uwagi:<B> pierwsza: a<BR>druga &lt;x&gt;<BR>Kod: 3<BR>czwarta</B></P>")));
    EXPECT_EQ(Text(s.get()), "Uwagi: pierwsza: a\r\ndruga <x>\r\nKod: 3\r\nczwarta\r\n");
}

TEST(ReportPage, ColumnsShareTheLinesAndAColumnCountBelowOneIsOne) {
    QStringList lines;
    for (int i = 1; i <= 10; ++i)
        lines.append(QStringLiteral("L%1").arg(i));
    const QString page = BuildHtmlPage(lines, 3);
    const QStringList cells = PageCells(page);
    ASSERT_EQ(cells.size(), 3);
    EXPECT_EQ(cells[0].count(QStringLiteral("<P ")), 4);
    EXPECT_EQ(cells[1].count(QStringLiteral("<P ")), 4);
    EXPECT_EQ(cells[2].count(QStringLiteral("<P ")), 2);
    EXPECT_TRUE(cells[0].startsWith(QStringLiteral(" style=\"vertical-align: Top; width:33%\">")));
    EXPECT_TRUE(cells[2].startsWith(QStringLiteral(" style=\"vertical-align: Top\">")));
    EXPECT_TRUE(cells[1].contains(QStringLiteral("<B>L5</B>")) &&
                cells[2].contains(QStringLiteral("<B>L10</B>")));
    for (int columns : {0, -4, 1}) {
        const QStringList one = PageCells(BuildHtmlPage(lines, columns));
        ASSERT_EQ(one.size(), 1) << columns;
        EXPECT_EQ(one[0].count(QStringLiteral("<P ")), 10);
    }
    // Lines of a report text give the same page as the list; a trailing break starts no line.
    EXPECT_EQ(BuildHtmlPage(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), 3), page);
    EXPECT_EQ(PageCells(BuildHtmlPage(QString(), 2)).join(QString()).count(QStringLiteral("<P ")), 0);
}

// A column never starts inside a group of field lines, with a separator or under a lone
// heading: the address stays whole with its heading although an even share would cut it.
TEST(ReportPage, AColumnStartsOnlyBeforeAHeadingATitleOrASeparator) {
    QStringList lines = {"Dane personalne", "  Nazwisko: Nowak", "<HR>", "Dane adresowe", "  Adres"};
    for (const char* field : {"Kraj: Polska", "Gmina: Kłodzko", "Miejscowość: Kłodzko", "Ulica: Wąska",
                              "Nr domu: 1", "Kod pocztowy: 57-300", "Poczta: Kłodzko"})
        lines.append(QStringLiteral("    ") + QString::fromUtf8(field));
    lines << "<HR>" << "Dane kontaktowe" << "  Telefon: 1" << "  Faks: 2";
    const QStringList cells = PageCells(BuildHtmlPage(lines, 3));
    ASSERT_EQ(cells.size(), 3);
    const auto paragraphs = [](const QString& Cell) { return Cell.count(QStringLiteral("<P ")); };
    EXPECT_EQ(paragraphs(cells[0]), 3);  // up to the separator after the personal data
    EXPECT_EQ(paragraphs(cells[1]), 10); // the heading, the title, seven lines, the separator
    EXPECT_TRUE(cells[1].contains(QStringLiteral("<B>Dane adresowe</B>")) &&
                cells[1].contains(QStringLiteral("<B>  Adres</B>")) && cells[1].contains(QStringLiteral("57-300")));
    EXPECT_EQ(paragraphs(cells[2]), 3);
    EXPECT_EQ(paragraphs(cells.join(QString())), lines.size());
}

TEST(ReportPage, IsTitledWithTheSubjectsFirmOrName) {
    auto person = Make<TSubject>();
    person->Set(cDanePodmiotuNazwisko.Symbol, QStringLiteral("Kowalski"));
    person->Set(cDanePodmiotuPierwszeImie.Symbol, QStringLiteral("Jan <Ł>"));
    EXPECT_TRUE(GetPodatnikInfo(nullptr, nullptr, nullptr, person.get(), true, true, 3)
                    .contains(QStringLiteral("<TITLE>Informacja o podmiocie: Kowalski Jan &lt;Ł&gt;</TITLE>")));
    person->Set(cDanePodmiotuNazwaFirmy.Symbol, QStringLiteral("Kowalski i Syn sp. j."));
    EXPECT_TRUE(GetPodatnikInfo(nullptr, nullptr, nullptr, person.get(), true, true, 3)
                    .contains(QStringLiteral("<TITLE>Informacja o podmiocie: Kowalski i Syn sp. j.</TITLE>")));
    EXPECT_TRUE(GetPodatnikInfo(nullptr, nullptr, nullptr, Make<TSubject>().get(), true, true, 3)
                    .contains(QStringLiteral("<TITLE>Informacja o podmiocie</TITLE>")));
}
