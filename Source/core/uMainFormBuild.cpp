// The main window's component tree: the switch column, the list frame and the menu.

#include "uCollectionBaseFrame.h"
#include "uHelpMenu.h"
#include "uMainForm.h"
#include "uRegistrySwitch.h"
#include "uSubjectImportOpener.h"

#include "TEdit.h"

#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

using namespace MainFormRegistries;

namespace {

constexpr int kColumnWidth = 193;
constexpr QRgb kSeparatorColor = 0xC8C8C8;

QFrame* Separator(QWidget* Parent, int Number) {
    auto* panel = new QFrame(Parent);
    panel->setObjectName(QStringLiteral("Panel%1").arg(Number));
    panel->setFixedHeight(1);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(kSeparatorColor));
    panel->setPalette(pal);
    return panel;
}

QAction* MenuItem(QMenu* Menu, const char* Name, const QString& Caption) {
    QAction* action = Menu->addAction(Caption);
    action->setObjectName(QLatin1String(Name));
    return action;
}

QMenu* SubMenu(QWidget* Parent, const char* Name, const QString& Caption) {
    auto* menu = new QMenu(Caption, Parent);
    menu->setObjectName(QLatin1String(Name));
    menu->menuAction()->setObjectName(QLatin1String(Name));
    return menu;
}

} // namespace

void TMainForm::CreateSwitchColumn() {
    Panel1 = new QFrame(centralWidget());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(kColumnWidth);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(pal);
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // A line under the menu, then each switch followed by its separator.
    column->addWidget(Separator(Panel1, 2));
    for (int i = 0; i < RegistryCount; ++i) {
        const TRegistry& registry = Registries()[static_cast<size_t>(i)];
        auto* sw = new uMainForm::TRadioButton(registry.CaptionText(), Panel1);
        sw->setObjectName(QLatin1String(registry.SwitchName));
        Switches[static_cast<size_t>(i)] = sw;
        column->addWidget(sw);
        column->addWidget(Separator(Panel1, i + 3));
    }
    column->addStretch(1);
    rbpodmioty = Switches[0];
    rbPodatnicy = Switches[1];
    rbPracownicy = Switches[2];
    rbKontrahenci = Switches[3];
    rbSpki = Switches[4];
    rbBanki = Switches[5];
    rbDaneZUS = Switches[6];
    rbDaneNFZ = Switches[7];
    rbUrzedyStatystyczne = Switches[8];
    rbSadyRejonowe = Switches[9];
    rbBiuraRachunkowe = Switches[10];
}

void TMainForm::CreateListFrame() {
    CollectionBaseFrame1 = new TCollectionBaseFrame(centralWidget());
    CollectionBaseFrame1->setObjectName(QStringLiteral("CollectionBaseFrame1"));
    // The frame's filter timer reaches the frame through the window.
    QTimer* timer = CollectionBaseFrame1->tmrFilter;
    disconnect(timer, nullptr, CollectionBaseFrame1, nullptr);
    connect(timer, &QTimer::timeout, this, &TMainForm::tmrFilterTimer);
    // Registry shortcuts win over the filter box's own editing keys.
    CollectionBaseFrame1->edtfilter->installEventFilter(this);
}

