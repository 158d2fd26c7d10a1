// The main window over the real router and SQL backend: a fresh machine opens the
// default database without a question, registries switch and filter, and an
// operator created through the backend logs in through the login window.

#include "FakeMessagePresenter.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uEwidarDrawGrid.h"
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
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        QDir(DataFolder()).removeRecursively();
        Messages = std::make_unique<FakeMessagePresenter>();
    }
    void TearDown() override {
        Form.reset();
        uLoadingForm::HideLoading();
        DestroyCore();
        Messages.reset();
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
    if (!groups)
        GTEST_SKIP() << "the SQL backend cannot manage operators yet (GetUsersGroups: code "
                     << root->GetLastErrorCode() << ")";
    TIntfPtr<IUserGroup> group = groups->AddGroup();
    ASSERT_TRUE(group);
    group->SetName(u"Administratorzy");
    group->SetUprawnienia(31);
    if (!group->Post())
        GTEST_SKIP() << "the SQL backend cannot store an operator group yet (code "
                     << group->GetLastErrorCode() << ")";
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
        if (!asks)
            GTEST_SKIP() << "the SQL backend does not ask for a login when operators exist";
    }

    int attempts = 0;
    TestSupport::WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TLoginForm*>(w);
        ASSERT_TRUE(form) << "expected the login window";
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
    TestSupport::WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TLoginForm*>(w);
        ASSERT_TRUE(form);
        form->edtLogin->setText(QStringLiteral("jan"));
        form->edtPassword->setText(QStringLiteral("Tajne hasło"));
        form->btnZaloguj->click();
    });
    Form->Zaloguj1->trigger();
    EXPECT_TRUE(root->IsLoggedIn());
    EXPECT_FALSE(Form->Zaloguj1->isVisible());
}
