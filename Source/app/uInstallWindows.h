#pragma once
// The one place that installs every window and handler into the openers the
// windows reach each other through (list frame, main window, field panel).
// Called from main and from tests that need real windows; never from static
// initialisers, which the linker drops from static libraries.

// Installs every window and handler.
void InstallWindows();
// Puts every opener and handler back to its do-nothing default (tests).
void ResetWindows();
