// The settings window's "Importuj" over the real router and SQL backend: 10,000
// generated subjects copied into the program's own (empty) database, the source
// chosen in the window's import-source mode; and a cancel pressed at 10 %, timed
// from the answer to the question until the window is idle again.
//
// Settings live in a temporary folder; the source file is kept in <bin>/../bench-data.

#include "BackendLoader.h"
#include "SubjectGenerator.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uMessagePresenter.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uSettingsForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

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
    return DataDir() + QStringLiteral("/settings-import-target.db");
}
void RemoveTarget() {
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(TargetPath() + QLatin1String(suffix));
}

// Answers every question with its first button (Tak / OK) and records nothing.
class TFirstButton : public IMessagePresenter {
public:
    int Present(const TMessageRequest& Request) override {
        LastText = Request.Text;
        return Request.Buttons.isEmpty() ? ModalResult::mrOk
                                         : ModalResultOf(Request.Buttons.first().ButtonType);
    }
    QString LastText;
};

TFirstButton& Presenter() {
    static TFirstButton p;
    return p;
}

// A fresh empty target as the program's connected database, the window open over it.
std::unique_ptr<TSettingsForm> Start() {
    DestroyCore();
    RemoveTarget();
    const QString target = QStringLiteral("DIR=%1;WATCH=0;").arg(TargetPath());
    const QString source = QStringLiteral("DIR=%1;WATCH=0;").arg(SourcePath());
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, QStringLiteral("ConnectorParams_SQLITE"), target);
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, QStringLiteral("ConnectorHistory_SQLITE"),
                          target + "@" + source + "@");
    CreateCore(QCoreApplication::applicationDirPath());
    std::u16string param = target.toStdU16String();
    Core()->FDataBaseModule->FEwidarDataBase->Connect(param, true);
    auto form = std::make_unique<TSettingsForm>(nullptr, uSettingsForm::wmNormal);
    form->show();
    // The import-source window that "Importuj" opens: the second SQLite configuration.
    QTimer::singleShot(0, [] {
        auto* chooser = qobject_cast<TSettingsForm*>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        chooser->TreeView1->setCurrentItem(chooser->TreeView1->topLevelItem(0)->child(1));
        chooser->bSave->click();
    });
    return form;
}

int Subjects() {
    return Core()->FDataBaseModule->FEwidarDataBase->GetRegistries()->GetPodmioty({})->GetCount();
}

void BM_ImportThroughWindow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto form = Start();
        state.ResumeTiming();
        form->btnImportClick();
        state.PauseTiming();
        state.counters["subjects"] = Subjects();
        if (Presenter().LastText != QStringLiteral("Przenoszenie danych zakończone."))
            state.SkipWithError(qPrintable(QStringLiteral("import: ") + Presenter().LastText));
        form.reset();
        state.ResumeTiming();
    }
}

// Time from "Tak" to "Przerwij" (pressed at 10 %) until the window is idle.
void BM_CancelAt10Percent(benchmark::State& state) {
    for (auto _ : state) {
        auto form = Start();
        QElapsedTimer sinceYes;
        auto* timer = new QTimer(form.get());
        timer->setInterval(1);
        TSettingsForm* f = form.get();
        QObject::connect(timer, &QTimer::timeout, f, [f, timer, &sinceYes] {
            if (f->ImportRunning() && f->pbMoveData->value() >= 10) {
                timer->stop();
                f->bCancel->click(); // the question is answered "Tak"
                sinceYes.start();
            }
        });
        timer->start();
        form->btnImportClick();
        const double ms = sinceYes.isValid() ? static_cast<double>(sinceYes.nsecsElapsed()) / 1e6 : -1;
        state.SetIterationTime(ms / 1000.0);
        state.counters["subjects_after"] = Subjects();
        if (ms < 0)
            state.SkipWithError("the import ended before 10 %");
        form.reset();
    }
}

BENCHMARK(BM_ImportThroughWindow)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_CancelAt10Percent)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       settings.path() + QStringLiteral("/user"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       settings.path() + QStringLiteral("/system"));
    QApplication app(argc, argv);
    if (!Backend().error.isEmpty()) {
        std::fprintf(stderr, "backend not loaded: %s\n", qPrintable(Backend().error));
        return 1;
    }
    if (!SubjectGenerator::EnsureGenerated(SourcePath(), kSubjects))
        return 1;
    SetMessagePresenter(&Presenter());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    DestroyCore();
    SetMessagePresenter(nullptr);
    RemoveTarget();
    return 0;
}
