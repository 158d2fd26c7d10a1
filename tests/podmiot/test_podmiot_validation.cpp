// The subject editor's field rules, driven by keyboard and mouse in the shown window.

#include "PodmiotFixture.h"
#include "TDateTimePicker.h"
#include "TEdit.h"
#include "TRadioButton.h"
#include "uDataValidate.h"
#include "uEwidarComponents_Panel.h"
#include "uPodmiotFrameParts.h"

#include <QApplication>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

using namespace uDataValidate;

namespace {

// Brings the panel's tab to the front, then enters the value as a user would: an edit is
// emptied (Ctrl+A, Backspace) and typed into, a date is typed over its whole text in the
// shown format, a radio group gets a click on the button of the value's index.
void Enter(TPodmiotFrame* F, TPanel* Panel, const QString& Value) {
    for (QWidget* w = Panel; w; w = w->parentWidget())
        if (F->PageControl1->indexOf(w) >= 0)
            F->PageControl1->setCurrentWidget(w);
    QApplication::processEvents();
    switch (Panel->ComponentType()) {
    case ctEdit:
        Panel->Edit()->setFocus();
        QTest::keyClick(Panel->Edit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Panel->Edit(), Qt::Key_Backspace);
        QTest::keyClicks(Panel->Edit(), Value);
        break;
    case ctDate: {
        TDateTimePicker* picker = Panel->DateTimePicker();
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(picker, Value);
        break;
    }
    case ctRadioGroup: {
        QAbstractButton* button = Panel->GroupRadioButtons().value(Value.toInt());
        ASSERT_TRUE(button) << Value.toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
        break;
    }
    default:
        FAIL() << "no way to enter " << Panel->objectName().toStdString();
    }
}

} // namespace

// Every rule the editor's tables declare marks an invalid value typed into its panel (on
// that panel or the related one it judges) and leaves a valid one unmarked.
TEST_F(PodmiotTest, EveryDeclaredRuleMarksAnInvalidValueTypedIntoItsPanel) {
    const QString pesel = QStringLiteral("44051401458"); // a man born on 14.05.1944
    const QString badNip = QStringLiteral("1234563219");
    struct TCase {
        const char* Panel;
        QList<std::pair<const char*, QString>> Setup; // panel -> value, set before typing
        QString Valid, Invalid;
        const char* Marked; // the panel that carries the mark (nullptr: the same)
    };
    const QList<TCase> cases = {
        {"pnlDaneOsoby",
         {{"pnlNazwisko", QString()}, {"pnlNazwaFirmy", QStringLiteral("Firma")}},
         QStringLiteral("1"),
         QStringLiteral("0"),
         "pnlNazwisko"},
        {"pnlNazwisko", {{"pnlDaneOsoby", QStringLiteral("0")}}, QStringLiteral("Nowak"), QString(), nullptr},
        {"pnlPierwszeImie", {{"pnlDaneOsoby", QStringLiteral("0")}}, QStringLiteral("Jan"), QString(), nullptr},
        {"pnlNazwaFirmy", {{"pnlDaneOsoby", QStringLiteral("1")}}, QStringLiteral("Firma"), QString(), nullptr},
        {"pnlPESEL", {}, pesel, QStringLiteral("44051401459"), nullptr},
        {"pnlDataUrodzenia",
         {{"pnlPESEL", pesel}},
         QStringLiteral("14.05.1944"),
         QStringLiteral("15.05.1944"),
         "pnlPESEL"},
        {"pnlPlec", {{"pnlPESEL", pesel}}, QStringLiteral("1"), QStringLiteral("0"), nullptr},
        {"pnlWlasciwyIdentyfikatorPodatkowy",
         {{"pnlPESEL", pesel}},
         QStringLiteral("0"),
         QStringLiteral("1"),
         nullptr},
        {"pnlNIP", {}, QStringLiteral("1234563218"), badNip, nullptr},
        {"pnlKrajNadaniaNumeru", {{"pnlNIP", badNip}}, QStringLiteral("DE"), QStringLiteral("PL"), "pnlNIP"},
        {"pnlNIP2", {}, QStringLiteral("1234563218"), badNip, nullptr},
        {"pnlKrajNadaniaNumeru2",
         {{"pnlNIP2", badNip}},
         QStringLiteral("DE"),
         QStringLiteral("pl"),
         "pnlNIP2"},
        {"pnlREGON", {}, QStringLiteral("123456785"), QStringLiteral("123456786"), nullptr},
        {"pnlAdresEMail", {}, QStringLiteral("jan@example.pl"), QStringLiteral("jan@"), nullptr},
        {"pnlKodPocztowy", {}, QStringLiteral("00-950"), QStringLiteral("00-95"), nullptr},
    };
    // The table covers every declared rule.
    for (const PodmiotParts::TFieldRow* row : PodmiotParts::AllRows()) {
        if (row->Rule) {
            EXPECT_TRUE(std::any_of(cases.begin(), cases.end(),
                                    [row](const TCase& c) { return qstrcmp(c.Panel, row->Name) == 0; }))
                << "no case for " << row->Name;
        }
    }

    for (const TCase& c : cases) {
        TPodmiotFrame* f = Open(Reg()->GetPodatnicy({})->New(), kPodatnik);
        for (const auto& [name, value] : c.Setup)
            f->Panel(name)->SetValue(value);
        TPanel* panel = f->Panel(c.Panel);
        TPanel* marked = f->Panel(c.Marked ? c.Marked : c.Panel);
        Enter(f, panel, c.Valid);
        EXPECT_TRUE(marked->Error().Empty()) << c.Panel << " " << marked->Error().ErrMsg.toStdString();
        Enter(f, panel, c.Invalid);
        EXPECT_FALSE(marked->Error().Empty()) << c.Panel << " " << c.Invalid.toStdString();
        Enter(f, panel, c.Valid);
        EXPECT_TRUE(marked->Error().Empty()) << c.Panel << " " << marked->Error().ErrMsg.toStdString();
    }
}

