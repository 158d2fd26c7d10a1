// The bookkeeper's path through every registry that takes new records, on the real main
// window over the real router and SQL backend: "Dodaj" clicked, the new record's window
// typed into with the keyboard while another program posts a record of the same kind
// (the list reloads under the open window), "Zapisz" clicked, the list shows the record,
// Enter on its row opens it again with every typed value. And a new taxpayer whose
// address was stored in its own window is not thrown away silently by "Anuluj".

#include "EditingFixture.h"
#include "FakeMessagePresenter.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uBaseFrame.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarRecordForm.h"
#include "uMainForm.h"
#include "uPodmiotFrame.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegistrySwitch.h"

#include <QApplication>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct TTyped {
    const char* Panel;
    const char* Text;
};

// One registry of the main window that takes new records.
struct TRegistryPath {
    const char* Switch;
    // What the other program posts: its registry and the field it names the record in.
    const char* PosterRegistry;
    const char* PosterField;
    const char* NewTitle;
    // The employee and contractor registries ask for the taxpayer first.
    bool ChoosesTaxpayer;
    std::vector<TTyped> Typed;

    friend std::ostream& operator<<(std::ostream& Os, const TRegistryPath& P) { return Os << P.Switch; }
};

const TRegistryPath kPaths[] = {
    {"rbPodatnicy", "Podatnicy", "cDanePodmiotuNazwisko", "Nowy podatnik", false,
     {{"pnlNazwisko", "Kowalski"}, {"pnlPierwszeImie", "Jan"}, {"pnlNIP", "5260250274"}}},
    {"rbPracownicy", "Pracownicy", "cDanePodmiotuNazwisko", "Nowy pracownik", true,
     {{"pnlNazwisko", "Nowak"}, {"pnlPierwszeImie", "Anna"}, {"pnlNIP", "7740001230"}}},
    {"rbKontrahenci", "Kontrahenci", "cDanePodmiotuNazwisko", "Nowy zleceniobiorca", true,
     {{"pnlNazwisko", "Wisniewski"}, {"pnlPierwszeImie", "Piotr"}, {"pnlNIP", "1130004563"}}},
    {"rbSpki", "Spolki", "cDaneSpolkiNazwa", "Nowa firma", false,
     {{"pnlNazwa", "Alfa Spolka Jawna"}, {"pnlNIP", "9510007891"}}},
    {"rbBanki", "DaneBankow", "cDaneBankuNazwa", "Nowy bank", false,
     {{"pnlNazwa", "Bank Testowy"}, {"pnlAdres", "ul. Prosta 1, Warszawa"}}},
    {"rbDaneZUS", "DaneZUSow", "cDaneZUSNazwa", "Nowy oddział ZUS", false,
     {{"pnlNazwa", "ZUS Oddzial Testowy"}, {"pnlAdres", "ul. Szkolna 2, Lublin"}}},
    {"rbDaneNFZ", "DaneNFZow", "cDaneNFZNazwa", "Nowy oddział NFZ", false,
     {{"pnlNazwa", "Oddzial Testowy NFZ"}, {"pnlKod", "17"}}},
    {"rbUrzedyStatystyczne", "UrzedyStatystyczne", "cDaneUrzeduStatystycznegoNazwa",
     "Nowy urząd statystyczny", false, {{"pnlNazwa", "Urzad Testowy"}, {"pnlAdres", "ul. Polna 3, Opole"}}},
    {"rbSadyRejonowe", "SadyRejonowe", "cDaneSaduRejonowegoNazwa", "Nowy sąd rejonowy", false,
     {{"pnlNazwa", "Sad Rejonowy Testowy"}, {"pnlAdres", "ul. Krotka 4, Radom"}}},
    {"rbBiuraRachunkowe", "BiuraRachunkowe", "cBiuroRachunkoweNazwa", "Nowe biuro rachunkowe", false,
     {{"pnlNazwa", "Biuro Testowe"}, {"pnlNazwisko", "Lis"}, {"pnlImie", "Ewa"}, {"pnlNIP", "6760003214"}}},
};

// Values compare without the separators an editor may show.
QString Bare(const QString& Text) {
    return QString(Text).remove(QRegularExpression(QStringLiteral("[-\\s]")));
}

