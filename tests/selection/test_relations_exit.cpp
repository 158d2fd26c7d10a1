// Relations windows left open when the program disconnects or ends: they are
// freed while the root object is still connected and before the router and the
// backend library are unloaded. Runs in a process of its own (see CMakeLists.txt),
// under the sanitizers: a window that outlived the end would leak or release its
// lists into an unloaded library.

#include "BackendFixture.h"
#include "FakeMessagePresenter.h"
#include "TestSupport.h"
#include "uConnectionSequence.h"
#include "uCore.h"
#include "uDataBaseModule.h"
#include "uEwidarQuorDBSymbole.h"
#include "uInstallWindows.h"
#include "uLoadingForm.h"
#include "uMainForm.h"
#include "uPowiazaniaForm.h"

#include <gtest/gtest.h>

#include <memory>

TEST(RelationsAtExit, OpenWindowsAreFreedBeforeTheDisconnectAndAtTheEnd) {
    if (!qEnvironmentVariableIsSet("EWIDAR_SELECTION_EXIT"))
        GTEST_SKIP() << "runs alone, in test_selection_exit";
    TestSupport::ClearSettings();
    FakeMessagePresenter messages;
    InstallWindows();
    CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
    ASSERT_TRUE(Core()->FDataBaseModule->GetDLLLoaded()) << "the router is not built";
    auto form = std::make_unique<TMainForm>();
    form->FormActivate();
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    ASSERT_TRUE(root);
    auto bank = NewPosted(root->GetRegistries()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol,
                          QStringLiteral("Bank"));
    auto p = Supports<IPodmiot>(NewPodatnik(root.get(), QStringLiteral("Ala"), QStringLiteral("Kowalska")));
    auto konto = Supports<IRachunekBankowy>(p->GetRachunkiBankowe()->New());
    konto->SetDaneBanku(bank.get());
    ASSERT_TRUE(konto->Post());

    // A reconnect disconnects first; the window goes while the connection still lists its data.
    ShowRelations(form.get(), root.get(), bank.get());
    ASSERT_EQ(TPowiazaniaForm::OpenWindows().size(), 1);
    int listedWhenFreed = -1;
    QObject::connect(TPowiazaniaForm::OpenWindows().first(), &QObject::destroyed,
                     [&] { listedWhenFreed = root->GetRegistries()->GetDaneBankow({})->GetCount(); });
    form->ConnectionSequence().Disconnect();
    EXPECT_TRUE(TPowiazaniaForm::OpenWindows().isEmpty());
    EXPECT_EQ(listedWhenFreed, 1);

    // At the end: one window over the main window, one without an owner.
    std::u16string param; // the default database, as the main window opened it
    ASSERT_TRUE(root->Connect(param, true)) << root->GetLastErrorCode();
    bank = root->GetRegistries()->GetDaneBankow({})->GetItem(0);
    p = Supports<IPodmiot>(root->GetRegistries()->GetPodatnicy({})->GetItem(0));
    ShowRelations(form.get(), root.get(), bank.get());
    ShowRelations(nullptr, root.get(), bank.get());
    ASSERT_EQ(TPowiazaniaForm::OpenWindows().size(), 2);
    konto = nullptr;
    p = nullptr;
    bank = nullptr;
    root = nullptr;
    form.reset();
    EXPECT_TRUE(TPowiazaniaForm::OpenWindows().isEmpty());
    uLoadingForm::HideLoading();
    DestroyCore();
    ResetWindows();
}
