// The connection sequence over the scripted backend: the missing backend, the
// settings window offer, the first stored parameter and its history, the connect
// loop with the backend's dialog, login and logout, the NFZ defaults, the import,
// the progress handler, the settings window's answers and the window's end.

#include "MainFormFixture.h"
#include "TEdit.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uLoadingForm.h"
#include "uLoginForm.h"
#include "uMainFormOpeners.h"
#include "uSettingsModule.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace MainFormOpeners;

namespace {

using ConnectionTest = MainFormTest;

const QString k319 =
    QStringLiteral("Nie odnaleziono Biblioteki QuorDataBase.dll\r\nlub wystąpił błąd podczas jej "
                   "uruchamiania.");

// Answers the next login window with the texts and the button.
void AnswerLogin(const QString& Login, const QString& Password, const char* Button = "btnZaloguj") {
    TestSupport::WhenModal([=](QWidget* w) {
        auto* form = qobject_cast<TLoginForm*>(w);
        if (!form) {
            ADD_FAILURE() << "expected the login window";
            w->close();
            return;
        }
        form->edtLogin->setText(Login);
        form->edtPassword->setText(Password);
        form->findChild<QPushButton*>(QLatin1String(Button))->click();
    });
}

bool NoSwitchChecked(TMainForm* Form) {
    for (auto* sw : Form->Switches)
        if (sw->isChecked())
            return false;
    return true;
}

} // namespace

TEST_F(ConnectionTest, MissingBackendAsksForSettingsAndNoLeadsTo319AndAnEmptyWindow) {
    SetSetting(QStringLiteral("DataBaseSymbol"), QStringLiteral("MYSQL"));
    CreateCoreAndWindow();
    Messages->QueueResult(ModalResult::mrNo);
    RunSequence();
    ASSERT_EQ(Messages->Count(), 2);
    const TMessageRequest& ask = Messages->Shown[0];
    EXPECT_EQ(ask.Title, QStringLiteral("UWAGA! Brak parametrów bazy danych Ewidary Podmiotów"));
    EXPECT_EQ(ask.Text, QStringLiteral("Parametry bazy danych Ewidary Podmiotów nie zostały ustawione.\n\n"
                                       "Czy otworzyć ustawianie parametrów bazy danych?"));
    EXPECT_EQ(ask.Icon, TMsgDlgType::mtError);
    ASSERT_EQ(ask.Buttons.size(), 2);
    EXPECT_EQ(ask.Buttons[0].ButtonType, TMsgDlgBtn::mbYes);
    EXPECT_EQ(ask.Buttons[1].ButtonType, TMsgDlgBtn::mbNo);
    EXPECT_EQ(ask.Owner, Form.get());
    EXPECT_EQ(Messages->Shown[1].Text, k319);
    // An empty window: nothing selected, listed or connected.
    EXPECT_TRUE(Roots.empty());
    EXPECT_TRUE(NoSwitchChecked(Form.get()));
    EXPECT_FALSE(Form->CollectionBaseFrame1->EwidarCollection());
    EXPECT_FALSE(Form->CollectionBaseFrame1->EwidarDataBase());
    EXPECT_FALSE(Form->CollectionBaseFrame1->btnEdit->isEnabled());
    EXPECT_FALSE(Form->CollectionBaseFrame1->btnDelete->isEnabled());
    EXPECT_FALSE(Form->Operatorzy1->isVisible());
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);
}

TEST_F(ConnectionTest, ClosingTheQuestionOrAnsweringYesWithoutASettingsWindowEndsIn319) {
    Installed.clear();
    CreateCoreAndWindow();
    Messages->QueueButton(QStringLiteral("<closed>"));
    RunSequence();
    ASSERT_EQ(Messages->Count(), 2);
    EXPECT_EQ(Messages->Shown[1].Text, k319);

    Messages->Shown.clear();
    Messages->QueueResult(ModalResult::mrYes);
    Form->ConnectionSequence().Run();
    ASSERT_EQ(Messages->Count(), 2);
    EXPECT_EQ(Messages->Shown[1].Text, k319);
}

