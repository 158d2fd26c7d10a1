// The subject editor of a taxpayer with 50 addresses and 200 employees, opened in the
// real program (core, windows, main window) over a default database of 100,000
// generated subjects, without the day's automatic backup: from the call that opens
// the record window to the end of its first paint; and, in the open window, a click on the
// employees' tab to the end of that tab's first paint. Use --benchmark_repetitions=5 for medians.

#include "../support/BenchEnvironment.h"
#include "FirstPaint.h"
#include "SubjectGenerator.h"
#include "uBackupSchedule.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uEwidarQuorDBSymbole.h"
#include "uEwidarRecordForm.h"
#include "uInitializeTableThread.h"
#include "uInstallWindows.h"
#include "uMainForm.h"
#include "uSqlDataBase.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

TMainForm* g_main = nullptr;
TIntfPtr<IEwidarRecord> g_taxpayer;

bool Set(IEwidarRecord* R, const TInternalFieldRecord& Field, const QString& Value) {
    const TIntfPtr<IDataField> f = R->GetDataFields()->GetDataField(Field.Symbol.toStdU16String());
    if (!f)
        return false;
    f->SetValue(Value.toStdU16String());
    return true;
}

// The taxpayer, posted with its addresses and employees through the contract.
TIntfPtr<IEwidarRecord> LargeTaxpayer(IEwidarDataBase* Db) {
    TIntfPtr<IEwidarRecord> taxpayer = Db->GetRegistries()->GetPodatnicy({})->New();
    if (!Set(taxpayer.get(), cDanePodmiotuNazwisko, QStringLiteral("Duży")) || !taxpayer->Post())
        return {};
    const auto addresses = Supports<IPodmiot>(taxpayer)->GetAdresy();
    for (int i = 0; i < 50; ++i) {
        const TIntfPtr<IEwidarRecord> a = addresses->New();
        if (!Set(a.get(), cDaneAdresoweMiejscowosc, QStringLiteral("Miasto %1").arg(i)) || !a->Post())
            return {};
    }
    const auto people = Supports<IPodatnik>(taxpayer)->GetPracownicy(0, 0);
    for (int i = 0; i < 200; ++i) {
        const TIntfPtr<IEwidarRecord> p = people->New();
        if (!Set(p.get(), cDanePodmiotuNazwisko, QStringLiteral("Pracownik %1").arg(i)) || !p->Post())
            return {};
    }
    return taxpayer;
}

// Opens the taxpayer's record window once an iteration; the probe (an application event
// filter with ElapsedUs, -1 when it saw nothing) times it and closes it.
template <class TProbe> void MeasureRecordWindow(benchmark::State& State, const char* Missed) {
    IEwidarDataBase* db = Core()->FDataBaseModule->FEwidarDataBase.get();
    for (auto _ : State) {
        TProbe probe;
        qApp->installEventFilter(&probe);
        ShowRecordForm(g_main, g_taxpayer.get(), kPodatnik, db);
        qApp->removeEventFilter(&probe);
        if (probe.ElapsedUs < 0) {
            State.SkipWithError(Missed);
            break;
        }
        State.SetIterationTime(double(probe.ElapsedUs) / 1e6);
    }
}

void BM_Real_OpenTaxpayer50Addresses200Employees(benchmark::State& State) {
    MeasureRecordWindow<TFirstPaint>(State, "the record window did not paint");
}
BENCHMARK(BM_Real_OpenTaxpayer50Addresses200Employees)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// Once the record window has painted, its employees' tab is chosen: the time from that
// choice until the tab's list has painted, then the window closes.
class TEmployeesTabPaint : public QObject {
public:
    qint64 ElapsedUs = -1;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() != QEvent::Paint || !Watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(Watched);
        auto* form = qobject_cast<TRecordForm*>(widget->window());
        if (!form)
            return false;
        if (!m_chosen) {
            m_chosen = true;
            QTimer::singleShot(0, form, [this, form] {
                auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
                QWidget* page = tabs ? tabs->findChild<QWidget*>(QStringLiteral("TabSheet11")) : nullptr;
                if (!page) {
                    form->close();
                    return;
                }
                m_clock.start();
                tabs->setCurrentWidget(page);
            });
        } else if (!m_painted && m_clock.isValid() && IsInEmployeesList(widget)) {
            m_painted = true;
            QTimer::singleShot(0, form, [this, form] {
                ElapsedUs = m_clock.nsecsElapsed() / 1000;
                form->close();
            });
        }
        return false;
    }

private:
    static bool IsInEmployeesList(QWidget* Widget) {
        for (QWidget* w = Widget; w; w = w->parentWidget())
            if (w->objectName() == QLatin1String("PracownicyCollection"))
                return true;
        return false;
    }
    QElapsedTimer m_clock;
    bool m_chosen = false;
    bool m_painted = false;
};

void BM_Real_EmployeesTabFirstShown(benchmark::State& State) {
    MeasureRecordWindow<TEmployeesTabPaint>(State, "the employees' tab did not paint");
}
BENCHMARK(BM_Real_EmployeesTabFirstShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    BenchEnvironment::Isolate(root);
    QApplication app(argc, argv);

    const QString generated = QStringLiteral(EWIDAR_BIN_DIR "/../bench-data/subjects-100000.db");
    const QString target = DefaultDataBasePath();
    QDir().mkpath(QFileInfo(target).path());
    if (!SubjectGenerator::EnsureGenerated(generated, 100000) || !QFile::copy(generated, target)) {
        std::printf("No database of 100,000 subjects; nothing to measure.\n");
        return 1;
    }
    // The day's automatic backup would run beside the measured window.
    BackupSchedule::TSettings backups = BackupSchedule::Load();
    backups.automatic = false;
    BackupSchedule::Save(backups);
    CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
    InstallWindows();
    {
        auto form = std::make_unique<TMainForm>();
        form->show();
        form->FormActivate();
        g_main = form.get();
        g_taxpayer = LargeTaxpayer(Core()->FDataBaseModule->FEwidarDataBase.get());
        if (!g_taxpayer) {
            std::printf("The taxpayer could not be posted.\n");
            return 1;
        }
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        g_taxpayer = nullptr;
    }
    if (Core()->FInitializeTableThread)
        Core()->FInitializeTableThread->wait();
    DestroyCore();
    return 0;
}
