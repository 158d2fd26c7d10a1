#include "uMainForm.h"

#include "uBackupOpeners.h"

#include "TEdit.h"
#include "uAccessRights.h"
#include "uBackupOpeners.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uEwidarComponents_Error.h"
#include "uMainFormOpeners.h"
#include "uParamText.h"
#include "uRegistrySwitch.h"
#include "uSettingsModule.h"
#include "uUserMessagesModule.h"
#include "uWaitCursor.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

using namespace MainFormRegistries;

namespace {

// "W opracowaniu."
constexpr uint32_t kNotReadyMessage = 312;

} // namespace

TMainForm::TMainForm(QWidget* Parent) : QMainWindow(Parent), FConnectionSequence(*this) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Ewidar Quor"));
    resize(1024, 700);
    auto* central = new QWidget(this);
    setCentralWidget(central);
    CreateSwitchColumn();
    CreateListFrame();
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(Panel1);
    auto* listColumn = new QVBoxLayout;
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->setSpacing(0);
    lblLoginNeeded = new QLabel(TConnectionSequence::LoginNeededText, central);
    lblLoginNeeded->setObjectName(QStringLiteral("lblLoginNeeded"));
    lblLoginNeeded->setAlignment(Qt::AlignCenter);
    lblLoginNeeded->setMargin(8);
    lblLoginNeeded->setVisible(false);
    listColumn->addWidget(lblLoginNeeded);
    listColumn->addWidget(CollectionBaseFrame1, 1);
    row->addLayout(listColumn, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    // A permanent label: a menu's status tips replace the bar's message and leave it
    // empty, the database and operator line must stay.
    lblStatus = new QLabel(StatusBar1);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    StatusBar1->addWidget(lblStatus, 1);
    CreateMenu();
    SyncViewChecks();
    FFirstRun = true;
    WireRegistries();
    // The list reads the root object when it needs it: a reconnect may replace it.
    CollectionBaseFrame1->SetEwidarDataBaseSource(&CurrentDataBase);
    CollectionBaseFrame1->SetEwidarCollection(nullptr);
    // Typing goes to the filter from the start.
    CollectionBaseFrame1->edtfilter->setFocus();
    PlaceOnScreen();
}

void TMainForm::PlaceOnScreen() {
    // Centred on the screen, smaller than it on a small one.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    resize(qMin(width(), area.width()), qMin(height(), area.height()));
    move(area.center() - rect().center());
}

TMainForm::~TMainForm() {
    CollectionBaseFrame1->edtfilter->removeEventFilter(this);
    // The root object outlives the window: it must not call back into it.
    if (TIntfPtr<IEwidarDataBase> root = CurrentDataBase())
        root->SetOnProgress(nullptr);
    FConnectionSequence.Disconnect();
}

void TMainForm::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow())
        ScheduleFirstRun();
}

void TMainForm::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    // A desktop without a window manager may never activate the window.
    ScheduleFirstRun();
}

