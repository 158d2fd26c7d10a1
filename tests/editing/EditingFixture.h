#pragma once
// Fixture of the editing tests: a connected SQL database in a temporary file (from
// the backend tests' fixture), a message presenter that records and answers, helpers
// to create banks and NFZ branches, to act on a modal window by its name, and a
// small window that hosts a frame.

#include "BackendFixture.h"
#include "FakeMessagePresenter.h"
#include "FirstPaint.h"
#include "TForm.h"

#include <QElapsedTimer>
#include <QPointer>

#include <functional>
#include <memory>

class TBaseFrame;
class TCollectionBaseFrame;
class TMainForm;
class TPanel;

class EditingTest : public BackendTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new bank of the registry, not yet posted; with a name given, posted.
    TIntfPtr<IEwidarRecord> NewBank(const QString& Name = {});
    TIntfPtr<IEwidarRecord> NewNfz(const QString& Kod, const QString& Nazwa);
    // The registry's record with the identifier, as a fresh object.
    TIntfPtr<IEwidarRecord> FindBank(int32_t ID);
    // Message texts shown so far, joined.
    QString Shown() const;
    // Texts of the shown messages, in order.
    QStringList ShownTexts() const;
    // Types into a panel's text edit as the user would (Polish letters through insert).
    static void Type(TPanel* Panel, const QString& Text);

    std::unique_ptr<FakeMessagePresenter> Messages;
};

// The real main window over the real router and SQL backend, connected to the
// default database of a fresh machine.
class MainWindowEditingTest : public ::testing::Test {
protected:
    ~MainWindowEditingTest() override;
    void SetUp() override;
    void TearDown() override;
    // Runs after the settings are cleared, before the program starts and connects.
    virtual void BeforeStart() {}
    // The rows that hold a record, once the list has reloaded.
    QStringList Rows();

    std::unique_ptr<FakeMessagePresenter> Messages;
    std::unique_ptr<TMainForm> Form;
    TCollectionBaseFrame* List = nullptr;
};

// Runs Action on the next modal window whose object name is Name, once it is the
// active modal window; Except (an outer window of the same name) is passed over.
void WhenWindow(const QString& Name, std::function<void(QWidget*)> Action, QWidget* Except = nullptr,
                int TimeoutMs = 8000);

// A window hosting one frame, as the record window does, for tests of frames alone.
class THostForm : public TForm {
public:
    explicit THostForm(TBaseFrame* (*Create)(QWidget*));
    TBaseFrame* Frame;
};

