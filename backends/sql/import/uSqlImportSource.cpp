#include "uSqlImportSource.h"

#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"
#include "uSqlErrors.h"
#include "uSqlKinds.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace SqlImport {

namespace {

using namespace SqlKinds;

QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

[[noreturn]] void SourceFailed(const QString& What, int32_t Code = 0) {
    Fail(SqlErrors::ecImport, Code ? QStringLiteral("Baza źródłowa: %1 (kod %2).").arg(What).arg(Code)
                                   : QStringLiteral("Baza źródłowa: %1.").arg(What));
}

void Check(ICustomObject* O, const QString& What) {
    if (const int32_t code = O->GetLastErrorCode())
        SourceFailed(What, code);
}

template <class T> T* Required(const TIntfPtr<T>& P, const QString& What) {
    if (!P)
        SourceFailed(What);
    return P.get();
}

class TReader {
public:
    TReader(IEwidarDataBase* Source, TImportSink& Sink) : m_src(Source), m_sink(Sink) {}
    void Run();
    // Definitions and word lists alone, the records' symbols given.
    void Dictionaries(const TSymbolsOfKinds& Symbols) {
        m_symbols = Symbols;
        Definitions();
        WordLists();
    }

private:
    int Count(IEwidarCollection* L);
    TIntfPtr<IEwidarRecord> Item(IEwidarCollection* L, int Index);
    TRecordCopy Copy(IEwidarRecord* R, qint64 Owner);
    void Emit(IEwidarRecord* R, qint64 Owner);
    void Sections(IEwidarRecord* Owner, const TIntfPtr<IEwidarCollection>& L);
    void Subject(IEwidarRecord* R);
    void Links(IEwidarRecord* R, int Kind);
    void LinkTo(IEwidarRecord* From, int Role, IEwidarRecord* Target);
    QSet<qint64> Ids(const TIntfPtr<IEwidarCollection>& L);
    void Taxpayers();
    void People(IEwidarRecord* Taxpayer, const TIntfPtr<IEwidarCollection>& L, int Role);
    void Definitions();
    void WordLists();
    void Step() { m_sink.Advance(++m_done, m_total); }

