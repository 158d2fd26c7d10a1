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
#include "uNumeryKontUrzedowForm.h"
#include "uOperatorsForm.h"
#include "uPodmiotFrame.h"
#include "uPodmiotyForm.h"
#include "uSelectionWindows.h"
#include "uSettingsForm.h"
#include "uShowPodatnikInfo.h"
#include "uSpreadsheetWindows.h"
#include "uWyszukiwarkaRegonForm.h"

namespace {

// The subject editor's accounts go through the accounts window; they change only when it is accepted.
bool ShowSubjectTaxOfficeAccounts(QWidget* OwnerForm, PodmiotOpeners::TAccounts& Accounts) {
    PodmiotOpeners::TAccounts a = Accounts;
    if (ShowTaxOfficeAccounts(OwnerForm, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]) !=
        TNumeryKontUrzedowForm::csAccept)
        return false;
    Accounts = a;
    return true;
}

} // namespace

void InstallWindows() {
    // Whatever was installed before (a test's recorder) goes first.
    ResetWindows();
    MainFormOpeners::SetOperatorsOpener(&ShowOperators);
    InstallRecordForms();
    InstallSubjectInfo();
    InstallSettingsForms();
    InstallSelectionWindows();
    InstallSpreadsheetWindows();
    EditingOpeners::SetCollectionChooser(&ChooseFromCollection);
    FrameOpeners::SetSubjectChooser(&ChooseSubject);
    FrameOpeners::InstallDictionaryModule(Core() ? Core()->FDictionaryModule.get() : nullptr);
    TDictionaryModule::SetDictionaryFormOpener(&ShowDictionaryForm);
    TPanel::SetFieldDictionaryHandler(&ShowFieldDictionary);
    PodmiotOpeners::SetAccountsOpener(&ShowSubjectTaxOfficeAccounts);
    PodmiotOpeners::SetRegonSearchOpener(&RegonForms::ShowWyszukiwarkaRegon);
}

void ResetWindows() {
    ListOpeners::ResetOpeners();
    MainFormOpeners::ResetOpeners();
    ResetSpreadsheetWindows();
    TPanel::SetFieldDictionaryHandler(nullptr);
    EditingOpeners::SetCollectionChooser({});
    FrameOpeners::SetDictionaries(nullptr);
    FrameOpeners::SetSubjectChooser({});
    TDictionaryModule::SetDictionaryFormOpener({});
    PodmiotOpeners::SetAccountsOpener({});
    PodmiotOpeners::SetRegonSearchOpener({});
}
