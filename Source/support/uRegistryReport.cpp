#include "uRegistryReport.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtDebug>

namespace Registry {

namespace {

class TReportList {
public:
    ~TReportList() {
        // Program end without an explicit ShowPendingReport: the GUI is gone by now, so
        // ShowNow falls back to qWarning.
        ShowPending();
    }

    void Add(const QString& Message) {
        {
            const QMutexLocker lock(&m_lock);
            if (m_messages.contains(Message))
                return;
            m_messages.append(Message);
            m_pending = true;
        }
        RestartTimer();
    }

    TReportPresenter SetPresenter(TReportPresenter Presenter) {
        const QMutexLocker lock(&m_lock);
        std::swap(m_presenter, Presenter);
        return Presenter;
    }

    QStringList Messages() {
        const QMutexLocker lock(&m_lock);
        return m_messages;
    }

    bool Pending() {
        const QMutexLocker lock(&m_lock);
        return m_pending;
    }

    void ShowPending() {
        if (Pending())
            ShowNow();
    }

    void Clear() {
        {
            const QMutexLocker lock(&m_lock);
            m_messages.clear();
            m_pending = false;
        }
        if (m_timer && m_timer->thread() == QThread::currentThread())
            m_timer->stop();
    }

private:
    void RestartTimer() {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app)
            return; // no event loop: the messages wait for ShowPendingReport
        if (app->thread() != QThread::currentThread()) {
            QMetaObject::invokeMethod(
                app, [this] { RestartTimer(); }, Qt::QueuedConnection);
            return;
        }
        if (!m_timer) {
            m_timer = new QTimer(app);
            m_timer->setSingleShot(true);
            m_timer->setInterval(ReportDelayMs);
            QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { ShowNow(); });
        }
        m_timer->start();
    }

    void ShowNow() {
        QString text;
        TReportPresenter presenter;
        {
            const QMutexLocker lock(&m_lock);
            if (m_showing || m_messages.isEmpty())
                return;
            m_showing = true;
            m_pending = false;
            text = m_messages.join(QStringLiteral("\n\n"));
            presenter = m_presenter;
        }
        if (presenter && QCoreApplication::instance())
            presenter(ReportCaption(), text);
        else
            qWarning().noquote() << ReportCaption() << '\n' << text;
        const QMutexLocker lock(&m_lock);
        m_showing = false;
    }

    QMutex m_lock;
    QStringList m_messages;
    bool m_pending = false;
    bool m_showing = false;
    TReportPresenter m_presenter;
    QPointer<QTimer> m_timer;
};

TReportList& List() {
    static TReportList list;
    return list;
}

} // namespace

QString ReportCaption() {
    return QStringLiteral("UWAGA! Ważna Informacja.");
}

void AddReportMessage(const QString& Message) {
    List().Add(Message);
}

TReportPresenter SetReportPresenter(TReportPresenter Presenter) {
    return List().SetPresenter(std::move(Presenter));
}

QStringList ReportMessages() {
    return List().Messages();
}

bool ReportPending() {
    return List().Pending();
}

void ShowPendingReport() {
    List().ShowPending();
}

void ClearReport() {
    List().Clear();
}

} // namespace Registry
