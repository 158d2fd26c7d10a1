// The tax-office accounts window: every account reaches its own field and comes back
// into its own variable, accepted or not.

#include "FakeMessagePresenter.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uEwidarComponents_Panel.h"
#include "uInstallWindows.h"
#include "uNumeryKontUrzedowForm.h"
#include "uPodmiotFrame.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TaxOfficeAccountsTest, EachAccountReachesItsFieldAndOkReturnsTheEdits) {
    QString pit = "1", pitstd = "2", cit = "3", vat = "4", vatue = "5", viu = "6", doch = "7", ind = "8";
    TestSupport::WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TNumeryKontUrzedowForm*>(w);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Rachunki bankowe"));
        const std::pair<TPanel*, const char*> shown[] = {
            {form->pnlRachunekPIT, "1"},    {form->pnlRachunekPITSTD, "2"},
            {form->pnlRachunekCIT, "3"},    {form->pnlRachunekVAT, "4"},
            {form->pnlRachunekVATUE1, "5"}, {form->pnlRachunekVIUDVINDMOSS, "6"},
            {form->pnlRachunekDoch, "7"},   {form->pnlRachunekIND, "8"},
        };
        for (const auto& [panel, value] : shown)
            EXPECT_EQ(panel->Value(), QString::fromLatin1(value)) << panel->objectName().toStdString();
        EXPECT_EQ(form->pnlRachunekVIUDVINDMOSS->Caption(), QStringLiteral("Rachunek VIU-D/VIN-D(MOSS):"));
        form->pnlRachunekCIT->SetValue(QStringLiteral("30"));
        form->pnlRachunekIND->SetValue(QString());
        QTest::keyClick(form->pnlRachunekVAT->Edit(), Qt::Key_Return);
    });
    EXPECT_EQ(ShowTaxOfficeAccounts(nullptr, pit, pitstd, cit, vat, vatue, viu, doch, ind),
              TNumeryKontUrzedowForm::csAccept);
    EXPECT_EQ(QStringList({pit, pitstd, cit, vat, vatue, viu, doch, ind}),
              QStringList({"1", "2", "30", "4", "5", "6", "7", ""}));
}

TEST(TaxOfficeAccountsTest, CancelReportsCancelAndNeverFillsEmptyAccounts) {
    QString pit, pitstd, cit, vat, vatue, viu, doch, ind;
    for (bool escape : {true, false}) {
        TestSupport::WhenModal([escape](QWidget* w) {
            auto* form = qobject_cast<TNumeryKontUrzedowForm*>(w);
            form->pnlRachunekPIT->SetValue(QStringLiteral("typed"));
            if (escape)
                QTest::keyClick(form->pnlRachunekPIT->Edit(), Qt::Key_Escape);
            else
                form->btnClose->click();
        });
        pit.clear();
        EXPECT_EQ(ShowTaxOfficeAccounts(nullptr, pit, pitstd, cit, vat, vatue, viu, doch, ind),
                  TNumeryKontUrzedowForm::csCancel);
        // The variables hold what the fields showed; the caller discards them on csCancel.
        EXPECT_EQ(pit, QStringLiteral("typed"));
        EXPECT_TRUE(pitstd.isEmpty() && cit.isEmpty() && vat.isEmpty() && vatue.isEmpty() && viu.isEmpty() &&
                    doch.isEmpty() && ind.isEmpty());
    }
}

TEST(TaxOfficeAccountsTest, MikrorachunekFillsPitCitAndVatOnlyWhenPressed) {
    const QString account = QStringLiteral("88101000712222123456321800");
    QString pit = "p", pitstd = "s", cit, vat = "v", vatue = "u", viu = "i", doch = "d", ind = "n";
    TestSupport::WhenModal([&](QWidget* w) {
        auto* form = qobject_cast<TNumeryKontUrzedowForm*>(w);
        ASSERT_NE(form, nullptr);
        EXPECT_TRUE(form->pnlRachunekCIT->Value().isEmpty()) << "nothing is filled before the press";
        form->btnMikrorachunek->click();
        form->btnPost->click();
    });
    // The NIP wins over the PESEL.
    EXPECT_EQ(ShowTaxOfficeAccounts(nullptr, pit, pitstd, cit, vat, vatue, viu, doch, ind,
                                    QStringLiteral("123-456-32-18"), QStringLiteral("44051401359")),
              TNumeryKontUrzedowForm::csAccept);
    EXPECT_EQ(QStringList({pit, pitstd, cit, vat, vatue, viu, doch, ind}),
              QStringList({account, "s", account, account, "u", "i", "d", "n"}));
}

TEST(TaxOfficeAccountsTest, MikrorachunekWithoutAValidIdentifierSaysSoAndChangesNothing) {
    FakeMessagePresenter presenter;
    QString pit = "p", pitstd, cit = "c", vat, vatue, viu, doch, ind;
    TestSupport::WhenModal([](QWidget* w) {
        auto* form = qobject_cast<TNumeryKontUrzedowForm*>(w);
        form->btnMikrorachunek->click();
        form->btnPost->click();
    });
    ShowTaxOfficeAccounts(nullptr, pit, pitstd, cit, vat, vatue, viu, doch, ind, QStringLiteral("1234563219"),
                          QStringLiteral("4405140135"));
    EXPECT_EQ(QStringList({pit, cit, vat}), QStringList({"p", "c", ""}));
    ASSERT_EQ(presenter.Count(), 1);
    EXPECT_TRUE(presenter.Last().Text.contains(QStringLiteral("NIP ani PESEL")));
}

TEST(TaxOfficeAccountsTest, TheSubjectEditorsAccountsWindowTakesTheIdentifiersFromTheEditor) {
    InstallWindows();
    QWidget editor;
    auto* frame = new TPodmiotFrame(&editor);
    frame->Panel("pnlPESEL")->SetValue(QStringLiteral("44051401359"));
    PodmiotOpeners::TAccounts accounts;
    accounts[1] = QStringLiteral("std");
    for (bool accept : {false, true}) {
        TestSupport::WhenModal([accept](QWidget* w) {
            auto* form = qobject_cast<TNumeryKontUrzedowForm*>(w);
            ASSERT_NE(form, nullptr);
            form->btnMikrorachunek->click();
            (accept ? form->btnPost : form->btnClose)->click();
        });
        // A cancelled window changes nothing.
        EXPECT_EQ(PodmiotOpeners::ShowAccounts(&editor, accounts), accept);
        EXPECT_EQ(accounts[0], accept ? QStringLiteral("27101000712221440514013590") : QString());
    }
    EXPECT_EQ(accounts[1], QStringLiteral("std"));
    EXPECT_EQ(accounts[3], accounts[0]);
    ResetWindows();
}

} // namespace
