// The settings window's import over scripted backends: the source chosen in the
// window's second mode, the target, 317 for the same database, connection failures
// with the backend's dialog, cancelling through "Przerwij" and the close box, an
// import that raises, and which root objects are disconnected afterwards.

#include "SettingsFormFixture.h"

#include "uConnectionSequence.h"
#include "uCore.h"
#include "uLoadingForm.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace uSettingsForm;
using MainFormOpeners::csCancel;
using MainFormOpeners::csReload;

namespace {

class SettingsImportTest : public SettingsFormTest {
protected:
    // SQLite chosen and saved ("DIR=/t.db;"), two MySQL sources in the history.
    void SetUpBackends() {
        SetSetting("ConnectorHistory_SQLITE", "DIR=/t.db;@DIR=/u.db;@");
        SetSetting("ConnectorParams_SQLITE", "DIR=/t.db;");
        SetSetting("ConnectorHistory_MYSQL", "HOST=src;PWD=abc;@HOST=other;");
        CreateCoreWith();
        std::u16string param = u"DIR=/t.db;";
        Current()->Connect(param, true);
        Form = OpenForm();
        Form->show();
    }
    SettingsRoot* Current() const { return RootAt(0); }
    // Answers the next import-source window by choosing the node and accepting it.
    void ChooseSource(int Backend, int Child) {
        TestSupport::WhenModal([Backend, Child](QWidget* w) {
            auto* chooser = qobject_cast<TSettingsForm*>(w);
            ASSERT_NE(chooser, nullptr);
            ASSERT_EQ(chooser->WorkMode(), wmGetDBSettings);
            chooser->TreeView1->setCurrentItem(chooser->TreeView1->topLevelItem(Backend)->child(Child));
            chooser->bSave->click();
        });
    }
    // Runs Action at the first progress report of the running import.
    void AtFirstProgress(std::function<void()> Action) {
        auto* timer = new QTimer(Form.get());
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, Form.get(), [this, timer, Action] {
            if (Form->ImportRunning() && Form->pbMoveData->isVisible()) {
                timer->stop();
                Action();
            }
        });
        timer->start();
    }
};

TEST_F(SettingsImportTest, ImportsIntoTheProgramsDatabaseAndDisconnectsOnlyTheSource) {
    SetUpBackends();
    Select(1);
    int ownHandlerCalls = 0;
    Current()->SetOnProgress([&](int32_t, bool&) { ++ownHandlerCalls; });
    Backends[u"SQLITE"].Script.ImportProgress = {0, 50, 100};
    std::vector<QString> seen;
    AtFirstProgress([&] {
        seen = {Form->pbMoveData->text(),
                Form->bCancel->text(),
                QString::number(Form->TreeView1->isEnabled()),
                QString::number(Form->bSave->isEnabled()),
                QString::number(Form->btnImport->isEnabled()),
                EnabledButtons().join(QLatin1Char(','))};
    });
    ChooseSource(1, 0);
    Form->btnImportClick();

    SettingsRoot* source = LastRootOf(u"MYSQL");
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->ConnectCalls,
              (std::vector<std::pair<std::u16string, bool>>{{u"HOST=src;PWD=abc;", false}}));
    EXPECT_EQ(Current()->ImportSources, std::vector<IEwidarDataBase*>{source});
    EXPECT_EQ(Current()->ConnectCalls.size(), 1u); // the program's connection, used as it is
    EXPECT_EQ(seen, (std::vector<QString>{"0 %", "Przerwij", "0", "0", "0", ""}));
    // Done: 318, the list must be reloaded, the window as before.
    EXPECT_EQ(ShownCodes().last(), 318u);
    EXPECT_EQ(Form->CloseStatus(), csReload);
    EXPECT_FALSE(Form->pbMoveData->isVisible());
    EXPECT_EQ(Form->bCancel->text(), QStringLiteral("Anuluj"));
    EXPECT_TRUE(Form->TreeView1->isEnabled() && Form->bSave->isEnabled() && Form->btnImport->isEnabled());
    EXPECT_EQ(EnabledButtons(), QStringList{"btnAdd"}); // as the selected backend node allows
    EXPECT_TRUE(Form->isVisible());
    // The program's own progress handler is back; only the source was disconnected.
    bool cancel = false;
    Current()->GetOnProgress()(1, cancel);
    EXPECT_EQ(ownHandlerCalls, 1);
    EXPECT_EQ(Current()->m_disconnects, 0);
    EXPECT_EQ(source->m_disconnects, 1);
    EXPECT_EQ(source->RefCount(), 1);
    EXPECT_EQ(Roots.size(), 2u);
}

