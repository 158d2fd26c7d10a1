// Each subsystem's windows are installed by one line below; a new window adds its line here.

#include "uInstallWindows.h"

#include "uEwidarComponents_Panel.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"
#include "uSelectionWindows.h"

void InstallWindows() {
    ResetWindows();
    InstallSelectionWindows();
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
}
