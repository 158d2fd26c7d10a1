#pragma once
// "Importuj podmioty z pliku…": a CSV file (encoding and separator detected or chosen),
// its columns mapped to subject fields (remembered by header), a preview that marks
// every row ready, invalid or duplicate, and the import of the ready rows in one
// transaction, with a report of the other rows beside the source file.

#include "TForm.h"
#include "uImportRows.h"
#include "uSubjectImporter.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

class TImportSubjectsForm : public TForm {
    Q_OBJECT
public:
    TImportSubjectsForm(QWidget* OwnerForm, IEwidarDataBase* DataBase, SubjectImporter::TTarget Target);

    // Reads the file named in edtFile with the chosen encoding and separator and fills
    // the mapping list; false (reason in lblStatus) when it cannot be read.
    bool LoadFile();
    // Checks every row with the current mapping and shows the result; remembers the mapping.
    void MakePreview();
    // Imports the ready rows; true when they were stored.
    bool RunImport();
    ColumnMapping::TMapping Mapping() const;
    const ImportRows::TPreview& Preview() const { return m_preview; }
    int ImportedCount() const { return m_imported; }

    QLineEdit* edtFile;
    QPushButton* btnBrowse;
    QComboBox* cbEncoding;  // 0 detect, 1 UTF-8, 2 Windows-1250
    QComboBox* cbSeparator; // 0 detect, 1 ";", 2 ","
    QComboBox* cbTarget;
    QTableWidget* tblMapping;
    QPushButton* btnPreview;
    QTableWidget* tblPreview;
    QLabel* lblSummary;
    QProgressBar* pbProgress;
    QLabel* lblStatus;
    QPushButton* btnImport;
    QPushButton* btnCancel;
    QPushButton* btnClose;

    void reject() override;

private:
    void Build();
    QLayout* BuildFileRow();
    QLayout* BuildButtons();
    void Browse();
    void FillMapping(const ColumnMapping::TMapping& Mapping);
    void FillPreview();
    void SetRunning(bool Running);

    TIntfPtr<IEwidarDataBase> m_db;
    QList<QStringList> m_rows; // header first
    QList<int> m_lines;
    ImportRows::TPreview m_preview;
    bool m_previewed = false;
    bool m_running = false;
    bool m_cancel = false;
    int m_imported = 0;
};

// Shows the import window modally; true when subjects were imported (the list reloads).
bool ShowImportSubjectsForm(QWidget* OwnerForm, IEwidarDataBase* DataBase, SubjectImporter::TTarget Target);
