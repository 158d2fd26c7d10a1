// User-defined fields over the real SQL backend: adding, refused symbols, editing
// (a refused store changes nothing), deleting, finding deleted fields with values
// that hold quotes, commas and line breaks, restoring them.

#include "EditingFixture.h"
#include "TEdit.h"
#include "uDaneBankuFrame.h"
#include "uDynamicFieldsFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uFieldSettingsForm.h"
#include "uFindFieldsForm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QToolButton>

namespace {

constexpr int32_t kBankPosition = 11;
const QString kSettings = QStringLiteral("FieldSettingsForm");
const QString kFind = QStringLiteral("FindFieldsForm");

TBaseFrame* NewBankFrame(QWidget* Parent) {
    return new TDaneBankuFrame(Parent);
}

// A bank frame that shows only the name, so the bank's other fixed fields have no panel.
const TSectionDescription& NameOnlyDeclaration() {
    static const TSectionDescription d{
        "TTestNameOnlyFrame", QStringLiteral("Bank"), {{"pnlNazwa", &cDaneBankuNazwa}}, {}};
    return d;
}
TBaseFrame* NewNameOnlyFrame(QWidget* Parent) {
    return new TSectionFrame(NameOnlyDeclaration(), Parent);
}

// Fills the settings window and presses its post button.
void FillSettings(QWidget* W, const QString& Description, const QString& Symbol, int Kind) {
    auto* form = static_cast<TFieldSettingsForm*>(W);
    form->pnlDescription->SetValue(Description);
    form->pnlSymbol->SetValue(Symbol);
    form->pnlType->ComboBox()->setCurrentIndex(Kind);
    form->btnPost->click();
}

class DynamicFieldsTest : public EditingTest {
protected:
    TIntfPtr<IDynamicField> Define(const QString& Symbol, const QString& Kind = QStringLiteral("ctEdit")) {
        auto d = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(kBankPosition)->AddField();
        d->SetSymbol(U(Symbol));
        d->SetDescription(U(Symbol + QStringLiteral(" opis")));
        d->SetFieldType(U(Kind));
        EXPECT_TRUE(d->PostDefinition()) << d->GetLastErrorCode();
        return d;
    }
    // The definitions of the bank kind as stored, read through another connection.
    QStringList StoredSymbols() {
        auto other = Open();
        auto defs = other->GetDynamicFieldsProvider(0)->GetDynamicFields(kBankPosition);
        QStringList symbols;
        for (int32_t i = 0; i < defs->GetCount(); ++i)
            symbols.append(Q(defs->GetItem(i)->GetSymbol()));
        other->Disconnect();
        return symbols;
    }
    TBaseFrame* Bind(TBaseFrame* (*Create)(QWidget*), const TIntfPtr<IEwidarRecord>& Record) {
        Form = std::make_unique<THostForm>(Create);
        Form->Frame->SetEwidarDataBase(m_db);
        Form->Frame->SetEwidarRecord(Record);
        Form->show();
        return Form->Frame;
    }
    QList<TPanel*> Dynamic() { return Form->Frame->DynamicFieldsFrame1->DynamicComponents(); }
    void TearDown() override {
        Form.reset();
        EditingTest::TearDown();
    }

    std::unique_ptr<THostForm> Form;
};

} // namespace

