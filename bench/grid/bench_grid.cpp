// The list frame over 100,000 subjects: from SetEwidarCollection to a painted
// grid, and from a burst of filter keystrokes to the repainted list (the 250 ms
// typing delay itself is left out), through the real SQL backend and through an
// in-memory collection that isolates the grid's own cost. Peak memory is
// reported as a counter; run one benchmark per process (--benchmark_filter) to
// read it for that benchmark alone. Use --benchmark_repetitions=5 for medians.

#include "BackendLoader.h"
#include "SubjectGenerator.h"
#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarDrawGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTest>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr int kSubjects = 100000;

QString DataPath() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/subjects-%1.db").arg(kSubjects);
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

TIntfPtr<IEwidarDataBase>& Db() {
    static TIntfPtr<IEwidarDataBase> db;
    return db;
}

// An in-memory list of subjects with three description lines each.
class MemoryInfo : public TInterfacedObject<IEwidarRecordInfo> {
public:
    explicit MemoryInfo(const std::array<std::u16string, 3>* Lines) : m_lines(Lines) {}
    int32_t GetCount() override { return 3; }
    std::u16string GetLine(int32_t Index) override { return (*m_lines)[static_cast<size_t>(Index)]; }
    std::u16string GetSummary() override { return (*m_lines)[0]; }

private:
    const std::array<std::u16string, 3>* m_lines;
};

class MemoryRecord : public TInterfacedObject<IEwidarRecord> {
public:
    MemoryRecord(int32_t Id, const std::array<std::u16string, 3>* Lines) : m_id(Id), m_lines(Lines) {}
    int32_t GetLastErrorCode() override { return 0; }
    bool IsNew() override { return false; }
    int32_t GetID() override { return m_id; }
    TIntfPtr<IDataFields> GetDataFields() override { return {}; }
    TIntfPtr<IEwidarRecordInfo> GetRecordInfo() override {
        return MakeIntf<IEwidarRecordInfo, MemoryInfo>(m_lines);
    }
    bool Post() override { return true; }
    bool Delete() override { return true; }
    bool Lock() override { return true; }
    bool Unlock() override { return true; }
    bool Refresh() override { return true; }

private:
    int32_t m_id;
    const std::array<std::u16string, 3>* m_lines;
};

class MemorySubjects : public TInterfacedObject<IPodmioty> {
public:
    MemorySubjects() {
        const char16_t* towns[] = {u"Warszawa", u"Kraków", u"Łódź", u"Wrocław", u"Poznań", u"Gdańsk"};
        m_lines.reserve(kSubjects);
        for (int i = 0; i < kSubjects; ++i)
            m_lines.push_back(
                {QStringLiteral("Kowalski-%1 Jan, ul. Długa %2").arg(i).arg(i % 200).toStdU16String(),
                 QString::number(5260000000LL + i).toStdU16String(), towns[i % 6]});
        SetFilter(u"");
    }
    int32_t GetLastErrorCode() override { return 0; }
    int32_t GetCount() override { return static_cast<int32_t>(m_visible.size()); }
    void SetFilter(const std::u16string& Text) override {
        m_visible.clear();
        for (size_t i = 0; i < m_lines.size(); ++i)
            if (Text.empty() || m_lines[i][0].find(Text) != std::u16string::npos)
                m_visible.push_back(i);
    }
    void SetOnChange(TNotifyEvent) override {}
    TIntfPtr<IEwidarRecord> GetItem(int32_t Index) override {
        const size_t i = m_visible[static_cast<size_t>(Index)];
        return MakeIntf<IEwidarRecord, MemoryRecord>(static_cast<int32_t>(i + 1), &m_lines[i]);
    }

private:
    std::vector<std::array<std::u16string, 3>> m_lines;
    std::vector<size_t> m_visible;
};

TIntfPtr<IEwidarCollection> AllSubjects(bool Real) {
    if (Real)
        return Db()->GetRegistries()->GetPodmioty({});
    static TIntfPtr<IPodmioty> memory = MakeIntf<IPodmioty, MemorySubjects>();
    memory->SetFilter(u"");
    return memory;
}

