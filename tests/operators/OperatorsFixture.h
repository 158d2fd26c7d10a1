#pragma once
// Fixture of the operators tests: the core with the real router and SQL backend,
// its root object connected to a fresh default database, helpers to store groups
// and operators directly, to read the tree and to answer the edit windows.

#include "FakeMessagePresenter.h"
#include "TestSupport.h"
#include "uEwidarQuorDBIntf.h"
#include "uOperatorsForm.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QTreeWidgetItem;

class OperatorsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the core and connects its root object to the default database.
    void StartCore();
    void StopCore();
    TIntfPtr<IEwidarDataBase> Root() const;

    // Stores a group with operators whose passwords are their logins followed by "!".
    void Seed(const QString& Group, int32_t Rights, const QStringList& Logins = {});
    // Stored rights of the group with this name; -1 when there is none.
    int32_t StoredRights(const QString& Group) const;
    // Logs in through a connection of its own.
    bool CanLogin(const QString& Login, const QString& Password) const;

    // The operators window over the core's root object.
    TOperatorsForm& Form();
    // The tree as texts: groups as they are, operators indented by two blanks.
    QStringList Tree();
    QTreeWidgetItem* Node(const QString& Text);
    void Select(const QString& Text);

    // Runs Action on the next modal window, which must be a Window; closes it
    // afterwards when it is still open and records that in StayedOpen.
    template <class Window> void When(std::function<void(Window*)> Action);
    // Backend texts shown, joined by " | ".
    QString Shown() const;

    std::unique_ptr<FakeMessagePresenter> Messages;
    std::unique_ptr<TOperatorsForm> FForm;
    bool StayedOpen = false;
};

template <class Window> void OperatorsTest::When(std::function<void(Window*)> Action) {
    StayedOpen = false;
    TestSupport::WhenModal([this, Action](QWidget* w) {
        auto* window = qobject_cast<Window*>(w);
        if (!window) {
            ADD_FAILURE() << "unexpected window " << w->objectName().toStdString();
            w->close();
            return;
        }
        Action(window);
        if (window->isVisible()) {
            StayedOpen = true;
            window->reject();
        }
    });
}
