#pragma once
// The viewer window: the page in Qt's rich-text browser (links are not followed),
// with "Drukuj" (print dialog) and "Zapisz jako PDF" (file dialog proposing a name from
// the page's title, then a PDF titled as the page). Both print the page as a document:
// its title as a heading with the day printed, and page numbers (uHTMLPrint).

#include <QDialog>

class QPrinter;
class QTextBrowser;
class QPushButton;

class THTMLViewerForm : public QDialog {
public:
    THTMLViewerForm(const QString& Html, QWidget* Parent);

    // Writes the page as a PDF file; false when the file could not be written.
    bool SaveAsPdf(const QString& FileName);

    // The page's title (its <TITLE>); empty when it has none.
    QString Title() const;

private:
    // Names the document after the page and sets the paper's margins.
    void SetUpPrinter(QPrinter& Printer) const;
    // The page as a document (heading, date printed, page numbers) on the printer.
    int PrintOn(QPrinter& Printer) const;
    void btnPrintClick();
    void btnPdfClick();
    // Asks whether an existing file may be replaced; true for "Tak".
    bool ConfirmOverwrite(const QString& FileName);

    QString FHtml;
    QTextBrowser* HTMLView;
    QPushButton* btnPrint;
    QPushButton* btnPdf;
    QPushButton* btnClose;
};
