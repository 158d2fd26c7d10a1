// The six dictionary tables loaded in the background from the real library over the
// official TERYT files (../shared/data/teryt), iso-codes and the example tax offices;
// the memory the tables take; and the time from creating the core object to a main
// window connected to a fresh SQLite database, with the loading running beside it and
// without the library. Run with --benchmark_repetitions=5 for medians.

#include "../support/BenchEnvironment.h"
#include "SubjectGenerator.h"
#include "uSqlDataBase.h"
#include "uCore.h"
#include "uDictionaryTables.h"
#include "uInitializeTableThread.h"
#include "uKwadrelInstall.h"
#include "uMainForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>

namespace {

QString g_withLibrary;    // the build's bin folder: router, SQL backend, Kwadrel2015
QString g_withoutLibrary; // the router and the backend alone

long RssKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

int TotalRows() {
    int rows = 0;
    for (int t = 0; t < cDictionaryTypeCount; ++t)
        rows += TableRowCount(TDictionaryType(t));
    return rows;
}

void BM_LoadAllTablesInTheBackground(benchmark::State& State) {
    double constructorMs = 0;
    for (auto _ : State) {
        // The previous round's tables are freed outside the measured time: at program
        // start they are empty.
        ResetDictionaryTables();
        QElapsedTimer timer;
        timer.start();
        TInitializeTableThread thread(g_withLibrary);
        constructorMs += timer.nsecsElapsed() / 1e6;
        thread.wait();
        State.SetIterationTime(timer.nsecsElapsed() / 1e9);
    }
    State.counters["rows"] = TotalRows();
    State.counters["localities"] = TableRowCount(dtMiejscowosci);
    State.counters["main_thread_ms"] = constructorMs / double(State.iterations());
}
BENCHMARK(BM_LoadAllTablesInTheBackground)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Creating the core, the main window, showing it and its first activation (connecting
// the default SQLite database and listing the first registry).
void StartToUsableMainWindow(benchmark::State& State, const QString& Folder) {
    for (auto _ : State) {
        ResetDictionaryTables();
        QElapsedTimer timer;
        timer.start();
        CreateCore(Folder);
        {
            TMainForm form;
            form.show();
            form.FormActivate();
            QCoreApplication::processEvents();
            State.SetIterationTime(timer.nsecsElapsed() / 1e9);
            State.counters["tables_loaded_at_window"] = TableLoaded(dtKraje) ? 1 : 0;
        }
        Core()->FInitializeTableThread->wait();
        DestroyCore();
    }
}

void BM_StartToUsableMainWindow(benchmark::State& State) {
    StartToUsableMainWindow(State, State.range(0) ? g_withLibrary : g_withoutLibrary);
}
BENCHMARK(BM_StartToUsableMainWindow)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The same start, without and with the library, over a default database of 100,000
// generated subjects (the first registry lists every taxpayer among them).
void BM_StartToUsableMainWindow_100000Subjects(benchmark::State& State) {
    const QString generated = QStringLiteral(EWIDAR_BIN_DIR "/../bench-data/subjects-100000.db");
    const QString target = DefaultDataBasePath();
    QDir().mkpath(QFileInfo(target).path());
    if (!SubjectGenerator::EnsureGenerated(generated, 100000) ||
        !(QFile::remove(target), QFile::copy(generated, target))) {
        State.SkipWithError("no database of 100,000 subjects");
        return;
    }
    StartToUsableMainWindow(State, State.range(0) ? g_withLibrary : g_withoutLibrary);
}
BENCHMARK(BM_StartToUsableMainWindow_100000Subjects)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void ReportMemory() {
    malloc_trim(0);
    const long rssBefore = RssKiB();
    const size_t heapBefore = mallinfo2().uordblks;
    {
        TInitializeTableThread thread(g_withLibrary);
        thread.wait();
    }
    malloc_trim(0);
    std::printf(
        "Tables: %d provinces, %d counties, %d communes, %d localities, %d countries, %d tax offices\n",
        TableRowCount(dtWojewodztwa), TableRowCount(dtPowiaty), TableRowCount(dtGminy),
        TableRowCount(dtMiejscowosci), TableRowCount(dtKraje), TableRowCount(dtUS));
    std::printf("Memory growth after loading (library unloaded): heap in use %+.1f MiB, resident %+.1f MiB\n",
                double(mallinfo2().uordblks - heapBefore) / 1048576.0, double(RssKiB() - rssBefore) / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    BenchEnvironment::Isolate(root);
    QApplication app(argc, argv);

    QString terc, simc;
    if (!BenchEnvironment::FindTeryt(QStringLiteral(EWIDAR_SOURCE_DIR), terc, simc))
        return 0;
    TTerytStats stats;
    QString error;
    int offices = 0;
    QElapsedTimer importTimer;
    importTimer.start();
    if (!InstallTeryt(terc, simc, QString(), false, stats, error) ||
        !InstallUrzedy(QStringLiteral(EWIDAR_SOURCE_DIR "/tests/addressdict/data/urzedy_przyklad.csv"),
                       QString(), false, offices, error)) {
        std::printf("%s\n", qPrintable(error));
        return 1;
    }
    std::printf("TERYT import (check and install): %lld ms\n", importTimer.elapsed());

    g_withLibrary = QStringLiteral(EWIDAR_BIN_DIR);
    g_withoutLibrary = root.path() + QStringLiteral("/nolibrary");
    QDir().mkpath(g_withoutLibrary);
    for (const char* name : {"QuorDataBase.so", "QuorDataBaseSQL.so"})
        QFile::link(g_withLibrary + u'/' + QLatin1String(name),
                    g_withoutLibrary + u'/' + QLatin1String(name));

    ReportMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
