// The subject information report: the structure tree as text lines with headings,
// item titles and separators, and the HTML page that lays the lines out in columns.

#include "uGetPodatnikInfo.h"

#include "uGetPodatnikInfoSymbols.h"

namespace {

using TSymbols = PodatnikInfoSymbols::TSymbolList;
namespace Groups = PodatnikInfoSymbols;

const QString kItem = QStringLiteral("Item");

QString Indent(int Spaces) {
    return QString(Spaces, QLatin1Char(' '));
}

// Memo values may carry any line break; inside a report line they are "\n".
QString NormalizedBreaks(const QString& Value) {
    QString v = Value;
    v.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    v.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return v;
}

QString FieldLine(const TTreeItem& Node) {
    return Node.Description() + QLatin1Char(' ') + NormalizedBreaks(Node.Value());
}

// The field lines of the listed symbols that Node has, in list order.
QStringList Gather(const TTreeItem* Node, const TSymbols& Symbols) {
    QStringList lines;
    if (!Node)
        return lines;
    for (const TInternalFieldRecord* s : Symbols)
        if (const TTreeItem* field = Node->ItemBySymbol(s->Symbol))
            lines.append(FieldLine(*field));
    return lines;
}

bool IsBlank(const QStringList& Lines) {
    return Lines.join(QString()).trimmed().isEmpty();
}

class TReportWriter {
public:
    explicit TReportWriter(const TTreeItem& Root) : m_root(Root) {}

    QStringList Lines;

    void Line(const QString& Text, int Spaces = 0) { Lines.append(Indent(Spaces) + Text); }

    // Nothing to separate at the very start, and never two separators in a row.
    void Separator() {
        if (!Lines.isEmpty() && Lines.last() != ReportSeparator)
            Lines.append(ReportSeparator);
    }

    // A heading and the field lines at an indent of 2; nothing when every line is blank.
    bool Simple(const TTreeItem* Node, const QString& Heading, const TSymbols& Symbols) {
        const QStringList gathered = Gather(Node, Symbols);
        if (IsBlank(gathered))
            return false;
        Line(Heading);
        for (const QString& l : gathered)
            Line(l, 2);
        return true;
    }

    // A heading (also for no items), then per item its title and every field line.
    bool Collection(const QString& Name, const QString& Heading, const QString& Title,
                    bool SeparatorAfterEachItem = false) {
        const TTreeItem* node = m_root.ItemBySymbol(Name);
        if (!node)
            return false;
        Line(Heading);
        for (int i = 0; i < node->Count(); ++i) {
            const TTreeItem* item = node->Item(i);
            if (item->Name() != kItem)
                continue;
            Line(Title, 2);
            for (int f = 0; f < item->Count(); ++f)
                Line(FieldLine(*item->Item(f)), 4);
            if (SeparatorAfterEachItem)
                Separator();
        }
        return true;
    }

    // The first gathered line stands as the heading, the others follow at an indent of 2.
    bool TaxOffice(const TSymbols& Symbols) {
        const QStringList gathered = Gather(&m_root, Symbols);
        if (IsBlank(gathered))
            return false;
        Line(gathered.first());
        for (qsizetype i = 1; i < gathered.size(); ++i)
            Line(gathered.at(i), 2);
        return true;
    }

    // The field lines of Node's children, except the one named Skip, at an indent.
    void Children(const TTreeItem& Node, int Spaces, const QString& Skip = QString()) {
        for (int i = 0; i < Node.Count(); ++i)
            if (Skip.isEmpty() || Node.Item(i)->Name() != Skip)
                Line(FieldLine(*Node.Item(i)), Spaces);
    }

