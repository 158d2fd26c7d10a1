#include "uEwidarGridPaint.h"

#include "uEwidarDrawGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include <cmath>
#include <numeric>
#include <vector>

namespace {

const QColor kHighlight(166, 202, 240);
const QColor kOddRow(240, 240, 240);
const QColor kTitleLine(128, 128, 128);
constexpr int kTextLeft = 2;
constexpr int kTextLeftAfterBox = 20;

// Measures the lines of the cells of one font; a cell may hold several lines.
// A line's width is the sum of its characters' advances (the grid draws without
// kerning). Advances of the Latin, Latin Extended and punctuation characters are
// kept once measured, so fitting the columns of a long list does not shape every
// text again; a line with any other character is measured as a whole.
class TLineMeasure {
public:
    explicit TLineMeasure(const QFont& Font)
        : m_metrics(Font), m_wholeLine(Font), m_advances(kCached, -1.0) {}

    int LineWidth(QStringView Line) const {
        qreal width = 0;
        for (QChar c : Line) {
            const char16_t u = c.unicode();
            if (!Cacheable(u))
                return m_wholeLine.horizontalAdvance(Line.toString());
            qreal& advance = m_advances[u];
            if (advance < 0)
                advance = m_metrics.horizontalAdvance(c);
            width += advance;
        }
        return qRound(width);
    }
    // Raises Width to a line's width + 10 for every line wider than Width.
    void Fit(QStringView Cell, int& Width) const {
        if (!Cell.contains(u'\n')) {
            FitLine(Cell, Width);
            return;
        }
        for (QStringView line : Cell.split(u'\n'))
            FitLine(line.endsWith(u'\r') ? line.chopped(1) : line, Width);
    }

private:
    static constexpr char16_t kCached = 0x2060;
    static bool Cacheable(char16_t U) {
        return U < 0x0300 || (U >= 0x2010 && U < 0x2028) || (U >= 0x2030 && U < kCached);
    }
    void FitLine(QStringView Line, int& Width) const {
        const int w = LineWidth(Line);
        if (w > Width)
            Width = w + 10;
    }

    QFontMetricsF m_metrics;
    QFontMetrics m_wholeLine;
    mutable std::vector<qreal> m_advances;
};

QString ElideLines(const QFontMetrics& Metrics, const QString& Text, int Width) {
    if (!Text.contains(u'\n'))
        return Metrics.elidedText(Text, Qt::ElideRight, Width);
    QStringList lines = Text.split(u'\n');
    for (QString& line : lines)
        line = Metrics.elidedText(line.endsWith(u'\r') ? line.chopped(1) : line, Qt::ElideRight, Width);
    return lines.join(u'\n');
}

} // namespace

TEwidarGridHeader::TEwidarGridHeader(TDrawGrid* Grid) : QHeaderView(Qt::Horizontal, Grid), m_grid(Grid) {
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setSortIndicatorShown(false);
    setMinimumSectionSize(0);
    setSectionResizeMode(QHeaderView::Interactive);
    setFixedHeight(TDrawGrid::DefaultRowHeight);
}

void TEwidarGridHeader::paintSection(QPainter* Painter, const QRect& Rect, int LogicalIndex) const {
    if (Rect.isValid())
        m_grid->DrawCell(Painter, Rect, LogicalIndex, 0);
}

void TEwidarGridHeader::mousePressEvent(QMouseEvent* Event) {
    m_grid->HeaderPressed(logicalIndexAt(Event->position().toPoint()));
    QHeaderView::mousePressEvent(Event);
}

TEwidarGridDelegate::TEwidarGridDelegate(TDrawGrid* Grid) : QStyledItemDelegate(Grid), m_grid(Grid) {}

void TEwidarGridDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                                const QModelIndex& Index) const {
    m_grid->DrawCell(Painter, Option.rect, Index.column(), Index.row() + m_grid->FixedRows());
}

QFont TDrawGrid::TitleFont() const {
    QFont f(QStringLiteral("Tahoma"));
    if (font().pointSizeF() > 0)
        f.setPointSizeF(font().pointSizeF());
    else
        f.setPixelSize(font().pixelSize());
    f.setBold(true);
    f.setKerning(false);
    return f;
}

int TDrawGrid::TextWidth(const QFont& Font, const QString& Line) {
    return TLineMeasure(Font).LineWidth(Line);
}

const std::vector<int>& TDrawGrid::NaturalWidths() {
    const int cols = ColCount();
    if (m_widthsValid && static_cast<int>(m_naturalWidths.size()) == cols)
        return m_naturalWidths;
    const int first = FVisibleCheckBox ? 1 : 0;
    m_naturalWidths.assign(static_cast<size_t>(cols), 0);
    if (first > 0 && cols > 0)
        m_naturalWidths[0] = CheckBoxColumnWidth;
    const TLineMeasure title(TitleFont());
    const TLineMeasure body(font());
    for (int r = 0; r < RowCount(); ++r) {
        const TEwidarRow* row = FGrid->GridRow(r);
        const TLineMeasure& measure = r < FixedRows() ? title : body;
        const int last = row->Lines >= 0 ? cols : std::min(cols, static_cast<int>(row->Row.size()));
        for (int c = first; c < last; ++c)
            measure.Fit(FGrid->CellView(c, r), m_naturalWidths[static_cast<size_t>(c)]);
    }
    m_widthsValid = true;
    return m_naturalWidths;
}

