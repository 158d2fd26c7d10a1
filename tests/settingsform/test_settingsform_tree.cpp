// The settings window's configurations: the tree from the router's list and the
// histories, the chosen configuration, the buttons and popup menu, add, edit,
// delete, choose, and what "Zapisz" and "Anuluj" leave behind.

#include "SettingsFormFixture.h"

#include "TestSupport.h"
#include "uCore.h"
#include "uMainFormOpeners.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegonServiceDialog.h"
#include "uRegonSettings.h"
#include "uSettingsModule.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <utime.h>

using namespace uSettingsForm;
using MainFormOpeners::csCancel;
using MainFormOpeners::csReconnect;
using MainFormOpeners::csReload;

namespace {

class SettingsTreeTest : public SettingsFormTest {
protected:
    // SQLite with three configurations, MySQL with two, MySQL's first one chosen.
    void TwoBackends() {
        SetSetting("ConnectorHistory_SQLITE", "DIR=/a.db;@DIR=/b.db;@@DIR=/c.db;@");
        SetSetting("ConnectorHistory_MYSQL", "HOST=h;PWD=abc;@HOST=g;PWD=q");
        SetSetting("ConnectorParams_MYSQL", "HOST=h;PWD=abc;");
        SetSetting("DataBaseSymbol", "MYSQL");
        CreateCoreWith();
    }
    QStringList MenuCaptions() const {
        QStringList captions;
        for (QAction* a : Form->pmDBSettingsPopUp->actions())
            captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return captions;
    }
};

TEST_F(SettingsTreeTest, BackendsWithTheirHistoriesMaskedAndTheChosenOneMarked) {
    TwoBackends();
    Form = OpenForm();
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Ustawienia"));
    EXPECT_EQ(Form->lblCurrentDataBaseTypePrefix->text(), QStringLiteral("Konfiguracje baz danych:"));
    EXPECT_EQ(TreeLines(), (QStringList{"SQL Lite", "  DIR=/a.db;", "  DIR=/b.db;", "  DIR=/c.db;", "MySQL*+",
                                        "  HOST=h;PWD=***;*", "  HOST=g;PWD=*"}));
    EXPECT_TRUE(Node(1, 0)->font(0).bold());
    EXPECT_FALSE(Node(1, 1)->font(0).bold());
    EXPECT_EQ(Form->DataBaseSymbol(), QStringLiteral("MYSQL"));
    EXPECT_EQ(Form->DataBaseParam(), QStringLiteral("HOST=h;PWD=abc;"));
    EXPECT_FALSE(Form->pbMoveData->isVisible());
    EXPECT_GE(Form->minimumWidth(), 629);
    EXPECT_GE(Form->minimumHeight(), 283);

    // The import-source mode: every backend open, "Inny parametr..." under each with
    // a history, nothing marked, and nothing to accept until a leaf is chosen.
    Form = OpenForm(wmGetDBSettings);
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Import"));
    EXPECT_EQ(Form->lblCurrentDataBaseTypePrefix->text(),
              QStringLiteral("Wybierz parametry bazy z której bedą importowane dane:"));
    EXPECT_TRUE(Form->btnImport->isHidden());
    EXPECT_EQ(Form->bSave->text(), QStringLiteral("Importuj"));
    EXPECT_EQ(TreeLines(),
              (QStringList{"SQL Lite+", "  DIR=/a.db;", "  DIR=/b.db;", "  DIR=/c.db;", "  Inny parametr...",
                           "MySQL+", "  HOST=h;PWD=***;", "  HOST=g;PWD=*", "  Inny parametr..."}));
    EXPECT_FALSE(Form->bSave->isEnabled());
    Select(0);
    EXPECT_FALSE(Form->bSave->isEnabled());
    Select(0, 3);
    EXPECT_TRUE(Form->bSave->isEnabled());
}

TEST_F(SettingsTreeTest, AnExactMatchWinsOverAContainedOne) {
    SetSetting("ConnectorHistory_SQLITE", "DIR=/a.db;@DIR=/a.db;TIMEOUT=5;@DIR=/b.db;@");
    SetSetting("ConnectorParams_SQLITE", "dir=/A.db;timeout=5;");
    CreateCoreWith();
    Form = OpenForm();
    EXPECT_EQ(TreeLines(), (QStringList{"SQL Lite*+", "  DIR=/a.db;", "  DIR=/a.db;TIMEOUT=5;*",
                                        "  DIR=/b.db;", "MySQL"}));
    // Only the chosen one cannot be deleted.
    Select(0, 0);
    EXPECT_TRUE(Form->btnDelete->isEnabled());
    Select(0, 2);
    EXPECT_TRUE(Form->btnDelete->isEnabled());
    Select(0, 1);
    EXPECT_FALSE(Form->btnDelete->isEnabled());

    // Without an exact one the first contained one is the chosen one.
    Form.reset();
    DestroyCore();
    SetSetting("ConnectorParams_SQLITE", "DIR=/b.db;WATCH=0;");
    CreateCoreWith();
    Form = OpenForm();
    EXPECT_EQ(TreeLines(), (QStringList{"SQL Lite*+", "  DIR=/a.db;", "  DIR=/a.db;TIMEOUT=5;",
                                        "  DIR=/b.db;*", "MySQL"}));
}

TEST_F(SettingsTreeTest, NoRouterListGivesNoBackendsOnlyTheButtons) {
    SetSetting("ConnectorHistory_SQLITE", "DIR=/a.db;@");
    CreateCoreWith({});
    Form = OpenForm();
    EXPECT_EQ(Form->TreeView1->topLevelItemCount(), 0);
    EXPECT_TRUE(EnabledButtons().isEmpty());
    EXPECT_TRUE(Form->btnImport->isEnabled());
    Form.reset();
    DestroyCore();
    // No router at all.
    CreateCore(TestSupport::NewTempDir());
    Form = OpenForm();
    EXPECT_EQ(Form->TreeView1->topLevelItemCount(), 0);
    Form->btnAddClick();
    Form->btnEditClick();
    EXPECT_EQ(Messages->Count(), 0);
}

TEST_F(SettingsTreeTest, ButtonsPopupMenuAndDoubleClickFollowTheNode) {
    TwoBackends();
    Form = OpenForm();
    struct Case {
        int Backend, Child;
        QStringList Buttons;
        QStringList Menu;
    };
    const Case cases[] = {
        {0, -1, {"btnAdd"}, {"Dodaj"}},
        {0, 1, {"btnSet", "btnAdd", "btnEdit", "btnDelete"}, {"Ustaw", "-", "Dodaj", "Edytuj", "Usuń"}},
        {1, 0, {"btnSet", "btnAdd", "btnEdit"}, {"Ustaw", "-", "Dodaj", "Edytuj"}},
    };
    for (const Case& c : cases) {
        Select(c.Backend, c.Child);
        EXPECT_EQ(EnabledButtons(), c.Buttons) << c.Backend << "/" << c.Child;
        Form->TreeView1->setCurrentItem(nullptr);
        EXPECT_TRUE(Form->FillPopupMenu(Node(c.Backend, c.Child)));
        EXPECT_EQ(Form->TreeView1->currentItem(), Node(c.Backend, c.Child)); // the menu selects its node
        EXPECT_EQ(MenuCaptions(), c.Menu);
    }
    Form->TreeView1->setCurrentItem(nullptr);
    EXPECT_TRUE(EnabledButtons().isEmpty());

    // A double click on a configuration chooses it (after the question)...
    Form->TreeView1DblClick(Node(0, 2));
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Messages->Last().Title, QStringLiteral("Ewidar Quor"));
    EXPECT_EQ(Messages->Last().Text,
              QStringLiteral("Zmienić aktualną bazę danych na:\r\n\r\nSQL Lite\r\nDIR=/c.db;"));
    EXPECT_EQ(Messages->LastCaptions(), (QStringList{"Tak", "Nie"}));
    EXPECT_EQ(Form->DataBaseSymbol(), QStringLiteral("SQLITE"));
    EXPECT_EQ(Form->DataBaseParam(), QStringLiteral("DIR=/c.db;"));
    // ...on a backend without configurations it adds one.
    Form.reset();
    DestroyCore();
    TestSupport::ClearSettings();
    CreateCoreWith();
    Form = OpenForm();
    Backends[u"MYSQL"].Script.DialogAnswers = {{true, u"HOST=x;"}};
    Form->TreeView1DblClick(Node(1));
    EXPECT_EQ(TreeLines(), (QStringList{"SQL Lite", "MySQL*+", "  HOST=x;*"}));
}