TEST_F(ConnectionTest, SettingsWindowIsOfferedAgainUntilDeclined) {
    Installed.clear();
    CreateCoreAndWindow();
    QList<TCloseStatus> answers = {csAccept, csReload, csCancel};
    int opened = 0;
    SetSettingsOpener([&](QWidget* Owner) {
        EXPECT_EQ(Owner, Form.get());
        ++opened;
        return answers.takeFirst();
    });
    Messages->QueueResult(ModalResult::mrYes);
    Messages->QueueResult(ModalResult::mrYes);
    Messages->QueueResult(ModalResult::mrYes);
    RunSequence();
    EXPECT_EQ(opened, 3);
    // Three questions (csCancel leaves the loop), then 319.
    ASSERT_EQ(Messages->Count(), 4);
    EXPECT_EQ(Messages->Shown[3].Text, k319);
    // csReload reloaded the list.
    EXPECT_TRUE(Form->CollectionBaseFrame1->tmrFilter->isActive());
}

TEST_F(ConnectionTest, SettingsReconnectConnectsOnceThroughTheNestedSequence) {
    Installed.clear();
    Script.Symbol = u"MYSQL";
    CreateCoreAndWindow();
    SetSettingsOpener([&](QWidget*) {
        // The operator chose and saved a backend that is installed.
        Installed.insert(u"MYSQL");
        Core()->FSettingsModule->FTempSettingsRecord.DataBaseSymbol = QStringLiteral("MYSQL");
        Core()->FSettingsModule->Save();
        return csReconnect;
    });
    Messages->QueueResult(ModalResult::mrYes);
    RunSequence();
    ASSERT_EQ(Roots.size(), 1u);
    EXPECT_EQ(RootAt(0)->ConnectCalls.size(), 1u);
    EXPECT_EQ(Messages->Count(), 1); // the question only
    EXPECT_TRUE(Form->rbpodmioty->isChecked());
    EXPECT_EQ(Form->CollectionBaseFrame1->EwidarDataBase().get(), static_cast<IEwidarDataBase*>(RootAt(0)));
}

TEST_F(ConnectionTest, FirstSqliteConnectionStoresTheFilledParameterAndItsHistoryOnce) {
    CreateCoreAndWindow();
    ASSERT_EQ(Roots.size(), 1u); // asked for by the database module at start
    RunSequence();
    ASSERT_EQ(Roots.size(), 1u); // the same symbol: reused
    FakeRoot* root = RootAt(0);
    ASSERT_EQ(root->ConnectCalls.size(), 1u);
    EXPECT_EQ(root->ConnectCalls[0], std::make_pair(std::u16string(), true));
    EXPECT_EQ(Setting("ConnectorParams_SQLITE"), QStringLiteral("DIR=/data/ewidar.db"));
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("DIR=/data/ewidar.db@"));
    EXPECT_EQ(Setting("DataBaseSymbol"), QStringLiteral("SQLITE"));
    EXPECT_TRUE(Form->rbpodmioty->isChecked());
    EXPECT_EQ(Messages->Count(), 0);
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);

    // A second connection uses the stored parameter and leaves the history alone.
    Form->ConnectionSequence().Disconnect();
    Form->ConnectionSequence().Run();
    ASSERT_EQ(root->ConnectCalls.size(), 2u);
    EXPECT_EQ(root->ConnectCalls[1].first, u"DIR=/data/ewidar.db");
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("DIR=/data/ewidar.db@"));

    // An emptied parameter is stored again, but a history holding it is not extended.
    SetSetting("ConnectorParams_SQLITE", QString());
    Form->ConnectionSequence().Run();
    EXPECT_EQ(Setting("ConnectorParams_SQLITE"), QStringLiteral("DIR=/data/ewidar.db"));
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("DIR=/data/ewidar.db@"));
}

TEST_F(ConnectionTest, HistoryGrowsByANewParameterAndAStoredOneIsLeftAlone) {
    SetSetting("ConnectorHistory_SQLITE", QStringLiteral("DIR=/a.db@"));
    CreateCoreAndWindow();
    RunSequence();
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("DIR=/a.db@DIR=/data/ewidar.db@"));

    // A stored parameter is used as it is and nothing is written.
    Form.reset();
    DestroyCore();
    TestSupport::ClearSettings();
    SetSetting("ConnectorParams_SQLITE", QStringLiteral("DIR=/x.db"));
    SetSetting("ConnectorHistory_SQLITE", QStringLiteral("old@"));
    Roots.clear();
    CreateCoreAndWindow();
    RunSequence();
    EXPECT_EQ(RootAt(0)->ConnectCalls[0].first, u"DIR=/x.db");
    EXPECT_EQ(Setting("ConnectorParams_SQLITE"), QStringLiteral("DIR=/x.db"));
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("old@"));
}

