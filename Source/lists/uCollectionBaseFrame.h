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

#include <functional>

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

class TCollectionBaseFrame : public TFrame {
    Q_OBJECT
public:
    explicit TCollectionBaseFrame(QWidget* Parent = nullptr);
    ~TCollectionBaseFrame() override;

    TIntfPtr<IEwidarCollection> EwidarCollection() const { return FEwidarCollection; }
    // Lists a collection (nullptr detaches the list).
    void SetEwidarCollection(IEwidarCollection* Value);
    TIntfPtr<IEwidarRecord> CurrentEwidarRecord() const { return FCurrentEwidarRecord; }
    void SetCurrentEwidarRecord(IEwidarRecord* Value) {
        FCurrentEwidarRecord = TIntfPtr<IEwidarRecord>(Value);
    }
    TKontekst Kontekst() const { return FKontekst; }
    void SetKontekst(TKontekst Value) { FKontekst = Value; }
    TIntfPtr<IEwidarDataBase> EwidarDataBase() const { return FEwidarDataBase; }
    void SetEwidarDataBase(IEwidarDataBase* Value) { FEwidarDataBase = TIntfPtr<IEwidarDataBase>(Value); }
    const TChangeRecord& OnChangeSelected() const { return FOnChangeSelected; }
    void SetOnChangeSelected(TChangeRecord Value) { FOnChangeSelected = std::move(Value); }
    // A list of what is linked to a taxpayer: deleting removes links (messages 325, 326).
    bool Podatnik() const { return FPodatnik; }
    void SetPodatnik(bool Value) { FPodatnik = Value; }
    // "Wybierz z Listy" runs this when set, else the Edit handler.
    void SetOnListClick(std::function<void()> Handler) { FOnListClick = std::move(Handler); }

    // Restarts the filter timer: the list reloads 250 ms later.
    void RefreshData();

    // Handlers, also for owners that rebind a button or a timer.
    void btnViewClick();
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void Powizania1Click();
    void Scaldane1Click();
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
    void DeleteCurrent();
    void DeleteTicked(int Count);
    bool DeleteTickedRows(bool& Deleted);
    void ReportDeleteError(IEwidarRecord* Record);
    void ReloadAfterDelete();

    TIntfPtr<IEwidarCollection> FEwidarCollection;
    TIntfPtr<IEwidarRecord> FCurrentEwidarRecord;
    TKontekst FKontekst = kBrak;
    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    TChangeRecord FOnChangeSelected;
    bool FPodatnik = false;
    std::function<void()> FOnListClick;
};
