// The settings window's work on configurations: add, edit, delete, choose, save, cancel.

#include "uSettingsForm.h"

#include "uCore.h"
#include "uDBParamText.h"
#include "uQuorDataBaseDefs.h"
#include "uSettingsModule.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTreeWidget>

#include <array>

using namespace uSettingsForm;

namespace {

// "Nie odnaleziono Biblioteki QuorDataBase.dll lub wystąpił błąd podczas jej uruchamiania."
constexpr uint32_t kNoLibraryMessage = 319;

const QString kQuestionTitle = QStringLiteral("Ewidar Quor");

// Creation, last-access and last-write times of a file; empty when it does not exist.
std::array<QDateTime, 3> FileTimes(const QString& Path) {
    const QFileInfo info(Path);
    if (Path.isEmpty() || !info.isFile())
        return {};
    return {info.birthTime(), info.lastRead(), info.lastModified()};
}

bool Exists(const std::array<QDateTime, 3>& Times) {
    return Times[2].isValid();
}

} // namespace

void TSettingsForm::btnAddClick() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (!node || FWorkMode != wmNormal)
        return;
    QTreeWidgetItem* backend = node->parent() ? node->parent() : node;
    TRootHold root = RootForSymbol(NodeData(backend).DataBaseSymbol);
    if (!root) {
        ShowUserMessage(kNoLibraryMessage, this);
        return;
    }
    std::u16string edited;
    if (!root->EditConnectionParams(this, edited, true) || edited.empty())
        return;
    const QString param = toQ(edited);
    for (int c = 0; c < backend->childCount(); ++c) {
        if (NodeData(backend->child(c)).Param.compare(param, Qt::CaseInsensitive) == 0) {
            TreeView1->setCurrentItem(backend->child(c));
            return;
        }
    }
    QTreeWidgetItem* added = AddConfigNode(backend, param);
    StoreHistory(backend);
    backend->setExpanded(true);
    TreeView1->setCurrentItem(added);
    if (!AnyCurrent())
        btnSetClick();
}

void TSettingsForm::btnEditClick() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (!IsConfigNode(node) || FWorkMode != wmNormal)
        return;
    const TDBParam data = NodeData(node);
    FOpendDBSettings = true;
    // A dialog that replaces or rewrites the database file makes the main window reload.
    const QString path = DBParamText::DirPath(data.Param);
    const std::array<QDateTime, 3> before = FileTimes(path);
    TRootHold root = RootForSymbol(data.DataBaseSymbol);
    if (!root) {
        ShowUserMessage(kNoLibraryMessage, this);
        return;
    }
    std::u16string edited = toU16(data.Param);
    if (root->EditConnectionParams(this, edited, true) && !edited.empty()) {
        const QString param = toQ(edited);
        SetNodeData(node, {data.DataBaseSymbol, param, data.Current});
        node->setText(0, DBParamText::Masked(param));
        StoreHistory(node->parent());
        if (data.Current)
            FDataBaseParam = param;
    }
    const std::array<QDateTime, 3> after = FileTimes(path);
    if (Exists(before) && Exists(after) && before != after)
        FCloseStatus = MainFormOpeners::csReload;
}

void TSettingsForm::btnDeleteClick() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (!IsConfigNode(node) || FWorkMode != wmNormal || NodeData(node).Current)
        return;
    const QString text =
        QStringLiteral("Usunąć ustawienia bazy danych:\r\n\r\n") + DBParamText::Masked(NodeData(node).Param);
    if (AskQuestion(this, kQuestionTitle, text) != ModalResult::mrYes)
        return;
    QTreeWidgetItem* backend = node->parent();
    TreeView1->setCurrentItem(backend);
    delete node;
    StoreHistory(backend);
}

void TSettingsForm::btnSetClick() {
    QTreeWidgetItem* node = TreeView1->currentItem();
    if (!IsConfigNode(node) || FWorkMode != wmNormal)
        return;
    const TDBParam data = NodeData(node);
    if (AnyCurrent()) {
        const QString text = QStringLiteral("Zmienić aktualną bazę danych na:\r\n\r\n") +
                             BackendCaption(data.DataBaseSymbol) + QStringLiteral("\r\n") +
                             DBParamText::Masked(data.Param);
        if (AskQuestion(this, kQuestionTitle, text) != ModalResult::mrYes)
            return;
    }
    for (int b = 0; b < TreeView1->topLevelItemCount(); ++b) {
        QTreeWidgetItem* backend = TreeView1->topLevelItem(b);
        SetCurrent(backend, false);
        for (int c = 0; c < backend->childCount(); ++c)
            SetCurrent(backend->child(c), false);
    }
    SetCurrent(node, true);
    SetCurrent(node->parent(), true);
    FDataBaseSymbol = data.DataBaseSymbol;
    FDataBaseParam = data.Param;
    TreeView1Change();
}

void TSettingsForm::bSaveClick() {
    if (FTrwaImport)
        return;
    if (FWorkMode == wmGetDBSettings) {
        AcceptImportSource();
        return;
    }
    TSettingsModule& settings = *Core()->FSettingsModule;
    const QString saved = settings.FMainSettingsRecord.DataBaseSymbol;
    // Another backend, another parameter, or a dialog of the default backend that
    // may have changed its file: the main window connects again.
    const bool defaultBackend = QuorDataBaseDefs::IndexOfSymbol(saved) <= 0;
    if ((defaultBackend && FOpendDBSettings) || saved.compare(FDataBaseSymbol, Qt::CaseInsensitive) != 0 ||
        settings.GetConnectorParam(FDataBaseSymbol) != FDataBaseParam)
        FCloseStatus = MainFormOpeners::csReconnect;
    settings.FTempSettingsRecord.DataBaseSymbol = FDataBaseSymbol;
    settings.SetConnectorParam(FDataBaseSymbol, FDataBaseParam);
    settings.Save();
    accept();
}

void TSettingsForm::bCancelClick() {
    if (FTrwaImport) {
        const int answer = AskQuestion(this, QStringLiteral("Ewidar Podmiotów"),
                                       QStringLiteral("Czy przerwać importowanie danych?"));
        if (answer == ModalResult::mrYes)
            FImportBreak = true;
        else
            m_closeAfterImport = true;
        return;
    }
    // Connecting the databases of an import: the window waits for it.
    if (m_busy)
        return;
    CloseCancelled();
}

void TSettingsForm::CloseCancelled() {
    if (TCore* core = Core(); core && core->FSettingsModule)
        core->FSettingsModule->Cancel();
    QDialog::reject();
}

void TSettingsForm::reject() {
    Guarded(&TSettingsForm::bCancelClick);
}