void TDrawGrid::SetWidthColumns() {
    std::vector<int> widths = NaturalWidths();
    const int cols = static_cast<int>(widths.size());
    const int first = FVisibleCheckBox ? 1 : 0;
    const int client = viewport()->width();
    const long sum = std::accumulate(widths.begin(), widths.end(), 0L);
    if (client > sum && cols > first) {
        const long add = std::lround(static_cast<double>(client - sum) / (cols - first));
        for (int c = first; c < cols - 1; ++c)
            widths[static_cast<size_t>(c)] += static_cast<int>(add);
        const long others = std::accumulate(widths.begin(), widths.end() - 1, 0L);
        widths.back() = static_cast<int>(std::max(client - others, 0L));
    }
    for (int c = 0; c < cols; ++c)
        if (columnWidth(c) != widths[static_cast<size_t>(c)])
            setColumnWidth(c, widths[static_cast<size_t>(c)]);
}

bool TDrawGrid::DrawsCurrentRow() const {
    return !FDrawSelectOnlyWhenFocus || hasFocus();
}

void TDrawGrid::DrawCell(QPainter* Painter, const QRect& Rect, int Col, int Row) {
    Painter->save();
    const bool title = Row < FixedRows();
    if (title)
        DrawTitleCell(Painter, Rect, Col);
    else
        DrawDataCell(Painter, Rect, Col, Row);
    if (FVisibleCheckBox && Col == 0) {
        if (title) {
            DrawCheckBox(Painter, Rect, FCheckBoxGroupValue);
        } else if (FGrid->HasCells(Row)) {
            Painter->fillRect(Rect, Qt::white);
            DrawCheckBox(Painter, Rect, Checked(Row));
        }
    }
    if (title && Col == FSortColumn)
        DrawSortArrow(Painter, Rect);
    Painter->restore();
    if (FOnDrawCell)
        FOnDrawCell(this, Col, Row, Rect, Painter);
}

void TDrawGrid::DrawTitleCell(QPainter* Painter, const QRect& Rect, int Col) {
    Painter->fillRect(Rect, Qt::white);
    Painter->setFont(TitleFont());
    Painter->setPen(Qt::black);
    Painter->drawText(Rect.adjusted(kTextLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Cells(Col, 0));
    Painter->setPen(kTitleLine);
    Painter->drawLine(Rect.left(), Rect.bottom(), Rect.right(), Rect.bottom());
}

void TDrawGrid::DrawDataCell(QPainter* Painter, const QRect& Rect, int Col, int Row) {
    QColor background = Row % 2 ? kOddRow : QColor(Qt::white);
    if (Row == this->Row() && DrawsCurrentRow())
        background = kHighlight;
    Painter->fillRect(Rect.adjusted(0, 0, 1, 0), background);
    const TEwidarRow* row = FGrid->GridRow(Row);
    const int left = Col == 0 && row && row->CheckBoxActive ? kTextLeftAfterBox : kTextLeft;
    const QRect textRect = Rect.adjusted(left, 0, 0, 0);
    Painter->setFont(font());
    Painter->setPen(Qt::black);
    Painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      ElideLines(QFontMetrics(font()), Cells(Col, Row), textRect.width()));
}

void TDrawGrid::DrawCheckBox(QPainter* Painter, const QRect& Rect, bool IsChecked) {
    QStyleOptionButton option;
    option.initFrom(this);
    const int size = std::min({13, Rect.width() - 1, Rect.height() - 1});
    option.rect = QRect(Rect.left() + 1, Rect.top() + 1, std::max(size, 0), std::max(size, 0));
    option.state = QStyle::State_Enabled | (IsChecked ? QStyle::State_On : QStyle::State_Off);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, Painter, this);
}

void TDrawGrid::DrawSortArrow(QPainter* Painter, const QRect& Rect) {
    // The direction of the last sort: FMinToMaxSort already names the next one.
    const bool ascending = !FMinToMaxSort;
    const int right = Rect.right() - 10;
    const int left = right - 7;
    const int top = Rect.top() + 7;
    const int bottom = top + 4;
    const int middle = (left + right) / 2;
    QPolygon arrow;
    if (ascending)
        arrow << QPoint(left, bottom) << QPoint(right, bottom) << QPoint(middle, top);
    else
        arrow << QPoint(left, top) << QPoint(right, top) << QPoint(middle, bottom);
    Painter->setPen(Qt::black);
    Painter->setBrush(Qt::black);
    Painter->drawPolygon(arrow);
}