TEST_F(ConnectionTest, BackendOutsideTheTableKeepsItsParameterUnderItsOwnSymbol) {
    SetSetting("DataBaseSymbol", QStringLiteral("ORACLE"));
    Script.Symbol = u"ORACLE";
    Installed = {u"ORACLE"};
    CreateCoreAndWindow();
    RunSequence();
    EXPECT_EQ(Setting("ConnectorParams_ORACLE"), QStringLiteral("DIR=/data/ewidar.db"));
    EXPECT_EQ(Setting("ConnectorHistory_ORACLE"), QStringLiteral("DIR=/data/ewidar.db@"));
    EXPECT_EQ(Setting("ConnectorParams_SQLITE"), QStringLiteral("<absent>"));
}

TEST_F(ConnectionTest, ConnectFailureShowsTheErrorAndRetriesWithTheDialogsParameter) {
    SetSetting("ConnectorParams_SQLITE", QStringLiteral("DIR=/bad.db"));
    Script.ConnectResults = {false, false};
    Script.DialogAnswers = {{true, u"DIR=/worse.db"}, {true, u"DIR=/good.db"}};
    CreateCoreAndWindow();
    RunSequence();
    FakeRoot* root = RootAt(0);
    EXPECT_EQ(ShownCodes(), (QList<uint32_t>{14, 14}));
    EXPECT_EQ(root->DialogCalls, (std::vector<std::u16string>{u"DIR=/bad.db", u"DIR=/worse.db"}));
    EXPECT_EQ(root->DialogParent, static_cast<void*>(Form.get()));
    ASSERT_EQ(root->ConnectCalls.size(), 3u);
    EXPECT_EQ(root->ConnectCalls[2], std::make_pair(std::u16string(u"DIR=/good.db"), true));
    EXPECT_TRUE(Form->rbpodmioty->isChecked());
    // Only a first empty parameter is stored by the window.
    EXPECT_EQ(Setting("ConnectorParams_SQLITE"), QStringLiteral("DIR=/bad.db"));
}

TEST_F(ConnectionTest, DecliningTheBackendsDialogLeavesTheWindowWithoutAList) {
    Script.ConnectResults = {false};
    CreateCoreAndWindow();
    RunSequence();
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{14});
    EXPECT_EQ(RootAt(0)->DialogCalls.size(), 1u);
    EXPECT_TRUE(NoSwitchChecked(Form.get()));
    EXPECT_FALSE(Form->CollectionBaseFrame1->EwidarCollection());
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);
    EXPECT_EQ(Setting("ConnectorHistory_SQLITE"), QStringLiteral("<absent>"));
}

TEST_F(ConnectionTest, EmptyNfzRegistryIsFilledOncePerConnection) {
    CreateCoreAndWindow();
    RunSequence();
    EXPECT_EQ(Collections.NFZ->FillCalls, 1);
    ASSERT_GE(Collections.Opened.size(), 2u);
    EXPECT_EQ(Collections.Opened[0], std::make_pair(QStringLiteral("GetDaneNFZow"), QString()));
    EXPECT_EQ(Collections.Opened[1].first, QStringLiteral("GetPodmioty"));
    // Filled: the next connection leaves it.
    Form->ConnectionSequence().Disconnect();
    Form->ConnectionSequence().Run();
    EXPECT_EQ(Collections.NFZ->FillCalls, 1);
    // A backend that cannot fill it is asked once on every connection, quietly.
    Collections.NFZ->Records.clear();
    Collections.NFZ->FillAdds = false;
    Form->ConnectionSequence().Disconnect();
    Form->ConnectionSequence().Run();
    Form->ConnectionSequence().Disconnect();
    Form->ConnectionSequence().Run();
    EXPECT_EQ(Collections.NFZ->FillCalls, 3);
    EXPECT_EQ(Messages->Count(), 0);
}

