#include "uSqlImport.h"
#include "uSqlAccess.h"

#include "uSqlDynamicFields.h"
#include "uSqlErrors.h"
#include "uSqlHistory.h"
#include "uSqlImportBulk.h"
#include "uSqlImportSource.h"
#include "uSqlRecordStore.h"
#include "uSqlSlownik.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace SqlImport {

namespace {

struct TPendingLink {
    qint64 source;
    int role;
    qint64 target;
};

struct TPendingPerson {
    qint64 podatnik;
    int role;
    qint64 osoba;
    bool aktywny;
};

class TWriter final : public TImportSink {
public:
    TWriter(TSqlConnection& C, const TProgressEvent& Progress) : m_c(C), m_progress(Progress) {}

    void Record(const TRecordCopy& R) override;
    void Link(qint64 Source, int Role, qint64 Target) override { m_links.push_back({Source, Role, Target}); }
    void Person(qint64 Podatnik, int Role, qint64 Osoba, bool Aktywny) override {
        m_people.push_back({Podatnik, Role, Osoba, Aktywny});
    }
    void Definition(int Kind, const QString& Symbol, const QString& Description,
                    const QString& Type) override {
        SqlDynamicFields::StoreIfFree(m_c, SqlDynamicFields::TDefinition{0, Kind, Symbol, Description, Type});
    }
    void Words(int Kind, const QString& Symbol, const QStringList& Words) override {
        SqlSlownik::AddWords(m_c, Kind, Symbol, Words);
    }
    void Advance(int Done, int Total) override { Report(Total > 0 ? Done * 90LL / Total : 90); }

    // Links, people and description lines of the copies; ends with 100 %.
    void Finish();
    // Calls the handler once per new percentage; throws 204 when it asks to cancel.
    void Report(qint64 Percent);
    // Records copied.
    qint64 Count() const { return m_ids.size(); }

private:
    // The copy's identifier; 0 for a record the source never listed.
    qint64 Mapped(qint64 SourceID) const { return m_ids.value(SourceID, 0); }
    void WriteLinks();
    void WritePeople();

