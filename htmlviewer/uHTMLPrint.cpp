#include "uHTMLPrint.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

namespace HTMLPrint {

namespace {

constexpr double kSmallestScale = 0.85;
constexpr double kScaleStep = 0.03;
constexpr double kNearlyEmpty = 0.2; // of a page

// The height the content takes: the bottom of its last block.
double ContentHeight(QTextDocument& Document) {
    const QTextBlock last = Document.lastBlock();
    return Document.documentLayout()->blockBoundingRect(last).bottom();
}

} // namespace

QString PrintableHtml(const QString& Html, const QString& Title, const QDate& Printed) {
    if (Title.isEmpty())
        return Html;
    const QString heading =
        QStringLiteral("<H2 style=\"font: bold 16px Arial, Verdana\">%1</H2>"
                       "<P style=\"font: 11px Arial, Verdana\">Data wydruku: %2</P>")
            .arg(Title.toHtmlEscaped(), Printed.toString(QStringLiteral("dd.MM.yyyy")));
    static const QRegularExpression body(QStringLiteral("<BODY[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = body.match(Html);
    QString page = Html;
    return m.hasMatch() ? page.insert(m.capturedEnd(), heading) : heading + page;
}

QString PdfFileName(const QString& Title) {
    QString name = Title;
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1F]"));
    name.replace(forbidden, QStringLiteral(" - "));
    name = name.simplified();
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char('-')))
        name = name.mid(1).trimmed();
    name = name.left(100).trimmed();
    return (name.isEmpty() ? QStringLiteral("raport") : name) + QStringLiteral(".pdf");
}

TPageLayout FitPages(QTextDocument& Document, const QSizeF& Body) {
    Document.setPageSize(Body);
    TPageLayout layout{Document.pageCount(), 1.0};
    if (layout.Pages < 2)
        return layout;
    const double lastPageFill = ContentHeight(Document) / Body.height() - (layout.Pages - 1);
    if (lastPageFill >= kNearlyEmpty)
        return layout;
    for (double scale = 1.0 - kScaleStep; scale >= kSmallestScale - 1e-9; scale -= kScaleStep) {
        Document.setPageSize(Body / scale);
        if (Document.pageCount() < layout.Pages)
            return {Document.pageCount(), scale};
    }
    Document.setPageSize(Body);
    return layout;
}

int PrintDocument(const QTextDocument& Document, QPrinter& Printer) {
    const std::unique_ptr<QTextDocument> doc(Document.clone());
    doc->documentLayout()->setPaintDevice(&Printer);
    QPainter painter;
    if (!painter.begin(&Printer))
        return 0;
    const QRectF page = Printer.pageRect(QPrinter::DevicePixel).translated(
        -Printer.pageRect(QPrinter::DevicePixel).topLeft());
    QFont footFont(QStringLiteral("Arial"));
    footFont.setPixelSize(10);
    const double foot = QFontMetricsF(footFont, &Printer).height() * 2;
    const QSizeF body(page.width(), page.height() - foot);
    const TPageLayout layout = FitPages(*doc, body);
    const QSizeF scaled = body / layout.Scale;
    for (int p = 0; p < layout.Pages; ++p) {
        if (p > 0)
            Printer.newPage();
        painter.save();
        painter.scale(layout.Scale, layout.Scale);
        painter.translate(0, -p * scaled.height());
        const QRectF clip(0, p * scaled.height(), scaled.width(), scaled.height());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(footFont);
        painter.drawText(QRectF(0, body.height(), body.width(), foot), Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Strona %1 z %2").arg(p + 1).arg(layout.Pages));
    }
    painter.end();
    return layout.Pages;
}

} // namespace HTMLPrint
