#include "uMainFormOpeners.h"

namespace MainFormOpeners {

namespace {

struct TOpeners {
    TSettingsOpener Settings;
    TImportSourceChooser ImportSource;
    TOperatorsOpener Operators;
    TDictionaryImportOpener DictionaryImport;
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
    Openers().Settings = std::move(Opener);
}

void SetImportSourceChooser(TImportSourceChooser Chooser) {
    Openers().ImportSource = std::move(Chooser);
}

void SetOperatorsOpener(TOperatorsOpener Opener) {
    Openers().Operators = std::move(Opener);
}

void SetDictionaryImportOpener(TDictionaryImportOpener Opener) {
    Openers().DictionaryImport = std::move(Opener);
}

TCloseStatus OpenSettings(QWidget* OwnerForm) {
    // A copy: the opener may install another one while it runs.
    const TSettingsOpener opener = Openers().Settings;
    return opener ? opener(OwnerForm) : csCancel;
}

TDBParamRecord ChooseImportSource(QWidget* OwnerForm) {
    const TImportSourceChooser chooser = Openers().ImportSource;
    return chooser ? chooser(OwnerForm) : TDBParamRecord{};
}

void OpenOperators(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    if (const TOperatorsOpener opener = Openers().Operators)
        opener(OwnerForm, DataBase);
}

void OpenDictionaryImport(QWidget* OwnerForm, IEwidarDataBase* DataBase, TDictionaryImport Kind) {
    if (const TDictionaryImportOpener opener = Openers().DictionaryImport)
        opener(OwnerForm, DataBase, Kind);
}

} // namespace MainFormOpeners
