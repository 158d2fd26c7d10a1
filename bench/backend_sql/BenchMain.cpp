// The SQL backend over 100,000 subjects, side by side on both dialects (benchmark
// names end in /SQLITE and /MYSQL): the list of all subjects with every row's
// description lines, a three-letter filter, posting one subject; the same work through
// the SQLite C API over the same file as the floor. The import of 10,000 subjects and
// four desks posting at once are registered from their own files.
//
// The SQLite file is kept in <bin>/../bench-data and reused while it holds the
// expected number of subjects; the server's databases are filled in every run (see
// BenchTargets.h). Run with --benchmark_repetitions=5 for medians.

#include "BackendLoader.h"
#include "BenchTargets.h"
#include "TestServer.h"
#include "uEwidarKinds.h"
#include "uEwidarQuorDBSymbole.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <mysql.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace BenchTargets;

namespace {

constexpr int kSubjects = 100000;
const char16_t* kFilter = u"kow";

TIntfPtr<IEwidarDataBase>& Root(TDialect D) {
    static TIntfPtr<IEwidarDataBase> roots[std::size(kDialects)];
    return roots[static_cast<int>(D)];
}

// The connected root over the 100,000 subjects of the dialect; null, with the
// benchmark skipped and the reason shown, when the dialect cannot run here.
IEwidarDataBase* Db(benchmark::State& State, TDialect D) {
    static QString why[std::size(kDialects)];
    QString& w = why[static_cast<int>(D)];
    if (!Root(D) && w.isEmpty()) {
        const QString param = Generated(D, kSubjects, w);
        if (!param.isEmpty())
            Root(D) = Connected(D, param, false, w);
    }
    if (!Root(D))
        Skip(State, w);
    return Root(D).get();
}

sqlite3* RawHandle = nullptr;

sqlite3* Raw() {
    if (!RawHandle) {
        QString why;
        const QString param = Generated(TDialect::Sqlite, kSubjects, why); // DIR=<path>;
        sqlite3_open(FileOf(param).toUtf8().constData(), &RawHandle);
        // The same durability as the backend's connection, so that posts compare fairly.
        sqlite3_exec(RawHandle, "PRAGMA synchronous = FULL; PRAGMA cache_size = -16000", nullptr, nullptr,
                     nullptr);
    }
    return RawHandle;
}

// Every row's identifier and description lines of a list, as the grid reads them: in one
// pass where the collection offers it, else a record per row.
size_t ReadAllLines(IEwidarCollection* List, int& Rows) {
    size_t chars = 0;
    if (const auto reader = Supports<IEwidarRowReader>(List)) {
        TEwidarRowLines lines;
        reader->ReadRows(lines);
        Rows = static_cast<int>(lines.IDs.size());
        for (size_t r = 0; r < lines.IDs.size(); ++r)
            for (int l = 0; l < lines.LineCount; ++l)
                chars += lines.Line(r, l).size();
        return chars;
    }
    Rows = List->GetCount();
    for (int i = 0; i < Rows; ++i) {
        auto info = EwidarKinds::CollectionGetItem(List, i)->GetRecordInfo();
        for (int l = 0; l < info->GetCount(); ++l)
            chars += info->GetLine(l).size();
    }
    return chars;
}

void BM_AllSubjectsDescriptions(benchmark::State& state, TDialect D) {
    IEwidarDataBase* db = Db(state, D);
    if (!db)
        return;
    for (auto _ : state) {
        auto list = db->GetRegistries()->GetPodmioty({});
        int n = 0;
        benchmark::DoNotOptimize(ReadAllLines(list.get(), n));
        state.counters["rows"] = n;
    }
}

// The same list a record object per row, as every list was read before the one-pass read.
void BM_AllSubjectsRecordObjects(benchmark::State& state, TDialect D) {
    IEwidarDataBase* db = Db(state, D);
    if (!db)
        return;
    for (auto _ : state) {
        auto list = db->GetRegistries()->GetPodmioty({});
        const int n = list->GetCount();
        size_t chars = 0;
        for (int i = 0; i < n; ++i) {
            auto info = list->GetItem(i)->GetRecordInfo();
            for (int l = 0; l < info->GetCount(); ++l)
                chars += info->GetLine(l).size();
        }
        benchmark::DoNotOptimize(chars);
        state.counters["rows"] = n;
    }
}

// The grid reads every matching row's lines.
void BM_Filter3Letters(benchmark::State& state, TDialect D) {
    IEwidarDataBase* db = Db(state, D);
    if (!db)
        return;
    auto list = db->GetRegistries()->GetPodmioty({});
    for (auto _ : state) {
        list->SetFilter(kFilter);
        int n = 0;
        benchmark::DoNotOptimize(ReadAllLines(list.get(), n));
        state.counters["rows"] = n;
        list->SetFilter(u""); // the next pass reads again
    }
}

void BM_PostSubject(benchmark::State& state, TDialect D) {
    IEwidarDataBase* db = Db(state, D);
    if (!db)
        return;
    auto list = db->GetRegistries()->GetPodatnicy(u"nowak");
    auto record = Supports<IEwidarListCollection>(list)->GetItem(0);
    int n = 0;
    for (auto _ : state) {
        auto field = record->GetDataFields()->GetDataField(U(cDanePodmiotuNrTelefonu.Symbol));
        field->SetValue(QStringLiteral("600 %1").arg(++n).toStdU16String());
        if (!record->Post())
            state.SkipWithError("post failed");
    }
}

// The duplicate search over every subject: pairs by NIP (every 500th subject repeats
// its predecessor's) and by name and postal code.
void BM_FindDuplicates(benchmark::State& state, TDialect D) {
    IEwidarDataBase* db = Db(state, D);
    if (!db)
        return;
    for (auto _ : state) {
        auto pairs = db->FindDuplicates();
        if (!pairs) {
            state.SkipWithError(("search failed, code " + std::to_string(db->GetLastErrorCode())).c_str());
            return;
        }
        state.counters["pairs"] = pairs->GetCount();
    }
}

// Two subjects with 200 addresses each, made (untimed) in one transaction; the merge of
// the second into the first is timed; the kept one is deleted again (untimed), so the
// database keeps its 100,000 subjects.
void BM_MergeTwoSubjects200Sections(benchmark::State& state, TDialect D) {
    IEwidarDataBase* db = Db(state, D);
    if (!db)
        return;
    auto subject = [&](const QString& Last) {
        auto p = db->GetRegistries()->GetPodatnicy({})->New();
        p->GetDataFields()->GetDataField(U(cDanePodmiotuNazwisko.Symbol))->SetValue(U(Last));
        auto addresses = Supports<IPodmiot>(p)->GetAdresy();
        for (int i = 0; i < 200; ++i) {
            auto a = addresses->New();
            a->GetDataFields()->GetDataField(U(cDaneAdresoweMiejscowosc.Symbol))->SetValue(U(QString::number(i)));
            a->Post();
        }
        p->Post();
        return p;
    };
    const std::vector<TMergeValue> chosen = {{U(cDanePodmiotuNazwisko.Symbol), u"Scalony"}};
    for (auto _ : state) {
        state.PauseTiming();
        db->StartTransaction();
        auto left = subject(QStringLiteral("Lewy"));
        auto right = subject(QStringLiteral("Prawy"));
        db->Commit();
        state.ResumeTiming();
        if (!db->MergeRecords(left->GetID(), right->GetID(), chosen)) {
            state.SkipWithError("merge failed");
            return;
        }
        state.PauseTiming();
        left->Refresh();
        state.counters["sections"] = Supports<IPodmiot>(left)->GetAdresy()->GetCount();
        left->Delete();
        state.ResumeTiming();
    }
}

void RawRows(benchmark::State& state, const char* sql, bool filter) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(Raw(), sql, -1, &s, nullptr);
    for (auto _ : state) {
        sqlite3_reset(s);
        if (filter)
            sqlite3_bind_text(s, 1, "kow", 3, SQLITE_STATIC);
        size_t chars = 0;
        int rows = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            ++rows;
            for (int c = 1; c <= 3; ++c)
                chars += sqlite3_column_bytes(s, c);
        }
        benchmark::DoNotOptimize(chars);
        state.counters["rows"] = rows;
    }
    sqlite3_finalize(s);
}

