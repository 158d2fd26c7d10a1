#pragma once
// The subject chooser: any subject from four lists (all subjects, taxpayers,
// employees, contractors). The list of all subjects is read-only; the employee
// and contractor lists cannot add. A list is read from the database when its
// tab is first shown, so opening the window reads one list, not four.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"
#include "uListOpeners.h"
#include "uSelectionParts.h"

#include <array>

class QPushButton;
class QTabWidget;
class TCollectionBaseFrame;
class TPanel;

namespace uPodmiotyForm {
enum TCloseType { ctCancel, ctAccept };
}

class TPodmiotyForm : public TForm, public ISelectionWindow {
    Q_OBJECT
public:
    TPodmiotyForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase);

    uPodmiotyForm::TCloseType CloseType() const { return FCloseType; }
    // The list frame of the active tab.
    TCollectionBaseFrame* ActiveFrame() const;
    // Whether a tab's list has been read (tabs are read on first showing).
    bool TabLoaded(int Index) const { return FLoaded.at(static_cast<size_t>(Index)); }

    // The frame's double click on a data row.
    void AcceptAndClose() override;
    // Chooses only when the active list's current row holds a record.
    void btnAcceptClick();
    void btnCloseClick();

    TPanel* pnlContainer;
    QTabWidget* PageControl1;
    TCollectionBaseFrame* PodmiotyCollection;
    TCollectionBaseFrame* PodatnicyCollection;
    TCollectionBaseFrame* PracownicyCollection;
    TCollectionBaseFrame* KontrahenciCollection;
    TPanel* pnl1;
    QPushButton* btnClose;
    QPushButton* btnAccept;

private:
    void LoadTab(int Index);

    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    uPodmiotyForm::TCloseType FCloseType = uPodmiotyForm::ctCancel;
    SelectionParts::TSubjectFrames FFrames{};
    std::array<bool, 4> FLoaded{};
};

// Shows the subject chooser modally; the record of the active list's current
// row when the operator chose, else empty.
TIntfPtr<IEwidarRecord> ChooseSubject(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase);
