#pragma once
// The list of subjects that look stored twice: each pair with what the two share.
// A pair is merged through the comparison window ("Scal dane", or a double click),
// or marked "To nie duplikat", which the database keeps so it is not offered again.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"

class QLabel;
class QPushButton;
class QTableWidget;

class TDuplicatesForm : public TForm {
    Q_OBJECT
public:
    TDuplicatesForm(QWidget* OwnerForm, IEwidarDataBase* DataBase);

    // Searches again; false (the code in the database) when the search failed.
    bool Reload();
    int PairCount() const;

    QLabel* lblCount;
    QTableWidget* Grid;
    QPushButton* btnMerge;
    QPushButton* btnNotDuplicate;
    QPushButton* btnClose;

private:
    void btnMergeClick();
    void btnNotDuplicateClick();
    int SelectedPair() const;

    IEwidarDataBase* FDataBase;
    TIntfPtr<IDuplicatePairs> FPairs;
};

// Searches for duplicates and lists them modally; says so when there are none.
void ShowDuplicates(QWidget* OwnerForm, IEwidarDataBase* DataBase);
