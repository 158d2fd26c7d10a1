// The lists and viewers of a tab reached by the user after the window opened: what
// they list and show, a row added through them and posted with the subject, where
// Tab moves on such a tab, and the context they take from the editor.

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

// Clicks the tab's caption, as the user does.
void ClickTab(TPodmiotFrame* Frame, const char* Name) {
    QTabBar* bar = Frame->PageControl1->tabBar();
    const int index = Frame->PageControl1->indexOf(Frame->Tab(Name));
    ASSERT_GE(index, 0) << Name;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    ASSERT_EQ(Frame->PageControl1->currentIndex(), index) << Name;
    QApplication::processEvents();
}

// Found as a widget of the window, not through the frame's accessor (which builds).
TCollectionBaseFrame* ShownList(TPodmiotFrame* Frame, const char* Name) {
    auto* list = Frame->findChild<TCollectionBaseFrame*>(QLatin1String(Name));
    EXPECT_TRUE(list && list->isVisible()) << Name;
    return list;
}

// The rows that hold a record (an empty list shows one row saying so).
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
    auto subject = Supports<IPodmiot>(taxpayer);
    QList<int32_t> accounts;
    for (const char* number : {"PL61109010140000071219812874", "PL27114020040000300201355387"}) {
        auto account = subject->GetRachunkiBankowe()->New();
        SetValue(account.get(), cDaneRachunkuNrRachunku.Symbol, QLatin1String(number));
        ASSERT_TRUE(account->Post()) << account->GetLastErrorCode();
        accounts.append(account->GetID());
    }
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);

    ClickTab(f, "TabSheet11");
    TCollectionBaseFrame* people = ShownList(f, "PracownicyCollection");
    ASSERT_TRUE(people);
    EXPECT_EQ(ListedRows(people), 3);
    EXPECT_TRUE(people->pnlAktywni->isVisible()) << "a taxpayer's people are filtered by activity";
    EXPECT_TRUE(people->btnList->isVisible());
    EXPECT_TRUE(people->pnlFilter->isVisible());

    ClickTab(f, "TabSheet7");
    TCollectionBaseFrame* list = ShownList(f, "RachunkiBankoweCollection");
    ASSERT_TRUE(list);
    ASSERT_EQ(ListedRows(list), 2);
    EXPECT_FALSE(list->pnlFilter->isVisible()) << "a section list has no filter";
    // Clicking the second row shows that account below the list.
    TDrawGrid* grid = list->DrawGrid1;
    const int second = grid->FixedRows() + 1;
    const QModelIndex cell = grid->model()->index(second - grid->FixedRows(), 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    auto* viewer = f->findChild<TBaseFrame*>(QStringLiteral("DaneRachunkuFrame1"));
    ASSERT_TRUE(viewer && viewer->isVisible());
    ASSERT_TRUE(viewer->EwidarRecord());
    EXPECT_EQ(viewer->EwidarRecord()->GetID(), grid->EwidarRecord(second)->GetID());
    EXPECT_TRUE(accounts.contains(viewer->EwidarRecord()->GetID()));
    EXPECT_FALSE(f->Modified());
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

TEST_F(PodmiotTest, BranchAddedOnATabClickedLaterIsListedAndStaysWithThePostedSubject) {
    InstallRecordForms();
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    ClickTab(f, "TabSheet3");
    TCollectionBaseFrame* branches = ShownList(f, "OddzialyCollection");
    ASSERT_TRUE(branches);
    ASSERT_EQ(ListedRows(branches), 0);
    bool stored = false;
    WhenWindow(QStringLiteral("RecordForm"), [&](QWidget* w) {
        TBaseFrame* branch = qobject_cast<TRecordForm*>(w)->BaseFrame();
        ASSERT_TRUE(branch);
        TPanel* name = branch->findChild<TPanel*>(QStringLiteral("pnlNazwa"));
        ASSERT_TRUE(name && name->Edit());
        QTest::keyClicks(name->Edit(), QStringLiteral("Oddzial Lodz"));
        QTest::mouseClick(branch->btnPost, Qt::LeftButton);
        stored = true;
    });
    QTest::mouseClick(branches->btnAdd, Qt::LeftButton);
    ASSERT_TRUE(stored);
    ASSERT_EQ(ListedRows(branches), 1);
    QStringList cells;
    for (int c = 0; c < branches->DrawGrid1->ColCount(); ++c)
        cells.append(branches->DrawGrid1->Cells(c, branches->DrawGrid1->FixedRows()));
    EXPECT_TRUE(cells.join(QLatin1Char('|')).contains(QStringLiteral("Oddzial Lodz"))) << cells.join(QLatin1Char('|')).toStdString();

    ClickTab(f, "TabSheet2");
    Type(f->Panel("pnlNrTelefonu"), QStringLiteral("42 123"));
    ASSERT_TRUE(f->PostPodmiot());
    EXPECT_EQ(StoredValue(taxpayer->GetID(), cDanePodmiotuNrTelefonu.Symbol), QStringLiteral("42 123"));
    EXPECT_EQ(Supports<IPodmiot>(FindSubject(taxpayer->GetID()))->GetOddzialy()->GetCount(), 1);
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

// Tab from the last field of "Dane firmy" passes the editor's buttons, then that tab's
// lists in their order, as when every list was built with the window.
TEST_F(PodmiotTest, TabOnATabClickedLaterRunsThroughItsListsInOrder) {
    const QStringList lists3 = {QStringLiteral("AdresyDzialalnosciCollection"),
                                     QStringLiteral("RodzajeDzialalnosciCollection"),
                                     QStringLiteral("OddzialyCollection")};
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
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
    ASSERT_EQ(QApplication::focusWidget(), last);
    QStringList expected = {"btnSearchRregonGUS", "btnWykazVAT", "btnWypelnijZWykazuVAT", "btnWeryfikacje"};
    for (const QString& list : lists3)
        expected.append(list + QLatin1String("/DrawGrid1"));
    QStringList reached;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* w = QApplication::focusWidget();
        ASSERT_TRUE(w);
        QWidget* list = w->parentWidget();
        while (list && !qobject_cast<TCollectionBaseFrame*>(list))
            list = list->parentWidget();
        reached.append(list ? list->objectName() + QLatin1Char('/') + w->objectName() : w->objectName());
    }
    EXPECT_EQ(reached, expected);
    // In the window's focus chain the lists' grids stand before the main activity section
    // built after them, where they stood when the lists were built with the window.
    QWidget* mainKind = f->findChild<QWidget*>(QStringLiteral("RodzajDzialalnosciFrame1"));
    ASSERT_TRUE(mainKind);
    QHash<QWidget*, QString> grids;
    for (const QString& name : lists3)
        grids.insert(ShownList(f, name.toLatin1().constData())->DrawGrid1, name);
    QStringList order;
    QWidget* start = f->window();
    QWidget* w = start;
    do {
        if (w == mainKind)
            order.append(QStringLiteral("section"));
        else if (grids.contains(w))
            order.append(grids.value(w));
        w = w->nextInFocusChain();
    } while (w != start);
    EXPECT_EQ(order, lists3 + QStringList{QStringLiteral("section")});
}

TEST_F(PodmiotTest, ViewerOfATabClickedLaterTakesTheEditorsContext) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    for (TKontekst kontekst : {kPodatnik, kKontrahent}) {
        TPodmiotFrame* f = Open(taxpayer, kontekst);
        ClickTab(f, "TabSheet8");
        auto* viewer = f->findChild<TBaseFrame*>(QStringLiteral("DaneReprezentantaFrame1"));
        ASSERT_TRUE(viewer && viewer->isVisible());
        EXPECT_EQ(viewer->Kontekst(), kontekst);
        auto* authorisation = viewer->findChild<QWidget*>(QStringLiteral("pnlPosiadaUpowaznienie"));
        ASSERT_TRUE(authorisation);
        EXPECT_EQ(authorisation->isVisible(), kontekst != kKontrahent) << int(kontekst);
    }
}

// The size the editor's layout asks for its tabs is the same before and after every tab
// was shown (and its lists built), with the usual font and with one so large that the
// pages' own sizes decide it.
TEST_F(PodmiotTest, TabsAskForTheSameSizeBeforeAndAfterEveryTabWasShown) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    ASSERT_TRUE(NewEmployee(taxpayer.get(), QStringLiteral("Kowal")));
    for (int points : {0, 18, 28}) {
        TPodmiotFrame* f = Open(taxpayer, kPodatnik);
        if (points > 0) {
            QFont large = f->font();
            large.setPointSize(points);
            f->setFont(large);
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
        if (points > 0)
            EXPECT_NE(before, tabs->minimumSize()) << "the large font is to make the pages decide";
    }
}
