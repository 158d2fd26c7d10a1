#include "TRadioButton.h"

#include <QMouseEvent>

TRadioButton::TRadioButton(QWidget* Parent) : TRadioButton(QString(), Parent) {}

TRadioButton::TRadioButton(const QString& Caption, QWidget* Parent)
    : QRadioButton(Caption, Parent), FLastState(isChecked()) {
    setAutoExclusive(false);
    connect(this, &QRadioButton::toggled, this, &TRadioButton::StateChanged);
}

void TRadioButton::nextCheckState() {
    // Every click (mouse or Space) toggles, so a selected button can be cleared.
    setChecked(!isChecked());
}

void TRadioButton::mouseDoubleClickEvent(QMouseEvent* Event) {
    // The first click of the pair already toggled; the second only notifies.
    if (Event->button() == Qt::LeftButton) {
        Event->accept();
        if (FOnDblClick)
            FOnDblClick(this);
        return;
    }
    QRadioButton::mouseDoubleClickEvent(Event);
}

void TRadioButton::StateChanged() {
    const bool state = isChecked();
    if (state == FLastState)
        return;
    FLastState = state;
    if (FOnChange)
        FOnChange(this);
}
