// Each subsystem with windows installs them with one line in InstallWindows (for example
// InstallRecordForms();); each registry of openers is reset with one line in ResetWindows.

#include "uInstallWindows.h"

#include "uEwidarComponents_Panel.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"

void InstallWindows() {
    // Whatever was installed before (a test's recorder) goes first.
    ResetWindows();
}

void ResetWindows() {
    ListOpeners::ResetOpeners();
    MainFormOpeners::ResetOpeners();
    TPanel::SetFieldDictionaryHandler(nullptr);
}
