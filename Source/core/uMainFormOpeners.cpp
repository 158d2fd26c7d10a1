#include "uMainFormOpeners.h"

#include "uOpener.h"

namespace MainFormOpeners {

namespace {

struct TOpeners {
    TOpener<TCloseStatus(QWidget*)> Settings;
    TOpener<TDBParamRecord(QWidget*)> ImportSource;
    TOpener<void(QWidget*, IEwidarDataBase*)> Operators;
    TOpener<void(QWidget*, IEwidarDataBase*, TDictionaryImport)> DictionaryImport;
    TOpener<void(QWidget*, IEwidarDataBase*)> Journal;
};

TOpeners& Openers() {
    static TOpeners openers;
    return openers;
}

} // namespace

void ResetOpeners() {
    Openers() = TOpeners();
}

void SetSettingsOpener(TSettingsOpener Opener) {
    Openers().Settings.Set(std::move(Opener));
}

void SetImportSourceChooser(TImportSourceChooser Chooser) {
    Openers().ImportSource.Set(std::move(Chooser));
}

void SetOperatorsOpener(TOperatorsOpener Opener) {
    Openers().Operators.Set(std::move(Opener));
}

void SetDictionaryImportOpener(TDictionaryImportOpener Opener) {
    Openers().DictionaryImport.Set(std::move(Opener));
}

void SetJournalOpener(TJournalOpener Opener) {
    Openers().Journal.Set(std::move(Opener));
}

void OpenJournal(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    Openers().Journal.Call(OwnerForm, DataBase);
}

TCloseStatus OpenSettings(QWidget* OwnerForm) {
    return Openers().Settings.Call(OwnerForm); // csCancel while none is installed
}

TDBParamRecord ChooseImportSource(QWidget* OwnerForm) {
    return Openers().ImportSource.Call(OwnerForm);
}

void OpenOperators(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    Openers().Operators.Call(OwnerForm, DataBase);
}

void OpenDictionaryImport(QWidget* OwnerForm, IEwidarDataBase* DataBase, TDictionaryImport Kind) {
    Openers().DictionaryImport.Call(OwnerForm, DataBase, Kind);
}

} // namespace MainFormOpeners
