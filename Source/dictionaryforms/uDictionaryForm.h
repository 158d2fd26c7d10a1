#pragma once
// The dictionary window: the operator picks one row of a loaded dictionary (a country,
// county, commune, locality or tax office). It opens on the whole dictionary with the
// row equal to the field's value selected, then narrows the list 350 ms after each
// change of a filter box to the rows that contain what was typed.

#include "TForm.h"
#include "uDictionaryButtons.h"
#include "uDictionaryFilter.h"
#include "uDictionaryRecord.h"

#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class TDrawGrid;
class TEdit;

class TDictionaryForm : public TForm {
    Q_OBJECT
public:
    enum TCloseType { ctAccept, ctCancel };

    TDictionaryForm(QWidget* Owner, TDictionaryType DictionaryType);

    // Fills the province combo and puts the input into the filter boxes.
    void SetInput(const TDictionaryRecord& Input);
    // The first filling of the list, then the filter boxes start the timer. Runs once
    // per window (on its first showing); later activations do not refill.
    void FormActivate();
    // Fills the list from the table by the filter boxes and the current mode.
    void FillList();
    // The record of the current row; cleared when the current row holds no dictionary
    // row (the empty row of an empty list). Returns whether a row was read.
    bool GetCurrentRecord(TDictionaryRecord& Record) const;

    TCloseType CloseType() const { return FCloseType; }
    TShowDataMode ShowDataMode() const { return FShowDataMode; }
    TDictionaryType DictionaryType() const { return FDictionaryType; }
    // Data rows shown (the empty row of an empty list not counted).
    int DataRowCount() const { return int(FTempArray.size()) - 1; }
    // How often the list was filled; for tests of the filter timer.
    int FillCount() const { return m_fillCount; }

    QWidget* pnlKraj;
    QLabel* Label5;
    TEdit* edtFiltr;
    QWidget* pnlInterface;
    QComboBox* cbbWojewodztwo;
    TEdit* edtPowiat;
    TEdit* edtGmina;
    TEdit* edtMiejscowosc;
    QFrame* Panel1;
    TDrawGrid* DrawGrid1;
    QFrame* pnlButtons;
    QPushButton* btnPost;
    QPushButton* btnClose;
    QLabel* Label6;
    QTimer* tmrFilter;

protected:
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void BuildFilterPanels();
    void ShowFilterControls();
    void RestartFilterTimer();
    void tmrFilterTimer();
    void btnPostClick();
    void SetGridVisible(bool Visible);
    // The rows of the table by the filters (uDictionaryFormFill.cpp). FTempArray
    // receives the table index of every row; returns the first matching row (0: none).
    struct TFilledRows;
    TFilledRows BuildRows();

    TCloseType FCloseType = ctCancel;
    TShowDataMode FShowDataMode = sdmSelect;
    TDictionaryType FDictionaryType;
    // FSelPos, FSelLength: the caret of a filter box saved during a navigation key.
    DictionaryButtons::TSavedCaret m_caret;
    // Entry n: the table index of the dictionary row shown in grid row n; entry 0 (the
    // header) is -1. Kept for every type, so a chosen row is read from its table entry.
    std::vector<int> FTempArray;

    QList<QWidget*> m_gminaControls;
    QList<QWidget*> m_miejscowoscControls;
    QLabel* m_loadingLabel = nullptr;
    bool m_activated = false;
    int m_fillCount = 0;
};

// Opens the window of a type with the input; fills Result from the chosen row when the
// operator accepts one. An empty table opens no window: the operator is told how to
// install the dictionary and Result stays as the caller prepared it.
void ShowDictionaryForm(QWidget* Owner, const TDictionaryRecord& Input, TDictionaryType Type,
                        TDictionaryRecord& Result);
