// Display texts of field values in the structure tree: check boxes as "tak", radio
// indexes and check-box group flags as words, identity-document kinds as captions.

#include "uGetPodatnikInfo.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

namespace PodatnikInfoValues {

namespace {

QStringList Words(std::initializer_list<const char*> Texts) {
    QStringList out;
    for (const char* t : Texts)
        out.append(QString::fromUtf8(t));
    return out;
}

// Words of the radio fields, index 0 first.
const QHash<QString, QStringList>& OptionWords() {
    static const QHash<QString, QStringList> words = [] {
        QHash<QString, QStringList> w;
        w.insert(cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol, Words({"osoba fizyczna", "osoba prawna"}));
        w.insert(cDanePodmiotuCzyProwadzilaDzialalnoscSamodzielnie.Symbol,
                 Words({"nieprowadząca samodzielnie działalności gospodarczej",
                        "prowadząca samodzielnie działalność gospodarczą"}));
        w.insert(cDanePodmiotuCzyPrzedsiebiorca.Symbol,
                 Words({"będąca przedsiębiorcą", "niebędąca przedsiębiorcą"}));
        w.insert(cDanePodmiotuWlasciwyIdentyfikatorPodatkowy.Symbol, Words({"Numer PESEL", "NIP"}));
        w.insert(cDanePodmiotuPlec.Symbol, Words({"kobieta", "mężczyzna"}));
        w.insert(cDanePodmiotuRezydent.Symbol, Words({"rezydent", "nierezydent"}));
        w.insert(cDanePodmiotuFormaWplatyZaliczki.Symbol, Words({"miesieczna", "kwartalna", "uproszczona"}));
        w.insert(cDanePodmiotuRodzajProwadzonejDokumentacjiRachunkowej.Symbol,
                 Words({"księgi rachunkowe", "inne ewidencje", "nie jest prowadzona",
                        "podatkowa księga przychodów i rozchodów"}));
        w.insert(cDanePodmiotuProwadzenieDokumentacjiRachunkowej.Symbol,
                 Words({"w biurze rachunkowym lub przez inny podmiot", "we własnym zakresie"}));
        for (const TInternalFieldRecord* f :
             {&cDanePodmiotuProwadziZakladPracyChronionej,
              &cDanePodmiotuZagranicznePrzedsiebiorstwoDrobnaWytworczosc,
              &cDanePodmiotuDzialalnoscWylacznieSpolkaCywilna, &cDanePodmiotuCzyPodatnikVAT,
              &cDanePodmiotuProwadziDzialalnoscNaTerenieStrefy,
              &cDanePodmiotuSposobRozliczaniaPodatkuOdTowarow, &cCzyLaczyWspolnoscMajatkowa})
            w.insert(f->Symbol, Words({"Tak", "Nie"}));
        w.insert(cDaneRachunkuCharakterRachunku.Symbol, Words({"firmowy", "osobisty"}));
        w.insert(cStopienNiepelnosprawnosci.Symbol, Words({"lekki", "umiarkowany", "znaczny"}));
        w.insert(cEmeryturaRenta.Symbol, Words({"emerytura", "renta"}));
        return w;
    }();
    return words;
}

// Words of the check-box group fields, flag 1 first.
const QHash<QString, QStringList>& FlagWords() {
    static const QHash<QString, QStringList> words = [] {
        QHash<QString, QStringList> w;
        w.insert(
            cDaneAdresoweTypAdresu.Symbol,
            Words({"Adres miejsca zameldowania", "Adres miejsca zamieszkania", "Adres do korespondencji"}));
        w.insert(cDaneAdresoweDzialanosciTypAdresu.Symbol,
                 Words({"Adres głównego miejsca wykonywania działalności gospodarczej", "Adres do doręczeń",
                        "Adres dodatkowego miejsca wykonywania działalności gospodarczej"}));
        const QStringList naczelnik =
            Words({"do spraw ewidencji podatnikow", "w zakresie podatku dochodowego od osób fizycznych"});
        w.insert(cDanePodmiotuTypNaczelnika1.Symbol, naczelnik);
        w.insert(cDanePodmiotuTypNaczelnika2.Symbol, naczelnik);
        w.insert(cDanePodmiotuFormaOplacaniaPodatku.Symbol,
                 Words({"Podatek według skali podatkowej", "Podatek liniowy",
                        "Ryczałt od przychodów ewidencjonowanych", "Karta podatkowa",
                        "Podatek dochodowy od osób prawnych CIT"}));
        return w;
    }();
    return words;
}

} // namespace

QString YesText(const QString& Value) {
    return Value.isEmpty() ? QString() : QStringLiteral("tak");
}

QString OptionWord(const QString& Symbol, const QString& Value) {
    bool ok = false;
    const int index = Value.trimmed().toInt(&ok);
    const QStringList words = OptionWords().value(Symbol);
    return ok && index >= 0 && index < words.size() ? words.at(index) : QString();
}

QString DocumentKindText(const QString& Value) {
    if (Value.isEmpty())
        return {};
    for (const TComboBoxSymbolItemRecord& item : IdentityDocumentItems())
        if (item.Symbol == Value)
            return item.Caption;
    return {};
}

QString FlagListText(const QString& Symbol, const QString& Value) {
    const QStringList words = FlagWords().value(Symbol);
    const QString flags = QString(Value).remove(QLatin1Char(','));
    QStringList set;
    for (int i = 0; i < flags.size() && i < words.size(); ++i)
        if (flags.at(i) == QLatin1Char('1'))
            set.append(words.at(i));
    return set.join(QStringLiteral(" / "));
}

bool IsAccountSymbol(const QString& Symbol) {
    static const QRegularExpression account(QStringLiteral("NrRachunku$|NumerRachunku\\d$|US\\dRachunek"));
    return account.match(Symbol).hasMatch();
}

QString AccountText(const QString& Value) {
    QString compact = Value;
    compact.remove(QRegularExpression(QStringLiteral("[\\s-]")));
    // Digits, or an international number: country letters and check digits first.
    static const QRegularExpression shape(QStringLiteral("^([A-Z]{2})?[0-9]{2}[0-9A-Z]{8,30}$"));
    if (!shape.match(compact.toUpper()).hasMatch())
        return Value; // not a number: shown as typed
    compact = compact.toUpper();
    // A domestic number (NRB) starts with its two check digits on their own.
    const qsizetype first = compact.size() == 26 && compact.at(0).isDigit() ? 2 : 4;
    QStringList groups{compact.left(first)};
    for (qsizetype i = first; i < compact.size(); i += 4)
        groups << compact.mid(i, 4);
    return groups.join(QChar(0x00A0));
}

QString DateText(const QString& Value) {
    const QDate date = QDate::fromString(Value.left(10), Qt::ISODate);
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : Value;
}

QString DisplayText(const TInternalFieldRecord& Field, const QString& Value) {
    if (Field.Symbol == cDaneDokumentuTozsamosciRodzaj.Symbol)
        return DocumentKindText(Value);
    if (IsAccountSymbol(Field.Symbol))
        return AccountText(Value);
    switch (Field.FieldType) {
    case ctDate:
        return DateText(Value);
    case ctCheckBox:
        return YesText(Value);
    case ctRadioGroup:
        return OptionWord(Field.Symbol, Value);
    case ctCheckBoxGroup:
        return FlagListText(Field.Symbol, Value);
    default:
        return Value;
    }
}

} // namespace PodatnikInfoValues