void TMainForm::ScheduleFirstRun() {
    // The sequence opens modal windows: it runs from the event loop, not inside
    // the event that activated the window.
    if (FFirstRun)
        QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::FormActivate() {
    if (!FFirstRun)
        return;
    // Cleared first: the windows the sequence opens activate this one again.
    FFirstRun = false;
    FConnectionSequence.Run();
    if (const TIntfPtr<IEwidarDataBase> root = CurrentDataBase())
        BackupOpeners::Started(this, root.get());
    // The progress window took the focus away while it disabled this one.
    if (isActiveWindow() || !QGuiApplication::focusWindow())
        CollectionBaseFrame1->edtfilter->setFocus();
}

namespace {

// The keys any edit box is used with: selecting, copying, pasting, undoing and the
// caret keys. No registry shortcut takes them from the filter box.
bool EditingKey(const QKeyEvent* Event) {
    static const QKeySequence::StandardKey keys[] = {
        QKeySequence::SelectAll,         QKeySequence::Copy,           QKeySequence::Cut,
        QKeySequence::Paste,             QKeySequence::Undo,           QKeySequence::Redo,
        QKeySequence::MoveToStartOfLine, QKeySequence::MoveToEndOfLine, QKeySequence::SelectStartOfLine,
        QKeySequence::SelectEndOfLine,   QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord,
        QKeySequence::SelectNextWord,    QKeySequence::SelectPreviousWord, QKeySequence::Backspace,
        QKeySequence::Delete,            QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
    };
    return std::any_of(std::begin(keys), std::end(keys),
                       [Event](QKeySequence::StandardKey Key) { return Event->matches(Key); });
}

} // namespace

bool TMainForm::eventFilter(QObject* Watched, QEvent* Event) {
    // The registry shortcuts win over the filter box's less common editing keys
    // (Ctrl+K, Ctrl+U ...): the box takes such a key and hands it to the menu item.
    // The common editing keys (Ctrl+A, Ctrl+Z ...) stay with the box.
    if (Watched == CollectionBaseFrame1->edtfilter &&
        (Event->type() == QEvent::ShortcutOverride || Event->type() == QEvent::KeyPress) &&
        !EditingKey(static_cast<QKeyEvent*>(Event))) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(Event)->keyCombination());
        for (int i = 0; i < RegistryCount; ++i) {
            if (pressed != Registries()[static_cast<size_t>(i)].Shortcut())
                continue;
            if (Event->type() == QEvent::ShortcutOverride)
                Event->accept();
            else
                RegistryItems[static_cast<size_t>(i)]->trigger();
            return true;
        }
    }
    return QMainWindow::eventFilter(Watched, Event);
}

int TMainForm::CurrentRegistry() const {
    for (int i = 0; i < RegistryCount; ++i)
        if (Switches[static_cast<size_t>(i)]->isChecked())
            return i;
    return -1;
}

void TMainForm::SelectRegistry(int Index) {
    if (Index < 0 || Index >= RegistryCount || FSelecting)
        return;
    FSelecting = true;
    TWaitCursor wait;
    const TRegistry& registry = Registries()[static_cast<size_t>(Index)];
    for (int i = 0; i < RegistryCount; ++i) {
        const auto at = static_cast<size_t>(i);
        Switches[at]->setChecked(i == Index);
        RegistryItems[at]->setChecked(i == Index);
    }
    ApplyToFrame(CollectionBaseFrame1, registry);
    if (TIntfPtr<IEwidarDataBase> root = CurrentDataBase()) {
        TIntfPtr<IEwidarCollection> collection =
            OpenRegistry(root.get(), registry, CollectionBaseFrame1->edtfilter->text());
        if (collection) {
            CollectionBaseFrame1->SetEwidarCollection(collection.get());
        } else {
            // No registries object at all: the root says why.
            CollectionBaseFrame1->SetEwidarCollection(nullptr);
            ShowUserMessage(static_cast<uint32_t>(root->GetLastErrorCode()), this);
        }
    }
    FSelecting = false;
}

void TMainForm::SelectFirstRegistry() {
    rbpodmioty->setChecked(false);
    rbpodmioty->setChecked(true);
}

void TMainForm::ReloadList() {
    CollectionBaseFrame1->RefreshData();
}

// The administrator's items: the operators window, the journal of changes and installing
// dictionary data.
void TMainForm::SetOperatorsVisible(bool Visible) {
    Operatorzy1->setVisible(Visible);
    DziennikZmian1->setVisible(Visible);
    Slowniki1->menuAction()->setVisible(Visible);
}

void TMainForm::tmrFilterTimer() {
    CollectionBaseFrame1->tmrFilterTimer();
}

void TMainForm::Zaloguj1Click() {
    FConnectionSequence.Login();
    ReloadList();
}

void TMainForm::Wyloguj1Click() {
    if (TIntfPtr<IEwidarDataBase> root = CurrentDataBase())
        root->Logout();
    FOperatorLogin.clear();
    SetOperatorsVisible(false);
    ApplyAccess();
    ReloadList();
}

void TMainForm::AccessChanged(const QString& Login) {
    if (!Login.isEmpty())
        FOperatorLogin = Login;
    ApplyAccess();
}

