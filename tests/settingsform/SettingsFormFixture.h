#pragma once
// The settings window over the fixture router: a list of offered backends, scripted
// root objects per symbol (the main window's fakes), a core created over the router's
// folder, a message presenter that answers, and helpers to read the tree.

#include "FakeMessagePresenter.h"
#include "MainFormFakes.h"
#include "TestSupport.h"
#include "uSettingsForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QTreeWidgetItem;

// A scripted root object with hooks for what the main window's fake cannot do.
class SettingsRoot : public FakeRoot {
public:
    using FakeRoot::FakeRoot;
    bool EditConnectionParams(void* Parent, std::u16string& Param, bool Flag) override {
        DialogFlags.push_back(Flag);
        if (OnDialog)
            OnDialog();
        return FakeRoot::EditConnectionParams(Parent, Param, Flag);
    }
    bool ImportFrom(IEwidarDataBase* Source) override {
        if (ThrowOnImport)
            throw std::runtime_error("import raised");
        return FakeRoot::ImportFrom(Source);
    }
    std::vector<bool> DialogFlags;
    std::function<void()> OnDialog;
    bool ThrowOnImport = false;
};

// What a fake backend of one symbol answers and holds.
struct FakeBackend {
    BackendScript Script;
    FakeCollections Collections;
};

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The router's list, then the core over it (the module creates the current root).
    void CreateCoreWith(std::vector<std::pair<std::u16string, std::u16string>> List = DefaultList());
    std::unique_ptr<TSettingsForm> OpenForm(uSettingsForm::TWorkMode Mode = uSettingsForm::wmNormal);

    static std::vector<std::pair<std::u16string, std::u16string>> DefaultList() {
        return {{u"SQLITE", u"SQL Lite"}, {u"MYSQL", u"MySQL"}};
    }

    // Every node as "text" (backends) or "  text" (their children), "*" after a
    // current one and "+" after an expanded backend.
    QStringList TreeLines() const;
    QTreeWidgetItem* Node(int Backend, int Child = -1) const;
    // Selects the node as the operator's click does.
    void Select(int Backend, int Child = -1) const;
    // Names of the enabled buttons among btnSet, btnAdd, btnEdit, btnDelete.
    QStringList EnabledButtons() const;

    static QString Setting(const QString& Name);
    static void SetSetting(const QString& Name, const QString& Value);
    QList<uint32_t> ShownCodes() const;

    SettingsRoot* RootAt(size_t Index) const { return Roots.at(Index).get(); }
    // The newest root object of a symbol; nullptr when none was made.
    SettingsRoot* LastRootOf(const std::u16string& Symbol) const;
    // Root objects of a symbol made so far.
    size_t RootsOf(const std::u16string& Symbol) const;

    std::map<std::u16string, FakeBackend> Backends;
    std::set<std::u16string> Installed = {u"SQLITE", u"MYSQL"};
    // When set, every new root object opens this database (else one of its own).
    std::u16string SharedDataBaseID;
    std::vector<TIntfPtr<SettingsRoot>> Roots;
    std::unique_ptr<FakeMessagePresenter> Messages;
    std::unique_ptr<TSettingsForm> Form;
};