    const TTreeItem& Root() const { return m_root; }

private:
    const TTreeItem& m_root;
};

void CompanyGroup(TReportWriter& W) {
    const TTreeItem& root = W.Root();
    TReportWriter group(root);
    group.Simple(&root, QStringLiteral("Dane wynikające z wpisu do ewidencji"), Groups::Registry());
    if (const TTreeItem* pkd = root.ItemBySymbol(QStringLiteral("SetRodzajPrzewazajacejDzialalnosci")))
        group.Simple(pkd, QStringLiteral("Rodzaj przeważającej działalności"),
                     {&cRodzajDzialalnosciKodPKD, &cRodzajDzialalnosciOpisPKD});
    group.Collection(QStringLiteral("ColRodzajeDzialalnosci"), QStringLiteral("Rodzaje działalności"),
                     QStringLiteral("Rodzaj działalności"));
    group.Collection(QStringLiteral("ColAdresyDzialalnosci"), QStringLiteral("Adresy działalności"),
                     QStringLiteral("Adres działalności"));
    group.Collection(QStringLiteral("ColOddzialy"), QStringLiteral("Oddziały / jednostki lokalne"),
                     QStringLiteral("Oddział"));
    if (IsBlank(group.Lines))
        return;
    W.Line(QStringLiteral("Dane firmy"));
    for (const QString& l : group.Lines)
        W.Line(l, 2);
    W.Separator();
}

void LinkedRecords(TReportWriter& W) {
    const TTreeItem& root = W.Root();
    if (const TTreeItem* zus = root.ItemBySymbol(QStringLiteral("SetDaneZUS"))) {
        W.Simple(zus, QStringLiteral("Dane zakładu ubezpieczeń społecznych"),
                 {&cDaneZUSNazwa, &cDaneZUSAdres});
        W.Simple(zus, QStringLiteral("Rachunki bankowe zakładu ubezpieczeń społecznych"),
                 {&cDaneZUSNazwaRachunku1, &cDaneZUSNumerRachunku1, &cDaneZUSNazwaRachunku2,
                  &cDaneZUSNumerRachunku2, &cDaneZUSNazwaRachunku3, &cDaneZUSNumerRachunku3,
                  &cDaneZUSNazwaRachunku4, &cDaneZUSNumerRachunku4});
        W.Separator();
    }
    struct TLinked {
        const char* Name;
        const char* Heading;
        TSymbols Symbols;
    };
    const TLinked linked[] = {
        {"SetUrzadStatystyczny",
         "Dane urzędu statystycznego",
         {&cDaneUrzeduStatystycznegoNazwa, &cDaneUrzeduStatystycznegoAdres}},
        {"SetDaneNFZ", "Dane NFZ", {&cDaneNFZNazwa, &cDaneNFZKod}},
        {"SetSadRejonowy", "Dane sądu rejonowego", {&cDaneSaduRejonowegoNazwa, &cDaneSaduRejonowegoAdres}},
    };
    for (const TLinked& l : linked)
        if (const TTreeItem* node = root.ItemBySymbol(QString::fromUtf8(l.Name))) {
            W.Simple(node, QString::fromUtf8(l.Heading), l.Symbols);
            W.Separator();
        }
}

void TaxData(TReportWriter& W) {
    const TTreeItem& root = W.Root();
    if (W.Simple(&root, QStringLiteral("Pozostałe dane podatkowe"), Groups::TaxForms()))
        W.Separator();
    if (W.Simple(&root, QStringLiteral("Adres miejsca przechowywania dokumentacji rachunkowej"),
                 Groups::AccountingAddress()))
        W.Separator();
    if (const TTreeItem* biuro = root.ItemBySymbol(QStringLiteral("SetBiuroRachunkowe"))) {
        W.Simple(biuro, QStringLiteral("Biuro rachunkowe"),
                 {&cBiuroRachunkoweKodKrajuNadaniaNumeru, &cBiuroRachunkoweNIP, &cBiuroRachunkoweNazwa,
                  &cBiuroRachunkoweNazwisko, &cBiuroRachunkoweImie});
        W.Separator();
    }
    if (W.Collection(QStringLiteral("ColNrIdentyfikacyjne"),
                     QStringLiteral("Numery identyfikacyjne uzyskane w innych krajach"),
                     QStringLiteral("Numer identyfikacyjny")))
        W.Separator();
    if (W.Simple(&root, QStringLiteral("Pozostale dane"), Groups::OtherTax()))
        W.Separator();
}

void CompaniesAndAccounts(TReportWriter& W) {
    if (const TTreeItem* spolki = W.Root().ItemBySymbol(QStringLiteral("ColSpolki"))) {
        W.Line(QStringLiteral("Spółki"));
        for (int i = 0; i < spolki->Count(); ++i) {
            const TTreeItem& item = *spolki->Item(i);
            W.Line(QStringLiteral("Spolka"), 2);
            W.Children(item, 4, QStringLiteral("SetSpolka"));
            const TTreeItem* set = item.ItemBySymbol(QStringLiteral("SetSpolka"));
            if (!set)
                continue;
            W.Children(*set, 4, QStringLiteral("ColWspolnicy"));
            if (const TTreeItem* partners = set->ItemBySymbol(QStringLiteral("ColWspolnicy")))
                for (int p = 0; p < partners->Count(); ++p) {
                    W.Line(QStringLiteral("Wspolnik"), 6);
                    W.Children(*partners->Item(p), 8);
                }
        }
        W.Separator();
    }
    if (const TTreeItem* accounts = W.Root().ItemBySymbol(QStringLiteral("ColRachunkiBankowe"))) {
        W.Line(QStringLiteral("Rachunki bankowe"));
        for (int i = 0; i < accounts->Count(); ++i) {
            const TTreeItem& item = *accounts->Item(i);
            W.Line(QStringLiteral("Rachunek bankowy"), 2);
            W.Children(item, 4, QStringLiteral("SetDaneBanku"));
            if (const TTreeItem* bank = item.ItemBySymbol(QStringLiteral("SetDaneBanku")))
                W.Children(*bank, 4);
        }
        W.Separator();
    }
}

void Closing(TReportWriter& W) {
    const TTreeItem& root = W.Root();
    for (const QString& l : Gather(&root, {&cReprezentanciCount, &cKontrahenciCount, &cPracownicyCount}))
        W.Line(l);
    W.Separator();
    W.Simple(&root, QStringLiteral("Pozostale dane - personalne"), Groups::PersonalOther());
    W.Simple(&root, QStringLiteral("Informacje o stopniu niesprawności"), Groups::Disability());
    W.Simple(&root, QStringLiteral("Informacje o emeryturze / rencie"), Groups::Pension());
    for (const QString& l : Gather(&root, {&cUwagi}))
        W.Line(l);
    if (const TTreeItem* extra = root.ItemBySymbol(QStringLiteral("SetDodatkowePolaPodmiotu")))
        W.Children(*extra, 0);
}

// One report line as a paragraph: indented by its leading blanks, the value in bold.
QString Paragraph(const QString& Line) {
    qsizetype blanks = 0;
    while (blanks < Line.size() && Line.at(blanks) <= QLatin1Char(' '))
        ++blanks;
    const auto esc = [](const QString& s) {
        return s.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<BR>"));
    };
    QString body;
    if (Line == ReportSeparator) {
        body = QStringLiteral("<B><HR></B>");
    } else {
        const qsizetype colon = Line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            body = QStringLiteral("<B>") + esc(Line) + QStringLiteral("</B>");
        else
            body = esc(Line.left(colon + 1)) + QStringLiteral("<B>") + esc(Line.mid(colon + 1)) +
                   QStringLiteral("</B>");
    }
    return QStringLiteral("<P style=\"text-indent: -10px; margin-left: %1px\">").arg((blanks + 1) * 10) +
           body + QStringLiteral("</P>");
}

QString JoinLines(const QStringList& Lines) {
    QString text;
    for (const QString& line : Lines)
        text += QString(line).replace(QLatin1Char('\n'), QLatin1String("\r\n")) + QLatin1String("\r\n");
    return text;
}

} // namespace

