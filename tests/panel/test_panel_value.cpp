// Field panel: building the editor of each kind, the value forms in both directions,
// binding by symbol, modification and posting.

#include "FakeFields.h"
#include "PanelFixture.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "TFrame.h"
#include "TLabel.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

using ValueTest = PanelFixture;

TEST_F(ValueTest, EachKindBuildsItsEditorUnderTheCaption) {
    TPanel* edit = AddPanel(cDanePodmiotuNazwisko);
    TPanel* date = AddPanel(cDanePodmiotuDataUrodzenia);
    TPanel* memo = AddPanel(cUwagi);
    TPanel* check = AddPanel(cDanePodmiotuNiePosiadaNrPesel);
    TPanel* combo = AddPanel(cDaneDokumentuTozsamosciRodzaj);

    EXPECT_NE(edit->Edit(), nullptr);
    EXPECT_NE(date->DateTimePicker(), nullptr);
    EXPECT_NE(memo->Memo(), nullptr);
    EXPECT_NE(combo->ComboBox(), nullptr);
    ASSERT_NE(check->CheckBox(), nullptr);
    EXPECT_EQ(edit->Description(), QStringLiteral("Nazwisko:"));
    EXPECT_EQ(date->ComponentType(), ctDate);
    // A check box carries the caption itself and has no caption label.
    EXPECT_EQ(check->CheckBox()->text(), QStringLiteral("Nie posiada numeru PESEL"));
    EXPECT_EQ(check->CaptionLabel(), nullptr);
    EXPECT_EQ(edit->Caption(), QStringLiteral("Nazwisko:"));
    // Combo boxes compare their values without letter case.
    EXPECT_FALSE(combo->ModifyCaseSensitive());
    EXPECT_TRUE(edit->ModifyCaseSensitive());
}

TEST_F(ValueTest, StandardKindTakesCaptionAndKindFromTheDataField) {
    TPanel* panel = AddPanel(Descriptor(QStringLiteral("cPole"), QString(), ctStandard));
    EXPECT_EQ(panel->ComponentType(), ctStandard);
    EXPECT_EQ(panel->Value(), QString());

    TIntfPtr<TFakeDataField> field(new TFakeDataField(QStringLiteral("cPole"), QStringLiteral("tekst\ndługi"),
                                                      QStringLiteral("Pole z bazy"),
                                                      QStringLiteral("ctMemo")));
    panel->SetDataField(TIntfPtr<IDataField>(field.get()));
    EXPECT_EQ(panel->ComponentType(), ctMemo);
    ASSERT_NE(panel->Memo(), nullptr);
    EXPECT_EQ(panel->Description(), QStringLiteral("Pole z bazy"));
    EXPECT_EQ(panel->Value(), QStringLiteral("tekst\ndługi"));
    EXPECT_FALSE(panel->Modified());
}

TEST_F(ValueTest, StandardKindWithoutAKindNameStaysUnbound) {
    TPanel* panel = AddPanel(Descriptor(QStringLiteral("cPole"), QStringLiteral("Pole"), ctStandard));
    TIntfPtr<TFakeDataField> field(new TFakeDataField(QStringLiteral("cPole"), QStringLiteral("x")));
    panel->SetDataField(TIntfPtr<IDataField>(field.get()));
    EXPECT_EQ(panel->ComponentType(), ctStandard);
    EXPECT_FALSE(panel->DataField());
    EXPECT_EQ(panel->Edit(), nullptr);
    panel->Post();
    EXPECT_EQ(field->m_value, QStringLiteral("x"));
}

TEST_F(ValueTest, CheckBoxValues) {
    TPanel* panel = AddPanel(cDanePodmiotuNiePosiadaNrPesel);
    panel->SetValue(QStringLiteral("0"));
    EXPECT_TRUE(panel->CheckBox()->isChecked()) << "any non-empty text checks";
    EXPECT_EQ(panel->Value(), QStringLiteral("1"));
    panel->SetValue(QString());
    EXPECT_FALSE(panel->CheckBox()->isChecked());
    EXPECT_EQ(panel->Value(), QString());
}

