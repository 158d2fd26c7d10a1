#include "OperatorsFixture.h"

#include "uCore.h"
#include "uDataBaseModule.h"
#include "uOperatorsTree.h"
#include "uStrings.h"

#include <QDir>
#include <QStandardPaths>
#include <QTreeWidgetItemIterator>

void OperatorsTest::SetUp() {
    TestSupport::ClearSettings();
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ewidar"))
        .removeRecursively();
    Messages = std::make_unique<FakeMessagePresenter>();
    StartCore();
}

void OperatorsTest::TearDown() {
    StopCore();
    Messages.reset();
}

void OperatorsTest::StartCore() {
    CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
    TIntfPtr<IEwidarDataBase> root = Root();
    ASSERT_TRUE(root) << "the real router or SQL backend is not built";
    // An empty parameter opens the default database file.
    std::u16string param;
    ASSERT_TRUE(root->Connect(param, true)) << "code " << root->GetLastErrorCode();
}

void OperatorsTest::StopCore() {
    // Everything that holds backend objects goes before the backend library.
    FForm.reset();
    DestroyCore();
}

TIntfPtr<IEwidarDataBase> OperatorsTest::Root() const {
    TCore* core = Core();
    return core && core->FDataBaseModule ? core->FDataBaseModule->FEwidarDataBase : nullptr;
}

void OperatorsTest::Seed(const QString& Group, int32_t Rights, const QStringList& Logins) {
    TIntfPtr<IUserGroup> group = Root()->GetUsersGroups()->AddGroup();
    group->SetName(toU16(Group));
    group->SetUprawnienia(Rights);
    ASSERT_TRUE(group->Post()) << "code " << group->GetLastErrorCode();
    for (const QString& login : Logins) {
        TIntfPtr<IUser> user = group->GetUsers()->AddUser();
        user->SetLogin(toU16(login));
        user->SetPassword(toU16(login + QLatin1Char('!')));
        ASSERT_TRUE(user->Post()) << login.toStdString() << ": code " << user->GetLastErrorCode();
    }
}

int32_t OperatorsTest::StoredRights(const QString& Group) const {
    TIntfPtr<IUsersGroup> groups = Root()->GetUsersGroups();
    for (int32_t i = 0; i < groups->GetCount(); ++i)
        if (toQ(groups->GetItem(i)->GetName()) == Group)
            return groups->GetItem(i)->GetUprawnienia();
    return -1;
}

bool OperatorsTest::CanLogin(const QString& Login, const QString& Password) const {
    TIntfPtr<IEwidarDataBase> other =
        Core()->FDataBaseModule->CreateEwidarInterface(QStringLiteral("SQLITE"));
    std::u16string param;
    if (!other || !other->Connect(param, true))
        return false;
    const bool logged = other->Login(toU16(Login), toU16(Password));
    other->Disconnect();
    return logged;
}

TOperatorsForm& OperatorsTest::Form() {
    if (!FForm)
        FForm = std::make_unique<TOperatorsForm>(nullptr, Root().get());
    return *FForm;
}

QStringList OperatorsTest::Tree() {
    QStringList texts;
    for (QTreeWidgetItemIterator it(Form().TreeView1); *it; ++it)
        texts.append(((*it)->parent() ? QStringLiteral("  ") : QString()) + (*it)->text(0));
    return texts;
}

QTreeWidgetItem* OperatorsTest::Node(const QString& Text) {
    for (QTreeWidgetItemIterator it(Form().TreeView1); *it; ++it)
        if ((*it)->text(0) == Text)
            return *it;
    ADD_FAILURE() << "no node " << Text.toStdString();
    return nullptr;
}

void OperatorsTest::Select(const QString& Text) {
    if (QTreeWidgetItem* node = Node(Text)) {
        Form().TreeView1->setCurrentItem(node);
        node->setSelected(true);
    }
}

QString OperatorsTest::Shown() const {
    QStringList texts;
    for (const TMessageRequest& r : Messages->Shown)
        texts.append(r.Text);
    return texts.join(QStringLiteral(" | "));
}
