#pragma once
// "Eksportuj…": writes what a list shows (every row or the ticked ones; the list's
// columns or, for subjects, every importable subject field) to a CSV or XLSX file,
// with a progress bar and "Przerwij".

#include "TForm.h"
#include "uListExport.h"
#include "uSpreadsheetExport.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

class TExportForm : public TForm {
    Q_OBJECT
public:
    TExportForm(QWidget* OwnerForm, TListContents Contents);

    // The table the chosen rows and columns give.
    SpreadsheetExport::TTable Table() const;
    // Runs the export to the path shown; true when the file was written.
    bool RunExport();
    bool Running() const { return m_running; }

    QRadioButton* rbAll;
    QRadioButton* rbTicked;
    QRadioButton* rbListColumns;
    QRadioButton* rbSubjectFields;
    QComboBox* cbFormat;
    QLineEdit* edtPath;
    QPushButton* btnBrowse;
    QProgressBar* pbProgress;
    QLabel* lblStatus;
    QPushButton* btnExport;
    QPushButton* btnCancel;
    QPushButton* btnClose;

    void reject() override;

private:
    void Build();
    void FormatChanged();
    void Browse();

    TListContents m_contents;
    std::vector<int> m_ticked; // indexes of the ticked rows
    bool m_subjects = false;   // every row is a subject
    bool m_running = false;
    bool m_cancel = false;
};

// Shows the export window modally over OwnerForm (installed as the list frame's export opener).
void ShowExportForm(QWidget* OwnerForm, const TListContents& Contents);
