// Each subsystem with windows installs them with one line in InstallWindows (for example
// InstallRecordForms();); each registry of openers is reset with one line in ResetWindows.

#include "uInstallWindows.h"

#include "CheckCRC.h"
#include "uBackupForms.h"
#include "uBackupOpeners.h"
#include "uCollectionForm.h"
#include "uCore.h"
#include "uDictionaryForm.h"
#include "uDictionaryImport.h"
#include "uDictionaryModule.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarRecordForm.h"
#include "uFieldDictionary.h"
#include "uFrameOpeners.h"
#include "uHistoryForms.h"
#include "uInitializeTableThread.h"
#include "uListOpeners.h"
#include "uMainFormOpeners.h"
#include "uMessagePresenter.h"
#include "uNumeryKontUrzedowForm.h"
#include "uOperatorsForm.h"
#include "uPodmiotFrame.h"
#include "uPodmiotyForm.h"
#include "uSelectionWindows.h"
#include "uSettingsForm.h"
#include "uShowPodatnikInfo.h"
#include "uSpreadsheetWindows.h"
#include "uWhiteListFlatImport.h"
#include "uWhiteListForms.h"
#include "uWyszukiwarkaRegonForm.h"

namespace {

// The subject's identifiers for its tax account, read from the subject editor in the window:
// the company's NIP, else the person's NIP when that one is valid, and the PESEL.
std::pair<QString, QString> SubjectTaxIds(QWidget* OwnerForm) {
    auto* frame = OwnerForm ? OwnerForm->findChild<TPodmiotFrame*>() : nullptr;
    if (!frame)
        return {};
    const auto value = [frame](const char* Name) {
        TPanel* panel = frame->Panel(Name);
        return panel ? panel->Value() : QString();
    };
    QString nip = value("pnlNIP2");
    if (!CheckCRC::IsValidNIP(nip) && CheckCRC::IsValidNIP(value("pnlNIP")))
        nip = value("pnlNIP");
    return {nip, value("pnlPESEL")};
}

// The subject editor's accounts go through the accounts window; they change only when it is accepted.
bool ShowSubjectTaxOfficeAccounts(QWidget* OwnerForm, PodmiotOpeners::TAccounts& Accounts) {
    PodmiotOpeners::TAccounts a = Accounts;
    const auto [nip, pesel] = SubjectTaxIds(OwnerForm);
    if (ShowTaxOfficeAccounts(OwnerForm, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], nip, pesel) !=
        TNumeryKontUrzedowForm::csAccept)
        return false;
    Accounts = a;
    return true;
}

// "Słowniki": an administrator installs dictionary data; the tables are then loaded again.
void ImportDictionaryData(QWidget* OwnerForm, IEwidarDataBase* DataBase,
                          MainFormOpeners::TDictionaryImport Kind) {
    // The flat file of the VAT white list goes to the user's own data folder.
    if (Kind == MainFormOpeners::diWykazVat) {
        WhiteListFlatImport::Run(OwnerForm);
        return;
    }
    if (!DataBase || !DataBase->IsLoggedIn() || !DataBase->IsAdministrator()) {
        ShowMessageBox(OwnerForm, QStringLiteral("Słowniki"),
                       QStringLiteral("Dane słowników może instalować tylko administrator."),
                       TMsgDlgType::mtWarning);
        return;
    }
    const bool installed = Kind == MainFormOpeners::diTeryt ? DictionaryImport::ImportTeryt(OwnerForm)
                                                            : DictionaryImport::ImportUrzedy(OwnerForm);
    if (installed && Core())
        ReloadDictionaryTables(Core()->FInitializeTableThread);
}

void ShowWhiteList(QWidget* Owner, TPodmiotFrame* Frame, PodmiotOpeners::TWhiteListAction Action) {
    switch (Action) {
    case PodmiotOpeners::TWhiteListAction::waCheck:
        WhiteListForms::CheckSubject(Owner, Frame);
        break;
    case PodmiotOpeners::TWhiteListAction::waFill:
        WhiteListForms::FillSubject(Owner, Frame);
        break;
    case PodmiotOpeners::TWhiteListAction::waChecks:
        WhiteListForms::ShowChecks(Owner, Frame);
        break;
    }
}

} // namespace

void InstallWindows() {
    // Whatever was installed before (a test's recorder) goes first.
    ResetWindows();
    MainFormOpeners::SetOperatorsOpener(&ShowOperators);
    MainFormOpeners::SetJournalOpener(&ShowJournal);
    RecordFormOpeners::SetHistoryOpener(&ShowRecordHistory);
    MainFormOpeners::SetDictionaryImportOpener(&ImportDictionaryData);
    InstallRecordForms();
    InstallSubjectInfo();
    InstallSettingsForms();
    InstallSelectionWindows();
    InstallSpreadsheetWindows();
    BackupForms::InstallBackupWindows();
    EditingOpeners::SetCollectionChooser(&ChooseFromCollection);
    FrameOpeners::SetSubjectChooser(&ChooseSubject);
    FrameOpeners::InstallDictionaryModule(Core() ? Core()->FDictionaryModule.get() : nullptr);
    TDictionaryModule::SetDictionaryFormOpener(&ShowDictionaryForm);
    TPanel::SetFieldDictionaryHandler(&ShowFieldDictionary);
    PodmiotOpeners::SetAccountsOpener(&ShowSubjectTaxOfficeAccounts);
    PodmiotOpeners::SetRegonSearchOpener(&RegonForms::ShowWyszukiwarkaRegon);
    PodmiotOpeners::SetWhiteListOpener(&ShowWhiteList);
    FrameOpeners::SetAccountCheckOpener(&WhiteListForms::CheckAccount);
    FrameOpeners::SetViesCheckOpener(&WhiteListForms::CheckVies);
}

void ResetWindows() {
    ListOpeners::ResetOpeners();
    MainFormOpeners::ResetOpeners();
    BackupOpeners::ResetOpeners();
    ResetSpreadsheetWindows();
    TPanel::SetFieldDictionaryHandler(nullptr);
    EditingOpeners::SetCollectionChooser({});
    FrameOpeners::SetDictionaries(nullptr);
    FrameOpeners::SetSubjectChooser({});
    TDictionaryModule::SetDictionaryFormOpener({});
    PodmiotOpeners::SetAccountsOpener({});
    PodmiotOpeners::SetRegonSearchOpener({});
    PodmiotOpeners::SetWhiteListOpener({});
    FrameOpeners::SetAccountCheckOpener({});
    FrameOpeners::SetViesCheckOpener({});
    RecordFormOpeners::SetHistoryOpener({});
}
