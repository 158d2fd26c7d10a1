#include "uOperatorsForm.h"

#include "uOperatorForm.h"
#include "uOperatorsGroupForm.h"
#include "uOperatorsTree.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "Usunać grupę \"%s\" wraz z jej wszystkimi operatorami?"
constexpr uint32_t kDeleteGroupQuestion = 320;
// "Usunać operatora \"%s\" ?"
constexpr uint32_t kDeleteOperatorQuestion = 321;
// "Aby wykonać czynność najpierw zaznacz element."
constexpr uint32_t kNothingSelectedMessage = 322;

QString GroupID(IUserGroup* Group) {
    return QString::number(Group->GetID()) + QStringLiteral("UsersGroup");
}

QString OperatorID(IUser* User) {
    return QString::number(User->GetID()) + QStringLiteral("User");
}

void ShowErrorOf(ICustomObject* Object, QWidget* Owner) {
    ShowUserMessage(static_cast<uint32_t>(Object->GetLastErrorCode()), Owner);
}

} // namespace

TOperatorsForm::TOperatorsForm(QWidget* OwnerForm, IEwidarDataBase* DataBase)
    : TForm(OwnerForm), FDataBase(DataBase) {
    setObjectName(QStringLiteral("OperatorsForm"));
    setWindowTitle(QStringLiteral("Operatorzy"));
    resize(520, 420);

    TreeView1 = new TOperatorsTree(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    btnAddGroup = AddButton("btnAddGroup", QStringLiteral("Dodaj grupę"), &TOperatorsForm::btnAddGroupClick);
    btnEditGroup =
        AddButton("btnEditGroup", QStringLiteral("Edytuj grupę"), &TOperatorsForm::btnEditGroupClick);
    btnDeleteGroup =
        AddButton("btnDeleteGroup", QStringLiteral("Usuń grupę"), &TOperatorsForm::btnDeleteGroupClick);
    btnAddOperator =
        AddButton("btnAddOperator", QStringLiteral("Dodaj operatora"), &TOperatorsForm::btnAddOperatorClick);
    btnEditOperator = AddButton("btnEditOperator", QStringLiteral("Edytuj operatora"),
                                &TOperatorsForm::btnEditOperatorClick);
    btnDeleteOperator = AddButton("btnDeleteOperator", QStringLiteral("Usuń operatora"),
                                  &TOperatorsForm::btnDeleteOperatorClick);
    // Group buttons, then operator buttons, each trio add/edit/delete.
    for (QPushButton* button : {btnAddGroup, btnEditGroup, btnDeleteGroup})
        buttons->addWidget(button);
    buttons->addSpacing(12);
    for (QPushButton* button : {btnAddOperator, btnEditOperator, btnDeleteOperator})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->setSpacing(10);
    row->addWidget(TreeView1, 1);
    row->addLayout(buttons);

    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, &TOperatorsForm::TreeView1Change);
    TreeView1->SetOnDropOperator(
        [this](const QString& ID, QTreeWidgetItem* Target) { TreeView1DragDrop(ID, Target); });
    BuildTree();
    TreeView1->setFocus();
}

QPushButton* TOperatorsForm::AddButton(const char* Name, const QString& Caption,
                                       void (TOperatorsForm::*Handler)()) {
    auto* button = new QPushButton(Caption, this);
    button->setObjectName(QLatin1String(Name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, Handler] {
        (this->*Handler)();
        TreeView1->setFocus();
    });
    return button;
}

void TOperatorsForm::BuildTree() {
    const TNodeData* selected = SelectedData();
    const QString selectedID = selected ? selected->ID : QString();
    {
        // Clearing emits selection changes; the buttons follow once at the end.
        const QSignalBlocker blocker(TreeView1);
        TreeView1->clear();
        TIntfPtr<IUsersGroup> groups = FDataBase ? FDataBase->GetUsersGroups() : TIntfPtr<IUsersGroup>();
        const int32_t groupCount = groups ? groups->GetCount() : 0;
        for (int32_t g = 0; g < groupCount; ++g) {
            TIntfPtr<IUserGroup> group = groups->GetItem(g);
            if (!group)
                continue;
            auto* groupNode = new TNodeItem(toQ(group->GetName()), TOperatorsTree::GroupIcon(),
                                            std::make_unique<TNodeData>(TNodeData{
                                                GroupID(group.get()), groups, group, nullptr, nullptr}));
            TreeView1->addTopLevelItem(groupNode);
            TIntfPtr<IUsers> users = group->GetUsers();
            const int32_t userCount = users ? users->GetCount() : 0;
            for (int32_t u = 0; u < userCount; ++u) {
                TIntfPtr<IUser> user = users->GetItem(u);
                if (!user)
                    continue;
                groupNode->addChild(new TNodeItem(toQ(user->GetLogin()), TOperatorsTree::OperatorIcon(),
                                                  std::make_unique<TNodeData>(TNodeData{
                                                      OperatorID(user.get()), groups, group, users, user})));
            }
            groupNode->setExpanded(true);
        }
        if (QTreeWidgetItem* node = selectedID.isEmpty() ? nullptr : TreeView1->FindNode(selectedID)) {
            TreeView1->setCurrentItem(node);
            node->setSelected(true);
        }
    }
    TreeView1Change();
}

