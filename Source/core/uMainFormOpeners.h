#pragma once
// How the main window reaches windows that live in other units: the settings
// window (in its normal mode and in its mode for choosing an import source) and
// the operators window. Each is a replaceable function that the window's unit
// installs; until one is installed the settings window counts as cancelled and
// the operators window shows nothing.

#include "uEwidarQuorDBIntf.h"

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace MainFormOpeners {

// How the settings window was closed, and what the main window does about it.
enum TCloseStatus {
    csCancel,    // nothing
    csAccept,    // nothing (import source: the choice was accepted)
    csReconnect, // disconnect and run the connection sequence again
    csReload     // reload the list
};

// The result of choosing an import source.
struct TDBParamRecord {
    TCloseStatus CloseStatus = csCancel;
    QString DataBaseSymbol;
    std::u16string Param;
};

using TSettingsOpener = std::function<TCloseStatus(QWidget* OwnerForm)>;
using TImportSourceChooser = std::function<TDBParamRecord(QWidget* OwnerForm)>;
using TOperatorsOpener = std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase)>;
// The dictionary data an administrator installs from the "Słowniki" menu.
// diWykazVat: the flat file of the VAT white list (the user's own data folder, not the database).
enum TDictionaryImport { diTeryt, diUrzedy, diWykazVat };
using TDictionaryImportOpener =
    std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase, TDictionaryImport Kind)>;

// "Dziennik zmian", the history of changes for administrators.
using TJournalOpener = std::function<void(QWidget* OwnerForm, IEwidarDataBase* DataBase)>;

// Installing an empty function puts the default back.
void SetSettingsOpener(TSettingsOpener Opener);
void SetImportSourceChooser(TImportSourceChooser Chooser);
void SetOperatorsOpener(TOperatorsOpener Opener);
void SetDictionaryImportOpener(TDictionaryImportOpener Opener);
void SetJournalOpener(TJournalOpener Opener);
// Puts every opener back to its default.
void ResetOpeners();

// The settings window in its normal mode; csCancel while none is installed.
TCloseStatus OpenSettings(QWidget* OwnerForm);
// The settings window choosing an import source; csCancel while none is installed.
TDBParamRecord ChooseImportSource(QWidget* OwnerForm);
// The operators window; nothing while none is installed.
void OpenOperators(QWidget* OwnerForm, IEwidarDataBase* DataBase);
// Installing dictionary data; nothing while none is installed.
void OpenDictionaryImport(QWidget* OwnerForm, IEwidarDataBase* DataBase, TDictionaryImport Kind);
// The journal window; nothing while none is installed.
void OpenJournal(QWidget* OwnerForm, IEwidarDataBase* DataBase);

} // namespace MainFormOpeners
