// Each subsystem's windows are installed by one line below; a new window adds its line here.

#include "uInstallWindows.h"

#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"
#include "uOperatorsForm.h"
#include "uPodmiotFrame.h"
#include "uShowPodatnikInfo.h"
#include "uWyszukiwarkaRegonForm.h"

void InstallWindows() {
    ResetWindows();
    MainFormOpeners::SetOperatorsOpener(&ShowOperators);
    InstallRecordForms();
    InstallSubjectInfo();
    PodmiotOpeners::SetRegonSearchOpener(&RegonForms::ShowWyszukiwarkaRegon);
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
    PodmiotOpeners::SetRegonSearchOpener({});
}