QTreeWidgetItem* TOperatorsForm::SelectedNode() const {
    const QList<QTreeWidgetItem*> items = TreeView1->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

TNodeData* TOperatorsForm::SelectedData() const {
    return TOperatorsTree::NodeData(SelectedNode());
}

void TOperatorsForm::TreeView1Change() {
    QTreeWidgetItem* node = SelectedNode();
    if (!node) {
        for (QPushButton* button :
             {btnEditGroup, btnDeleteGroup, btnAddOperator, btnEditOperator, btnDeleteOperator})
            button->setEnabled(false);
    } else if (!node->parent()) {
        for (QPushButton* button : {btnEditGroup, btnDeleteGroup, btnAddOperator})
            button->setEnabled(true);
        btnEditOperator->setEnabled(false);
        btnDeleteOperator->setEnabled(false);
    } else {
        // The group buttons keep their state: after a group, they act on the operator's group.
        btnEditOperator->setEnabled(true);
        btnDeleteOperator->setEnabled(true);
    }
}

void TOperatorsForm::AfterEdit() {
    BuildTree();
}

void TOperatorsForm::btnAddGroupClick() {
    ShowOperatorsGroupForm(this, fmNew, FDataBase.get(), SelectedData());
    AfterEdit();
}

void TOperatorsForm::btnEditGroupClick() {
    if (TNodeData* data = SelectedData()) {
        ShowOperatorsGroupForm(this, fmEdit, FDataBase.get(), data);
        AfterEdit();
    }
}

void TOperatorsForm::btnAddOperatorClick() {
    if (TNodeData* data = SelectedData()) {
        ShowOperatorForm(this, fmNew, data);
        AfterEdit();
    }
}

void TOperatorsForm::btnEditOperatorClick() {
    if (TNodeData* data = SelectedData()) {
        ShowOperatorForm(this, fmEdit, data);
        AfterEdit();
    }
}

void TOperatorsForm::btnDeleteGroupClick() {
    const TNodeData* data = SelectedData();
    IUserGroup* group = data ? data->UserGroup.get() : nullptr;
    DeleteAfterQuestion(kDeleteGroupQuestion, group ? toQ(group->GetName()) : QString(), group);
}

void TOperatorsForm::btnDeleteOperatorClick() {
    const TNodeData* data = SelectedData();
    IUser* user = data ? data->User.get() : nullptr;
    DeleteAfterQuestion(kDeleteOperatorQuestion, user ? toQ(user->GetLogin()) : QString(), user);
}

void TOperatorsForm::DeleteAfterQuestion(uint32_t Question, const QString& Name, ICustomRecord* Record) {
    if (!Record) {
        ShowUserMessage(kNothingSelectedMessage, this);
        return;
    }
    if (ShowUserMessage(Question, {Name}, this) != ModalResult::mrYes)
        return;
    // The record may go with the tree: it is held until the end.
    TIntfPtr<ICustomRecord> record(Record);
    if (record->Delete())
        BuildTree();
    else
        ShowErrorOf(record.get(), this);
}

void TOperatorsForm::TreeView1DragDrop(const QString& OperatorID, QTreeWidgetItem* Target) {
    const TNodeData* target = TOperatorsTree::NodeData(Target);
    const TNodeData* source = TOperatorsTree::NodeData(TreeView1->FindNode(OperatorID));
    if (!Target || Target->parent() || !target || !target->UserGroup || !source || !source->User)
        return;
    TIntfPtr<IUser> user = source->User;
    user->SetUserGroup(target->UserGroup.get());
    const bool moved = user->GetLastErrorCode() == 0 && user->Post();
    // Read again either way: a refused move must not stay in the operator's object.
    BuildTree();
    if (!moved)
        ShowErrorOf(user.get(), this);
}

void ShowOperators(QWidget* OwnerForm, IEwidarDataBase* DataBase) {
    if (!DataBase)
        return;
    TOperatorsForm form(OwnerForm, DataBase);
    form.exec();
}
