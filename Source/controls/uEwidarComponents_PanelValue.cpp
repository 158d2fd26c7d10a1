// TPanel: the value of every editor kind in its stored text form, both directions.

#include "TCheckBox.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "TLabel.h"
#include "TRadioButton.h"
#include "uEwidarComponents_Panel.h"

#include <QComboBox>
#include <QDateTime>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

namespace {

const QString cEllipsis = QStringLiteral(" ...");

// The longest prefix of Text that, followed by " ...", passes Fits.
template <class Fits> QString ShortenedText(const QString& Text, Fits fits) {
    int lo = 0;
    int hi = Text.size() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fits(Text.left(mid) + cEllipsis))
            lo = mid;
        else
            hi = mid - 1;
    }
    return Text.left(lo) + cEllipsis;
}

// "yyyy-mm-dd", optionally followed by a time "hh:mm:ss" or "hh:mm".
QDate ParseStoredDate(const QString& Text) {
    const QString t = Text.trimmed();
    for (const char* format : {"yyyy-M-d", "yyyy-M-d H:m:s", "yyyy-M-d H:m"}) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(format));
        if (dt.isValid())
            return dt.date();
        const QDate d = QDate::fromString(t, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return {};
}

} // namespace

// ---------------------------------------------------------------------------
// Read and write

QString TPanel::Value() const {
    switch (FComponentType) {
    case ctEdit:
        return FReadOnlyLabel ? FReadOnlyValue : FEdit ? FEdit->text() : QString();
    case ctMemo:
        return FReadOnlyLabel ? FReadOnlyValue : FMemo ? FMemo->toPlainText() : QString();
    case ctDate:
        return FReadOnlyLabel ? FReadOnlyValue : DateValue();
    case ctComboBox:
        return FReadOnlyLabel ? FReadOnlyValue : ComboValue();
    case ctCheckBox:
        return FCheckBox && FCheckBox->isChecked() ? QStringLiteral("1") : QString();
    case ctCheckBoxGroup:
        return CheckBoxGroupValue();
    case ctRadioGroup:
        return RadioGroupValue();
    case ctStandard:
        break;
    }
    return {};
}

void TPanel::SetValue(const QString& Value) {
    if (FReadOnlyLabel) {
        // The label may show a shortened text; the full value stays readable and is
        // what Post writes back.
        FReadOnlyValue = Value;
        ShowReadOnlyText();
        EditorChanged();
        return;
    }
    switch (FComponentType) {
    case ctEdit:
        if (FEdit)
            FEdit->setText(Value);
        break;
    case ctMemo:
        if (FMemo && FMemo->toPlainText() != Value)
            FMemo->setPlainText(Value);
        break;
    case ctDate:
        SetDateValue(Value);
        break;
    case ctCheckBox:
        if (FCheckBox)
            FCheckBox->setChecked(!Value.isEmpty());
        break;
    case ctComboBox:
        SetComboValue(Value);
        break;
    case ctCheckBoxGroup:
        SetCheckBoxGroupValue(Value);
        break;
    case ctRadioGroup:
        SetRadioGroupValue(Value);
        break;
    case ctStandard:
        break;
    }
}

void TPanel::ClearEditorValue() {
    LoadValue(QString());
}

void TPanel::LoadValue(const QString& Value) {
    {
        // The editor shows exactly the loaded value: nothing of a previously bound
        // record may survive where the value selects nothing (an empty or unknown combo
        // symbol, missing group items). One change is reported at the end.
        const QScopedValueRollback<bool> quiet(FUpdating, true);
        if (FComboBox) {
            FComboBox->setCurrentIndex(-1);
            FComboBox->setEditText(QString());
        }
        if (!FReadOnlyLabel) {
            if (FComponentType == ctCheckBoxGroup)
                for (TCheckBox* box : GroupCheckBoxes())
                    box->setChecked(false);
            if (FComponentType == ctRadioGroup)
                for (TRadioButton* button : GroupRadioButtons())
                    button->setChecked(false);
        }
        SetValue(Value);
        // A stored value that matches no symbol stays the combo's text, so posting
        // writes it back unchanged instead of an empty text.
        if (FComboBox && FComboBox->currentIndex() < 0)
            FComboBox->setEditText(Value);
    }
    EditorChanged();
}

// ---------------------------------------------------------------------------
// Read-only label

QString TPanel::ReadOnlyShownText(const QString& Value) const {
    if (FComponentType == ctDate)
        return Value.contains(QLatin1Char('H')) ? QString() : Value;
    if (FComponentType == ctComboBox && FComboBoxSymbols.size() == FComboBoxItemsKept.size())
        for (int i = 0; i < FComboBoxSymbols.size(); ++i)
            if (FComboBoxSymbols.at(i).compare(Value, Qt::CaseInsensitive) == 0)
                return FComboBoxItemsKept.at(i);
    return Value;
}