QStringList RenderReportLines(const TTreeItem& Root) {
    TReportWriter w(Root);
    w.Simple(&Root, QStringLiteral("Dane personalne"), Groups::Personal());
    w.Separator();
    w.Collection(QStringLiteral("ColAdresy"), QStringLiteral("Dane adresowe"), QStringLiteral("Adres"), true);
    if (w.Collection(QStringLiteral("ColObywatelstwa"), QStringLiteral("Obywatelstwa"),
                     QStringLiteral("Obywatelstwo")))
        w.Separator();
    if (w.Collection(QStringLiteral("ColDokumentyTozsamosci"),
                     QStringLiteral("Dokumenty potwierdzające tożsamość"), QStringLiteral("Dokument")))
        w.Separator();
    CompanyGroup(w);
    if (w.Simple(&Root, QStringLiteral("Dane kontaktowe"), Groups::Contact()))
        w.Separator();
    if (w.TaxOffice(Groups::TaxOffice(1)))
        w.Separator();
    if (w.TaxOffice(Groups::TaxOffice(2)))
        w.Separator();
    LinkedRecords(w);
    TaxData(w);
    CompaniesAndAccounts(w);
    Closing(w);
    if (!w.Lines.isEmpty() && w.Lines.last() == ReportSeparator)
        w.Lines.removeLast();
    return w.Lines;
}

QString RenderReport(const TTreeItem& Root) {
    return JoinLines(RenderReportLines(Root));
}

