// The report list of failed writes: collecting, the delayed showing, and the program's box.

#include "RegistryTestSupport.h"
#include "TestSupport.h"
#include "uRegistryReport.h"
#include "uRegistryReportBox.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>

#include <gtest/gtest.h>

using namespace Registry;
using namespace RegistryTest;

namespace {

const QString A = QStringLiteral("Pierwszy komunikat");
const QString B = QStringLiteral("Drugi komunikat");
const QString C = QStringLiteral("Trzeci komunikat");
const QString NewLines = QStringLiteral("\n\n");

class RegistryReportTest : public ::testing::Test {
protected:
    void SetUp() override { ClearReport(); }
    void TearDown() override { ClearReport(); }
};

TEST_F(RegistryReportTest, KeepsEachMessageOnceInOrder) {
    TReportRecorder recorder;
    AddReportMessage(A);
    AddReportMessage(B);
    AddReportMessage(A);
    EXPECT_EQ(ReportMessages(), QStringList({A, B}));
    EXPECT_TRUE(recorder.Showings.empty()) << "nothing is shown before the timer fires";
}

TEST_F(RegistryReportTest, EachNewMessageRestartsTheTimerAndAllAreShownTogether) {
    TReportRecorder recorder;
    AddReportMessage(A);
    ProcessEventsFor(ReportDelayMs * 2 / 5);
    QElapsedTimer sinceB;
    sinceB.start();
    AddReportMessage(B);
    qint64 shownAfter = -1;
    while (recorder.Showings.empty() && sinceB.elapsed() < 5000)
        ProcessEventsFor(2);
    shownAfter = sinceB.elapsed();
    ASSERT_EQ(recorder.Showings.size(), 1u);
    // Without the restart the first timer would have fired 60 ms after B.
    EXPECT_GE(shownAfter, ReportDelayMs - 5);
    EXPECT_EQ(recorder.Showings[0].Caption, QStringLiteral("UWAGA! Ważna Informacja."));
    EXPECT_EQ(recorder.Showings[0].Text, A + NewLines + B);
    EXPECT_FALSE(ReportPending());

    // The list is not emptied: the next showing repeats the earlier messages.
    AddReportMessage(C);
    ProcessEventsFor(ReportDelayMs * 3);
    ASSERT_EQ(recorder.Showings.size(), 2u);
    EXPECT_EQ(recorder.Showings[1].Text, A + NewLines + B + NewLines + C);

    // A repeated message neither restarts the timer nor shows anything.
    AddReportMessage(B);
    ProcessEventsFor(ReportDelayMs * 3);
    EXPECT_EQ(recorder.Showings.size(), 2u);
}

TEST_F(RegistryReportTest, NothingIsShownWhileTheBoxIsOpenAndPendingMessagesWaitForTheEnd) {
    std::vector<QString> shown;
    const TReportPresenter previous = SetReportPresenter([&shown](const QString&, const QString& Text) {
        shown.push_back(Text);
        if (shown.size() == 1) {
            // While "the box is open" a new message arrives and its timer fires.
            AddReportMessage(B);
            ProcessEventsFor(ReportDelayMs * 3);
        }
    });
    AddReportMessage(A);
    ProcessEventsFor(ReportDelayMs * 3);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], A);
    EXPECT_TRUE(ReportPending());

    ProcessEventsFor(ReportDelayMs * 2);
    EXPECT_EQ(shown.size(), 1u) << "the timer does not fire again by itself";
    ShowPendingReport();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], A + NewLines + B);
    ShowPendingReport();
    EXPECT_EQ(shown.size(), 2u) << "nothing pending, nothing shown";
    SetReportPresenter(previous);
}

QStringList g_warnings;
void CaptureWarnings(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
    if (Type == QtWarningMsg)
        g_warnings << Message;
}

TEST_F(RegistryReportTest, WithoutPresenterTheReportGoesToWarnings) {
    const TReportPresenter previous = SetReportPresenter({});
    g_warnings.clear();
    const QtMessageHandler old = qInstallMessageHandler(CaptureWarnings);
    AddReportMessage(A);
    ProcessEventsFor(ReportDelayMs * 3);
    qInstallMessageHandler(old);
    SetReportPresenter(previous);
    ASSERT_EQ(g_warnings.size(), 1);
    EXPECT_TRUE(g_warnings[0].contains(QStringLiteral("UWAGA! Ważna Informacja.")));
    EXPECT_TRUE(g_warnings[0].contains(A));
}

TEST_F(RegistryReportTest, MessageFromAnotherThreadIsShownOnTheMainThread) {
    TReportRecorder recorder;
    QThread* presenterThread = nullptr;
    const TReportPresenter previous = SetReportPresenter(
        [&](const QString&, const QString&) { presenterThread = QThread::currentThread(); });
    std::unique_ptr<QThread> worker(QThread::create([] { AddReportMessage(A); }));
    worker->start();
    worker->wait();
    ProcessEventsFor(ReportDelayMs * 3);
    EXPECT_EQ(presenterThread, QThread::currentThread());
    SetReportPresenter(previous);
}

TEST_F(RegistryReportTest, ProgramBoxIsATopmostInformationBox) {
    InstallRegistryReportBox();
    QString title, text;
    bool topmost = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    TestSupport::WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        topmost = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->accept();
    });
    AddReportMessage(A);
    AddReportMessage(B);
    ProcessEventsFor(ReportDelayMs * 5);
    EXPECT_EQ(title, QStringLiteral("UWAGA! Ważna Informacja."));
    EXPECT_EQ(text, A + NewLines + B);
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_TRUE(topmost);

    // At program end the messages not shown yet appear before the presenter is removed.
    text.clear();
    TestSupport::WhenModal([&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            text = box->text();
            box->accept();
        }
    });
    AddReportMessage(C);
    RemoveRegistryReportBox();
    EXPECT_EQ(text, A + NewLines + B + NewLines + C);
    EXPECT_FALSE(ReportPending());
}

} // namespace