TEST_F(SettingsTreeTest, AddKeepsOneEntryPerParameterAndChoosesTheFirst) {
    SetSetting("ConnectorHistory_SQLITE", "DIR=/a.db;@");
    SetSetting("ConnectorParams_SQLITE", "DIR=/z.db;"); // none of the history is the chosen one
    CreateCoreWith();
    Form = OpenForm();
    Backends[u"SQLITE"].Script.DialogAnswers = {{true, u"dir=/A.DB;"}, {true, u"DIR=/b.db;"}, {false, u"x"}};
    Backends[u"MYSQL"].Script.DialogAnswers = {{true, u"HOST=h;PASSWORD=pw;"}};
    Select(0, 0);
    // Differs only in letter case: the existing one is selected, nothing is added.
    Form->btnAddClick();
    EXPECT_EQ(TreeLines(), (QStringList{"SQL Lite", "  DIR=/a.db;", "MySQL"}));
    EXPECT_EQ(Form->TreeView1->currentItem(), Node(0, 0));
    // A new one is stored at once and, with nothing chosen yet, chosen without a question.
    Form->btnAddClick();
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("DIR=/a.db;@DIR=/b.db;@"));
    EXPECT_EQ(TreeLines(), (QStringList{"SQL Lite*+", "  DIR=/a.db;", "  DIR=/b.db;*", "MySQL"}));
    EXPECT_EQ(Messages->Count(), 0);
    // A declined dialog changes nothing.
    Form->btnAddClick();
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("DIR=/a.db;@DIR=/b.db;@"));
    // MySQL is added like SQLite; something is chosen already, so it is not chosen.
    Select(1);
    Form->btnAddClick();
    EXPECT_EQ(Setting("ConnectorHistory_MYSQL"), QStringLiteral("HOST=h;PASSWORD=pw;@"));
    EXPECT_EQ(TreeLines().last(), QStringLiteral("  HOST=h;PASSWORD=**;"));
    EXPECT_EQ(Messages->Count(), 0);

    // The dialogs ran on the program's root object for SQLite (never disconnected) and on
    // a root object made for MySQL, disconnected once done with.
    EXPECT_EQ(RootsOf(u"SQLITE"), 1u);
    EXPECT_EQ(RootAt(0)->DialogCalls.size(), 3u);
    EXPECT_EQ(RootAt(0)->DialogFlags, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(RootAt(0)->m_disconnects, 0);
    ASSERT_EQ(RootsOf(u"MYSQL"), 1u);
    EXPECT_EQ(LastRootOf(u"MYSQL")->m_disconnects, 1);
    EXPECT_EQ(LastRootOf(u"MYSQL")->RefCount(), 1); // only the test's reference is left
}