void TMainForm::CreateMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);
    CreateFileMenu();
    CreateViewMenu();
    CreateRegistryMenu();
    Slowniki1 = SubMenu(MainMenu1, "Slowniki1", QStringLiteral("Słowniki"));
    MainMenu1->addMenu(Slowniki1);
    Slowniki1->menuAction()->setVisible(false);
    ImportujTeryt1 = MenuItem(Slowniki1, "ImportujTeryt1", QStringLiteral("Importuj dane TERYT…"));
    ImportujUrzedy1 = MenuItem(Slowniki1, "ImportujUrzedy1", QStringLiteral("Importuj urzędy skarbowe…"));
    ImportujWykazVat1 =
        MenuItem(Slowniki1, "ImportujWykazVat1", QStringLiteral("Importuj plik płaski wykazu VAT…"));
    connect(ImportujTeryt1, &QAction::triggered, this, &TMainForm::ImportujTeryt1Click);
    connect(ImportujUrzedy1, &QAction::triggered, this, &TMainForm::ImportujUrzedy1Click);
    connect(ImportujWykazVat1, &QAction::triggered, this, &TMainForm::ImportujWykazVat1Click);
    CreateDataBaseMenu();
    Operatorzy1 = MainMenu1->addAction(QStringLiteral("Operatorzy"));
    Operatorzy1->setObjectName(QStringLiteral("Operatorzy1"));
    Operatorzy1->setVisible(false);
    connect(Operatorzy1, &QAction::triggered, this, &TMainForm::Operatorzy1Click);
    DziennikZmian1 = MainMenu1->addAction(QStringLiteral("Dziennik zmian"));
    DziennikZmian1->setObjectName(QStringLiteral("DziennikZmian1"));
    DziennikZmian1->setVisible(false);
    connect(DziennikZmian1, &QAction::triggered, this, &TMainForm::DziennikZmian1Click);
    CreateHelpMenu();
}

void TMainForm::CreateHelpMenu() {
    Pomoc1 = SubMenu(MainMenu1, "Pomoc1", QStringLiteral("Pomoc"));
    MainMenu1->addMenu(Pomoc1);
    Podrecznik1 = MenuItem(Pomoc1, "Podrecznik1", QStringLiteral("Podręcznik"));
    Podrecznik1->setShortcut(QKeySequence(Qt::Key_F1));
    Oprogramie1 = MenuItem(Pomoc1, "Oprogramie1", QStringLiteral("O programie"));
    connect(Podrecznik1, &QAction::triggered, this, [this] { HelpMenu::OpenGuide(this); });
    connect(Oprogramie1, &QAction::triggered, this, [this] { HelpMenu::ShowAbout(this); });
}

// Backups of the whole database; restoring replaces data, so it is an administrator's.
void TMainForm::CreateDataBaseMenu() {
    BazaDanych1 = SubMenu(MainMenu1, "BazaDanych1", QStringLiteral("Baza danych"));
    MainMenu1->addMenu(BazaDanych1);
    KopiaZapasowa1 = MenuItem(BazaDanych1, "KopiaZapasowa1", QStringLiteral("Utwórz kopię zapasową…"));
    Przywroc1 = MenuItem(BazaDanych1, "Przywroc1", QStringLiteral("Przywróć z kopii…"));
    connect(KopiaZapasowa1, &QAction::triggered, this, &TMainForm::KopiaZapasowa1Click);
    connect(Przywroc1, &QAction::triggered, this, &TMainForm::Przywroc1Click);
    connect(BazaDanych1, &QMenu::aboutToShow, this, [this] {
        const TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
        KopiaZapasowa1->setEnabled(root != nullptr);
        Przywroc1->setEnabled(root && root->IsLoggedIn() && root->IsAdministrator());
    });
}

