// The main window over the real router and SQL backend, with the real windows installed:
// a fresh machine opens the default database without a question, registries switch and
// filter, an operator created through the backend logs in through the login window, and
// a bulk deletion of ticked taxpayers runs while another program posts new ones.

#include "FakeMessagePresenter.h"
#include "TEdit.h"
#include "TestServer.h"
#include "TestSupport.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uEwidarDrawGrid.h"
#include "uInstallWindows.h"
#include "uLoadingForm.h"
#include "uLoginForm.h"
#include "uMainForm.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegistrySwitch.h"
#include "uStrings.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        QDir(DataFolder()).removeRecursively();
        Messages = std::make_unique<FakeMessagePresenter>();
        InstallWindows();
    }
    void TearDown() override {
        Form.reset();
        uLoadingForm::HideLoading();
        DestroyCore();
        Messages.reset();
        ResetWindows();
    }

    static QString DataFolder() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/Ewidar");
    }
    static QString Setting(const QString& Name) {
        return Registry::ReadString(QuorDataBaseDefs::EwidarKey, Name, QString());
    }

    void Start() {
        CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
        ASSERT_TRUE(Core()->FDataBaseModule->GetDLLLoaded()) << "the real router is not built";
        Form = std::make_unique<TMainForm>();
        Form->FormActivate();
    }
    void Stop() {
        Form.reset();
        DestroyCore();
    }
    int ListedRows() {
        QTimer* timer = Form->CollectionBaseFrame1->tmrFilter;
        EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 3000));
        // Rows that hold a record (an empty list shows one blank row under its titles).
        TDrawGrid* grid = Form->CollectionBaseFrame1->DrawGrid1;
        int rows = 0;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            rows += grid->EwidarRecord(r) ? 1 : 0;
        return rows;
    }
    QString Shown() const {
        QStringList texts;
        for (const TMessageRequest& r : Messages->Shown)
            texts.append(r.Text);
        return texts.join(QStringLiteral(" | "));
    }

    std::unique_ptr<FakeMessagePresenter> Messages;
    std::unique_ptr<TMainForm> Form;
};

void AddBank(IEwidarDataBase* Db, const QString& Name) {
    TIntfPtr<IEwidarRecord> bank = Db->GetRegistries()->GetDaneBankow(std::u16string())->New();
    ASSERT_TRUE(bank);
    TIntfPtr<IDataField> field = bank->GetDataFields()->GetDataField(u"cDaneBankuNazwa");
    ASSERT_TRUE(field);
    field->SetValue(toU16(Name));
    ASSERT_TRUE(bank->Post()) << "code " << bank->GetLastErrorCode();
}

} // namespace

