#pragma once
// The list of one collection of records: a button bar, a filter box, the
// collection grid and a progress bar for bulk deletion. The main window, the
// subject editor, the selection windows and the relations window all embed it.
// It decides from the collection's interface which column titles to show, how
// to filter and how to create a new record, and opens records through the
// record window (ListOpeners).

#include "TFrame.h"
#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"
#include "uListOpeners.h"

#include <QSet>

#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QMenu;
class QProgressBar;
class QTimer;
class QToolButton;
class TDrawGrid;
class TEdit;
class TPanel;
class TCollectionBaseFrame;

// Raised after add and edit with the current record, after deletion with none.
using TChangeRecord = std::function<void(TCollectionBaseFrame* Sender, IEwidarRecord* Record)>;
// Gives the current root data object each time the frame needs one.
using TDataBaseSource = std::function<TIntfPtr<IEwidarDataBase>()>;

class TCollectionBaseFrame : public TFrame {
    Q_OBJECT
public:
    explicit TCollectionBaseFrame(QWidget* Parent = nullptr);
    ~TCollectionBaseFrame() override;

    TIntfPtr<IEwidarCollection> EwidarCollection() const { return FEwidarCollection; }
    // Lists a collection. Another collection than the listed one forgets the ticked
    // records; nullptr detaches the list (empty, nothing to edit or delete).
    void SetEwidarCollection(IEwidarCollection* Value);
    TIntfPtr<IEwidarRecord> CurrentEwidarRecord() const { return FCurrentEwidarRecord; }
    void SetCurrentEwidarRecord(IEwidarRecord* Value) {
        FCurrentEwidarRecord = TIntfPtr<IEwidarRecord>(Value);
    }
    TKontekst Kontekst() const { return FKontekst; }
    void SetKontekst(TKontekst Value) { FKontekst = Value; }
    // The root data object: the source's current one when a source is set.
    TIntfPtr<IEwidarDataBase> EwidarDataBase() const;
    // A fixed root object (embedded lists); replaces any source.
    void SetEwidarDataBase(IEwidarDataBase* Value);
    // Where the root object is read whenever it is needed (the main window's list, whose
    // root a reconnect may replace); replaces any fixed root object.
    void SetEwidarDataBaseSource(TDataBaseSource Source);
    const TChangeRecord& OnChangeSelected() const { return FOnChangeSelected; }
    void SetOnChangeSelected(TChangeRecord Value) { FOnChangeSelected = std::move(Value); }
    // A list of what is linked to a taxpayer: deleting removes links (messages 325, 326).
    bool Podatnik() const { return FPodatnik; }
    void SetPodatnik(bool Value) { FPodatnik = Value; }
    // What the logged-in operator may do: add and delete (Create), edit (Modify). The
    // buttons of what is not allowed stay disabled, whatever the list holds.
    void SetAllowedActions(bool Create, bool Modify);
    // "Wybierz z Listy" runs this when set, else the Edit handler.
    void SetOnListClick(std::function<void()> Handler) { FOnListClick = std::move(Handler); }

    // Restarts the filter timer: the list reloads 250 ms later. During a bulk deletion
    // the reload waits until the run has ended.
    void RefreshData();
    // Reloads the list now when a filter change is still waiting for its timer, so that
    // the current row is one of the filtered list.
    void ApplyPendingFilter();
    // True while a bulk deletion runs.
    bool BulkDeleting() const { return FBulkDeleting; }

    // Handlers, also for owners that rebind a button or a timer.
    void btnViewClick();
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void Powizania1Click();
    void Scaldane1Click();
    void Znajdzduplikaty1Click();
    void tmrFilterTimer();
    // Enables the popup's entries for the buttons that are shown.
    void PopupMenu1Popup();

    // Components, named as their objectName.
    TPanel* Panel1;
    QFrame* Panel5;
    QFrame* Panel3;
    QToolButton* btnView;
    QToolButton* btnAdd;
    QToolButton* btnEdit;
    QToolButton* btnList;
    QToolButton* btnDelete;
    QFrame* pnlAktywni;
    QComboBox* ComboBox1;
    QFrame* pnlFilter;
    TEdit* edtfilter;
    TDrawGrid* DrawGrid1;
    QProgressBar* pbDeleteProgress;
    QMenu* PopupMenu1;
    QAction* Poka1;
    QAction* Dodaj1;
    QAction* Edytuj1;
    QAction* Usu1;
    QAction* N1;
    QAction* Powizania1;
    QAction* N2;
    QAction* Scaldane1;
    QAction* Znajdzduplikaty1;
    QTimer* tmrFilter;

    // Caret position and selection length of the filter box kept across a navigation key; -1 = none.
    int FSelPos = -1;
    int FSelLength = -1;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreateButtonBar();
    void CreateFilter();
    void CreateGrid();
    void CreatePopup();
    void BindHandlers();
    void UpdateEditButtons();
    bool FilterKeyDown(QKeyEvent* Event);
    void FilterKeyUp();
    void DrawGrid1RowDblClick(int Row, bool Fixed);
    void ShowPopup(const QPoint& Pos);

    // Actions (uCollectionBaseFrameActions.cpp).
    TIntfPtr<IEwidarRecord> NewRecord(TKontekst& Kontekst, bool& OpenWindow);
    TIntfPtr<IEwidarRecord> NewPersonRecord(TPodmiotType Type);
    void OpenRecord(IEwidarRecord* Record, TKontekst Kontekst);
    void ChangeSelected(IEwidarRecord* Record);
    TIntfPtr<IEwidarRecord> CurrentRowRecord() const;
    std::vector<TIntfPtr<IEwidarRecord>> TickedRecords() const;
    void DeleteCurrent();
    void DeleteTicked(const std::vector<TIntfPtr<IEwidarRecord>>& Records);
    bool DeleteRecords(const std::vector<TIntfPtr<IEwidarRecord>>& Records, QSet<int32_t>& Deleted);
    void UntickDeleted(const QSet<int32_t>& Deleted);
    void ReportDeleteError(IEwidarRecord* Record);
    void ReloadAfterDelete();

    TIntfPtr<IEwidarCollection> FEwidarCollection;
    TIntfPtr<IEwidarRecord> FCurrentEwidarRecord;
    TKontekst FKontekst = kBrak;
    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    TDataBaseSource FEwidarDataBaseSource;
    TChangeRecord FOnChangeSelected;
    bool FPodatnik = false;
    std::function<void()> FOnListClick;
    // A bulk deletion is running; a reload asked for meanwhile is pending until it ends.
    bool FBulkDeleting = false;
    bool FReloadPending = false;
    bool FMayCreate = true;
    bool FMayModify = true;
};
