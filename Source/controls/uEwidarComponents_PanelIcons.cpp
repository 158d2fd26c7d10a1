// TPanel: the caption icon, the word dictionary and the user-defined field icons.

#include "TCheckBox.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarComponents_Pictures.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolTip>

namespace {

const QString cDictionaryHint = QStringLiteral("Wybór ze słownika (Ctrl + Enter)");

} // namespace

// ---------------------------------------------------------------------------
// Caption icon

void TPanel::SetIcon(const QPixmap& Icon) {
    FIcon = Icon;
    setMouseTracking(!FIcon.isNull());
    update();
}

void TPanel::SetIconHint(const QString& Hint) {
    FIconHint = Hint.isEmpty() ? QString() : Hint + QStringLiteral(" (Shift + Enter)");
}

QRect TPanel::IconArea() const {
    // The icon is drawn (and answers) only on an enabled, editable panel without a header.
    if (FIcon.isNull() || FHeader->HasStrip() || !isEnabled() || FReadOnly)
        return {};
    return QRect(QPoint(width() - FIcon.width() - 8, -1), QPoint(width() - 1, FIcon.height() - 1));
}

void TPanel::IconClick() {
    if (FOnIconClick)
        FOnIconClick(this);
}

QWidget* TPanel::ValueEditor() const {
    if (FEdit)
        return FEdit;
    if (FDateTimePicker)
        return FDateTimePicker;
    if (FMemo)
        return FMemo;
    return FComboBox;
}

void TPanel::FocusEditor() {
    QWidget* editor = ValueEditor();
    if (editor && editor->isEnabled())
        editor->setFocus(Qt::MouseFocusReason);
}

// The pointer over, or pressed on, the caption label or the panel itself (Source).
// True when the press was taken by the icon.
bool TPanel::CaptionMouseEvent(QWidget* Source, QMouseEvent* Event) {
    const QPoint local = Event->position().toPoint();
    const QPoint pos = Source == this ? local : Source->mapTo(this, local);
    const bool inIcon = IconArea().contains(pos);
    if (Event->type() == QEvent::MouseMove) {
        if (inIcon && !FIconHint.isEmpty()) {
            Source->setCursor(Qt::PointingHandCursor);
            Source->setToolTip(FIconHint);
            QToolTip::showText(Event->globalPosition().toPoint(), FIconHint, Source);
        } else {
            Source->setCursor(Qt::ArrowCursor);
            if (!Source->toolTip().isEmpty()) {
                Source->setToolTip(QString());
                QToolTip::hideText();
            }
        }
        return false;
    }
    if (Event->type() != QEvent::MouseButtonPress || Event->button() != Qt::LeftButton)
        return false;
    if (inIcon) {
        IconClick();
        return true;
    }
    if (Source == FCaptionLabel)
        FocusEditor();
    return false;
}

void TPanel::mouseMoveEvent(QMouseEvent* Event) {
    CaptionMouseEvent(this, Event);
    QFrame::mouseMoveEvent(Event);
}

void TPanel::mousePressEvent(QMouseEvent* Event) {
    if (CaptionMouseEvent(this, Event))
        return;
    QFrame::mousePressEvent(Event);
}

// ---------------------------------------------------------------------------
// Word dictionary

void TPanel::UpdateDictionaryIcon() {
    if (!FEdit)
        return;
    if (FSlownik && FSlownik->GetCount() > 0) {
        FEdit->SetIcon(EwidarPictures::DictionaryIcon());
        FEdit->SetShowIconOnlyWhenFocused(true);
        FEdit->SetIconHint(cDictionaryHint);
    } else if (!FEdit->Icon().isNull()) {
        FEdit->SetIcon(QPixmap());
        FEdit->SetIconHint(QString());
    }
}

void TPanel::DictionaryClick() {
    const TFieldDictionaryHandler& handler = FieldDictionaryHandler();
    if (!handler || !FSlownik)
        return;
    // The window may outlive a rebuild of this panel; keep what it works on.
    const TIntfPtr<ISlownikField> words = FSlownik;
    const QPointer<TPanel> alive(this);
    const QString word = handler(this, Value(), words.get());
    if (alive && !word.isEmpty())
        SetValue(word);
}

// ---------------------------------------------------------------------------
// User-defined field icons

QLabel* TPanel::DynamicIcon(int Index) const {
    return Index == 0 ? FDynamicIcon1 : Index == 1 ? FDynamicIcon2 : nullptr;
}

void TPanel::CreateDynamicIcons() {
    FreeDynamicIcons();
    QWidget* host = FCheckBox ? static_cast<QWidget*>(FCheckBox) : this;
    const auto make = [&](const QPixmap& picture, const QString& hint, const QString& name) {
        auto* icon = new QLabel(host);
        icon->setObjectName(name);
        icon->setPixmap(picture);
        icon->setFixedSize(16, 16);
        icon->setToolTip(hint);
        icon->setCursor(Qt::PointingHandCursor);
        icon->installEventFilter(this);
        icon->show();
        return icon;
    };
    FDynamicIcon1 = make(EwidarPictures::DeleteFieldIcon(), QStringLiteral("Usuń pole"),
                         QStringLiteral("imgDynamicDelete"));
    FDynamicIcon2 = make(EwidarPictures::EditFieldIcon(), QStringLiteral("Edytuj pole"),
                         QStringLiteral("imgDynamicEdit"));
    if (FCheckBox)
        FCheckBox->installEventFilter(this);
    PlaceDynamicIcons();
}

void TPanel::FreeDynamicIcons() {
    for (QLabel** icon : {&FDynamicIcon1, &FDynamicIcon2}) {
        if (!*icon)
            continue;
        (*icon)->hide();
        (*icon)->setProperty("ewidarDisposed", true);
        (*icon)->deleteLater();
        *icon = nullptr;
    }
}

void TPanel::PlaceDynamicIcons() {
    if (!FDynamicIcon1 || !FDynamicIcon2)
        return;
    // Anchored to the right edge of the check box, or of the panel.
    const int base = FCheckBox ? FCheckBox->width() + 1 : width() - 4;
    FDynamicIcon1->move(base - 16, 0);
    FDynamicIcon2->move(base - 16 - 16, 0);
    FDynamicIcon1->raise();
    FDynamicIcon2->raise();
}