TEST_F(EndToEndTest, FreshMachineOpensTheDefaultDatabaseAndListsAndFiltersRegistries) {
    Start();
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    ASSERT_TRUE(root);
    const QString file = DataFolder() + QStringLiteral("/ewidar.db");
    EXPECT_TRUE(QFile::exists(file));
    const QString param = Setting(QStringLiteral("ConnectorParams_SQLITE"));
    EXPECT_TRUE(param.contains(QStringLiteral("DIR=") + file)) << param.toStdString();
    EXPECT_EQ(Setting(QStringLiteral("ConnectorHistory_SQLITE")), param + QLatin1Char('@'));
    EXPECT_TRUE(Form->rbpodmioty->isChecked());
    ASSERT_TRUE(Form->CollectionBaseFrame1->EwidarCollection());

    AddBank(root.get(), QStringLiteral("Bank Alfa"));
    AddBank(root.get(), QStringLiteral("Bank Beta"));
    Form->rbBanki->click();
    EXPECT_EQ(ListedRows(), 2);
    Form->CollectionBaseFrame1->edtfilter->insert(QStringLiteral("alfa"));
    Form->CollectionBaseFrame1->RefreshData();
    EXPECT_EQ(ListedRows(), 1);
    Form->rbPodatnicy->click();
    EXPECT_EQ(ListedRows(), 0);
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    QTest::keyClick(Form->CollectionBaseFrame1->edtfilter, Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(Form->rbBanki->isChecked());
    EXPECT_EQ(ListedRows(), 1);
    EXPECT_EQ(Form->CollectionBaseFrame1->edtfilter->text(), QStringLiteral("alfa"));
    // The empty NFZ registry was filled with the backend's defaults at connection.
    Form->CollectionBaseFrame1->edtfilter->clear();
    Form->rbDaneNFZ->click();
    const int nfz = ListedRows();
    EXPECT_GT(nfz, 0);

    // The next start connects with the stored parameter and adds nothing to the history.
    root = nullptr; // released before the backend library is unloaded
    Stop();
    Start();
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    EXPECT_EQ(Setting(QStringLiteral("ConnectorHistory_SQLITE")), param + QLatin1Char('@'));
    Form->rbBanki->click();
    EXPECT_EQ(ListedRows(), 2);
    // Filled once: the next connection finds it full.
    Form->rbDaneNFZ->click();
    EXPECT_EQ(ListedRows(), nfz);
}

TEST_F(EndToEndTest, OperatorCreatedThroughTheBackendLogsInThroughTheLoginWindow) {
    Start();
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    ASSERT_TRUE(root);
    TIntfPtr<IUsersGroup> groups = root->GetUsersGroups();
    ASSERT_TRUE(groups) << "GetUsersGroups: code " << root->GetLastErrorCode();
    TIntfPtr<IUserGroup> group = groups->AddGroup();
    ASSERT_TRUE(group);
    group->SetName(u"Administratorzy");
    group->SetUprawnienia(31);
    ASSERT_TRUE(group->Post()) << "code " << group->GetLastErrorCode();
    TIntfPtr<IUser> user = group->GetUsers()->AddUser();
    ASSERT_TRUE(user);
    user->SetLogin(u"jan");
    user->SetPassword(u"Tajne hasło");
    ASSERT_TRUE(user->Post()) << "code " << user->GetLastErrorCode();
    user = nullptr;
    group = nullptr;
    groups = nullptr;
    root = nullptr;
    Stop();

    // With an operator stored the backend asks for a login on the next start.
    {
        CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
        TIntfPtr<IEwidarDataBase> probe =
            Core()->FDataBaseModule->CreateEwidarInterface(QStringLiteral("SQLITE"));
        std::u16string param = toU16(Setting(QStringLiteral("ConnectorParams_SQLITE")));
        ASSERT_TRUE(probe && probe->Connect(param, true));
        const bool asks = !probe->IsLoggedIn();
        probe->Disconnect();
        probe = nullptr;
        DestroyCore();
        ASSERT_TRUE(asks) << "with an operator stored the backend asks for a login";
    }

    int attempts = 0;
    TestSupport::WhenModal<TLoginForm>([&](TLoginForm* form) {
        form->edtLogin->setText(QStringLiteral("jan"));
        form->edtPassword->setText(QStringLiteral("złe"));
        form->btnZaloguj->click();
        ++attempts;
        ASSERT_TRUE(form->isVisible()); // refused: the window stays
        form->edtPassword->setText(QStringLiteral("Tajne hasło"));
        form->btnZaloguj->click();
        ++attempts;
    });
    Start();
    EXPECT_EQ(attempts, 2);
    ASSERT_EQ(Messages->Count(), 1) << Shown().toStdString();
    root = CurrentDataBase();
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->IsLoggedIn());
    EXPECT_EQ(Form->Operatorzy1->isVisible(), root->IsAdministrator());
    EXPECT_TRUE(Form->rbpodmioty->isChecked());

    // Logout keeps the connection; logging in again goes through the window.
    Form->Wyloguj1Click();
    EXPECT_FALSE(root->IsLoggedIn());
    EXPECT_TRUE(Form->Zaloguj1->isVisible());
    TestSupport::WhenModal<TLoginForm>([](TLoginForm* form) {
        form->edtLogin->setText(QStringLiteral("jan"));
        form->edtPassword->setText(QStringLiteral("Tajne hasło"));
        form->btnZaloguj->click();
    });
    Form->Zaloguj1->trigger();
    EXPECT_TRUE(root->IsLoggedIn());
    EXPECT_FALSE(Form->Zaloguj1->isVisible());
}

