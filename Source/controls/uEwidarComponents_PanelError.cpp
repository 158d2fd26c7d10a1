// TPanel: change propagation, the error display and the events that drive it.

#include "TCheckBox.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "TLabel.h"
#include "TRadioButton.h"
#include "uEwidarComponents_Balloon.h"
#include "uEwidarComponents_Panel.h"

#include <QComboBox>
#include <QEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

// ---------------------------------------------------------------------------
// Changes

void TPanel::EditorChanged() {
    if (FUpdating)
        return;
    // Several signals may announce one change (a date's text and its date, a combo's
    // index and its text): report each new value once.
    const QString value = Value();
    if (FLastReportedValue && *FLastReportedValue == value)
        return;
    FLastReportedValue = value;
    if (FMemo)
        UpdateMemoScrollBar();
    const QPointer<TPanel> alive(this);
    if (FOnChange)
        FOnChange(this);
    if (alive && FOnValidate)
        FOnValidate(this);
}

void TPanel::RadioChanged(TRadioButton* Sender) {
    if (FUpdating)
        return;
    if (Sender->isChecked()) {
        // The buttons are not exclusive by themselves: the panel keeps one choice.
        const QScopedValueRollback<bool> quiet(FUpdating, true);
        for (TRadioButton* button : GroupRadioButtons())
            if (button != Sender)
                button->setChecked(false);
    }
    EditorChanged();
}

void TPanel::UpdateMemoScrollBar() {
    const QFontMetrics fm(FMemo->font());
    const QRect client = FMemo->contentsRect();
    const int margin = int(FMemo->document()->documentMargin());
    const QRect text = fm.boundingRect(QRect(0, 0, qMax(1, client.width() - 2 * margin), 1 << 20),
                                       Qt::TextWordWrap, FMemo->toPlainText());
    const int needed = text.height() + 2 * margin;
    FMemo->setVerticalScrollBarPolicy(needed > client.height() ? Qt::ScrollBarAlwaysOn
                                                               : Qt::ScrollBarAlwaysOff);
}

// ---------------------------------------------------------------------------
// Error display

bool TPanel::IsErrorShown() {
    if (FError.Empty() || !GetShownErrorTypes().Contains(FError.ErrType))
        return false;
    if (FComponentType != ctEdit)
        return true;
    // A text edit shows its error only once the user has left it (or was never in it).
    if (FReadOnly || !FEdit)
        return false;
    HookEditFocus();
    if (!FControlShowError)
        FControlShowError = !FEdit->hasFocus();
    return FControlShowError;
}

void TPanel::HookEditFocus() {
    if (FEditFocusHooked)
        return;
    FEdit->installEventFilter(this);
    FEditFocusHooked = true;
}

void TPanel::SetError(const TError& Error) {
    FError = Error;
    FErrorShown = IsErrorShown();
    ApplyErrorColor(FErrorShown ? GetErrorColor(FError.ErrType) : cFieldColor);
    if (FErrorShown) {
        TErrorBalloon* balloon = TErrorBalloon::Existing();
        const bool open =
            balloon && balloon->IsShown() && balloon->Owner() == this && balloon->Text() == FError.ErrMsg;
        if (MouseInside() && !open)
            TErrorBalloon::Instance()->ShowFor(this, FError.ErrMsg);
    } else if (TErrorBalloon* balloon = TErrorBalloon::Existing()) {
        balloon->HideFor(this);
    }
}

void TPanel::ApplyErrorColor(const QColor& Color) {
    FErrorDisplayColor = Color;
    QWidget* editor = FReadOnly ? nullptr : ValueEditor();
    if (editor) {
        QPalette pal = editor->palette();
        pal.setColor(QPalette::Base, Color);
        editor->setPalette(pal);
        if (auto* memo = qobject_cast<QPlainTextEdit*>(editor))
            memo->viewport()->setPalette(pal);
    }
    ApplyPanelBackground();
}

bool TPanel::MouseInside() const {
    if (!isVisible())
        return false;
    return underMouse() || rect().contains(mapFromGlobal(QCursor::pos()));
}

// ---------------------------------------------------------------------------
// Events

void TPanel::enterEvent(QEnterEvent* Event) {
    QFrame::enterEvent(Event);
    if (!FErrorShown)
        return;
    TErrorBalloon* balloon = TErrorBalloon::Existing();
    if (balloon && balloon->IsShown() && balloon->Text() == FError.ErrMsg)
        return;
    TErrorBalloon::Instance()->ShowFor(this, FError.ErrMsg);
}

void TPanel::leaveEvent(QEvent* Event) {
    QFrame::leaveEvent(Event);
    if (TErrorBalloon* balloon = TErrorBalloon::Existing())
        balloon->HideFor(this);
}

bool TPanel::eventFilter(QObject* Watched, QEvent* Event) {
    if (FEdit && Watched == FEdit && FEditFocusHooked) {
        if (Event->type() == QEvent::FocusIn) {
            FControlShowError = !FError.Empty();
        } else if (Event->type() == QEvent::FocusOut) {
            FControlShowError = true;
            SetError(FError);
        }
    } else if (FCaptionLabel && Watched == FCaptionLabel) {
        if (Event->type() == QEvent::MouseMove || Event->type() == QEvent::MouseButtonPress)
            if (CaptionMouseEvent(FCaptionLabel, static_cast<QMouseEvent*>(Event)))
                return true;
    } else if (Watched == FReadOnlyLabel && Event->type() == QEvent::Resize) {
        ShowReadOnlyText();
    } else if (FMemo && Watched == FMemo && Event->type() == QEvent::Resize) {
        UpdateMemoScrollBar();
    } else if (FDateTimePicker && Watched == FDateTimePicker && Event->type() == QEvent::KeyRelease) {
        EditorChanged();
    } else if (FCheckBox && Watched == FCheckBox && Event->type() == QEvent::Resize) {
        PlaceDynamicIcons();
    } else if (Event->type() == QEvent::MouseButtonRelease) {
        if (auto* icon = qobject_cast<QLabel*>(Watched);
            icon && (icon == FDynamicIcon1 || icon == FDynamicIcon2)) {
            // Run after this event: the action may free the panel with its icons.
            const TDynamicIconAction action = icon == FDynamicIcon1 ? diaDelete : diaEdit;
            QTimer::singleShot(0, this, [this, icon = QPointer<QLabel>(icon), action] {
                if (FDynamicIconOnClick)
                    FDynamicIconOnClick(icon.data(), this, action);
            });
            return true;
        }
    }
    return QFrame::eventFilter(Watched, Event);
}
