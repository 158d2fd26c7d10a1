// Each subsystem's windows are installed by one line below; a new window adds its line here.

#include "uInstallWindows.h"

#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"
#include "uFrameOpeners.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"

void InstallWindows() {
    ResetWindows();
    InstallRecordForms();
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
    FrameOpeners::SetDictionaries(nullptr);
    FrameOpeners::SetSubjectChooser({});
}
