// The SQL backend over 100,000 subjects: the list of all subjects with every row's
// description lines, a three-letter filter, posting one subject; and the same
// work through the SQLite C API over the same file as the floor.
//
// The generated file is kept in <bin>/../bench-data and reused while it holds the
// expected number of subjects. Run with --benchmark_repetitions=5 for medians.

#include "BackendLoader.h"
#include "SubjectGenerator.h"
#include "uEwidarQuorDBSymbole.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>

namespace {

constexpr int kSubjects = 100000;
const char16_t* kFilter = u"kow";

QString DataPath() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/subjects-%1.db").arg(kSubjects);
}

TIntfPtr<IEwidarDataBase>& Db() {
    static TIntfPtr<IEwidarDataBase> db;
    return db;
}

sqlite3* Raw() {
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(DataPath().toUtf8().constData(), &d);
        // The same durability as the backend's connection, so that posts compare fairly.
        sqlite3_exec(d, "PRAGMA synchronous = FULL; PRAGMA cache_size = -16000", nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

void BM_AllSubjectsDescriptions(benchmark::State& state) {
    for (auto _ : state) {
        auto list = Db()->GetRegistries()->GetPodmioty({});
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

void BM_Filter3Letters(benchmark::State& state) {
    auto list = Db()->GetRegistries()->GetPodmioty({});
    for (auto _ : state) {
        list->SetFilter(kFilter);
        const int n = list->GetCount();
        // The grid reads the rows it shows at once.
        for (int i = 0; i < std::min(n, 40); ++i)
            benchmark::DoNotOptimize(list->GetItem(i)->GetRecordInfo()->GetLine(0));
        state.counters["rows"] = n;
        list->SetFilter(u""); // the next pass reads again
    }
}

void BM_PostSubject(benchmark::State& state) {
    auto list = Db()->GetRegistries()->GetPodatnicy(u"nowak");
    auto record = Supports<IEwidarListCollection>(list)->GetItem(0);
    int n = 0;
    for (auto _ : state) {
        auto field = record->GetDataFields()->GetDataField(U(cDanePodmiotuNrTelefonu.Symbol));
        field->SetValue(QStringLiteral("600 %1").arg(++n).toStdU16String());
        if (!record->Post())
            state.SkipWithError("post failed");
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

void BM_Raw_PostSubject(benchmark::State& state) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        Raw(),
        "INSERT INTO ew_value (record_id, symbol, value) VALUES (1, 'cDanePodmiotuNrTelefonu', ?) "
        "ON CONFLICT (record_id, symbol) DO UPDATE SET value = excluded.value",
        -1, &s, nullptr);
    int n = 0;
    for (auto _ : state) {
        sqlite3_exec(Raw(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        const QByteArray v = QByteArray::number(++n);
        sqlite3_reset(s);
        sqlite3_bind_text(s, 1, v.constData(), v.size(), SQLITE_TRANSIENT);
        sqlite3_step(s);
        sqlite3_exec(Raw(),
                     "UPDATE ew_record SET line2 = line2, version = version + 1 WHERE id = 1; "
                     "UPDATE ew_change SET counter = counter + 1 WHERE kind = 21; COMMIT",
                     nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(s);
}

BENCHMARK(BM_AllSubjectsDescriptions)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Raw_AllSubjects)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Filter3Letters)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Raw_Filter3Letters)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PostSubject)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_Raw_PostSubject)->Unit(benchmark::kMillisecond)->Iterations(50);

bool PrepareData() {
    return SubjectGenerator::EnsureGenerated(DataPath(), kSubjects);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!Backend().error.isEmpty()) {
        std::fprintf(stderr, "backend not loaded: %s\n", qPrintable(Backend().error));
        return 1;
    }
    if (!PrepareData())
        return 1;
    Db() = NewRoot();
    std::u16string param = U(QStringLiteral("DIR=%1;").arg(DataPath()));
    if (!Db()->Connect(param, false)) {
        std::fprintf(stderr, "connect failed: %d\n", Db()->GetLastErrorCode());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Db()->Disconnect();
    Db() = nullptr;
    sqlite3_close(Raw());
    return 0;
}
