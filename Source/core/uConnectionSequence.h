#pragma once
// The main window's work with the database: the connection sequence run on its
// first activation and after the settings window asks for a reconnect (root
// object, settings window offer, connect loop with the backend's parameter
// dialog, the first stored parameter and its history, login, the NFZ defaults,
// the first registry), login, disconnect, the settings window, the import from
// another database and the import's progress handler.

#include "uEwidarQuorDBIntf.h"

#include <QString>

#include <string>

class QWidget;
class TCollectionBaseFrame;

// What the sequence needs of the window it works for.
class IConnectionHost {
public:
    virtual ~IConnectionHost() = default;
    // The window that owns progress and message windows.
    virtual QWidget* HostWindow() = 0;
    virtual TCollectionBaseFrame* ListFrame() = 0;
    // Shows or hides the operators menu item.
    virtual void SetOperatorsVisible(bool Visible) = 0;
    // Selects the list of all subjects, even when its switch is already checked.
    virtual void SelectFirstRegistry() = 0;
    // Reloads the list of the current registry.
    virtual void ReloadList() = 0;
    // Login or logout happened: the window shows what the operator may do. Login is the
    // login just accepted by the login window, empty when none was typed.
    virtual void AccessChanged(const QString& Login) { (void)Login; }
};

class TConnectionSequence {
public:
    explicit TConnectionSequence(IConnectionHost& Host);

    // The connection sequence. Registry failures are shown, never raised.
    void Run();
    // Detaches the list and disconnects the current root object.
    void Disconnect();
    // Shows the login window unless the root object is logged in; true when an
    // operator is logged in afterwards. Sets the operators item's visibility and tells
    // the window what the operator may do.
    bool Login();
    // The settings window, then reconnect or reload as it asks.
    void OpenSettings();
    // Copies the data of a database chosen in the settings window into the current one.
    void ImportFromOtherDataBase();
    // The root object's progress event during an import.
    void Progress(int32_t Percent, bool& Cancel);

    // The database's own text of the list shown while nobody is logged in.
    static const QString LoginNeededText;
    // Texts of the question asked when no root object exists.
    static const QString NoParametersCaption;
    static const QString NoParametersText;

private:
    void RunSteps();
    bool OfferSettings(bool& Reconnected);
    void ConnectLoop(TIntfPtr<IEwidarDataBase> Root, std::u16string Param, bool StoreParam,
                     const QString& Symbol);
    void StoreFirstParam(const QString& Symbol, const std::u16string& Param);
    void FillNfzDefaults(IEwidarDataBase* Root);
    void ShowRegistryError(const QString& Text);

    IConnectionHost& FHost;
};

// The current root object of the core's database module, or empty.
TIntfPtr<IEwidarDataBase> CurrentDataBase();
