// Import of a generated database of 10,000 subjects (taxpayers, their employees
// and contractors, one address each) into an empty one through the exported root
// object's ImportFrom, which reads a source of this backend table by table: within
// each dialect (/SQLITE, /MYSQL) and from a SQLite file onto the server
// (/SQLITE_TO_MYSQL, an office moving to several desks). The floor is the same data
// copied table by table inside SQLite (ATTACH and INSERT ... SELECT), with no
// identifiers to map and no description lines to compute.

#include "BackendLoader.h"
#include "BenchTargets.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace BenchTargets {

namespace {

constexpr int kSubjects = 10000;
const QString kTarget = QStringLiteral("import-target");

void BM_ImportThroughContract(benchmark::State& state, TDialect From, TDialect To) {
    QString why;
    const QString from = Generated(From, kSubjects, why);
    auto source = from.isEmpty() ? nullptr : Connected(From, from, false, why);
    if (!source)
        return Skip(state, why);
    int reports = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString to = Empty(To, kTarget, why);
        auto target = to.isEmpty() ? nullptr : Connected(To, to, true, why);
        if (!target) {
            Skip(state, why);
            break;
        }
        target->SetOnProgress([&reports](int32_t, bool&) { ++reports; });
        state.ResumeTiming();
        if (!target->ImportFrom(source.get())) {
            Skip(state, QStringLiteral("import failed: %1").arg(target->GetLastErrorCode()));
            break;
        }
        state.PauseTiming();
        state.counters["subjects"] = target->GetRegistries()->GetPodmioty({})->GetCount();
        target->Disconnect();
        state.ResumeTiming();
    }
    state.counters["progress_calls"] = reports;
    source->Disconnect();
}

void BM_Raw_CopyTables(benchmark::State& state) {
    QString why;
    const QString source = FileOf(Generated(TDialect::Sqlite, kSubjects, why));
    if (source.isEmpty())
        return Skip(state, why);
    for (auto _ : state) {
        state.PauseTiming();
        const QString to = Empty(TDialect::Sqlite, kTarget, why);
        Connected(TDialect::Sqlite, to, true, why)->Disconnect(); // an empty database of the current schema
        sqlite3* db = nullptr;
        sqlite3_open(FileOf(to).toUtf8().constData(), &db);
        const QByteArray attach = "ATTACH '" + source.toUtf8() + "' AS src";
        state.ResumeTiming();
        sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr);
        const int rc = sqlite3_exec(db,
                                    "BEGIN IMMEDIATE;"
                                    "INSERT INTO ew_record SELECT * FROM src.ew_record;"
                                    "INSERT INTO ew_value SELECT * FROM src.ew_value;"
                                    "INSERT INTO ew_link SELECT * FROM src.ew_link;"
                                    "INSERT INTO ew_person SELECT * FROM src.ew_person;"
                                    "INSERT INTO ew_ident SELECT * FROM src.ew_ident;"
                                    "COMMIT",
                                    nullptr, nullptr, nullptr);
        state.PauseTiming();
        if (rc != SQLITE_OK)
            state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        state.ResumeTiming();
    }
}

} // namespace

void RegisterImportBenchmarks() {
    const struct {
        const char* name;
        TDialect from, to;
    } cases[] = {{"BM_ImportThroughContract/SQLITE", TDialect::Sqlite, TDialect::Sqlite},
                 {"BM_ImportThroughContract/MYSQL", TDialect::MySql, TDialect::MySql},
                 {"BM_ImportThroughContract/SQLITE_TO_MYSQL", TDialect::Sqlite, TDialect::MySql}};
    for (const auto& c : cases) {
        benchmark::RegisterBenchmark(c.name, BM_ImportThroughContract, c.from, c.to)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(3);
        if (c.to == TDialect::Sqlite)
            benchmark::RegisterBenchmark("BM_Raw_CopyTables/SQLITE", BM_Raw_CopyTables)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
    }
}

} // namespace BenchTargets
