// Four desks posting at once: four processes of backend_sql_child (the backend tests'
// second process) run "post-many" on one empty database at the same time, each posting
// 1,000 taxpayers with one address, one by one, each in its own write transaction.
// Measured: the wall time from starting the four to the last one ending (the desks
// work in other processes, so this process's CPU time says nothing), and as counters
// what came of it: posts reported, distinct identifiers among them, subjects stored,
// failures. Nothing may be lost or duplicated: posted = distinct = stored = 4,000.

#include "BackendLoader.h"
#include "BenchTargets.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace BenchTargets {

namespace {

constexpr int kDesks = 4;
constexpr int kPostsPerDesk = 1000;
constexpr int kDeskTimeoutMs = 600000;

struct TTally {
    int posted = 0;
    int failures = 0;
    QSet<qint64> ids;
    QStringList stops; // the lines of desks that stopped early
};

// Reads a desk's output lines: "POSTED <id>" after each post; any other line ("FAILED
// <code>", "CONNECT <code>") is a desk that stopped early. A crashed or hung desk is
// counted as a failure too.
void Read(QProcess& Desk, TTally& T) {
    while (Desk.canReadLine()) {
        const QByteArray line = Desk.readLine().trimmed();
        if (line.startsWith("POSTED ")) {
            ++T.posted;
            T.ids.insert(line.mid(7).toLongLong());
        } else if (!line.isEmpty()) {
            ++T.failures;
            T.stops << QString::fromUtf8(line);
        }
    }
}

void BM_FourDesksPosting(benchmark::State& state, TDialect D) {
    const QString child = QCoreApplication::applicationDirPath() + QStringLiteral("/backend_sql_child");
    if (!QFile::exists(child))
        return Skip(state, QStringLiteral("backend_sql_child not built (configure with EWIDAR_TESTS=ON)"));
    for (auto _ : state) {
        state.PauseTiming();
        QString why;
        const QString param = Empty(D, QStringLiteral("desks"), why);
        // The schema is made before the desks start: they measure posting, not creating it.
        auto db = param.isEmpty() ? nullptr : Connected(D, param, true, why);
        if (!db) {
            Skip(state, why);
            break;
        }
        std::vector<std::unique_ptr<QProcess>> desks;
        TTally tally;
        state.ResumeTiming();
        for (int i = 0; i < kDesks; ++i) {
            auto& p = desks.emplace_back(std::make_unique<QProcess>());
            p->setProcessEnvironment(ChildEnvironment(D));
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(child,
                     {QStringLiteral("post-many"), ChildTarget(D, param), QString::number(kPostsPerDesk)});
        }
        QElapsedTimer t;
        t.start();
        for (bool running = true; running && t.elapsed() < kDeskTimeoutMs;) {
            running = false;
            // Each desk's output is drained while waiting, so that none blocks on a full pipe.
            for (auto& p : desks)
                if (p->state() != QProcess::NotRunning) {
                    running = true;
                    p->waitForFinished(25);
                }
            for (auto& p : desks)
                Read(*p, tally);
        }
        for (auto& p : desks) {
            if (p->state() != QProcess::NotRunning) { // hung past the time limit
                p->kill();
                p->waitForFinished(5000);
            }
            if (p->exitStatus() != QProcess::NormalExit)
                ++tally.failures;
        }
        state.PauseTiming();
        for (auto& p : desks)
            Read(*p, tally);
        state.counters["posted"] = tally.posted;
        state.counters["distinct"] = tally.ids.size();
        state.counters["stored"] = db->GetRegistries()->GetPodatnicy({})->GetCount();
        state.counters["failures"] = tally.failures;
        // Exact numbers: the counters are shown rounded to thousands.
        std::fprintf(stderr, "%s desks: posted %d, distinct %lld, stored %g, failures %d%s%s\n",
                     qPrintable(Name(D)), tally.posted, static_cast<long long>(tally.ids.size()),
                     static_cast<double>(state.counters["stored"]), tally.failures,
                     tally.stops.isEmpty() ? "" : ": ", qPrintable(tally.stops.join(QStringLiteral(", "))));
        db->Disconnect();
        state.ResumeTiming();
    }
}

} // namespace

void RegisterDeskBenchmarks() {
    for (TDialect d : kDialects)
        benchmark::RegisterBenchmark(("BM_FourDesksPosting/" + Name(d)).toUtf8().constData(),
                                     BM_FourDesksPosting, d)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1)
            ->Repetitions(3);
}

} // namespace BenchTargets