TEST_F(DynamicFieldsTest, AddedFieldIsStoredAtOnceAndItsValuePostsWithTheRecord) {
    auto bank = NewBank(QStringLiteral("Alfa"));
    TBaseFrame* frame = Bind(NewBankFrame, bank);
    WhenWindow(kSettings, [](QWidget* w) {
        FillSettings(w, QStringLiteral("Numer oddziału"), QStringLiteral("NrOddz"), 0);
    });
    frame->DynamicFieldsFrame1->btnAddField->click();
    EXPECT_EQ(StoredSymbols(), QStringList{QStringLiteral("NrOddz")});
    ASSERT_EQ(Dynamic().size(), 1);
    TPanel* panel = Dynamic()[0];
    EXPECT_EQ(panel->Caption(), QStringLiteral("Numer oddziału"));
    EXPECT_TRUE(frame->Panels().contains(panel)) << "the panel belongs to the record frame";
    Type(panel, QStringLiteral("0042"));
    EXPECT_TRUE(frame->Modified());
    EXPECT_TRUE(frame->btnPostClick());
    EXPECT_EQ(Value(FindBank(bank->GetID()).get(), QStringLiteral("NrOddz")), QStringLiteral("0042"));
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

TEST_F(DynamicFieldsTest, SettingsRefuseEmptyTextsAndSymbolsAPanelShowsInAnyCase) {
    Define(QStringLiteral("Kolor"));
    TBaseFrame* frame = Bind(NewBankFrame, NewBank(QStringLiteral("Alfa")));
    WhenWindow(kSettings, [this](QWidget* w) {
        FillSettings(w, QStringLiteral("Opis"), QString(), 0);
        FillSettings(w, QStringLiteral("Opis"), QStringLiteral("CDANEBANKUNAZWA"), 0);
        FillSettings(w, QStringLiteral("Opis"), QStringLiteral("kolor"), 0);
        EXPECT_TRUE(w->isVisible());
        static_cast<TFieldSettingsForm*>(w)->btnClose->click();
    });
    frame->DynamicFieldsFrame1->btnAddField->click();
    EXPECT_EQ(ShownTexts(), (QStringList{QStringLiteral("Proszę wypełnić wszystkie pola."),
                                         QStringLiteral("Pole o takim symbolu już istnieje."),
                                         QStringLiteral("Pole o takim symbolu już istnieje.")}));
    EXPECT_EQ(StoredSymbols(), QStringList{QStringLiteral("Kolor")});
    EXPECT_EQ(Dynamic().size(), 1);

    // A definition keeps its own symbol, whatever its letter case.
    WhenWindow(kSettings, [](QWidget* w) {
        auto* form = static_cast<TFieldSettingsForm*>(w);
        EXPECT_EQ(form->pnlSymbol->Value(), QStringLiteral("Kolor"));
        FillSettings(w, QStringLiteral("Kolor karty"), QStringLiteral("Kolor"), 1);
    });
    frame->DynamicFieldsFrame1->DynamicIconClick(Dynamic()[0], diaEdit);
    ASSERT_EQ(Dynamic().size(), 1);
    EXPECT_EQ(Dynamic()[0]->Caption(), QStringLiteral("Kolor karty"));
    EXPECT_TRUE(Dynamic()[0]->Memo()) << "the editor follows the new kind";
}

TEST_F(DynamicFieldsTest, EditThatTheDatabaseRefusesLeavesDefinitionAndPanelAsTheyWere) {
    auto kolor = Define(QStringLiteral("Kolor"));
    TBaseFrame* frame = Bind(NewBankFrame, NewBank(QStringLiteral("Alfa")));
    // Defined at another desk after this record was opened: no panel here shows it.
    auto other = Open();
    auto elsewhere = other->GetDynamicFieldsProvider(0)->GetDynamicFields(kBankPosition)->AddField();
    elsewhere->SetSymbol(u"Rozmiar");
    elsewhere->SetDescription(u"Rozmiar");
    elsewhere->SetFieldType(u"ctEdit");
    ASSERT_TRUE(elsewhere->PostDefinition());

    WhenWindow(kSettings, [](QWidget* w) {
        FillSettings(w, QStringLiteral("Nowy opis"), QStringLiteral("rozmiar"), 2);
    });
    frame->DynamicFieldsFrame1->DynamicIconClick(Dynamic()[0], diaEdit);
    ASSERT_EQ(Dynamic().size(), 1);
    EXPECT_EQ(Dynamic()[0]->Caption(), QStringLiteral("Kolor opis"));
    EXPECT_EQ(Dynamic()[0]->ComponentType(), ctEdit);
    EXPECT_EQ(Q(kolor->GetSymbol()), QStringLiteral("Kolor"));
    EXPECT_EQ(Q(kolor->GetDescription()), QStringLiteral("Kolor opis"));
    EXPECT_EQ(Q(kolor->GetFieldType()), QStringLiteral("ctEdit"));
    EXPECT_EQ(StoredSymbols(), (QStringList{QStringLiteral("Kolor"), QStringLiteral("Rozmiar")}));
}

TEST_F(DynamicFieldsTest, DeletedFieldIsFoundWithItsValueAndRestoredWithIt) {
    Define(QStringLiteral("Uwagi"));
    const QString awkward = QStringLiteral("zielony, \"jasny\"\nstary");
    auto bank = NewBank();
    SetValue(bank.get(), cDaneBankuNazwa.Symbol, QStringLiteral("Alfa"));
    SetValue(bank.get(), QStringLiteral("Uwagi"), awkward);
    ASSERT_TRUE(bank->Post());
    TBaseFrame* frame = Bind(NewBankFrame, bank);
    ASSERT_EQ(Dynamic().size(), 1);
    EXPECT_EQ(Dynamic()[0]->Value(), awkward);

    Messages->QueueResult(ModalResult::mrNo);
    frame->DynamicFieldsFrame1->DynamicIconClick(Dynamic()[0], diaDelete);
    EXPECT_EQ(Dynamic().size(), 1) << "No keeps the field";
    Messages->QueueResult(ModalResult::mrYes);
    frame->DynamicFieldsFrame1->DynamicIconClick(Dynamic()[0], diaDelete);
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Czy na pewno usunąć wybrane pole?\r\n\r\nDane zapisane "
                                                    "pod symbolem \"Uwagi\" zostaną w bazie."));
    EXPECT_TRUE(Dynamic().isEmpty());
    EXPECT_TRUE(StoredSymbols().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->SymbolExists(QStringLiteral("Uwagi")));

    WhenWindow(kFind, [awkward](QWidget* w) {
        auto* find = static_cast<TFindFieldsForm*>(w);
        TDrawGrid* grid = find->DrawGrid1;
        EXPECT_EQ(grid->RowCount(), 2) << "only the orphaned value, never the kind's fixed fields";
        EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("Uwagi"));
        EXPECT_EQ(grid->Cells(1, 1), awkward);
        EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("Uwagi opis"));
        EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("Pole tekstowe"));
        WhenWindow(kSettings, [](QWidget* s) {
            auto* settings = static_cast<TFieldSettingsForm*>(s);
            EXPECT_EQ(settings->btnPost->text(), QStringLiteral("Przywróć"));
            EXPECT_EQ(settings->pnlSymbol->Value(), QStringLiteral("Uwagi"));
            settings->btnPost->click();
        });
        find->btnPost->click();
    });
    frame->DynamicFieldsFrame1->btnFindFieldsClick();
    EXPECT_EQ(StoredSymbols(), QStringList{QStringLiteral("Uwagi")});
    ASSERT_EQ(Dynamic().size(), 1);
    EXPECT_EQ(Dynamic()[0]->Value(), awkward);
    EXPECT_FALSE(frame->Modified());
}

