#include "uBackupTask.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

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

void RunInBackground(IEwidarDataBase* Root, std::function<bool()> Work, std::function<void(bool)> Done) {
    auto result = std::make_shared<std::atomic<bool>>(false);
    TIntfPtr<IEwidarDataBase> keep(Root);
    // The root object's handler drives windows; the worker must never call it. It comes
    // back once the work has ended.
    TProgressEvent handler = Root->GetOnProgress();
    Root->SetOnProgress(nullptr);
    QThread* worker = QThread::create([Work = std::move(Work), result] { *result = Work(); });
    QObject::connect(worker, &QThread::finished, qApp, [worker, result, keep, handler, Done = std::move(Done)] {
        if (!keep->GetOnProgress())
            keep->SetOnProgress(handler);
        worker->deleteLater();
        if (Done)
            Done(*result);
    });
    worker->start(QThread::LowPriority);
}

} // namespace BackupTask
