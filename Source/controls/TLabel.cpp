#include "TLabel.h"

#include <QPainter>

TLabel::TLabel(QWidget* Parent) : QLabel(Parent) {
    setTextFormat(Qt::PlainText);
}

TLabel::TLabel(const QString& Caption, QWidget* Parent) : TLabel(Parent) {
    setText(Caption);
}

int TLabel::TextWidth() const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& line : text().split(QLatin1Char('\n')))
        widest = qMax(widest, fm.horizontalAdvance(line));
    return widest;
}

void TLabel::SetCaption(const QString& Caption) {
    setAlignment((alignment() & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft);
    setText(Caption);
    int w = TextWidth();
    if (FSetIcon) {
        w += IconSpace;
        setAlignment((alignment() & ~Qt::AlignHorizontal_Mask) | Qt::AlignRight);
    }
    resize(w, height());
    updateGeometry();
    if (FOnChange)
        FOnChange(this, FPanel);
}

void TLabel::SetIcon(const QPixmap& Icon) {
    FIcon = Icon;
    if (!FIcon.isNull()) {
        if (!FSetIcon) {
            FSetIcon = true;
            resize(TextWidth() + IconSpace, height());
            setAlignment((alignment() & ~Qt::AlignHorizontal_Mask) | Qt::AlignRight);
        }
    } else if (FSetIcon) {
        // Without the picture the text goes back to the left edge and a later
        // caption is sized without room for an icon.
        FSetIcon = false;
        setAlignment((alignment() & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft);
    }
    updateGeometry();
    update();
}

QSize TLabel::sizeHint() const {
    QSize s = QLabel::sizeHint();
    if (FSetIcon)
        s.rwidth() += IconSpace;
    return s;
}

TLabel::TWrapState TLabel::WrapState() const {
    return {text(),   font(),           alignment(),  wordWrap(),          indent(),
            margin(), contentsMargins(), frameWidth(), textFormat(), pixmap().cacheKey()};
}

int TLabel::heightForWidth(int Width) const {
    constexpr qsizetype kWidthsKept = 4;
    TWrapState state = WrapState();
    if (!(state == FWrapState)) {
        FWrapState = std::move(state);
        FHeights.clear();
    }
    for (const auto& [width, height] : FHeights)
        if (width == Width)
            return height;
    const int height = QLabel::heightForWidth(Width);
    if (FHeights.size() == kWidthsKept)
        FHeights.removeFirst();
    FHeights.append({Width, height});
    return height;
}

QSize TLabel::minimumSizeHint() const {
    QSize s = QLabel::minimumSizeHint();
    if (FSetIcon)
        s.rwidth() += IconSpace;
    return s;
}

void TLabel::paintEvent(QPaintEvent* Event) {
    QLabel::paintEvent(Event);
    if (!FIcon.isNull()) {
        QPainter p(this);
        p.drawPixmap(0, 0, FIcon);
    }
}
