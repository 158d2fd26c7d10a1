// Each subsystem with windows installs them with one line in InstallWindows (for example
// InstallRecordForms();); each registry of openers is reset with one line in ResetWindows.

#include "uInstallWindows.h"

#include "uCollectionForm.h"
#include "uCore.h"
#include "uDictionaryForm.h"
#include "uDictionaryModule.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"
#include "uFieldDictionary.h"
#include "uFrameOpeners.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"
#include "uOperatorsForm.h"
#include "uPodmiotyForm.h"
#include "uSelectionWindows.h"
#include "uSettingsForm.h"
#include "uShowPodatnikInfo.h"

void InstallWindows() {
    // Whatever was installed before (a test's recorder) goes first.
    ResetWindows();
    MainFormOpeners::SetOperatorsOpener(&ShowOperators);
    InstallRecordForms();
    InstallSubjectInfo();
    InstallSettingsForms();
    InstallSelectionWindows();
    EditingOpeners::SetCollectionChooser(&ChooseFromCollection);
    FrameOpeners::SetSubjectChooser(&ChooseSubject);
    FrameOpeners::InstallDictionaryModule(Core() ? Core()->FDictionaryModule.get() : nullptr);
    TDictionaryModule::SetDictionaryFormOpener(&ShowDictionaryForm);
    TPanel::SetFieldDictionaryHandler(&ShowFieldDictionary);
}

void ResetWindows() {
    ListOpeners::ResetOpeners();
    MainFormOpeners::ResetOpeners();
    TPanel::SetFieldDictionaryHandler(nullptr);
    EditingOpeners::SetCollectionChooser({});
    FrameOpeners::SetDictionaries(nullptr);
    FrameOpeners::SetSubjectChooser({});
    TDictionaryModule::SetDictionaryFormOpener({});
}
