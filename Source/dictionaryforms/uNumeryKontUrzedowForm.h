#pragma once
// The tax office's eight bank accounts of a subject, one field per kind of payment,
// to look at and correct. The caller stores the values only when the window is accepted.

#include "TForm.h"

class QFrame;
class QPushButton;
class TPanel;

class TNumeryKontUrzedowForm : public TForm {
    Q_OBJECT
public:
    enum TCloseStatus { csAccept, csCancel };

    explicit TNumeryKontUrzedowForm(QWidget* Owner);
    TCloseStatus CloseStatus() const { return FCloseStatus; }

    TPanel* pnlRachunekCIT;
    TPanel* pnlRachunekVAT;
    TPanel* pnlRachunekVATUE1;
    TPanel* pnlRachunekVIUDVINDMOSS;
    TPanel* pnlRachunekPIT;
    TPanel* pnlRachunekPITSTD;
    TPanel* pnlRachunekIND;
    TPanel* pnlRachunekDoch;
    QFrame* pnlButtons;
    QPushButton* btnPost;
    QPushButton* btnClose;

private:
    TCloseStatus FCloseStatus = csCancel;
};

// Shows the eight accounts; the variables receive what the fields hold when the window
// closes, also after "Anuluj". Returns csAccept only for "Ok".
TNumeryKontUrzedowForm::TCloseStatus ShowTaxOfficeAccounts(QWidget* Owner, QString& PIT, QString& PITSTD,
                                                           QString& CIT, QString& VAT, QString& VATUE1,
                                                           QString& VIUDVINDMOSS, QString& Doch,
                                                           QString& IND);
