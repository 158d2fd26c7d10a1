#pragma once
// The relations window: which data refer to a record, so that the operator can
// see why it cannot be deleted. A non-modal window that frees itself when
// closed; several may be open at once. Every window still open is closed
// before the program disconnects from the database (CloseRelationsWindows), so
// none outlives the root object or the backend library its lists come from.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"

class QLabel;
class QPushButton;
class QTabWidget;
class TCollectionBaseFrame;
class TPanel;

class TPowiazaniaForm : public TForm {
    Q_OBJECT
public:
    // OwnerForm places the window and, being its Qt parent, keeps it usable
    // over a modal owner; the window may be freed with it.
    TPowiazaniaForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase, IEwidarRecord* EwidarRecord);
    ~TPowiazaniaForm() override;

    // True when no list is shown.
    bool IsEmpty() const;
    TIntfPtr<IEwidarRecord> EwidarRecord() const { return FEwidarRecord; }

    // Every relations window still open, oldest first.
    static QList<TPowiazaniaForm*> OpenWindows();

    QTabWidget* PageControl1;
    QWidget* TsPodmioty;
    QWidget* TsSpolki;
    QWidget* TsRachunkiBankowe;
    QWidget* TsSpolkiPodmiotow;
    QWidget* TsReprezentanci;
    TCollectionBaseFrame* PodmiotyCollection;
    TCollectionBaseFrame* SpolkiCollection;
    TCollectionBaseFrame* RachunkiBankoweCollection;
    TCollectionBaseFrame* SpolkiPodmiotowCollection;
    TCollectionBaseFrame* ReprezentanciCollection;
    TPanel* Panel1;
    QLabel* Label1;
    TPanel* pnlButtons;
    QPushButton* btnClose;

private:
    void ShowList(QWidget* Tab, TCollectionBaseFrame* Frame, IEwidarCollection* Collection);

    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    TIntfPtr<IEwidarRecord> FEwidarRecord;
};

// Records of the kinds that other data refer to (accounting offices, courts,
// NFZ, statistical offices, ZUS, banks, companies, subjects, extra records).
bool HasGlobalRelations(IEwidarRecord* Record);

// Nothing without a record; message 306 for a kind without relations; message
// 305 when nothing refers to the record; else the window, shown non-modally.
void ShowRelations(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase, IEwidarRecord* Record);

// Frees every relations window at once (before a disconnect and at the end).
void CloseRelationsWindows();