void BM_Raw_AllSubjects(benchmark::State& state) {
    RawRows(
        state,
        "SELECT id, line1, line2, line3, owner_id, is_podatnik, is_pracownik, is_kontrahent FROM ew_record "
        "WHERE kind = 21 AND state = 0 ORDER BY sort_key, id",
        false);
}

void BM_Raw_Filter3Letters(benchmark::State& state) {
    RawRows(state,
            "SELECT id, line1, line2, line3 FROM ew_record WHERE kind = 21 AND state = 0 AND instr(search, "
            "?) > 0 "
            "ORDER BY sort_key, id",
            true);
}

// A connection of its own to the generated server database through MariaDB's client
// library, closed with it; empty, with the reason in Why, when it cannot be had.
using TServerHandle = std::unique_ptr<MYSQL, decltype(&mysql_close)>;

TServerHandle RawServer(QString& Why) {
    TServerHandle m(nullptr, &mysql_close);
    const QString param = Generated(TDialect::MySql, kSubjects, Why);
    if (param.isEmpty())
        return m;
    m.reset(mysql_init(nullptr));
    const QByteArray db = ChildTarget(TDialect::MySql, param).toUtf8();
    const QByteArray socket = TestServer::Socket().toUtf8();
    if (!mysql_real_connect(m.get(), nullptr, "root", nullptr, db.constData(), 0, socket.constData(), 0) ||
        mysql_set_character_set(m.get(), "utf8mb4") != 0) {
        Why = QString::fromUtf8(mysql_error(m.get()));
        m.reset();
    }
    return m;
}