TEST_F(SettingsTreeTest, EditStoresTheParameterAndAChangedFileAsksForAReload) {
    const QString dir = TestSupport::NewTempDir();
    const QString file = dir + QStringLiteral("/a.db");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString param = QStringLiteral("DIR=%1;").arg(file);
    SetSetting("ConnectorHistory_SQLITE", param + QStringLiteral("@DIR=/b.db;@"));
    SetSetting("ConnectorParams_SQLITE", param);
    CreateCoreWith();
    Form = OpenForm();
    // The chosen configuration edited: the chosen parameter follows it.
    const std::u16string edited = (param + QStringLiteral("WATCH=0;")).toStdU16String();
    Backends[u"SQLITE"].Script.DialogAnswers = {{true, edited}, {false, u""}, {true, edited}};
    Select(0, 0);
    Form->btnEditClick();
    EXPECT_EQ(RootAt(0)->DialogCalls.back(), param.toStdU16String());
    EXPECT_EQ(Form->DataBaseParam(), QString::fromStdU16String(edited));
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QString::fromStdU16String(edited) + "@DIR=/b.db;@");
    EXPECT_EQ(Node(0, 0)->text(0), QString::fromStdU16String(edited));
    EXPECT_EQ(Form->CloseStatus(), csCancel); // the file is as it was

    // The dialog rewrites the file (declined or not): the list must be read again.
    RootAt(0)->OnDialog = [file] {
        struct utimbuf times {
            1000000000, 1000000000
        };
        utime(file.toLocal8Bit().constData(), &times);
    };
    Form->btnEditClick();
    EXPECT_EQ(Form->CloseStatus(), csReload);

    // Another configuration edited leaves the chosen parameter alone.
    RootAt(0)->OnDialog = {};
    Select(0, 1);
    Form->btnEditClick();
    EXPECT_EQ(Form->DataBaseParam(), QString::fromStdU16String(edited));
}

