// TPanel: building the editor for the field's kind.

#include "TCheckBox.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "TLabel.h"
#include "TRadioButton.h"
#include "uEwidarComponents_Panel.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// Widgets being freed stay children of the panel until the event loop deletes them
// (an editor may be rebuilt from inside its own change signal); searches skip them.
const char* const cDisposed = "ewidarDisposed";

template <class T> void Dispose(QLayout* Layout, T*& Widget) {
    if (!Widget)
        return;
    Layout->removeWidget(Widget);
    Widget->hide();
    Widget->setProperty(cDisposed, true);
    Widget->deleteLater();
    Widget = nullptr;
}

bool IsDisposed(const QObject* Object) {
    return Object->property(cDisposed).toBool();
}

void MakeBold(QWidget* Widget) {
    QFont f = Widget->font();
    f.setBold(true);
    Widget->setFont(f);
}

} // namespace

void TPanel::BuildEditor(const QString& Caption, TFieldType Kind, const TIntfPtr<IDataField>& DataField) {
    RegisterInOwnerFrame();
    FreeEditor();
    FCaption = Caption;
    FComponentType = Kind;
    if (Kind == ctStandard && DataField) {
        if (FCaption.isEmpty())
            FCaption = QString::fromStdU16String(DataField->GetCaption());
        const QString kindName = QString::fromStdU16String(DataField->GetFieldType());
        if (!kindName.isEmpty())
            FComponentType = StrToFieldType(kindName);
    }
    if (FComponentType == ctStandard) {
        FDataField = nullptr;
        return;
    }
    setFrameShape(QFrame::NoFrame);
    FFieldMargins = true;
    UpdateMargins();
    if (FComponentType != ctCheckBox)
        SetFieldCaption(FCaption);
    CreateEditor();
    FLastReportedValue.reset();
    BindLoadedField(DataField);
    FStartValue = Value();
    if (FDynamicField && !FReadOnly)
        CreateDynamicIcons();
    SetError(FError);
}

void TPanel::FreeEditor() {
    FreeDynamicIcons();
    if (FComboBox) {
        // The items survive a rebuild (read-only and back) of the same field.
        FComboBoxItemsKept = ComboBoxItems();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{FDateTimePicker, FMemo, FCheckBox, FComboBox, FEdit})
        if (w)
            disconnect(w, nullptr, this, nullptr);
    if (FCheckBox)
        FCheckBox->SetOnChange(nullptr);
    Dispose(FLayout, FBevel);
    Dispose(FLayout, FDateTimePicker);
    Dispose(FLayout, FMemo);
    Dispose(FLayout, FCheckBox);
    Dispose(FLayout, FComboBox);
    Dispose(FLayout, FReadOnlyLabel);
    if (FUseExistingControl) {
        // Design-time controls stay; only the panel's wiring goes.
        if (FEdit) {
            FEdit->removeEventFilter(this);
            FEdit->SetOnDictionaryClick(nullptr);
            FEdit->SetOnSpeciaButton(nullptr);
        }
        FEdit = nullptr;
        FCaptionLabel = nullptr;
    } else {
        Dispose(FLayout, FCaptionLabel);
        Dispose(FLayout, FEdit);
    }
    FEditFocusHooked = false;
    FControlShowError = false;
    FReadOnlyValue.clear();
}

int TPanel::TopIndex() const {
    int index = 0;
    if (FCaptionLabel && FLayout->indexOf(FCaptionLabel) >= 0)
        index = FLayout->indexOf(FCaptionLabel) + 1;
    if (FBevel && FLayout->indexOf(FBevel) >= 0)
        index = FLayout->indexOf(FBevel) + 1;
    return index;
}

void TPanel::InsertTop(QWidget* Widget, int Stretch) {
    FLayout->insertWidget(TopIndex(), Widget, Stretch);
    Widget->show();
}

