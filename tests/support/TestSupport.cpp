#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace TestSupport {

QString TempRoot() {
    return qEnvironmentVariable("EWIDAR_TEST_ROOT");
}

QString NewTempDir(const QString& stem) {
    const QString path =
        TempRoot() + QLatin1Char('/') + stem + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128);
    QDir().mkpath(path);
    return path;
}

QString UserSettingsDir() {
    return TempRoot() + QStringLiteral("/config-user");
}
QString SystemSettingsDir() {
    return TempRoot() + QStringLiteral("/config-system");
}

void ClearSettings() {
    for (const QString& dir : {UserSettingsDir(), SystemSettingsDir()}) {
        QDir d(dir);
        d.removeRecursively();
        QDir().mkpath(dir);
    }
}

QString TExpectedWindow::Describe() const {
    QStringList parts;
    if (!ClassName.isEmpty())
        parts << ClassName;
    if (!ObjectName.isEmpty())
        parts << QLatin1Char('"') + ObjectName + QLatin1Char('"');
    return parts.isEmpty() ? QStringLiteral("any modal window") : parts.join(QLatin1Char(' '));
}

namespace {

int g_unansweredLimitMs = 30000;

bool IsOpenModal(const QWidget* w) {
    return w && w->isWindow() && w->isVisible() && w->windowModality() != Qt::NonModal;
}

std::string Describe(const QWidget* w) {
    return QStringLiteral("%1 \"%2\" (\"%3\")")
        .arg(QLatin1String(w->metaObject()->className()), w->objectName(), w->windowTitle())
        .toStdString();
}

bool Matches(const TExpectedWindow& expected, const QWidget* w) {
    if (!expected.ClassName.isEmpty() && !w->inherits(expected.ClassName.toLatin1().constData()))
        return false;
    return expected.ObjectName.isEmpty() || w->objectName() == expected.ObjectName;
}

// The innermost open modal window that matches: the active one first, then the others.
QWidget* FindModal(const TExpectedWindow& expected) {
    QWidget* active = QApplication::activeModalWidget();
    if (IsOpenModal(active) && Matches(expected, active))
        return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (IsOpenModal(w) && Matches(expected, w))
            return w;
    return nullptr;
}

void CloseWindow(QWidget* w) {
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
    if (w->isVisible())
        w->close();
    if (w->isVisible())
        w->hide();
}

// The helpers still waiting for their window.
struct TPending {
    QPointer<QTimer> Timer;
    bool Expected;
    QString What;
};
QList<TPending>& Pending() {
    static QList<TPending> pending;
    return pending;
}

void Forget(QTimer* timer) {
    Pending().removeIf([timer](const TPending& p) { return p.Timer == timer || !p.Timer; });
    timer->stop();
    timer->deleteLater();
}

// Fails the test when the window acted on is still open timeoutMs after the action.
void GuardAnswered(QWidget* w, int timeoutMs) {
    QTimer::singleShot(timeoutMs, qApp, [window = QPointer<QWidget>(w)] {
        if (window && IsOpenModal(window)) {
            ADD_FAILURE() << "modal window left open after its answer: " << Describe(window);
            CloseWindow(window);
        }
    });
}

void Watch(const TExpectedWindow& expected, bool mustAppear, std::function<void(QWidget*)> action,
           int timeoutMs) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    Pending().append({timer, mustAppear, expected.Describe()});
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        if (QWidget* w = FindModal(expected)) {
            Forget(timer);
            action(w);
            GuardAnswered(w, timeoutMs);
        } else if (clock->elapsed() > timeoutMs) {
            Forget(timer);
            if (!mustAppear)
                return;
            ADD_FAILURE() << "expected modal window never appeared within " << timeoutMs
                          << " ms: " << expected.Describe().toStdString();
            // Whatever was shown instead waits for an answer that will not come.
            CloseModalWindows();
        }
    });
    timer->start();
}

void PressButton(QWidget* w, const QString& buttonText) {
    if (!buttonText.isEmpty())
        for (auto* b : w->findChildren<QAbstractButton*>())
            if (b->text().remove(QLatin1Char('&')) == buttonText && b->isVisible()) {
                b->click();
                return;
            }
    CloseWindow(w);
}

// Closes modal windows that stay open longer than the limit with nobody answering.
class TModalWatchdog : public QObject {
public:
    TModalWatchdog() : QObject(qApp) {
        connect(&m_timer, &QTimer::timeout, this, &TModalWatchdog::Check);
        m_timer.start(100);
    }

private:
    void Check() {
        QHash<QWidget*, qint64> seen;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!IsOpenModal(w))
                continue;
            const qint64 since = m_seen.value(w, m_clock.elapsed());
            seen.insert(w, since);
            if (m_clock.elapsed() - since > UnansweredLimitMs()) {
                ADD_FAILURE() << "modal window nobody answered, closed after " << UnansweredLimitMs()
                              << " ms: " << Describe(w);
                CloseWindow(w);
            }
        }
        m_seen = seen;
    }

    QTimer m_timer;
    QElapsedTimer m_clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    QHash<QWidget*, qint64> m_seen;
};

// Drops the helpers of a test that has ended, so that they never act on the windows
// of the next test.
class TModalCleanup : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        const QList<TPending> pending = std::exchange(Pending(), {});
        for (const TPending& p : pending) {
            if (!p.Timer)
                continue;
            if (p.Expected)
                ADD_FAILURE() << "the test ended before the expected modal window appeared: "
                              << p.What.toStdString();
            p.Timer->stop();
            p.Timer->deleteLater();
        }
    }
};

} // namespace

void WhenModal(const TExpectedWindow& expected, std::function<void(QWidget*)> action, int timeoutMs) {
    Watch(expected, true, std::move(action), timeoutMs);
}

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    Watch(TExpectedWindow(), false, std::move(action), timeoutMs);
}

void AnswerModalWithButton(const QString& buttonText, int timeoutMs) {
    WhenModal([buttonText](QWidget* w) { PressButton(w, buttonText); }, timeoutMs);
}

void AnswerModalWithButton(const TExpectedWindow& expected, const QString& buttonText, int timeoutMs) {
    WhenModal(
        expected, [buttonText](QWidget* w) { PressButton(w, buttonText); }, timeoutMs);
}

int UnansweredLimitMs() {
    return g_unansweredLimitMs;
}

void SetUnansweredLimitMs(int limitMs) {
    g_unansweredLimitMs = limitMs;
}

int CloseModalWindows() {
    int closed = 0;
    // Innermost first: an outer window's loop ends only after the inner ones.
    for (int guard = 0; guard < 100; ++guard) {
        QWidget* w = FindModal(TExpectedWindow());
        if (!w)
            break;
        CloseWindow(w);
        ++closed;
    }
    return closed;
}

void InstallModalGuards() {
    new TModalWatchdog;
    ::testing::UnitTest::GetInstance()->listeners().Append(new TModalCleanup);
}

} // namespace TestSupport

QT_BEGIN_NAMESPACE
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE
