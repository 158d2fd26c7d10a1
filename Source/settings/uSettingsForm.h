#pragma once
// The settings window "Ustawienia": a tree of the backends the router offers with
// the connection parameters used before under each (passwords hidden), where the
// operator adds, edits, deletes and chooses the configuration the program uses and
// copies another database into the chosen one. In its second mode ("Import") the
// same window only picks the database an import reads from.

#include "TForm.h"
#include "uImportSequence.h"
#include "uMainFormOpeners.h"

#include <QElapsedTimer>
#include <QString>

#include <utility>
#include <vector>

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace uSettingsForm {

enum TWorkMode { wmNormal, wmGetDBSettings };

// The data of every tree node. Param is empty for a backend node and for
// "Inny parametr..."; Current marks the chosen configuration and its backend.
struct TDBParam {
    QString DataBaseSymbol;
    QString Param;
    bool Current = false;
};

// A question in a message box over Owner: Yes and No buttons, or OK and Cancel;
// the dialog result of the answer.
int AskQuestion(QWidget* Owner, const QString& Title, const QString& Text, bool OkCancel = false);

} // namespace uSettingsForm

class TSettingsForm : public TForm, private IImportView {
    Q_OBJECT
public:
    using TCloseStatus = MainFormOpeners::TCloseStatus;
    using TDBParamRecord = MainFormOpeners::TDBParamRecord;

    TSettingsForm(QWidget* OwnerForm, uSettingsForm::TWorkMode WorkMode);
    ~TSettingsForm() override;

    uSettingsForm::TWorkMode WorkMode() const { return FWorkMode; }
    // How the normal mode ended.
    TCloseStatus CloseStatus() const { return FCloseStatus; }
    // What the import-source mode chose.
    const TDBParamRecord& DBParamRecord() const { return FDBParamRecord; }
    // The configuration chosen in the window.
    const QString& DataBaseSymbol() const { return FDataBaseSymbol; }
    const QString& DataBaseParam() const { return FDataBaseParam; }
    bool ImportRunning() const { return FTrwaImport; }

    static uSettingsForm::TDBParam NodeData(const QTreeWidgetItem* Node);
    // A configuration node: one with a stored parameter below a backend node.
    static bool IsConfigNode(const QTreeWidgetItem* Node);

    // Handlers (registry failures are shown by the callers' guard).
    void btnImportClick();
    void btnSetClick();
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void bSaveClick();
    void bCancelClick();
    void TreeView1Change();
    void TreeView1DblClick(QTreeWidgetItem* Node);
    // Selects the node and fills the popup menu for it (normal mode); false when
    // the menu has nothing to offer.
    bool FillPopupMenu(QTreeWidgetItem* Node);
    // The window's progress handler during an import.
    void MoveDataProgress(int32_t Percent, bool& Cancel);

    QLabel* lblCurrentDataBaseTypePrefix;
    QPushButton* btnImport;
    QPushButton* btnSet;
    QPushButton* btnAdd;
    QPushButton* btnEdit;
    QPushButton* btnDelete;
    QTreeWidget* TreeView1;
    QProgressBar* pbMoveData;
    // The register service's address and user key (uRegonServiceDialog).
    QPushButton* btnRegon;
    QPushButton* bSave;
    QPushButton* bCancel;
    QMenu* pmDBSettingsPopUp;

public slots:
    // Escape and the close box: "Anuluj" (during an import: the question to stop it).
    void reject() override;

private:
    void CreateComponents();
    void LoadSettings();
    void AddBackendNode(const QString& Symbol, const QString& Caption);
    QTreeWidgetItem* AddConfigNode(QTreeWidgetItem* Backend, const QString& Param);
    void MarkChosenConfiguration();
    void SetCurrent(QTreeWidgetItem* Node, bool Current);
    bool AnyCurrent() const;
    void StoreHistory(QTreeWidgetItem* Backend);
    QString BackendCaption(const QString& Symbol) const;
    void ContextMenu(const QPoint& At);
    void SetNodeData(QTreeWidgetItem* Node, const uSettingsForm::TDBParam& Data);
    void AcceptImportSource();
    TImportEnd ImportTarget();
    void CloseCancelled();
    // Runs a handler, showing a settings failure instead of raising it.
    void Guarded(void (TSettingsForm::*Handler)());
    void ShowRegistryFailure(const QString& Text);

    // IImportView
    QWidget* ImportOwner() override { return this; }
    void ShowConnecting() override;
    void ShowNotConnected() override;
    bool EditAfterFailure(IEwidarDataBase* Root, std::u16string& Param) override;
    void ConnectingEnded() override;
    void ImportStarted() override;
    void ImportEnded() override;
    void ImportProgress(int32_t Percent, bool& Cancel) override { MoveDataProgress(Percent, Cancel); }
    void HideProgress() override;

    uSettingsForm::TWorkMode FWorkMode;
    TCloseStatus FCloseStatus = MainFormOpeners::csCancel;
    QString FDataBaseSymbol;
    QString FDataBaseParam;
    TDBParamRecord FDBParamRecord;
    bool FOpendDBSettings = false;
    bool FTrwaImport = false;
    bool FImportBreak = false;
    // An import sequence is under way (connecting or importing): the window stays.
    bool m_busy = false;
    // The operator declined to stop the import but asked to close: done when it ends.
    bool m_closeAfterImport = false;
    // When the progress handler last let events run.
    QElapsedTimer m_lastEvents;
    // The router's list: symbol and caption of every offered backend, in order.
    std::vector<std::pair<QString, QString>> m_backends;
};

// The window in its normal mode, modal over Owner; how it was closed.
MainFormOpeners::TCloseStatus ShowSettingsForm(QWidget* Owner);
// The window choosing an import source, modal over Owner.
MainFormOpeners::TDBParamRecord ChooseImportDataBase(QWidget* Owner);
// Installs both into the main window's openers.
void InstallSettingsForms();
