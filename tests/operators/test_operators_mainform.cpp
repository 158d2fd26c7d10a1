// The main window's "Operatorzy" item over the real backend: shown only to an
// administrator after login, and read again when the operators window closes. Installing
// dictionary data from "Słowniki" is refused to anyone else before a file is asked for.

#include "OperatorsFixture.h"
#include "TEdit.h"
#include "uDictionaryImport.h"
#include "uInstallWindows.h"
#include "uLoginForm.h"
#include "uMainForm.h"
#include "uOperatorsGroupForm.h"
#include "uOperatorsTree.h"
#include "uWhiteListFlatImport.h"

#include <QAction>
#include <QPushButton>
#include <QSlider>

namespace {

class MainFormOperatorsTest : public OperatorsTest {
protected:
    void TearDown() override {
        Main.reset();
        ResetWindows();
        OperatorsTest::TearDown();
    }
    // Starts the program again and logs in through the login window.
    void StartAs(const QString& Login) {
        Main.reset();
        StopCore();
        StartCore();
        TestSupport::WhenModal([Login](QWidget* w) {
            auto* form = qobject_cast<TLoginForm*>(w);
            ASSERT_TRUE(form) << "expected the login window";
            form->edtLogin->setText(Login);
            form->edtPassword->setText(Login + QLatin1Char('!'));
            form->btnZaloguj->click();
        });
        Main = std::make_unique<TMainForm>();
        Main->FormActivate();
        ASSERT_TRUE(Root()->IsLoggedIn()) << Shown().toStdString();
    }

    std::unique_ptr<TMainForm> Main;
};

} // namespace

TEST_F(MainFormOperatorsTest, OnlyAnAdministratorSeesOperatorsAndLosesThemWhenDemoted) {
    Seed(QStringLiteral("Administratorzy"), 31, {QStringLiteral("admin")});
    Seed(QStringLiteral("Szefowie"), 31, {QStringLiteral("szef")});
    Seed(QStringLiteral("Kadry"), 16, {QStringLiteral("ola")});
    InstallWindows();

    StartAs(QStringLiteral("ola"));
    EXPECT_FALSE(Main->Operatorzy1->isVisible());

    StartAs(QStringLiteral("admin"));
    ASSERT_TRUE(Main->Operatorzy1->isVisible());
    // The administrator takes their own group's right away; another group keeps it.
    TestSupport::WhenModal([this](QWidget* w) {
        auto* operators = qobject_cast<TOperatorsForm*>(w);
        ASSERT_TRUE(operators) << "expected the operators window";
        FForm.reset(); // the fixture's own window is not this one
        for (QTreeWidgetItem* node :
             operators->TreeView1->findItems(QStringLiteral("Administratorzy"), Qt::MatchExactly))
            node->setSelected(true);
        TestSupport::WhenModal([](QWidget* g) {
            auto* group = qobject_cast<TOperatorsGroupForm*>(g);
            ASSERT_TRUE(group) << "expected the group window";
            group->TrackBar1->setValue(OperatorsRights::LeastRightsPosition);
            group->btnPost->click();
        });
        operators->btnEditGroup->click();
        operators->close();
    });
    Main->Operatorzy1->trigger();
    EXPECT_EQ(StoredRights(QStringLiteral("Administratorzy")), 16) << Shown().toStdString();
    EXPECT_FALSE(Main->Operatorzy1->isVisible());
}

TEST_F(MainFormOperatorsTest, OnlyAnAdministratorIsAskedForDictionaryFiles) {
    Seed(QStringLiteral("Administratorzy"), 31, {QStringLiteral("admin")});
    Seed(QStringLiteral("Kadry"), 16, {QStringLiteral("ola")});
    InstallWindows();
    QStringList asked;
    DictionaryImport::SetFileChooser([&asked](QWidget*, const QString& Title, const QString&, bool) {
        asked.append(Title);
        return QStringList(); // the operator cancels the file dialog
    });

    StartAs(QStringLiteral("ola"));
    Main->ImportujTeryt1->trigger();
    Main->ImportujUrzedy1->trigger();
    EXPECT_TRUE(asked.isEmpty()) << asked.join(u'|').toStdString();
    EXPECT_EQ(Shown().count(QStringLiteral("tylko administrator")), 2) << Shown().toStdString();

    StartAs(QStringLiteral("admin"));
    Main->ImportujTeryt1->trigger();
    Main->ImportujUrzedy1->trigger();
    EXPECT_EQ(asked.size(), 2) << Shown().toStdString();
    DictionaryImport::SetFileChooser({});
}

// The flat file of the VAT white list is imported from the same menu (the user's own file, not
// the database's); a file that cannot be read is said so.
TEST_F(MainFormOperatorsTest, TheWhiteListFlatFileIsImportedFromTheDictionaryMenu) {
    Seed(QStringLiteral("Administratorzy"), 31, {QStringLiteral("admin")});
    InstallWindows();
    int asked = 0;
    WhiteListFlatImport::SetFileChooser([&asked](QWidget*) {
        ++asked;
        return QStringLiteral("/brak/20261210.7z");
    });
    StartAs(QStringLiteral("admin"));
    EXPECT_EQ(Main->ImportujWykazVat1->text(), QStringLiteral("Importuj plik płaski wykazu VAT…"));
    Main->ImportujWykazVat1->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(Shown().contains(QStringLiteral("Nie można otworzyć pliku"))) << Shown().toStdString();
    WhiteListFlatImport::SetFileChooser({});
}