namespace {

// Taxpayers named Name <n>, posted in one transaction; their identifiers.
QSet<int32_t> AddTaxpayers(IEwidarDataBase* Db, const QString& Name, int Count) {
    QSet<int32_t> ids;
    TIntfPtr<IPodatnicy> list = Db->GetRegistries()->GetPodatnicy(std::u16string());
    EXPECT_TRUE(Db->StartTransaction()) << "code " << Db->GetLastErrorCode();
    for (int i = 0; i < Count; ++i) {
        TIntfPtr<IEwidarRecord> p = list->New();
        if (!p) {
            ADD_FAILURE() << "no new taxpayer, code " << list->GetLastErrorCode();
            break;
        }
        p->GetDataFields()->GetDataField(u"cDanePodmiotuNazwisko")->SetValue(toU16(Name.arg(i)));
        EXPECT_TRUE(p->Post()) << "code " << p->GetLastErrorCode();
        ids.insert(p->GetID());
    }
    EXPECT_TRUE(Db->Commit());
    return ids;
}

// Every taxpayer stored, read afresh: identifier and surname.
QHash<int32_t, QString> StoredTaxpayers(IEwidarDataBase* Db) {
    QHash<int32_t, QString> stored;
    TIntfPtr<IPodatnicy> list = Db->GetRegistries()->GetPodatnicy(std::u16string());
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        TIntfPtr<IEwidarRecord> p = list->GetItem(i);
        stored.insert(p->GetID(),
                      toQ(p->GetDataFields()->GetDataField(u"cDanePodmiotuNazwisko")->GetValue()));
    }
    return stored;
}

} // namespace

TEST_F(EndToEndTest, BulkDeletionOfTickedTaxpayersWhileAnotherProgramPostsNewOnes) {
    const QString file = TestSupport::NewTempDir(QStringLiteral("bulk")) + QStringLiteral("/ewidar.db");
    // Changes of the other program are noticed every 500 ms, so reloads keep coming.
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, QStringLiteral("ConnectorParams_SQLITE"),
                          QStringLiteral("DIR=%1;WATCH=500;").arg(file));
    Start();
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    ASSERT_TRUE(root && root->IsLoggedIn()) << Shown().toStdString();
    const QSet<int32_t> doomed = AddTaxpayers(root.get(), QStringLiteral("Usuwany %1"), 500);
    const QSet<int32_t> kept = AddTaxpayers(root.get(), QStringLiteral("Zostaje %1"), 100);
    ASSERT_EQ(doomed.size(), 500);

    QProcess poster;
    poster.setProgram(QStringLiteral(EWIDAR_BIN_DIR "/mainform_poster"));
    poster.setArguments({file, QStringLiteral("100000")});
    poster.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    poster.start();
    ASSERT_TRUE(poster.waitForStarted(10000));
    QList<int32_t> posted;
    QStringList refused;
    const auto readPosted = [&] {
        while (poster.canReadLine()) {
            const QString line = QString::fromUtf8(poster.readLine()).trimmed();
            if (line.startsWith(QStringLiteral("POSTED ")))
                posted << line.mid(7).toInt();
            else if (!line.isEmpty())
                refused << line;
        }
    };
    // The other program is well under way before the operator starts.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            poster.waitForReadyRead(50);
            readPosted();
            return posted.size() >= 20 || poster.state() == QProcess::NotRunning;
        },
        60000));
    ASSERT_GE(posted.size(), 20) << refused.join(QLatin1Char(' ')).toStdString();

    TCollectionBaseFrame* frame = Form->CollectionBaseFrame1;
    TDrawGrid* grid = frame->DrawGrid1;
    Form->rbPodatnicy->click();
    ListedRows();
    int ticked = 0;
    for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
        if (TIntfPtr<IEwidarRecord> record = grid->EwidarRecord(r);
            record && doomed.contains(record->GetID())) {
            grid->SetChecked(r, true);
            ++ticked;
        }
    ASSERT_EQ(ticked, 500);
    // As on a slow machine: the reload asked for by the changes the deletions announce
    // comes due within the run.
    frame->tmrFilter->setInterval(0);
    frame->btnDelete->click(); // the question is answered "Tak"
    frame->tmrFilter->setInterval(250);
    EXPECT_FALSE(frame->BulkDeleting());
    ASSERT_EQ(Messages->Count(), 1) << Shown().toStdString();
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Czy na pewno usunąć zaznaczone (500) rekordy?"));

    // The other program goes on for a while after the deletion, then stops.
    const int before = static_cast<int>(posted.size());
    // Whether it got that far or not, the check below needs only one more.
    (void)QTest::qWaitFor(
        [&] {
            poster.waitForReadyRead(50);
            readPosted();
            return posted.size() >= before + 20;
        },
        30000);
    poster.write("\n");
    poster.closeWriteChannel();
    ASSERT_TRUE(poster.waitForFinished(60000));
    readPosted();
    EXPECT_EQ(poster.exitCode(), 0);
    EXPECT_TRUE(refused == QStringList{QStringLiteral("DONE")})
        << refused.join(QLatin1Char(' ')).toStdString();
    EXPECT_GT(posted.size(), before) << "the other program posted after the deletion as well";

    // Every ticked taxpayer is gone, nothing else is.
    const QHash<int32_t, QString> stored = StoredTaxpayers(root.get());
    QSet<int32_t> expected = kept;
    for (int32_t id : posted)
        expected.insert(id);
    EXPECT_EQ(QSet<int32_t>(stored.keyBegin(), stored.keyEnd()), expected);
    for (auto it = stored.begin(); it != stored.end(); ++it)
        EXPECT_FALSE(it.value().startsWith(QStringLiteral("Usuwany"))) << it.key();
    // The list shows them, and no tick is left over for a new record that got a deleted
    // record's identifier.
    frame->RefreshData();
    EXPECT_EQ(ListedRows(), stored.size());
    EXPECT_TRUE(grid->CheckedIDList().isEmpty());
}

