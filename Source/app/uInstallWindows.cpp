// Each subsystem's windows are installed by one line below; a new window adds its line here.

#include "uInstallWindows.h"

#include "uCollectionForm.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"
#include "uOperatorsForm.h"
#include "uSelectionWindows.h"
#include "uSettingsForm.h"
#include "uShowPodatnikInfo.h"

void InstallWindows() {
    ResetWindows();
    MainFormOpeners::SetOperatorsOpener(&ShowOperators);
    InstallRecordForms();
    InstallSubjectInfo();
    InstallSettingsForms();
    InstallSelectionWindows();
    EditingOpeners::SetCollectionChooser(&ChooseFromCollection);
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
    EditingOpeners::SetCollectionChooser({});
}
