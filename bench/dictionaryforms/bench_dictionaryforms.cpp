// The locality window over the official TERYT files (../shared/data/teryt): from
// creating the window to its list filled and painted, a re-filter of the whole list
// as its timer does it, and, for comparison, filling the grid cell by cell. The
// tax-office window over the built-in offices, opened. Run with
// --benchmark_repetitions=5 for medians.

#include "../support/BenchEnvironment.h"
#include "TEdit.h"
#include "uDictionaryForm.h"
#include "uDictionaryTables.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uFieldDictionary.h"
#include "uInitializeTableThread.h"
#include "uKwadrelInstall.h"
#include "uNumeryKontUrzedowForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point Start) {
    return std::chrono::duration<double>(TClock::now() - Start).count();
}

// Creating the window on a given locality, its first filling (select mode: every
// locality, the given one selected) and painting it.
void BM_OpenLocalityWindow(benchmark::State& State) {
    TDictionaryRecord input;
    input.Wojewodztwo = QStringLiteral("mazowieckie");
    input.Miejscowosc = QStringLiteral("Nowa Wieś");
    for (auto _ : State) {
        const auto start = TClock::now();
        TDictionaryForm form(nullptr, dtMiejscowosci);
        form.SetInput(input);
        form.show();
        form.FormActivate();
        benchmark::DoNotOptimize(form.grab());
        State.SetIterationTime(Seconds(start));
        State.counters["rows"] = form.DataRowCount();
    }
}
BENCHMARK(BM_OpenLocalityWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The tax-office window over the built-in offices (and nothing installed): from creating
// it to its list filled and painted.
void BM_OpenTaxOfficeWindow(benchmark::State& State) {
    for (auto _ : State) {
        const auto start = TClock::now();
        TDictionaryForm form(nullptr, dtUS);
        form.SetInput(TDictionaryRecord());
        form.show();
        form.FormActivate();
        benchmark::DoNotOptimize(form.grab());
        State.SetIterationTime(Seconds(start));
        State.counters["rows"] = form.DataRowCount();
    }
}
BENCHMARK(BM_OpenTaxOfficeWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// What the filter timer does after a change of a filter box: the whole table walked
// again and the list painted. 0: every locality (all boxes empty); 1: the localities
// containing "nowa"; 2: one province by its whole name.
void BM_RefilterLocalities(benchmark::State& State) {
    TDictionaryForm form(nullptr, dtMiejscowosci);
    form.SetInput(TDictionaryRecord());
    form.show();
    form.FormActivate();
    if (State.range(0) == 1)
        form.edtMiejscowosc->setText(QStringLiteral("nowa"));
    if (State.range(0) == 2)
        form.cbbWojewodztwo->setCurrentText(QStringLiteral("pomorskie"));
    form.tmrFilter->stop();
    for (auto _ : State) {
        const auto start = TClock::now();
        form.FillList();
        benchmark::DoNotOptimize(form.grab());
        State.SetIterationTime(Seconds(start));
    }
    State.counters["rows"] = form.DataRowCount();
}
BENCHMARK(BM_RefilterLocalities)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The grid filled the older way, a row count and then every cell on its own.
void BM_GridCellByCell(benchmark::State& State) {
    const auto& rows = DictionaryTables().Miejscowosci;
    for (auto _ : State) {
        TDrawGrid grid;
        grid.SetEmptyCellsEnabled(true);
        grid.resize(700, 400);
        grid.show();
        const auto start = TClock::now();
        grid.SetColCount(4);
        grid.SetRowCount(int(rows.size()) + 1);
        grid.SetFixedRows(1);
        for (int r = 0; r < int(rows.size()); ++r) {
            const TMiejscowosciRecord& m = rows[size_t(r)];
            grid.SetCells(0, r + 1, m.NazwaWojewodztwa);
            grid.SetCells(1, r + 1, m.NazwaPowiatu);
            grid.SetCells(2, r + 1, m.NazwaGminy);
            grid.SetCells(3, r + 1, m.NazwaMiejscowosci);
        }
        grid.SetWidthColumns();
        benchmark::DoNotOptimize(grid.grab());
        State.SetIterationTime(Seconds(start));
    }
}
BENCHMARK(BM_GridCellByCell)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// With --screenshots FOLDER: the filtered locality window, a word dictionary and the
// accounts window as PNG files, to look at.
class TWords : public TInterfacedObject<ISlownikField> {
public:
    int32_t GetCount() override { return int32_t(m_words.size()); }
    std::u16string GetWord(int32_t Index) override { return m_words.value(Index).toStdU16String(); }
    void AddWord(const std::u16string&) override {}
    void DeleteWord(const std::u16string&) override {}
    void ChangeWord(const std::u16string&, const std::u16string&) override {}

private:
    QStringList m_words = {QStringLiteral("Kraków"), QStringLiteral("Kraśnik"), QStringLiteral("Krosno"),
                           QStringLiteral("Gdańsk"), QStringLiteral("Kraków Nowa Huta")};
};

void Screenshots(const QString& Folder) {
    {
        TDictionaryForm form(nullptr, dtMiejscowosci);
        form.SetInput(TDictionaryRecord());
        form.show();
        form.FormActivate();
        form.cbbWojewodztwo->setCurrentText(QStringLiteral("mazowieckie"));
        form.edtMiejscowosc->setText(QStringLiteral("nowawieś"));
        form.tmrFilter->stop();
        form.FillList();
        QCoreApplication::processEvents();
        form.grab().save(Folder + QStringLiteral("/dictionary_localities.png"));
    }
    {
        QWidget owner;
        owner.resize(300, 60);
        TIntfPtr<ISlownikField> words(new TWords);
        TFieldDictionary form(&owner, words.get(), QStringLiteral("kra"));
        form.show();
        QCoreApplication::processEvents();
        form.grab().save(Folder + QStringLiteral("/word_dictionary.png"));
        TAddEditDictionaryWordForm word(&form, QStringLiteral("Kraków"));
        word.show();
        word.grab().save(Folder + QStringLiteral("/word_edit.png"));
    }
    {
        TDictionaryForm form(nullptr, dtUS);
        form.SetInput(TDictionaryRecord());
        form.resize(900, 500);
        form.show();
        form.FormActivate();
        form.edtFiltr->setText(QStringLiteral("bydgoszcz"));
        form.tmrFilter->stop();
        form.FillList();
        QCoreApplication::processEvents();
        form.grab().save(Folder + QStringLiteral("/dictionary_tax_offices.png"));
    }
    {
        TNumeryKontUrzedowForm form(nullptr);
        form.pnlRachunekCIT->SetValue(QStringLiteral("08101010780024752221000000"));
        form.SetTaxpayer(QStringLiteral("1234563218"), QString());
        form.btnMikrorachunekClick();
        form.show();
        form.grab().save(Folder + QStringLiteral("/tax_office_accounts.png"));
    }
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
    if (!InstallTeryt(terc, simc, QString(), false, stats, error)) {
        std::printf("%s\n", qPrintable(error));
        return 1;
    }
    ResetDictionaryTables();
    {
        TInitializeTableThread thread(QStringLiteral(EWIDAR_BIN_DIR));
        thread.wait();
    }
    std::printf("Localities loaded: %d, tax offices: %d\n", TableRowCount(dtMiejscowosci), TableRowCount(dtUS));

    if (argc == 3 && QByteArray(argv[1]) == "--screenshots") {
        Screenshots(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
