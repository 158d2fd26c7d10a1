#include "uSqlImportBulk.h"
#include "uSqlAccess.h"

#include "uEwidarQuorDBSymbole.h"
#include "uSqlBatchInsert.h"
#include "uSqlDescribe.h"
#include "uSqlDuplicates.h"
#include "uSqlErrors.h"
#include "uSqlKinds.h"
#include "uSqlRecordStore.h"
#include "uSqlSnapshot.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

#include <algorithm>
#include <memory>
#include <vector>

namespace SqlImport {

namespace {

using namespace SqlKinds;

// The registries the source's root object lists, in the order they are copied.
constexpr int kTopKinds[] = {kDaneZUS,   kUrzadStatystyczny, kDaneNFZ, kSadRejonowy,
                             kDaneBanku, kBiuroRachunkowe,   kSpolka,  kPodmiot};

// The section lists of an owner of the kind, in the order they are copied.
const std::vector<int>& SectionKinds(int OwnerKind) {
    static const std::vector<int> subject = {
        kAdres,        kAdresDzialalnosci,  kOddzial,           kRodzajDzialalnosci, kSpolkaPodmiotu,
        kObywatelstwo, kDokumentTozsamosci, kNrIdentyfikacyjny, kRachunekBankowy,    kDaneZamawiajacego,
        kReprezentant};
    static const std::vector<int> company = {kWspolnik};
    static const std::vector<int> none;
    return OwnerKind == kPodmiot ? subject : OwnerKind == kSpolka ? company : none;
}

// The single links a record of the kind shows.
bool ShowsLink(int Kind, int Role) {
    switch (Kind) {
    case kPodmiot:
        return Role >= lrRodzajPrzewazajacejDzialalnosci && Role <= lrBiuroRachunkowe;
    case kSpolkaPodmiotu:
        return Role == lrSpolka;
    case kRachunekBankowy:
        return Role == lrDaneBanku;
    case kReprezentant:
        return Role == lrPodmiot;
    default:
        return false;
    }
}

struct TValueRow {
    QString symbol;
    TFieldValue field;
};

struct TRecordRow {
    qint64 id = 0;
    int kind = 0;
    qint64 owner = 0;
    bool podatnik = false;
    bool pracownik = false;
    bool kontrahent = false;
    std::vector<TValueRow> values;
    std::vector<std::pair<int, int>> links; // role and the target's row
    std::vector<int> sections;              // rows of the sections its lists show, in list order
    bool top = false;                       // listed by a registry (copied without an owner)
    QString nameKey;                        // a subject's key of the duplicate check by name
    // The copy's identifier; -1 while only planned, 0 when the record is not copied.
    qint64 copy = 0;
};

struct TPersonRow {
    int podatnik; // rows
    int role;
    int osoba;
    bool aktywny;
};

class TBulkCopy {
public:
    TBulkCopy(TSqlConnection& Target, TSqlConnection& From, IEwidarDataBase* Source, TImportSink& Sink)
        : m_to(Target), m_from(From), m_src(Source), m_sink(Sink) {}
    qint64 Run(const std::function<void(qint64)>& Finishing);

private:
    void Read();
    void Plan();
    void Write(const std::function<void(qint64)>& Finishing);
    int Row(qint64 SourceID) const { return m_index.value(SourceID, -1); }
    bool Copied(int Row) const { return Row >= 0 && m_rows[size_t(Row)].copy != 0; }
    // The row a copied record's link of the role points to in the copy; -1 for none.
    int LinkTarget(const TRecordRow& R, int Role) const;
    static QString ValueOf(const TRecordRow& R, const QString& Symbol);
    QString FirstSection(const TRecordRow& R, int Kind, const QString& Symbol) const;
    QVariantList RecordColumns(TRecordRow& R) const;
    void AddValues(const TRecordRow& R);
    void WriteLinks();
    void WritePeople();