TEST_F(ConnectionTest, LoginWindowDecidesAndACancelledLoginShowsNoData) {
    Script.NeedsLogin = true;
    CreateCoreAndWindow();
    AnswerLogin(QStringLiteral("jan"), QStringLiteral("tajne"));
    RunSequence();
    FakeRoot* root = RootAt(0);
    EXPECT_EQ(root->LoginCalls.size(), 1u);
    EXPECT_TRUE(Form->Operatorzy1->isVisible());
    EXPECT_TRUE(Form->rbpodmioty->isChecked());

    EXPECT_FALSE(Form->lblLoginNeeded->isVisibleTo(Form.get()));

    // A cancelled login: no operators item, nothing written (no NFZ defaults), the first
    // registry with the text that asks for a login and "Zaloguj" offered.
    Form->ConnectionSequence().Disconnect();
    root->LoggedIn = false;
    Form->rbBanki->setChecked(true);
    const int filled = Collections.NFZ->FillCalls;
    AnswerLogin(QString(), QString(), "btnAnuluj");
    Form->ConnectionSequence().Run();
    EXPECT_EQ(root->LoginCalls.size(), 1u);
    EXPECT_FALSE(Form->Operatorzy1->isVisible());
    EXPECT_EQ(Collections.NFZ->FillCalls, filled);
    EXPECT_TRUE(Form->rbpodmioty->isChecked());
    EXPECT_FALSE(Form->rbBanki->isChecked());
    EXPECT_TRUE(Form->lblLoginNeeded->isVisibleTo(Form.get()));
    EXPECT_TRUE(Form->Zaloguj1->isVisible());
    EXPECT_FALSE(Form->Wyloguj1->isVisible());
}

TEST_F(ConnectionTest, OperatorsItemFollowsTheAdministratorRight) {
    Script.Administrator = false;
    CreateCoreAndWindow();
    RunSequence();
    EXPECT_FALSE(Form->Operatorzy1->isVisible());
    EXPECT_FALSE(Form->Slowniki1->menuAction()->isVisible()) << "installing dictionary data as well";
    Script.Administrator = true;
    Form->ConnectionSequence().Run();
    EXPECT_TRUE(Form->Operatorzy1->isVisible());
    EXPECT_TRUE(Form->Slowniki1->menuAction()->isVisible());
    int opened = 0;
    SetOperatorsOpener([&](QWidget* Owner, IEwidarDataBase* Db) {
        ++opened;
        EXPECT_EQ(Owner, Form.get());
        EXPECT_EQ(Db, static_cast<IEwidarDataBase*>(RootAt(0)));
    });
    Form->Operatorzy1->trigger();
    EXPECT_EQ(opened, 1);
}

TEST_F(ConnectionTest, LogoutAndLoginAgain) {
    CreateCoreAndWindow();
    RunSequence();
    FakeRoot* root = RootAt(0);
    ASSERT_TRUE(Form->Operatorzy1->isVisible());
    Form->Wyloguj1Click();
    EXPECT_EQ(root->LogoutCalls, 1);
    EXPECT_TRUE(Form->Zaloguj1->isVisible());
    EXPECT_FALSE(Form->Wyloguj1->isVisible());
    EXPECT_FALSE(Form->Operatorzy1->isVisible());
    EXPECT_TRUE(Form->CollectionBaseFrame1->tmrFilter->isActive());
    EXPECT_EQ(root->m_disconnects, 0); // the connection stays open

    // A refused attempt keeps the window open; the right one logs in.
    TestSupport::WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TLoginForm*>(w);
        ASSERT_TRUE(form);
        form->edtLogin->setText(QStringLiteral("jan"));
        form->edtPassword->setText(QStringLiteral("zle"));
        form->btnZaloguj->click();
        EXPECT_TRUE(form->isVisible());
        form->edtPassword->setText(QStringLiteral("tajne"));
        form->btnZaloguj->click();
    });
    Form->Zaloguj1->trigger();
    EXPECT_EQ(root->LoginCalls.size(), 2u);
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{21});
    EXPECT_TRUE(root->LoggedIn);
    EXPECT_TRUE(Form->Operatorzy1->isVisible());
    EXPECT_FALSE(Form->Zaloguj1->isVisible());
}