TEST_F(DynamicFieldsTest, NothingToFindShows314EvenWhenFixedFieldsHaveNoPanel) {
    auto bank = NewBank();
    SetValue(bank.get(), cDaneBankuNazwa.Symbol, QStringLiteral("Alfa"));
    SetValue(bank.get(), cDaneBankuAdres.Symbol, QStringLiteral("ul. Długa 1"));
    ASSERT_TRUE(bank->Post());
    TBaseFrame* frame = Bind(NewNameOnlyFrame, bank);
    frame->DynamicFieldsFrame1->btnFindFieldsClick();
    EXPECT_EQ(ShownTexts(), QStringList{QStringLiteral("Nie znaleziono pól.")});
}

TEST_F(DynamicFieldsTest, IncompleteDefinitionsGetNoPanel) {
    auto bank = NewBank(QStringLiteral("Alfa"));
    auto defs = m_db->GetDynamicFieldsProvider(0)->GetDynamicFields(kBankPosition);
    Define(QStringLiteral("Pelny"));
    auto incomplete = defs->AddField();
    incomplete->SetSymbol(u"Niepelny");
    Form = std::make_unique<THostForm>(NewBankFrame);
    Form->Frame->DynamicFieldsFrame1->CreateDynamicFields(Form->Frame, bank, defs);
    ASSERT_EQ(Dynamic().size(), 1);
    EXPECT_EQ(Dynamic()[0]->DynamicField()->GetSymbol(), u"Pelny");
}

