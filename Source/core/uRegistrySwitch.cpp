#include "uRegistrySwitch.h"

#include <QPainter>

namespace uMainForm {

TRadioButton::TRadioButton(const QString& Caption, QWidget* Parent) : QRadioButton(Caption, Parent) {
    // The window keeps the group: Qt's exclusivity would refuse the unchecking
    // that re-selects the current registry.
    setAutoExclusive(false);
    setMinimumHeight(SwitchHeight);
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab and checked with Space; a mouse click leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
}

void TRadioButton::nextCheckState() {
    setChecked(true);
}

bool TRadioButton::hitButton(const QPoint& Pos) const {
    return rect().contains(Pos);
}

QSize TRadioButton::sizeHint() const {
    const QSize hint = QRadioButton::sizeHint();
    return {hint.width(), qMax(hint.height(), SwitchHeight)};
}

void TRadioButton::paintEvent(QPaintEvent* Event) {
    QRadioButton::paintEvent(Event);
    QPainter painter(this);
    painter.fillRect(rect(), isChecked() ? QColor(CheckedColor) : QColor(Qt::white));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, text());
    if (hasFocus()) {
        // The keyboard focus stays visible over the painted strip.
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

} // namespace uMainForm
