#include "TEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

TEdit::TEdit(QWidget* Parent) : QLineEdit(Parent), m_textCursor(cursor()) {
    // The hint over the icon area follows the pointer without a pressed button.
    setMouseTracking(true);
}

void TEdit::SetIcon(const QPixmap& Icon) {
    FIcon = Icon;
    UpdateIconState();
    update();
}

void TEdit::SetShowIconOnlyWhenFocused(bool Value) {
    FShowIconOnlyWhenFocused = Value;
    UpdateIconState();
    update();
}

void TEdit::UpdateIconState() {
    const bool show = !FIcon.isNull() && (!FShowIconOnlyWhenFocused || hasFocus() || FMouseInClient);
    if (show == FMargin)
        return;
    FMargin = show;
    const QMargins m = textMargins();
    setTextMargins(m.left(), m.top(), show ? IconMargin : 0, m.bottom());
}

void TEdit::paintEvent(QPaintEvent* Event) {
    UpdateIconState();
    QLineEdit::paintEvent(Event);
    if (FMargin) {
        QPainter p(this);
        p.drawPixmap(width() - IconMargin, 2, FIcon);
    }
}

void TEdit::mousePressEvent(QMouseEvent* Event) {
    UpdateIconState();
    QLineEdit::mousePressEvent(Event);
}

void TEdit::mouseMoveEvent(QMouseEvent* Event) {
    UpdateIconState();
    UpdateIconHint(Event->position().toPoint());
    QLineEdit::mouseMoveEvent(Event);
}

void TEdit::UpdateIconHint(const QPoint& Pos) {
    if (Pos.x() > width() - IconHintArea) {
        setCursor(Qt::ArrowCursor);
        setToolTip(FIconHint);
        if (!FIconHint.isEmpty()) {
            QToolTip::showText(mapToGlobal(Pos), FIconHint, this);
            m_hintShown = true;
        }
        return;
    }
    setCursor(m_textCursor);
    setToolTip(QString());
    if (m_hintShown) {
        QToolTip::hideText();
        m_hintShown = false;
    }
}

void TEdit::enterEvent(QEnterEvent* Event) {
    FMouseInClient = true;
    UpdateIconState();
    update();
    QLineEdit::enterEvent(Event);
}

void TEdit::leaveEvent(QEvent* Event) {
    FMouseInClient = false;
    if (m_hintShown) {
        QToolTip::hideText();
        m_hintShown = false;
    }
    UpdateIconState();
    update();
    QLineEdit::leaveEvent(Event);
}

void TEdit::focusInEvent(QFocusEvent* Event) {
    QLineEdit::focusInEvent(Event);
    UpdateIconState();
}

void TEdit::focusOutEvent(QFocusEvent* Event) {
    QLineEdit::focusOutEvent(Event);
    UpdateIconState();
}

void TEdit::keyPressEvent(QKeyEvent* Event) {
    const bool enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
    if (enter && !(Event->modifiers() & Qt::AltModifier)) {
        // A handler may open a window that rebuilds the panel and frees this edit.
        QPointer<TEdit> alive(this);
        if (Event->modifiers() & Qt::ControlModifier) {
            if (!FIcon.isNull() && FOnDictionaryClick)
                FOnDictionaryClick(this);
        } else if (FOnSpeciaButton) {
            FOnSpeciaButton(this);
        }
        if (!alive)
            return;
    }
    QLineEdit::keyPressEvent(Event);
}
