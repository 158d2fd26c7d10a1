// The main window itself: components and menu, the registry table, shortcuts,
// the filter kept across registries, the painted switches and the view options.

#include "MainFormFixture.h"
#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Error.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uHelpMenu.h"
#include "uQtTranslations.h"
#include "uRegistrySwitch.h"
#include "uVersion.h"

#include <QAction>
#include <QDir>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace {

using MainFormWindowTest = MainFormTest;

// What each switch shows, written out independently of the window's own table.
struct ExpectedRegistry {
    const char* Switch;
    const char* Caption;
    const char* MenuItem;
    Qt::Key Key;
    const char* Header;
    TKontekst Kontekst;
    const char* Getter;
    // Visible buttons of the bar, left to right.
    QStringList Buttons;
};

const QStringList kViewAll = {"btnView", "btnAdd", "btnEdit", "btnDelete"};
const QStringList kAddFirst = {"btnAdd", "btnEdit", "btnDelete"};

const std::vector<ExpectedRegistry>& Expected() {
    static const std::vector<ExpectedRegistry> table = {
        {"rbpodmioty",
         "Wszystkie podmioty",
         "Wszystkiepodmioty1",
         Qt::Key_W,
         "Podmioty",
         kBrak,
         "GetPodmioty",
         {"btnView", "btnDelete"}},
        {"rbPodatnicy", "Podatnicy", "Podatnicy1", Qt::Key_P, "Podatnicy", kPodatnik, "GetPodatnicy",
         kViewAll},
        {"rbPracownicy", "Pracownicy", "Pracownicy1", Qt::Key_A, "Pracownicy", kBrak, "GetPracownicy",
         kViewAll},
        {"rbKontrahenci", "Kontrahenci", "Kontrahenci1", Qt::Key_K, "Kontrahenci", kBrak, "GetKontrahenci",
         kViewAll},
        {"rbSpki", "Spółki", "Spki1", Qt::Key_S, "Spółki", kBrak, "GetSpolki", kAddFirst},
        {"rbBanki", "Banki", "Banki1", Qt::Key_B, "Banki", kBrak, "GetDaneBankow", kAddFirst},
        {"rbDaneZUS", "Dane ZUS", "DaneZUS1", Qt::Key_Z, "Dane ZUS", kBrak, "GetDaneZUSow", kAddFirst},
        {"rbDaneNFZ", "Dane NFZ", "DaneNFZ1", Qt::Key_N, "Dane NFZ", kBrak, "GetDaneNFZow", kAddFirst},
        {"rbUrzedyStatystyczne", "Urzędy statystyczne", "Urzdystatystyczne1", Qt::Key_U,
         "Urzędy statystyczne", kBrak, "GetUrzedyStatystyczne", kAddFirst},
        {"rbSadyRejonowe", "Sądy rejonowe", "Sdyrejonowe1", Qt::Key_R, "Sądy rejonowe", kBrak,
         "GetSadyRejonowe", kAddFirst},
        {"rbBiuraRachunkowe", "Biura rachunkowe", "Biurarachunkowe1", Qt::Key_I, "Biura rachunkowe", kBrak,
         "GetBiuraRachunkowe", kAddFirst},
    };
    return table;
}

QStringList VisibleButtons(TCollectionBaseFrame* Frame) {
    QStringList names;
    QLayout* bar = Frame->Panel3->layout();
    for (int i = 0; i < bar->count(); ++i)
        if (QWidget* w = bar->itemAt(i)->widget(); w && !w->isHidden())
            names.append(w->objectName());
    return names;
}

QStringList CheckedSwitches(TMainForm* Form) {
    QStringList names;
    for (auto* sw : Form->Switches)
        if (sw->isChecked())
            names.append(sw->objectName());
    return names;
}

QStringList CheckedItems(TMainForm* Form) {
    QStringList names;
    for (QAction* item : Form->Ewidary1->actions())
        if (item->isChecked())
            names.append(item->objectName());
    return names;
}