namespace {

qsizetype IndentOf(const QString& Line) {
    qsizetype blanks = 0;
    while (blanks < Line.size() && Line.at(blanks) == QLatin1Char(' '))
        ++blanks;
    return blanks;
}

bool IsFieldLine(const QString& Line) {
    return Line != ReportSeparator && Line.contains(QLatin1Char(':'));
}

// A column may start after a separator, or at a heading or an item's title that does not
// follow its own heading, or at a line of no indent: never inside a group of field lines
// (an address stays in one column), never with a separator, never under a lone heading.
bool ColumnMayStartAt(const QStringList& Lines, qsizetype Index) {
    if (Index <= 0 || Index >= Lines.size())
        return true;
    const QString& line = Lines.at(Index);
    const QString& before = Lines.at(Index - 1);
    if (line == ReportSeparator)
        return false;
    if (before == ReportSeparator)
        return true;
    const bool underHeading = !IsFieldLine(before) && IndentOf(before) < IndentOf(line);
    if (underHeading)
        return false;
    return !IsFieldLine(line) || IndentOf(line) == 0;
}

// Where column j ends: about an even share of lines, moved back to the nearest place a
// column may start, or forward when a single group is longer than a share.
qsizetype ColumnEnd(const QStringList& Lines, qsizetype Start, qsizetype Share) {
    const qsizetype target = std::min(Start + Share, Lines.size());
    for (qsizetype end = target; end > Start; --end)
        if (ColumnMayStartAt(Lines, end))
            return end;
    qsizetype end = target;
    while (end < Lines.size() && !ColumnMayStartAt(Lines, end))
        ++end;
    return end;
}

} // namespace

QString BuildHtmlPage(const QStringList& Lines, int Columns, const QString& Title) {
    const qsizetype columns = std::max(Columns, 1);
    const qsizetype perColumn = Lines.size() / columns + 1;
    QStringList page = {
        QStringLiteral("<HTML><HEAD>"),
        QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html;charset=UTF-8\">"),
    };
    if (!Title.isEmpty())
        page.append(QStringLiteral("<TITLE>") + Title.toHtmlEscaped() + QStringLiteral("</TITLE>"));
    page << QStringLiteral("<style>p{font: 12px Arial, Verdana}</style>") << QStringLiteral("</HEAD>")
         << QStringLiteral("<BODY style=\"font: 12px Arial, Verdana\"><TABLE WIDTH=100% BORDER=1 CELLPADDING=4 "
                           "CELLSPACING=3><TR>");
    qsizetype next = 0;
    for (qsizetype j = 1; j <= columns; ++j) {
        page.append(j < columns
                        ? QStringLiteral("<TD style=\"vertical-align: Top; width:%1%\">").arg(100 / columns)
                        : QStringLiteral("<TD style=\"vertical-align: Top\">"));
        const qsizetype end = j < columns ? ColumnEnd(Lines, next, perColumn) : Lines.size();
        while (next < end)
            page.append(Paragraph(Lines.at(next++)));
        page.append(QStringLiteral("</TD>"));
    }
    page.append(QStringLiteral("</TR></TABLE></BODY></HTML>"));
    return JoinLines(page);
}

QString BuildHtmlPage(const QString& Text, int Columns) {
    QStringList lines = NormalizedBreaks(Text).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the break after the last line starts no line of its own
    return BuildHtmlPage(lines, Columns);
}

QString SubjectName(const TTreeItem& Root) {
    const auto value = [&Root](const TInternalFieldRecord& Field) {
        const TTreeItem* item = Root.ItemBySymbol(Field.Symbol);
        return item ? item->Value().simplified() : QString();
    };
    const QString firm = value(cDanePodmiotuNazwaFirmy);
    if (!firm.isEmpty())
        return firm;
    return QStringList({value(cDanePodmiotuNazwisko), value(cDanePodmiotuPierwszeImie)}).join(u' ').trimmed();
}

QString ReportTitle(const TTreeItem& Root) {
    const QString name = SubjectName(Root);
    return name.isEmpty() ? QStringLiteral("Informacja o podmiocie")
                          : QStringLiteral("Informacja o podmiocie: ") + name;
}

QString GetPodatnikInfo(IEwidarDataBase* DataBase, IPodmioty* Subjects, IPodatnicy* Taxpayers,
                        IPodmiot* Subject, bool Prune, bool Html, int Columns) {
    Q_UNUSED(Subjects);
    TEwidarTreeItem root;
    BuildTree(root, DataBase, Taxpayers, Subject);
    if (Prune)
        root.RemoveEmpty();
    QStringList lines = RenderReportLines(root);
    if (Html)
        return BuildHtmlPage(lines, Columns, ReportTitle(root));
    // Separator lines become empty lines; values keep whatever they hold.
    for (QString& line : lines)
        if (line == ReportSeparator)
            line.clear();
    return JoinLines(lines);
}
