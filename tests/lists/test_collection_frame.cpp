// The list frame: titles, filtering, keys, double click, popup, opening records.

#include "FrameFixture.h"
#include "uCollectionTitles.h"
#include "uListOpeners.h"

#include <QComboBox>
#include <QMenu>
#include <QTest>

namespace {

template <class K> QString TitlesOf() {
    auto collection = MakeCollection<K>();
    return CollectionTitleBar(collection.get());
}

TEST(CollectionTitles, EachCollectionInterfaceHasItsTitles) {
    const QString subjects = QStringLiteral(
        "\"Opis lub imię i nazwisko / Nazwa firmy\",\"Numer identyfikacyjny\",\"Miejscowość\"");
    EXPECT_EQ(TitlesOf<IObywatelstwa>(), QStringLiteral("Obywatelstwo"));
    EXPECT_EQ(TitlesOf<IDokumentyTozsamosci>(), QStringLiteral("Rodzaj,Seria,Numer"));
    EXPECT_EQ(TitlesOf<IAdresy>(), QStringLiteral("Miejscowość,Ulica"));
    EXPECT_EQ(TitlesOf<IAdresyDzialalnosci>(), QStringLiteral("Miejscowość,Ulica"));
    for (const QString& t : {TitlesOf<IOddzialy>(), TitlesOf<ISpolki>(), TitlesOf<ISpolkiPodmiotu>()})
        EXPECT_EQ(t, QStringLiteral("Nazwa,REGON"));
    EXPECT_EQ(TitlesOf<IRodzajeDzialalnosci>(), QStringLiteral("\"Kod wg PKD\",\"Opis wg PKD\""));
    for (const QString& t : {TitlesOf<IDaneZUSow>(), TitlesOf<IUrzedyStatystyczne>(),
                             TitlesOf<ISadyRejonowe>(), TitlesOf<IDaneBankow>()})
        EXPECT_EQ(t, QStringLiteral("Nazwa,Adres"));
    EXPECT_EQ(TitlesOf<IDaneNFZow>(), QStringLiteral("Kod,Nazwa"));
    EXPECT_EQ(TitlesOf<INrIdentyfikacyjne>(), QStringLiteral("Kraj,Numer"));
    for (const QString& t :
         {TitlesOf<IWspolnicy>(), TitlesOf<IDaneZamawiajacych>(), TitlesOf<IReprezentanci>()})
        EXPECT_EQ(t, QStringLiteral("Imię,Nazwisko"));
    EXPECT_EQ(TitlesOf<IRachunkiBankowe>(), QStringLiteral("\"Numer rachunku\",Nazwa"));
    EXPECT_EQ(TitlesOf<IBiuraRachunkowe>(), QStringLiteral("\"Nazwa / imię i nazwisko\",NIP"));
    for (const QString& t : {TitlesOf<IPodmioty>(), TitlesOf<IPodatnicy>(), TitlesOf<IKontrahenci>()})
        EXPECT_EQ(t, subjects);
    EXPECT_EQ(TitlesOf<IPracownicy>(),
              QStringLiteral("\"Opis lub imię i nazwisko\",\"Numer identyfikacyjny\",\"Miejscowość\""));
    EXPECT_TRUE(CollectionTitleBar(nullptr).isNull());
}

TEST_F(FrameTest, ACollectionGivesTheGridItsTitlesAndRows) {
    auto banks = Banks(3);
    m_frame.SetEwidarCollection(banks.get());
    EXPECT_EQ(Grid()->TitleBar(), QStringLiteral("Nazwa,Adres"));
    EXPECT_EQ(Grid()->RowCount(), 4);
    EXPECT_EQ(Grid()->Cells(1, 1), QStringLiteral("bank 1"));
    EXPECT_TRUE(m_frame.btnEdit->isEnabled());
    EXPECT_TRUE(m_frame.btnDelete->isEnabled());
    EXPECT_EQ(m_messages.Count(), 0);
}

TEST_F(FrameTest, AnEmptyCollectionDisablesEditAndDeleteWhileThePopupDoesNoHarm) {
    auto banks = Banks(0);
    m_frame.SetEwidarCollection(banks.get());
    EXPECT_FALSE(m_frame.btnEdit->isEnabled());
    EXPECT_FALSE(m_frame.btnDelete->isEnabled());
    m_frame.PopupMenu1Popup();
    EXPECT_TRUE(m_frame.Edytuj1->isEnabled());
    EXPECT_TRUE(m_frame.Usu1->isEnabled());
    m_frame.Edytuj1->trigger();
    m_frame.Usu1->trigger();
    m_frame.Powizania1->trigger();
    m_frame.btnEditClick();
    m_frame.btnDeleteClick();
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_TRUE(m_relations.isEmpty());
    EXPECT_EQ(m_messages.Count(), 0);
}

TEST_F(FrameTest, TheCollectionsErrorCodeIsShownWhenItIsListed) {
    auto banks = Banks(1);
    banks->ErrorCode = 3;
    m_frame.SetEwidarCollection(banks.get());
    ASSERT_EQ(m_messages.Count(), 1);
    EXPECT_EQ(m_messages.Last().Text, QStringLiteral("Błąd podczas wykonywania zapytania w bazie danych."));
}

TEST_F(FrameTest, FiveQuickKeystrokesReloadOnceAfterTheLast) {
    auto banks = Banks(3);
    m_frame.SetEwidarCollection(banks.get());
    QTest::keyClicks(m_frame.edtfilter, QStringLiteral("bank "));
    EXPECT_EQ(banks->FilterCalls, 0);
    EXPECT_TRUE(m_frame.tmrFilter->isActive());
    EXPECT_EQ(m_frame.tmrFilter->interval(), 250);
    EXPECT_TRUE(QTest::qWaitFor([&] { return banks->FilterCalls > 0; }, 3000));
    QTest::qWait(400);
    EXPECT_EQ(banks->FilterCalls, 1);
    EXPECT_EQ(banks->Filter, QStringLiteral("bank ")); // as typed, untrimmed
}

TEST_F(FrameTest, TheActivityFilterTreatsAnIndexOutsideItsItemsAsWszystkie) {
    auto people = MakeCollection<IPracownicy>();
    people->Add(1, {QStringLiteral("Jan")});
    m_frame.SetEwidarCollection(people.get());
    m_frame.ComboBox1->setCurrentIndex(2);
    EXPECT_TRUE(m_frame.tmrFilter->isActive()); // a change of the drop-down restarts the timer
    m_frame.tmrFilterTimer();
    EXPECT_EQ(people->LastActivity, 2);
    m_frame.ComboBox1->addItem(QStringLiteral("inne"));
    m_frame.ComboBox1->setCurrentIndex(3);
    m_frame.tmrFilterTimer();
    EXPECT_EQ(people->LastActivity, 0);
    m_frame.ComboBox1->setCurrentIndex(-1);
    m_frame.tmrFilterTimer();
    EXPECT_EQ(people->LastActivity, 0);
}

TEST_F(FrameTest, OtherCollectionsGetThePlainFilter) {
    auto banks = Banks(2);
    m_frame.SetEwidarCollection(banks.get());
    m_frame.edtfilter->setText(QStringLiteral("2"));
    m_frame.tmrFilterTimer();
    EXPECT_FALSE(m_frame.tmrFilter->isActive());
    EXPECT_EQ(banks->Filter, QStringLiteral("2"));
    EXPECT_EQ(Grid()->RowCount(), 2);
    EXPECT_EQ(Grid()->EwidarRecord(1)->GetID(), 2);
}

TEST_F(FrameTest, AFilterPassKeepsTheSelectedRecordAndUpdatesTheButtons) {
    auto banks = Banks(5);
    m_frame.SetEwidarCollection(banks.get());
    Grid()->SetRow(4);
    banks->Records.erase(banks->Records.begin()); // the list shrinks; record 4 moves up
    m_frame.tmrFilterTimer();
    EXPECT_EQ(m_frame.CurrentEwidarRecord()->GetID(), 4);
    EXPECT_EQ(Grid()->EwidarRecord(Grid()->Row())->GetID(), 4);
    banks->Records.clear();
    m_frame.tmrFilterTimer();
    EXPECT_FALSE(m_frame.btnEdit->isEnabled());
    EXPECT_FALSE(m_frame.btnDelete->isEnabled());
}

TEST_F(FrameTest, TheCollectionsChangeEventRestartsTheTimerAndOutlivesTheFrame) {
    auto banks = Banks(1);
    m_frame.SetEwidarCollection(banks.get());
    ASSERT_TRUE(banks->OnChange);
    banks->OnChange(banks.get());
    EXPECT_TRUE(m_frame.tmrFilter->isActive());
    {
        TCollectionBaseFrame other;
        other.SetEwidarCollection(banks.get());
    }
    banks->OnChange(banks.get()); // the frame that set it is gone: nothing happens
}

class FrameKeysTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_banks = Banks(5);
        m_frame.SetEwidarCollection(m_banks.get());
        m_frame.edtfilter->setText(QStringLiteral("bank"));
        m_frame.tmrFilterTimer();
        m_frame.edtfilter->setCursorPosition(2);
    }
    void Key(Qt::Key K) { QTest::keyClick(m_frame.edtfilter, K); }

    TIntfPtr<FakeCollection<IDaneBankow>> m_banks;
};

