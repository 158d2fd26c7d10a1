#pragma once
// The process-wide report list of failed registry writes. Messages are collected without
// repeats; each new one restarts a short timer, and when it fires every collected message is
// shown together (separated by empty lines) through the installed presenter. The list is never
// emptied, so a later showing repeats the earlier messages. While the presenter runs (its box
// is open) the timer does nothing. Messages not yet shown are shown by ShowPendingReport,
// which the program calls at its end while its GUI still exists.
//
// The library has no widgets: the program installs a presenter that shows a message box.
// Without one, a showing goes to qWarning.

#include <QString>
#include <QStringList>

#include <functional>

namespace Registry {

using TReportPresenter = std::function<void(const QString& Caption, const QString& Text)>;

// Delay between the last new message and the showing.
constexpr int ReportDelayMs = 100;
// Caption of the report box: "UWAGA! Ważna Informacja."
QString ReportCaption();

// Adds a message unless the list already holds it; called from any thread.
void AddReportMessage(const QString& Message);
// Installs the presenter (empty: qWarning); returns the previous one.
TReportPresenter SetReportPresenter(TReportPresenter Presenter);
// Every message collected so far, in order.
QStringList ReportMessages();
// True when a message was added after the last showing.
bool ReportPending();
// Shows the collected messages now when some have not been shown yet (and no box is open).
void ShowPendingReport();
// Forgets every message and stops the timer (tests).
void ClearReport();

} // namespace Registry
