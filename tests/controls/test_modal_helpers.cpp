// The shared helpers that answer modal windows in tests: they act on the window they
// expect, and a window left unanswered is closed with a failure instead of hanging.

#include "TestSupport.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using namespace TestSupport;

class ModalHelpersTest : public ::testing::Test {
protected:
    // A modal dialog named Name, shown by exec() from a zero timer of the running loop.
    static std::unique_ptr<QDialog> Dialog(const QString& Name, QWidget* Parent = nullptr) {
        auto d = std::make_unique<QDialog>(Parent);
        d->setObjectName(Name);
        return d;
    }
    // The failures recorded while Run ran, as texts.
    template <class F> static QStringList Failures(F Run) {
        ::testing::TestPartResultArray results;
        {
            ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
            Run();
        }
        QStringList texts;
        for (int i = 0; i < results.size(); ++i)
            texts << QString::fromUtf8(results.GetTestPartResult(i).message());
        return texts;
    }
};

TEST_F(ModalHelpersTest, TheHelperOfANestedWindowWaitsForItWhileTheOuterOneIsActive) {
    auto outer = Dialog(QStringLiteral("outer"));
    QString actedOn;
    int innerResult = -1;
    WhenModal(WindowNamed(QStringLiteral("outer")), [&](QWidget* w) {
        // Registered while the outer window is the active one: it must wait for the inner.
        WhenModal(WindowNamed(QStringLiteral("inner")), [&](QWidget* inner) {
            actedOn = inner->objectName();
            static_cast<QDialog*>(inner)->accept();
        });
        // The inner window appears only a while later.
        QTest::qWait(100);
        auto inner = Dialog(QStringLiteral("inner"), w);
        innerResult = inner->exec();
        static_cast<QDialog*>(w)->accept();
    });
    EXPECT_EQ(outer->exec(), QDialog::Accepted);
    EXPECT_EQ(actedOn, QStringLiteral("inner"));
    EXPECT_EQ(innerResult, QDialog::Accepted);
}

TEST_F(ModalHelpersTest, AClassIsMatchedWithItsSubclasses) {
    auto d = Dialog(QStringLiteral("any"));
    bool matched = false;
    WhenModal<QDialog>([&](QDialog* w) {
        matched = w == d.get();
        w->accept();
    });
    d->exec();
    EXPECT_TRUE(matched);
}

TEST_F(ModalHelpersTest, AnExpectedWindowThatNeverAppearsFailsAndClosesWhatIsShownInstead) {
    auto other = Dialog(QStringLiteral("other"));
    int result = -1;
    QElapsedTimer clock;
    clock.start();
    const QStringList failures = Failures([&] {
        WhenModal(
            WindowNamed(QStringLiteral("missing")), [](QWidget*) {}, 200);
        result = other->exec();
    });
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("never appeared"))) << failures[0].toStdString();
    EXPECT_TRUE(failures[0].contains(QStringLiteral("\"missing\""))) << failures[0].toStdString();
}

TEST_F(ModalHelpersTest, AWindowLeftOpenAfterItsAnswerIsClosedWithAFailure) {
    auto d = Dialog(QStringLiteral("stubborn"));
    const QStringList failures = Failures([&] {
        WhenModal(
            WindowNamed(QStringLiteral("stubborn")), [](QWidget*) {}, 200);
        EXPECT_EQ(d->exec(), QDialog::Rejected);
    });
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("left open"))) << failures[0].toStdString();
}

TEST_F(ModalHelpersTest, AWindowNobodyAnswersIsClosedAfterTheLimit) {
    auto d = Dialog(QStringLiteral("forgotten"));
    const int limit = UnansweredLimitMs();
    SetUnansweredLimitMs(300);
    const QStringList failures = Failures([&] { EXPECT_EQ(d->exec(), QDialog::Rejected); });
    SetUnansweredLimitMs(limit);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("nobody answered"))) << failures[0].toStdString();
}

TEST_F(ModalHelpersTest, AnyWindowHelperMayFindNothingWithoutFailing) {
    bool acted = false;
    const QStringList failures = Failures([&] {
        WhenModal([&](QWidget*) { acted = true; }, 100);
        QTest::qWait(250);
    });
    EXPECT_FALSE(acted);
    EXPECT_TRUE(failures.isEmpty());
}

} // namespace