class RecordPathTest : public MainWindowEditingTest {
protected:
    void BeforeStart() override {
        File = TestSupport::NewTempDir(QStringLiteral("recordpath")) + QStringLiteral("/ewidar.db");
        // Changes of the other program are noticed every 200 ms.
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, QStringLiteral("ConnectorParams_SQLITE"),
                              QStringLiteral("DIR=%1;WATCH=200;").arg(File));
    }
    void SetUp() override {
        MainWindowEditingTest::SetUp();
        if (HasFatalFailure())
            return;
        Form->show();
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }

    // The row of a list that shows the text, once the list has reloaded; -1 for none.
    static int RowOf(TCollectionBaseFrame* Frame, const QString& Text) {
        QTimer* timer = Frame->tmrFilter;
        EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 3000));
        TDrawGrid* grid = Frame->DrawGrid1;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c)
                if (grid->EwidarRecord(r) && grid->Cells(c, r).contains(Text))
                    return r;
        return -1;
    }

    // Another program posts one record of the registry into the same file and ends; then
    // the list under the open window is waited for until it has reloaded and shows it.
    void PostFromAnotherProgram(const TRegistryPath& P) {
        QProcess poster;
        poster.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        poster.start(QStringLiteral(EWIDAR_BIN_DIR "/mainform_poster"),
                     {File, QStringLiteral("1"), QLatin1String(P.PosterRegistry), QLatin1String(P.PosterField)});
        ASSERT_TRUE(poster.waitForStarted(10000));
        ASSERT_TRUE(poster.waitForFinished(60000));
        const QString out = QString::fromUtf8(poster.readAllStandardOutput());
        ASSERT_TRUE(out.contains(QStringLiteral("POSTED"))) << out.toStdString();
        ++Posted;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Rows().filter(QStringLiteral("Nowy 0")).size() == Posted; }, 10000))
            << "the list did not reload under the open window: " << Rows().join(QLatin1Char(' ')).toStdString();
    }

    // The panel of the frame itself, not of a frame embedded in it.
    static TPanel* OwnPanel(TBaseFrame* Frame, const char* Name) {
        for (TPanel* panel : Frame->findChildren<TPanel*>(QLatin1String(Name))) {
            QWidget* w = panel->parentWidget();
            while (w && !qobject_cast<TBaseFrame*>(w))
                w = w->parentWidget();
            if (w == Frame)
                return panel;
        }
        return nullptr;
    }
    // Clicks into the panel's edit and types the text as keys.
    static void TypeInto(TBaseFrame* Frame, const TTyped& T) {
        TPanel* panel = OwnPanel(Frame, T.Panel);
        ASSERT_TRUE(panel && panel->Edit()) << T.Panel;
        panel->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(panel->window()));
        QTest::mouseClick(panel->Edit(), Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), panel->Edit()) << T.Panel;
        QTest::keyClicks(panel->Edit(), QString::fromUtf8(T.Text));
    }

    QString Shown() const {
        QStringList texts;
        for (const TMessageRequest& r : Messages->Shown)
            texts.append(r.Text);
        return texts.join(QStringLiteral(" | "));
    }

    QString File;
    int Posted = 0;
};

class RegistryPathTest : public RecordPathTest, public ::testing::WithParamInterface<TRegistryPath> {};

} // namespace

