#include "uBackupTask.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace BackupTask {

namespace {

// Puts the root object's progress handler back whatever happens.
class THandlerSwap {
public:
    THandlerSwap(IEwidarDataBase* Root, TProgressEvent Handler) : m_root(Root), m_old(Root->GetOnProgress()) {
        m_root->SetOnProgress(std::move(Handler));
    }
    ~THandlerSwap() { m_root->SetOnProgress(m_old); }
    THandlerSwap(const THandlerSwap&) = delete;
    THandlerSwap& operator=(const THandlerSwap&) = delete;

private:
    IEwidarDataBase* m_root;
    TProgressEvent m_old;
};

} // namespace

bool Run(QWidget* Owner, const QString& Label, IEwidarDataBase* Root, TWhere Where,
         const std::function<bool()>& Work) {
    QProgressDialog dialog(Label, QStringLiteral("Przerwij"), 0, 100, Owner);
    dialog.setWindowTitle(QStringLiteral("Kopia zapasowa"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0);
    dialog.show();
    if (Where == TWhere::wHere) {
        THandlerSwap swap(Root, [&dialog](int32_t Percent, bool& Cancel) {
            dialog.setValue(Percent);
            QApplication::processEvents();
            Cancel = dialog.wasCanceled();
        });
        return Work();
    }
    // The worker only writes two atomics; the window reads them on a timer.
    std::atomic<int> percent{0};
    std::atomic<bool> cancel{false};
    THandlerSwap swap(Root, [&percent, &cancel](int32_t Percent, bool& Cancel) {
        percent = Percent;
        Cancel = cancel;
    });
    bool result = false;
    std::unique_ptr<QThread> worker(QThread::create([&] { result = Work(); }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &dialog, [&] {
        dialog.setValue(percent);
        if (dialog.wasCanceled())
            cancel = true;
    });
    timer.start(100);
    worker->start();
    loop.exec();
    worker->wait();
    return result;
}

namespace {

// The handler a background work runs with: it only reads its task's cancel flag, so
// the worker thread never reaches a window.
struct TCancelOnly {
    std::shared_ptr<std::atomic<bool>> cancel;
    void operator()(int32_t, bool& Cancel) const { Cancel = *cancel; }
};

// A background work gives the processor to the operator's own work first. Qt's thread
// priorities do not reach Linux's ordinary scheduler (its range there is a single value):
// the thread's own nice value does.
void YieldToTheOperator() {
#ifdef __linux__
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), 10);
#endif
}

struct TBackground {
    QThread* worker;
    TIntfPtr<IEwidarDataBase> root;
    TProgressEvent handler; // the root's own, put back when the work ends
    std::shared_ptr<std::atomic<bool>> cancel;
    std::shared_ptr<std::atomic<bool>> result;
    std::function<void(bool)> done;
    bool retired = false;
};

std::vector<std::shared_ptr<TBackground>>& Running() {
    static std::vector<std::shared_ptr<TBackground>> running;
    return running;
}

// Takes the task off the list and gives the root its own handler back, unless the
// handler was replaced meanwhile by someone else.
void Retire(const std::shared_ptr<TBackground>& Task) {
    Task->retired = true;
    auto& running = Running();
    running.erase(std::remove(running.begin(), running.end(), Task), running.end());
    const TProgressEvent current = Task->root->GetOnProgress();
    const TCancelOnly* ours = current.target<TCancelOnly>();
    if (ours && ours->cancel == Task->cancel)
        Task->root->SetOnProgress(Task->handler);
    Task->worker->deleteLater();
}

} // namespace

void RunInBackground(IEwidarDataBase* Root, std::function<bool()> Work, std::function<void(bool)> Done) {
    auto task = std::make_shared<TBackground>();
    task->root = TIntfPtr<IEwidarDataBase>(Root);
    task->handler = Root->GetOnProgress();
    task->cancel = std::make_shared<std::atomic<bool>>(false);
    task->result = std::make_shared<std::atomic<bool>>(false);
    task->done = std::move(Done);
    Root->SetOnProgress(TCancelOnly{task->cancel});
    task->worker = QThread::create([Work = std::move(Work), result = task->result] {
        YieldToTheOperator();
        *result = Work();
    });
    QObject::connect(task->worker, &QThread::finished, qApp, [weak = std::weak_ptr<TBackground>(task)] {
        const std::shared_ptr<TBackground> task = weak.lock();
        if (!task || task->retired) // already retired by StopBackground
            return;
        Retire(task);
        if (task->done)
            task->done(*task->result);
    });
    Running().push_back(task);
    task->worker->start(QThread::LowPriority);
}

void StopBackground() {
    const std::vector<std::shared_ptr<TBackground>> running = Running();
    for (const auto& task : running)
        *task->cancel = true;
    for (const auto& task : running) {
        task->worker->wait();
        Retire(task);
        if (*task->result && task->done)
            task->done(true);
    }
}

} // namespace BackupTask