void TMainForm::CreateFileMenu() {
    Plik1 = SubMenu(MainMenu1, "Plik1", QStringLiteral("Plik"));
    MainMenu1->addMenu(Plik1);
    Zaloguj1 = MenuItem(Plik1, "Zaloguj1", QStringLiteral("Zaloguj"));
    Zaloguj1->setVisible(false);
    Wyloguj1 = MenuItem(Plik1, "Wyloguj1", QStringLiteral("Wyloguj"));
    Wyloguj1->setVisible(false);
    Ustawienia1 = MenuItem(Plik1, "Ustawienia1", QStringLiteral("Ustawienia"));
    Importuj1 = SubMenu(Plik1, "Importuj1", QStringLiteral("Importuj dane z ..."));
    Plik1->addMenu(Importuj1);
    Importuj1->menuAction()->setVisible(false);
    Innejbazy1 = MenuItem(Importuj1, "Innejbazy1", QStringLiteral("Innej bazy"));
    Zestarejbazy1 = MenuItem(Importuj1, "Zestarejbazy1", QStringLiteral("Ze starej bazy"));
    QAction* importSubjects = MenuItem(Plik1, "ImportujPodmioty1", QStringLiteral("Importuj podmioty z pliku…"));
    QAction* exportList = MenuItem(Plik1, "EksportujListe1", QStringLiteral("Eksportuj listę…"));
    Zamknij1 = MenuItem(Plik1, "Zamknij1", QStringLiteral("Zamknij"));

    connect(Zaloguj1, &QAction::triggered, this, &TMainForm::Zaloguj1Click);
    connect(Wyloguj1, &QAction::triggered, this, &TMainForm::Wyloguj1Click);
    connect(Ustawienia1, &QAction::triggered, this, &TMainForm::Ustawienia1Click);
    connect(Innejbazy1, &QAction::triggered, this, &TMainForm::Innejbazy1Click);
    connect(Zestarejbazy1, &QAction::triggered, this, &TMainForm::Zestarejbazy1Click);
    connect(Zamknij1, &QAction::triggered, this, &QWidget::close);
    // Subjects are imported into the four subject registries only; the list is exported as its frame does it.
    QAction* frameExport = CollectionBaseFrame1->PopupMenu1->findChild<QAction*>(QStringLiteral("Eksportuj1"));
    connect(Plik1, &QMenu::aboutToShow, this, [this, importSubjects, exportList] {
        const int registry = CurrentRegistry();
        importSubjects->setEnabled(registry >= 0 && registry <= 3 && CurrentDataBase());
        exportList->setEnabled(CollectionBaseFrame1->EwidarCollection() != nullptr);
    });
    connect(importSubjects, &QAction::triggered, this, [this] {
        const int registry = CurrentRegistry();
        const TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
        if (registry >= 0 && registry <= 3 && root &&
            SubjectImportOpener::ImportSubjects(this, root.get(), registry))
            CollectionBaseFrame1->RefreshData();
    });
    if (frameExport)
        connect(exportList, &QAction::triggered, frameExport, &QAction::trigger);
}

void TMainForm::CreateViewMenu() {
    Widok1 = SubMenu(MainMenu1, "Widok1", QStringLiteral("Widok"));
    MainMenu1->addMenu(Widok1);
    Pokabdyonieprawidowejwartoci1 = MenuItem(Widok1, "Pokabdyonieprawidowejwartoci1",
                                             QStringLiteral("Pokaż komunikaty o nieprawidłowym wpisie"));
    Pokakomunikatyopolachwymaganych1 = MenuItem(Widok1, "Pokakomunikatyopolachwymaganych1",
                                                QStringLiteral("Pokaż komunikaty o polach wymaganych"));
    for (QAction* item : {Pokabdyonieprawidowejwartoci1, Pokakomunikatyopolachwymaganych1})
        item->setCheckable(true);
    connect(Pokabdyonieprawidowejwartoci1, &QAction::triggered, this,
            &TMainForm::Pokabdyonieprawidowejwartoci1Click);
    connect(Pokakomunikatyopolachwymaganych1, &QAction::triggered, this,
            &TMainForm::Pokakomunikatyopolachwymaganych1Click);
}

void TMainForm::CreateRegistryMenu() {
    Ewidary1 = SubMenu(MainMenu1, "Ewidary1", QStringLiteral("Ewidary"));
    MainMenu1->addMenu(Ewidary1);
    // Drawn as radio items; the window sets the marks itself (none before a list is shown).
    auto* group = new QActionGroup(Ewidary1);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < RegistryCount; ++i) {
        const TRegistry& registry = Registries()[static_cast<size_t>(i)];
        QAction* item = MenuItem(Ewidary1, registry.MenuName, registry.CaptionText());
        item->setShortcut(registry.Shortcut());
        item->setCheckable(true);
        group->addAction(item);
        RegistryItems[static_cast<size_t>(i)] = item;
    }
}

void TMainForm::WireRegistries() {
    // Each menu item runs the same selection as its switch.
    for (int i = 0; i < RegistryCount; ++i) {
        const auto index = static_cast<size_t>(i);
        connect(Switches[index], &QAbstractButton::toggled, this, [this, i](bool Checked) {
            if (Checked)
                SelectRegistry(i);
        });
        connect(RegistryItems[index], &QAction::triggered, this, [this, i] { SelectRegistry(i); });
    }
}