TEST_P(RegistryPathTest, AddedTypedSavedListedAndReopenedWhileAnotherProgramPosts) {
    const TRegistryPath& p = GetParam();
    auto* registry = Form->findChild<QRadioButton*>(QLatin1String(p.Switch));
    ASSERT_TRUE(registry);
    QTest::mouseClick(registry, Qt::LeftButton);
    ASSERT_TRUE(registry->isChecked());
    const int before = static_cast<int>(Rows().size());

    if (p.ChoosesTaxpayer) // no taxpayer chosen: the record is added all the same
        WhenWindow(QStringLiteral("SetPodatnikKontekstForm"), [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    bool typed = false;
    WhenWindow(QStringLiteral("RecordForm"), [&](QWidget* w) {
        auto* form = qobject_cast<TRecordForm*>(w);
        ASSERT_TRUE(form && form->BaseFrame());
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(p.NewTitle));
        PostFromAnotherProgram(p);
        for (const TTyped& t : p.Typed)
            TypeInto(form->BaseFrame(), t);
        typed = true;
        QTest::mouseClick(form->BaseFrame()->btnPost, Qt::LeftButton);
    });
    QTest::mouseClick(List->btnAdd, Qt::LeftButton);
    ASSERT_TRUE(typed);
    EXPECT_TRUE(RecordForms().isEmpty());
    const QString name = QString::fromUtf8(p.Typed.front().Text);
    ASSERT_EQ(Rows().size(), before + 2) << Rows().join(QLatin1Char(' ')).toStdString() << " | " << Shown().toStdString();
    const int row = RowOf(List, name);
    ASSERT_GE(row, 0) << Rows().join(QLatin1Char(' ')).toStdString();

    bool reopened = false;
    WhenWindow(QStringLiteral("RecordForm"), [&](QWidget* w) {
        auto* form = qobject_cast<TRecordForm*>(w);
        ASSERT_TRUE(form && form->BaseFrame());
        EXPECT_NE(w->windowTitle(), QString::fromUtf8(p.NewTitle)) << "a stored record keeps its own title";
        PostFromAnotherProgram(p);
        for (const TTyped& t : p.Typed) {
            TPanel* panel = OwnPanel(form->BaseFrame(), t.Panel);
            ASSERT_TRUE(panel) << t.Panel;
            EXPECT_EQ(Bare(panel->Value()), Bare(QString::fromUtf8(t.Text))) << t.Panel;
        }
        reopened = true;
        QTest::keyClick(w, Qt::Key_Escape);
    });
    List->DrawGrid1->SetRow(row);
    List->DrawGrid1->setFocus();
    QTest::keyClick(List->DrawGrid1, Qt::Key_Return);
    EXPECT_TRUE(reopened);
    EXPECT_TRUE(RecordForms().isEmpty());
    EXPECT_EQ(Rows().size(), before + 3);
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryRegistry, RegistryPathTest, ::testing::ValuesIn(kPaths),
                         [](const ::testing::TestParamInfo<TRegistryPath>& Info) {
                             return std::string(Info.param.Switch + 2);
                         });

TEST_F(RecordPathTest, NewTaxpayerWithAStoredAddressAsksBeforeAnulujAndKeepsIt) {
    QTest::mouseClick(Form->rbPodatnicy, Qt::LeftButton);
    const TRegistryPath& taxpayers = kPaths[0];
    bool addressStored = false;
    WhenWindow(QStringLiteral("RecordForm"), [&](QWidget* outer) {
        auto* frame = qobject_cast<TPodmiotFrame*>(qobject_cast<TRecordForm*>(outer)->BaseFrame());
        ASSERT_TRUE(frame);
        // Nothing typed here: only the address is stored, in its own window, over which
        // another program posts.
        WhenWindow(
            QStringLiteral("RecordForm"),
            [&](QWidget* inner) {
                TBaseFrame* address = qobject_cast<TRecordForm*>(inner)->BaseFrame();
                ASSERT_TRUE(address);
                EXPECT_EQ(inner->windowTitle(), QStringLiteral("Nowy adres"));
                PostFromAnotherProgram(taxpayers);
                TypeInto(address, {"pnlUlica", "Polna"});
                QTest::mouseClick(address->btnPost, Qt::LeftButton);
                addressStored = true;
            },
            outer);
        QTest::mouseClick(frame->List("AdresyCollection")->btnAdd, Qt::LeftButton);
        ASSERT_TRUE(addressStored);
        EXPECT_GE(RowOf(frame->List("AdresyCollection"), QStringLiteral("Polna")), 0);
        EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();

        // "Anuluj" asks before the taxpayer and its address go; "Nie" keeps the window.
        Messages->QueueButton(QStringLiteral("Nie"));
        QTest::mouseClick(frame->btnClose, Qt::LeftButton);
        ASSERT_EQ(Messages->Count(), 1);
        EXPECT_EQ(Messages->Last().Text, QStringLiteral("Pola zostały zmodyfikowane.\r\nCzy na pewno zamknąć?"));
        ASSERT_TRUE(outer->isVisible());
        // Escape asks the same.
        Messages->QueueButton(QStringLiteral("Nie"));
        QTest::keyClick(outer, Qt::Key_Escape);
        ASSERT_EQ(Messages->Count(), 2);
        ASSERT_TRUE(outer->isVisible());
        TypeInto(frame, {"pnlNazwisko", "Zielinski"});
        QTest::mouseClick(frame->btnPost, Qt::LeftButton);
    });
    QTest::mouseClick(List->btnAdd, Qt::LeftButton);
    ASSERT_TRUE(addressStored);
    const int row = RowOf(List, QStringLiteral("Zielinski"));
    ASSERT_GE(row, 0) << Rows().join(QLatin1Char(' ')).toStdString();

    bool reopened = false;
    WhenWindow(QStringLiteral("RecordForm"), [&](QWidget* w) {
        auto* frame = qobject_cast<TPodmiotFrame*>(qobject_cast<TRecordForm*>(w)->BaseFrame());
        ASSERT_TRUE(frame);
        EXPECT_GE(RowOf(frame->List("AdresyCollection"), QStringLiteral("Polna")), 0) << "the address was kept";
        reopened = true;
        QTest::keyClick(w, Qt::Key_Escape);
    });
    List->DrawGrid1->SetRow(row);
    QTest::keyClick(List->DrawGrid1, Qt::Key_Return);
    EXPECT_TRUE(reopened);
    EXPECT_EQ(Messages->Count(), 2) << Shown().toStdString();
}