// The server's floor: the rows the backend asks for (table order, with the sort keys,
// which the desk sorts), through MariaDB's client library on a connection of its own,
// streamed and counted, neither sorted nor decoded.
void RawServerRows(benchmark::State& state, const char* sql) {
    QString why;
    const TServerHandle server = RawServer(why);
    if (!server)
        return Skip(state, why);
    MYSQL* m = server.get();
    for (auto _ : state) {
        size_t bytes = 0;
        int rows = 0;
        mysql_real_query(m, sql, static_cast<unsigned long>(qstrlen(sql)));
        MYSQL_RES* result = mysql_use_result(m);
        while (result && mysql_fetch_row(result)) {
            const unsigned long* lengths = mysql_fetch_lengths(result);
            ++rows;
            for (int c = 5; c <= 8; ++c)
                bytes += lengths[c];
        }
        mysql_free_result(result);
        benchmark::DoNotOptimize(bytes);
        state.counters["rows"] = rows;
    }
}

void BM_Raw_AllSubjectsServer(benchmark::State& state) {
    RawServerRows(state, "SELECT r.id, r.owner_id, r.is_podatnik, r.is_pracownik, r.is_kontrahent, r.line1, "
                         "r.line2, r.line3, r.sort_key FROM ew_record r WHERE r.kind = 21 AND r.state = 0");
}

void BM_Raw_Filter3LettersServer(benchmark::State& state) {
    RawServerRows(state, "SELECT r.id, r.owner_id, r.is_podatnik, r.is_pracownik, r.is_kontrahent, r.line1, "
                         "r.line2, r.line3, r.sort_key FROM ew_record r WHERE r.kind = 21 AND r.state = 0 AND "
                         "instr(r.search, 'kow') > 0");
}

// Another desk's commit between two readings: the subjects' change counter raised through
// a connection of its own, as every commit that changes a subject raises it, so that a
// list kept on the desk is read again in full.
class TOtherDesk {
public:
    explicit TOtherDesk(TDialect D) : m_dialect(D) {
        QString why;
        if (D == TDialect::MySql)
            m_server = RawServer(why);
    }

