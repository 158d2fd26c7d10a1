#pragma once
// The main window over the fixture router: a core created over the router's
// folder, a scripted backend behind it, a message presenter that answers, and
// helpers to read the settings and the window's state.

#include "FakeMessagePresenter.h"
#include "MainFormFakes.h"
#include "TestSupport.h"
#include "uMainForm.h"
#include "uRegistrySwitch.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the core over the fixture router (the module asks for the configured
    // backend at once) and the main window, not shown.
    void CreateCoreAndWindow();
    // The first activation: the connection sequence.
    void RunSequence() { Form->FormActivate(); }
    // Waits for the list frame's filter timer to have fired.
    void WaitForList();

    // The root objects handed out by the backend, oldest first.
    FakeRoot* RootAt(size_t Index) const { return Roots.at(Index).get(); }
    FakeRoot* Current() const;

    static QString Setting(const QString& Name);
    static void SetSetting(const QString& Name, const QString& Value);
    // Numbers of the catalogue messages shown so far, in order.
    QList<uint32_t> ShownCodes() const;
    // Texts of the messages shown so far, in order.
    QStringList ShownTexts() const;

    BackendScript Script;
    // The backend of a second symbol, for imports.
    BackendScript OtherScript;
    FakeCollections Collections;
    FakeCollections OtherCollections;
    // Symbols the fake backend serves; others are "not installed".
    std::set<std::u16string> Installed = {u"SQLITE"};
    std::vector<TIntfPtr<FakeRoot>> Roots;
    std::unique_ptr<FakeMessagePresenter> Messages;
    std::unique_ptr<TMainForm> Form;
};

// Names of the registry table, for table-driven cases.
extern const char* const kSwitchNames[11];