TEST_F(SettingsImportTest, AnotherChosenConfigurationIsOpenedAndLetGoAsTheTarget) {
    SetUpBackends();
    Select(0, 1);
    Form->btnSetClick(); // "DIR=/u.db;" chosen, not saved
    ChooseSource(1, 1);
    Form->btnImportClick();
    ASSERT_EQ(RootsOf(u"SQLITE"), 2u);
    SettingsRoot* target = LastRootOf(u"SQLITE");
    ASSERT_NE(target, Current());
    EXPECT_EQ(target->ConnectCalls, (std::vector<std::pair<std::u16string, bool>>{{u"DIR=/u.db;", true}}));
    EXPECT_EQ(target->ImportSources.size(), 1u);
    EXPECT_TRUE(Current()->ImportSources.empty());
    EXPECT_EQ(target->m_disconnects, 1);
    EXPECT_EQ(LastRootOf(u"MYSQL")->m_disconnects, 1);
    EXPECT_EQ(Current()->m_disconnects, 0);
}

TEST_F(SettingsImportTest, TheSameDatabaseIsRefusedWith317) {
    SetUpBackends();
    // The chosen parameter in other letters, typed through "Inny parametr...".
    Backends[u"SQLITE"].Script.DialogAnswers = {{true, u"dir=/T.DB;"}};
    ChooseSource(0, 2);
    Form->btnImportClick();
    EXPECT_EQ(Current()->DialogFlags, std::vector<bool>{false}); // a source is never created
    EXPECT_EQ(ShownCodes().last(), 317u);
    // Refused before either database is opened.
    EXPECT_TRUE(LastRootOf(u"SQLITE")->ConnectCalls.empty() || RootsOf(u"SQLITE") == 1u);
    EXPECT_EQ(Current()->ConnectCalls.size(), 1u);
    EXPECT_TRUE(Current()->ImportSources.empty());

    // Another text for the same database: known once both are open; nothing imported.
    Messages->Shown.clear();
    Backends[u"SQLITE"].Script.DialogAnswers = {{true, u"DIR=/data/../t.db;"}};
    Current()->m_dataBaseID = u"same";
    SharedDataBaseID = u"same";
    ChooseSource(0, 2);
    Form->btnImportClick();
    SettingsRoot* source = LastRootOf(u"SQLITE");
    ASSERT_NE(source, Current());
    EXPECT_EQ(source->ConnectCalls,
              (std::vector<std::pair<std::u16string, bool>>{{u"DIR=/data/../t.db;", false}}));
    EXPECT_EQ(ShownCodes(), (QList<uint32_t>{0, 317}));
    EXPECT_TRUE(Current()->ImportSources.empty());
    EXPECT_EQ(source->m_disconnects, 1);
    EXPECT_EQ(Current()->m_disconnects, 0);
}