    bool Commit() {
        static const char sql[] = "UPDATE ew_change SET counter = counter + 1 WHERE kind = 21";
        if (m_dialect == TDialect::Sqlite)
            return sqlite3_exec(Raw(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        return m_server && mysql_real_query(m_server.get(), sql, sizeof(sql) - 1) == 0;
    }

private:
    TDialect m_dialect;
    TServerHandle m_server{nullptr, &mysql_close};
};

// The list of all subjects, or the filtered one, each time after another desk committed.
void ReadAfterACommit(benchmark::State& state, TDialect D, const char16_t* Filter) {
    IEwidarDataBase* db = Db(state, D);
    if (!db)
        return;
    TOtherDesk other(D);
    for (auto _ : state) {
        state.PauseTiming();
        if (!other.Commit()) {
            state.SkipWithError("the other desk's commit failed");
            return;
        }
        state.ResumeTiming();
        auto list = db->GetRegistries()->GetPodmioty(Filter);
        int n = 0;
        benchmark::DoNotOptimize(ReadAllLines(list.get(), n));
        state.counters["rows"] = n;
    }
}

void BM_AllSubjectsAfterACommit(benchmark::State& state, TDialect D) {
    ReadAfterACommit(state, D, u"");
}

void BM_Filter3LettersAfterACommit(benchmark::State& state, TDialect D) {
    ReadAfterACommit(state, D, kFilter);
}

// One value upserted, the record's version and the registry's change counter raised, in
// one transaction; WithHistory adds what every post now also writes: its history entry
// (a row with its five indexes) and the chain head, as the backend appends them.
void RawPost(benchmark::State& state, bool WithHistory) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        Raw(),
        "INSERT INTO ew_value (record_id, symbol, value) VALUES (1, 'cDanePodmiotuNrTelefonu', ?) "
        "ON CONFLICT (record_id, symbol) DO UPDATE SET value = excluded.value",
        -1, &s, nullptr);
    sqlite3_stmt* entry = nullptr;
    sqlite3_prepare_v2(Raw(),
                       "INSERT INTO ew_history (seq, at_ms, operator_id, operator, host, event, kind, record_id, "
                       "subject_id, description, details, hash) SELECT seq + 1, "
                       "CAST((julianday('now') - 2440587.5) * 86400000 AS INTEGER), 0, '', 'bench', 2, 21, 1, 1, "
                       "(SELECT line1 FROM ew_record WHERE id = 1), ?, "
                       "'0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef' "
                       "FROM ew_history_head WHERE id = 1",
                       -1, &entry, nullptr);
    // The history's chain is put back afterwards: the floor's entries carry no real hash.
    sqlite3_exec(Raw(), "CREATE TEMP TABLE IF NOT EXISTS bench_head AS SELECT seq, hash FROM ew_history_head",
                 nullptr, nullptr, nullptr);
    int n = 0;
    for (auto _ : state) {
        sqlite3_exec(Raw(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        const QByteArray v = QByteArray::number(++n);
        sqlite3_reset(s);
        sqlite3_bind_text(s, 1, v.constData(), v.size(), SQLITE_TRANSIENT);
        sqlite3_step(s);
        if (WithHistory) {
            const QByteArray details = "[{\"symbol\":\"cDanePodmiotuNrTelefonu\",\"caption\":\"Telefon\","
                                       "\"old\":\"" + QByteArray::number(n - 1) + "\",\"new\":\"" + v + "\"}]";
            sqlite3_reset(entry);
            sqlite3_bind_text(entry, 1, details.constData(), details.size(), SQLITE_TRANSIENT);
            sqlite3_step(entry);
            sqlite3_exec(Raw(),
                         "UPDATE ew_history_head SET seq = seq + 1, hash = "
                         "'0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef' WHERE id = 1",
                         nullptr, nullptr, nullptr);
        }
        sqlite3_exec(Raw(),
                     "UPDATE ew_record SET line2 = line2, version = version + 1 WHERE id = 1; "
                     "UPDATE ew_change SET counter = counter + 1 WHERE kind = 21; COMMIT",
                     nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(entry);
    sqlite3_finalize(s);
    sqlite3_exec(Raw(),
                 "BEGIN IMMEDIATE; DELETE FROM ew_history WHERE seq > (SELECT seq FROM temp.bench_head); "
                 "UPDATE ew_history_head SET seq = (SELECT seq FROM temp.bench_head), "
                 "hash = (SELECT hash FROM temp.bench_head) WHERE id = 1; COMMIT; DROP TABLE temp.bench_head",
                 nullptr, nullptr, nullptr);
}

void BM_Raw_PostSubject(benchmark::State& state) {
    RawPost(state, false);
}

void BM_Raw_PostSubjectWithHistoryEntry(benchmark::State& state) {
    RawPost(state, true);
}

// Each measurement on SQLite, its floor, then on the server, so that the two dialects
// stand next to each other in the output.
void Register() {
    using Fn = void (*)(benchmark::State&, TDialect);
    struct TCase {
        const char* name;
        Fn fn;
        void (*floor)(benchmark::State&);
        int iterations;
        void (*secondFloor)(benchmark::State&) = nullptr;
        const char* secondFloorName = nullptr;
        void (*serverFloor)(benchmark::State&) = nullptr;
    };
    const TCase cases[] = {{"BM_AllSubjectsDescriptions", BM_AllSubjectsDescriptions, BM_Raw_AllSubjects, 3, nullptr,
                            nullptr, BM_Raw_AllSubjectsServer},
                           {"BM_AllSubjectsAfterACommit", BM_AllSubjectsAfterACommit, nullptr, 3},
                           {"BM_AllSubjectsRecordObjects", BM_AllSubjectsRecordObjects, nullptr, 3},
                           {"BM_Filter3Letters", BM_Filter3Letters, BM_Raw_Filter3Letters, 10, nullptr, nullptr,
                            BM_Raw_Filter3LettersServer},
                           {"BM_Filter3LettersAfterACommit", BM_Filter3LettersAfterACommit, nullptr, 10},
                           {"BM_PostSubject", BM_PostSubject, BM_Raw_PostSubject, 50, BM_Raw_PostSubjectWithHistoryEntry,
                            "BM_Raw_PostSubjectWithHistoryEntry/SQLITE"},
                           {"BM_FindDuplicates", BM_FindDuplicates, nullptr, 5},
                           {"BM_MergeTwoSubjects200Sections", BM_MergeTwoSubjects200Sections, nullptr, 5}};
    for (const TCase& c : cases) {
        for (TDialect d : kDialects) {
            const QString name = QStringLiteral("%1/%2").arg(QLatin1String(c.name), Name(d));
            benchmark::RegisterBenchmark(name.toUtf8().constData(), c.fn, d)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(c.iterations);
            if (d == TDialect::MySql && c.serverFloor)
                benchmark::RegisterBenchmark((QByteArray(c.name).replace("BM_", "BM_Raw_") + "/MYSQL").constData(),
                                             c.serverFloor)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(c.iterations);
            if (d == TDialect::Sqlite && c.floor) {
                const QByteArray floor = QByteArray(c.name).replace("BM_", "BM_Raw_") + "/SQLITE";
                benchmark::RegisterBenchmark(floor.constData(), c.floor)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(c.iterations);
                if (c.secondFloor)
                    benchmark::RegisterBenchmark(c.secondFloorName, c.secondFloor)
                        ->Unit(benchmark::kMillisecond)
                        ->Iterations(c.iterations);
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!Backend().error.isEmpty()) {
        std::fprintf(stderr, "backend not loaded: %s\n", qPrintable(Backend().error));
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    Register();
    RegisterImportBenchmarks();
    RegisterDeskBenchmarks();
    RegisterHistoryBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    for (TDialect d : kDialects)
        if (Root(d)) {
            Root(d)->Disconnect();
            Root(d) = nullptr;
        }
    ReleaseHistoryBenchmarks();
    sqlite3_close(RawHandle);
    Shutdown();
    return 0;
}
