#pragma once
// The page as a printed document: a heading naming it and the day it was printed, page
// numbers at the foot, and no nearly empty last page; the name proposed for its PDF.

#include <QDate>
#include <QSizeF>
#include <QString>

class QPrinter;
class QTextDocument;

namespace HTMLPrint {

// The page with its title as a heading and "Data wydruku: dd.mm.rrrr" under it, inserted
// at the start of the body; the page itself when it has no title.
QString PrintableHtml(const QString& Html, const QString& Title, const QDate& Printed);

// A file name for the title: characters no file system takes become "-", blanks are
// simplified, at most 100 characters, ".pdf" appended; "raport.pdf" for an empty title.
QString PdfFileName(const QString& Title);

// How the document is laid on pages of Body size: at full size, unless its last page
// would hold less than a fifth of a page and a scale down to 85% saves that page.
struct TPageLayout {
    int Pages = 0;
    double Scale = 1.0;
};
TPageLayout FitPages(QTextDocument& Document, const QSizeF& Body);

// Prints the document on the printer's pages at the layout above, "Strona n z m" at the
// foot of each; the number of pages printed (0 when the printer could not start).
int PrintDocument(const QTextDocument& Document, QPrinter& Printer);

} // namespace HTMLPrint
