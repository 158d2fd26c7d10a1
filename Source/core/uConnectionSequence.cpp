#include "uConnectionSequence.h"

#include "uBackupOpeners.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uImportSequence.h"
#include "uLoadingForm.h"
#include "uLoginForm.h"
#include "uMainFormOpeners.h"
#include "uMainFormRegistries.h"
#include "uPowiazaniaForm.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uSettingsModule.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QPointer>

using namespace uLoadingForm;
using MainFormOpeners::TCloseStatus;

namespace {

// "Nie odnaleziono Biblioteki QuorDataBase.dll lub wystąpił błąd podczas jej uruchamiania."
constexpr uint32_t kNoLibraryMessage = 319;

const QString kConnecting = QStringLiteral("Trwa łączenie...");
const QString kImporting = QStringLiteral("Importowanie danych...");

// The main window's import shows the shared progress window; a source that does
// not connect ends the import with its error.
class TMainImportView : public IImportView {
public:
    TMainImportView(TConnectionSequence& Sequence, QWidget* Owner) : m_sequence(Sequence), m_owner(Owner) {}
    QWidget* ImportOwner() override { return m_owner; }
    void ShowConnecting() override { ShowLoading(m_owner, TLayout::lCaption, kConnecting, 0); }
    void ShowNotConnected() override { HideLoading(); }
    bool EditAfterFailure(IEwidarDataBase*, std::u16string&) override { return false; }
    void ImportProgress(int32_t Percent, bool& Cancel) override { m_sequence.Progress(Percent, Cancel); }
    void HideProgress() override { HideLoading(); }

private:
    TConnectionSequence& m_sequence;
    QWidget* m_owner;
};

} // namespace

const QString TConnectionSequence::LoginNeededText = QStringLiteral("Zaloguj się, aby zobaczyć dane.");
const QString TConnectionSequence::NoParametersCaption =
    QStringLiteral("UWAGA! Brak parametrów bazy danych Ewidary Podmiotów");
const QString TConnectionSequence::NoParametersText =
    QStringLiteral("Parametry bazy danych Ewidary Podmiotów nie zostały ustawione.\n\n"
                   "Czy otworzyć ustawianie parametrów bazy danych?");

TIntfPtr<IEwidarDataBase> CurrentDataBase() {
    TCore* core = Core();
    if (!core || !core->FDataBaseModule)
        return {};
    return core->FDataBaseModule->FEwidarDataBase;
}

TConnectionSequence::TConnectionSequence(IConnectionHost& Host) : FHost(Host) {}

void TConnectionSequence::Run() {
    try {
        RunSteps();
    } catch (const Registry::ERegistryException& e) {
        HideLoading();
        ShowRegistryError(e.Message());
    }
}

void TConnectionSequence::RunSteps() {
    TCore* core = Core();
    if (!core || !core->FDataBaseModule || !core->FSettingsModule)
        return;
    TDataBaseModule& module = *core->FDataBaseModule;
    TSettingsModule& settings = *core->FSettingsModule;

    const QString symbol = settings.FMainSettingsRecord.DataBaseSymbol;
    const std::u16string param = toU16(settings.GetConnectorParam(symbol));
    // The first parameter of the default backend is whatever the backend fills in.
    const bool storeParam = QuorDataBaseDefs::IndexOfSymbol(symbol) <= 0 && param.empty();

    TCollectionBaseFrame* frame = FHost.ListFrame();
    frame->SetKontekst(kBrak);
    if (!module.FEwidarDataBase || toQ(module.FEwidarDataBase->GetDataBaseSymbol()) != symbol)
        module.FEwidarDataBase = module.CreateEwidarInterface(symbol);

    while (!module.FEwidarDataBase) {
        bool reconnected = false;
        if (!OfferSettings(reconnected))
            break;
        // The nested sequence has connected (or reported) already.
        if (reconnected)
            return;
    }
    if (!module.FEwidarDataBase) {
        ShowUserMessage(kNoLibraryMessage, FHost.HostWindow());
        return;
    }

    TIntfPtr<IEwidarDataBase> root = module.FEwidarDataBase;
    QPointer<QWidget> window(FHost.HostWindow());
    root->SetOnProgress([this, window](int32_t Percent, bool& Cancel) {
        if (window)
            Progress(Percent, Cancel);
    });
    ConnectLoop(root, param, storeParam, symbol);
}

bool TConnectionSequence::OfferSettings(bool& Reconnected) {
    TMessageRequest request;
    request.Title = NoParametersCaption;
    request.Text = NoParametersText;
    request.Icon = TMsgDlgType::mtError;
    request.Buttons = {{TMsgDlgBtn::mbYes, QStringLiteral("Tak")}, {TMsgDlgBtn::mbNo, QStringLiteral("Nie")}};
    request.Owner = FHost.HostWindow();
    if (MessagePresenter()->Present(request) != ModalResult::mrYes)
        return false;
    switch (MainFormOpeners::OpenSettings(FHost.HostWindow())) {
    case MainFormOpeners::csCancel:
        return false;
    case MainFormOpeners::csReconnect:
        Disconnect();
        Run();
        Reconnected = true;
        return true;
    case MainFormOpeners::csReload:
        FHost.ReloadList();
        return true;
    case MainFormOpeners::csAccept:
        return true;
    }
    return false;
}