    TSqlConnection& m_to;
    TSqlConnection& m_from;
    IEwidarDataBase* m_src;
    TImportSink& m_sink;
    std::vector<TRecordRow> m_rows; // the source's stored records, in the registries' order
    QHash<qint64, int> m_index;     // source identifier -> row
    std::vector<TPersonRow> m_people;
    std::vector<int> m_order;    // rows copied, in the order of their new identifiers
    std::vector<int> m_top;      // of them, the records of the registries with their sections
    std::vector<size_t> m_until; // where each entry of m_top ends in m_order
    TSymbolsOfKinds m_symbols;
    std::unique_ptr<TSqlBatchInsert> m_records, m_values, m_idents;
};

void TBulkCopy::Read() {
    TSqlReadSnapshot snapshot(m_from);
    // Placeholders (records being created at another desk) are in no list.
    m_from.EachRow(QStringLiteral("SELECT id, kind, owner_id, is_podatnik, is_pracownik, is_kontrahent "
                                  "FROM ew_record WHERE state = 0 ORDER BY sort_key, id"),
                   {}, [this](const QSqlQuery& q) {
                       TRecordRow r;
                       r.id = q.value(0).toLongLong();
                       r.kind = q.value(1).toInt();
                       r.owner = q.value(2).toLongLong();
                       r.podatnik = q.value(3).toInt() == 1;
                       r.pracownik = q.value(4).toInt() == 1;
                       r.kontrahent = q.value(5).toInt() == 1;
                       m_index.insert(r.id, int(m_rows.size()));
                       m_rows.push_back(std::move(r));
                   });
    QSet<QString> symbols;
    m_from.EachRow(
        QStringLiteral("SELECT record_id, symbol, value, caption, field_type FROM ew_value"), {},
        [this, &symbols](const QSqlQuery& q) {
            const int row = Row(q.value(0).toLongLong());
            QString symbol = q.value(1).toString();
            if (row < 0 || symbol.isEmpty())
                return;
            // One text per symbol, shared by all its values.
            symbol = *symbols.insert(symbol);
            const QString value = q.value(2).toString();
            m_rows[size_t(row)].values.push_back(
                {symbol, TFieldValue{value, value, q.value(3).toString(), q.value(4).toString(), false}});
        });
    m_from.EachRow(QStringLiteral("SELECT source_id, role, target_id FROM ew_link"), {},
                   [this](const QSqlQuery& q) {
                       const int source = Row(q.value(0).toLongLong());
                       const int target = Row(q.value(2).toLongLong());
                       if (source >= 0 && target >= 0)
                           m_rows[size_t(source)].links.emplace_back(q.value(1).toInt(), target);
                   });
    m_from.EachRow(QStringLiteral("SELECT podatnik_id, role, osoba_id, aktywny FROM ew_person"), {},
                   [this](const QSqlQuery& q) {
                       const int podatnik = Row(q.value(0).toLongLong());
                       const int osoba = Row(q.value(2).toLongLong());
                       if (podatnik >= 0 && osoba >= 0)
                           m_people.push_back({podatnik, q.value(1).toInt(), osoba, q.value(3).toInt() != 0});
                   });
    snapshot.End();
}

// The copies in the order the lists show them: each registry in its order, a
// company or subject followed by its sections, list after list, each by identifier.
void TBulkCopy::Plan() {
    QHash<int, std::vector<int>> ofKind;
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const TRecordRow& r = m_rows[size_t(i)];
        ofKind[r.kind].push_back(i);
        const int owner = r.owner ? Row(r.owner) : -1;
        if (owner < 0)
            continue;
        const auto& kinds = SectionKinds(m_rows[size_t(owner)].kind);
        if (std::find(kinds.begin(), kinds.end(), r.kind) != kinds.end())
            m_rows[size_t(owner)].sections.push_back(i);
    }
    for (TRecordRow& r : m_rows) {
        const auto& kinds = SectionKinds(r.kind);
        const auto place = [&kinds](int Kind) {
            return std::find(kinds.begin(), kinds.end(), Kind) - kinds.begin();
        };
        std::sort(r.sections.begin(), r.sections.end(), [this, &place](int a, int b) {
            const TRecordRow& x = m_rows[size_t(a)];
            const TRecordRow& y = m_rows[size_t(b)];
            const auto px = place(x.kind), py = place(y.kind);
            return px != py ? px < py : x.id < y.id;
        });
    }
    for (const int kind : kTopKinds)
        for (const int top : ofKind.value(kind)) {
            m_rows[size_t(top)].top = true;
            m_top.push_back(top);
            m_order.push_back(top);
            for (const int s : m_rows[size_t(top)].sections)
                m_order.push_back(s);
            m_until.push_back(m_order.size());
        }
    // Marked before any identifier is known, so that links to records copied later count.
    for (const int row : m_order)
        m_rows[size_t(row)].copy = -1;
}

int TBulkCopy::LinkTarget(const TRecordRow& R, int Role) const {
    if (!ShowsLink(R.kind, Role))
        return -1;
    for (const auto& [role, target] : R.links)
        if (role == Role)
            return Copied(target) && m_rows[size_t(target)].kind == TargetKind(Role) ? target : -1;
    return -1;
}

QString TBulkCopy::ValueOf(const TRecordRow& R, const QString& Symbol) {
    for (const TValueRow& v : R.values)
        if (v.symbol == Symbol)
            return v.field.value;
    return {};
}

QString TBulkCopy::FirstSection(const TRecordRow& R, int Kind, const QString& Symbol) const {
    for (const int s : R.sections) {
        const TRecordRow& section = m_rows[size_t(s)];
        if (section.kind != Kind)
            continue;
        const QString value = ValueOf(section, Symbol);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

// The columns of the copy after its identifier: the description lines and the sort
// key as a post stores them (and a subject's name key, kept for its values).
QVariantList TBulkCopy::RecordColumns(TRecordRow& R) const {
    SqlDescribe::TSource s;
    s.own = [&R](const QString& Symbol) {
        return ValueOf(R, Symbol);
    };
    s.linked = [this, &R](int Role, const QString& Symbol) {
        const int target = LinkTarget(R, Role);
        return target < 0 ? QString() : ValueOf(m_rows[size_t(target)], Symbol);
    };
    s.firstSection = [this, &R](int Kind, const QString& Symbol) {
        return FirstSection(R, Kind, Symbol);
    };
    const QStringList lines = SqlDescribe::Lines(R.kind, s);
    const QString search = SqlDescribe::SearchText(lines);
    const bool subject = R.kind == kPodmiot;
    if (subject)
        R.nameKey =
            SqlDuplicates::NameKey(lines.value(0), FirstSection(R, kAdres, cDaneAdresoweKodPocztowy.Symbol));
    return {R.kind,
            R.top ? QVariant(QMetaType(QMetaType::LongLong)) : QVariant(m_rows[size_t(Row(R.owner))].copy),
            0,
            int(subject && R.podatnik),
            int(subject && R.pracownik),
            int(subject && R.kontrahent),
            lines.value(0),
            lines.value(1),
            lines.value(2),
            search,
            SqlDescribe::SortKey(search)};
}

// Values as a post stores them, and the identifiers' digits for the duplicate check.
void TBulkCopy::AddValues(const TRecordRow& R) {
    for (const TValueRow& v : R.values) {
        m_symbols[R.kind].insert(v.symbol);
        QString caption, type;
        if (SqlRecordStore::StoredColumns(v.symbol, v.field, caption, type))
            m_values->Add({R.copy, v.symbol, v.field.value, caption, type});
        if (SqlRecordStore::IdentifierSymbols().contains(v.symbol))
            if (const QString digits = SqlDescribe::Digits(v.field.value); !digits.isEmpty())
                m_idents->Add({R.copy, v.symbol, digits});
    }
    if (!R.nameKey.isEmpty())
        m_idents->Add({R.copy, SqlDuplicates::kNameSymbol, R.nameKey});
}

void TBulkCopy::WriteLinks() {
    TSqlBatchInsert links(m_to, QStringLiteral("ew_link"),
                          {QStringLiteral("source_id"), QStringLiteral("role"), QStringLiteral("target_id")},
                          SqlErrors::ecImport);
    for (const int row : m_order) {
        const TRecordRow& r = m_rows[size_t(row)];
        for (const auto& [role, target] : r.links)
            if (LinkTarget(r, role) == target)
                links.Add({r.copy, role, m_rows[size_t(target)].copy});
    }
    links.Flush();
}

// The people of every taxpayer, each a subject of the registries.
void TBulkCopy::WritePeople() {
    TSqlBatchInsert people(m_to, QStringLiteral("ew_person"),
                           {QStringLiteral("podatnik_id"), QStringLiteral("role"), QStringLiteral("osoba_id"),
                            QStringLiteral("aktywny")},
                           SqlErrors::ecImport);
    for (const TPersonRow& p : m_people) {
        const TRecordRow& podatnik = m_rows[size_t(p.podatnik)];
        const TRecordRow& osoba = m_rows[size_t(p.osoba)];
        if (podatnik.copy && podatnik.kind == kPodmiot && podatnik.podatnik && osoba.copy &&
            osoba.kind == kPodmiot && (p.role == prPracownik || p.role == prKontrahent))
            people.Add({podatnik.copy, p.role, osoba.copy, int(p.aktywny)});
    }
    people.Flush();
}

// Records go in registry by registry; the values of a batch of them follow once the
// records themselves are written. The first copy takes the identifier the database
// gives; the others follow it (under the write lock no other desk inserts meanwhile).
void TBulkCopy::Write(const std::function<void(qint64)>& Finishing) {
    constexpr size_t kValuesAfter = 2000; // records whose values wait for them
    m_records = std::make_unique<TSqlBatchInsert>(
        m_to, QStringLiteral("ew_record"),
        QStringList{QStringLiteral("id"), QStringLiteral("kind"), QStringLiteral("owner_id"),
                    QStringLiteral("state"), QStringLiteral("is_podatnik"), QStringLiteral("is_pracownik"),
                    QStringLiteral("is_kontrahent"), QStringLiteral("line1"), QStringLiteral("line2"),
                    QStringLiteral("line3"), QStringLiteral("search"), QStringLiteral("sort_key")},
        SqlErrors::ecImport);
    m_values = std::make_unique<TSqlBatchInsert>(
        m_to, QStringLiteral("ew_value"),
        QStringList{QStringLiteral("record_id"), QStringLiteral("symbol"), QStringLiteral("value"),
                    QStringLiteral("caption"), QStringLiteral("field_type")},
        SqlErrors::ecImport);
    m_idents = std::make_unique<TSqlBatchInsert>(
        m_to, QStringLiteral("ew_ident"),
        QStringList{QStringLiteral("record_id"), QStringLiteral("symbol"), QStringLiteral("digits")},
        SqlErrors::ecImport);
    std::vector<int> waiting;
    size_t next = 0;
    qint64 first = 0;
    for (size_t t = 0; t < m_top.size(); ++t) {
        for (; next < m_until[t]; ++next) {
            TRecordRow& r = m_rows[size_t(m_order[next])];
            const QVariantList columns = RecordColumns(r);
            if (next == 0) {
                first = m_to.Insert(
                    QStringLiteral("INSERT INTO ew_record (kind, owner_id, state, is_podatnik, is_pracownik, "
                                   "is_kontrahent, line1, line2, line3, search, sort_key) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    columns, SqlErrors::ecImport);
                r.copy = first;
            } else {
                r.copy = first + qint64(next);
                m_records->Add(QVariantList{r.copy} + columns);
            }
            waiting.push_back(m_order[next]);
        }
        if (waiting.size() >= kValuesAfter || t + 1 == m_top.size()) {
            m_records->Flush();
            for (const int row : waiting)
                AddValues(m_rows[size_t(row)]);
            waiting.clear();
        }
        m_sink.Advance(int(t + 1), int(m_top.size()));
        // A source disconnected meanwhile (by the progress handler, say) fails the import
        // as it fails a reading list by list.
        if (!m_from.IsOpen())
            Fail(SqlErrors::ecImport,
                 QStringLiteral("Baza źródłowa: brak połączenia (kod %1).").arg(SqlErrors::ecNoLink));
    }
    ReadDictionaries(m_src, m_sink, m_symbols);
    Finishing(90);
    m_values->Flush();
    m_idents->Flush();
    if (!m_order.empty())
        Finishing(94);
    WriteLinks();
    if (!m_order.empty())
        Finishing(97);
    WritePeople();
    Finishing(100);
}

qint64 TBulkCopy::Run(const std::function<void(qint64)>& Finishing) {
    try {
        SqlAccess::Demand(m_from, SqlAccess::rtView);
        Read();
    } catch (const TSqlFailure& f) {
        Fail(SqlErrors::ecImport,
             QStringLiteral("Baza źródłowa: odczyt tabel się nie powiódł (kod %1).").arg(f.Code()));
    }
    Plan();
    Write(Finishing);
    return qint64(m_order.size());
}

} // namespace

qint64 CopyInBulk(TSqlConnection& Target, TSqlConnection& From, IEwidarDataBase* Source, TImportSink& Sink,
                  const std::function<void(qint64)>& Finishing) {
    return TBulkCopy(Target, From, Source, Sink).Run(Finishing);
}

} // namespace SqlImport
