// Tabs reached by the user after the editor opened: what their lists and viewers show,
// a row added there and posted with the subject, the focus order, the context, the size.

#include "PodmiotFixture.h"
#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarRecordForm.h"

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

void ClickTab(TPodmiotFrame* Frame, const char* Name) {
    QTabBar* bar = Frame->PageControl1->tabBar();
    const int index = Frame->PageControl1->indexOf(Frame->Tab(Name));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    ASSERT_EQ(Frame->PageControl1->currentIndex(), index) << Name;
    QApplication::processEvents();
}

// Found among the window's widgets, not through the frame's accessor (which builds).
template <class T> T* Visible(TPodmiotFrame* Frame, const QString& Name) {
    auto* w = Frame->findChild<T*>(Name);
    EXPECT_TRUE(w && w->isVisible()) << Name.toStdString();
    return w;
}

// The rows holding a record (an empty list shows one saying so).
int ListedRows(TCollectionBaseFrame* List) {
    List->ApplyPendingFilter();
    int rows = 0;
    for (int r = List->DrawGrid1->FixedRows(); r < List->DrawGrid1->RowCount(); ++r)
        rows += List->DrawGrid1->EwidarRecord(r) ? 1 : 0;
    return rows;
}

} // namespace

TEST_F(PodmiotTest, ListsOfATabClickedLaterListTheirRowsAndTheViewerFollowsTheSelection) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    for (const char* name : {"Kowal", "Lis", "Wróbel"})
        NewEmployee(taxpayer.get(), QString::fromUtf8(name));
    for (const char* number : {"PL61109010140000071219812874", "PL27114020040000300201355387"}) {
        auto account = Supports<IPodmiot>(taxpayer)->GetRachunkiBankowe()->New();
        SetValue(account.get(), cDaneRachunkuNrRachunku.Symbol, QLatin1String(number));
        ASSERT_TRUE(account->Post()) << account->GetLastErrorCode();
    }
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    ClickTab(f, "TabSheet11");
    auto* people = Visible<TCollectionBaseFrame>(f, QStringLiteral("PracownicyCollection"));
    ASSERT_TRUE(people);
    EXPECT_EQ(ListedRows(people), 3);
    EXPECT_TRUE(people->pnlAktywni->isVisible() && people->btnList->isVisible());

    ClickTab(f, "TabSheet7");
    auto* accounts = Visible<TCollectionBaseFrame>(f, QStringLiteral("RachunkiBankoweCollection"));
    ASSERT_TRUE(accounts);
    ASSERT_EQ(ListedRows(accounts), 2);
    EXPECT_FALSE(accounts->pnlFilter->isVisible());
    TDrawGrid* grid = accounts->DrawGrid1;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 0)).center());
    auto* viewer = Visible<TBaseFrame>(f, QStringLiteral("DaneRachunkuFrame1"));
    ASSERT_TRUE(viewer && viewer->EwidarRecord());
    EXPECT_EQ(viewer->EwidarRecord()->GetID(), grid->EwidarRecord(grid->FixedRows() + 1)->GetID());
    EXPECT_FALSE(f->Modified());
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