// A valid PESEL fills an empty birth date and sex and never overwrites given ones; a
// contradicting date or sex is marked, and the record is saved all the same.
TEST_F(PodmiotTest, PeselFillsEmptyBirthDateAndSexAndMarksContradictions) {
    TPodmiotFrame* f = Open(Reg()->GetPodatnicy({})->New(), kPodatnik);
    Enter(f, f->Panel("pnlPESEL"), QStringLiteral("44051401458"));
    EXPECT_EQ(f->Panel("pnlDataUrodzenia")->Value(), QStringLiteral("1944-05-14"));
    EXPECT_EQ(f->Panel("pnlPlec")->Value(), QStringLiteral("1"));
    EXPECT_TRUE(f->Panel("pnlPESEL")->Error().Empty());

    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")},
                                 {cDanePodmiotuDataUrodzenia.Symbol, QStringLiteral("1950-01-02")},
                                 {cDanePodmiotuPlec.Symbol, QStringLiteral("0")}});
    f = Open(taxpayer, kPodatnik);
    Enter(f, f->Panel("pnlPESEL"), QStringLiteral("44051401458"));
    EXPECT_EQ(f->Panel("pnlDataUrodzenia")->Value(), QStringLiteral("1950-01-02"));
    EXPECT_EQ(f->Panel("pnlPlec")->Value(), QStringLiteral("0"));
    EXPECT_EQ(f->Panel("pnlPESEL")->Error(), cErrPESELBirthDate);
    EXPECT_EQ(f->Panel("pnlPlec")->Error(), cErrPESELSex);
    Messages->Answer = [](const TMessageRequest&) {
        return ModalResult::mrYes;
    };
    ASSERT_TRUE(f->PostPodmiot()) << Shown().toStdString();
    const int32_t id = taxpayer->GetID();
    EXPECT_EQ(StoredValue(id, cDanePodmiotuPESEL.Symbol), QStringLiteral("44051401458"));
    EXPECT_EQ(StoredValue(id, cDanePodmiotuDataUrodzenia.Symbol), QStringLiteral("1950-01-02"));
    EXPECT_EQ(StoredValue(id, cDanePodmiotuPlec.Symbol), QStringLiteral("0"));
}
