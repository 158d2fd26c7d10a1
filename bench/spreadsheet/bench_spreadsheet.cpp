// Spreadsheet export and subject import over the real SQL backend. The export writes the
// list of 100,000 generated subjects as the list frame holds it (its three columns, the
// records' description lines, read once before measuring); "Fields" reads every
// subject's fields through the contract while it writes.
// The preview reads, decodes, parses and checks a 10,000-row file against the 100,000
// stored subjects (each identifier asked of the backend's HasDuplicate) and against an
// empty database; the import stores 10,000 subjects into an empty database.
// Use --benchmark_repetitions=5 for medians.

#include "BackendLoader.h"
#include "BenchEnvironment.h"
#include "SubjectGenerator.h"
#include "SubjectRows.h"
#include "uCsv.h"
#include "uImportRows.h"
#include "uSpreadsheetExport.h"
#include "uSubjectImporter.h"
#include "uTextEncoding.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kSubjects = 100000;
constexpr int kFileRows = 10000;

QString DataPath() {
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/subjects-%1.db").arg(kSubjects);
}

QTemporaryDir& Temp() {
    static QTemporaryDir dir;
    return dir;
}

TIntfPtr<IEwidarDataBase>& Db() {
    static TIntfPtr<IEwidarDataBase> db;
    return db;
}

// The list as the grid holds it: each subject's record and description lines.
struct TListRow {
    TIntfPtr<IEwidarRecord> Record;
    QStringList Cells;
};
struct TList {
    QStringList Titles;
    std::vector<TListRow> Rows;
};

TList& Contents() {
    static TList contents;
    return contents;
}

void LoadList(IEwidarCollection* List) {
    TList& c = Contents();
    c.Titles = {QStringLiteral("Opis lub imię i nazwisko / Nazwa firmy"), QStringLiteral("Numer identyfikacyjny"),
                QStringLiteral("Miejscowość")};
    for (int i = 0, n = List->GetCount(); i < n; ++i) {
        TListRow row;
        row.Record = Supports<IPodmioty>(List)->GetItem(i);
        const TIntfPtr<IEwidarRecordInfo> info = row.Record->GetRecordInfo();
        for (int l = 0, lines = info ? info->GetCount() : 0; l < lines; ++l)
            row.Cells.append(QString::fromStdU16String(info->GetLine(l)));
        c.Rows.push_back(std::move(row));
    }
}

TIntfPtr<IEwidarDataBase> Connect(const QString& Path) {
    TIntfPtr<IEwidarDataBase> db = NewRoot();
    std::u16string param = U(QStringLiteral("DIR=%1;").arg(Path));
    if (!db || !db->Connect(param, true))
        return {};
    return db;
}

QString SourceFile() {
    static const QString path = [] {
        QList<QStringList> rows;
        for (int i = 0; i < kFileRows; ++i)
            rows.append(SubjectRows::Row(i));
        const QString p = Temp().filePath(QStringLiteral("podmioty.csv"));
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write(SubjectRows::Csv(rows, SubjectFields::Captions()));
        return p;
    }();
    return path;
}

ImportRows::TPreview Preview(IEwidarDataBase* DataBase) {
    QFile f(SourceFile());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    const QString text = TextEncoding::Decode(data, TextEncoding::Detect(data));
    const Csv::TParsed parsed = Csv::Parse(text, TextEncoding::GuessSeparator(text));
    SubjectImporter::TDuplicateProbe probe(DataBase);
    return ImportRows::Build(parsed.Rows, parsed.Lines, ColumnMapping::Guess(parsed.Rows.front()),
                             [&probe](const QString& P, const QString& N, const QString& R) { return probe(P, N, R); });
}

SpreadsheetExport::TTable ListTable() {
    const TList* c = &Contents();
    return {c->Titles, static_cast<int>(c->Rows.size()), [c](int R) { return c->Rows[static_cast<size_t>(R)].Cells; }};
}

void Export(benchmark::State& State, SpreadsheetExport::TFormat Format, bool Fields) {
    SpreadsheetExport::TTable table = ListTable();
    if (Fields) {
        const TList* c = &Contents();
        table.Header = SubjectFields::Captions();
        table.Row = [c](int R) { return SubjectFields::ReadSubject(c->Rows[static_cast<size_t>(R)].Record.get()); };
    }
    const QString path = Temp().filePath(Format == SpreadsheetExport::fmCsv ? QStringLiteral("lista.csv")
                                                                            : QStringLiteral("lista.xlsx"));
    for (auto _ : State) {
        const auto result = SpreadsheetExport::Export(table, Format, path);
        if (!result.Ok)
            State.SkipWithError(qPrintable(result.Error));
    }
    State.counters["rows"] = table.RowCount;
    State.counters["MB"] = QFileInfo(path).size() / 1e6;
}

void BM_ExportCsv100k(benchmark::State& s) {
    Export(s, SpreadsheetExport::fmCsv, false);
}
void BM_ExportXlsx100k(benchmark::State& s) {
    Export(s, SpreadsheetExport::fmXlsx, false);
}
void BM_ExportCsv100kFields(benchmark::State& s) {
    Export(s, SpreadsheetExport::fmCsv, true);
}

void BM_Preview10k(benchmark::State& State) {
    SourceFile();
    for (auto _ : State) {
        const ImportRows::TPreview preview = Preview(Db().get());
        State.counters["ready"] = preview.Ready;
    }
}

// The same file checked against an empty database: what the preview itself costs.
void BM_Preview10kEmptyDb(benchmark::State& State) {
    SourceFile();
    const TIntfPtr<IEwidarDataBase> empty = Connect(Temp().filePath(QStringLiteral("empty.db")));
    for (auto _ : State) {
        const ImportRows::TPreview preview = Preview(empty.get());
        State.counters["ready"] = preview.Ready;
    }
    empty->Disconnect();
}

void BM_Import10k(benchmark::State& State) {
    static int run = 0; // a new database for every run, across repetitions too
    for (auto _ : State) {
        State.PauseTiming();
        const TIntfPtr<IEwidarDataBase> target =
            Connect(Temp().filePath(QStringLiteral("import-%1.db").arg(run++)));
        const ImportRows::TPreview preview = Preview(target.get());
        State.ResumeTiming();
        const auto result = SubjectImporter::Import(target.get(), SubjectImporter::tgPodatnicy, preview.Rows);
        if (!result.Ok)
            State.SkipWithError(qPrintable(result.Error));
        State.counters["imported"] = result.Imported;
        State.PauseTiming();
        target->Disconnect();
        State.ResumeTiming();
    }
}

BENCHMARK(BM_ExportCsv100k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ExportXlsx100k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ExportCsv100kFields)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Preview10k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Preview10kEmptyDb)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Import10k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    BenchEnvironment::Isolate(home);
    QApplication app(argc, argv);
    if (!Backend().error.isEmpty()) {
        std::fprintf(stderr, "backend not loaded: %s\n", qPrintable(Backend().error));
        return 1;
    }
    if (!SubjectGenerator::EnsureGenerated(DataPath(), kSubjects))
        return 1;
    Db() = Connect(DataPath());
    if (!Db()) {
        std::fprintf(stderr, "connect failed\n");
        return 1;
    }
    LoadList(Db()->GetRegistries()->GetPodmioty({}).get());
    std::fprintf(stderr, "list of %zu subjects loaded\n", Contents().Rows.size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Contents() = TList();
    Db()->Disconnect();
    Db() = nullptr;
    return 0;
}
