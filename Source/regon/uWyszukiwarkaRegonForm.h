#pragma once
// "Wyszukiwarka REGON": looks a business up in the public REGON register by REGON, NIP or KRS
// (after the operator has typed the code of a picture) and copies what the register holds
// into the subject editor that opened it.
//
// While a request to the register runs, the window's controls are disabled, the status line
// says what is happening and the window refuses to close; a search can be ended with
// "Przerwij" in the status line.

#include "TForm.h"
#include "uRegonClient.h"
#include "uWyszukiwarkaRegonCopy.h"

#include <QList>

class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;
class QPushButton;
class TBaseFrame;
class TDrawGrid;
class TPanel;
class TRegonResultRow;
class TRegonResultTable;

class TWyszukiwarkaRegonForm : public TForm {
    Q_OBJECT
public:
    TWyszukiwarkaRegonForm(QWidget* Owner, TBaseFrame* BaseFrame);
    ~TWyszukiwarkaRegonForm() override;

    // Creates the window for the editor (or none), shows it modally and frees it.
    static void Open(QWidget* Owner, TBaseFrame* BaseFrame);

    // The value of the row with that identifier, line breaks as blanks; empty when none.
    QString Value(const QString& ID) const;
    TRegonClient& Client() { return FClient; }
    bool Busy() const { return FBusy; }

    // Status kinds of the status line.
    enum TStatusKind { skBlack, skRed, skGreen };
    void ShowStatus(const QString& Text, TStatusKind Kind);
    void HideStatus();

    void btnRefreshCaptchaClick();
    void btnCheckCaptchaClick();
    void btnSearchClick();
    void btnPostClick();
    // Refused while a request runs.
    void reject() override;

    // Which copy case the visible tables select.
    RegonCopy::TRegonCase VisibleCase() const;
    TRegonResultTable* Table(const char* Name) const;

    QLabel* lblTextStatus = nullptr;
    QWidget* Panel5 = nullptr;
    QWidget* pnlCaptchInterface = nullptr;
    QLabel* imgCaptcha = nullptr;
    QToolButton* btnRefreshCaptcha = nullptr;
    QLineEdit* edtCaptcha = nullptr;
    QPushButton* btnCheckCaptcha = nullptr;
    QWidget* pnlSearchInterface = nullptr;
    TPanel* pnlREGON = nullptr;
    TPanel* pnlNIP = nullptr;
    TPanel* pnlKRS = nullptr;
    QPushButton* btnSearch = nullptr;
    QScrollArea* pnlResultDataContainer = nullptr;
    QWidget* pnlDzialalnosciTableContainer = nullptr;
    TDrawGrid* DrawGrid1 = nullptr;
    QWidget* pnlJLokalneTableContainer = nullptr;
    TDrawGrid* DrawGrid2 = nullptr;
    QPushButton* btnClose = nullptr;
    // Shown in the status line while a search runs; ends it at once.
    QPushButton* btnAbort = nullptr;
    QPushButton* btnPost = nullptr;

protected:
    void showEvent(QShowEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    class TBusyScope;
    void BuildLayout();
    void SetControlsEnabled(bool Enabled);
    void FirstActivation();
    void ShowPicture(const QImage& Picture);
    void ClearResults();
    void ReadAnswer(const TRegonAnswer& Answer);
    void AddGridRow(TDrawGrid* Grid, QWidget* Container, const QStringList& Titles, const QStringList& Cells);
    void ShowResults();
    QList<QStringList> GridRows(TDrawGrid* Grid, QWidget* Container) const;
    // Local units of the grid that have ended (a date in their last column).
    int EndedUnits() const;

    TBaseFrame* FBaseFrame;
    bool FFirstRun = true;
    bool FBusy = false;
    TRegonClient FClient;
    QList<TRegonResultTable*> FTables;
    QList<TRegonResultRow*> FRows;
    QWidget* m_content = nullptr;
    QWidget* m_results = nullptr;
    QWidget* m_saveBar = nullptr;
};

namespace RegonForms {
// The opener that the subject editor's register button calls.
void ShowWyszukiwarkaRegon(QWidget* Owner, TBaseFrame* Frame);
} // namespace RegonForms
