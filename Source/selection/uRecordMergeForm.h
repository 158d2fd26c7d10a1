#pragma once
// The record comparison window: two records of a list side by side, showing
// only the fields whose values differ, the record with more fields on the
// left. Selecting or scrolling one side does the same on the other. With a
// database, "<-----" takes the selected right-hand value into the left record
// (again: gives it back) and "Scal" merges the right record into the left one
// with the values chosen, after a question naming both.

#include "TForm.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarQuorDBIntf.h"

#include <vector>

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
    // Without a database the window only compares.
    explicit TRecordMergeForm(QWidget* OwnerForm, IEwidarDataBase* DataBase = nullptr);

    // Fills both sides from two records.
    void Fill(IEwidarRecord* First, IEwidarRecord* Second);
    // The values taken from the right record, by symbol, for the kept (left) one.
    std::vector<TMergeValue> ChosenValues() const;
    // The records as the window placed them: the kept one on the left.
    IEwidarRecord* LeftRecord() const { return FLeft.get(); }
    IEwidarRecord* RightRecord() const { return FRight.get(); }

    uRecordMergeForm::TDrawGrid* DrawGrid1;
    QPushButton* Button1;
    uRecordMergeForm::TDrawGrid* DrawGrid2;
    QPushButton* btnScal;
    QPushButton* btnCancel;

private:
    // One listed field: what each side holds and whether the right value was taken.
    struct TRow {
        std::u16string symbol;
        QString caption;
        QString leftText;
        QString rightValue;
        QString rightText;
        bool taken = false;
    };

    void BindSynchronising(uRecordMergeForm::TDrawGrid* Grid, uRecordMergeForm::TDrawGrid* Other);
    void SelectCell(uRecordMergeForm::TDrawGrid* Other, int Row);
    void Scroll(uRecordMergeForm::TDrawGrid* Other, const TScrollMessage& Msg);
    void Button1Click();
    void btnScalClick();
    void ShowLeftCell(int Row);

    bool FSelecting = false;
    IEwidarDataBase* FDataBase;
    TIntfPtr<IEwidarRecord> FLeft;
    TIntfPtr<IEwidarRecord> FRight;
    std::vector<TRow> FRows;
};

// A record as one line of text for the operator: its description lines.
QString DescribedRecord(IEwidarRecord* Record);

// Shows the two records compared, modally; nothing unless both are given and
// their identifiers differ. With a database the two may be merged there; true
// when they were.
bool MergeRecords(QWidget* OwnerForm, IEwidarRecord* First, IEwidarRecord* Second,
                  IEwidarDataBase* DataBase = nullptr);