TEST_F(ValueTest, DateValuesWithTheBlankMarker) {
    TPanel* panel = AddPanel(cDanePodmiotuDataUrodzenia);
    TDateTimePicker* picker = panel->DateTimePicker();

    panel->SetValue(QStringLiteral("1990-01-05"));
    EXPECT_TRUE(picker->DateVisible());
    EXPECT_EQ(panel->Value(), QStringLiteral("1990-01-05"));

    // A valid date behind "H" is kept as the date of a blank picker.
    panel->SetValue(QStringLiteral("H2001-02-03"));
    EXPECT_FALSE(picker->DateVisible());
    EXPECT_EQ(picker->date(), QDate(2001, 2, 3));
    EXPECT_EQ(panel->Value(), QStringLiteral("H2001-02-03"));

    // The time part is accepted and dropped.
    panel->SetValue(QStringLiteral("2010-12-31 10:20:30"));
    EXPECT_EQ(panel->Value(), QStringLiteral("2010-12-31"));

    // Unreadable text: today's date, blank.
    for (const QString& bad : {QString(), QStringLiteral("31.12.2010"), QStringLiteral("2010-13-01")}) {
        panel->SetValue(bad);
        EXPECT_FALSE(picker->DateVisible()) << bad.toStdString();
        EXPECT_EQ(panel->Value(),
                  QLatin1Char('H') + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }
}

TEST_F(ValueTest, BackspaceInTheDatePickerIsAChangeToABlankValue) {
    TPanel* panel = AddPanel(cDanePodmiotuDataUrodzenia);
    panel->SetValue(QStringLiteral("1990-01-05"));
    QStringList seen;
    panel->SetOnChange([&](TPanel* p) { seen.append(p->Value()); });
    QTest::keyClick(panel->DateTimePicker(), Qt::Key_Backspace);
    EXPECT_EQ(seen, QStringList{QStringLiteral("H1990-01-05")});
}

TEST_F(ValueTest, CheckBoxGroupValues) {
    TPanel* panel = AddGroup<TCheckBox>(cDaneAdresoweDzialanosciTypAdresu,
                                        GroupFieldOptions(cDaneAdresoweDzialanosciTypAdresu.Symbol));
    const QList<TCheckBox*> boxes = panel->GroupCheckBoxes();
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(panel->Value(), QStringLiteral("0,0,0"));

    boxes[1]->setChecked(true);
    panel->SetValue(QStringLiteral("1,,0"));
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_TRUE(boxes[1]->isChecked()) << "an empty item keeps the box as it was";
    EXPECT_FALSE(boxes[2]->isChecked());

    // Non-numeric items and missing items keep their boxes; any non-zero number checks.
    panel->SetValue(QStringLiteral("x,0"));
    EXPECT_EQ(panel->Value(), QStringLiteral("1,0,0"));
    panel->SetValue(QStringLiteral("0, 7 ,5,1"));
    EXPECT_EQ(panel->Value(), QStringLiteral("0,1,1"));
}

TEST_F(ValueTest, RadioGroupValues) {
    TPanel* panel = AddGroup<TRadioButton>(cDanePodmiotuPlec, GroupFieldOptions(cDanePodmiotuPlec.Symbol));
    const QList<TRadioButton*> buttons = panel->GroupRadioButtons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(panel->Value(), QStringLiteral("-1"));

    panel->SetValue(QStringLiteral("1"));
    EXPECT_EQ(panel->Value(), QStringLiteral("1"));
    panel->SetValue(QStringLiteral("0"));
    EXPECT_TRUE(buttons[0]->isChecked());
    EXPECT_FALSE(buttons[1]->isChecked());

    panel->SetValue(QStringLiteral("kobieta"));
    EXPECT_EQ(panel->Value(), QStringLiteral("0")) << "a non-integer changes nothing";
    panel->SetValue(QStringLiteral("-1"));
    EXPECT_EQ(panel->Value(), QStringLiteral("-1"));
    panel->SetValue(QStringLiteral("5"));
    EXPECT_EQ(panel->Value(), QStringLiteral("-1"));
    // Radio buttons leave the tab order.
    EXPECT_EQ(buttons[0]->focusPolicy(), Qt::ClickFocus);
}

TEST_F(ValueTest, ClickingRadioButtonsKeepsOneChoiceAndAClickClearsIt) {
    TPanel* panel = AddGroup<TRadioButton>(cDanePodmiotuPlec, GroupFieldOptions(cDanePodmiotuPlec.Symbol));
    ShowWindow();
    const QList<TRadioButton*> buttons = panel->GroupRadioButtons();
    QStringList seen;
    panel->SetOnChange([&](TPanel* p) { seen.append(p->Value()); });

    // Clicks on the indicators.
    const auto click = [](TRadioButton* b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    };
    click(buttons[0]);
    click(buttons[1]);
    EXPECT_FALSE(buttons[0]->isChecked());
    click(buttons[1]);
    // One report per change of the group's value.
    EXPECT_EQ(seen, (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("-1")}));
}