namespace {

// Another desk on the server: the backend's test process posting Count taxpayers; its
// exit code.
int PostFromAnotherDesk(const QString& Socket, const QString& DataBase, int Count) {
    QProcess desk;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("EWIDAR_TEST_DIALECT"), QStringLiteral("MYSQL"));
    env.insert(QStringLiteral("EWIDAR_TEST_MYSQL_SOCKET"), Socket);
    desk.setProcessEnvironment(env);
    desk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    desk.start(QStringLiteral(EWIDAR_BIN_DIR "/backend_sql_child"),
               {QStringLiteral("post-many"), DataBase, QString::number(Count)});
    if (!desk.waitForFinished(60000))
        return -1;
    return desk.exitCode();
}

} // namespace

// The program on a MariaDB server: its list follows what another desk posts, and a server
// restarted under the open main window costs the operator nothing: no message while the
// server is away, the list and the program's own posts work again once it is back.
TEST_F(EndToEndTest, ServerDatabaseFollowsAnotherDeskAndOutlivesAServerRestart) {
    QString why;
    const QString socket = TestServer::Socket(&why);
    if (socket.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const QString db = TestServer::NewDataBase();
    ASSERT_FALSE(db.isEmpty());
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, QStringLiteral("DataBaseSymbol"),
                          QStringLiteral("MYSQL"));
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, QStringLiteral("ConnectorParams_MYSQL"),
                          QStringLiteral("SOCKET=%1;USER=root;DB=%2;WATCH=300;").arg(socket, db));
    Start();
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    ASSERT_TRUE(root && root->IsLoggedIn()) << Shown().toStdString();
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    EXPECT_EQ(ListedRows(), 0);

    ASSERT_EQ(PostFromAnotherDesk(socket, db, 5), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ListedRows() == 5; }, 10000)) << ListedRows();
    // The desk keeps a registry's list between readings: back on it after another desk
    // posted, the list has the new rows; back again with nothing posted, the same rows.
    QTest::mouseClick(Form->rbBanki, Qt::LeftButton);
    EXPECT_EQ(ListedRows(), 0);
    ASSERT_EQ(PostFromAnotherDesk(socket, db, 2), 0);
    QTest::mouseClick(Form->rbPodatnicy, Qt::LeftButton);
    EXPECT_EQ(ListedRows(), 7);
    QTest::mouseClick(Form->rbBanki, Qt::LeftButton);
    QTest::mouseClick(Form->rbPodatnicy, Qt::LeftButton);
    EXPECT_EQ(ListedRows(), 7);

    TestServer::Stop();
    QTest::qWait(1500); // several change checks meet the server away
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    ASSERT_TRUE(TestServer::Resume());
    ASSERT_EQ(PostFromAnotherDesk(socket, db, 3), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ListedRows() == 10; }, 10000)) << ListedRows();
    EXPECT_EQ(AddTaxpayers(root.get(), QStringLiteral("Po restarcie %1"), 2).size(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ListedRows() == 12; }, 10000)) << ListedRows();
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    root = nullptr;
}

namespace {

// A group at Rights with one operator whose password is the login.
void AddOperator(IEwidarDataBase* Db, const QString& Group, int32_t Rights, const QString& Login) {
    TIntfPtr<IUserGroup> group = Db->GetUsersGroups()->AddGroup();
    group->SetName(toU16(Group));
    group->SetUprawnienia(Rights);
    ASSERT_TRUE(group->Post()) << "code " << group->GetLastErrorCode();
    TIntfPtr<IUser> user = group->GetUsers()->AddUser();
    user->SetLogin(toU16(Login));
    user->SetPassword(toU16(Login));
    ASSERT_TRUE(user->Post()) << "code " << user->GetLastErrorCode();
}

void AnswerLoginWindow(const QString& Login) {
    TestSupport::WhenModal<TLoginForm>([Login](TLoginForm* form) {
        if (Login.isEmpty()) {
            form->btnAnuluj->click();
            return;
        }
        form->edtLogin->setText(Login);
        form->edtPassword->setText(Login);
        form->btnZaloguj->click();
    });
}

} // namespace

