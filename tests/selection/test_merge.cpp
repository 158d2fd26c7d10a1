// The record comparison window over the SQL backend: which fields it lists and
// how, when it opens at all, and the two sides kept in step.

#include "SelectionFixture.h"
#include "uRecordMergeForm.h"

#include <QPushButton>
#include <QScrollBar>
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
