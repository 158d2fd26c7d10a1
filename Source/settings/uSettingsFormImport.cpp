// The settings window's import: choosing the source in the window's second mode,
// and copying it into the chosen configuration through the shared import sequence
// with this window's progress bar, cancel question and messages.

#include "uSettingsForm.h"

#include "uCore.h"
#include "uDBParamText.h"
#include "uSettingsModule.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

using namespace uSettingsForm;

namespace {

// "Przenoszenie danych zakończone."
constexpr uint32_t kImportDoneMessage = 318;
// "Nie odnaleziono Biblioteki QuorDataBase.dll lub wystąpił błąd podczas jej uruchamiania."
constexpr uint32_t kNoLibraryMessage = 319;

} // namespace

void TSettingsForm::AcceptImportSource() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (!node || node->childCount() > 0)
        return;
    const TDBParam data = NodeData(node);
    std::u16string param = toU16(data.Param);
    if (param.empty()) {
        // "Inny parametr..." or a backend without history: the backend's own dialog.
        TRootHold root = RootForSymbol(data.DataBaseSymbol);
        if (!root) {
            ShowUserMessage(kNoLibraryMessage, this);
            return;
        }
        if (!root->EditConnectionParams(this, param, false))
            return;
    }
    if (param.empty())
        return;
    const QString text = QStringLiteral("Importuj z bazy: \r\n\r\n") + DBParamText::Masked(toQ(param));
    if (AskQuestion(this, QStringLiteral("Ewidar Podmiotów"), text, true) != ModalResult::mrOk)
        return;
    FDBParamRecord = {MainFormOpeners::csAccept, data.DataBaseSymbol, param};
    accept();
}

TImportEnd TSettingsForm::ImportTarget() {
    TSettingsModule& settings = *Core()->FSettingsModule;
    const QString saved = settings.FMainSettingsRecord.DataBaseSymbol;
    // The configuration the program runs on is imported into through its own connection.
    if (FDataBaseSymbol == saved && FDataBaseParam == settings.GetConnectorParam(saved)) {
        TRootHold current = CurrentRoot();
        if (current && toQ(current->GetDataBaseSymbol()) == FDataBaseSymbol)
            return {std::move(current), FDataBaseSymbol, toU16(FDataBaseParam)};
    }
    return {CreateRoot(FDataBaseSymbol), FDataBaseSymbol, toU16(FDataBaseParam)};
}

void TSettingsForm::btnImportClick() {
    if (FWorkMode != wmNormal || m_busy)
        return;
    TDBParamRecord source;
    {
        TSettingsForm chooser(this, wmGetDBSettings);
        chooser.exec();
        source = chooser.DBParamRecord();
    }
    if (source.CloseStatus != MainFormOpeners::csAccept)
        return;
    m_busy = true;
    const TImportResult result = ImportDataBase(
        *this, ImportTarget(), {CreateRoot(source.DataBaseSymbol), source.DataBaseSymbol, source.Param});
    m_busy = false;
    if (result == TImportResult::irImported) {
        ShowUserMessage(kImportDoneMessage, this);
        FCloseStatus = MainFormOpeners::csReload;
    }
    // "Anuluj" pressed during the import and the import let run: the window closes now.
    if (std::exchange(m_closeAfterImport, false))
        CloseCancelled();
}

void TSettingsForm::MoveDataProgress(int32_t Percent, bool& Cancel) {
    const int percent = qBound(0, static_cast<int>(Percent), 100);
    // A backend reports once per record: events run when the figure changes, else at
    // most every 10 ms, which keeps "Przerwij" prompt without slowing the import.
    const bool changed = !pbMoveData->isVisible() || percent != pbMoveData->value();
    if (changed || !m_lastEvents.isValid() || m_lastEvents.hasExpired(10)) {
        pbMoveData->setRange(0, 100);
        pbMoveData->setValue(percent);
        pbMoveData->setFormat(QStringLiteral("%1 %").arg(percent));
        pbMoveData->show();
        QCoreApplication::processEvents();
        m_lastEvents.start();
    }
    Cancel = FImportBreak;
}

void TSettingsForm::ShowConnecting() {
    pbMoveData->setValue(0);
    pbMoveData->setFormat(QStringLiteral("Trwa łączenie..."));
    pbMoveData->show();
    // Painted at once; no input is taken while connecting.
    pbMoveData->repaint();
}

void TSettingsForm::ShowNotConnected() {
    pbMoveData->setFormat(QStringLiteral("Brak połączenia"));
    pbMoveData->repaint();
}

bool TSettingsForm::EditAfterFailure(IEwidarDataBase* Root, std::u16string& Param) {
    return Root->EditConnectionParams(this, Param, false);
}

void TSettingsForm::ConnectingEnded() {
    pbMoveData->hide();
}

void TSettingsForm::ImportStarted() {
    FImportBreak = false;
    FTrwaImport = true;
    // Nothing changes the configurations while data are copied into one of them.
    for (QPushButton* b : {btnImport, btnSet, btnAdd, btnEdit, btnDelete, bSave})
        b->setEnabled(false);
    TreeView1->setEnabled(false);
    bCancel->setText(QStringLiteral("Przerwij"));
}

void TSettingsForm::ImportEnded() {
    TreeView1->setEnabled(true);
    btnImport->setEnabled(true);
    bSave->setEnabled(true);
    bCancel->setText(QStringLiteral("Anuluj"));
    FTrwaImport = false;
    TreeView1Change();
}

void TSettingsForm::HideProgress() {
    pbMoveData->hide();
}
