#pragma once
// The selection windows over a fresh SQL database: the windows installed as the
// program installs them, messages answered by a recorder, and helpers that post
// the records the windows list.

#include "BackendFixture.h"
#include "FakeMessagePresenter.h"
#include "TestSupport.h"
#include "uEwidarQuorDBSymbole.h"
#include "uInstallWindows.h"
#include "uPowiazaniaForm.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

class SelectionTest : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        InstallWindows();
    }
    void TearDown() override {
        CloseRelationsWindows();
        ResetWindows();
        BackendTest::TearDown();
    }

    TIntfPtr<IEwidarRecord> Bank(const QString& Name) {
        return NewPosted(Reg()->GetDaneBankow({}).get(), cDaneBankuNazwa.Symbol, Name);
    }
    // A posted employee of a taxpayer.
    TIntfPtr<IEwidarRecord> Employee(IEwidarRecord* Podatnik, const QString& Last) {
        auto employee = Supports<IPodatnik>(Podatnik)->GetPracownicy(0, 0)->New();
        SetValue(employee.get(), cDanePodmiotuNazwisko.Symbol, Last);
        EXPECT_TRUE(employee->Post()) << employee->GetLastErrorCode();
        return employee;
    }
    // Texts of the messages shown, in order.
    QStringList ShownTexts() const {
        QStringList texts;
        for (const TMessageRequest& r : m_messages.Shown)
            texts << r.Text;
        return texts;
    }
    // Makes a window the active one, as the window manager does when it appears
    // (the window's shortcuts, Enter among them, act only then).
    static void Activate(QWidget* Window) {
        Window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Window));
    }
    // Frees the windows that closed themselves.
    static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    FakeMessagePresenter m_messages;
};
