// The record comparison window over the SQL backend: which fields it lists and
// how, when it opens at all, and the two sides kept in step.

#include "SelectionFixture.h"
#include "uDuplicatesForm.h"
#include "uRecordMergeForm.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

using namespace TestSupport;

namespace {

using MergeTest = SelectionTest;

QStringList Column(uRecordMergeForm::TDrawGrid* Grid) {
    QStringList cells;
    for (int r = 0; r < Grid->RowCount(); ++r)
        cells << Grid->Cells(0, r);
    return cells;
}

// Opens the comparison of two records; false when no window opened.
bool Compare(IEwidarRecord* First, IEwidarRecord* Second, std::function<void(TRecordMergeForm*)> Look) {
    bool opened = false;
    WhenModal(
        [&](QWidget* w) {
            opened = true;
            if (auto* form = qobject_cast<TRecordMergeForm*>(w))
                Look(form);
            w->close();
        },
        300);
    MergeRecords(nullptr, First, Second);
    QTest::qWait(350); // lets an unused watcher run out
    return opened;
}

} // namespace

TEST_F(MergeTest, ListsOnlyDifferingFieldsWithTheLargerRecordOnTheLeft) {
    auto a = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"));
    auto b = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Nowak"));
    SetValue(b.get(), cDanePodmiotuDataUrodzenia.Symbol, QStringLiteral("H")); // shown as blank: no row
    SetValue(b.get(), cDanePodmiotuOpis.Symbol, QStringLiteral("raz\ndwa"));   // a multi-line value
    ASSERT_TRUE(b->Post());
    EXPECT_TRUE(Compare(a.get(), b.get(), [](TRecordMergeForm* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Scalanie rekordów"));
        EXPECT_FALSE(form->Button1->isEnabled());
        EXPECT_EQ(Column(form->DrawGrid1), QStringList({"Opis:\r\n ", "Nazwisko:\r\nKowalski"}));
        EXPECT_EQ(Column(form->DrawGrid2), QStringList({"Opis:\r\nraz\ndwa", "Nazwisko:\r\nNowak"}));
        // Each side sizes its rows by its own text.
        const int line = TDrawGrid::DefaultRowHeight;
        EXPECT_EQ(form->DrawGrid1->RowHeights(0), 2 * line);
        EXPECT_EQ(form->DrawGrid2->RowHeights(0), 3 * line);
        EXPECT_EQ(form->DrawGrid2->RowHeights(1), 2 * line);
    }));

    // A bank lacks the subject's fields: the subject goes left whatever the order,
    // and what the bank lacks reads as blank.
    auto bank = Bank(QStringLiteral("PKO"));
    EXPECT_TRUE(Compare(bank.get(), a.get(), [](TRecordMergeForm* form) {
        EXPECT_TRUE(Column(form->DrawGrid1).contains(QStringLiteral("Nazwisko:\r\nKowalski")));
        EXPECT_TRUE(Column(form->DrawGrid2).contains(QStringLiteral("Nazwisko:\r\n ")));
        EXPECT_EQ(form->DrawGrid1->RowCount(), form->DrawGrid2->RowCount());
    }));
}

TEST_F(MergeTest, OpensOnlyForTwoDifferentRecordsAndEmptyForEqualOnes) {
    auto a = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"));
    auto twin = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"));
    auto again = Reg()->GetPodatnicy({})->GetItem(0);
    ASSERT_EQ(again->GetID(), a->GetID());
    auto look = [](TRecordMergeForm*) {
    };
    EXPECT_FALSE(Compare(a.get(), again.get(), look));
    EXPECT_FALSE(Compare(a.get(), nullptr, look));
    EXPECT_TRUE(Compare(a.get(), twin.get(), [](TRecordMergeForm* form) {
        EXPECT_EQ(form->DrawGrid1->RowCount(), 0);
        EXPECT_EQ(form->DrawGrid2->RowCount(), 0);
    }));
}

