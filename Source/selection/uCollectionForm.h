#pragma once
// The list chooser: one collection in a list frame, "Wybierz" and "Anuluj".
// The frame keeps its own buttons, so entries can be added, edited and
// deleted while choosing. Enter anywhere in the window, "Wybierz" and a
// double click on a data row choose the current row; Escape and "Anuluj"
// cancel.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"
#include "uKontekst.h"
#include "uListOpeners.h"

class QPushButton;
class TCollectionBaseFrame;
class TPanel;

namespace uCollectionForm {
enum TCloseType { ctCancel, ctAccept };
}

class TCollectionForm : public TForm, public ISelectionWindow {
    Q_OBJECT
public:
    explicit TCollectionForm(QWidget* OwnerForm);

    uCollectionForm::TCloseType CloseType() const { return FCloseType; }
    // Chooses the current row and closes (also the frame's double click on a data row).
    void AcceptAndClose() override;
    void btnPostClick() { AcceptAndClose(); }
    void btnCloseClick();

    TCollectionBaseFrame* CollectionBaseFrame1;
    TPanel* pnlButtons;
    QPushButton* btnPost;
    QPushButton* btnClose;

private:
    uCollectionForm::TCloseType FCloseType = uCollectionForm::ctCancel;
};

// The chooser's caption for a collection, by the first interface it supports;
// "Lista wyboru" for any other.
QString CollectionFormCaption(IEwidarCollection* Collection);

// Shows the collection modally over OwnerForm with Selected's row current; the
// record of the row chosen, or empty when the operator cancelled or the row has
// no record.
TIntfPtr<IEwidarRecord> ChooseFromCollection(QWidget* OwnerForm, IEwidarDataBase* DataBase,
                                             IEwidarCollection* Collection, TKontekst Kontekst,
                                             IEwidarRecord* Selected = nullptr);
