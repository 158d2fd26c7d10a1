#pragma once
// The taxpayer chooser: asks for the subject that will be the taxpayer of a new
// employee or contractor. Four read-only lists; only the list of the active tab
// holds data (the others are emptied on every tab change). Enter, or a double
// click on a data row, chooses the current row; "Wybierz" chooses only a row
// that holds a record; Escape and "Zamknij" cancel.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"
#include "uListOpeners.h"
#include "uSelectionParts.h"

#include <array>

class QLabel;
class QPushButton;
class QTabWidget;
class TCollectionBaseFrame;
class TPanel;

namespace uSetPodatnikKontekst {
enum TCloseStatus { csAccept, csCancel };
}

class TSetPodatnikKontekstForm : public TForm {
    Q_OBJECT
public:
    TSetPodatnikKontekstForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase, TPodmiotType PodmiotType);

    uSetPodatnikKontekst::TCloseStatus CloseStatus() const { return FCloseStatus; }
    // The chosen record (empty when the chosen row had none).
    TIntfPtr<IEwidarRecord> EwidarRecord() const { return FEwidarRecord; }
    TCollectionBaseFrame* ActiveFrame() const;

    // The active list's current record becomes the choice; closes.
    void Choose();
    void btnAcceptClick();
    void btnCloseClick();

    TPanel* Panel1;
    QLabel* Label1;
    QTabWidget* PageControl1;
    TCollectionBaseFrame* WszyscyCollection;
    TCollectionBaseFrame* PodatnicyCollection;
    TCollectionBaseFrame* PracownicyCollection;
    TCollectionBaseFrame* KontrahenciCollection;
    TPanel* Panel2;
    QPushButton* btnClose;
    QPushButton* btnAccept;

private:
    void LoadTab(int Index);

    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
    TIntfPtr<IEwidarRecord> FEwidarRecord;
    uSetPodatnikKontekst::TCloseStatus FCloseStatus = uSetPodatnikKontekst::csCancel;
    SelectionParts::TSubjectFrames FFrames{};
};

// Shows the taxpayer chooser modally; the chosen subject, or empty when the
// operator cancelled, chose a row without a record or a record that is not a subject.
TIntfPtr<IPodmiot> ChooseTaxpayer(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase,
                                  TPodmiotType PodmiotType);