void TPanel::SetFieldCaption(const QString& Caption) {
    if (!Caption.isEmpty() && !FCaptionLabel) {
        if (FUseExistingControl) {
            for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
                if (!IsDisposed(label) && label != FReadOnlyLabel) {
                    FCaptionLabel = label;
                    break;
                }
        }
        if (!FCaptionLabel) {
            auto* label = new TLabel(this);
            label->setObjectName(QStringLiteral("lblCaption"));
            label->setWordWrap(true);
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            FCaptionLabel = label;
            FLayout->insertWidget(0, label);
        }
        FCaptionLabel->setMouseTracking(true);
        FCaptionLabel->installEventFilter(this);
    }
    if (FCaptionLabel) {
        FCaptionLabel->setText(Caption);
        FCaptionLabel->setVisible(FCaptionVisible);
    }
    if (!FBevel) {
        FBevel = new QFrame(this);
        FBevel->setObjectName(QStringLiteral("Bevel"));
        FBevel->setFrameShape(QFrame::NoFrame);
        FBevel->setFixedHeight(2);
        const int at = FCaptionLabel ? FLayout->indexOf(FCaptionLabel) + 1 : 0;
        FLayout->insertWidget(at, FBevel);
    }
}

void TPanel::SetCaptionVisible(bool Value) {
    FCaptionVisible = Value;
    if (FCaptionLabel)
        FCaptionLabel->setVisible(Value);
}

QString TPanel::Description() const {
    return FCaptionLabel ? FCaptionLabel->text() : QString();
}

void TPanel::CreateEditor() {
    switch (FComponentType) {
    case ctEdit:
        CreateTextEditor();
        break;
    case ctDate:
        CreateDateEditor();
        break;
    case ctMemo:
        CreateMemoEditor();
        break;
    case ctCheckBox:
        CreateCheckBoxEditor();
        break;
    case ctComboBox:
        CreateComboEditor();
        break;
    case ctCheckBoxGroup:
    case ctRadioGroup:
        WireGroupChildren();
        break;
    case ctStandard:
        break;
    }
}

TLabel* TPanel::NewReadOnlyLabel(bool Fill) {
    auto* label = new TLabel(this);
    label->setObjectName(QStringLiteral("lblReadOnly"));
    MakeBold(label);
    label->SetPanel(this);
    label->setWordWrap(Fill);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The label never widens the panel: a long value is shortened instead.
    label->setSizePolicy(QSizePolicy::Ignored, Fill ? QSizePolicy::Expanding : QSizePolicy::Preferred);
    label->installEventFilter(this);
    FReadOnlyLabel = label;
    InsertTop(label, Fill ? 1 : 0);
    return label;
}

void TPanel::CreateTextEditor() {
    if (FReadOnly) {
        NewReadOnlyLabel(false);
        return;
    }
    if (FUseExistingControl)
        for (TEdit* edit : findChildren<TEdit*>(Qt::FindDirectChildrenOnly))
            if (!IsDisposed(edit)) {
                FEdit = edit;
                break;
            }
    if (!FEdit) {
        FEdit = new TEdit(this);
        FEdit->setObjectName(QStringLiteral("edtValue"));
        InsertTop(FEdit);
    }
    connect(FEdit, &QLineEdit::textChanged, this, &TPanel::EditorChanged);
    FEdit->SetOnSpeciaButton([this](TEdit*) { IconClick(); });
    FEdit->SetOnDictionaryClick([this](TEdit*) { DictionaryClick(); });
    UpdateDictionaryIcon();
}

void TPanel::CreateDateEditor() {
    if (FReadOnly) {
        NewReadOnlyLabel(false);
        return;
    }
    FDateTimePicker = new TDateTimePicker(this);
    FDateTimePicker->setObjectName(QStringLiteral("dtpValue"));
    FDateTimePicker->setDate(QDate::currentDate());
    InsertTop(FDateTimePicker);
    connect(FDateTimePicker, &QDateEdit::dateChanged, this, &TPanel::EditorChanged);
    // An impossible typed date leaves the value as it was and marks the field.
    connect(FDateTimePicker, &TDateTimePicker::TypedDateInvalidChanged, this, [this](bool Invalid) {
        const TError error{etValidate, QStringLiteral("Nieprawidłowa data (dzień.miesiąc.rok).")};
        if (Invalid)
            SetError(error);
        else if (FError == error)
            ClearError();
    });
    // Blanking or showing the date (a key, a calendar pick) changes only what the
    // picker displays: look at the value again after each.
    FDateTimePicker->installEventFilter(this);
    connect(FDateTimePicker, &TDateTimePicker::CalendarPicked, this, &TPanel::EditorChanged);
}

