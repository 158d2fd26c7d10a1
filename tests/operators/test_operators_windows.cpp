// The operators window over the real SQL backend: rights and slider positions,
// passwords kept unless changed, the last administrator protected, drag and drop
// by the dragged operator, the buttons following the selection.

#include "OperatorsFixture.h"
#include "TCheckBox.h"
#include "TEdit.h"
#include "uOperatorForm.h"
#include "uOperatorsGroupForm.h"
#include "uOperatorsTree.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>
#include <QTest>

#include <optional>

using namespace OperatorsRights;

namespace {

const QString kAdminGroup = QStringLiteral("Administratorzy");
// The backend's refusal when no administrator would remain.
const QString kNoAdministrator = QStringLiteral("bez administratora");

// Drags Mime from Source (the tree itself unless given) over the tree to Pos and drops it
// there; true when the drop was accepted.
bool Drop(QTreeWidget* Tree, const QMimeData& Mime, const QPoint& Pos,
          std::optional<const QObject*> Source = std::nullopt) {
    const auto real = TOperatorsTree::DragSourceOf;
    TOperatorsTree::DragSourceOf = [from = Source.value_or(Tree)](const QDropEvent&) { return from; };
    const auto restore = qScopeGuard([&] { TOperatorsTree::DragSourceOf = real; });
    QWidget* viewport = Tree->viewport();
    QDragEnterEvent enter(Pos, Qt::MoveAction, &Mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(Pos, Qt::MoveAction, &Mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(Pos), Qt::MoveAction, &Mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
}

QPoint CentreOf(QTreeWidget* Tree, QTreeWidgetItem* Item) {
    return Tree->visualItemRect(Item).center();
}

} // namespace

TEST(OperatorsRightsTest, PositionsAndRightsBytesMapBothWays) {
    const std::pair<int, int32_t> positions[] = {{0, 31}, {1, 30}, {2, 28}, {3, 24}, {4, 16}};
    for (const auto& [position, rights] : positions) {
        EXPECT_EQ(RightsOfPosition(position), rights) << position;
        EXPECT_EQ(PositionOfRights(rights), position) << rights;
    }
    // The lowest right decides; a byte without any of the five has no position.
    const std::pair<int32_t, std::optional<int>> read[] = {{5, 0},
                                                           {6, 1},
                                                           {12, 2},
                                                           {8, 3},
                                                           {48, 4},
                                                           {0, std::nullopt},
                                                           {32, std::nullopt},
                                                           {0x100, std::nullopt}};
    for (const auto& [rights, position] : read)
        EXPECT_EQ(PositionOfRights(rights), position) << rights;
}

TEST_F(OperatorsTest, EachSliderPositionStoresItsRightsAndReadsBack) {
    for (int position = 0; position < PositionCount; ++position) {
        const QString name = QStringLiteral("Grupa %1").arg(position);
        When<TOperatorsGroupForm>([&](TOperatorsGroupForm* w) {
            EXPECT_EQ(w->TrackBar1->value(), LeastRightsPosition); // a new group: least rights
            EXPECT_TRUE(w->lbledtName->text().isEmpty());
            w->lbledtName->insert(name);
            w->TrackBar1->setValue(position);
            w->btnPost->click();
        });
        Form().btnAddGroup->click();
        EXPECT_FALSE(StayedOpen) << Shown().toStdString();
        EXPECT_EQ(StoredRights(name), RightsOfPosition(position));
        Select(name);
        When<TOperatorsGroupForm>(
            [&](TOperatorsGroupForm* w) { EXPECT_EQ(w->TrackBar1->value(), position); });
        Form().btnEditGroup->click();
    }
}

TEST_F(OperatorsTest, RenamingKeepsRightsNoPositionStoresAndNeverRaisesThem) {
    Seed(kAdminGroup, 31, {QStringLiteral("admin")});
    // Shown position, stored rights; renaming keeps the rights as they are.
    const std::tuple<QString, int32_t, int> groups[] = {
        {QStringLiteral("Pusta"), 0, 4}, {QStringLiteral("Obca"), 32, 4}, {QStringLiteral("Mieszana"), 5, 0}};
    for (const auto& [name, rights, shown] : groups) {
        Seed(name, rights);
        Form().BuildTree();
        Select(name);
        When<TOperatorsGroupForm>([&](TOperatorsGroupForm* w) {
            EXPECT_EQ(w->TrackBar1->value(), shown) << name.toStdString();
            w->lbledtName->setText(w->lbledtName->text() + QStringLiteral(" 2"));
            w->btnPost->click();
        });
        Form().btnEditGroup->click();
        EXPECT_EQ(StoredRights(name + QStringLiteral(" 2")), rights);
    }
    // Moving the slider stores the position's rights.
    Select(QStringLiteral("Obca 2"));
    When<TOperatorsGroupForm>([](TOperatorsGroupForm* w) {
        w->TrackBar1->setValue(3);
        w->btnPost->click();
    });
    Form().btnEditGroup->click();
    EXPECT_EQ(StoredRights(QStringLiteral("Obca 2")), 24);
}

TEST_F(OperatorsTest, BlankNamesAreRefusedAndLeadingBlanksStored) {
    Seed(kAdminGroup, 31, {QStringLiteral("admin")});
    When<TOperatorsGroupForm>([](TOperatorsGroupForm* w) {
        w->lbledtName->insert(QStringLiteral("   "));
        w->btnPost->click();
    });
    Form().btnAddGroup->click();
    EXPECT_TRUE(StayedOpen);
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Nazwa grupy nie może być pusta."));
    // Enter is OK, Escape closes without storing.
    When<TOperatorsGroupForm>([](TOperatorsGroupForm* w) {
        w->lbledtName->insert(QStringLiteral("  Księgowość"));
        QTest::keyClick(w->lbledtName, Qt::Key_Return);
    });
    Form().btnAddGroup->click();
    EXPECT_FALSE(StayedOpen);
    EXPECT_EQ(StoredRights(QStringLiteral("  Księgowość")), 16);
    When<TOperatorsGroupForm>([](TOperatorsGroupForm* w) {
        w->lbledtName->insert(QStringLiteral("Porzucona"));
        QTest::keyClick(w->lbledtName, Qt::Key_Escape);
    });
    Form().btnAddGroup->click();
    EXPECT_FALSE(StayedOpen);
    EXPECT_EQ(StoredRights(QStringLiteral("Porzucona")), -1);

    Select(kAdminGroup);
    When<TOperatorForm>([](TOperatorForm* w) {
        w->lbledtLogin->insert(QStringLiteral(" "));
        w->btnPost->click();
    });
    Form().btnAddOperator->click();
    EXPECT_TRUE(StayedOpen);
    EXPECT_EQ(Messages->Last().Text, QStringLiteral("Login operatora nie może być pusta."));
    EXPECT_EQ(Tree(), (QStringList{kAdminGroup, "  admin", "  Księgowość"})); // the last is the group
}

TEST_F(OperatorsTest, EditingWithoutChangePasswordKeepsThePassword) {
    Seed(kAdminGroup, 31, {QStringLiteral("admin")});
    Form();
    Select(kAdminGroup);
    When<TOperatorForm>([](TOperatorForm* w) {
        EXPECT_EQ(w->Label1->text(), QStringLiteral("Hasło"));
        EXPECT_TRUE(w->chkChangePassword->isHidden());
        EXPECT_TRUE(w->medtPassword->isEnabled());
        w->lbledtLogin->insert(QStringLiteral("jan"));
        w->medtPassword->insert(QStringLiteral("Stare hasło"));
        w->medtPasswordAgain->insert(QStringLiteral("Stare hasło"));
        w->edtLastName->insert(QStringLiteral("Kowalski"));
        w->btnPost->click();
    });
    Form().btnAddOperator->click();
    EXPECT_EQ(Tree(), (QStringList{kAdminGroup, "  admin", "  jan"}));

    Select(QStringLiteral("jan"));
    When<TOperatorForm>([](TOperatorForm* w) {
        EXPECT_EQ(w->Label1->text(), QStringLiteral("Ustaw nowe hasło"));
        EXPECT_EQ(w->edtLastName->text(), QStringLiteral("Kowalski"));
        EXPECT_FALSE(w->medtPassword->isEnabled());
        EXPECT_FALSE(w->Label1->isEnabled());
        w->medtPassword->setText(QStringLiteral("Nie zapisane"));
        w->edtPhone->insert(QStringLiteral("600 100 200"));
        w->btnPost->click();
    });
    Form().btnEditOperator->click();
    EXPECT_TRUE(CanLogin(QStringLiteral("jan"), QStringLiteral("Stare hasło")));
    EXPECT_FALSE(CanLogin(QStringLiteral("jan"), QStringLiteral("Nie zapisane")));
    ASSERT_TRUE(Form().SelectedNode());
    EXPECT_EQ(Form().SelectedNode()->text(0), QStringLiteral("jan")); // kept by ID

    When<TOperatorForm>([](TOperatorForm* w) {
        EXPECT_EQ(w->edtPhone->text(), QStringLiteral("600 100 200"));
        w->chkChangePassword->click();
        EXPECT_TRUE(w->medtPassword->isEnabled());
        EXPECT_TRUE(w->Label1->isEnabled());
        EXPECT_TRUE(w->medtPasswordAgain->isEnabled());
        w->medtPassword->setText(QStringLiteral("Nowe hasło"));
        // Typed differently the second time: refused, the window stays.
        w->medtPasswordAgain->setText(QStringLiteral("Nowe hasłp"));
        w->btnPost->click();
        EXPECT_TRUE(w->isVisible());
        w->medtPasswordAgain->setText(QStringLiteral("Nowe hasło"));
        w->btnPost->click();
    });
    Form().btnEditOperator->click();
    EXPECT_FALSE(CanLogin(QStringLiteral("jan"), QStringLiteral("Stare hasło")));
    EXPECT_TRUE(CanLogin(QStringLiteral("jan"), QStringLiteral("Nowe hasło")));
}

TEST_F(OperatorsTest, RefusedEditIsNotCarriedByALaterStore) {
    Seed(kAdminGroup, 31, {QStringLiteral("admin"), QStringLiteral("jan")});
    Form();
    Select(QStringLiteral("jan"));
    // A taken login is refused after the new password was typed; the window is left.
    When<TOperatorForm>([](TOperatorForm* w) {
        w->lbledtLogin->setText(QStringLiteral("ADMIN"));
        w->chkChangePassword->click();
        w->medtPassword->setText(QStringLiteral("Porzucone"));
        w->medtPasswordAgain->setText(QStringLiteral("Porzucone"));
        w->btnPost->click();
    });
    Form().btnEditOperator->click();
    EXPECT_TRUE(StayedOpen);
    // A later store of the same operator knows nothing of the refused change.
    When<TOperatorForm>([](TOperatorForm* w) {
        EXPECT_EQ(w->lbledtLogin->text(), QStringLiteral("jan"));
        w->edtEmail->insert(QStringLiteral("jan@example.pl"));
        w->btnPost->click();
    });
    Form().btnEditOperator->click();
    EXPECT_FALSE(StayedOpen);
    EXPECT_TRUE(CanLogin(QStringLiteral("jan"), QStringLiteral("jan!")));
}

TEST_F(OperatorsTest, LastAdministratorCannotBeDeletedDemotedOrMoved) {
    Seed(kAdminGroup, 31, {QStringLiteral("admin")});
    Seed(QStringLiteral("Kadry"), 16, {QStringLiteral("ola")});
    Form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    const QStringList before = Tree();

    Select(QStringLiteral("admin"));
    Messages->QueueButton(QStringLiteral("Tak"));
    Form().btnDeleteOperator->click();
    EXPECT_EQ(Messages->Shown.first().Text, QStringLiteral("Usunać operatora \"admin\" ?"));
    Select(kAdminGroup);
    Messages->QueueButton(QStringLiteral("Tak"));
    Form().btnDeleteGroup->click();
    When<TOperatorsGroupForm>([](TOperatorsGroupForm* w) {
        w->TrackBar1->setValue(LeastRightsPosition);
        w->btnPost->click();
    });
    Form().btnEditGroup->click();
    EXPECT_TRUE(StayedOpen);
    // The drop itself is accepted over a group; the backend refuses the move.
    EXPECT_TRUE(Drop(Form().TreeView1, *TOperatorsTree::DragData(Node(QStringLiteral("admin"))),
                     CentreOf(Form().TreeView1, Node(QStringLiteral("Kadry")))));

    // Delete question, delete refusal, delete question, delete refusal, demotion, move.
    ASSERT_EQ(Messages->Count(), 6) << Shown().toStdString();
    for (int i : {1, 3, 4, 5})
        EXPECT_TRUE(Messages->Shown[i].Text.contains(kNoAdministrator)) << i;
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(StoredRights(kAdminGroup), 31);
    EXPECT_TRUE(CanLogin(QStringLiteral("admin"), QStringLiteral("admin!")));

    // "Nie" deletes nothing; "Tak" deletes an ordinary operator.
    Select(QStringLiteral("ola"));
    Messages->QueueButton(QStringLiteral("Nie"));
    Form().btnDeleteOperator->click();
    EXPECT_EQ(Tree(), before);
    Messages->QueueButton(QStringLiteral("Tak"));
    Form().btnDeleteOperator->click();
    EXPECT_EQ(Tree(), (QStringList{kAdminGroup, "  admin", "Kadry"}));
}

TEST_F(OperatorsTest, DropMovesTheDraggedOperatorOntoAGroupOnly) {
    Seed(kAdminGroup, 31, {QStringLiteral("admin")});
    Seed(QStringLiteral("Kadry"), 16, {QStringLiteral("ola")});
    Seed(QStringLiteral("Płace"), 16);
    Form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    QTreeWidget* tree = Form().TreeView1;
    const QStringList before = Tree();
    // An empty group is a leaf with the group picture.
    EXPECT_EQ(Node(QStringLiteral("Płace"))->childCount(), 0);
    EXPECT_EQ(Node(QStringLiteral("Płace"))->icon(0).cacheKey(), TOperatorsTree::GroupIcon().cacheKey());

    // Groups cannot be dragged; an operator onto an operator, onto empty space,
    // or something that names a group does nothing.
    EXPECT_FALSE(TOperatorsTree::DragData(Node(kAdminGroup)));
    const std::unique_ptr<QMimeData> ola = TOperatorsTree::DragData(Node(QStringLiteral("ola")));
    ASSERT_TRUE(ola);
    EXPECT_FALSE(Drop(tree, *ola, CentreOf(tree, Node(QStringLiteral("admin")))));
    EXPECT_FALSE(Drop(tree, *ola, QPoint(5, tree->viewport()->height() - 3)));
    QMimeData group;
    group.setData(QLatin1String(TOperatorsTree::MimeType),
                  TOperatorsTree::NodeData(Node(kAdminGroup))->ID.toUtf8());
    EXPECT_FALSE(Drop(tree, group, CentreOf(tree, Node(QStringLiteral("Płace")))));
    // The same data dragged from another operators window or another program is refused.
    TOperatorsTree otherWindow;
    EXPECT_FALSE(Drop(tree, *ola, CentreOf(tree, Node(QStringLiteral("Płace"))), &otherWindow));
    EXPECT_FALSE(Drop(tree, *ola, CentreOf(tree, Node(QStringLiteral("Płace"))), nullptr));
    EXPECT_EQ(Tree(), before);
    EXPECT_EQ(Messages->Count(), 0);

    // The dragged operator moves, whichever node is selected; the selection stays.
    Select(QStringLiteral("admin"));
    EXPECT_TRUE(Drop(tree, *ola, CentreOf(tree, Node(QStringLiteral("Płace")))));
    EXPECT_EQ(Tree(), (QStringList{kAdminGroup, "  admin", "Kadry", "Płace", "  ola"}));
    EXPECT_EQ(Form().SelectedNode()->text(0), QStringLiteral("admin"));
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
}

TEST_F(OperatorsTest, ButtonsFollowTheSelection) {
    Seed(kAdminGroup, 31, {QStringLiteral("admin")});
    Seed(QStringLiteral("Kadry"), 16, {QStringLiteral("ola")});
    TOperatorsForm& form = Form();
    const auto enabled = [&] {
        QString state;
        for (QPushButton* b : {form.btnAddGroup, form.btnEditGroup, form.btnDeleteGroup, form.btnAddOperator,
                               form.btnEditOperator, form.btnDeleteOperator})
            state += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return state;
    };
    EXPECT_EQ(enabled(), QStringLiteral("100000"));
    Select(kAdminGroup);
    EXPECT_EQ(enabled(), QStringLiteral("111100"));
    // An operator after a group: the group buttons stay and act on the operator's group.
    Select(QStringLiteral("ola"));
    EXPECT_EQ(enabled(), QStringLiteral("111111"));
    Messages->QueueButton(QStringLiteral("Nie"));
    form.btnDeleteGroup->click();
    EXPECT_EQ(Messages->Last().Text,
              QStringLiteral("Usunać grupę \"Kadry\" wraz z jej wszystkimi operatorami?"));
    form.TreeView1->clearSelection();
    EXPECT_EQ(enabled(), QStringLiteral("100000"));
}
