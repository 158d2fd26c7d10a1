#include "TCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

TCheckBox::TCheckBox(QWidget* Parent) : TCheckBox(QString(), Parent) {}

TCheckBox::TCheckBox(const QString& Caption, QWidget* Parent)
    : QCheckBox(Caption, Parent), FLastState(isChecked()) {
    connect(this, &QCheckBox::toggled, this, &TCheckBox::StateChanged);
}

void TCheckBox::StateChanged() {
    const bool state = isChecked();
    if (state == FLastState)
        return;
    FLastState = state;
    if (FOnChange)
        FOnChange(this);
}

void TCheckBox::SetWordWrap(bool Value) {
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    updateGeometry();
    update();
}

int TCheckBox::IndicatorSpace() const {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, &opt, this) +
           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &opt, this);
}

QSize TCheckBox::WrappedTextSize(int Width) const {
    const QRect r = fontMetrics().boundingRect(QRect(0, 0, qMax(1, Width), 100000),
                                               Qt::TextWordWrap | Qt::TextShowMnemonic, text());
    return r.size();
}

QSize TCheckBox::sizeHint() const {
    if (!FWordWrap)
        return QCheckBox::sizeHint();
    // Unwrapped width: the caption's longest line, as a plain check box asks.
    const QSize plain = QCheckBox::sizeHint();
    return QSize(plain.width(), qMax(plain.height(), heightForWidth(plain.width())));
}

QSize TCheckBox::minimumSizeHint() const {
    if (!FWordWrap)
        return QCheckBox::minimumSizeHint();
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &opt, this);
    return QSize(IndicatorSpace() + fontMetrics().averageCharWidth() * 4, indicatorHeight);
}

bool TCheckBox::hasHeightForWidth() const {
    return FWordWrap || QCheckBox::hasHeightForWidth();
}

int TCheckBox::heightForWidth(int Width) const {
    if (!FWordWrap)
        return QCheckBox::heightForWidth(Width);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &opt, this);
    return qMax(indicatorHeight, WrappedTextSize(Width - IndicatorSpace()).height() + 2);
}

void TCheckBox::paintEvent(QPaintEvent* Event) {
    if (!FWordWrap) {
        QCheckBox::paintEvent(Event);
        return;
    }
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    // The indicator, centred vertically on the first line of the caption.
    QStyleOptionButton indicator = opt;
    const int iw = style()->pixelMetric(QStyle::PM_IndicatorWidth, &opt, this);
    const int ih = style()->pixelMetric(QStyle::PM_IndicatorHeight, &opt, this);
    const int firstLine = qMin(height(), qMax(ih, fontMetrics().height()));
    indicator.rect = QRect(0, (firstLine - ih) / 2, iw, ih);
    p.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);

    const QRect textRect(IndicatorSpace(), 0, qMax(0, width() - IndicatorSpace()), height());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
    p.drawItemText(textRect, flags, opt.palette, isEnabled(), caption, QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(textRect, flags, caption).adjusted(-1, 0, 1, 1);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool TCheckBox::hitButton(const QPoint& Pos) const {
    // The whole control answers clicks, also the wrapped lines of the caption.
    return FWordWrap ? rect().contains(Pos) : QCheckBox::hitButton(Pos);
}