void CheckShown(TMainForm* Form, FakeCollections& C, const ExpectedRegistry& E, const QString& Filter) {
    SCOPED_TRACE(E.Switch);
    TCollectionBaseFrame* frame = Form->CollectionBaseFrame1;
    EXPECT_EQ(CheckedSwitches(Form), QStringList{QLatin1String(E.Switch)});
    EXPECT_EQ(CheckedItems(Form), QStringList{QLatin1String(E.MenuItem)});
    EXPECT_EQ(frame->Panel1->Header()->CaptionLabel(), QString::fromUtf8(E.Header));
    EXPECT_EQ(frame->Kontekst(), E.Kontekst);
    EXPECT_EQ(VisibleButtons(frame), E.Buttons);
    ASSERT_FALSE(C.Opened.empty());
    EXPECT_EQ(C.Opened.back().first, QLatin1String(E.Getter));
    EXPECT_EQ(C.Opened.back().second, Filter);
    ASSERT_TRUE(frame->EwidarCollection());
}

class ConnectedWindowTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        CreateCoreAndWindow();
        RunSequence();
        ASSERT_TRUE(Current() && Current()->Connected);
        Collections.Opened.clear();
    }
};

} // namespace

TEST_F(MainFormWindowTest, ComponentsMenuCaptionsShortcutsAndInitialVisibility) {
    CreateCoreAndWindow();
    TMainForm* f = Form.get();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Ewidar Quor"));
    EXPECT_TRUE(f->FirstRun());
    EXPECT_EQ(f->Panel1->width(), 193);
    ASSERT_TRUE(f->StatusBar1);
    EXPECT_EQ(f->statusBar(), f->StatusBar1);
    // The switches in order, each followed by its separator; none checked before connecting.
    QList<QWidget*> column;
    for (int i = 0; i < f->Panel1->layout()->count(); ++i)
        if (QWidget* w = f->Panel1->layout()->itemAt(i)->widget())
            column.append(w);
    ASSERT_EQ(column.size(), 23);
    EXPECT_EQ(column[0]->objectName(), QStringLiteral("Panel2"));
    for (int i = 0; i < 11; ++i) {
        const ExpectedRegistry& e = Expected()[static_cast<size_t>(i)];
        auto* sw = qobject_cast<uMainForm::TRadioButton*>(column[1 + 2 * i]);
        ASSERT_TRUE(sw);
        EXPECT_EQ(sw->objectName(), QLatin1String(e.Switch));
        EXPECT_EQ(sw->text(), QString::fromUtf8(e.Caption));
        EXPECT_FALSE(sw->isChecked());
        EXPECT_EQ(column[2 + 2 * i]->objectName(), QStringLiteral("Panel%1").arg(i + 3));
    }
    // Top-level menu.
    QStringList top;
    for (QAction* a : f->MainMenu1->actions())
        top.append(a->text() + (a->isVisible() ? "" : " (hidden)"));
    EXPECT_EQ(top, (QStringList{"Plik", "Widok", "Ewidary", "Słowniki (hidden)", "Baza danych", "Operatorzy (hidden)",
                            "Dziennik zmian (hidden)", "Pomoc"}));
    QStringList file;
    for (QAction* a : f->Plik1->actions())
        file.append(a->objectName() + ":" + a->text() + (a->isVisible() ? "" : " (hidden)"));
    EXPECT_EQ(file,
              (QStringList{"Zaloguj1:Zaloguj (hidden)", "Wyloguj1:Wyloguj (hidden)", "Ustawienia1:Ustawienia",
                           "Importuj1:Importuj dane z ... (hidden)",
                           "ImportujPodmioty1:Importuj podmioty z pliku…", "EksportujListe1:Eksportuj listę…",
                           "Zamknij1:Zamknij"}));
    ASSERT_EQ(f->Importuj1->actions().size(), 2);
    EXPECT_EQ(f->Innejbazy1->text(), QStringLiteral("Innej bazy"));
    EXPECT_EQ(f->Zestarejbazy1->text(), QStringLiteral("Ze starej bazy"));
    EXPECT_EQ(f->Pokabdyonieprawidowejwartoci1->text(),
              QStringLiteral("Pokaż komunikaty o nieprawidłowym wpisie"));
    EXPECT_EQ(f->Pokakomunikatyopolachwymaganych1->text(),
              QStringLiteral("Pokaż komunikaty o polach wymaganych"));
    const QList<QAction*> registries = f->Ewidary1->actions();
    ASSERT_EQ(registries.size(), 11);
    for (int i = 0; i < 11; ++i) {
        const ExpectedRegistry& e = Expected()[static_cast<size_t>(i)];
        SCOPED_TRACE(e.MenuItem);
        EXPECT_EQ(registries[i]->objectName(), QLatin1String(e.MenuItem));
        EXPECT_EQ(registries[i]->text(), QString::fromUtf8(e.Caption));
        EXPECT_EQ(registries[i]->shortcut(), QKeySequence(Qt::CTRL | e.Key));
        EXPECT_TRUE(registries[i]->isVisible());
        EXPECT_FALSE(registries[i]->isChecked());
    }
}

