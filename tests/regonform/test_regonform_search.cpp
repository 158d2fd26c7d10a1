// The window's steps and what a search shows.

#include "RegonData.h"
#include "RegonFormFixture.h"
#include "TEdit.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uWyszukiwarkaRegonForm.h"
#include "uWyszukiwarkaRegonTables.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

namespace {

struct TShownCase {
    const char* Regon;
    const char* Nip;
    const char* Krs;
    QStringList Visible;
    RegonCopy::TRegonCase Case;
};

} // namespace

// Which tables and grids each of the four kinds of result shows, and the copy case it selects.
TEST_F(RegonFormTest, EachKindOfResultShowsItsTablesAndGrids) {
    const QString acts = QStringLiteral("pnlDzialalnosciTableContainer");
    const QString units = QStringLiteral("pnlJLokalneTableContainer");
    const TShownCase cases[] = {
        // A natural person with local units: the person's tables and the units grid, no unit table.
        {"",
         RegonData::PersonNip,
         "",
         {"pnlOsobaFizyczna", "pnlOsobaFizycznaDzialalnosc", acts, units},
         RegonCopy::rcOsobaFizyczna},
        // The person's local unit by its 14 digits: the unit table and its activities, no
        // units grid.
        {RegonData::PersonUnitRegon,
         "",
         "",
         {"pnlJednostkaLokalnaOsobyFizycznej", acts},
         RegonCopy::rcJednostkaLokalnaOsobyFizycznej},
        {"", "", RegonData::LegalKrs, {"pnlJednostkaPrawna", acts, units}, RegonCopy::rcJednostkaPrawna},
        {RegonData::LegalUnitRegon,
         "",
         "",
         {"pnlJednostkaLokalnaJednostkiPrawnej", acts},
         RegonCopy::rcJednostkaLokalnaJednostkiPrawnej},
    };
    for (const TShownCase& c : cases) {
        SCOPED_TRACE(c.Case);
        Search(QLatin1String(c.Regon), QLatin1String(c.Nip), QLatin1String(c.Krs));
        EXPECT_EQ(VisibleTables(), c.Visible);
        EXPECT_EQ(Form->VisibleCase(), c.Case);
        EXPECT_FALSE(Form->btnPost->isHidden());
        EXPECT_FALSE(Form->pnlResultDataContainer->isHidden());
        EXPECT_EQ(Form->width(), 850);
    }
}

TEST_F(RegonFormTest, PersonResultFillsRowsGridsAndSiloHeading) {
    Search({}, RegonData::PersonNip);
    EXPECT_EQ(Form->Value("fiz_imie1"), "Jan");
    EXPECT_EQ(Form->Value("fiz_imie2"), "");
    EXPECT_EQ(Form->Value("fiz_nazwa"), "JAN KOWALSKI USŁUGI \"POD LIPĄ\"");
    EXPECT_EQ(Form->Value("no_such_row"), "");
    EXPECT_EQ(Form->Table(RegonTables::OsobaFizycznaDzialalnosc)->Header(),
              "DZIAŁALNOŚĆ GOSPODARCZA PODLEGAJĄCA WPISOWI DO CEIDG");
    // Title row plus data rows, the title fixed.
    ASSERT_EQ(Form->DrawGrid1->RowCount(), 3);
    EXPECT_EQ(Form->DrawGrid1->FixedRows(), 1);
    EXPECT_EQ(Form->DrawGrid1->Cells(2, 0), "Przeważające PKD");
    EXPECT_EQ(Form->DrawGrid1->Cells(0, 1), "6920Z");
    EXPECT_EQ(Form->DrawGrid1->Cells(2, 2), "0");
    ASSERT_EQ(Form->DrawGrid2->RowCount(), 2);
    EXPECT_EQ(Form->DrawGrid2->Cells(0, 1), RegonData::PersonUnitRegon);
    EXPECT_EQ(Form->DrawGrid2->Cells(6, 1), "");
    // The local unit's report links back to the person's report: read once.
    EXPECT_EQ(Service.RequestsOf("danePobierzPelnyRaport").size(), 4);

    // A second search starts from an empty result area and the default heading.
    Form->pnlNIP->SetValue(QStringLiteral("0000000000"));
    Form->btnSearchClick();
    EXPECT_TRUE(VisibleTables().isEmpty());
    EXPECT_EQ(Form->Table(RegonTables::OsobaFizycznaDzialalnosc)->Header(), "DZIAŁALNOŚĆ");
    EXPECT_EQ(Form->DrawGrid1->RowCount(), 0);
    EXPECT_EQ(Form->Value("fiz_imie1"), "");
    EXPECT_TRUE(Form->btnPost->isHidden());
    EXPECT_EQ(Form->width(), 440);
    EXPECT_EQ(Form->lblTextStatus->text(), Service.NothingFoundMessage);
}

