// TPanel: life cycle, binding, posting, look. Building the editor, the value forms,
// the error display and the icons are in the other uEwidarComponents_Panel*.cpp files.

#include "uEwidarComponents_Panel.h"

#include "TCheckBox.h"
#include "TEdit.h"
#include "TRadioButton.h"
#include "uEwidarComponents_Balloon.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

QList<TPanel*>& Panels() {
    static QList<TPanel*> panels;
    return panels;
}

TFieldDictionaryHandler& DictionaryHandler() {
    static TFieldDictionaryHandler handler;
    return handler;
}

} // namespace

TPanel::TPanel(QWidget* Parent) : QFrame(Parent) {
    FHeader = new THeader(this);
    FLayout = new QVBoxLayout(this);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
    // Top-aligned parts stay at the top; a filling part (memo, grid) takes the rest.
    FLayout->setAlignment(Qt::AlignTop);
    setFrameShape(QFrame::NoFrame);
    Panels().append(this);
}

TPanel::~TPanel() {
    Panels().removeOne(this);
    if (TErrorBalloon* balloon = TErrorBalloon::Existing())
        balloon->HideFor(this);
    // Children outlive this part of the object: stop them calling back into it.
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
    for (TCheckBox* box : findChildren<TCheckBox*>())
        box->SetOnChange(nullptr);
    for (TRadioButton* button : findChildren<TRadioButton*>())
        button->SetOnChange(nullptr);
    if (FEdit) {
        FEdit->SetOnDictionaryClick(nullptr);
        FEdit->SetOnSpeciaButton(nullptr);
    }
}

const QList<TPanel*>& TPanel::AllPanels() {
    return Panels();
}

void TPanel::ReapplyAllErrors() {
    // A copy: re-applying an error never creates or frees panels, but stay safe.
    const QList<TPanel*> panels = Panels();
    for (TPanel* panel : panels)
        panel->SetError(panel->Error());
}

void TPanel::SetFieldDictionaryHandler(TFieldDictionaryHandler Handler) {
    DictionaryHandler() = std::move(Handler);
}

const TFieldDictionaryHandler& TPanel::FieldDictionaryHandler() {
    return DictionaryHandler();
}

// ---------------------------------------------------------------------------
// Descriptor, read-only switch, binding

void TPanel::SetField(const TInternalFieldRecord& Field) {
    FInternalFieldRecord = Field;
    // Items belong to the previous descriptor's combo box.
    FComboBoxSymbols.clear();
    FComboBoxItemsKept.clear();
    BuildEditor(Field.Description, Field.FieldType, nullptr);
}

void TPanel::SetReadOnly(bool Value) {
    FReadOnly = Value;
    BuildEditor(FCaption, FComponentType, FDataField);
}

void TPanel::SetDataField(const TIntfPtr<IDataField>& DataField) {
    if (FComponentType == ctStandard) {
        // Nothing was built: the data field may name the kind to build.
        if (DataField)
            BuildEditor(FCaption.isEmpty() ? FInternalFieldRecord.Description : FCaption, ctStandard,
                        DataField);
        else
            FDataField = nullptr;
        return;
    }
    BindLoadedField(DataField);
    FStartValue = Value();
}

void TPanel::SetDataFields(const TIntfPtr<IDataFields>& DataFields) {
    const QString symbol = FInternalFieldRecord.Symbol;
    if (symbol.isEmpty() || !DataFields) {
        SetDataField(nullptr);
        return;
    }
    SetDataField(DataFields->GetDataField(symbol.toStdU16String()));
}

void TPanel::BindLoadedField(const TIntfPtr<IDataField>& DataField) {
    FDataField = DataField;
    if (!DataField) {
        ClearEditorValue();
        return;
    }
    LoadValue(QString::fromStdU16String(DataField->GetValue()));
    if (DataField->GetCaption().empty())
        DataField->SetCaption(FCaption.toStdU16String());
    if (DataField->GetFieldType().empty())
        DataField->SetFieldType(FieldTypeToStr(FComponentType).toStdU16String());
}

void TPanel::SetSlownik(const TIntfPtr<ISlownik>& Slownik) {
    const QString symbol = FInternalFieldRecord.Symbol;
    if (!symbol.isEmpty() && Slownik)
        FSlownik = Slownik->GetWordList(symbol.toStdU16String());
    else
        FSlownik = nullptr;
    UpdateDictionaryIcon();
}

void TPanel::SetDynamicField(const TIntfPtr<IDynamicField>& DynamicField) {
    FDynamicField = DynamicField;
    FreeDynamicIcons();
    if (FDynamicField)
        CreateDynamicIcons();
}

// ---------------------------------------------------------------------------
// Modification and posting

bool TPanel::Modified() const {
    const QString current = Value();
    if (FModifyCaseSensitive)
        return FStartValue != current;
    return FStartValue.toUpper() != current.toUpper();
}