TEST_F(SettingsImportTest, AFailedConnectionOffersTheDialogThenGivesUp) {
    SetUpBackends();
    Backends[u"MYSQL"].Script.ConnectResults = {false, false};
    Backends[u"MYSQL"].Script.ConnectError = 20;
    Backends[u"MYSQL"].Script.DialogAnswers = {{true, u"HOST=fixed;"}};
    ChooseSource(1, 0);
    Form->btnImportClick();
    SettingsRoot* source = LastRootOf(u"MYSQL");
    EXPECT_EQ(source->ConnectCalls, (std::vector<std::pair<std::u16string, bool>>{
                                        {u"HOST=src;PWD=abc;", false}, {u"HOST=fixed;", false}}));
    EXPECT_EQ(source->DialogFlags, (std::vector<bool>{false, false}));
    EXPECT_EQ(ShownCodes(), (QList<uint32_t>{0, 20, 20})); // the OK question, then each failure
    EXPECT_TRUE(Current()->ImportSources.empty());
    EXPECT_EQ(source->m_disconnects, 1);
    EXPECT_FALSE(Form->pbMoveData->isVisible());
    EXPECT_EQ(Form->CloseStatus(), csCancel);

    // A backend that is not installed.
    Messages->Shown.clear();
    Installed.erase(u"MYSQL");
    ChooseSource(1, 1);
    Form->btnImportClick();
    EXPECT_EQ(ShownCodes(), (QList<uint32_t>{0, 319}));
}

TEST_F(SettingsImportTest, PrzerwijAsksAndACancelledImportShows204) {
    SetUpBackends();
    Backends[u"SQLITE"].Script.ImportProgress = {0, 10, 20, 30};
    AtFirstProgress([this] { Form->bCancel->click(); });
    ChooseSource(1, 0);
    Form->btnImportClick();
    EXPECT_TRUE(Current()->Cancelled);
    ASSERT_GE(Messages->Count(), 2);
    const TMessageRequest& question = Messages->Shown.at(Messages->Count() - 2);
    EXPECT_EQ(question.Text, QStringLiteral("Czy przerwać importowanie danych?"));
    EXPECT_EQ(question.Title, QStringLiteral("Ewidar Podmiotów"));
    EXPECT_EQ(ShownCodes().last(), 204u);
    EXPECT_EQ(Form->CloseStatus(), csCancel);
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->bCancel->text(), QStringLiteral("Anuluj"));
    EXPECT_EQ(LastRootOf(u"MYSQL")->m_disconnects, 1);

    // Answered "Nie": the import runs to its end and stays open.
    Messages->Shown.clear();
    Current()->Cancelled = false;
    Messages->QueueButton("OK");
    Messages->QueueButton("Nie");
    AtFirstProgress([this] { Form->bCancel->click(); });
    ChooseSource(1, 0);
    Form->btnImportClick();
    EXPECT_FALSE(Current()->Cancelled);
    EXPECT_EQ(ShownCodes().last(), 318u);
}

TEST_F(SettingsImportTest, ClosingDuringAnImportIsPrzerwijAndWaitsForTheImport) {
    SetUpBackends();
    Backends[u"SQLITE"].Script.ImportProgress = {0, 10, 20, 30};
    // The close box, answered "Tak": the import stops, the window stays.
    AtFirstProgress([this] { Form->close(); });
    ChooseSource(1, 0);
    Form->btnImportClick();
    EXPECT_TRUE(Current()->Cancelled);
    EXPECT_EQ(ShownCodes().last(), 204u);
    EXPECT_TRUE(Form->isVisible());

    // Escape, answered "Nie": the import ends, then the window closes as cancelled.
    Current()->Cancelled = false;
    Messages->QueueButton("OK");
    Messages->QueueButton("Nie");
    AtFirstProgress([this] { Form->reject(); });
    ChooseSource(1, 0);
    Form->btnImportClick();
    EXPECT_FALSE(Current()->Cancelled);
    EXPECT_EQ(Current()->ImportSources.size(), 2u);
    EXPECT_EQ(ShownCodes().last(), 318u);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Form->result(), QDialog::Rejected);
    EXPECT_EQ(Form->CloseStatus(), csReload); // the data did change
}

