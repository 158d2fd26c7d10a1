#pragma once
// Puts the export window into the list frame's openers and the subject import window
// into the main window's (one line in InstallWindows).

void InstallSpreadsheetWindows();
void ResetSpreadsheetWindows();