void TPanel::Post() {
    const QString value = Value();
    if (FDataField) {
        FDataField->SetCaption(FCaption.toStdU16String());
        FDataField->SetValue(value.toStdU16String());
        FDataField->SetFieldType(FieldTypeToStr(FComponentType).toStdU16String());
    }
    // A blank value is no word worth remembering.
    if (FSlownik && (FComponentType == ctEdit || FComponentType == ctMemo) && !value.trimmed().isEmpty()) {
        FSlownik->AddWord(value.toStdU16String());
        UpdateDictionaryIcon();
    }
    FStartValue = value;
}

// ---------------------------------------------------------------------------
// Frame, related panels

TFrame* TPanel::OwnerFrame() {
    if (!FOwnerFrame) {
        for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
            if (auto* frame = qobject_cast<TFrame*>(w)) {
                FOwnerFrame = frame;
                break;
            }
        }
    }
    return FOwnerFrame;
}

void TPanel::SetOwnerFrame(TFrame* Frame) {
    if (FOwnerFrame && FOwnerFrame != Frame)
        FOwnerFrame->RemovePanel(this);
    FOwnerFrame = Frame;
    if (Frame)
        Frame->AddPanel(this);
}

void TPanel::RegisterInOwnerFrame() {
    if (TFrame* frame = OwnerFrame())
        frame->AddPanel(this);
}

void TPanel::SetValidateRefCompoments(const QList<TPanel*>& Panels) {
    FValidateRefCompoments.clear();
    for (TPanel* panel : Panels)
        FValidateRefCompoments.append(panel);
}

TPanel* TPanel::ValidateRef(int Index) const {
    if (Index < 0 || Index >= FValidateRefCompoments.size())
        return nullptr;
    return FValidateRefCompoments.at(Index);
}

// ---------------------------------------------------------------------------
// Look: borders, header, colours, enabling

void TPanel::SetBorderBottom(bool Value) {
    FBorderBottom = Value;
    HeaderChanged();
}

void TPanel::SetBorderLeft(bool Value) {
    FBorderLeft = Value;
    HeaderChanged();
}

void TPanel::SetBorderRight(bool Value) {
    FBorderRight = Value;
    HeaderChanged();
}

void TPanel::HeaderChanged() {
    if (THeaderStrip* strip = FHeader->Strip()) {
        strip->setGeometry(0, 0, width(), FHeader->StripHeight());
        strip->raise();
        strip->update();
    }
    UpdateMargins();
    update();
}

void TPanel::UpdateMargins() {
    const bool strip = FHeader->HasStrip();
    const int field = FFieldMargins ? 5 : 0;
    // With a strip the grey frame is drawn inside the panel: keep the content off it.
    const int left = qMax(field, strip && FBorderLeft ? 1 : 0);
    const int right = qMax(field, strip && FBorderRight ? 1 : 0);
    const int top = strip ? FHeader->StripHeight() : 0;
    const int bottom = strip && FBorderBottom ? 1 : 0;
    FLayout->setContentsMargins(left, top, right, bottom);
}

void TPanel::SetButtonsColor() {
    FButtonsColor = true;
    ApplyPanelBackground();
}

void TPanel::ApplyPanelBackground() {
    QPalette pal = palette();
    const bool errorOnPanel =
        FErrorShown && FErrorDisplayColor.isValid() &&
        (FReadOnly || FComponentType == ctCheckBox || FComponentType == ctCheckBoxGroup ||
         FComponentType == ctRadioGroup || FComponentType == ctStandard);
    if (errorOnPanel) {
        pal.setColor(QPalette::Window, FErrorDisplayColor);
        setAutoFillBackground(true);
    } else if (FButtonsColor) {
        pal.setColor(QPalette::Window, ButtonsColor());
        setAutoFillBackground(true);
    } else {
        setAutoFillBackground(false);
    }
    setPalette(pal);
    update();
}

void TPanel::changeEvent(QEvent* Event) {
    QFrame::changeEvent(Event);
    if (Event->type() != QEvent::EnabledChange)
        return;
    // Only the panel's own switch is passed on; a disabled ancestor disables the
    // children anyway and must not leave them switched off for good.
    const bool own = !testAttribute(Qt::WA_ForceDisabled);
    if (own == FOwnEnabled)
        return;
    FOwnEnabled = own;
    for (QObject* child : children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            w->setEnabled(own);
}

void TPanel::resizeEvent(QResizeEvent* Event) {
    QFrame::resizeEvent(Event);
    if (THeaderStrip* strip = FHeader->Strip())
        strip->setGeometry(0, 0, width(), FHeader->StripHeight());
    PlaceDynamicIcons();
}

void TPanel::paintEvent(QPaintEvent* Event) {
    QFrame::paintEvent(Event);
    QPainter p(this);
    if (FHeader->HasStrip()) {
        p.setPen(cLineColor);
        const int right = width() - 1;
        const int bottom = height() - 1;
        p.drawLine(0, 0, right, 0);
        if (FBorderBottom)
            p.drawLine(0, bottom, right, bottom);
        if (FBorderLeft)
            p.drawLine(0, 0, 0, bottom);
        if (FBorderRight)
            p.drawLine(right, 0, right, bottom);
        return;
    }
    const QRect icon = IconArea();
    if (!icon.isEmpty())
        p.drawPixmap(width() - FIcon.width() - 4, -1, FIcon);
}
