// Backups of the 100,000 subjects on both dialects: writing the backup (read back and
// checked before it gets its name), reading and checking a written one, restoring it
// into an empty database, and posts on the main connection while a backup runs on
// another thread, as the automatic backup runs beside the operator's work.

#include "BackendLoader.h"
#include "BenchTargets.h"
#include "uEwidarQuorDBSymbole.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace BenchTargets {

namespace {

constexpr int kSubjects = 100000;

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// The backup file of the dialect, written by the first benchmark that needs it.
QString BackupPath(TDialect D) {
    return Folder().filePath(Name(D) + QStringLiteral(".ewkopia"));
}

// A root connected over the 100,000 subjects, for one benchmark (disconnected at its
// end, before the server stops); null with the benchmark skipped.
struct TRoot {
    TIntfPtr<IEwidarDataBase> db;
    TRoot(benchmark::State& State, TDialect D) {
        QString why;
        const QString param = Generated(D, kSubjects, why);
        if (!param.isEmpty())
            db = Connected(D, param, false, why);
        if (!db)
            Skip(State, why);
    }
    ~TRoot() {
        if (db)
            db->Disconnect();
    }
    TRoot(const TRoot&) = delete;
    TRoot& operator=(const TRoot&) = delete;
};

bool WriteBackup(benchmark::State& State, IEwidarDataBase* Db, TDialect D) {
    if (Db->Backup(U(BackupPath(D)), {}))
        return true;
    Skip(State, QStringLiteral("backup failed: %1").arg(Db->GetLastErrorCode()));
    return false;
}

void BM_Backup(benchmark::State& state, TDialect D) {
    TRoot root(state, D);
    IEwidarDataBase* db = root.db.get();
    if (!db)
        return;
    for (auto _ : state)
        if (!WriteBackup(state, db, D))
            return;
    state.counters["MB"] = double(QFileInfo(BackupPath(D)).size()) / (1024.0 * 1024.0);
}

bool Written(benchmark::State& State, IEwidarDataBase* Db, TDialect D) {
    return QFileInfo::exists(BackupPath(D)) || WriteBackup(State, Db, D);
}

void BM_VerifyBackup(benchmark::State& state, TDialect D) {
    TRoot root(state, D);
    IEwidarDataBase* db = root.db.get();
    if (!db || !Written(state, db, D))
        return;
    for (auto _ : state) {
        std::u16string manifest;
        if (!db->ReadBackup(U(BackupPath(D)), {}, manifest))
            return Skip(state, QStringLiteral("verify failed: %1").arg(db->GetLastErrorCode()));
        benchmark::DoNotOptimize(manifest);
    }
}

// Into a new empty database each time (untimed: creating it and its schema).
void BM_RestoreIntoEmpty(benchmark::State& state, TDialect D) {
    TRoot root(state, D);
    IEwidarDataBase* db = root.db.get();
    if (!db || !Written(state, db, D))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        QString why;
        const QString param = Empty(D, QStringLiteral("restore"), why);
        TIntfPtr<IEwidarDataBase> target = param.isEmpty() ? nullptr : Connected(D, param, true, why);
        if (!target)
            return Skip(state, why);
        state.ResumeTiming();
        if (!target->Restore(U(BackupPath(D)), {}))
            return Skip(state, QStringLiteral("restore failed: %1").arg(target->GetLastErrorCode()));
        state.PauseTiming();
        state.counters["subjects"] = target->GetRegistries()->GetPodmioty({})->GetCount();
        target->Disconnect();
        state.ResumeTiming();
    }
}

// One subject posted every 100 ms on the root's own connection while the same root
// writes a backup on a worker thread; the time is the backup's, the posts' median, 95th
// percentile and longest latency are counters.
void BM_PostDuringBackup(benchmark::State& state, TDialect D) {
    TRoot root(state, D);
    IEwidarDataBase* db = root.db.get();
    if (!db)
        return;
    auto record = Supports<IEwidarListCollection>(db->GetRegistries()->GetPodatnicy(u"nowak"))->GetItem(0);
    // Each post's latency with the backup's progress as it began, to tell which step of
    // the backup the slow ones met.
    std::vector<std::pair<double, int>> latencies;
    std::atomic<int> percent = 0;
    db->SetOnProgress([&percent](int32_t Percent, bool&) { percent = Percent; });
    int n = 0;
    for (auto _ : state) {
        std::atomic<bool> done = false;
        bool ok = false;
        std::thread worker([&] {
            // As the program's automatic backup runs: at nice 10.
            ::setpriority(PRIO_PROCESS, id_t(::gettid()), 10);
            ok = db->Backup(U(BackupPath(D)), {});
            done = true;
        });
        while (!done) {
            QThread::msleep(100);
            const int at = percent;
            QElapsedTimer t;
            t.start();
            record->GetDataFields()
                ->GetDataField(U(cDanePodmiotuNrTelefonu.Symbol))
                ->SetValue(QStringLiteral("603 %1").arg(++n).toStdU16String());
            const bool posted = record->Post();
            latencies.emplace_back(double(t.nsecsElapsed()) / 1e6, at);
            if (!posted) {
                worker.join();
                return Skip(state, QStringLiteral("post failed: %1").arg(db->GetLastErrorCode()));
            }
        }
        worker.join();
        if (!ok)
            return Skip(state, QStringLiteral("backup failed: %1").arg(db->GetLastErrorCode()));
    }
    db->SetOnProgress(nullptr);
    std::sort(latencies.begin(), latencies.end());
    state.counters["posts"] = double(latencies.size());
    if (!latencies.empty()) {
        state.counters["post_median_ms"] = latencies[latencies.size() / 2].first;
        state.counters["post_p95_ms"] = latencies[latencies.size() * 95 / 100].first;
        state.counters["post_max_ms"] = latencies.back().first;
        state.counters["post_max_at_pct"] = latencies.back().second;
    }
}

// Registered as the program starts (so listed before those registered from main).
const bool kRegistered = [] {
    using Fn = void (*)(benchmark::State&, TDialect);
    const std::pair<const char*, Fn> cases[] = {{"BM_Backup", BM_Backup},
                                                {"BM_VerifyBackup", BM_VerifyBackup},
                                                {"BM_RestoreIntoEmpty", BM_RestoreIntoEmpty},
                                                {"BM_PostDuringBackup", BM_PostDuringBackup}};
    for (const auto& [name, fn] : cases)
        for (TDialect d : kDialects)
            benchmark::RegisterBenchmark(QStringLiteral("%1/%2").arg(QLatin1String(name), Name(d)).toUtf8().constData(),
                                         fn, d)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
    return true;
}();

} // namespace

} // namespace BenchTargets
