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

// Runs action on the next modal widget that becomes active (polled every 10 ms,
// up to timeoutMs). Use before the call that opens the modal window.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
// Closes the next modal dialog by pressing the button with the given text
// (or, with an empty text, by rejecting it). Returns immediately.
void AnswerModalWithButton(const QString& buttonText, int timeoutMs = 5000);

} // namespace TestSupport

// Readable failures for Qt and UTF-16 strings.
QT_BEGIN_NAMESPACE
void PrintTo(const QString& s, std::ostream* os);
QT_END_NAMESPACE