TEST_F(ValueTest, ComboWithSymbolsStoresSymbolsAndComparesWithoutCase) {
    TPanel* panel = AddPanel(Descriptor(QStringLiteral("cKombi"), QStringLiteral("Kombi:"), ctComboBox));
    panel->AddComboBoxSymbolItem(QStringLiteral("A"), QStringLiteral("Pierwszy"));
    EXPECT_EQ(panel->ComboBox()->currentIndex(), -1) << "adding the first item selects nothing";
    panel->AddComboBoxSymbolItem(TComboBoxSymbolItemRecord{QStringLiteral("B"), QStringLiteral("Drugi")});
    EXPECT_EQ(panel->ComboBoxItems(), (QStringList{QStringLiteral("Pierwszy"), QStringLiteral("Drugi")}));

    TIntfPtr<TFakeDataField> field(new TFakeDataField(QStringLiteral("cKombi"), QStringLiteral("b")));
    panel->SetDataField(TIntfPtr<IDataField>(field.get()));
    EXPECT_EQ(panel->ComboBox()->currentIndex(), 1);
    EXPECT_EQ(panel->Value(), QStringLiteral("B"));
    EXPECT_FALSE(panel->Modified());

    panel->SetValue(QStringLiteral("nieznany"));
    EXPECT_EQ(panel->Value(), QStringLiteral("B")) << "no matching symbol keeps the selection";

    // Text typed over the selection is the value itself.
    panel->ComboBox()->setEditText(QStringLiteral("wpisany"));
    EXPECT_EQ(panel->Value(), QStringLiteral("wpisany"));
    EXPECT_TRUE(panel->Modified());
}

TEST_F(ValueTest, ComboWithoutSymbolsUsesItsText) {
    TPanel* panel = AddPanel(cDaneAdresoweWojewodztwo);
    panel->ComboBox()->addItems({QStringLiteral("MAZOWIECKIE"), QStringLiteral("ŚLĄSKIE")});
    panel->AddComboBoxSymbolItem(QStringLiteral("X"), QStringLiteral("Iks"));
    panel->SetValue(QStringLiteral("śląskie"));
    EXPECT_EQ(panel->Value(), QStringLiteral("śląskie")) << "items and symbols differ in number";
    panel->SetValue(QStringLiteral("MAZOWIECKIE"));
    EXPECT_EQ(panel->ComboBox()->currentIndex(), 0);
}

TEST_F(ValueTest, AddingAComboItemWithoutAComboDoesNothing) {
    TPanel* panel = AddPanel(cDanePodmiotuNazwisko);
    panel->AddComboBoxSymbolItem(QStringLiteral("A"), QStringLiteral("a"));
    EXPECT_TRUE(panel->ComboBoxSymbols().isEmpty());
    EXPECT_TRUE(panel->ComboBoxItems().isEmpty());
}

