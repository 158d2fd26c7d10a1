#include "uTerytImport.h"

#include "uKwadrelCsv.h"

#include <QCollator>
#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>

#include <algorithm>

namespace {

const QString cTercHeader = QStringLiteral("WOJ;POW;GMI;RODZ;NAZWA;NAZWA_DOD;STAN_NA");
const QString cSimcHeader = QStringLiteral("WOJ;POW;GMI;RODZ_GMI;RM;MZ;NAZWA;SYM;SYMPOD;STAN_NA");

bool IsDigits(const QString& Text, int Length) {
    if (Text.size() != Length)
        return false;
    return std::all_of(Text.begin(), Text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool IsDate(const QString& Text) {
    return Text.size() == 10 && QDate::fromString(Text, Qt::ISODate).isValid();
}

// Checks the fields common to both files; Fields[Column] names the field in the message.
bool CheckCode(const QString& Value, const char* Name, int Length, bool MayBeEmpty, QString& Error) {
    if ((MayBeEmpty && Value.isEmpty()) || IsDigits(Value, Length))
        return true;
    Error = QStringLiteral("pole %1 „%2” nie jest kodem %3-cyfrowym.")
                .arg(QLatin1String(Name), Value)
                .arg(Length);
    return false;
}

bool CheckName(const QString& Value, QString& Error) {
    if (!Value.trimmed().isEmpty())
        return true;
    Error = QStringLiteral("pusta nazwa.");
    return false;
}

bool CheckDate(const QString& Value, QString& Error) {
    if (IsDate(Value))
        return true;
    Error = QStringLiteral("pole STAN_NA „%1” nie jest datą rrrr-mm-dd.").arg(Value);
    return false;
}

// What TERC gives the locality pass: names by code and the commune kinds present.
struct TTerc {
    QHash<QString, QString> Wojewodztwa; // WOJ
    QHash<QString, QString> Powiaty;     // WOJ+POW
    QHash<QString, QString> Jednostki;   // WOJ+POW+GMI+RODZ, every kind
    QHash<QString, QString> Miasta;      // WOJ+POW -> code of the county's urban commune
    // Units every locality list names, in the order of TERC: communes of kinds 1 and 2, the
    // town and the rural area (4, 5) of an urban-rural commune and delegations and districts
    // (8, 9); an urban-rural commune (3) itself has none.
    QStringList ZMiejscowosciami;
};

bool ReadTerc(const QString& Path, TTerc& Terc, TTerytData& Data, QString& Error) {
    return ReadCsv(
        Path, cTercHeader,
        [&](const QStringList& f, QString& Err) {
            const QString &woj = f[0], &pow = f[1], &gmi = f[2], &rodz = f[3], &nazwa = f[4];
            if (!CheckCode(woj, "WOJ", 2, false, Err) || !CheckCode(pow, "POW", 2, true, Err) ||
                !CheckCode(gmi, "GMI", 2, true, Err) || !CheckCode(rodz, "RODZ", 1, true, Err) ||
                !CheckName(nazwa, Err) || !CheckDate(f[6], Err))
                return false;
            if (pow.isEmpty()) {
                if (!gmi.isEmpty() || !rodz.isEmpty()) {
                    Err = QStringLiteral("gmina bez kodu powiatu.");
                    return false;
                }
                if (Terc.Wojewodztwa.contains(woj)) {
                    Err = QStringLiteral("województwo %1 występuje drugi raz.").arg(woj);
                    return false;
                }
                Terc.Wojewodztwa.insert(woj, nazwa);
                Data.Wojewodztwa.AddRow({woj, nazwa});
                return true;
            }
            const QString wojName = Terc.Wojewodztwa.value(woj);
            if (wojName.isEmpty()) {
                Err = QStringLiteral("województwo %1 nie występuje wcześniej w pliku.").arg(woj);
                return false;
            }
            const QString powCode = woj + pow;
            if (gmi.isEmpty()) {
                if (!rodz.isEmpty() || Terc.Powiaty.contains(powCode)) {
                    Err = rodz.isEmpty() ? QStringLiteral("powiat %1 występuje drugi raz.").arg(powCode)
                                         : QStringLiteral("rodzaj gminy bez kodu gminy.");
                    return false;
                }
                Terc.Powiaty.insert(powCode, nazwa);
                Data.Powiaty.AddRow({wojName, powCode, nazwa});
                return true;
            }
            const QString powName = Terc.Powiaty.value(powCode);
            if (powName.isEmpty()) {
                Err = QStringLiteral("powiat %1 nie występuje wcześniej w pliku.").arg(powCode);
                return false;
            }
            static const QString kinds = QStringLiteral("1234589");
            if (rodz.isEmpty() || !kinds.contains(rodz)) {
                Err = QStringLiteral("nieznany rodzaj gminy „%1”.").arg(rodz);
                return false;
            }
            const QString code = powCode + gmi + rodz;
            if (Terc.Jednostki.contains(code)) {
                Err = QStringLiteral("gmina %1 występuje drugi raz.").arg(code);
                return false;
            }
            Terc.Jednostki.insert(code, nazwa);
            if (rodz != u'3')
                Terc.ZMiejscowosciami.append(code);
            if (rodz == u'1')
                Terc.Miasta.insert(powCode, code);
            if (rodz == u'1' || rodz == u'2' || rodz == u'3')
                Data.Gminy.AddRow({wojName, powName, code, nazwa});
            return true;
        },
        Error);
}

struct TLocality {
    QString Gmina; // commune code, the first sort key
    QCollatorSortKey Key;
    QString Wojewodztwo, Powiat, GminaNazwa, Nazwa;
};

// Code of the commune (kinds 1-3) a locality of commune unit Unit lies in; empty with
// Error when TERC has no such commune.
QString CommuneOf(const TTerc& Terc, const QString& Unit, QString& Error) {
    const QChar kind = Unit.back();
    QString code = Unit;
    if (kind == u'4' || kind == u'5')
        code.back() = u'3';
    else if (kind == u'8' || kind == u'9')
        code = Terc.Miasta.value(Unit.left(4));
    if (code.isEmpty() || !Terc.Jednostki.contains(code)) {
        Error = QStringLiteral("gmina %1 nie występuje w pliku TERC.").arg(code.isEmpty() ? Unit : code);
        return QString();
    }
    return code;
}

bool ReadSimc(const QString& Path, const TTerc& Terc, TTerytData& Data, TTerytStats& Stats, QString& Error) {
    const QCollator collator(QLocale(QLocale::Polish, QLocale::Poland));
    std::vector<TLocality> localities;
    QSet<QString> seen;
    QSet<QString> units; // units with at least one row
    const bool ok = ReadCsv(
        Path, cSimcHeader,
        [&](const QStringList& f, QString& Err) {
            const QString &woj = f[0], &pow = f[1], &gmi = f[2], &rodz = f[3], &rm = f[4], &nazwa = f[6];
            if (!CheckCode(woj, "WOJ", 2, false, Err) || !CheckCode(pow, "POW", 2, false, Err) ||
                !CheckCode(gmi, "GMI", 2, false, Err) || !CheckCode(rodz, "RODZ_GMI", 1, false, Err) ||
                !CheckCode(rm, "RM", 2, false, Err) || !CheckCode(f[5], "MZ", 1, false, Err) ||
                !CheckName(nazwa, Err) || !CheckCode(f[7], "SYM", 7, false, Err) ||
                !CheckCode(f[8], "SYMPOD", 7, false, Err) || !CheckDate(f[9], Err))
                return false;
            const QString unit = woj + pow + gmi + rodz;
            if (!Terc.Jednostki.contains(unit)) {
                Err = QStringLiteral("gmina %1 nie występuje w pliku TERC.").arg(unit);
                return false;
            }
            units.insert(unit);
            if (f[7] != f[8]) {
                ++Stats.CzesciPominiete;
                return true;
            }
            if ((rodz == u'8' || rodz == u'9') && (rm == QLatin1String("95") || rm == QLatin1String("98"))) {
                ++Stats.DzielniceWlaczone;
                return true;
            }
            const QString commune = CommuneOf(Terc, unit, Err);
            if (commune.isEmpty())
                return false;
            TLocality l{commune,
                        collator.sortKey(nazwa),
                        Terc.Wojewodztwa.value(woj),
                        Terc.Powiaty.value(woj + pow),
                        Terc.Jednostki.value(commune),
                        nazwa};
            const QString identity =
                l.Wojewodztwo + u'\t' + l.Powiat + u'\t' + l.GminaNazwa + u'\t' + l.Nazwa;
            if (seen.contains(identity)) {
                ++Stats.Powtorzenia;
                return true;
            }
            seen.insert(identity);
            localities.push_back(std::move(l));
            return true;
        },
        Error);
    if (!ok)
        return false;
    // A file cut at a line end reads well to its last line: what it lacks shows as units
    // without a single locality.
    for (const QString& unit : Terc.ZMiejscowosciami)
        if (!units.contains(unit)) {
            Error = QStringLiteral("Plik „%1” nie zawiera żadnej miejscowości jednostki %2 (%3) z pliku TERC: "
                                   "jest niepełny albo nie pasuje do pliku TERC.")
                        .arg(QFileInfo(Path).fileName(), unit, Terc.Jednostki.value(unit));
            return false;
        }
    std::sort(localities.begin(), localities.end(), [](const TLocality& a, const TLocality& b) {
        if (a.Gmina != b.Gmina)
            return a.Gmina < b.Gmina;
        return a.Key.compare(b.Key) < 0;
    });
    Data.Miejscowosci.Cells.reserve(localities.size() * 4);
    for (const TLocality& l : localities)
        Data.Miejscowosci.AddRow({l.Wojewodztwo, l.Powiat, l.GminaNazwa, l.Nazwa});
    return true;
}

} // namespace

bool ReadTeryt(const QString& TercPath, const QString& SimcPath, TTerytData& Data, TTerytStats& Stats,
               QString& Error) {
    Data = TTerytData();
    Stats = TTerytStats();
    TTerc terc;
    if (!ReadTerc(TercPath, terc, Data, Error) || !ReadSimc(SimcPath, terc, Data, Stats, Error)) {
        Data = TTerytData();
        return false;
    }
    Stats.Wojewodztwa = Data.Wojewodztwa.Rows();
    Stats.Powiaty = Data.Powiaty.Rows();
    Stats.Gminy = Data.Gminy.Rows();
    Stats.Miejscowosci = Data.Miejscowosci.Rows();
    return true;
}