TEST_F(FrameKeysTest, NavigationKeysMoveTheGridAndKeepTheCaret) {
    ASSERT_EQ(Grid()->Row(), 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid()->Row(), 2);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Grid()->Row(), 3);
    Key(Qt::Key_End);
    EXPECT_EQ(Grid()->Row(), 5);
    Key(Qt::Key_Down); // on the last row
    EXPECT_EQ(Grid()->Row(), 5);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Grid()->Row(), 4);
    Key(Qt::Key_Home);
    EXPECT_EQ(Grid()->Row(), 1);
    Key(Qt::Key_Up); // on the first data row
    EXPECT_EQ(Grid()->Row(), 1);
    EXPECT_EQ(m_frame.edtfilter->text(), QStringLiteral("bank"));
    EXPECT_EQ(m_frame.edtfilter->cursorPosition(), 2);
    EXPECT_EQ(m_frame.FSelPos, -1); // restored and forgotten on key up
    EXPECT_FALSE(m_frame.tmrFilter->isActive());
}

TEST_F(FrameKeysTest, ASelectionInTheFilterSurvivesNavigation) {
    m_frame.edtfilter->setSelection(1, 2);
    Key(Qt::Key_End);
    EXPECT_EQ(m_frame.edtfilter->selectionStart(), 1);
    EXPECT_EQ(m_frame.edtfilter->selectedText(), QStringLiteral("an"));
}