namespace {

// A definition whose store and delete the database refuses.
class TRefusingField : public TInterfacedObject<IDynamicField> {
public:
    int32_t GetLastErrorCode() override { return 106; }
    void SetSymbol(const std::u16string& Text) override { m_symbol = Text; }
    void SetDescription(const std::u16string& Text) override { m_description = Text; }
    void SetFieldType(const std::u16string& Name) override { m_kind = Name; }
    std::u16string GetSymbol() override { return m_symbol; }
    std::u16string GetDescription() override { return m_description; }
    std::u16string GetFieldType() override { return m_kind; }
    bool PostDefinition() override { return false; }
    bool DeleteDefinition() override { return false; }

private:
    std::u16string m_symbol = u"Stary";
    std::u16string m_description = u"Stary opis";
    std::u16string m_kind = u"ctEdit";
};

class TOneFieldList : public TInterfacedObject<IDynamicFields> {
public:
    int32_t GetLastErrorCode() override { return 0; }
    int32_t GetCount() override { return 1; }
    TIntfPtr<IDynamicField> GetItem(int32_t) override { return Field; }
    TIntfPtr<IDynamicField> AddField() override { return TIntfPtr<IDynamicField>(new TRefusingField); }
    TIntfPtr<IDynamicField> Field{new TRefusingField};
};

} // namespace

TEST_F(DynamicFieldsTest, RefusedDeleteKeepsThePanelAndARestoreOfAnUnknownKindTakesTheDefault) {
    auto bank = NewBank(QStringLiteral("Alfa"));
    TIntfPtr<TOneFieldList> list(new TOneFieldList);
    Form = std::make_unique<THostForm>(NewBankFrame);
    TDynamicFieldsFrame* fields = Form->Frame->DynamicFieldsFrame1;
    fields->CreateDynamicFields(Form->Frame, bank, TIntfPtr<IDynamicFields>(list.get()));
    ASSERT_EQ(Dynamic().size(), 1);
    Messages->QueueResult(ModalResult::mrYes);
    fields->DynamicIconClick(Dynamic()[0], diaDelete);
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Wystąpił błąd podczas usuwania pola."));
    ASSERT_EQ(Dynamic().size(), 1) << "a definition that is still stored keeps its panel";
    EXPECT_TRUE(Form->Frame->Panels().contains(Dynamic()[0]));

    // A restored row whose kind is unknown: empty "Typ danych", the settings' default kind.
    TFindFieldsForm find(nullptr, {{"Kolor", "x", "Kolor", "ctNieznany"}}, Form->Frame,
                         TIntfPtr<IDynamicFields>(list.get()));
    EXPECT_EQ(find.DrawGrid1->Cells(3, 1), QString());
    WhenWindow(kSettings, [](QWidget* w) {
        auto* settings = static_cast<TFieldSettingsForm*>(w);
        EXPECT_EQ(settings->pnlType->ComboBox()->currentIndex(), 0);
        settings->btnPost->click();
    });
    find.btnPost->click();
    EXPECT_TRUE(find.AddedFields().isEmpty()) << "a refused store restores nothing";
    EXPECT_EQ(find.Rows().size(), 1) << "and the row stays";
}

TEST_F(DynamicFieldsTest, ValueTypedBeforeTheDefinitionIsEditedStaysAndIsPosted) {
    Define(QStringLiteral("Kolor"));
    auto bank = NewBank(QStringLiteral("Alfa"));
    TBaseFrame* frame = Bind(NewBankFrame, bank);
    ASSERT_EQ(Dynamic().size(), 1);
    Type(Dynamic()[0], QStringLiteral("zielony"));
    // The caption changes and then the kind (another editor is built): the value stays.
    for (int kind : {0, 1}) {
        WhenWindow(kSettings, [kind](QWidget* w) {
            FillSettings(w, QStringLiteral("Kolor karty"), QStringLiteral("Kolor"), kind);
        });
        frame->DynamicFieldsFrame1->DynamicIconClick(Dynamic()[0], diaEdit);
        ASSERT_EQ(Dynamic().size(), 1);
        EXPECT_EQ(Dynamic()[0]->Value(), QStringLiteral("zielony")) << "kind " << kind;
        EXPECT_TRUE(frame->Modified()) << "kind " << kind;
    }
    EXPECT_TRUE(frame->btnPostClick());
    EXPECT_EQ(Value(FindBank(bank->GetID()).get(), QStringLiteral("Kolor")), QStringLiteral("zielony"));
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}
