#pragma once
// "Historia zmian": the changes of one record and of its sections, newest first, also
// of a deleted record. "Dziennik zmian": the whole history for administrators, filtered
// by operator, dates, registry, record and text, exported to CSV, with "Sprawdź spójność
// historii", which names the first entry changed, removed or added outside the program.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"
#include "uHistoryRows.h"

#include <QTableWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The rows of entries; long values shortened, the whole value in the tooltip (escaped).
class THistoryTable : public QTableWidget {
    Q_OBJECT
public:
    explicit THistoryTable(QWidget* Parent);
    void SetRows(std::vector<HistoryRows::TRow> Rows);
    const std::vector<HistoryRows::TRow>& Rows() const { return m_rows; }
    // Characters a cell shows before it is shortened.
    static constexpr int kShownChars = 60;

private:
    std::vector<HistoryRows::TRow> m_rows;
};

class TRecordHistoryForm : public TForm {
    Q_OBJECT
public:
    TRecordHistoryForm(QWidget* Owner, IEwidarDataBase* DataBase, int64_t RecordID, const QString& Title);
    THistoryTable* grid = nullptr;
    QLabel* lblInfo = nullptr;
};

class TJournalForm : public TForm {
    Q_OBJECT
public:
    TJournalForm(QWidget* Owner, IEwidarDataBase* DataBase);

    // Reads the entries in the filter into the grid; false (said in lblInfo) on failure.
    bool Search();
    // Writes the grid's rows to Path; false with a message shown when it cannot.
    bool ExportCsv(const QString& Path);
    // Checks the chain and shows the verdict; returns the first broken entry (0: none, -1: failure).
    int64_t VerifyChain();

    QComboBox* cbOperator = nullptr;
    QCheckBox* chkOkres = nullptr;
    QDateEdit* dtOd = nullptr;
    QDateEdit* dtDo = nullptr;
    QComboBox* cbRejestr = nullptr;
    QLineEdit* edtRekord = nullptr;
    QLineEdit* edtTekst = nullptr;
    QPushButton* btnSzukaj = nullptr;
    QPushButton* btnEksport = nullptr;
    QPushButton* btnSpojnosc = nullptr;
    THistoryTable* grid = nullptr;
    QLabel* lblInfo = nullptr;

private:
    THistoryFilter Filter() const;
    TIntfPtr<IEwidarHistory> m_history;
    IEwidarDataBase* m_db;
    HistoryRows::TFieldKinds m_fields;
};

// The record's history window (modal). A backend without history says so.
void ShowRecordHistory(QWidget* Owner, IEwidarDataBase* DataBase, int64_t RecordID, const QString& Title);
// The journal window (modal), for administrators only.
void ShowJournal(QWidget* Owner, IEwidarDataBase* DataBase);