TEST_F(ValueTest, BindingBySymbolWritesCaptionAndKindOnlyWhenEmpty) {
    TPanel* nazwisko = AddPanel(cDanePodmiotuNazwisko);
    TPanel* opis = AddPanel(cDanePodmiotuOpis);
    TIntfPtr<TFakeDataFields> fields(new TFakeDataFields);
    fields->Set(cDanePodmiotuNazwisko.Symbol, QStringLiteral("Żółć"));
    fields->Field(cDanePodmiotuOpis.Symbol)->m_caption = QStringLiteral("Opis z bazy");
    fields->Field(cDanePodmiotuOpis.Symbol)->m_kind = QStringLiteral("ctMemo");

    nazwisko->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
    opis->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
    EXPECT_EQ(nazwisko->Value(), QStringLiteral("Żółć"));
    TFakeDataField* field = fields->Field(cDanePodmiotuNazwisko.Symbol);
    EXPECT_EQ(field->m_caption, QStringLiteral("Nazwisko:"));
    EXPECT_EQ(field->m_kind, QStringLiteral("ctEdit"));
    EXPECT_EQ(fields->Field(cDanePodmiotuOpis.Symbol)->m_caption, QStringLiteral("Opis z bazy"));
    EXPECT_EQ(fields->Field(cDanePodmiotuOpis.Symbol)->m_kind, QStringLiteral("ctMemo"));
    EXPECT_EQ(opis->ComponentType(), ctEdit) << "a built kind is not changed by the data field";
    EXPECT_FALSE(nazwisko->Modified());
}

TEST_F(ValueTest, EmptySymbolOrNoFieldsUnbindsAndEmptiesTheEditor) {
    TPanel* noSymbol = AddPanel(Descriptor(QString(), QStringLiteral("Wartość"), ctEdit));
    TPanel* sex = AddGroup<TRadioButton>(cDanePodmiotuPlec, GroupFieldOptions(cDanePodmiotuPlec.Symbol));
    TPanel* date = AddPanel(cDanePodmiotuDataUrodzenia);
    TIntfPtr<TFakeDataFields> fields(new TFakeDataFields);
    fields->Set(cDanePodmiotuPlec.Symbol, QStringLiteral("1"));
    fields->Set(cDanePodmiotuDataUrodzenia.Symbol, QStringLiteral("1990-01-01"));
    noSymbol->SetValue(QStringLiteral("typed"));
    noSymbol->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
    EXPECT_FALSE(noSymbol->DataField());
    EXPECT_EQ(noSymbol->Value(), QString());
    EXPECT_EQ(fields->GetCount(), 2) << "no lookup for an empty symbol";

    sex->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
    date->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
    EXPECT_EQ(sex->Value(), QStringLiteral("1"));
    sex->SetDataFields(nullptr);
    date->SetDataField(nullptr);
    EXPECT_EQ(sex->Value(), QStringLiteral("-1"));
    EXPECT_TRUE(date->Value().startsWith(QLatin1Char('H')));
}

TEST_F(ValueTest, PostWritesTheFieldAndTheWordAndResetsModification) {
    TPanel* panel = AddPanel(cDanePodmiotuNazwisko);
    TIntfPtr<TFakeDataFields> fields(new TFakeDataFields);
    TIntfPtr<TFakeSlownik> slownik(new TFakeSlownik);
    TIntfPtr<TFakeWordList> words(new TFakeWordList);
    slownik->m_lists.insert(cDanePodmiotuNazwisko.Symbol, words);
    panel->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
    panel->SetSlownik(TIntfPtr<ISlownik>(slownik.get()));

    panel->Edit()->insert(QStringLiteral("Łukasiewicz"));
    EXPECT_TRUE(panel->Modified());
    TFakeDataField* field = fields->Field(cDanePodmiotuNazwisko.Symbol);
    field->m_caption = QStringLiteral("stary");
    field->m_kind = QStringLiteral("ctMemo");
    panel->Post();
    EXPECT_EQ(field->m_value, QStringLiteral("Łukasiewicz"));
    EXPECT_EQ(field->m_caption, QStringLiteral("Nazwisko:"));
    EXPECT_EQ(field->m_kind, QStringLiteral("ctEdit"));
    EXPECT_EQ(words->m_words, QStringList{QStringLiteral("Łukasiewicz")});
    EXPECT_FALSE(panel->Modified());

    // A blank value is not remembered as a word.
    panel->SetValue(QStringLiteral("  "));
    panel->Post();
    EXPECT_EQ(words->m_words.size(), 1);
}

