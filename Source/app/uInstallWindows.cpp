// Each subsystem's windows are installed by one line below; a new window adds its line here.

#include "uInstallWindows.h"

#include "uCollectionForm.h"
#include "uCore.h"
#include "uDictionaryModule.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"
#include "uFrameOpeners.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"
#include "uOperatorsForm.h"
#include "uPodmiotyForm.h"
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
    FrameOpeners::SetSubjectChooser(&ChooseSubject);
    FrameOpeners::InstallDictionaryModule(Core() ? Core()->FDictionaryModule.get() : nullptr);
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
    FrameOpeners::SetDictionaries(nullptr);
    FrameOpeners::SetSubjectChooser({});
}
