#include "uDynamicFieldsFrame.h"

#include "TScrollBox.h"
#include "uButtonStrip.h"
#include "uEditingPictures.h"
#include "uEwidarKinds.h"
#include "uFieldSettingsForm.h"
#include "uFindFieldsForm.h"
#include "uUserMessagesModule.h"

#include <QHBoxLayout>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString Text(const std::u16string& S) {
    return QString::fromStdU16String(S);
}

} // namespace

TDynamicFieldsFrame::TDynamicFieldsFrame(QWidget* Parent) : TFrame(Parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    pnlDynamicFieldContainer = new TPanel(this);
    pnlDynamicFieldContainer->setObjectName(QStringLiteral("pnlDynamicFieldContainer"));
    pnlDynamicFieldContainer->Header()->SetCaptionLabel(QStringLiteral("Pola użytkownika"));
    outer->addWidget(pnlDynamicFieldContainer);
    QVBoxLayout* inner = pnlDynamicFieldContainer->Layout();

    DynamicFieldsBevel = new QFrame(pnlDynamicFieldContainer);
    DynamicFieldsBevel->setObjectName(QStringLiteral("DynamicFieldsBevel"));
    DynamicFieldsBevel->setFrameShape(QFrame::HLine);
    DynamicFieldsBevel->setFrameShadow(QFrame::Sunken);
    inner->addWidget(DynamicFieldsBevel);

    pnlInterface = new QWidget(pnlDynamicFieldContainer);
    pnlInterface->setObjectName(QStringLiteral("pnlInterface"));
    auto* bar = new QHBoxLayout(pnlInterface);
    bar->setContentsMargins(0, 0, 0, 0);
    btnAddField = FlatButton(pnlInterface, "btnAddField", QStringLiteral("Dodaj pole"));
    btnAddField->setIcon(EditingPictures::AddFieldGlyph());
    btnFindFields = FlatButton(pnlInterface, "btnFindFields", QStringLiteral("Znajdź usunięte pola"));
    bar->addWidget(btnAddField);
    bar->addWidget(btnFindFields);
    bar->addStretch(1);
    inner->addWidget(pnlInterface);

    DynamicFieldContainer = new TScrollBox(pnlDynamicFieldContainer);
    DynamicFieldContainer->setObjectName(QStringLiteral("DynamicFieldContainer"));
    DynamicFieldContainer->setWidgetResizable(true);
    DynamicFieldContainer->setFrameShape(QFrame::NoFrame);
    m_content = new QWidget;
    m_contentLayout = new QVBoxLayout(m_content);
    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    m_contentLayout->setSpacing(4);
    m_contentLayout->addStretch(1);
    DynamicFieldContainer->setWidget(m_content);
    inner->addWidget(DynamicFieldContainer, 1);

    connect(btnAddField, &QToolButton::clicked, this, &TDynamicFieldsFrame::btnAddFieldClick);
    connect(btnFindFields, &QToolButton::clicked, this, &TDynamicFieldsFrame::btnFindFieldsClick);
}

int TDynamicFieldsFrame::PanelHeight(const QString& KindName) {
    if (KindName == QLatin1String("ctMemo"))
        return 80;
    if (KindName == QLatin1String("ctCheckBox"))
        return 20;
    return 40;
}

QList<TPanel*> TDynamicFieldsFrame::DynamicComponents() const {
    QList<TPanel*> panels;
    for (const QPointer<TPanel>& p : FDynamicComponents)
        if (p)
            panels.append(p);
    return panels;
}

void TDynamicFieldsFrame::ClearPanels() {
    for (TPanel* panel : DynamicComponents()) {
        if (FOwnerFrame)
            FOwnerFrame->RemovePanel(panel);
        delete panel;
    }
    FDynamicComponents.clear();
}

void TDynamicFieldsFrame::CreateDynamicFields(TFrame* OwnerFrame, const TIntfPtr<IEwidarRecord>& Record,
                                              const TIntfPtr<IDynamicFields>& Definitions) {
    ClearPanels();
    FOwnerFrame = OwnerFrame;
    FEwidarRecord = Record;
    FDynamicFields = Definitions;
    if (!FDynamicFields)
        return;
    const int32_t count = FDynamicFields->GetCount();
    for (int32_t i = 0; i < count; ++i)
        AddFieldPanel(FDynamicFields->GetItem(i));
}

bool TDynamicFieldsFrame::AddFieldPanel(const TIntfPtr<IDynamicField>& Definition) {
    if (!FEwidarRecord || !Definition || Definition->GetDescription().empty() ||
        Definition->GetSymbol().empty() || Definition->GetFieldType().empty())
        return false;
    auto* panel = new TPanel(m_content);
    panel->setObjectName(QStringLiteral("pnlDynamic_%1").arg(Text(Definition->GetSymbol())));
    FDynamicComponents.append(panel);
    m_contentLayout->insertWidget(m_contentLayout->count() - 1, panel);
    SetupPanel(panel, Definition);
    return true;
}