TEST_F(ValueTest, PostAddsNoWordForOtherKinds) {
    TPanel* panel = AddPanel(cDanePodmiotuDataUrodzenia);
    TIntfPtr<TFakeSlownik> slownik(new TFakeSlownik);
    TIntfPtr<TFakeWordList> words(new TFakeWordList);
    slownik->m_lists.insert(cDanePodmiotuDataUrodzenia.Symbol, words);
    panel->SetSlownik(TIntfPtr<ISlownik>(slownik.get()));
    panel->SetValue(QStringLiteral("2000-01-01"));
    panel->Post();
    EXPECT_TRUE(words->m_words.isEmpty());
    EXPECT_FALSE(panel->DataField());
}

TEST_F(ValueTest, ReadOnlyRebuildsFromTheDataFieldAndShortensLongText) {
    TPanel* panel = AddPanel(cDanePodmiotuNazwaFirmy);
    const QString longName = QStringLiteral("Przedsiębiorstwo Produkcyjno-Handlowo-Usługowe „Żuraw” spółka "
                                            "z ograniczoną odpowiedzialnością w likwidacji");
    TIntfPtr<TFakeDataField> field(new TFakeDataField(cDanePodmiotuNazwaFirmy.Symbol, longName));
    panel->SetDataField(TIntfPtr<IDataField>(field.get()));
    ShowWindow();
    panel->Edit()->setText(QStringLiteral("niezapisane"));

    panel->SetReadOnly(true);
    EXPECT_EQ(panel->Edit(), nullptr);
    ASSERT_NE(panel->ReadOnlyLabel(), nullptr);
    QCoreApplication::processEvents();
    const QString shown = panel->ReadOnlyLabel()->text();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(" ..."))) << shown.toStdString();
    EXPECT_TRUE(longName.startsWith(shown.chopped(4)));
    const QFontMetrics fm(panel->ReadOnlyLabel()->font());
    EXPECT_LT(fm.horizontalAdvance(shown), panel->ReadOnlyLabel()->contentsRect().width());
    EXPECT_TRUE(panel->ReadOnlyLabel()->font().bold());
    // The value stays whole, so posting a read-only panel changes nothing.
    EXPECT_EQ(panel->Value(), longName);
    EXPECT_FALSE(panel->Modified());
    panel->Post();
    EXPECT_EQ(field->m_value, longName);

    panel->SetReadOnly(false);
    ASSERT_NE(panel->Edit(), nullptr);
    EXPECT_EQ(panel->Value(), longName);
}

TEST_F(ValueTest, ReadOnlyCheckBoxDisablesBoxAndPanelAndComboShowsItsCaption) {
    TPanel* check = AddPanel(cDanePodmiotuNiePosiadaNrPesel);
    check->SetReadOnly(true);
    EXPECT_FALSE(check->CheckBox()->isEnabled());
    EXPECT_FALSE(check->isEnabled());
    check->SetReadOnly(false);
    EXPECT_TRUE(check->CheckBox()->isEnabled());
    EXPECT_TRUE(check->isEnabled());

    TPanel* combo = AddPanel(cDaneDokumentuTozsamosciRodzaj);
    for (const TComboBoxSymbolItemRecord& item : IdentityDocumentItems())
        combo->AddComboBoxSymbolItem(item);
    combo->SetValue(QStringLiteral("Dowod"));
    ShowWindow();
    combo->SetReadOnly(true);
    combo->SetValue(QStringLiteral("PaszportPolski"));
    EXPECT_EQ(combo->ReadOnlyLabel()->text(), QStringLiteral("paszport polski"));
    EXPECT_EQ(combo->Value(), QStringLiteral("PaszportPolski"));
    // Back to editing, the items are still there.
    combo->SetReadOnly(false);
    EXPECT_EQ(combo->ComboBoxItems().size(), 11);
}