void TPanel::CreateMemoEditor() {
    if (FReadOnly) {
        NewReadOnlyLabel(true);
        return;
    }
    FMemo = new QPlainTextEdit(this);
    FMemo->setObjectName(QStringLiteral("memValue"));
    FMemo->setTabChangesFocus(true);
    FMemo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    FMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FMemo->installEventFilter(this);
    InsertTop(FMemo, 1);
    connect(FMemo, &QPlainTextEdit::textChanged, this, &TPanel::EditorChanged);
}

void TPanel::CreateCheckBoxEditor() {
    FCheckBox = new TCheckBox(FCaption, this);
    FCheckBox->setObjectName(QStringLiteral("chkValue"));
    FCheckBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    FCheckBox->SetOnChange([this](TCheckBox*) { EditorChanged(); });
    InsertTop(FCheckBox);
    FCheckBox->setEnabled(!FReadOnly);
    setEnabled(!FReadOnly);
}

void TPanel::CreateComboEditor() {
    FModifyCaseSensitive = false;
    if (FReadOnly) {
        NewReadOnlyLabel(false);
        return;
    }
    FComboBox = new QComboBox(this);
    FComboBox->setObjectName(QStringLiteral("cbbValue"));
    FComboBox->setEditable(true);
    // Typed text never becomes an item: the items stay parallel to the stored symbols.
    FComboBox->setInsertPolicy(QComboBox::NoInsert);
    {
        const QSignalBlocker block(FComboBox);
        FComboBox->addItems(FComboBoxItemsKept);
        FComboBox->setCurrentIndex(-1);
    }
    InsertTop(FComboBox);
    connect(FComboBox, &QComboBox::currentIndexChanged, this, &TPanel::EditorChanged);
    connect(FComboBox, &QComboBox::editTextChanged, this, &TPanel::EditorChanged);
}

void TPanel::WireGroupChildren() {
    for (TCheckBox* box : GroupCheckBoxes()) {
        box->setEnabled(!FReadOnly);
        box->SetOnChange([this](TCheckBox*) { EditorChanged(); });
    }
    for (TRadioButton* button : GroupRadioButtons()) {
        button->setFocusPolicy(Qt::ClickFocus);
        button->setEnabled(!FReadOnly);
        button->SetOnChange([this](TRadioButton* sender) { RadioChanged(sender); });
    }
}

namespace {

// The controls of type T placed in the panel, also inside plain layout widgets, but not
// inside another panel; in creation order.
template <class T> QList<T*> GroupChildren(const TPanel* Panel, const QWidget* Exclude) {
    QList<T*> result;
    for (T* w : Panel->findChildren<T*>()) {
        if (w == Exclude || IsDisposed(w))
            continue;
        const QWidget* owner = w->parentWidget();
        while (owner && owner != Panel && !qobject_cast<const TPanel*>(owner))
            owner = owner->parentWidget();
        if (owner == Panel)
            result.append(w);
    }
    return result;
}

} // namespace

QList<TCheckBox*> TPanel::GroupCheckBoxes() const {
    return GroupChildren<TCheckBox>(this, FCheckBox);
}

QList<TRadioButton*> TPanel::GroupRadioButtons() const {
    return GroupChildren<TRadioButton>(this, nullptr);
}

QStringList TPanel::ComboBoxItems() const {
    QStringList items;
    if (FComboBox)
        for (int i = 0; i < FComboBox->count(); ++i)
            items.append(FComboBox->itemText(i));
    return items;
}

void TPanel::AddComboBoxSymbolItem(const QString& Symbol, const QString& Caption) {
    if (!FComboBox)
        return;
    const QSignalBlocker block(FComboBox);
    // Adding the first item must not select it: the shown value stays as it was.
    const bool first = FComboBox->count() == 0;
    const QString text = FComboBox->currentText();
    FComboBoxSymbols.append(Symbol);
    FComboBox->addItem(Caption);
    if (first) {
        FComboBox->setCurrentIndex(-1);
        FComboBox->setEditText(text);
    }
}

void TPanel::AddComboBoxSymbolItem(const TComboBoxSymbolItemRecord& Item) {
    AddComboBoxSymbolItem(Item.Symbol, Item.Caption);
}
