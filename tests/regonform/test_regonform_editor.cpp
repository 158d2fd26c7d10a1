// The window opened from the real subject editor's register button, copying into it.

#include "FakeRegonService.h"
#include "PodmiotFixture.h"
#include "RegonData.h"
#include "TRadioButton.h"
#include "TestSupport.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarQuorDBSymbole.h"
#include "uLinkedRecordSection.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegonSettings.h"
#include "uWyszukiwarkaRegonForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

class RegonEditorTest : public PodmiotTest {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        PodmiotTest::SetUp();
        RegonData::Fill(Service);
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, RegonSettings::ServiceAddressName,
                              Service.BaseAddress());
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, RegonSettings::UserKeyName, Service.UserKey);
        PodmiotOpeners::SetRegonSearchOpener(&RegonForms::ShowWyszukiwarkaRegon);
    }
    void TearDown() override {
        PodmiotOpeners::SetRegonSearchOpener({});
        PodmiotTest::TearDown();
        TestSupport::ClearSettings();
    }

    // Clicks the editor's register button and, in the window, passes the code step, searches
    // by the numbers and copies.
    void CopyFromRegister(TPodmiotFrame* Frame, const QString& Regon, const QString& Nip,
                          const QString& Krs) {
        bool copied = false;
        TestSupport::WhenModal([&](QWidget* Modal) {
            auto* form = qobject_cast<TWyszukiwarkaRegonForm*>(Modal);
            if (!form)
                return;
            // Acts once the session has started and no request is running.
            auto* poll = new QTimer(form);
            poll->setInterval(10);
            QObject::connect(poll, &QTimer::timeout, form, [&, form, poll] {
                if (form->Busy() || form->imgCaptcha->pixmap().isNull())
                    return;
                poll->stop();
                form->edtCaptcha->setText(Service.Code);
                form->btnCheckCaptchaClick();
                form->pnlREGON->SetValue(Regon);
                form->pnlNIP->SetValue(Nip);
                form->pnlKRS->SetValue(Krs);
                form->btnSearchClick();
                copied = !form->btnPost->isHidden();
                form->btnPost->click();
                if (form->isVisible())
                    form->reject();
            });
            poll->start();
        });
        Frame->btnSearchRregonGUS->click();
        EXPECT_TRUE(copied);
    }

    TFakeRegonService Service;
};

TEST_F(RegonEditorTest, LegalPersonCopiedThroughTheButtonIsPostedWithTheSubject) {
    auto subject = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Tymczasowy")}});
    TPodmiotFrame* f = Open(subject, kPodatnik);
    CopyFromRegister(f, {}, {}, RegonData::LegalKrs);
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    EXPECT_TRUE(f->RadioButton[6]->isChecked());
    EXPECT_EQ(f->Panel("pnlNIP2")->Value(), "3333333333");
    EXPECT_TRUE(f->Panel("pnlNIP")->Value().isEmpty());
    EXPECT_EQ(f->Panel("pnlNazwaFirmy")->Value(), "Biuro Rachunkowe \"Bilans\" Sp. z o.o.");
    ASSERT_TRUE(f->PostPodmiot()) << Shown().toStdString();
    EXPECT_EQ(StoredValue(subject->GetID(), cDanePodmiotuNIP.Symbol), "3333333333");
    EXPECT_EQ(StoredValue(subject->GetID(), cDanePodmiotuREGON.Symbol), "556677889");
    const TIntfPtr<IPodmiot> stored = Supports<IPodmiot>(FindSubject(subject->GetID()));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->GetOddzialy()->GetCount(), 2);
    EXPECT_EQ(stored->GetRodzajeDzialalnosci()->GetCount(), 2);
    ASSERT_TRUE(stored->GetRodzajPrzewazajacejDzialalnosci());
    EXPECT_EQ(Value(stored->GetRodzajPrzewazajacejDzialalnosci().get(), cRodzajDzialalnosciKodPKD.Symbol),
              "6920Z");
}

TEST_F(RegonEditorTest, NaturalPersonOverFilledEditorAsksThenFillsMainActivity) {
    auto subject = NewTaxpayer({{cDanePodmiotuNazwaFirmy.Symbol, QStringLiteral("Stara firma")}});
    TPodmiotFrame* f = Open(subject, kPodatnik);
    Messages->QueueButton(QStringLiteral("Tak"));
    CopyFromRegister(f, {}, RegonData::PersonNip, {});
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Messages->Last().Text, "Istniejące dane zostaną nadpisane.\r\nCzy skopiować mimo to?");
    EXPECT_TRUE(f->RadioButton[5]->isChecked());
    EXPECT_EQ(f->Panel("pnlPierwszeImie")->Value(), "Jan");
    EXPECT_EQ(f->Panel("pnlNIP")->Value(), RegonData::PersonNip);
    const TIntfPtr<IEwidarRecord> shown = f->Linked("RodzajDzialalnosciFrame1")->Embedded()->EwidarRecord();
    ASSERT_TRUE(shown);
    EXPECT_EQ(Value(shown.get(), cRodzajDzialalnosciKodPKD.Symbol), "6920Z");
    ASSERT_TRUE(f->PostPodmiot()) << Shown().toStdString();
    EXPECT_EQ(StoredValue(subject->GetID(), cDanePodmiotuNazwisko.Symbol), "Kowalski");
    EXPECT_EQ(StoredValue(subject->GetID(), cDanePodmiotuNazwaFirmy.Symbol),
              "JAN KOWALSKI USŁUGI \"POD LIPĄ\"");
}

// The representative viewer shows a subject's surname in a panel of the same name and field as
// the editor's own; the copy must test and fill the editor's, so a stored surname is asked about.
TEST_F(RegonEditorTest, SurnameOnlyEditorAsksAndDeclineKeepsItOutOfTheRepresentativeViewer) {
    auto subject = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    TPodmiotFrame* f = Open(subject, kPodatnik);
    Messages->QueueButton(QStringLiteral("Nie"));
    CopyFromRegister(f, {}, RegonData::PersonNip, {});
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_EQ(f->Panel("pnlNazwisko")->Value(), "Nowak");
    auto* shown = f->Viewer("DaneReprezentantaFrame1")->findChild<TPanel*>(QStringLiteral("pnlNazwisko"));
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->Value().isEmpty());
}
