// The report of one subject in a database of 10,000 generated subjects (a thousand
// taxpayers with employees and contractors) plus one fully filled subject: the
// filled subject reached from the taxpayers list and from the list of all subjects
// (then every taxpayer is looked through), and a generated taxpayer with its people.
//
// The generated file is kept in <bin>/../bench-data and copied before the filled
// subject is added. Run with --benchmark_repetitions=5 for medians.

#include "BackendLoader.h"
#include "FilledSubject.h"
#include "SubjectGenerator.h"
#include "uGetPodatnikInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kSubjects = 10000;

QString DataDir() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir;
}

TIntfPtr<IEwidarDataBase>& Db() {
    static TIntfPtr<IEwidarDataBase> db;
    return db;
}
TIntfPtr<IPodmiot>& Filled() {
    static TIntfPtr<IPodmiot> s;
    return s;
}

void Report(benchmark::State& State, IPodmiot* Subject, bool FromTaxpayers) {
    size_t chars = 0;
    for (auto _ : State) {
        // What the list frame hands over: the registry's list, or none from all subjects.
        const TIntfPtr<IPodatnicy> podatnicy =
            FromTaxpayers ? Db()->GetRegistries()->GetPodatnicy({}) : TIntfPtr<IPodatnicy>();
        chars = GetPodatnikInfo(Db().get(), nullptr, podatnicy.get(), Subject, true, true, 3).size();
        benchmark::DoNotOptimize(chars);
    }
    State.counters["chars"] = double(chars);
}

void BM_FilledSubjectFromTaxpayers(benchmark::State& State) {
    Report(State, Filled().get(), true);
}
void BM_FilledSubjectFromAllSubjects(benchmark::State& State) {
    Report(State, Filled().get(), false);
}
void BM_GeneratedTaxpayer(benchmark::State& State) {
    const auto taxpayer = Supports<IPodmiot>(Db()->GetRegistries()->GetPodatnicy({})->GetItem(0));
    Report(State, taxpayer.get(), false);
}

BENCHMARK(BM_FilledSubjectFromTaxpayers)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FilledSubjectFromAllSubjects)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_GeneratedTaxpayer)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!Backend().error.isEmpty()) {
        std::fprintf(stderr, "backend not loaded: %s\n", qPrintable(Backend().error));
        return 1;
    }
    const QString generated = DataDir() + QStringLiteral("/subjects-%1.db").arg(kSubjects);
    if (!SubjectGenerator::EnsureGenerated(generated, kSubjects))
        return 1;
    const QString path = DataDir() + QStringLiteral("/report-%1.db").arg(kSubjects);
    QFile::remove(path);
    if (!QFile::copy(generated, path))
        return 1;
    Db() = NewRoot();
    std::u16string param = U(QStringLiteral("DIR=%1;").arg(path));
    if (!Db()->Connect(param, false)) {
        std::fprintf(stderr, "connect failed: %d\n", Db()->GetLastErrorCode());
        return 1;
    }
    Filled() = NewFilledSubject(Db().get());
    if (!Filled())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Filled() = nullptr;
    Db()->Disconnect();
    Db() = nullptr;
    return 0;
}