void TDynamicFieldsFrame::SetupPanel(TPanel* Panel, const TIntfPtr<IDynamicField>& Definition) {
    const QString kind = Text(Definition->GetFieldType());
    Panel->SetOwnerFrame(FOwnerFrame);
    Panel->SetField(
        TInternalFieldRecord::Create(QString(), Text(Definition->GetDescription()), StrToFieldType(kind)));
    // The kind's height, unless caption and editor need more in this font.
    Panel->setMinimumHeight(0);
    Panel->setMaximumHeight(QWIDGETSIZE_MAX);
    Panel->setFixedHeight(qMax(PanelHeight(kind), Panel->minimumSizeHint().height()));
    TIntfPtr<IDataField> field;
    if (TIntfPtr<IDataFields> fields = FEwidarRecord->GetDataFields())
        field = fields->GetDataField(Definition->GetSymbol());
    Panel->SetDataField(field);
    Panel->SetDynamicField(Definition);
    Panel->SetDynamicIconOnClick(
        [this](QObject*, TPanel* Owner, TDynamicIconAction Action) { DynamicIconClick(Owner, Action); });
}

void TDynamicFieldsFrame::ReLayout() {
    m_content->setUpdatesEnabled(false);
    for (TPanel* panel : DynamicComponents())
        m_contentLayout->removeWidget(panel);
    int index = 0;
    for (TPanel* panel : DynamicComponents())
        m_contentLayout->insertWidget(index++, panel);
    m_content->setUpdatesEnabled(true);
}

void TDynamicFieldsFrame::DynamicIconClick(TPanel* Panel, TDynamicIconAction Action) {
    if (Action == diaEdit)
        EditField(Panel);
    else
        DeleteField(Panel);
}

void TDynamicFieldsFrame::btnAddFieldClick() {
    if (!FDynamicFields || !FEwidarRecord)
        return;
    const TIntfPtr<IDynamicField> definition = FDynamicFields->AddField();
    if (!definition || !ShowFieldSettings(window(), FOwnerFrame, definition))
        return;
    if (definition->PostDefinition())
        AddFieldPanel(definition);
    else
        ShowUserMessage(uint32_t(definition->GetLastErrorCode()), window());
}

void TDynamicFieldsFrame::EditField(TPanel* Panel) {
    const TIntfPtr<IDynamicField> definition = Panel->DynamicField();
    if (!definition)
        return;
    const std::u16string symbol = definition->GetSymbol();
    const std::u16string description = definition->GetDescription();
    const std::u16string kind = definition->GetFieldType();
    if (!ShowFieldSettings(window(), FOwnerFrame, definition))
        return;
    // Stored first: a refused change leaves the definition and its panel as they were.
    if (!definition->PostDefinition()) {
        ShowUserMessage(uint32_t(definition->GetLastErrorCode()), window());
        definition->SetSymbol(symbol);
        definition->SetDescription(description);
        definition->SetFieldType(kind);
        return;
    }
    // The panel is built afresh for the changed definition; a value typed into it and not
    // yet posted goes into the new editor and still counts as a change.
    const bool typed = Panel->Modified();
    const QString value = Panel->Value();
    SetupPanel(Panel, definition);
    if (typed)
        Panel->SetValue(value);
    ReLayout();
}

void TDynamicFieldsFrame::DeleteField(TPanel* Panel) {
    const TIntfPtr<IDynamicField> definition = Panel->DynamicField();
    if (!definition)
        return;
    if (ShowUserMessage(311, {Text(definition->GetSymbol())}, window()) != ModalResult::mrYes)
        return;
    // A definition that could not be deleted keeps its panel.
    if (!definition->DeleteDefinition()) {
        ShowUserMessage(310, window());
        return;
    }
    FDynamicComponents.removeAll(Panel);
    if (FOwnerFrame)
        FOwnerFrame->RemovePanel(Panel);
    // Freed once control is back in the event loop: the click that asked for it came from the panel.
    Panel->hide();
    Panel->deleteLater();
    ReLayout();
}

QList<QStringList> TDynamicFieldsFrame::OrphanedValues() const {
    QList<QStringList> rows;
    if (!FEwidarRecord || !FOwnerFrame)
        return rows;
    const TIntfPtr<IDataFields> fields = FEwidarRecord->GetDataFields();
    if (!fields)
        return rows;
    QSet<QString> fixed;
    for (const TInternalFieldRecord& f : FieldsOfKind(EwidarKinds::KindPosition(FEwidarRecord.get())))
        fixed.insert(f.Symbol.toUpper());
    const int32_t count = fields->GetCount();
    for (int32_t i = 0; i < count; ++i) {
        const QString symbol = Text(fields->GetSymbol(i));
        if (symbol.isEmpty() || fixed.contains(symbol.toUpper()) || FOwnerFrame->SymbolExists(symbol))
            continue;
        const TIntfPtr<IDataField> field = fields->GetDataField(symbol.toStdU16String());
        if (!field)
            continue;
        rows.append(
            {symbol, Text(field->GetValue()), Text(field->GetCaption()), Text(field->GetFieldType())});
    }
    return rows;
}

void TDynamicFieldsFrame::btnFindFieldsClick() {
    const QList<QStringList> rows = OrphanedValues();
    if (rows.isEmpty()) {
        ShowUserMessage(314, window());
        return;
    }
    for (const TIntfPtr<IDynamicField>& definition :
         ShowFindFields(window(), rows, FOwnerFrame, FDynamicFields))
        AddFieldPanel(definition);
}