TEST_F(ConnectionTest, ProgressHandlerShowsTheImportAndPassesCancelBack) {
    CreateCoreAndWindow();
    RunSequence();
    TProgressEvent progress = RootAt(0)->GetOnProgress();
    ASSERT_TRUE(progress);
    bool cancel = false;
    progress(40, cancel);
    uLoadingForm::TLoadingForm* loading = uLoadingForm::LoadingForm();
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->OwnerForm(), Form.get());
    EXPECT_EQ(loading->Layout(), uLoadingForm::TLayout::lCaptionProgressBar);
    EXPECT_EQ(loading->Caption(), QStringLiteral("Importowanie danych..."));
    EXPECT_EQ(loading->Procent(), 40);
    EXPECT_FALSE(cancel);
    loading->findChild<QToolButton*>(QStringLiteral("btnCancel"))->click();
    progress(250, cancel); // out of range: shown as full
    EXPECT_TRUE(cancel);
    EXPECT_EQ(loading->Procent(), 100);
    uLoadingForm::HideLoading();
}

TEST_F(ConnectionTest, ImportCopiesFromASecondDatabaseAndReleasesIt) {
    Installed.insert(u"MYSQL");
    OtherScript.Symbol = u"MYSQL";
    CreateCoreAndWindow();
    RunSequence();
    // Without a chooser (the settings window's choosing mode) nothing happens.
    Form->Innejbazy1Click();
    EXPECT_EQ(Roots.size(), 1u);

    SetImportSourceChooser([](QWidget*) {
        return TDBParamRecord{csAccept, QStringLiteral("MYSQL"), u"HOST=src"};
    });
    Form->Innejbazy1->trigger();
    ASSERT_EQ(Roots.size(), 2u);
    FakeRoot* source = RootAt(1);
    EXPECT_EQ(source->ConnectCalls, (std::vector<std::pair<std::u16string, bool>>{{u"HOST=src", false}}));
    EXPECT_EQ(RootAt(0)->ImportSources, std::vector<IEwidarDataBase*>{source});
    EXPECT_EQ(source->m_disconnects, 1);
    EXPECT_EQ(source->RefCount(), 1); // only the test's own reference is left
    EXPECT_TRUE(Form->CollectionBaseFrame1->tmrFilter->isActive());
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);
    EXPECT_EQ(Messages->Count(), 0);

    // A failed import shows the target's error; the source is released all the same.
    Script.ImportResult = false;
    Form->Innejbazy1->trigger();
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{203});
    EXPECT_EQ(RootAt(2)->m_disconnects, 1);

    // A source that does not connect shows its own error and is not imported from.
    Messages->Shown.clear();
    OtherScript.ConnectResults = {false};
    OtherScript.ConnectError = 20;
    Form->Innejbazy1->trigger();
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{20});
    EXPECT_EQ(RootAt(0)->ImportSources.size(), 2u);
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);

    // A source backend that is not installed.
    Messages->Shown.clear();
    Installed.erase(u"MYSQL");
    Form->Innejbazy1->trigger();
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{319});
}

TEST_F(ConnectionTest, CancellingTheProgressWindowStopsTheImport) {
    Installed.insert(u"MYSQL");
    OtherScript.Symbol = u"MYSQL";
    Script.ImportProgress = {10, 20, 30};
    CreateCoreAndWindow();
    RunSequence();
    SetImportSourceChooser([](QWidget*) {
        return TDBParamRecord{csAccept, QStringLiteral("MYSQL"), u"HOST=src"};
    });
    // Pressed while the progress window first lets events run ("Trwa łączenie...").
    QTimer::singleShot(0, Form.get(), [] {
        if (auto* loading = uLoadingForm::LoadingForm())
            loading->findChild<QToolButton*>(QStringLiteral("btnCancel"))->click();
    });
    Form->Innejbazy1->trigger();
    EXPECT_TRUE(RootAt(0)->Cancelled);
    EXPECT_EQ(ShownCodes(), QList<uint32_t>{204});
    EXPECT_EQ(RootAt(1)->m_disconnects, 1);
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);
}

