#include "uHTMLViewerForm.h"

#include "uHTMLPrint.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

THTMLViewerForm::THTMLViewerForm(const QString& Html, QWidget* Parent) : QDialog(Parent), FHtml(Html) {
    setObjectName(QStringLiteral("THTMLViewerForm"));
    setModal(true);
    resize(1000, 700);

    HTMLView = new QTextBrowser(this);
    HTMLView->setObjectName(QStringLiteral("HTMLView"));
    // The page is shown, never navigated: a click on a link changes nothing.
    HTMLView->setOpenLinks(false);
    HTMLView->setOpenExternalLinks(false);
    HTMLView->setHtml(Html);
    const QString title = HTMLView->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Podgląd") : title);

    btnPrint = new QPushButton(QStringLiteral("Drukuj"), this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPdf = new QPushButton(QStringLiteral("Zapisz jako PDF"), this);
    btnPdf->setObjectName(QStringLiteral("btnPdf"));
    btnClose = new QPushButton(QStringLiteral("Zamknij"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnPdf);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HTMLView);
    layout->addLayout(buttons);

    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    connect(btnPdf, &QPushButton::clicked, this, [this] { btnPdfClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(HTMLView, btnPrint);
    setTabOrder(btnPrint, btnPdf);
    setTabOrder(btnPdf, btnClose);
}

QString THTMLViewerForm::Title() const {
    return HTMLView->documentTitle();
}

void THTMLViewerForm::SetUpPrinter(QPrinter& Printer) const {
    Printer.setDocName(Title().isEmpty() ? windowTitle() : Title()); // the PDF's title
    Printer.setCreator(QStringLiteral("Ewidar Quor"));
    Printer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
}

int THTMLViewerForm::PrintOn(QPrinter& Printer) const {
    QTextDocument document;
    document.setHtml(HTMLPrint::PrintableHtml(FHtml, Title(), QDate::currentDate()));
    return HTMLPrint::PrintDocument(document, Printer);
}

bool THTMLViewerForm::SaveAsPdf(const QString& FileName) {
    QFile::remove(FileName);
    {
        // At screen resolution the page's pixel sizes (fonts, margins) keep their size on
        // paper; at printer resolution a 12px font would print a few hundredths of an inch tall.
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(FileName);
        SetUpPrinter(printer);
        if (PrintOn(printer) == 0)
            return false;
    } // the file is complete once the printer is gone
    const QFileInfo written(FileName);
    return written.exists() && written.size() > 0;
}

void THTMLViewerForm::btnPrintClick() {
    QPrinter printer(QPrinter::ScreenResolution);
    SetUpPrinter(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && PrintOn(printer) == 0)
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Nie udało się rozpocząć drukowania."));
}

bool THTMLViewerForm::ConfirmOverwrite(const QString& FileName) {
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("Plik %1 już istnieje.\nCzy zastąpić go?").arg(QDir::toNativeSeparators(FileName)),
                    QMessageBox::NoButton, this);
    QPushButton* yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == yes;
}

void THTMLViewerForm::btnPdfClick() {
    QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Zapisz jako PDF"),
                                                QDir::home().filePath(HTMLPrint::PdfFileName(Title())),
                                                QStringLiteral("Dokument PDF (*.pdf)"));
    if (name.isEmpty())
        return;
    // The dialog asked about overwriting the name as typed; a name the ending is added to
    // is another file, asked about here.
    if (QFileInfo(name).suffix().isEmpty()) {
        name += QStringLiteral(".pdf");
        if (QFileInfo::exists(name) && !ConfirmOverwrite(name))
            return;
    }
    if (!SaveAsPdf(name))
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("Nie udało się zapisać pliku:\n%1").arg(QDir::toNativeSeparators(name)));
}
