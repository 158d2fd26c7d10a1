#pragma once
// The record comparison window: two records of a list side by side, showing
// only the fields whose values differ, the record with more fields on the
// left. Selecting or scrolling one side does the same on the other. The window
// writes nothing: taking a value across ("<-----") is not offered yet.

#include "TForm.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarQuorDBIntf.h"

class QPushButton;

namespace uRecordMergeForm {

// A one-column grid whose rows are as tall as their texts have lines.
class TDrawGrid : public ::TDrawGrid {
    Q_OBJECT
public:
    explicit TDrawGrid(QWidget* Parent = nullptr);
    // Appends a row holding Text.
    void AddRow(const QString& Text);
    // Lines of a cell text as the grid draws them.
    static int LineCount(const QString& Text);
};

} // namespace uRecordMergeForm

class TRecordMergeForm : public TForm {
    Q_OBJECT
public:
    explicit TRecordMergeForm(QWidget* OwnerForm);

    // Fills both sides from two records.
    void Fill(IEwidarRecord* First, IEwidarRecord* Second);

    uRecordMergeForm::TDrawGrid* DrawGrid1;
    QPushButton* Button1;
    uRecordMergeForm::TDrawGrid* DrawGrid2;

private:
    void BindSynchronising(uRecordMergeForm::TDrawGrid* Grid, uRecordMergeForm::TDrawGrid* Other);
    void SelectCell(uRecordMergeForm::TDrawGrid* Other, int Row);
    void Scroll(uRecordMergeForm::TDrawGrid* Other, const TScrollMessage& Msg);

    bool FSelecting = false;
};

// Shows the two records compared, modally; nothing unless both are given and
// their identifiers differ.
void MergeRecords(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second);
