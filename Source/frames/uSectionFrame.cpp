#include "uSectionFrame.h"

#include "TCheckBox.h"
#include "TEdit.h"
#include "TRadioButton.h"
#include "uCommaText.h"
#include "uEditingPictures.h"
#include "uFrameOpeners.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// Width and length of a two-letter country code edit.
constexpr int kCountryCodeWidth = 40;
constexpr int kCountryCodeLength = 2;
// Room beside a section title in its header (borders, padding, a picture).
constexpr int kTitleMargin = 40;

const char* IconHint(TFrameDictionary Dictionary) {
    switch (Dictionary) {
    case fdKrajKod:
    case fdKrajNazwa:
    case fdKraj:
        return "Tablica krajów";
    case fdPowiat:
        return "Tablica powiatów";
    case fdGmina:
        return "Tablica gmin";
    case fdMiejscowosc:
        return "Tablica miejscowości";
    default:
        return nullptr;
    }
}

} // namespace

void AddGroupOptions(TPanel* Panel, const TInternalFieldRecord& Field) {
    const QStringList options = GroupFieldOptions(Field.Symbol);
    auto* line = new QWidget(Panel);
    line->setObjectName(QStringLiteral("pnlOptions"));
    QBoxLayout* layout = Field.FieldType == ctRadioGroup ? static_cast<QBoxLayout*>(new QHBoxLayout(line))
                                                         : new QVBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < options.size(); ++i) {
        QWidget* box = Field.FieldType == ctRadioGroup
                           ? static_cast<QWidget*>(new TRadioButton(options[i], line))
                           : new TCheckBox(options[i], line);
        box->setObjectName(QStringLiteral("%1%2")
                               .arg(Field.FieldType == ctRadioGroup ? QStringLiteral("RadioButton")
                                                                    : QStringLiteral("CheckBox"))
                               .arg(i));
        layout->addWidget(box);
    }
    if (Field.FieldType == ctRadioGroup)
        layout->addStretch(1);
    Panel->Layout()->addWidget(line);
}

namespace {

QFrame* NewBevel(QWidget* Parent, const char* Name) {
    auto* bevel = new QFrame(Parent);
    bevel->setObjectName(QLatin1String(Name));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

TSectionPanel AddressRow(const char* Name, const QString& Prefix, const char* Suffix,
                         TFrameDictionary Dictionary = fdNone, bool SameRow = false) {
    const TInternalFieldRecord* field = FindField(Prefix + QLatin1String(Suffix));
    Q_ASSERT(field);
    return {.Name = Name, .Field = field, .Dictionary = Dictionary, .SameRow = SameRow};
}

} // namespace

QList<TSectionPanel> AddressPanels(const QString& Prefix) {
    return {
        AddressRow("pnlKraj", Prefix, "Kraj", fdKraj),
        AddressRow("pnlWojewodztwo", Prefix, "Wojewodztwo", fdWojewodztwa),
        AddressRow("pnlPowiat", Prefix, "Powiat", fdPowiat),
        AddressRow("pnlGmina", Prefix, "Gmina", fdGmina),
        AddressRow("pnlDzielnica", Prefix, "Dzielnica"),
        AddressRow("pnlMiejscowosc", Prefix, "Miejscowosc", fdMiejscowosc),
        AddressRow("pnlUlica", Prefix, "Ulica"),
        AddressRow("pnlNrDomu", Prefix, "NrDomu"),
        AddressRow("pnlNrLokalu", Prefix, "NrLokalu", fdNone, true),
        AddressRow("pnlKodPocztowy", Prefix, "KodPocztowy"),
        AddressRow("pnlPoczta", Prefix, "Poczta", fdNone, true),
    };
}

TSectionFrame::TSectionFrame(const TSectionDescription& Description, QWidget* Parent)
    : TBaseFrame(Parent), FDescription(Description) {
    setObjectName(QLatin1String(Description.ClassName).mid(1));
    TPanel* container = CreateContainer(Description.Title);
    // Wide enough for the declared width and for the whole title in the header's bold font.
    QFont bold = font();
    bold.setBold(true);
    container->setMinimumWidth(
        std::max(Description.Width, QFontMetrics(bold).horizontalAdvance(Description.Title) + kTitleMargin));
    QHBoxLayout* line = nullptr;
    for (const TSectionPanel& row : Description.Panels)
        BuildPanel(row, line);
    // Rules and related panels once every panel exists (a rule may relate to a later one).
    for (const TSectionPanel& row : Description.Panels) {
        TPanel* panel = Panel(row.Name);
        panel->SetOnValidate(row.Rule);
        QList<TPanel*> refs;
        for (const char* name : row.Refs)
            refs.append(Panel(name));
        panel->SetValidateRefCompoments(refs);
    }
    container->Layout()->addStretch(1);
    ApplyShapes();
}

void TSectionFrame::BuildPanel(const TSectionPanel& Row, QHBoxLayout*& Line) {
    QVBoxLayout* column = pnlContainer->Layout();
    if (Row.BevelBefore)
        column->addWidget(NewBevel(pnlContainer, Row.BevelBefore));
    auto* panel = new TPanel(pnlContainer);
    panel->setObjectName(QLatin1String(Row.Name));
    m_panels.insert(QLatin1String(Row.Name), panel);
    if (Row.SameRow && column->count() > 0) {
        if (!Line) {
            // The panel before moves into a row shared with this one.
            QLayoutItem* last = column->itemAt(column->count() - 1);
            QWidget* before = last->widget();
            column->removeItem(last);
            delete last;
            Line = new QHBoxLayout;
            Line->setSpacing(0);
            Line->addWidget(before, 1);
            column->addLayout(Line);
        }
        Line->addWidget(panel, 1);
    } else {
        Line = nullptr;
        column->addWidget(panel);
    }
    if (Row.Field->FieldType == ctCheckBoxGroup || Row.Field->FieldType == ctRadioGroup)
        AddGroupOptions(panel, *Row.Field);
    panel->SetField(*Row.Field);
    if (Row.Dictionary == fdWojewodztwa) {
        for (const QString& name : ParseCommaText(FrameOpeners::Dictionaries()->WojewodztwaCommaText()))
            panel->AddComboBoxSymbolItem(name, name);
    } else if (const char* hint = IconHint(Row.Dictionary)) {
        panel->SetIcon(EditingPictures::TableIcon());
        panel->SetIconHint(QString::fromUtf8(hint));
        const TFrameDictionary dictionary = Row.Dictionary;
        panel->SetOnIconClick([this, dictionary](TPanel* Sender) { RunDictionary(Sender, dictionary); });
    }
}

TPanel* TSectionFrame::Panel(const char* Name) const {
    return m_panels.value(QLatin1String(Name));
}

QWidget* TSectionFrame::Bevel(const char* Name) const {
    return pnlContainer->findChild<QFrame*>(QLatin1String(Name), Qt::FindDirectChildrenOnly);
}

void TSectionFrame::AddBelowPanels(QWidget* Widget, int Stretch) {
    // Above the container's closing stretch, a little apart from the last panel.
    QVBoxLayout* column = pnlContainer->Layout();
    column->insertSpacing(column->count() - 1, 4);
    column->insertWidget(column->count() - 1, Widget, Stretch);
}

void TSectionFrame::SetKontekst(TKontekst Value) {
    TBaseFrame::SetKontekst(Value);
    if (FDescription.Refuses.contains(Value))
        throw EFrameContextError(QLatin1String(FDescription.ClassName));
}

void TSectionFrame::SetReadOnly(bool Value) {
    TBaseFrame::SetReadOnly(Value);
    ApplyShapes();
}

void TSectionFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    const TIntfPtr<IDataFields> fields = Record ? Record->GetDataFields() : TIntfPtr<IDataFields>();
    for (const TSectionPanel& row : FDescription.Panels) {
        if (row.Shape != psDropDownList || !fields)
            continue;
        TPanel* panel = Panel(row.Name);
        const TIntfPtr<IDataField> field = fields->GetDataField(row.Field->Symbol.toStdU16String());
        const QString value = field ? QString::fromStdU16String(field->GetValue()) : QString();
        if (!value.isEmpty() && !panel->ComboBoxSymbols().contains(value, Qt::CaseInsensitive))
            panel->AddComboBoxSymbolItem(value, value);
    }
    TBaseFrame::SetEwidarRecord(Record);
}