    TSqlConnection& m_c;
    const TProgressEvent& m_progress;
    int m_percent = -1;
    QHash<qint64, qint64> m_ids;                  // source identifier -> copy's identifier
    std::vector<std::pair<qint64, int>> m_copies; // copy's identifier and kind, in writing order
    std::vector<TPendingLink> m_links;
    std::vector<TPendingPerson> m_people;
};

void TWriter::Record(const TRecordCopy& R) {
    if (m_ids.contains(R.id))
        Fail(SqlErrors::ecImport, QStringLiteral("Baza źródłowa podała rekord %1 dwa razy.").arg(R.id));
    const qint64 owner = R.owner ? Mapped(R.owner) : 0;
    if (R.owner && !owner)
        Fail(SqlErrors::ecImport, QStringLiteral("Baza źródłowa podała sekcję przed jej właścicielem."));
    const qint64 id = m_c.Insert(
        QStringLiteral(
            "INSERT INTO ew_record (kind, owner_id, state, is_podatnik, is_pracownik, is_kontrahent) "
            "VALUES (?, ?, 0, ?, ?, ?)"),
        {R.kind, owner ? QVariant(owner) : QVariant(QMetaType(QMetaType::LongLong)), int(R.podatnik),
         int(R.pracownik), int(R.kontrahent)},
        SqlErrors::ecImport);
    for (const TValueCopy& v : R.values)
        SqlRecordStore::WriteField(m_c, id, v.symbol, TFieldValue{v.value, v.value, v.caption, v.type, false}, true);
    m_ids.insert(R.id, id);
    m_copies.emplace_back(id, R.kind);
}

// A link or person naming a record that no list of the source showed (a record
// being created at another desk, say) has nothing to point to and is left out.
void TWriter::WriteLinks() {
    for (const TPendingLink& l : m_links) {
        const qint64 source = Mapped(l.source);
        const qint64 target = Mapped(l.target);
        if (source && target)
            m_c.Exec(QStringLiteral("INSERT INTO ew_link (source_id, role, target_id) VALUES (?, ?, ?)"),
                     {source, l.role, target}, SqlErrors::ecImport);
    }
}

void TWriter::WritePeople() {
    for (const TPendingPerson& p : m_people) {
        const qint64 podatnik = Mapped(p.podatnik);
        const qint64 osoba = Mapped(p.osoba);
        if (podatnik && osoba)
            m_c.Exec(QStringLiteral(
                         "INSERT INTO ew_person (podatnik_id, role, osoba_id, aktywny) VALUES (?, ?, ?, ?)"),
                     {podatnik, p.role, osoba, int(p.aktywny)}, SqlErrors::ecImport);
    }
}

void TWriter::Finish() {
    Report(90);
    WriteLinks();
    WritePeople();
    const qint64 n = static_cast<qint64>(m_copies.size());
    for (qint64 i = 0; i < n; ++i) {
        SqlRecordStore::WriteStoredLines(m_c, m_copies[i].first, m_copies[i].second);
        Report(90 + i * 10 / n);
    }
    Report(100);
}

void TWriter::Report(qint64 Percent) {
    const int percent = static_cast<int>(std::clamp<qint64>(Percent, 0, 100));
    if (percent == m_percent)
        return;
    m_percent = percent;
    if (!m_progress)
        return;
    bool cancel = false;
    try {
        m_progress(percent, cancel);
    } catch (...) {
        Fail(SqlErrors::ecImport, QStringLiteral("Obsługa postępu importu zgłosiła wyjątek."));
    }
    if (cancel)
        Fail(SqlErrors::ecImportCancelled);
}

void CheckSource(TSqlConnection& C, IEwidarDataBase* Source) {
    if (!Source)
        Fail(SqlErrors::ecImport, QStringLiteral("Nie wskazano bazy źródłowej."));
    if (Source->GetDataBaseSymbol() == C.Symbol().toStdU16String() &&
        Source->GetDataBaseID() == C.DataBaseID().toStdU16String())
        Fail(SqlErrors::ecImport, QStringLiteral("Źródłowa baza danych jest tą samą bazą co docelowa."));
    // A failure would roll back the root object's whole transaction, not only the import.
    if (C.InUserTransaction())
        Fail(SqlErrors::ecImport, QStringLiteral("Import nie może się odbyć w otwartej transakcji."));
}

} // namespace

void Run(const TSqlConnectionPtr& Target, IEwidarDataBase* Source, const TProgressEvent& Progress,
         const TSqlConnectionPtr& SameBackend) {
    TSqlConnection& c = *Target;
    SqlAccess::Demand(c, SqlAccess::rtOperators);
    CheckSource(c, Source);
    TWriteScope scope(c);
    TWriter writer(c, Progress);
    writer.Report(0);
    qint64 copied = 0;
    // Held here: a disconnect of the source during the import replaces its connection object.
    if (const TSqlConnectionPtr from = SameBackend; from && from->IsOpen())
        copied = CopyInBulk(c, *from, Source, writer, [&writer](qint64 Percent) { writer.Report(Percent); });
    else {
        ReadSource(Source, writer);
        writer.Finish();
        copied = writer.Count();
    }
    SqlHistory::Append(c, SqlHistory::TEntry{
                              THistoryEvent::heImport, 0, 0, 0, {},
                              {SqlHistory::TChange{QStringLiteral("ZRODLO"), QStringLiteral("Baza źródłowa"), {},
                                                   QString::fromStdU16String(Source->GetDataBaseSymbol()) +
                                                       QStringLiteral(": ") +
                                                       QString::fromStdU16String(Source->GetDataBaseID())},
                               SqlHistory::TChange{QStringLiteral("REKORDY"), QStringLiteral("Przeniesione rekordy"),
                                                   {}, QString::number(copied)}}});
    for (int kind = 1; kind <= 21; ++kind)
        scope.Changed(kind);
    scope.Commit();
}

} // namespace SqlImport
