#pragma once
// The viewer window: the page in Qt's rich-text browser (links are not followed),
// with "Drukuj" (print dialog) and "Zapisz jako PDF" (file dialog, then a PDF).

#include <QDialog>

class QTextBrowser;
class QPushButton;

class THTMLViewerForm : public QDialog {
public:
    THTMLViewerForm(const QString& Html, QWidget* Parent);

    // Writes the page as a PDF file; false when the file could not be written.
    bool SaveAsPdf(const QString& FileName);

private:
    void btnPrintClick();
    void btnPdfClick();
    // Asks whether an existing file may be replaced; true for "Tak".
    bool ConfirmOverwrite(const QString& FileName);

    QTextBrowser* HTMLView;
    QPushButton* btnPrint;
    QPushButton* btnPdf;
    QPushButton* btnClose;
};
