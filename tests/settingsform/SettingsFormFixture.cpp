#include "SettingsFormFixture.h"

#include "uCore.h"
#include "uLoadingForm.h"
#include "uMainFormOpeners.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uUserMessagesModule.h"

#include <QPushButton>
#include <QTreeWidget>

#include <dlfcn.h>

namespace {

using TFactory = std::function<IEwidarDataBase*(const std::u16string&)>;
using TList = std::vector<std::pair<std::u16string, std::u16string>>;

void* Router() {
    // Opened once for the whole run and never closed, so the router (and what the
    // test installed in it) outlives every core that loads and unloads it.
    static void* router = dlopen(SETTINGSFORM_ROUTER, RTLD_NOW | RTLD_NODELETE);
    if (!router)
        ADD_FAILURE() << "fixture router: " << dlerror();
    return router;
}

void SetFactory(TFactory Factory) {
    if (void* router = Router())
        reinterpret_cast<void (*)(TFactory)>(dlsym(router, "SettingsRouterSetFactory"))(std::move(Factory));
}

void SetList(TList List) {
    if (void* router = Router())
        reinterpret_cast<void (*)(TList)>(dlsym(router, "SettingsRouterSetList"))(std::move(List));
}

} // namespace

void SettingsFormTest::SetUp() {
    TestSupport::ClearSettings();
    Messages = std::make_unique<FakeMessagePresenter>();
    SetFactory([this](const std::u16string& Symbol) -> IEwidarDataBase* {
        if (!Installed.count(Symbol))
            return nullptr;
        FakeBackend& backend = Backends[Symbol];
        backend.Script.Symbol = Symbol;
        auto root = MakeIntf<SettingsRoot, SettingsRoot>(backend.Script, backend.Collections);
        // Every root object opens a database of its own unless a test says otherwise.
        root->m_dataBaseID = !SharedDataBaseID.empty()
                                 ? SharedDataBaseID
                                 : u"db-" + std::u16string(1, static_cast<char16_t>(u'a' + Roots.size()));
        Roots.push_back(root);
        return root.detach();
    });
}

void SettingsFormTest::TearDown() {
    Form.reset();
    uLoadingForm::HideLoading();
    DestroyCore();
    MainFormOpeners::SetSettingsOpener({});
    MainFormOpeners::SetImportSourceChooser({});
    SetFactory({});
    SetList({});
    Roots.clear();
    Messages.reset();
}

void SettingsFormTest::CreateCoreWith(TList List) {
    SetList(std::move(List));
    CreateCore(QStringLiteral(SETTINGSFORM_ROUTER_DIR));
}

std::unique_ptr<TSettingsForm> SettingsFormTest::OpenForm(uSettingsForm::TWorkMode Mode) {
    return std::make_unique<TSettingsForm>(nullptr, Mode);
}

QStringList SettingsFormTest::TreeLines() const {
    QStringList lines;
    QTreeWidget* tree = Form->TreeView1;
    auto line = [](const QTreeWidgetItem* Node, const QString& Indent) {
        QString text = Indent + Node->text(0);
        if (TSettingsForm::NodeData(Node).Current)
            text += QLatin1Char('*');
        if (Node->childCount() > 0 && Node->isExpanded())
            text += QLatin1Char('+');
        return text;
    };
    for (int b = 0; b < tree->topLevelItemCount(); ++b) {
        QTreeWidgetItem* backend = tree->topLevelItem(b);
        lines.append(line(backend, QString()));
        for (int c = 0; c < backend->childCount(); ++c)
            lines.append(line(backend->child(c), QStringLiteral("  ")));
    }
    return lines;
}

QTreeWidgetItem* SettingsFormTest::Node(int Backend, int Child) const {
    QTreeWidgetItem* backend = Form->TreeView1->topLevelItem(Backend);
    return Child < 0 || !backend ? backend : backend->child(Child);
}

void SettingsFormTest::Select(int Backend, int Child) const {
    Form->TreeView1->setCurrentItem(Node(Backend, Child));
}

QStringList SettingsFormTest::EnabledButtons() const {
    QStringList names;
    for (QPushButton* b : {Form->btnSet, Form->btnAdd, Form->btnEdit, Form->btnDelete})
        if (b->isEnabled())
            names.append(b->objectName());
    return names;
}

QString SettingsFormTest::Setting(const QString& Name) {
    if (!Registry::ValueExists(QuorDataBaseDefs::EwidarKey, Name))
        return QStringLiteral("<absent>");
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, Name, QString());
}

void SettingsFormTest::SetSetting(const QString& Name, const QString& Value) {
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, Name, Value);
}

QList<uint32_t> SettingsFormTest::ShownCodes() const {
    return Messages->ShownCodes();
}

SettingsRoot* SettingsFormTest::LastRootOf(const std::u16string& Symbol) const {
    for (auto it = Roots.rbegin(); it != Roots.rend(); ++it)
        if ((*it)->GetDataBaseSymbol() == Symbol)
            return it->get();
    return nullptr;
}

size_t SettingsFormTest::RootsOf(const std::u16string& Symbol) const {
    size_t n = 0;
    for (const auto& r : Roots)
        n += r->GetDataBaseSymbol() == Symbol ? 1 : 0;
    return n;
}
