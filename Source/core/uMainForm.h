#pragma once
// The program's main window: a column of eleven registry switches on the left,
// the list frame of the chosen registry filling the rest, a status bar and the
// menu. It routes: the registry table says what each switch shows, the
// connection sequence does the work with the database, the other windows are
// reached through their openers.

#include "uConnectionSequence.h"
#include "uMainFormRegistries.h"

#include <QMainWindow>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class TCollectionBaseFrame;

namespace uMainForm {
class TRadioButton;
}

class TMainForm : public QMainWindow, private IConnectionHost {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* Parent = nullptr);
    ~TMainForm() override;

    // Runs the connection sequence on the first call only.
    void FormActivate();
    bool FirstRun() const { return FFirstRun; }

    // Shows registry Index (0-10, switch order) as its switch and menu item do.
    void SelectRegistry(int Index);
    // The registry whose switch is checked; -1 when none is.
    int CurrentRegistry() const;

    // Menu handlers.
    void Zaloguj1Click();
    void Wyloguj1Click();
    void Ustawienia1Click();
    void Innejbazy1Click();
    void Zestarejbazy1Click();
    void Pokabdyonieprawidowejwartoci1Click();
    void Pokakomunikatyopolachwymaganych1Click();
    void Operatorzy1Click();
    void KopiaZapasowa1Click();
    void Przywroc1Click();
    void DziennikZmian1Click();
    void ImportujTeryt1Click();
    void ImportujUrzedy1Click();
    void ImportujWykazVat1Click();
    // The list frame's filter timer, routed through the window.
    void tmrFilterTimer();

    TConnectionSequence& ConnectionSequence() { return FConnectionSequence; }

    // Components, named as their objectName.
    QFrame* Panel1;
    std::array<uMainForm::TRadioButton*, MainFormRegistries::RegistryCount> Switches{};
    uMainForm::TRadioButton* rbpodmioty;
    uMainForm::TRadioButton* rbPodatnicy;
    uMainForm::TRadioButton* rbPracownicy;
    uMainForm::TRadioButton* rbKontrahenci;
    uMainForm::TRadioButton* rbSpki;
    uMainForm::TRadioButton* rbBanki;
    uMainForm::TRadioButton* rbDaneZUS;
    uMainForm::TRadioButton* rbDaneNFZ;
    uMainForm::TRadioButton* rbUrzedyStatystyczne;
    uMainForm::TRadioButton* rbSadyRejonowe;
    uMainForm::TRadioButton* rbBiuraRachunkowe;
    TCollectionBaseFrame* CollectionBaseFrame1;
    // Over the empty list while the database asks for a login nobody gave.
    QLabel* lblLoginNeeded;
    QStatusBar* StatusBar1;
    QLabel* lblStatus; // the database and the operator
    QMenuBar* MainMenu1;
    QMenu* Plik1;
    QAction* Zaloguj1;
    QAction* Wyloguj1;
    QAction* Ustawienia1;
    QMenu* Importuj1;
    QAction* Innejbazy1;
    QAction* Zestarejbazy1;
    QAction* Zamknij1;
    QMenu* Widok1;
    QAction* Pokabdyonieprawidowejwartoci1;
    QAction* Pokakomunikatyopolachwymaganych1;
    QMenu* Ewidary1;
    std::array<QAction*, MainFormRegistries::RegistryCount> RegistryItems{};
    QAction* Operatorzy1;
    QMenu* BazaDanych1 = nullptr;
    QAction* KopiaZapasowa1 = nullptr;
    QAction* Przywroc1 = nullptr;
    QAction* DziennikZmian1;
    // "Słowniki": installing dictionary data, shown to an administrator only.
    QMenu* Slowniki1;
    QAction* ImportujTeryt1;
    QAction* ImportujUrzedy1;
    QAction* ImportujWykazVat1;
    // "Pomoc": the user guide and the program's version.
    QMenu* Pomoc1;
    QAction* Podrecznik1;
    QAction* Oprogramie1;

protected:
    void changeEvent(QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreateSwitchColumn();
    void CreateListFrame();
    void CreateMenu();
    void CreateFileMenu();
    void CreateDataBaseMenu();
    void CreateViewMenu();
    void CreateRegistryMenu();
    void CreateHelpMenu();
    void WireRegistries();
    void SyncViewChecks();
    void ToggleShownErrorType(int Type);
    void ScheduleFirstRun();
    void PlaceOnScreen();

    // IConnectionHost
    QWidget* HostWindow() override { return this; }
    TCollectionBaseFrame* ListFrame() override { return CollectionBaseFrame1; }
    void SetOperatorsVisible(bool Visible) override;
    void SelectFirstRegistry() override;
    void ReloadList() override;
    void AccessChanged(const QString& Login) override;
    // Menu items, list buttons and status bar after what the operator may do now.
    void ApplyAccess();

    bool FFirstRun = true;
    bool FSelecting = false;
    QString FOperatorLogin; // as typed at the last login, empty after a logout
    TConnectionSequence FConnectionSequence;
};