TEST_F(RegonFormTest, CodeStepRefusesWrongCodeAndReportsUnreachableService) {
    TWyszukiwarkaRegonForm form(nullptr, Editor.get());
    form.btnRefreshCaptchaClick();
    EXPECT_FALSE(form.imgCaptcha->pixmap().isNull());
    form.edtCaptcha->setText(QStringLiteral("zly"));
    form.btnCheckCaptchaClick();
    EXPECT_TRUE(form.pnlSearchInterface->isHidden());
    EXPECT_EQ(form.lblTextStatus->text(), "Kod zabezpieczający przepisany nieprawidłowo.");

    // No service: the reason is shown, no picture, still the code step.
    Service.Override = [](const QString&, const TFakeHttpRequest&) -> std::optional<TFakeHttpReply> {
        return TFakeHttpReply{500, "text/html", "<html/>"};
    };
    form.btnRefreshCaptchaClick();
    EXPECT_TRUE(form.imgCaptcha->pixmap().isNull());
    EXPECT_FALSE(form.lblTextStatus->text().isEmpty());
    EXPECT_TRUE(form.edtCaptcha->text().isEmpty());
}

TEST_F(RegonFormTest, LapsedCodeRenewedRepeatsSearchOnceAndRefusedReturnsToCodeStep) {
    Search({}, {}, {});
    Service.CodeLapsed = true;
    Form->pnlNIP->SetValue(RegonData::PersonNip);
    Form->btnSearchClick();
    EXPECT_EQ(Form->VisibleCase(), RegonCopy::rcOsobaFizyczna);
    EXPECT_EQ(Service.RequestsOf("daneSzukaj").size(), 3); // the empty one, the lapsed one, the repeat

    Service.CodeLapsed = true;
    Service.AcceptCodeAgain = false;
    Form->btnSearchClick();
    EXPECT_TRUE(Form->pnlSearchInterface->isHidden());
    EXPECT_FALSE(Form->pnlCaptchInterface->isHidden());
    EXPECT_EQ(Form->lblTextStatus->text(), "Kod zabezpieczający przepisany nieprawidłowo.");
    EXPECT_FALSE(Form->imgCaptcha->pixmap().isNull());
    EXPECT_EQ(Form->VisibleCase(), RegonCopy::rcNone);
}

TEST_F(RegonFormTest, WindowIsDisabledAndCannotCloseWhileRequestRuns) {
    // Shown: the first activation starts the session by itself.
    Form = std::make_unique<TWyszukiwarkaRegonForm>(nullptr, Editor.get());
    Form->show();
    QTRY_VERIFY(!Form->imgCaptcha->pixmap().isNull());
    Form->edtCaptcha->setText(Service.Code);
    Form->btnCheckCaptchaClick();
    Service.Override = [](const QString& Operation,
                          const TFakeHttpRequest&) -> std::optional<TFakeHttpReply> {
        if (Operation != u"daneSzukaj")
            return std::nullopt;
        TFakeHttpReply slow;
        slow.Body = TFakeRegonService::Envelope(QString());
        slow.DelayMs = 400;
        return slow;
    };
    bool disabled = false;
    QString status;
    QTimer::singleShot(150, Form.get(), [&] {
        disabled = !Form->btnSearch->isEnabled() && !Form->btnClose->isEnabled();
        status = Form->lblTextStatus->text();
        Form->reject();
        Form->close();
    });
    Form->btnSearchClick();
    EXPECT_TRUE(disabled);
    EXPECT_EQ(status, "Wyszukiwanie w rejestrze REGON…");
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Form->btnSearch->isEnabled());
    Form->reject();
    EXPECT_FALSE(Form->isVisible());
}