void TPanel::ShowReadOnlyText() {
    if (!FReadOnlyLabel)
        return;
    const QString full = ReadOnlyShownText(FReadOnlyValue);
    const QFontMetrics fm(FReadOnlyLabel->font());
    const QRect area = FReadOnlyLabel->contentsRect();
    QString shown = full;
    if (FComponentType == ctMemo) {
        // The memo label wraps: shorten only what does not fit its height.
        const auto fits = [&](const QString& t) {
            return fm.boundingRect(QRect(0, 0, qMax(1, area.width()), 1 << 20), Qt::TextWordWrap, t)
                       .height() <= area.height();
        };
        if (!full.isEmpty() && !fits(full))
            shown = ShortenedText(full, fits);
    } else if (FComponentType != ctDate) {
        const auto fits = [&](const QString& t) {
            return fm.horizontalAdvance(t) < area.width();
        };
        if (fm.horizontalAdvance(full) > area.width())
            shown = ShortenedText(full, fits);
    }
    if (FReadOnlyLabel->text() != shown)
        FReadOnlyLabel->setText(shown);
}

// ---------------------------------------------------------------------------
// Combo box

QString TPanel::ComboValue() const {
    if (!FComboBox)
        return {};
    const int count = FComboBox->count();
    const int index = FComboBox->currentIndex();
    // An edited text that no longer matches the selected item is no selection.
    const bool selected = index >= 0 && FComboBox->currentText() == FComboBox->itemText(index);
    if (count >= 1 && FComboBoxSymbols.size() == count && selected)
        return FComboBoxSymbols.at(index);
    return FComboBox->currentText();
}

void TPanel::SetComboValue(const QString& Value) {
    if (!FComboBox)
        return;
    const int count = FComboBox->count();
    {
        const QScopedValueRollback<bool> quiet(FUpdating, true);
        if (count >= 1 && FComboBoxSymbols.size() == count) {
            // No matching symbol leaves the selection as it is.
            for (int i = 0; i < count; ++i)
                if (FComboBoxSymbols.at(i).compare(Value, Qt::CaseInsensitive) == 0) {
                    FComboBox->setCurrentIndex(i);
                    FComboBox->setEditText(FComboBox->itemText(i));
                    break;
                }
        } else {
            FComboBox->setCurrentText(Value);
        }
    }
    EditorChanged();
}

// ---------------------------------------------------------------------------
// Date

QString TPanel::DateValue() const {
    if (!FDateTimePicker)
        return {};
    const QString text = FDateTimePicker->date().toString(QStringLiteral("yyyy-MM-dd"));
    return FDateTimePicker->DateVisible() ? text : QLatin1Char('H') + text;
}

void TPanel::SetDateValue(const QString& Value) {
    if (!FDateTimePicker)
        return;
    const bool blank = Value.contains(QLatin1Char('H'));
    const QDate date = ParseStoredDate(QString(Value).remove(QLatin1Char('H')));
    {
        const QScopedValueRollback<bool> quiet(FUpdating, true);
        if (date.isValid()) {
            FDateTimePicker->setDate(date);
            FDateTimePicker->SetDateVisible(!blank);
        } else {
            FDateTimePicker->setDate(QDate::currentDate());
            FDateTimePicker->SetDateVisible(false);
        }
    }
    EditorChanged();
}

// ---------------------------------------------------------------------------
// Check-box group and radio group

QString TPanel::CheckBoxGroupValue() const {
    QStringList items;
    for (const TCheckBox* box : GroupCheckBoxes())
        items.append(box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    return items.join(QLatin1Char(','));
}

void TPanel::SetCheckBoxGroupValue(const QString& Value) {
    const QStringList items = Value.split(QLatin1Char(','));
    const QList<TCheckBox*> boxes = GroupCheckBoxes();
    {
        const QScopedValueRollback<bool> quiet(FUpdating, true);
        for (int i = 0; i < boxes.size() && i < items.size(); ++i) {
            bool ok = false;
            const int n = items.at(i).trimmed().toInt(&ok);
            // An empty or non-numeric item leaves its box as it is.
            if (ok)
                boxes.at(i)->setChecked(n != 0);
        }
    }
    EditorChanged();
}

QString TPanel::RadioGroupValue() const {
    const QList<TRadioButton*> buttons = GroupRadioButtons();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons.at(i)->isChecked())
            return QString::number(i);
    return QStringLiteral("-1");
}

void TPanel::SetRadioGroupValue(const QString& Value) {
    bool ok = false;
    const int n = Value.trimmed().toInt(&ok);
    if (!ok)
        return;
    // n selects the n-th button; a negative n (the "-1" of no choice) clears them all.
    const QList<TRadioButton*> buttons = GroupRadioButtons();
    {
        const QScopedValueRollback<bool> quiet(FUpdating, true);
        for (int i = 0; i < buttons.size(); ++i)
            buttons.at(i)->setChecked(i == n);
    }
    EditorChanged();
}