TEST_F(SettingsImportTest, AnImportThatRaisesRestoresTheWindowAndReports203) {
    SetUpBackends();
    bool ownCalled = false;
    Current()->SetOnProgress([&](int32_t, bool&) { ownCalled = true; });
    Current()->ThrowOnImport = true;
    ChooseSource(1, 0);
    Form->btnImportClick();
    EXPECT_EQ(ShownCodes().last(), 203u);
    EXPECT_FALSE(Form->ImportRunning());
    EXPECT_EQ(Form->bCancel->text(), QStringLiteral("Anuluj"));
    EXPECT_TRUE(Form->TreeView1->isEnabled());
    bool cancel = false;
    Current()->GetOnProgress()(1, cancel);
    EXPECT_TRUE(ownCalled);
    EXPECT_EQ(LastRootOf(u"MYSQL")->m_disconnects, 1);
}

TEST_F(SettingsImportTest, SourceChoiceNeedsALeafAndTheOperatorsOk) {
    SetUpBackends();
    Form = OpenForm(wmGetDBSettings);
    // A backend node with configurations is not a source.
    Select(1);
    Form->bSaveClick();
    EXPECT_EQ(Messages->Count(), 0);
    // "Inny parametr...": the backend's dialog for an existing database, then the question.
    Backends[u"MYSQL"].Script.DialogAnswers = {{false, u""}, {true, u"HOST=n;PASSWORD=tajne;"}};
    Select(1, 2);
    Form->bSaveClick();
    EXPECT_EQ(Messages->Count(), 0);
    Messages->QueueButton("Anuluj");
    Form->TreeView1DblClick(Node(1, 2));
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Importuj z bazy: \r\n\r\nHOST=n;PASSWORD=*****;"));
    EXPECT_EQ(Form->DBParamRecord().CloseStatus, csCancel);
    EXPECT_EQ(Form->result(), 0);
    EXPECT_EQ(LastRootOf(u"MYSQL")->DialogFlags, std::vector<bool>{false});
    Form->TreeView1DblClick(Node(1, 0));
    EXPECT_EQ(Form->DBParamRecord().CloseStatus, MainFormOpeners::csAccept);
    EXPECT_EQ(Form->DBParamRecord().DataBaseSymbol, QStringLiteral("MYSQL"));
    EXPECT_EQ(Form->DBParamRecord().Param, u"HOST=src;PWD=abc;");
}

} // namespace

namespace {

// The main window's side of the shared import, without the window.
class ImportOnlyHost : public IConnectionHost {
public:
    QWidget* HostWindow() override { return nullptr; }
    TCollectionBaseFrame* ListFrame() override { return nullptr; }
    void SetOperatorsVisible(bool) override {}
    void SelectFirstRegistry() override {}
    void ReloadList() override { ++Reloads; }
    int Reloads = 0;
};

TEST_F(SettingsImportTest, TheMainWindowsImportRefusesTheSameDatabaseToo) {
    SetUpBackends();
    InstallSettingsForms();
    ImportOnlyHost host;
    TConnectionSequence sequence(host);
    // Another text for the program's own database, typed through "Inny parametr...".
    Backends[u"SQLITE"].Script.DialogAnswers = {{true, u"DIR=/x/../t.db;"}};
    Current()->m_dataBaseID = u"same";
    SharedDataBaseID = u"same";
    ChooseSource(0, 2);
    sequence.ImportFromOtherDataBase();
    SettingsRoot* source = LastRootOf(u"SQLITE");
    ASSERT_NE(source, Current());
    EXPECT_EQ(ShownCodes().last(), 317u);
    EXPECT_TRUE(Current()->ImportSources.empty());
    EXPECT_EQ(host.Reloads, 0);
    EXPECT_EQ(source->m_disconnects, 1);
    EXPECT_EQ(Current()->m_disconnects, 0);
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);
}

} // namespace
