#pragma once
// The tax office's eight bank accounts of a subject, one field per kind of payment,
// to look at and correct. The caller stores the values only when the window is accepted.
// "Mikrorachunek podatkowy" puts the subject's own tax account into the PIT, CIT and VAT
// fields; nothing else fills a number.

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
    // The subject's identifiers the tax account is built from.
    void SetTaxpayer(const QString& Nip, const QString& Pesel);
    // Fills PIT, CIT and VAT with the subject's tax account (its NIP's, else its PESEL's);
    // without a valid identifier says so and changes nothing.
    void btnMikrorachunekClick();

    TPanel* pnlRachunekCIT;
    TPanel* pnlRachunekVAT;
    TPanel* pnlRachunekVATUE1;
    TPanel* pnlRachunekVIUDVINDMOSS;
    TPanel* pnlRachunekPIT;
    TPanel* pnlRachunekPITSTD;
    TPanel* pnlRachunekIND;
    TPanel* pnlRachunekDoch;
    QPushButton* btnMikrorachunek;
    QFrame* pnlButtons;
    QPushButton* btnPost;
    QPushButton* btnClose;

private:
    TCloseStatus FCloseStatus = csCancel;
    QString m_nip, m_pesel;
};

// Shows the eight accounts; the variables receive what the fields hold when the window
// closes, also after "Anuluj". Returns csAccept only for "Ok". Nip and Pesel are the
// subject's, for "Mikrorachunek podatkowy".
TNumeryKontUrzedowForm::TCloseStatus ShowTaxOfficeAccounts(QWidget* Owner, QString& PIT, QString& PITSTD,
                                                           QString& CIT, QString& VAT, QString& VATUE1,
                                                           QString& VIUDVINDMOSS, QString& Doch,
                                                           QString& IND, const QString& Nip = QString(),
                                                           const QString& Pesel = QString());