TEST_F(FrameKeysTest, EnterInTheFilterOrOnTheGridOpensTheCurrentRecord) {
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].Record->GetID(), 2);
    QTest::keyClick(Grid(), Qt::Key_Enter);
    ASSERT_EQ(m_opened.size(), 2);
    EXPECT_EQ(m_opened[1].Record->GetID(), 2);
}

TEST_F(FrameKeysTest, TheGridDrawsItsSelectionWhileTheFilterHasFocus) {
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(m_frame.edtfilter, &in);
    EXPECT_FALSE(Grid()->DrawSelectOnlyWhenFocus());
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(m_frame.edtfilter, &out);
    EXPECT_TRUE(Grid()->DrawSelectOnlyWhenFocus());
}

// A selection window around the frame: double clicks accept it.
class ChooserWindow : public QWidget, public ISelectionWindow {
public:
    void AcceptAndClose() override { ++Accepted; }
    int Accepted = 0;
};

TEST_F(FrameKeysTest, ADoubleClickOnADataRowEditsAndOnTheTitleDoesNothing) {
    Grid()->SetRow(3);
    Grid()->OnRowDblClick()(Grid(), 0, true);
    EXPECT_TRUE(m_opened.isEmpty());
    Grid()->OnRowDblClick()(Grid(), 3, false);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened[0].Record->GetID(), 3);

    m_frame.Panel3->hide(); // read-only list
    Grid()->OnRowDblClick()(Grid(), 3, false);
    EXPECT_EQ(m_opened.size(), 1);
}

TEST_F(FrameKeysTest, InsideASelectionWindowADoubleClickAcceptsIt) {
    ChooserWindow window;
    m_frame.setParent(&window);
    Grid()->OnRowDblClick()(Grid(), 2, false);
    EXPECT_EQ(window.Accepted, 1);
    EXPECT_TRUE(m_opened.isEmpty());
    m_frame.btnEdit->hide();
    Grid()->OnRowDblClick()(Grid(), 2, false);
    EXPECT_EQ(window.Accepted, 1);
    m_frame.setParent(nullptr);
}

