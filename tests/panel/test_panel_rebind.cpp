// Field panel: binding a panel to a second record shows that record's value and
// nothing of the first, for every editor kind, editable and read-only.

#include "FakeFields.h"
#include "PanelFixture.h"

#include <QComboBox>

namespace {

struct RebindCase {
    const char* Name;
    TFieldType Kind;
    // How the panel is built: plain, combo with symbols, or with group children.
    enum { Plain, Symbols, Boxes, Radios, Standard } Build;
    QString ValueA;
    // What an empty record reads back as (and is posted as).
    QString EmptyB;
};

void PrintTo(const RebindCase& c, std::ostream* os) {
    *os << c.Name;
}

QString BlankToday() {
    return QLatin1Char('H') + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

std::vector<RebindCase> RebindCases() {
    return {
        {"Edit", ctEdit, RebindCase::Plain, QStringLiteral("Kowalski"), QString()},
        {"Date", ctDate, RebindCase::Plain, QStringLiteral("1990-01-05"), BlankToday()},
        {"Memo", ctMemo, RebindCase::Plain, QStringLiteral("uwagi\nA"), QString()},
        {"CheckBox", ctCheckBox, RebindCase::Plain, QStringLiteral("1"), QString()},
        {"ComboWithSymbols", ctComboBox, RebindCase::Symbols, QStringLiteral("B"), QString()},
        {"ComboWithoutSymbols", ctComboBox, RebindCase::Plain, QStringLiteral("MAZOWIECKIE"), QString()},
        {"CheckBoxGroup", ctCheckBoxGroup, RebindCase::Boxes, QStringLiteral("1,0,1"),
         QStringLiteral("0,0,0")},
        {"RadioGroup", ctRadioGroup, RebindCase::Radios, QStringLiteral("1"), QStringLiteral("-1")},
        // The kind comes from the data field.
        {"StandardAsCombo", ctStandard, RebindCase::Standard, QStringLiteral("tekst A"), QString()},
    };
}

class RebindTest : public PanelFixture, public ::testing::WithParamInterface<std::tuple<RebindCase, bool>> {
protected:
    TPanel* Build(const RebindCase& c) {
        const QString symbol = QStringLiteral("cPole");
        switch (c.Build) {
        case RebindCase::Boxes:
            return AddGroup<TCheckBox>(Descriptor(symbol, QStringLiteral("Grupa:"), c.Kind),
                                       {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        case RebindCase::Radios:
            return AddGroup<TRadioButton>(Descriptor(symbol, QStringLiteral("Wybór:"), c.Kind),
                                          {QStringLiteral("a"), QStringLiteral("b")});
        case RebindCase::Symbols: {
            TPanel* panel = AddPanel(Descriptor(symbol, QStringLiteral("Kombi:"), c.Kind));
            panel->AddComboBoxSymbolItem(QStringLiteral("A"), QStringLiteral("Pierwszy"));
            panel->AddComboBoxSymbolItem(QStringLiteral("B"), QStringLiteral("Drugi"));
            return panel;
        }
        case RebindCase::Plain: {
            TPanel* panel = AddPanel(Descriptor(symbol, QStringLiteral("Pole:"), c.Kind));
            if (panel->ComboBox())
                panel->ComboBox()->addItems({QStringLiteral("MAZOWIECKIE"), QStringLiteral("ŚLĄSKIE")});
            return panel;
        }
        case RebindCase::Standard:
            return AddPanel(Descriptor(symbol, QString(), ctStandard));
        }
        return nullptr;
    }

    static TIntfPtr<TFakeDataFields> Record(const RebindCase& c, const QString& Value) {
        TIntfPtr<TFakeDataFields> fields(new TFakeDataFields);
        fields->Set(QStringLiteral("cPole"), Value);
        if (c.Build == RebindCase::Standard)
            fields->Field(QStringLiteral("cPole"))->m_kind = QStringLiteral("ctComboBox");
        return fields;
    }
};

TEST_P(RebindTest, SecondEmptyRecordGetsNothingOfTheFirst) {
    const auto& [c, readOnly] = GetParam();
    TPanel* panel = Build(c);
    ASSERT_NE(panel, nullptr);
    TIntfPtr<TFakeDataFields> a = Record(c, c.ValueA);
    panel->SetDataFields(TIntfPtr<IDataFields>(a.get()));
    if (readOnly)
        panel->SetReadOnly(true);
    ASSERT_EQ(panel->Value(), c.ValueA);

    // The second record never had this field filled in (its field is created on request).
    TIntfPtr<TFakeDataFields> b(new TFakeDataFields);
    if (c.Build == RebindCase::Standard)
        b->Field(QStringLiteral("cPole"))->m_kind = QStringLiteral("ctComboBox");
    QStringList reported;
    panel->SetOnChange([&](TPanel* p) { reported.append(p->Value()); });
    panel->SetDataFields(TIntfPtr<IDataFields>(b.get()));

    // A read-only date keeps the stored text as it is.
    const QString emptyB = readOnly && c.Kind == ctDate ? QString() : c.EmptyB;
    EXPECT_EQ(panel->Value(), emptyB);
    EXPECT_FALSE(panel->Modified());
    EXPECT_EQ(reported, QStringList{emptyB}) << "one change reported for the new value";
    if (panel->ComboBox()) {
        EXPECT_EQ(panel->ComboBox()->currentIndex(), -1);
    }
    panel->Post();
    EXPECT_EQ(b->Field(QStringLiteral("cPole"))->m_value, emptyB);
    EXPECT_EQ(a->Field(QStringLiteral("cPole"))->m_value, c.ValueA) << "the first record is not touched";

    // And back: the first record's value is shown again.
    panel->SetDataFields(TIntfPtr<IDataFields>(a.get()));
    EXPECT_EQ(panel->Value(), c.ValueA);
    EXPECT_FALSE(panel->Modified());
}

INSTANTIATE_TEST_SUITE_P(EveryKind, RebindTest,
                         ::testing::Combine(::testing::ValuesIn(RebindCases()), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) +
                                    (std::get<1>(info.param) ? "ReadOnly" : "Editable");
                         });

using RebindValueTest = PanelFixture;

TEST_F(RebindValueTest, StoredComboValueWithoutASymbolIsKeptAndPostedUnchanged) {
    TPanel* panel = AddPanel(Descriptor(QStringLiteral("cPole"), QStringLiteral("Kombi:"), ctComboBox));
    panel->AddComboBoxSymbolItem(QStringLiteral("A"), QStringLiteral("Pierwszy"));
    panel->AddComboBoxSymbolItem(QStringLiteral("B"), QStringLiteral("Drugi"));
    TIntfPtr<TFakeDataFields> a(new TFakeDataFields);
    a->Set(QStringLiteral("cPole"), QStringLiteral("A"));
    TIntfPtr<TFakeDataFields> b(new TFakeDataFields);
    b->Set(QStringLiteral("cPole"), QStringLiteral("STARY"));

    panel->SetDataFields(TIntfPtr<IDataFields>(a.get()));
    panel->SetDataFields(TIntfPtr<IDataFields>(b.get()));
    EXPECT_EQ(panel->ComboBox()->currentIndex(), -1);
    EXPECT_EQ(panel->Value(), QStringLiteral("STARY"));
    panel->Post();
    EXPECT_EQ(b->Field(QStringLiteral("cPole"))->m_value, QStringLiteral("STARY"));
}

TEST_F(RebindValueTest, ShortGroupValueLeavesTheOtherBoxesOfTheNewRecordEmpty) {
    TPanel* panel =
        AddGroup<TCheckBox>(Descriptor(QStringLiteral("cPole"), QStringLiteral("Grupa:"), ctCheckBoxGroup),
                            {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    TIntfPtr<TFakeDataFields> a(new TFakeDataFields);
    a->Set(QStringLiteral("cPole"), QStringLiteral("1,1,1"));
    TIntfPtr<TFakeDataFields> b(new TFakeDataFields);
    b->Set(QStringLiteral("cPole"), QStringLiteral("0,,x"));
    panel->SetDataFields(TIntfPtr<IDataFields>(a.get()));
    panel->SetDataFields(TIntfPtr<IDataFields>(b.get()));
    EXPECT_EQ(panel->Value(), QStringLiteral("0,0,0"));
}

} // namespace