void TMainForm::ApplyAccess() {
    using namespace AccessRights;
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    const TAccess access = Read(root.get(), FOperatorLogin);
    const bool loginNeeded = root && access.operatorsExist && !access.loggedIn;
    Zaloguj1->setVisible(loginNeeded);
    Wyloguj1->setVisible(access.operatorsExist && access.loggedIn);
    lblLoginNeeded->setVisible(loginNeeded);
    // Connection settings and imports belong to administrators once operators exist.
    const bool manage = !access.operatorsExist || access.May(rtOperators);
    Ustawienia1->setEnabled(manage);
    Importuj1->menuAction()->setEnabled(manage);
    CollectionBaseFrame1->SetAllowedActions(access.May(rtCreate), access.May(rtModify));
    // Spreadsheets: importing creates subjects, exporting reads the list.
    if (auto* importSubjects = findChild<QAction*>(QStringLiteral("ImportujPodmioty1")))
        importSubjects->setEnabled(access.May(rtCreate));
    if (auto* exportList = findChild<QAction*>(QStringLiteral("EksportujListe1")))
        exportList->setEnabled(access.May(rtView));
    QString status;
    if (root) {
        const QString symbol = QString::fromStdU16String(root->GetDataBaseSymbol());
        const QString param = Core() && Core()->FSettingsModule
                                  ? ParamText::Masked(Core()->FSettingsModule->GetConnectorParam(symbol))
                                  : QString();
        status = QStringLiteral("Baza: %1 %2").arg(symbol, param).trimmed();
        if (access.operatorsExist && access.loggedIn)
            status = QStringLiteral("Operator: %1   %2")
                         .arg(FOperatorLogin.isEmpty() ? QStringLiteral("administrator")
                                                       : FOperatorLogin.trimmed(),
                              status);
        else if (loginNeeded)
            status = QStringLiteral("Nikt nie jest zalogowany   %1").arg(status);
    }
    lblStatus->setText(status);
}

void TMainForm::Ustawienia1Click() {
    FConnectionSequence.OpenSettings();
}

void TMainForm::Innejbazy1Click() {
    FConnectionSequence.ImportFromOtherDataBase();
}

void TMainForm::Zestarejbazy1Click() {
    ShowUserMessage(kNotReadyMessage, this);
}

void TMainForm::DziennikZmian1Click() {
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    MainFormOpeners::OpenJournal(this, root.get());
}

void TMainForm::Operatorzy1Click() {
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    MainFormOpeners::OpenOperators(this, root.get());
    // The operator may have changed their own group's rights or removed their own account.
    SetOperatorsVisible(root && root->IsLoggedIn() && root->IsAdministrator());
    ApplyAccess();
    ReloadList();
}

void TMainForm::KopiaZapasowa1Click() {
    const TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    if (root)
        BackupOpeners::OpenBackup(this, root.get());
}

void TMainForm::Przywroc1Click() {
    const TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    if (!root || !BackupOpeners::OpenRestore(this, root.get()))
        return;
    FConnectionSequence.Disconnect();
    FConnectionSequence.Run();
}

void TMainForm::ImportujTeryt1Click() {
    const TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    MainFormOpeners::OpenDictionaryImport(this, root.get(), MainFormOpeners::diTeryt);
}

void TMainForm::ImportujUrzedy1Click() {
    const TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    MainFormOpeners::OpenDictionaryImport(this, root.get(), MainFormOpeners::diUrzedy);
}

void TMainForm::ImportujWykazVat1Click() {
    const TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    MainFormOpeners::OpenDictionaryImport(this, root.get(), MainFormOpeners::diWykazVat);
}

void TMainForm::Pokabdyonieprawidowejwartoci1Click() {
    ToggleShownErrorType(etValidate);
}

void TMainForm::Pokakomunikatyopolachwymaganych1Click() {
    ToggleShownErrorType(etRequire);
}

void TMainForm::ToggleShownErrorType(int Type) {
    const auto kind = static_cast<TErrorType>(Type);
    // A shown kind (checked item) is hidden, a hidden one shown; the panels re-apply
    // their errors inside these calls.
    if (GetShownErrorTypes().Contains(kind))
        ExcludeShownErrorType(kind);
    else
        IncludeShownErrorType(kind);
    SyncViewChecks();
}

void TMainForm::SyncViewChecks() {
    const TErrorTypes shown = GetShownErrorTypes();
    Pokabdyonieprawidowejwartoci1->setChecked(shown.Contains(etValidate));
    Pokakomunikatyopolachwymaganych1->setChecked(shown.Contains(etRequire));
}