// Once operators exist: a cancelled login shows no data, and after each login the
// window offers what the operator's level allows and the backend refuses the rest.
TEST_F(EndToEndTest, CancelledLoginShowsNoDataAndEachLevelGetsItsButtons) {
    Start();
    {
        TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
        ASSERT_TRUE(root);
        AddOperator(root.get(), QStringLiteral("Administratorzy"), 31, QStringLiteral("admin"));
        AddOperator(root.get(), QStringLiteral("Twórcy"), 28, QStringLiteral("tworca"));
        AddOperator(root.get(), QStringLiteral("Redakcja"), 24, QStringLiteral("redaktor"));
        AddOperator(root.get(), QStringLiteral("Podgląd"), 16, QStringLiteral("widz"));
        AddBank(root.get(), QStringLiteral("Bank Alfa"));
    }
    Stop();

    AnswerLoginWindow(QString());
    Start();
    Form->rbBanki->click();
    EXPECT_EQ(ListedRows(), 0);
    EXPECT_TRUE(Form->lblLoginNeeded->isVisibleTo(Form.get()));
    EXPECT_EQ(Form->lblLoginNeeded->text(), QStringLiteral("Zaloguj się, aby zobaczyć dane."));
    EXPECT_TRUE(Form->Zaloguj1->isVisible());
    EXPECT_FALSE(Form->Wyloguj1->isVisible());
    EXPECT_FALSE(Form->Operatorzy1->isVisible());
    EXPECT_FALSE(Form->Ustawienia1->isEnabled());
    EXPECT_FALSE(Form->CollectionBaseFrame1->btnAdd->isEnabled());
    const auto menuEnabled = [&](const char* Name) {
        const auto* action = Form->findChild<QAction*>(QString::fromLatin1(Name));
        return action && action->isEnabled();
    };
    EXPECT_FALSE(menuEnabled("ImportujPodmioty1"));
    EXPECT_FALSE(menuEnabled("EksportujListe1"));

    struct TLevel {
        const char* login;
        bool add, edit, manage;
    };
    const TLevel levels[] = {
        {"widz", false, false, false},
        {"redaktor", false, true, false},
        {"tworca", true, true, false},
        {"admin", true, true, true},
    };
    for (const TLevel& l : levels) {
        const QString login = QString::fromLatin1(l.login);
        SCOPED_TRACE(l.login);
        AnswerLoginWindow(login);
        Form->Zaloguj1->trigger();
        EXPECT_EQ(ListedRows(), 1);
        EXPECT_FALSE(Form->lblLoginNeeded->isVisibleTo(Form.get()));
        EXPECT_FALSE(Form->Zaloguj1->isVisible());
        EXPECT_TRUE(Form->Wyloguj1->isVisible());
        // A menu's status tip (an empty one, as the menus have) does not take the line away.
        QStatusTipEvent tip{QString()};
        QApplication::sendEvent(Form.get(), &tip);
        EXPECT_TRUE(Form->lblStatus->text().contains(login)) << Form->lblStatus->text().toStdString();
        EXPECT_TRUE(Form->lblStatus->text().contains(QStringLiteral("ewidar.db")));
        TCollectionBaseFrame* frame = Form->CollectionBaseFrame1;
        EXPECT_EQ(frame->btnAdd->isEnabled(), l.add);
        EXPECT_EQ(frame->btnDelete->isEnabled(), l.add);
        EXPECT_EQ(frame->btnEdit->isEnabled(), l.edit);
        EXPECT_EQ(Form->Operatorzy1->isVisible(), l.manage);
        EXPECT_EQ(Form->Ustawienia1->isEnabled(), l.manage);
        EXPECT_EQ(menuEnabled("ImportujPodmioty1"), l.add);
        EXPECT_TRUE(menuEnabled("EksportujListe1"));
        Form->Wyloguj1->trigger();
        EXPECT_EQ(ListedRows(), 0);
        EXPECT_TRUE(Form->Zaloguj1->isVisible());
        EXPECT_FALSE(frame->btnEdit->isEnabled());
    }
}
