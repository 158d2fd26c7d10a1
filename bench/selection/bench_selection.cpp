// The choosers opened over 100,000 subjects through the real SQL backend: from
// creating the window to its first list painted. The subject chooser reads its
// first tab only; "AllTabs" reads all four at once, which is what reading every
// list at opening would cost. Use --benchmark_repetitions=5 for medians.

#include "BackendLoader.h"
#include "SubjectGenerator.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarDrawGrid.h"
#include "uPodmiotyForm.h"
#include "uSetPodatnikKontekst.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kSubjects = 100000;

QString DataPath() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/subjects-%1.db").arg(kSubjects);
}

TIntfPtr<IEwidarDataBase>& Db() {
    static TIntfPtr<IEwidarDataBase> db;
    return db;
}

void Paint(TCollectionBaseFrame* Frame) {
    Frame->DrawGrid1->horizontalHeader()->viewport()->repaint();
    Frame->DrawGrid1->viewport()->repaint();
}

int Rows(TCollectionBaseFrame* Frame) {
    return Frame->DrawGrid1->RowCount() - Frame->DrawGrid1->FixedRows();
}

void OpenSubjectChooser(benchmark::State& state, bool AllTabs) {
    for (auto _ : state) {
        auto form = std::make_unique<TPodmiotyForm>(nullptr, Db().get());
        form->show();
        if (AllTabs)
            for (int tab = 1; tab < 4; ++tab)
                form->PageControl1->setCurrentIndex(tab);
        form->PageControl1->setCurrentIndex(0);
        Paint(form->ActiveFrame());
        state.counters["rows"] = Rows(form->ActiveFrame());
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

void BM_Real_OpenSubjectChooser(benchmark::State& s) {
    OpenSubjectChooser(s, false);
}
void BM_Real_OpenSubjectChooser_AllTabs(benchmark::State& s) {
    OpenSubjectChooser(s, true);
}

void BM_Real_OpenTaxpayerChooser(benchmark::State& state) {
    for (auto _ : state) {
        auto form = std::make_unique<TSetPodatnikKontekstForm>(nullptr, Db().get(), ptPracownik);
        form->show();
        Paint(form->ActiveFrame());
        state.counters["rows"] = Rows(form->ActiveFrame());
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Real_OpenSubjectChooser)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Real_OpenSubjectChooser_AllTabs)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Real_OpenTaxpayerChooser)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!Backend().error.isEmpty()) {
        std::fprintf(stderr, "backend not loaded: %s\n", qPrintable(Backend().error));
        return 1;
    }
    if (!SubjectGenerator::EnsureGenerated(DataPath(), kSubjects))
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
    return 0;
}