TEST_F(MergeTest, SelectingAndScrollingOneSideMovesTheOther) {
    auto a = NewPodatnik(m_db.get(), QStringLiteral("A"), QStringLiteral("A"));
    auto b = NewPodatnik(m_db.get(), QStringLiteral("B"), QStringLiteral("B"));
    for (const TInternalFieldRecord* field :
         {&cDanePodmiotuNIP, &cDanePodmiotuREGON, &cDanePodmiotuPESEL, &cDanePodmiotuNrTelefonu,
          &cDanePodmiotuAdresEMail, &cDanePodmiotuOpis})
        SetValue(b.get(), field->Symbol, QStringLiteral("x\ny\nz"));
    ASSERT_TRUE(b->Post());
    TRecordMergeForm form(nullptr);
    form.resize(500, 120);
    form.Fill(a.get(), b.get());
    form.show();
    ASSERT_EQ(form.DrawGrid1->RowCount(), 8);
    form.DrawGrid2->SetRow(5);
    EXPECT_EQ(form.DrawGrid1->Row(), 5);
    form.DrawGrid1->SetRow(2);
    EXPECT_EQ(form.DrawGrid2->Row(), 2);
    form.DrawGrid2->verticalScrollBar()->setValue(0);
    form.DrawGrid1->verticalScrollBar()->setValue(0);
    for (int step = 1; step <= 2; ++step) {
        form.DrawGrid2->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(form.DrawGrid2->verticalScrollBar()->value(), step);
        EXPECT_EQ(form.DrawGrid1->verticalScrollBar()->value(), step);
    }
    EXPECT_TRUE(form.DrawGrid2->OnScroll()); // bound again after passing the step on
}