TEST_F(PodmiotTest, BranchAddedOnATabClickedLaterIsListedAndStaysWithThePostedSubject) {
    InstallRecordForms();
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    ClickTab(f, "TabSheet3");
    auto* branches = Visible<TCollectionBaseFrame>(f, QStringLiteral("OddzialyCollection"));
    ASSERT_TRUE(branches);
    WhenWindow(QStringLiteral("RecordForm"), [](QWidget* w) {
        TBaseFrame* branch = qobject_cast<TRecordForm*>(w)->BaseFrame();
        QTest::keyClicks(branch->findChild<TPanel*>(QStringLiteral("pnlNazwa"))->Edit(), QStringLiteral("Oddzial"));
        QTest::mouseClick(branch->btnPost, Qt::LeftButton);
    });
    QTest::mouseClick(branches->btnAdd, Qt::LeftButton);
    ASSERT_EQ(ListedRows(branches), 1);
    ClickTab(f, "TabSheet2");
    Type(f->Panel("pnlNrTelefonu"), QStringLiteral("42 123"));
    ASSERT_TRUE(f->PostPodmiot());
    EXPECT_EQ(StoredValue(taxpayer->GetID(), cDanePodmiotuNrTelefonu.Symbol), QStringLiteral("42 123"));
    EXPECT_EQ(Supports<IPodmiot>(FindSubject(taxpayer->GetID()))->GetOddzialy()->GetCount(), 1);
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

// Tab from the last field of "Dane firmy" passes the editor's buttons, then the tab's
// lists in order; in the focus chain they stand before the main activity section built
// after them with the window.
TEST_F(PodmiotTest, TabOnATabClickedLaterRunsThroughItsListsInOrder) {
    TPodmiotFrame* f = Open(NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}}), kPodatnik);
    ClickTab(f, "TabSheet3");
    f->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f->window()));
    TPanel* section = f->Panel("pnlDaneWpisuEwidencji");
    QWidget* last = nullptr;
    for (QWidget* w = section->nextInFocusChain(); w != section; w = w->nextInFocusChain())
        if (section->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            last = w;
    ASSERT_TRUE(last);
    last->setFocus(Qt::TabFocusReason);
    QHash<QWidget*, QString> names = {{f->findChild<QWidget*>(QStringLiteral("RodzajDzialalnosciFrame1")), "section"}};
    QStringList lists, expected = {"btnSearchRregonGUS", "btnWykazVAT", "btnWypelnijZWykazuVAT", "btnWeryfikacje"};
    for (const char* name : {"AdresyDzialalnosciCollection", "RodzajeDzialalnosciCollection", "OddzialyCollection"}) {
        names.insert(Visible<TCollectionBaseFrame>(f, QLatin1String(name))->DrawGrid1, QLatin1String(name));
        lists.append(QLatin1String(name));
    }
    expected += lists;
    QStringList reached;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.append(names.value(QApplication::focusWidget(), QApplication::focusWidget()->objectName()));
    }
    EXPECT_EQ(reached, expected);
    QStringList chain;
    QWidget* w = f->window();
    do {
        if (names.contains(w))
            chain.append(names.value(w));
        w = w->nextInFocusChain();
    } while (w != f->window());
    EXPECT_EQ(chain, lists + QStringList{"section"});
}

TEST_F(PodmiotTest, ViewerOfATabClickedLaterTakesTheEditorsContext) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    for (TKontekst kontekst : {kPodatnik, kKontrahent}) {
        TPodmiotFrame* f = Open(taxpayer, kontekst);
        ClickTab(f, "TabSheet8");
        auto* viewer = Visible<TBaseFrame>(f, QStringLiteral("DaneReprezentantaFrame1"));
        ASSERT_TRUE(viewer);
        EXPECT_EQ(viewer->Kontekst(), kontekst);
        EXPECT_EQ(viewer->findChild<QWidget*>(QStringLiteral("pnlPosiadaUpowaznienie"))->isVisible(),
                  kontekst != kKontrahent);
    }
}

// With the usual font and with ones so large that the pages' own sizes count.
TEST_F(PodmiotTest, TabsAskForTheSameSizeBeforeAndAfterEveryTabWasShown) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    ASSERT_TRUE(NewEmployee(taxpayer.get(), QStringLiteral("Kowal")));
    for (int points : {0, 18, 28}) {
        TPodmiotFrame* f = Open(taxpayer, kPodatnik);
        if (points > 0) {
            f->setFont(QFont(f->font().family(), points));
            QApplication::processEvents();
        }
        QTabWidget* tabs = f->PageControl1;
        const auto asked = [tabs] { return tabs->sizeHint().expandedTo(tabs->minimumSize()); };
        const QSize before = asked();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabVisible(i))
                tabs->setCurrentIndex(i);
        QApplication::processEvents();
        EXPECT_EQ(asked(), before) << points;
    }
}