TEST_F(RegonFormTest, WithoutEditorCloseReadsZamknijAndCopyIsNeverOffered) {
    TWyszukiwarkaRegonForm form(nullptr, nullptr);
    EXPECT_EQ(form.btnClose->text(), "Zamknij");
    form.btnRefreshCaptchaClick();
    form.edtCaptcha->setText(Service.Code);
    form.btnCheckCaptchaClick();
    form.pnlKRS->SetValue(RegonData::LegalKrs);
    form.btnSearchClick();
    EXPECT_EQ(form.VisibleCase(), RegonCopy::rcJednostkaPrawna);
    EXPECT_TRUE(form.btnPost->isHidden());
}

TEST_F(RegonFormTest, KeysRefreshCheckAndSearch) {
    TWyszukiwarkaRegonForm form(nullptr, Editor.get());
    form.btnRefreshCaptchaClick();
    const qsizetype pictures = Service.RequestsOf("pobierzCaptcha").size();
    QTest::keyClick(&form, Qt::Key_F5);
    EXPECT_EQ(Service.RequestsOf("pobierzCaptcha").size(), pictures + 1);
    form.edtCaptcha->setText(Service.Code);
    QTest::keyClick(form.edtCaptcha, Qt::Key_Return);
    ASSERT_FALSE(form.pnlSearchInterface->isHidden());
    form.pnlNIP->SetValue(RegonData::PersonNip);
    QTest::keyClick(form.pnlNIP->Edit(), Qt::Key_Return);
    EXPECT_EQ(form.VisibleCase(), RegonCopy::rcOsobaFizyczna);
}

// The service's message is shown as written: markup in it is text, not formatting or links.
TEST_F(RegonFormTest, ServiceMessageIsShownAsPlainText) {
    Service.NothingFoundMessage = QStringLiteral("<b>Uwaga</b> <a href=\"https://example.pl\">tutaj</a>");
    Search({}, QStringLiteral("0000000000"));
    EXPECT_EQ(Form->lblTextStatus->text(), Service.NothingFoundMessage);
    EXPECT_EQ(Form->lblTextStatus->textFormat(), Qt::PlainText);
}

// "Przerwij" in the status line ends a search whose report is slow in coming: at once, with
// no further report asked for and what was read so far kept.
TEST_F(RegonFormTest, PrzerwijEndsASearchInProgress) {
    Form = std::make_unique<TWyszukiwarkaRegonForm>(nullptr, Editor.get());
    Form->show();
    QTRY_VERIFY(!Form->imgCaptcha->pixmap().isNull());
    Form->edtCaptcha->setText(Service.Code);
    Form->btnCheckCaptchaClick();
    Service.Override = [](const QString&, const TFakeHttpRequest& r) -> std::optional<TFakeHttpReply> {
        if (!r.Body.contains("PublDaneRaportDzialalnoscFizycznejCeidg"))
            return std::nullopt;
        TFakeHttpReply slow{200, "application/json", TFakeRegonService::Envelope(QStringLiteral("[]"))};
        slow.DelayMs = 8000;
        return slow;
    };
    bool offered = false;
    // Late enough for the search and the person's report to have been read.
    QTimer::singleShot(1500, Form.get(), [&] {
        offered = Form->btnAbort->isVisible() && Form->btnAbort->isEnabled();
        QTest::mouseClick(Form->btnAbort, Qt::LeftButton);
    });
    Form->pnlNIP->SetValue(RegonData::PersonNip);
    QElapsedTimer timer;
    timer.start();
    Form->btnSearchClick();
    EXPECT_TRUE(offered);
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_EQ(Form->lblTextStatus->text(), "Wyszukiwanie przerwane.");
    EXPECT_TRUE(Form->btnAbort->isHidden());
    EXPECT_EQ(Service.RequestsOf("danePobierzPelnyRaport").size(), 2); // the person, the slow one
    EXPECT_EQ(Form->Value("fiz_imie1"), "Jan");
    EXPECT_TRUE(Form->btnSearch->isEnabled());

    // The next search runs again.
    Service.Override = {};
    Form->btnSearchClick();
    EXPECT_EQ(Form->DrawGrid1->RowCount(), 3);
    EXPECT_TRUE(Form->lblTextStatus->text().isEmpty());
}