TEST_F(ConnectionTest, TheListUsesTheRootObjectTheSettingsWindowPutInPlace) {
    CreateCoreAndWindow();
    RunSequence();
    ASSERT_EQ(Roots.size(), 1u);
    // The settings window connects a root object of its own and asks for a reload only.
    SetSettingsOpener([](QWidget*) {
        TDataBaseModule& module = *Core()->FDataBaseModule;
        module.FEwidarDataBase = module.CreateEwidarInterface(QStringLiteral("SQLITE"));
        return csReload;
    });
    Form->Ustawienia1->trigger();
    ASSERT_EQ(Roots.size(), 2u);
    EXPECT_EQ(Form->CollectionBaseFrame1->EwidarDataBase().get(), static_cast<IEwidarDataBase*>(RootAt(1)));
    EXPECT_EQ(RootAt(0)->RefCount(), 1) << "nothing keeps the replaced root object";
}

TEST_F(ConnectionTest, SettingsMenuReloadsOrReconnectsAsTheWindowAsks) {
    CreateCoreAndWindow();
    RunSequence();
    FakeRoot* root = RootAt(0);
    TCloseStatus answer = csCancel;
    SetSettingsOpener([&](QWidget*) { return answer; });
    for (TCloseStatus nothing : {csCancel, csAccept}) {
        answer = nothing;
        Form->Ustawienia1->trigger();
        EXPECT_FALSE(Form->CollectionBaseFrame1->tmrFilter->isActive());
        EXPECT_EQ(root->m_disconnects, 0);
    }
    answer = csReload;
    Form->Ustawienia1->trigger();
    EXPECT_TRUE(Form->CollectionBaseFrame1->tmrFilter->isActive());
    EXPECT_EQ(root->m_disconnects, 0);

    answer = csReconnect;
    Form->rbBanki->click();
    Form->Ustawienia1->trigger();
    EXPECT_EQ(root->m_disconnects, 1);
    EXPECT_EQ(root->ConnectCalls.size(), 2u);
    EXPECT_TRUE(Form->rbpodmioty->isChecked());
}

TEST_F(ConnectionTest, ADifferentSavedSymbolReplacesTheRootObject) {
    Installed.insert(u"MYSQL");
    OtherScript.Symbol = u"MYSQL";
    CreateCoreAndWindow();
    Core()->FSettingsModule->FMainSettingsRecord.DataBaseSymbol = QStringLiteral("MYSQL");
    RunSequence();
    ASSERT_EQ(Roots.size(), 2u);
    EXPECT_EQ(Current(), RootAt(1));
    EXPECT_EQ(Form->CollectionBaseFrame1->EwidarDataBase().get(), static_cast<IEwidarDataBase*>(RootAt(1)));
    EXPECT_TRUE(RootAt(1)->Connected);
    EXPECT_EQ(RootAt(0)->RefCount(), 1); // released by the module
}

TEST_F(ConnectionTest, FirstActivationRunsTheSequenceOnlyOnce) {
    CreateCoreAndWindow();
    Form->show();
    Form->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(!Form->FirstRun(), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(Form->rbpodmioty->isChecked(), 3000);
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWait(20);
    Form->activateWindow();
    QTest::qWait(50);
    EXPECT_EQ(RootAt(0)->ConnectCalls.size(), 1u);
}

TEST_F(ConnectionTest, TheWindowsEndDisconnectsAndDetachesItsProgressHandler) {
    CreateCoreAndWindow();
    RunSequence();
    TIntfPtr<FakeRoot> root(RootAt(0));
    ASSERT_TRUE(root->GetOnProgress());
    Form.reset();
    EXPECT_EQ(root->m_disconnects, 1);
    EXPECT_FALSE(root->GetOnProgress());
}

TEST_F(ConnectionTest, SettingsThatCannotBeWrittenAreReportedNotRaised) {
    CreateCoreAndWindow();
    // The user's settings folder becomes a file: the first parameter cannot be stored.
    const QString dir = TestSupport::UserSettingsDir();
    QDir(dir).removeRecursively();
    {
        QFile blocker(dir);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    EXPECT_NO_THROW(RunSequence());
    QFile::remove(dir);
    TestSupport::ClearSettings();
    ASSERT_GE(Messages->Count(), 1);
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("Failed")))
        << Messages->Last().Text.toStdString();
    EXPECT_EQ(uLoadingForm::LoadingForm(), nullptr);
}