TEST_F(MainFormWindowTest, HelpMenuShowsTheVersionAndFindsTheGuideBesideTheProgramOrInstalled) {
    CreateCoreAndWindow();
    QStringList help;
    for (QAction* a : Form->Pomoc1->actions())
        help.append(a->objectName() + ":" + a->text());
    EXPECT_EQ(help, (QStringList{"Podrecznik1:Podręcznik", "Oprogramie1:O programie"}));
    Form->Oprogramie1->trigger();
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Messages->Last().Title, QStringLiteral("O programie"));
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("Wersja ") + QLatin1String(EwidarVersion)));
    EXPECT_FALSE(QString::fromLatin1(EwidarVersion).isEmpty());

    // A build folder holds the guide beside the program; an installed program
    // (<prefix>/lib/ewidar) finds it under <prefix>/share/doc/ewidar.
    QTemporaryDir root;
    const QString program = root.path() + QStringLiteral("/usr/lib/ewidar");
    const QString installed = root.path() + QStringLiteral("/usr/share/doc/ewidar/podrecznik/index.html");
    ASSERT_TRUE(QDir().mkpath(program));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(installed).path()));
    if (!QFileInfo::exists(QStringLiteral("/usr/share/doc/ewidar/podrecznik/index.html"))) {
        EXPECT_EQ(HelpMenu::FindGuide(program), QString());
    }
    QFile(installed).open(QIODevice::WriteOnly);
    EXPECT_EQ(HelpMenu::FindGuide(program), installed);
    const QString beside = program + QStringLiteral("/podrecznik/index.html");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(beside).path()));
    QFile(beside).open(QIODevice::WriteOnly);
    EXPECT_EQ(HelpMenu::FindGuide(program), beside);
}

// Qt's standard dialogs speak Polish once Qt's own catalogue is installed.
TEST(QtTranslations, StandardDialogTextsArePolish) {
    const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_pl.qm");
    if (!QFileInfo::exists(file))
        GTEST_SKIP() << file.toStdString() << " missing (qt6-translations-l10n)";
    const std::unique_ptr<QTranslator> translator(InstallQtTranslations(*QCoreApplication::instance()));
    ASSERT_TRUE(translator);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Drukowanie"));
    QCoreApplication::removeTranslator(translator.get()); // the other tests read Qt's own texts
}

TEST_F(ConnectedWindowTest, EveryRegistryShowsItsListAsTheTableSays) {
    // Forwards and then backwards (starting away from the list selected at connection),
    // so every button move follows every other one.
    std::vector<size_t> order;
    for (size_t i = 1; i < 11; ++i)
        order.push_back(i);
    for (size_t i = 10; i-- > 0;)
        order.push_back(i);
    for (size_t i : order) {
        Form->Switches[i]->click();
        CheckShown(Form.get(), Collections, Expected()[i], QString());
    }
    // The menu items select the same registries.
    for (size_t i : order) {
        Form->RegistryItems[i]->trigger();
        CheckShown(Form.get(), Collections, Expected()[i], QString());
    }
}

