#include "uSqlDescribe.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlKinds.h"

#include <QHash>

#include <array>

namespace SqlDescribe {

namespace {

using namespace SqlKinds;

constexpr QChar kSeparator = QChar(0x1F); // unit separator: never typed into a filter

QString Join(const QString& a, const QString& b, const QString& sep = QStringLiteral(" ")) {
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + sep + b;
}

QString Street(const TSource& s, const TInternalFieldRecord& ulica, const TInternalFieldRecord& dom,
               const TInternalFieldRecord& lokal) {
    QString number = s.own(dom.Symbol).trimmed();
    number = Join(number, s.own(lokal.Symbol).trimmed(), QStringLiteral("/"));
    return Join(s.own(ulica.Symbol).trimmed(), number);
}

QString DocumentKind(const TSource& s) {
    const QString symbol = s.own(cDaneDokumentuTozsamosciRodzaj.Symbol);
    if (symbol == cRodzajDokumentuInnyDokument.Symbol) {
        const QString other = s.own(cDaneDokumentuTozsamosciRodzajInny.Symbol).trimmed();
        if (!other.isEmpty())
            return other;
    }
    for (const TComboBoxSymbolItemRecord& item : IdentityDocumentItems())
        if (!item.Symbol.isEmpty() && item.Symbol == symbol)
            return item.Caption;
    return symbol;
}

QString SubjectName(const TSource& s) {
    const QString opis = s.own(cDanePodmiotuOpis.Symbol).trimmed();
    if (!opis.isEmpty())
        return opis;
    QString firma = s.own(cDanePodmiotuNazwaFirmy.Symbol).trimmed();
    if (firma.isEmpty())
        firma = s.own(cDanePodmiotuSkroconaNazwaFirmy.Symbol).trimmed();
    const QString osoba = Join(s.own(cDanePodmiotuPierwszeImie.Symbol).trimmed(),
                               s.own(cDanePodmiotuNazwisko.Symbol).trimmed());
    const bool prawna = s.own(cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol) == QStringLiteral("1");
    if (prawna)
        return firma.isEmpty() ? osoba : firma;
    return osoba.isEmpty() ? firma : osoba;
}

// The identifier that matters for the subject: PESEL when it is the proper tax
// identifier, otherwise NIP, then PESEL, then REGON.
QString SubjectNumber(const TSource& s) {
    const QString pesel = s.own(cDanePodmiotuPESEL.Symbol).trimmed();
    if (s.own(cDanePodmiotuWlasciwyIdentyfikatorPodatkowy.Symbol) == QStringLiteral("0") && !pesel.isEmpty())
        return pesel;
    for (const QString& v :
         {s.own(cDanePodmiotuNIP.Symbol).trimmed(), s.own(cDanePodmiotuNIPOF.Symbol).trimmed(), pesel,
          s.own(cDanePodmiotuREGON.Symbol).trimmed()})
        if (!v.isEmpty())
            return v;
    return {};
}

QString SubjectCity(const TSource& s) {
    const QString city = s.firstSection(kAdres, cDaneAdresoweMiejscowosc.Symbol).trimmed();
    if (!city.isEmpty())
        return city;
    return s.firstSection(kAdresDzialalnosci, cDaneAdresoweDzialanosciMiejscowosc.Symbol).trimmed();
}

QStringList Own(const TSource& s, std::initializer_list<const TInternalFieldRecord*> fields) {
    QStringList lines;
    for (const TInternalFieldRecord* f : fields)
        lines.append(s.own(f->Symbol).trimmed());
    return lines;
}

} // namespace

QStringList Lines(int Position, const TSource& s) {
    switch (Position) {
    case kObywatelstwo:
        return Own(s, {&cObywatelstwo});
    case kDokumentTozsamosci:
        return {DocumentKind(s), s.own(cDaneDokumentuTozsamosciSeria.Symbol).trimmed(),
                s.own(cDaneDokumentuTozsamosciNumer.Symbol).trimmed()};
    case kAdres:
        return {s.own(cDaneAdresoweMiejscowosc.Symbol).trimmed(),
                Street(s, cDaneAdresoweUlica, cDaneAdresoweNrDomu, cDaneAdresoweNrLokalu)};
    case kAdresDzialalnosci:
        return {s.own(cDaneAdresoweDzialanosciMiejscowosc.Symbol).trimmed(),
                Street(s, cDaneAdresoweDzialanosciUlica, cDaneAdresoweDzialanosciNrDomu,
                       cDaneAdresoweDzialanosciNrLokalu)};
    case kOddzial:
        return Own(s, {&cDaneOddzialuNazwa, &cDaneOddzialuREGON});
    case kRodzajDzialalnosci:
        return Own(s, {&cRodzajDzialalnosciKodPKD, &cRodzajDzialalnosciOpisPKD});
    case kDaneZUS:
        return Own(s, {&cDaneZUSNazwa, &cDaneZUSAdres});
    case kUrzadStatystyczny:
        return Own(s, {&cDaneUrzeduStatystycznegoNazwa, &cDaneUrzeduStatystycznegoAdres});
    case kDaneNFZ:
        return Own(s, {&cDaneNFZKod, &cDaneNFZNazwa});
    case kSadRejonowy:
        return Own(s, {&cDaneSaduRejonowegoNazwa, &cDaneSaduRejonowegoAdres});
    case kDaneBanku:
        return Own(s, {&cDaneBankuNazwa, &cDaneBankuAdres});
    case kNrIdentyfikacyjny:
        return Own(s, {&cDaneNumeruIdentyfikacyjnegoKraj, &cDaneNumeruIdentyfikacyjnegoNumer});
    case kWspolnik:
        return Own(s, {&cDaneWspolnikaImie, &cDaneWspolnikaNazwisko});
    case kSpolka:
        return Own(s, {&cDaneSpolkiNazwa, &cDaneSpolkiREGON});
    case kSpolkaPodmiotu:
        return {s.linked(lrSpolka, cDaneSpolkiNazwa.Symbol).trimmed(),
                s.linked(lrSpolka, cDaneSpolkiREGON.Symbol).trimmed()};
    case kRachunekBankowy:
        return {s.own(cDaneRachunkuNrRachunku.Symbol).trimmed(),
                s.linked(lrDaneBanku, cDaneBankuNazwa.Symbol).trimmed()};
    case kDaneZamawiajacego:
        return Own(s, {&cDaneZamawiajacegoImie, &cDaneZamawiajacegoNazwisko});
    case kReprezentant: {
        // The representing person's name, as the representative's window shows it; a name
        // stored on the representative itself serves when no person is linked.
        const QStringList person = {s.linked(lrPodmiot, cDanePodmiotuPierwszeImie.Symbol).trimmed(),
                                    s.linked(lrPodmiot, cDanePodmiotuNazwisko.Symbol).trimmed()};
        if (!person.join(QString()).isEmpty())
            return person;
        return Own(s, {&cDanePodmiotuPierwszeImie, &cDanePodmiotuNazwisko});
    }
    case kBiuroRachunkowe: {
        QString name = s.own(cBiuroRachunkoweNazwa.Symbol).trimmed();
        if (name.isEmpty())
            name = Join(s.own(cBiuroRachunkoweImie.Symbol).trimmed(),
                        s.own(cBiuroRachunkoweNazwisko.Symbol).trimmed());
        return {name, s.own(cBiuroRachunkoweNIP.Symbol).trimmed()};
    }
    case kPodmiot:
        return {SubjectName(s), SubjectNumber(s), SubjectCity(s)};
    default:
        return {};
    }
}

int LineCount(int Position) {
    static const std::array<int, 22> counts = [] {
        std::array<int, 22> c{};
        SqlDescribe::TSource empty;
        empty.own = [](const QString&) {
            return QString();
        };
        empty.linked = [](int, const QString&) {
            return QString();
        };
        empty.firstSection = [](int, const QString&) {
            return QString();
        };
        for (int k = 1; k <= 21; ++k)
            c[k] = static_cast<int>(Lines(k, empty).size());
        return c;
    }();
    return Position >= 1 && Position <= 21 ? counts[Position] : 0;
}

QString SearchText(const QStringList& Lines) {
    QString text;
    for (const QString& line : Lines) {
        QString clean = line;
        clean.replace(kSeparator, u' ');
        text += clean.toCaseFolded() + kSeparator;
    }
    return text;
}

namespace {

// Weights of the letters: the Polish alphabet in its order, one byte each.
constexpr char16_t kAlphabet[] =
    u"a\u0105bc\u0107de\u0119fghijkl\u0142mn\u0144o\u00f3pqrs\u015btuvwxyz\u017a\u017c";
constexpr char16_t kFirstLetterWeight = 0x41;
constexpr char16_t kSpaceWeight = 0x03;
constexpr char16_t kPunctuationWeight = 0x04; // then one each in code point order
constexpr char16_t kOtherPunctuationWeight = 0x24;

// Latin letters without a decomposition, by the letter they sort with.
char16_t PlainLetter(char16_t c) {
    static const QHash<char16_t, char16_t> plain = {
        {u'\u00e6', u'a'}, {u'\u00f0', u'd'}, {u'\u0111', u'd'}, {u'\u00f8', u'o'}, {u'\u0153', u'o'},
        {u'\u00fe', u't'}, {u'\u0167', u't'}, {u'\u0127', u'h'}, {u'\u0131', u'i'}, {u'\u0138', u'k'},
        {u'\u0140', u'l'}, {u'\u014b', u'n'}, {u'\u017f', u's'},
    };
    return plain.value(c, 0);
}

QChar KeyOf(QChar c) {
    static const QHash<char16_t, char16_t> letters = [] {
        QHash<char16_t, char16_t> h;
        for (int i = 0; kAlphabet[i]; ++i)
            h.insert(kAlphabet[i], char16_t(kFirstLetterWeight + i));
        return h;
    }();
    const char16_t u = c.unicode();
    if (u == kSeparator)
        return QChar(0x01);
    if (const auto it = letters.find(u); it != letters.end())
        return QChar(*it);
    if (u < 0x20)
        return QChar(0x02);
    if (u == u' ')
        return QChar(kSpaceWeight);
    if (u >= u'0' && u <= u'9')
        return c;
    if (u < 0x80) { // ASCII punctuation, before digits, in code point order
        static const QString punctuation = QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
        const int at = punctuation.indexOf(c);
        return QChar(char16_t(at >= 0 ? kPunctuationWeight + at : kOtherPunctuationWeight));
    }
    if (const char16_t plain = PlainLetter(u))
        return KeyOf(QChar(plain));
    if (c.isLetter() && c.decompositionTag() == QChar::Canonical) {
        const QChar base = c.decomposition().front();
        if (base.unicode() < 0x80 && base.isLetter())
            return KeyOf(base);
    }
    if (c.isPunct() || c.isSymbol() || c.isSpace())
        return QChar(kOtherPunctuationWeight);
    return c; // other scripts: after the Latin letters, in code point order
}

} // namespace

QString SortKey(const QString& SearchText) {
    QString key;
    key.reserve(SearchText.size());
    for (QChar c : SearchText)
        key += KeyOf(c);
    return key;
}

QString Digits(const QString& Value) {
    QString digits;
    for (QChar c : Value)
        if (c >= u'0' && c <= u'9')
            digits += c;
    return digits;
}

QString NormaliseFilter(const QString& Text) {
    QString clean = Text;
    clean.remove(kSeparator);
    return clean.toCaseFolded();
}

QString CommaText(const QStringList& Lines) {
    QStringList items;
    for (const QString& line : Lines) {
        bool quote = line.isEmpty();
        for (QChar c : line)
            if (c.unicode() <= u' ' || c == u',' || c == u'"')
                quote = true;
        items.append(quote ? u'"' + QString(line).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"'
                           : line);
    }
    return items.join(u',');
}

} // namespace SqlDescribe