void TSectionFrame::ApplyShapes() {
    for (const TSectionPanel& row : FDescription.Panels) {
        TPanel* panel = Panel(row.Name);
        if (row.Shape == psCountryCode && panel->Edit()) {
            panel->Edit()->setFixedWidth(kCountryCodeWidth);
            // Typing stops at two letters; a longer stored value is shown whole, never
            // cut short on loading (which would change the record unasked).
            if (!panel->Edit()->validator())
                panel->Edit()->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral(".{0,%1}").arg(kCountryCodeLength)), panel->Edit()));
            panel->Layout()->setAlignment(panel->Edit(), Qt::AlignLeft);
        } else if (row.Shape == psDropDownList && panel->ComboBox()) {
            panel->ComboBox()->setEditable(false);
        }
    }
}

void TSectionFrame::RunDictionary(TPanel* Sender, TFrameDictionary Dictionary) {
    const auto value = [this](const char* Name) {
        TPanel* panel = Panel(Name);
        return panel ? panel->Value() : QString();
    };
    const std::shared_ptr<FrameOpeners::IFrameDictionaries> dictionaries = FrameOpeners::Dictionaries();
    QWidget* owner = window();
    FrameOpeners::TDictionaryResult result;
    switch (Dictionary) {
    case fdKrajKod:
        if (const QString code = dictionaries->Kraj(owner, Sender->Value()).KrajKod; !code.isEmpty())
            Sender->SetValue(code);
        return;
    case fdKrajNazwa:
        if (const QString name = dictionaries->Kraj(owner, Sender->Value()).KrajNazwa; !name.isEmpty())
            Sender->SetValue(name);
        return;
    case fdKraj:
        result = dictionaries->Kraj(owner, value("pnlKraj"));
        break;
    case fdPowiat:
        result = dictionaries->Powiat(owner, value("pnlWojewodztwo"), value("pnlPowiat"));
        break;
    case fdGmina:
        result = dictionaries->Gmina(owner, value("pnlWojewodztwo"), value("pnlPowiat"), value("pnlGmina"));
        break;
    case fdMiejscowosc:
        result = dictionaries->Miejscowosc(owner, value("pnlWojewodztwo"), value("pnlPowiat"),
                                           value("pnlGmina"), value("pnlMiejscowosc"));
        break;
    default:
        return;
    }
    const std::pair<const char*, const QString*> targets[] = {
        {"pnlKraj", &result.KrajNazwa},
        {"pnlKodKraju", &result.KrajKod},
        {"pnlWojewodztwo", &result.Wojewodztwo},
        {"pnlPowiat", &result.Powiat},
        {"pnlGmina", &result.Gmina},
        {"pnlMiejscowosc", &result.Miejscowosc},
        {"pnlUlica", &result.Ulica},
    };
    for (const auto& [name, text] : targets)
        if (TPanel* panel = Panel(name); panel && !text->isEmpty())
            panel->SetValue(*text);
}