    IEwidarDataBase* m_src;
    TImportSink& m_sink;
    TIntfPtr<IEwidarRegistries> m_reg;
    int m_done = 0;
    int m_total = 0;
    QSet<qint64> m_podatnicy, m_pracownicy, m_kontrahenci;
    TSymbolsOfKinds m_symbols; // symbols met per kind, for the word lists
};

int TReader::Count(IEwidarCollection* L) {
    const int n = L->GetCount();
    Check(L, QStringLiteral("lista rekordów"));
    return n;
}

TIntfPtr<IEwidarRecord> TReader::Item(IEwidarCollection* L, int Index) {
    auto r = EwidarKinds::CollectionGetItem(L, Index);
    Check(L, QStringLiteral("rekord listy"));
    Required(r, QStringLiteral("brak rekordu listy"));
    return r;
}

TRecordCopy TReader::Copy(IEwidarRecord* R, qint64 Owner) {
    TRecordCopy c;
    c.kind = EwidarKinds::KindPosition(R);
    c.id = R->GetID();
    c.owner = Owner;
    if (c.kind == 0 || c.id == 0)
        SourceFailed(QStringLiteral("rekord bez rodzaju lub identyfikatora"));
    auto fields = R->GetDataFields();
    Check(R, QStringLiteral("wartości rekordu"));
    const int n = Required(fields, QStringLiteral("brak wartości rekordu"))->GetCount();
    for (int i = 0; i < n; ++i) {
        const std::u16string symbol = fields->GetSymbol(i);
        auto f = symbol.empty() ? TIntfPtr<IDataField>() : fields->GetDataField(symbol);
        if (!f)
            continue;
        c.values.push_back({Q(symbol), Q(f->GetValue()), Q(f->GetCaption()), Q(f->GetFieldType())});
        m_symbols[c.kind].insert(c.values.back().symbol);
    }
    Check(R, QStringLiteral("wartości rekordu")); // the fields report through their record
    return c;
}

void TReader::Emit(IEwidarRecord* R, qint64 Owner) {
    const TRecordCopy c = Copy(R, Owner);
    m_sink.Record(c);
    Links(R, c.kind);
}

void TReader::Sections(IEwidarRecord* Owner, const TIntfPtr<IEwidarCollection>& L) {
    Check(Owner, QStringLiteral("sekcje rekordu"));
    IEwidarCollection* list = Required(L, QStringLiteral("brak listy sekcji"));
    const int n = Count(list);
    for (int i = 0; i < n; ++i)
        Emit(Item(list, i).get(), Owner->GetID());
}

void TReader::Subject(IEwidarRecord* R) {
    TRecordCopy c = Copy(R, 0);
    if (c.kind != kPodmiot)
        SourceFailed(QStringLiteral("lista podmiotów podała rekord innego rodzaju"));
    c.podatnik = m_podatnicy.contains(c.id);
    c.pracownik = m_pracownicy.contains(c.id);
    c.kontrahent = m_kontrahenci.contains(c.id);
    m_sink.Record(c);
    const auto subject = Supports<IPodmiot>(R);
    IPodmiot* p = Required(subject, QStringLiteral("podmiot"));
    Sections(R, p->GetAdresy());
    Sections(R, p->GetAdresyDzialalnosci());
    Sections(R, p->GetOddzialy());
    Sections(R, p->GetRodzajeDzialalnosci());
    Sections(R, p->GetSpolkiPodmiotu());
    Sections(R, p->GetObywatelstwa());
    Sections(R, p->GetDokumentyTozsamosci());
    Sections(R, p->GetNrIdentyfikacyjne());
    Sections(R, p->GetRachunkiBankowe());
    Sections(R, p->GetDaneZamawiajacych());
    Sections(R, p->GetReprezentanci());
    Links(R, kPodmiot);
}

void TReader::LinkTo(IEwidarRecord* From, int Role, IEwidarRecord* Target) {
    Check(From, QStringLiteral("powiązanie rekordu"));
    if (Target)
        m_sink.Link(From->GetID(), Role, Target->GetID());
}

void TReader::Links(IEwidarRecord* R, int Kind) {
    if (Kind == kPodmiot) {
        auto p = Supports<IPodmiot>(R);
        LinkTo(R, lrRodzajPrzewazajacejDzialalnosci, p->GetRodzajPrzewazajacejDzialalnosci().get());
        LinkTo(R, lrDaneZUS, p->GetDaneZUS().get());
        LinkTo(R, lrUrzadStatystyczny, p->GetUrzadStatystyczny().get());
        LinkTo(R, lrDaneNFZ, p->GetDaneNFZ().get());
        LinkTo(R, lrSadRejonowy, p->GetSadRejonowy().get());
        LinkTo(R, lrBiuroRachunkowe, p->GetBiuroRachunkowe().get());
    } else if (Kind == kSpolkaPodmiotu) {
        auto s = Supports<ISpolkaPodmiotu>(R);
        LinkTo(R, lrSpolka, Required(s, QStringLiteral("udział w spółce"))->GetSpolka().get());
    } else if (Kind == kRachunekBankowy) {
        auto a = Supports<IRachunekBankowy>(R);
        LinkTo(R, lrDaneBanku, Required(a, QStringLiteral("rachunek bankowy"))->GetDaneBanku().get());
    } else if (Kind == kReprezentant) {
        auto a = Supports<IReprezentant>(R);
        LinkTo(R, lrPodmiot, Required(a, QStringLiteral("reprezentant"))->GetPodmiot().get());
    }
}

QSet<qint64> TReader::Ids(const TIntfPtr<IEwidarCollection>& L) {
    IEwidarCollection* list = Required(L, QStringLiteral("brak rejestru"));
    QSet<qint64> ids;
    const int n = Count(list);
    for (int i = 0; i < n; ++i)
        ids.insert(Item(list, i)->GetID());
    return ids;
}

void TReader::People(IEwidarRecord* Taxpayer, const TIntfPtr<IEwidarCollection>& L, int Role) {
    Check(Taxpayer, QStringLiteral("osoby podatnika"));
    IEwidarCollection* list = Required(L, QStringLiteral("brak listy osób podatnika"));
    const int n = Count(list);
    for (int i = 0; i < n; ++i) {
        auto person = Item(list, i);
        bool active = true;
        if (Role == prPracownik)
            active = Required(Supports<IPracownik>(person), QStringLiteral("pracownik"))->GetAktywny();
        else
            active = Required(Supports<IKontrahent>(person), QStringLiteral("kontrahent"))->GetAktywny();
        Check(person.get(), QStringLiteral("aktywność osoby"));
        m_sink.Person(Taxpayer->GetID(), Role, person->GetID(), active);
    }
}

void TReader::Taxpayers() {
    const TIntfPtr<IEwidarCollection> podatnicy(m_reg->GetPodatnicy({}));
    IEwidarCollection* list = Required(podatnicy, QStringLiteral("brak rejestru podatników"));
    const int n = Count(list);
    for (int i = 0; i < n; ++i) {
        auto r = Item(list, i);
        m_podatnicy.insert(r->GetID());
        const auto taxpayer = Supports<IPodatnik>(r);
        IPodatnik* t = Required(taxpayer, QStringLiteral("podatnik"));
        People(r.get(), t->GetPracownicy(0, 0), prPracownik);
        People(r.get(), t->GetKontrahenci(0, 0), prKontrahent);
    }
}

// A source without user-defined fields or word dictionaries gives no provider; only
// a lost connection makes that a failure.
bool ProviderMissing(IEwidarDataBase* Source, bool Empty) {
    if (!Empty)
        return false;
    const int32_t code = Source->GetLastErrorCode();
    if (code == SqlErrors::ecNoConnection || code == SqlErrors::ecNoLink)
        SourceFailed(QStringLiteral("brak połączenia"), code);
    return true;
}

void TReader::Definitions() {
    auto provider = m_src->GetDynamicFieldsProvider(0);
    if (ProviderMissing(m_src, !provider))
        return;
    for (int kind = 1; kind <= EwidarKinds::KindCount; ++kind) {
        auto defs = provider->GetDynamicFields(kind);
        if (!defs)
            continue;
        const int n = defs->GetCount();
        Check(defs.get(), QStringLiteral("definicje pól"));
        for (int i = 0; i < n; ++i) {
            auto d = defs->GetItem(i);
            Check(defs.get(), QStringLiteral("definicja pola"));
            const QString symbol = Q(Required(d, QStringLiteral("brak definicji pola"))->GetSymbol());
            m_sink.Definition(kind, symbol, Q(d->GetDescription()), Q(d->GetFieldType()));
            m_symbols[kind].insert(symbol);
        }
    }
}

void TReader::WordLists() {
    auto provider = m_src->GetSlownikProvider(0);
    if (ProviderMissing(m_src, !provider))
        return;
    for (int kind = 1; kind <= EwidarKinds::KindCount; ++kind) {
        auto slownik = provider->GetSlownik(kind);
        if (!slownik)
            continue;
        QSet<QString> set = m_symbols.value(kind);
        for (const TInternalFieldRecord& f : FieldsOfKind(kind))
            set.insert(f.Symbol);
        QStringList symbols(set.begin(), set.end());
        symbols.sort();
        for (const QString& symbol : symbols) {
            auto list = slownik->GetWordList(symbol.toStdU16String());
            Check(slownik.get(), QStringLiteral("słownik pola"));
            QStringList words;
            for (int i = 0, n = list ? list->GetCount() : 0; i < n; ++i)
                words.append(Q(list->GetWord(i)));
            if (!words.isEmpty())
                m_sink.Words(kind, symbol, words);
        }
    }
}

void TReader::Run() {
    m_reg = m_src->GetRegistries();
    Check(m_src, QStringLiteral("rejestry"));
    Required(m_reg, QStringLiteral("brak rejestrów"));
    const std::vector<TIntfPtr<IEwidarCollection>> references = {
        m_reg->GetDaneZUSow({}),    m_reg->GetUrzedyStatystyczne({}), m_reg->GetDaneNFZow({}),
        m_reg->GetSadyRejonowe({}), m_reg->GetDaneBankow({}),         m_reg->GetBiuraRachunkowe({}),
    };
    const TIntfPtr<IEwidarCollection> spolki(m_reg->GetSpolki({}));
    const TIntfPtr<IEwidarCollection> podmioty(m_reg->GetPodmioty({}));
    for (const auto& l : references)
        m_total += Count(Required(l, QStringLiteral("brak rejestru")));
    m_total += Count(Required(spolki, QStringLiteral("brak rejestru spółek")));
    m_total += Count(Required(podmioty, QStringLiteral("brak listy podmiotów")));
    Taxpayers();
    m_pracownicy = Ids(m_reg->GetPracownicy({}));
    m_kontrahenci = Ids(m_reg->GetKontrahenci({}));
    for (const auto& l : references)
        for (int i = 0, n = Count(l.get()); i < n; ++i, Step())
            Emit(Item(l.get(), i).get(), 0);
    for (int i = 0, n = Count(spolki.get()); i < n; ++i, Step()) {
        auto spolka = Item(spolki.get(), i);
        Emit(spolka.get(), 0);
        Sections(spolka.get(), Required(Supports<ISpolka>(spolka), QStringLiteral("spółka"))->GetWspolnicy());
    }
    for (int i = 0, n = Count(podmioty.get()); i < n; ++i, Step())
        Subject(Item(podmioty.get(), i).get());
    Definitions();
    WordLists();
}

} // namespace

void ReadSource(IEwidarDataBase* Source, TImportSink& Sink) {
    TReader(Source, Sink).Run();
}

void ReadDictionaries(IEwidarDataBase* Source, TImportSink& Sink, const TSymbolsOfKinds& Symbols) {
    TReader(Source, Sink).Dictionaries(Symbols);
}

} // namespace SqlImport