TEST_F(SettingsTreeTest, DeleteAsksWithTheMaskedParameterAndNeverTakesTheChosenOne) {
    TwoBackends();
    Form = OpenForm();
    Select(1, 1);
    Messages->QueueButton("Nie");
    Form->btnDeleteClick();
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Usunąć ustawienia bazy danych:\r\n\r\nHOST=g;PWD=*"));
    EXPECT_EQ(Messages->Last().Title, QStringLiteral("Ewidar Quor"));
    EXPECT_EQ(Messages->Last().Icon, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(Node(1)->childCount(), 2);
    Form->btnDeleteClick(); // answered "Tak"
    EXPECT_EQ(Node(1)->childCount(), 1);
    EXPECT_EQ(Form->TreeView1->currentItem(), Node(1));
    EXPECT_EQ(Setting("ConnectorHistory_MYSQL"), QStringLiteral("HOST=h;PWD=abc;@"));
    // The chosen one stays even when asked directly.
    Select(1, 0);
    Form->btnDeleteClick();
    EXPECT_EQ(Node(1)->childCount(), 1);
    EXPECT_EQ(Messages->Count(), 2);
}

TEST_F(SettingsTreeTest, SaveDecidesReconnectAndWritesTheChoice) {
    // What the operator does, and how "Zapisz" closes.
    struct Case {
        const char* Name;
        std::function<void()> Act;
        MainFormOpeners::TCloseStatus Status;
        QString Symbol;
        QString Param;
    };
    const QString mysql = QStringLiteral("HOST=h;PWD=abc;");
    const Case cases[] = {
        {"nothing", [] {}, csCancel, "MYSQL", mysql},
        {"another MySQL configuration",
         [this] {
             Select(1, 1);
             Form->btnSetClick();
         },
         csReconnect, "MYSQL", "HOST=g;PWD=q"},
        {"a SQLite configuration",
         [this] {
             Select(0, 1);
             Form->btnSetClick();
         },
         csReconnect, "SQLITE", "DIR=/b.db;"},
        {"the choice declined",
         [this] {
             Messages->QueueButton("Nie");
             Select(0, 1);
             Form->btnSetClick();
         },
         csCancel, "MYSQL", mysql},
        // MySQL's dialog opened without a change: no reconnect (only SQLite's file may change).
        {"MySQL dialog declined",
         [this] {
             Select(1, 0);
             Form->btnEditClick();
         },
         csCancel, "MYSQL", mysql},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TestSupport::ClearSettings();
        TwoBackends();
        Form = OpenForm();
        c.Act();
        Form->bSaveClick();
        EXPECT_EQ(Form->CloseStatus(), c.Status);
        EXPECT_EQ(Form->result(), QDialog::Accepted);
        EXPECT_EQ(Setting("DataBaseSymbol"), c.Symbol);
        EXPECT_EQ(Core()->FSettingsModule->FMainSettingsRecord.DataBaseSymbol, c.Symbol);
        EXPECT_EQ(Setting("ConnectorParams_" + c.Symbol), c.Param);
        Form.reset();
        DestroyCore();
    }

    // With SQLite saved, any dialog opened in the window asks for a reconnect.
    TestSupport::ClearSettings();
    SetSetting("ConnectorHistory_SQLITE", "DIR=/a.db;@");
    SetSetting("ConnectorParams_SQLITE", "DIR=/a.db;");
    CreateCoreWith();
    Form = OpenForm();
    Select(0, 0);
    Form->btnEditClick();
    Form->bSaveClick();
    EXPECT_EQ(Form->CloseStatus(), csReconnect);
}

TEST_F(SettingsTreeTest, CancelDiscardsTheChoiceButKeepsTheStoredHistories) {
    TwoBackends();
    Form = OpenForm();
    Select(0, 0);
    Form->btnSetClick();
    Select(0, 2);
    Form->btnDeleteClick();
    EXPECT_EQ(Core()->FSettingsModule->FMainSettingsRecord.DataBaseSymbol, QStringLiteral("MYSQL"));
    Core()->FSettingsModule->FTempSettingsRecord.DataBaseSymbol = QStringLiteral("SQLITE");
    Form->bCancelClick();
    EXPECT_EQ(Form->result(), QDialog::Rejected);
    EXPECT_EQ(Form->CloseStatus(), csCancel);
    EXPECT_EQ(Core()->FSettingsModule->FTempSettingsRecord.DataBaseSymbol, QStringLiteral("MYSQL"));
    EXPECT_EQ(Setting("DataBaseSymbol"), QStringLiteral("MYSQL"));
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("DIR=/a.db;@DIR=/b.db;@"));
}

