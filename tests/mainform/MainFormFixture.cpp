#include "MainFormFixture.h"

#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uLoadingForm.h"
#include "uMainFormOpeners.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uUserMessagesModule.h"

#include <QTest>
#include <QTimer>

#include <dlfcn.h>

namespace {

using TFactory = std::function<IEwidarDataBase*(const std::u16string&)>;
using TSetFactory = void (*)(TFactory);

TSetFactory RouterSetFactory() {
    // Opened once for the whole run and never closed, so the router (and the factory
    // installed in it) outlives every core that loads and unloads it.
    static void* router = dlopen(MAINFORM_ROUTER, RTLD_NOW | RTLD_NODELETE);
    if (!router) {
        ADD_FAILURE() << "fixture router: " << dlerror();
        return nullptr;
    }
    return reinterpret_cast<TSetFactory>(dlsym(router, "MainFormRouterSetFactory"));
}

} // namespace

const char* const kSwitchNames[11] = {
    "rbpodmioty", "rbPodatnicy", "rbPracownicy",         "rbKontrahenci",  "rbSpki",           "rbBanki",
    "rbDaneZUS",  "rbDaneNFZ",   "rbUrzedyStatystyczne", "rbSadyRejonowe", "rbBiuraRachunkowe"};

void MainFormTest::SetUp() {
    TestSupport::ClearSettings();
    Messages = std::make_unique<FakeMessagePresenter>();
    TSetFactory set = RouterSetFactory();
    ASSERT_NE(set, nullptr);
    set([this](const std::u16string& Symbol) -> IEwidarDataBase* {
        if (!Installed.count(Symbol))
            return nullptr;
        const bool other = Symbol != Script.Symbol;
        auto root = MakeIntf<FakeRoot, FakeRoot>(other ? OtherScript : Script,
                                                 other ? OtherCollections : Collections);
        Roots.push_back(root);
        return root.detach();
    });
}

void MainFormTest::TearDown() {
    Form.reset();
    uLoadingForm::HideLoading();
    DestroyCore();
    MainFormOpeners::SetSettingsOpener({});
    MainFormOpeners::SetImportSourceChooser({});
    MainFormOpeners::SetOperatorsOpener({});
    if (TSetFactory set = RouterSetFactory())
        set({});
    Roots.clear();
    Messages.reset();
}

void MainFormTest::CreateCoreAndWindow() {
    CreateCore(QStringLiteral(MAINFORM_ROUTER_DIR));
    Form = std::make_unique<TMainForm>();
}

void MainFormTest::WaitForList() {
    QTimer* timer = Form->CollectionBaseFrame1->tmrFilter;
    QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 2000);
    QCoreApplication::processEvents();
}

FakeRoot* MainFormTest::Current() const {
    TIntfPtr<IEwidarDataBase> root = CurrentDataBase();
    return dynamic_cast<FakeRoot*>(root.get());
}

QString MainFormTest::Setting(const QString& Name) {
    if (!Registry::ValueExists(QuorDataBaseDefs::EwidarKey, Name))
        return QStringLiteral("<absent>");
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, Name, QString());
}

void MainFormTest::SetSetting(const QString& Name, const QString& Value) {
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, Name, Value);
}

QList<uint32_t> MainFormTest::ShownCodes() const {
    return Messages->ShownCodes();
}

QStringList MainFormTest::ShownTexts() const {
    QStringList texts;
    for (const TMessageRequest& r : Messages->Shown)
        texts.append(r.Text);
    return texts;
}
