// From the main window over the real router and SQL backend: "Dodaj" and "Edytuj" open
// the record window for banks and NFZ branches, and the list shows what was posted.

#include "EditingFixture.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uCollectionBaseFrame.h"
#include "uCore.h"
#include "uDaneBankuFrame.h"
#include "uDaneNFZFrame.h"
#include "uDataBaseModule.h"
#include "uEwidarDrawGrid.h"
#include "uEwidarRecordForm.h"
#include "uInstallWindows.h"
#include "uLoadingForm.h"
#include "uMainForm.h"
#include "uRegistrySwitch.h"

#include <QDir>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class MainWindowEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
             QStringLiteral("/Ewidar"))
            .removeRecursively();
        Messages = std::make_unique<FakeMessagePresenter>();
        InstallWindows();
        CreateCore(QStringLiteral(EWIDAR_BIN_DIR));
        ASSERT_TRUE(Core()->FDataBaseModule->GetDLLLoaded()) << "the real router is not built";
        Form = std::make_unique<TMainForm>();
        Form->FormActivate();
        List = Form->CollectionBaseFrame1;
    }
    void TearDown() override {
        Form.reset();
        uLoadingForm::HideLoading();
        DestroyCore();
        ResetWindows();
        Messages.reset();
    }
    // The rows that hold a record, once the list has reloaded.
    QStringList Rows() {
        QTimer* timer = List->tmrFilter;
        EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 3000));
        QStringList rows;
        TDrawGrid* grid = List->DrawGrid1;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            if (grid->EwidarRecord(r)) {
                QStringList cells;
                for (int c = 0; c < grid->ColCount(); ++c)
                    cells.append(grid->Cells(c, r));
                rows.append(cells.join(QLatin1Char('|')));
            }
        return rows;
    }

    std::unique_ptr<FakeMessagePresenter> Messages;
    std::unique_ptr<TMainForm> Form;
    TCollectionBaseFrame* List = nullptr;
};

} // namespace

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
