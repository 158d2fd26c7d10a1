#pragma once
// Helpers shared by every test suite.

#include <QString>
#include <QWidget>

#include <functional>
#include <ostream>
#include <string>

class QTemporaryDir;

namespace TestSupport {

// Root of this test run's temporary folders (settings, data, home).
QString TempRoot();
// A fresh empty folder below TempRoot().
QString NewTempDir(const QString& stem = QStringLiteral("t"));
// Folders that QSettings uses for the current user and machine-wide scopes.
QString UserSettingsDir();
QString SystemSettingsDir();
// Removes every settings file of both scopes (call from a fixture's SetUp).
void ClearSettings();

// The modal window a helper waits for: a class (subclasses included; the class must
// carry Q_OBJECT) and/or an objectName. Empty parts match anything.
struct TExpectedWindow {
    QString ClassName;
    QString ObjectName;
    QString Describe() const;
};
template <class T> TExpectedWindow WindowOf(const QString& objectName = {}) {
    return {QLatin1String(T::staticMetaObject.className()), objectName};
}
inline TExpectedWindow WindowNamed(const QString& objectName) {
    return {QString(), objectName};
}

// Modal windows in tests never hang the suite:
// - a helper acts only on the window it expects, once that window is shown (checked
//   every 10 ms); when it has not appeared within timeoutMs the test fails and every
//   modal window still open is closed;
// - the window a helper acted on must be closed within timeoutMs after the action
//   returned, else the test fails and the window is closed;
// - a modal window that no helper answers is closed after UnansweredLimitMs(), failing
//   the test;
// - helpers still waiting when their test ends are dropped (an expected one fails).
// Use the helpers before the call that opens the window.
void WhenModal(const TExpectedWindow& expected, std::function<void(QWidget*)> action, int timeoutMs = 5000);
template <class T> void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000) {
    WhenModal(
        WindowOf<T>(), [action](QWidget* w) { action(static_cast<T*>(w)); }, timeoutMs);
}
// Runs action on the next modal window of any kind. No failure when none appears (a
// test may check that nothing is shown); the other safeguards hold.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
// Closes the next (expected) modal dialog by pressing the button with the given text
// (or, with an empty text or no such button, by rejecting it). Returns immediately.
void AnswerModalWithButton(const QString& buttonText, int timeoutMs = 5000);
void AnswerModalWithButton(const TExpectedWindow& expected, const QString& buttonText, int timeoutMs = 5000);

// How long a modal window nobody answers stays open before it is closed (ms; 30 s unless set).
int UnansweredLimitMs();
void SetUnansweredLimitMs(int limitMs);
// Installs the watchdog of unanswered windows and the end-of-test clean-up (test main).
void InstallModalGuards();
// Closes every modal window that is open, innermost first; returns how many.
int CloseModalWindows();

} // namespace TestSupport

// Readable failures for Qt and UTF-16 strings.
QT_BEGIN_NAMESPACE
void PrintTo(const QString& s, std::ostream* os);
QT_END_NAMESPACE