namespace {

int RowStartingWith(uRecordMergeForm::TDrawGrid* Grid, const QString& Caption) {
    for (int r = 0; r < Grid->RowCount(); ++r)
        if (Grid->Cells(0, r).startsWith(Caption))
            return r;
    return -1;
}

void ClickRow(uRecordMergeForm::TDrawGrid* Grid, int Row) {
    const QRect cell = Grid->visualRect(Grid->model()->index(Row, 0));
    QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

TEST_F(MergeTest, ArrowTakesTheRightValueAndScalMergesIntoTheLeftRecord) {
    auto a = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Kowalski"), QStringLiteral("Gdańsk"));
    auto b = NewPodatnik(m_db.get(), QStringLiteral("Jan"), QStringLiteral("Nowak"), QStringLiteral("Sopot"));
    SetValue(b.get(), cDanePodmiotuNIP.Symbol, QStringLiteral("123-456-32-18"));
    ASSERT_TRUE(b->Post());
    const int32_t keptID = a->GetID();
    m_messages.QueueResult(ModalResult::mrYes);
    bool looked = false;
    WhenModal<TRecordMergeForm>([&](TRecordMergeForm* form) {
        looked = true;
        EXPECT_TRUE(form->Button1->isEnabled());
        EXPECT_EQ(form->LeftRecord()->GetID(), keptID);
        const int surname = RowStartingWith(form->DrawGrid2, QStringLiteral("Nazwisko:"));
        ASSERT_GE(surname, 0);
        ClickRow(form->DrawGrid2, surname);
        EXPECT_EQ(form->DrawGrid1->Row(), surname);
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        EXPECT_EQ(form->DrawGrid1->Cells(0, surname), QStringLiteral("Nazwisko:  <----- (z prawej)\r\nNowak"));
        QTest::mouseClick(form->Button1, Qt::LeftButton); // taken again: given back
        EXPECT_EQ(form->DrawGrid1->Cells(0, surname), QStringLiteral("Nazwisko:\r\nKowalski"));
        EXPECT_TRUE(form->ChosenValues().empty());
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        QTest::mouseClick(form->btnScal, Qt::LeftButton);
    });
    EXPECT_TRUE(MergeRecords(nullptr, a.get(), b.get(), m_db.get()));
    EXPECT_TRUE(looked);
    ASSERT_EQ(m_messages.Count(), 1);
    EXPECT_TRUE(m_messages.Last().Text.contains(QStringLiteral("Pozostanie: Jan Kowalski")));
    EXPECT_TRUE(m_messages.Last().Text.contains(QStringLiteral("Zostanie usunięty: Jan Nowak")));

    auto podatnicy = Reg()->GetPodatnicy({});
    ASSERT_EQ(podatnicy->GetCount(), 1);
    auto kept = Supports<IPodmiot>(podatnicy->GetItem(0));
    EXPECT_EQ(kept->GetID(), keptID);
    EXPECT_EQ(Value(kept.get(), cDanePodmiotuNazwisko.Symbol), QStringLiteral("Nowak")); // taken
    EXPECT_EQ(Value(kept.get(), cDanePodmiotuNIP.Symbol), QString());                   // not taken
    EXPECT_EQ(kept->GetAdresy()->GetCount(), 2);
}

TEST_F(MergeTest, ARefusedMergeKeepsTheWindowAndBothRecords) {
    auto employer = NewPodatnik(m_db.get(), QStringLiteral("Pan"), QStringLiteral("Szef"));
    auto worker = NewPodatnik(m_db.get(), QStringLiteral("Pan"), QStringLiteral("Pracownik"));
    Supports<IPodatnik>(employer)->GetPracownicy(0, 0)->AddExisting(worker.get());
    m_messages.QueueResult(ModalResult::mrYes);
    WhenModal<TRecordMergeForm>([&](TRecordMergeForm* form) {
        QTest::mouseClick(form->btnScal, Qt::LeftButton);
        EXPECT_TRUE(form->isVisible()); // refused: the operator may cancel
        QTest::mouseClick(form->btnCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(MergeRecords(nullptr, employer.get(), worker.get(), m_db.get()));
    EXPECT_EQ(m_db->GetLastErrorCode(), 1018);
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), 2);
}

TEST_F(MergeTest, DuplicatesWindowSetsAsideOrMergesAPair) {
    auto subject = [&](const QString& Last, const QString& Nip) {
        auto s = NewPodatnik(m_db.get(), QStringLiteral("Jan"), Last);
        SetValue(s.get(), cDanePodmiotuNIP.Symbol, Nip);
        EXPECT_TRUE(s->Post());
        return s;
    };
    subject(QStringLiteral("Adamski"), QStringLiteral("111-111-11-11"));
    subject(QStringLiteral("Adamsky"), QStringLiteral("1111111111"));
    subject(QStringLiteral("Bielski"), QStringLiteral("222-222-22-22"));
    subject(QStringLiteral("Bielsky"), QStringLiteral("2222222222"));
    bool looked = false;
    WhenModal<TDuplicatesForm>([&](TDuplicatesForm* form) {
        looked = true;
        ASSERT_EQ(form->Grid->rowCount(), 2);
        EXPECT_EQ(form->Grid->item(0, 2)->text(), QStringLiteral("NIP"));
        form->Grid->selectRow(0);
        QTest::mouseClick(form->btnNotDuplicate, Qt::LeftButton);
        ASSERT_EQ(form->Grid->rowCount(), 1);
        EXPECT_TRUE(form->Grid->item(0, 0)->text().contains(QStringLiteral("Bielski")));
        m_messages.QueueResult(ModalResult::mrYes);
        WhenModal<TRecordMergeForm>(
            [](TRecordMergeForm* merge) { QTest::mouseClick(merge->btnScal, Qt::LeftButton); });
        QTest::mouseClick(form->btnMerge, Qt::LeftButton);
        EXPECT_EQ(form->Grid->rowCount(), 0);
        QTest::mouseClick(form->btnClose, Qt::LeftButton);
    });
    ShowDuplicates(nullptr, m_db.get());
    EXPECT_TRUE(looked);
    EXPECT_EQ(Reg()->GetPodmioty({})->GetCount(), 3);
    // Nothing left to offer, also after the pair set aside: no window, a message.
    ShowDuplicates(nullptr, m_db.get());
    EXPECT_EQ(m_messages.Last().Text, QStringLiteral("Nie znaleziono duplikatów."));
}
