#pragma once
// The program's presenter of the registry layer's report of failed writes: one topmost,
// application-modal information box.

#include <QString>

// Shows Text in an information box captioned Caption, on top of every window; returns when
// the operator closes it.
void ShowRegistryReportBox(const QString& Caption, const QString& Text);
// Makes the registry layer show its reports with ShowRegistryReportBox.
void InstallRegistryReportBox();
// Program end, while the GUI still exists: shows the messages not shown yet, then returns the
// registry layer to reporting through qWarning.
void RemoveRegistryReportBox();