TEST_F(ValueTest, ReadOnlyMemoWrapsAndShortensOnlyWhatDoesNotFitItsHeight) {
    TPanel* panel = AddPanel(cUwagi);
    panel->SetReadOnly(true);
    panel->setFixedHeight(120);
    ShowWindow();
    const QString fits =
        QStringLiteral("Klientka od 2015 roku, dokumenty dostarcza osobiście w każdy piątek.");
    panel->SetValue(fits);
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->ReadOnlyLabel()->text(), fits) << "a wrapped label shows more than one line";

    const QString tooLong = QStringLiteral("Uwaga numer 1. ").repeated(60);
    panel->SetValue(tooLong);
    const QString shown = panel->ReadOnlyLabel()->text();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(" ...")));
    EXPECT_LT(shown.size(), tooLong.size());
    EXPECT_EQ(panel->Value(), tooLong);
}

TEST_F(ValueTest, ReadOnlyBlankDateShowsNothing) {
    TPanel* panel = AddPanel(cDanePodmiotuDataUrodzenia);
    panel->SetReadOnly(true);
    panel->SetValue(QStringLiteral("1990-01-05"));
    EXPECT_EQ(panel->ReadOnlyLabel()->text(), QStringLiteral("1990-01-05"));
    panel->SetValue(QStringLiteral("H2020-01-01"));
    EXPECT_EQ(panel->ReadOnlyLabel()->text(), QString());
    EXPECT_EQ(panel->Value(), QStringLiteral("H2020-01-01"));
}

TEST_F(ValueTest, UseExistingControlTakesTheDesignTimeLabelAndEdit) {
    auto* panel = new TPanel(m_window.get());
    m_layout->addWidget(panel);
    auto* label = new QLabel(QStringLiteral("projekt"), panel);
    auto* edit = new TEdit(panel);
    panel->Layout()->addWidget(label);
    panel->Layout()->addWidget(edit);
    panel->SetUseExistingControl(true);
    panel->SetField(Descriptor(QString(), QStringLiteral("Wartość pola słownika"), ctEdit));
    EXPECT_EQ(panel->CaptionLabel(), label);
    EXPECT_EQ(panel->Edit(), edit);
    EXPECT_EQ(label->text(), QStringLiteral("Wartość pola słownika"));
    edit->setText(QStringLiteral("abc"));
    EXPECT_EQ(panel->Value(), QStringLiteral("abc"));
    panel->SetReadOnly(true);
    panel->SetReadOnly(false);
    EXPECT_EQ(panel->Edit(), edit) << "design-time controls survive a rebuild";
}

TEST_F(ValueTest, PanelsJoinTheirFrameAndTheProcessList) {
    auto* frame = new TFrame(m_window.get());
    m_layout->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    auto* panel = new TPanel(frame);
    layout->addWidget(panel);
    EXPECT_TRUE(TPanel::AllPanels().contains(panel));
    EXPECT_FALSE(frame->ContainsPanel(panel)) << "the panel joins when its editor is built";
    panel->SetField(cDanePodmiotuNIP);
    EXPECT_EQ(panel->OwnerFrame(), frame);
    EXPECT_TRUE(frame->ContainsPanel(panel));

    TIntfPtr<TFakeDataFields> fields(new TFakeDataFields);
    panel->SetDataFields(TIntfPtr<IDataFields>(fields.get()));
    EXPECT_TRUE(frame->SymbolExists(QStringLiteral("cdanepodmiotunip")));

    delete panel;
    EXPECT_FALSE(TPanel::AllPanels().contains(panel));
    EXPECT_TRUE(frame->Panels().isEmpty());
}

} // namespace