TEST_F(FrameTest, ThePopupEnablesEntriesForTheButtonsShown) {
    auto banks = Banks(2);
    m_frame.SetEwidarCollection(banks.get());
    m_frame.PopupMenu1Popup();
    EXPECT_FALSE(m_frame.Poka1->isEnabled()); // btnView is hidden by default
    EXPECT_TRUE(m_frame.Dodaj1->isEnabled());
    EXPECT_TRUE(m_frame.Powizania1->isVisible());
    // A registry offers merging; searching for duplicates only a registry of subjects.
    EXPECT_TRUE(m_frame.Scaldane1->isVisible());
    EXPECT_TRUE(m_frame.N2->isVisible());
    EXPECT_FALSE(m_frame.Znajdzduplikaty1->isVisible());
    m_frame.btnView->show();
    m_frame.btnAdd->hide();
    m_frame.PopupMenu1Popup();
    EXPECT_TRUE(m_frame.Poka1->isEnabled());
    EXPECT_FALSE(m_frame.Dodaj1->isEnabled());
    m_frame.Panel3->hide();
    m_frame.PopupMenu1Popup();
    for (QAction* a : {m_frame.Poka1, m_frame.Dodaj1, m_frame.Edytuj1, m_frame.Usu1})
        EXPECT_FALSE(a->isEnabled());
    EXPECT_TRUE(m_frame.Powizania1->isEnabled());
    EXPECT_FALSE(m_frame.Scaldane1->isVisible());
    auto taxpayers = MakeCollection<IPodatnicy>();
    m_frame.SetEwidarCollection(taxpayers.get());
    m_frame.Panel3->show();
    m_frame.PopupMenu1Popup();
    EXPECT_TRUE(m_frame.Znajdzduplikaty1->isVisible());
}

TEST_F(FrameTest, RelationsTakeTheCurrentRecordAndMergeExactlyTwoTickedOnes) {
    auto banks = Banks(4);
    m_frame.SetEwidarCollection(banks.get());
    QList<std::pair<int, int>> merged;
    ListOpeners::SetMergeOpener([&](QWidget*, IEwidarRecord* A, IEwidarRecord* B, IEwidarDataBase* Db) {
        EXPECT_EQ(Db, m_db.get());
        merged.append({A->GetID(), B->GetID()});
        return false;
    });
    Grid()->SetRow(3);
    m_frame.Powizania1->trigger();
    ASSERT_EQ(m_relations.size(), 1);
    EXPECT_EQ(m_relations[0]->GetID(), 3);
    // Exactly two ticked records are merged; one or three are refused with a message.
    Grid()->SetChecked(4, true);
    m_frame.Scaldane1Click();
    EXPECT_TRUE(merged.isEmpty());
    Grid()->SetChecked(2, true);
    Grid()->SetChecked(3, true);
    m_frame.Scaldane1Click();
    EXPECT_TRUE(merged.isEmpty());
    Grid()->SetChecked(3, false);
    m_frame.Scaldane1Click();
    ASSERT_EQ(merged.size(), 1);
    EXPECT_EQ(merged[0], std::make_pair(2, 4));
}

TEST_F(FrameTest, ViewShowsTheReportOfASubjectOnly) {
    auto taxpayers = MakeCollection<IPodatnicy>();
    taxpayers->Add<FakePodatnik>(7, {QStringLiteral("Kowalski")});
    int shown = 0;
    ListOpeners::SetSubjectInfoOpener(
        [&](QWidget*, IEwidarDataBase*, IPodmioty* Podmioty, IPodatnicy* Podatnicy, IPodmiot* Podmiot) {
            ++shown;
            EXPECT_EQ(Podmioty, nullptr);
            EXPECT_NE(Podatnicy, nullptr);
            EXPECT_EQ(Podmiot->GetID(), 7);
        });
    m_frame.SetEwidarCollection(taxpayers.get());
    m_frame.btnViewClick();
    EXPECT_EQ(shown, 0); // the button is hidden
    m_frame.btnView->show();
    m_frame.btnViewClick();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(m_frame.CurrentEwidarRecord()->GetID(), 7);

    auto banks = Banks(1);
    m_frame.SetEwidarCollection(banks.get());
    m_frame.btnViewClick();
    EXPECT_EQ(shown, 1);
}

} // namespace