TEST_F(SettingsTreeTest, InstalledOpenersShowTheWindowModally) {
    TwoBackends();
    InstallSettingsForms();
    TestSupport::WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TSettingsForm*>(w);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->WorkMode(), wmNormal);
        form->bSave->click();
    });
    EXPECT_EQ(MainFormOpeners::OpenSettings(nullptr), csCancel);
    TestSupport::WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TSettingsForm*>(w);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->WorkMode(), wmGetDBSettings);
        form->TreeView1->setCurrentItem(form->TreeView1->topLevelItem(1)->child(1));
        form->bSave->click(); // "Importuj", then OK to the question
    });
    const MainFormOpeners::TDBParamRecord chosen = MainFormOpeners::ChooseImportSource(nullptr);
    EXPECT_EQ(chosen.CloseStatus, MainFormOpeners::csAccept);
    EXPECT_EQ(chosen.DataBaseSymbol, QStringLiteral("MYSQL"));
    EXPECT_EQ(chosen.Param, u"HOST=g;PWD=q");
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Importuj z bazy: \r\n\r\nHOST=g;PWD=*"));
    EXPECT_EQ(Messages->LastCaptions(), (QStringList{"OK", "Anuluj"}));
}

} // namespace

// The register service's address and key: shown from the settings, the key masked; an
// address the client would refuse, or an empty key, stores nothing; OK stores both.
TEST_F(SettingsTreeTest, RegonServiceAddressAndKeyAreEditedThere) {
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, RegonSettings::UserKeyName, QStringLiteral("klucz-1"));
    CreateCoreWith();
    Form = OpenForm();
    ASSERT_FALSE(Form->btnRegon->isHidden());
    EXPECT_TRUE(OpenForm(wmGetDBSettings)->btnRegon->isHidden()); // choosing a database only
    TestSupport::WhenModal<TRegonServiceDialog>([](TRegonServiceDialog* d) {
        EXPECT_EQ(d->edtUserKey->text(), QStringLiteral("klucz-1"));
        EXPECT_EQ(d->edtUserKey->echoMode(), QLineEdit::Password);
        EXPECT_EQ(d->edtAddress->text(), RegonSettings::DefaultServiceAddress);
        struct TCase {
            const char* address;
            const char* key;
            bool stored;
        };
        const TCase cases[] = {
            {"http://rejestr.example.pl/", "k", false}, // plain http off this machine
            {"nie adres", "k", false},
            {"https://rejestr.example.pl/bir/", "  ", false},
            {"https://rejestr.example.pl/bir/", "klucz-2", true},
        };
        for (const TCase& c : cases) {
            SCOPED_TRACE(c.address);
            d->lblError->clear();
            d->edtAddress->setText(QString::fromUtf8(c.address));
            d->edtUserKey->setText(QString::fromUtf8(c.key));
            d->btnOK->click();
            EXPECT_EQ(d->lblError->text().isEmpty(), c.stored);
            EXPECT_EQ(RegonSettings::UserKey(),
                      c.stored ? QStringLiteral("klucz-2") : QStringLiteral("klucz-1"));
        }
    });
    Form->btnRegon->click();
    EXPECT_EQ(RegonSettings::ServiceAddress(), QStringLiteral("https://rejestr.example.pl/bir/"));
}
