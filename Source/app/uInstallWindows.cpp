// Each subsystem's windows are installed by one line below; a new window adds its line here.

#include "uInstallWindows.h"

#include "uDictionaryForm.h"
#include "uDictionaryModule.h"
#include "uEwidarComponents_Panel.h"
#include "uFieldDictionary.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"
#include "uOperatorsForm.h"

void InstallWindows() {
    ResetWindows();
    MainFormOpeners::SetOperatorsOpener(&ShowOperators);
    TDictionaryModule::SetDictionaryFormOpener(&ShowDictionaryForm);
    TPanel::SetFieldDictionaryHandler(&ShowFieldDictionary);
}

void ResetWindows() {
    ListOpeners::SetRecordFormOpener({});
    ListOpeners::SetTaxpayerChooser({});
    ListOpeners::SetRelationsOpener({});
    ListOpeners::SetMergeOpener({});
    ListOpeners::SetSubjectInfoOpener({});
    MainFormOpeners::SetSettingsOpener({});
    MainFormOpeners::SetImportSourceChooser({});
    MainFormOpeners::SetOperatorsOpener({});
    TPanel::SetFieldDictionaryHandler(nullptr);
    TDictionaryModule::SetDictionaryFormOpener({});
}