void Paint(TCollectionBaseFrame& Frame) {
    Frame.DrawGrid1->horizontalHeader()->viewport()->repaint();
    Frame.DrawGrid1->viewport()->repaint();
}

// From handing the collection over to the painted grid.
void LoadAll(benchmark::State& state, bool Real) {
    TCollectionBaseFrame frame;
    frame.resize(900, 600);
    frame.show();
    for (auto _ : state) {
        state.PauseTiming();
        frame.SetEwidarCollection(nullptr);
        TIntfPtr<IEwidarCollection> list = AllSubjects(Real);
        state.ResumeTiming();
        frame.SetEwidarCollection(list.get());
        Paint(frame);
        state.counters["rows"] = frame.DrawGrid1->RowCount() - 1;
    }
    state.counters["peak_rss_mb"] = PeakRssMb();
}

// Typing a filter into the box of a list of every subject, then the reload that
// the timer runs, then the paint. Each pass starts from the full list.
void FilterBurst(benchmark::State& state, bool Real, const QString& Text) {
    TCollectionBaseFrame frame;
    frame.resize(900, 600);
    frame.show();
    TIntfPtr<IEwidarCollection> list = AllSubjects(Real);
    frame.SetEwidarCollection(list.get());
    for (auto _ : state) {
        state.PauseTiming();
        frame.edtfilter->clear();
        frame.tmrFilterTimer();
        state.ResumeTiming();
        QTest::keyClicks(frame.edtfilter, Text);
        frame.tmrFilterTimer();
        Paint(frame);
        state.counters["rows"] = frame.DrawGrid1->RowCount() - 1;
    }
    state.counters["peak_rss_mb"] = PeakRssMb();
}

// Dropping a full list: what every reload of a long list pays first.
void BM_Real_ClearAllSubjects(benchmark::State& state) {
    TCollectionBaseFrame frame;
    for (auto _ : state) {
        state.PauseTiming();
        TIntfPtr<IEwidarCollection> list = AllSubjects(true);
        frame.SetEwidarCollection(list.get());
        list = nullptr;
        state.ResumeTiming();
        frame.DrawGrid1->Clear();
    }
}

// The backend's part of a filter pass over every subject.
void BM_Real_BackendFilterOnly(benchmark::State& state) {
    TIntfPtr<IEwidarCollection> list = AllSubjects(true);
    for (auto _ : state) {
        list->SetFilter(u"1002");
        benchmark::DoNotOptimize(list->GetCount());
        state.PauseTiming();
        list->SetFilter(u"");
        list->GetCount();
        state.ResumeTiming();
    }
}

void BM_Real_LoadAllSubjects(benchmark::State& s) {
    LoadAll(s, true);
}
// A NIP fragment: 191 of the generated subjects.
void BM_Real_FilterBurst_Nip(benchmark::State& s) {
    FilterBurst(s, true, QStringLiteral("1002"));
}
// A common name: 2,084 subjects.
void BM_Real_FilterBurst_Name(benchmark::State& s) {
    FilterBurst(s, true, QStringLiteral("Jan Nowak"));
}
void BM_Memory_LoadAllSubjects(benchmark::State& s) {
    LoadAll(s, false);
}
void BM_Memory_FilterBurst(benchmark::State& s) {
    FilterBurst(s, false, QStringLiteral("ski-123"));
}

BENCHMARK(BM_Real_ClearAllSubjects)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Real_BackendFilterOnly)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Real_LoadAllSubjects)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Real_FilterBurst_Nip)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Real_FilterBurst_Name)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Memory_LoadAllSubjects)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Memory_FilterBurst)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

bool PrepareData() {
    return SubjectGenerator::EnsureGenerated(DataPath(), kSubjects);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
    std::fprintf(stderr, "peak RSS before the benchmarks: %.1f MB\n", PeakRssMb());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Db()->Disconnect();
    Db() = nullptr;
    return 0;
}