void TConnectionSequence::ConnectLoop(TIntfPtr<IEwidarDataBase> Root, std::u16string Param, bool StoreParam,
                                      const QString& Symbol) {
    QWidget* owner = FHost.HostWindow();
    for (;;) {
        ShowLoading(owner, TLayout::lCaption, kConnecting, 0);
        if (Root->Connect(Param, true)) {
            if (StoreParam)
                StoreFirstParam(Symbol, Param);
            HideLoading();
            // Without a login the list shows why it is empty and nothing is written.
            if (Login())
                FillNfzDefaults(Root.get());
            FHost.SelectFirstRegistry();
            return;
        }
        HideLoading();
        ShowUserMessage(static_cast<uint32_t>(Root->GetLastErrorCode()), owner);
        if (!Root->EditConnectionParams(owner, Param, true))
            return;
    }
}

void TConnectionSequence::StoreFirstParam(const QString& Symbol, const std::u16string& Param) {
    TSettingsModule& settings = *Core()->FSettingsModule;
    // "sqlite" in any case is the table's "SQLITE"; a backend outside the table keeps
    // its own symbol, so its parameter never overwrites the SQLite one.
    const QString target =
        QuorDataBaseDefs::IndexOfSymbol(Symbol) == 0 ? QuorDataBaseDefs::SymbolAt(0) : Symbol;
    const QString param = toQ(Param);
    settings.SetConnectorParam(target, param);
    const QString history = settings.GetConnectorHistory(target);
    if (!history.contains(param))
        settings.SetConnectorHistory(target, history + param + QLatin1Char('@'));
    settings.Save();
}

bool TConnectionSequence::Login() {
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    if (!root) {
        FHost.SetOperatorsVisible(false);
        FHost.AccessChanged(QString());
        return false;
    }
    QString login;
    const bool logged = root->IsLoggedIn() || ShowLogin(FHost.HostWindow(), root.get(), &login) == lfsLogged;
    FHost.SetOperatorsVisible(logged && root->IsAdministrator());
    FHost.AccessChanged(login);
    return logged;
}

void TConnectionSequence::FillNfzDefaults(IEwidarDataBase* Root) {
    TIntfPtr<IEwidarRegistries> registries = Root->GetRegistries();
    if (!registries)
        return;
    TIntfPtr<IDaneNFZow> nfz = registries->GetDaneNFZow(std::u16string());
    // A backend without a default list says so in its code; the start goes on quietly.
    if (nfz && nfz->GetCount() == 0)
        nfz->FillDefaults();
}

void TConnectionSequence::Disconnect() {
    CloseRelationsWindows(); // their lists belong to the connection that ends here
    FHost.ListFrame()->SetEwidarCollection(nullptr);
    BackupOpeners::Stopping(); // a background backup works over this connection's database
    if (TIntfPtr<IEwidarDataBase> root = CurrentDataBase())
        root->Disconnect();
}

void TConnectionSequence::OpenSettings() {
    try {
        switch (MainFormOpeners::OpenSettings(FHost.HostWindow())) {
        case MainFormOpeners::csReconnect:
            Disconnect();
            Run();
            break;
        case MainFormOpeners::csReload:
            FHost.ReloadList();
            break;
        case MainFormOpeners::csAccept:
        case MainFormOpeners::csCancel:
            break;
        }
    } catch (const Registry::ERegistryException& e) {
        ShowRegistryError(e.Message());
    }
}

void TConnectionSequence::ImportFromOtherDataBase() {
    QWidget* owner = FHost.HostWindow();
    TRootHold target = CurrentRoot();
    if (!target) {
        // Nothing to import into: the database library is missing.
        ShowUserMessage(kNoLibraryMessage, owner);
        return;
    }
    const MainFormOpeners::TDBParamRecord choice = MainFormOpeners::ChooseImportSource(owner);
    if (choice.CloseStatus != MainFormOpeners::csAccept)
        return;
    TSettingsModule& settings = *Core()->FSettingsModule;
    const QString symbol = settings.FMainSettingsRecord.DataBaseSymbol;
    TMainImportView view(*this, owner);
    // The progress window shows the connecting before the source exists.
    ShowLoading(owner, TLayout::lCaption, kConnecting, 0);
    TImportEnd source{CreateRoot(choice.DataBaseSymbol), choice.DataBaseSymbol, choice.Param};
    TImportEnd current{std::move(target), symbol, toU16(settings.GetConnectorParam(symbol))};
    if (ImportDataBase(view, std::move(current), std::move(source)) == TImportResult::irImported)
        FHost.ReloadList();
    HideLoading();
}

void TConnectionSequence::Progress(int32_t Percent, bool& Cancel) {
    const int percent = qBound(0, static_cast<int>(Percent), 100);
    if (ShowLoading(FHost.HostWindow(), TLayout::lCaptionProgressBar, kImporting, percent) ==
        TCloseType::ctCancelProgress)
        Cancel = true;
}

void TConnectionSequence::ShowRegistryError(const QString& Text) {
    ShowMessageBox(FHost.HostWindow(), QString::fromUtf8(TUserMessagesModule::DialogTitle), Text,
                   TMsgDlgType::mtError);
}
