// From the main window over the real router and SQL backend: "Dodaj" and "Edytuj" open
// the record window for banks and NFZ branches, and the list shows what was posted.

#include "EditingFixture.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uCollectionBaseFrame.h"
#include "uDaneBankuFrame.h"
#include "uDaneNFZFrame.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarRecordForm.h"
#include "uMainForm.h"
#include "uRegistrySwitch.h"

#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

TEST_F(MainWindowEditingTest, BankIsAddedAndEditedFromTheList) {
    Form->rbBanki->click();
    ASSERT_TRUE(Rows().isEmpty());
    WhenWindow(QStringLiteral("RecordForm"), [](QWidget* w) {
        auto* frame = qobject_cast<TDaneBankuFrame*>(qobject_cast<TRecordForm*>(w)->BaseFrame());
        ASSERT_TRUE(frame);
        frame->pnlNazwa->Edit()->insert(QStringLiteral("Bank Śląski"));
        QTest::keyClick(frame->pnlNazwa->Edit(), Qt::Key_Return);
    });
    List->btnAdd->click();
    EXPECT_EQ(Rows().size(), 1);
    EXPECT_TRUE(Rows().value(0).contains(QStringLiteral("Bank Śląski"))) << Rows().value(0).toStdString();

    WhenWindow(QStringLiteral("RecordForm"), [](QWidget* w) {
        auto* frame = qobject_cast<TDaneBankuFrame*>(qobject_cast<TRecordForm*>(w)->BaseFrame());
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->pnlNazwa->Value(), QStringLiteral("Bank Śląski"));
        frame->pnlNazwa->Edit()->selectAll();
        frame->pnlNazwa->Edit()->insert(QStringLiteral("Bank Pomorski"));
        frame->btnPost->click();
    });
    List->btnEdit->click();
    EXPECT_EQ(Rows().size(), 1);
    EXPECT_TRUE(Rows().value(0).contains(QStringLiteral("Bank Pomorski"))) << Rows().value(0).toStdString();
    EXPECT_EQ(Messages->Count(), 0);
}

TEST_F(MainWindowEditingTest, NfzBranchOpensFromTheListAndClosesUnchangedWithoutQuestion) {
    Form->rbDaneNFZ->click();
    const QStringList before = Rows();
    ASSERT_FALSE(before.isEmpty()) << "the defaults are filled at connection";
    WhenWindow(QStringLiteral("RecordForm"), [](QWidget* w) {
        auto* frame = qobject_cast<TDaneNFZFrame*>(qobject_cast<TRecordForm*>(w)->BaseFrame());
        ASSERT_TRUE(frame);
        EXPECT_FALSE(frame->pnlKod->Value().isEmpty());
        QTest::keyClick(w, Qt::Key_Escape);
    });
    List->btnEdit->click();
    EXPECT_TRUE(RecordForms().isEmpty());
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(Messages->Count(), 0);
}