TEST_F(ConnectedWindowTest, ShortcutsSelectTheirRegistryFromTheFilterBoxUnlessTheBoxNeedsTheKey) {
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    TEdit* filter = Form->CollectionBaseFrame1->edtfilter;
    filter->setFocus();
    filter->setText(QStringLiteral("abc"));
    filter->setCursorPosition(1);
    // Ctrl+K edits a line (delete to the end) unless the registry shortcut wins.
    QTest::keyClick(filter, Qt::Key_K, Qt::ControlModifier);
    CheckShown(Form.get(), Collections, Expected()[3], QStringLiteral("abc"));
    EXPECT_EQ(filter->text(), QStringLiteral("abc"));
    // Selecting, cutting, pasting and undoing stay with the box (Ctrl+A and Ctrl+Z
    // are registry shortcuts too).
    QTest::keyClick(filter, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(filter->selectedText(), QStringLiteral("abc"));
    QTest::keyClick(filter, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(filter->text(), QString());
    QTest::keyClick(filter, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(filter->text(), QStringLiteral("abc"));
    filter->setText(QStringLiteral("abc")); // a fresh undo history
    QTest::keyClick(filter, Qt::Key_X);
    EXPECT_EQ(filter->text(), QStringLiteral("abcx"));
    QTest::keyClick(filter, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(filter->text(), QStringLiteral("abc"));
    WaitForList();
    CheckShown(Form.get(), Collections, Expected()[3], QStringLiteral("abc"));
    for (size_t i = 0; i < 11; ++i) {
        if (Expected()[i].Key == Qt::Key_A || Expected()[i].Key == Qt::Key_Z)
            continue;
        QTest::keyClick(filter, Expected()[i].Key, Qt::ControlModifier);
        CheckShown(Form.get(), Collections, Expected()[i], QStringLiteral("abc"));
    }
}

TEST_F(ConnectedWindowTest, FilterTextIsKeptAndAppliedToTheNextRegistry) {
    Collections.Banki->Add(1, {QStringLiteral("Bank Alfa")});
    Collections.Banki->Add(2, {QStringLiteral("Bank Beta")});
    Collections.Spolki->Add(3, {QStringLiteral("Alfa sp. z o.o.")});
    Collections.Spolki->Add(4, {QStringLiteral("Gamma S.A.")});
    Form->rbBanki->click();
    TCollectionBaseFrame* frame = Form->CollectionBaseFrame1;
    EXPECT_EQ(frame->DrawGrid1->RowCount() - frame->DrawGrid1->FixedRows(), 2);
    // Typing reloads through the window's routing of the filter timer.
    frame->edtfilter->insert(QStringLiteral("Alfa"));
    WaitForList();
    EXPECT_EQ(Collections.Banki->Filter, QStringLiteral("Alfa"));
    EXPECT_EQ(frame->DrawGrid1->RowCount() - frame->DrawGrid1->FixedRows(), 1);
    Form->rbSpki->click();
    EXPECT_EQ(frame->edtfilter->text(), QStringLiteral("Alfa"));
    CheckShown(Form.get(), Collections, Expected()[4], QStringLiteral("Alfa"));
    ASSERT_EQ(frame->DrawGrid1->RowCount() - frame->DrawGrid1->FixedRows(), 1);
    EXPECT_EQ(frame->DrawGrid1->EwidarRecord(frame->DrawGrid1->FixedRows())->GetID(), 3);
}

TEST_F(ConnectedWindowTest, SwitchesActAsOneGroupAndTheCheckedOneStaysChecked) {
    EXPECT_EQ(Form->CurrentRegistry(), 0);
    // The whole strip answers the mouse, its right end included.
    Form->resize(800, 600);
    Form->show();
    QTest::mouseClick(Form->rbBanki, Qt::LeftButton, {}, QPoint(Form->rbBanki->width() - 4, 4));
    EXPECT_EQ(CheckedSwitches(Form.get()), QStringList{"rbBanki"});
    const size_t opened = Collections.Opened.size();
    // A click on the checked switch neither clears it nor reloads.
    Form->rbBanki->click();
    EXPECT_TRUE(Form->rbBanki->isChecked());
    EXPECT_EQ(Collections.Opened.size(), opened);
    // Space on a focused switch selects it like a click.
    Form->rbDaneZUS->setFocus();
    QTest::keyClick(Form->rbDaneZUS, Qt::Key_Space);
    EXPECT_EQ(CheckedSwitches(Form.get()), QStringList{"rbDaneZUS"});
    EXPECT_EQ(Form->CurrentRegistry(), 6);
}

TEST_F(ConnectedWindowTest, EveryRegistrySwitchForgetsTheTicks) {
    // Registries share identifiers: a tick on bank 7 must not become a tick on taxpayer 7.
    Collections.Banki->Add(7, {QStringLiteral("Bank")});
    Collections.Podatnicy->Add(7, {QStringLiteral("Podatnik")});
    TDrawGrid* grid = Form->CollectionBaseFrame1->DrawGrid1;
    Form->rbBanki->click();
    grid->SetChecked(grid->FixedRows(), true);
    ASSERT_EQ(grid->CheckedIDList(), QStringList{"7"});
    // A reload of the same registry keeps them.
    Form->CollectionBaseFrame1->tmrFilterTimer();
    EXPECT_TRUE(grid->Checked(grid->FixedRows()));
    Form->rbPodatnicy->click();
    EXPECT_TRUE(grid->CheckedIDList().isEmpty());
    EXPECT_FALSE(grid->Checked(grid->FixedRows()));
    grid->SetChecked(grid->FixedRows(), true);
    Form->rbBanki->click(); // and back: nothing comes back either
    EXPECT_TRUE(grid->CheckedIDList().isEmpty());
    grid->SetChecked(grid->FixedRows(), true);
    Form->rbpodmioty->click();
    EXPECT_TRUE(grid->CheckedIDList().isEmpty());
}

TEST_F(MainFormWindowTest, SwitchIsPaintedBlueWhenCheckedAndWhiteOtherwise) {
    CreateCoreAndWindow();
    Form->resize(800, 600);
    Form->show();
    Form->rbBanki->setChecked(true);
    const QImage checked = Form->rbBanki->grab().toImage();
    const QImage unchecked = Form->rbSpki->grab().toImage();
    ASSERT_FALSE(checked.isNull());
    // Everything is painted over, the radio's indicator included (left edge).
    for (const QPoint& p : {QPoint(3, checked.height() / 2), QPoint(checked.width() - 3, 3)}) {
        EXPECT_EQ(checked.pixelColor(p), QColor(0xA6, 0xCA, 0xF0));
        EXPECT_EQ(unchecked.pixelColor(p), QColor(Qt::white));
    }
    EXPECT_EQ(Form->rbBanki->width(), 193);
}

TEST_F(MainFormWindowTest, ViewItemsToggleTheShownErrorKinds) {
    CreateCoreAndWindow();
    ASSERT_EQ(GetShownErrorTypes(), (TErrorTypes{etValidate, etRequire}));
    EXPECT_TRUE(Form->Pokabdyonieprawidowejwartoci1->isChecked());
    EXPECT_TRUE(Form->Pokakomunikatyopolachwymaganych1->isChecked());
    Form->Pokabdyonieprawidowejwartoci1->trigger();
    EXPECT_EQ(GetShownErrorTypes(), TErrorTypes{etRequire});
    EXPECT_FALSE(Form->Pokabdyonieprawidowejwartoci1->isChecked());
    EXPECT_TRUE(Form->Pokakomunikatyopolachwymaganych1->isChecked());
    Form->Pokakomunikatyopolachwymaganych1->trigger();
    EXPECT_EQ(GetShownErrorTypes(), TErrorTypes{});
    EXPECT_FALSE(Form->Pokakomunikatyopolachwymaganych1->isChecked());
    Form->Pokabdyonieprawidowejwartoci1->trigger();
    Form->Pokakomunikatyopolachwymaganych1->trigger();
    EXPECT_EQ(GetShownErrorTypes(), (TErrorTypes{etValidate, etRequire}));
    EXPECT_TRUE(Form->Pokabdyonieprawidowejwartoci1->isChecked());
    EXPECT_TRUE(Form->Pokakomunikatyopolachwymaganych1->isChecked());
}

TEST_F(MainFormWindowTest, OldDatabaseImportIsNotReady) {
    CreateCoreAndWindow();
    Form->Zestarejbazy1->trigger();
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{312});
}

TEST_F(MainFormWindowTest, WithoutARootObjectASwitchOnlyArrangesTheList) {
    Installed.clear();
    CreateCoreAndWindow();
    Form->rbPodatnicy->click();
    EXPECT_TRUE(Form->rbPodatnicy->isChecked());
    EXPECT_EQ(Form->CollectionBaseFrame1->Kontekst(), kPodatnik);
    EXPECT_FALSE(Form->CollectionBaseFrame1->EwidarCollection());
    EXPECT_EQ(Messages->Count(), 0);
}

TEST_F(MainFormWindowTest, AnUnconnectedDatabaseExplainsWhyNoListCameBack) {
    Script.ConnectResults = {false};
    CreateCoreAndWindow();
    RunSequence(); // the error, then the declined parameter dialog
    Messages->Shown.clear();
    Form->rbBanki->click();
    EXPECT_FALSE(Form->CollectionBaseFrame1->EwidarCollection());
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{1});
}
