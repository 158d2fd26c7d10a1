// Import of a generated database of 10,000 subjects (taxpayers, their employees
// and contractors, one address each) into an empty one through the exported root
// object, which reads the source through the data-access contract. The floor is
// the same data copied table by table inside SQLite (ATTACH and INSERT ... SELECT),
// which no import through the contract can beat.
//
// The source file is kept in <bin>/../bench-data and reused while it holds the
// expected number of subjects.

#include "BackendLoader.h"
#include "SubjectGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>

namespace {

constexpr int kSubjects = 10000;

QString DataDir() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir;
}

QString SourcePath() {
    return DataDir() + QStringLiteral("/subjects-%1.db").arg(kSubjects);
}

QString TargetPath() {
    return DataDir() + QStringLiteral("/import-target.db");
}

void RemoveTarget() {
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(TargetPath() + QLatin1String(suffix));
}

TIntfPtr<IEwidarDataBase> Connected(const QString& Path, bool Create) {
    auto db = NewRoot();
    std::u16string param = U(QStringLiteral("DIR=%1;WATCH=0;").arg(Path));
    if (!db || !db->Connect(param, Create))
        return {};
    return db;
}

void BM_ImportThroughContract(benchmark::State& state) {
    auto source = Connected(SourcePath(), false);
    if (!source) {
        state.SkipWithError("source does not connect");
        return;
    }
    int reports = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RemoveTarget();
        auto target = Connected(TargetPath(), true);
        target->SetOnProgress([&reports](int32_t, bool&) { ++reports; });
        state.ResumeTiming();
        if (!target->ImportFrom(source.get())) {
            state.SkipWithError(("import failed: " + std::to_string(target->GetLastErrorCode())).c_str());
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
    for (auto _ : state) {
        state.PauseTiming();
        RemoveTarget();
        Connected(TargetPath(), true)->Disconnect(); // an empty database of the current schema
        sqlite3* db = nullptr;
        sqlite3_open(TargetPath().toUtf8().constData(), &db);
        const QByteArray attach = "ATTACH '" + SourcePath().toUtf8() + "' AS src";
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

BENCHMARK(BM_ImportThroughContract)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Raw_CopyTables)->Unit(benchmark::kMillisecond)->Iterations(3);

bool PrepareSource() {
    return SubjectGenerator::EnsureGenerated(SourcePath(), kSubjects);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!Backend().error.isEmpty()) {
        std::fprintf(stderr, "backend not loaded: %s\n", qPrintable(Backend().error));
        return 1;
    }
    if (!PrepareSource())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    RemoveTarget();
    return 0;
}
