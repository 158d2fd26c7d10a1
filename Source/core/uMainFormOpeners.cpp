#include "uMainFormOpeners.h"

namespace MainFormOpeners {

namespace {
TSettingsOpener g_settings;
TImportSourceChooser g_importSource;
TOperatorsOpener g_operators;
} // namespace

void SetSettingsOpener(TSettingsOpener Opener) {
    g_settings = std::move(Opener);
}

void SetImportSourceChooser(TImportSourceChooser Chooser) {
    g_importSource = std::move(Chooser);
}

void SetOperatorsOpener(TOperatorsOpener Opener) {
    g_operators = std::move(Opener);
}

TCloseStatus OpenSettings(QWidget* OwnerForm) {
    return g_settings ? g_settings(OwnerForm) : csCancel;
}

TDBParamRecord ChooseImportSource(QWidget* OwnerForm) {
    return g_importSource ? g_importSource(OwnerForm) : TDBParamRecord{};
}

void OpenOperators(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    if (g_operators)
        g_operators(OwnerForm, DataBase);
}

} // namespace MainFormOpeners
