#pragma once
// A shown, active window that holds field panels, for tests that type, click and
// move the focus the way the user does.

#include "TCheckBox.h"
#include "TRadioButton.h"
#include "uEwidarComponents_Panel.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

class PanelFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = std::make_unique<QWidget>();
        m_window->setObjectName(QStringLiteral("TestWindow"));
        m_layout = new QVBoxLayout(m_window.get());
        m_window->resize(420, 640);
    }
    void TearDown() override {
        m_window.reset();
        IncludeShownErrorType(etValidate);
        IncludeShownErrorType(etRequire);
        // Free what the panels handed to the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A panel built from a descriptor, laid out in the window.
    TPanel* AddPanel(const TInternalFieldRecord& Field, QWidget* Parent = nullptr) {
        auto* panel = new TPanel(Parent ? Parent : m_window.get());
        if (!Parent)
            m_layout->addWidget(panel);
        panel->SetField(Field);
        return panel;
    }

    // A group panel: the options are placed first, as a frame description does.
    template <class Button> TPanel* AddGroup(const TInternalFieldRecord& Field, const QStringList& Options) {
        auto* panel = new TPanel(m_window.get());
        m_layout->addWidget(panel);
        for (const QString& option : Options)
            panel->Layout()->addWidget(new Button(option, panel));
        panel->SetField(Field);
        return panel;
    }

    void ShowWindow() {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    std::unique_ptr<QWidget> m_window;
    QVBoxLayout* m_layout = nullptr;
};

inline TInternalFieldRecord Descriptor(const QString& Symbol, const QString& Caption, TFieldType Kind) {
    return TInternalFieldRecord::Create(Symbol, Caption, Kind);
}
