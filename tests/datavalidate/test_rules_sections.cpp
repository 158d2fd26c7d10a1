// Rules of the section frames: bank account, business address types, identity
// document, the company and accounting office NIP, and the format checks. Also the
// error texts themselves.

#include "FakeFields.h"
#include "PanelFixture.h"
#include "TEdit.h"
#include "uDataValidate.h"

#include <QComboBox>

namespace {

using namespace uDataValidate;

class SectionRulesTest : public PanelFixture {
protected:
    TPanel* Field(const TInternalFieldRecord& Descriptor, TOnValidate Rule, QList<TPanel*> Related = {}) {
        TPanel* panel = AddPanel(Descriptor);
        panel->SetOnValidate(Rule);
        panel->SetValidateRefCompoments(Related);
        return panel;
    }
    static void Type(TPanel* Panel, const QString& Text) {
        Panel->Edit()->clear();
        Panel->Edit()->insert(Text);
    }
};

TEST_F(SectionRulesTest, BankAccountIsJudgedOnlyForAPolishBank) {
    TPanel* bankCountry = AddPanel(cDaneBankuKraj);
    TPanel* account = Field(cDaneRachunkuNrRachunku, ValidateBankAccount, {bankCountry});
    bankCountry->SetOnChange([account](TPanel*) { RunRule(account); });

    Type(account, QStringLiteral("96 1234 5678 0000 0000 0000 0002"));
    EXPECT_EQ(account->Error(), cErrBankAccount) << "no country is Poland";
    for (const QString& foreign :
         {QStringLiteral("Niemcy"), QStringLiteral("Polska "), QStringLiteral("PL")}) {
        Type(bankCountry, foreign);
        EXPECT_TRUE(account->Error().Empty()) << foreign.toStdString();
    }
    for (const QString& poland :
         {QStringLiteral("Polska"), QStringLiteral("POLSKA"), QStringLiteral("polska")}) {
        Type(bankCountry, poland);
        EXPECT_EQ(account->Error(), cErrBankAccount) << poland.toStdString();
    }
    Type(account, QStringLiteral("96 1234 5678 0000 0000 0000 0001"));
    EXPECT_TRUE(account->Error().Empty());
    Type(account, QStringLiteral("abc"));
    EXPECT_TRUE(account->Error().Empty()) << "not an account number at all";
    Type(account, QString());
    EXPECT_TRUE(account->Error().Empty());
}

TEST_F(SectionRulesTest, BusinessAddressMainAndAdditionalTogether) {
    TPanel* types = AddGroup<TCheckBox>(cDaneAdresoweDzialanosciTypAdresu,
                                        GroupFieldOptions(cDaneAdresoweDzialanosciTypAdresu.Symbol));
    types->SetOnValidate(ValidateBusinessAddressType);
    ShowWindow();
    const QList<TCheckBox*> boxes = types->GroupCheckBoxes();
    const auto click = [](TCheckBox* b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    };

    click(boxes[0]);
    EXPECT_TRUE(types->Error().Empty()) << "the main address alone";
    click(boxes[2]);
    EXPECT_EQ(types->Value(), QStringLiteral("1,0,1"));
    EXPECT_EQ(types->Error(), cErrBusinessAddressType);
    click(boxes[1]);
    EXPECT_EQ(types->Error(), cErrBusinessAddressType) << "whatever the second is";
    click(boxes[0]);
    EXPECT_EQ(types->Value(), QStringLiteral("0,1,1"));
    EXPECT_TRUE(types->Error().Empty());
}

TEST_F(SectionRulesTest, IdentityDocumentDescriptionOnlyForOtherDocument) {
    TPanel* kind = AddPanel(cDaneDokumentuTozsamosciRodzaj);
    for (const TComboBoxSymbolItemRecord& item : IdentityDocumentItems())
        kind->AddComboBoxSymbolItem(item);
    TPanel* description = AddPanel(cDaneDokumentuTozsamosciRodzajInny);
    kind->SetOnValidate(ValidateIdentityDocument);
    kind->SetValidateRefCompoments({description});
    description->SetOnValidate(ValidateIdentityDocument);
    description->SetValidateRefCompoments({kind});

    kind->ComboBox()->setCurrentIndex(1);
    ASSERT_EQ(kind->Value(), QStringLiteral("Dowod"));
    Type(description, QStringLiteral("legitymacja"));
    EXPECT_EQ(description->Error(), cErrIdentityDocument);
    EXPECT_TRUE(kind->Error().Empty()) << "the error always sits on the description";

    kind->ComboBox()->setCurrentIndex(10);
    ASSERT_EQ(kind->Value(), QStringLiteral("InnyDokument"));
    EXPECT_TRUE(description->Error().Empty());
    Type(description, QStringLiteral("legitymacja służbowa"));
    EXPECT_TRUE(description->Error().Empty());

    kind->SetValue(QStringLiteral("paszportpolski"));
    EXPECT_EQ(description->Error(), cErrIdentityDocument);
    description->Edit()->clear();
    EXPECT_TRUE(description->Error().Empty());
}

TEST_F(SectionRulesTest, CompanyAndOfficeNIPAreOptionalAndNamedByCaption) {
    TPanel* officeCountry = AddPanel(cBiuroRachunkoweKodKrajuNadaniaNumeru);
    TPanel* officeNip = Field(cBiuroRachunkoweNIP, ValidateNIPWithCountry, {officeCountry});
    officeCountry->SetOnValidate(ValidateCountryCode);
    officeCountry->SetValidateRefCompoments({officeNip});
    TPanel* companyNip = Field(cDaneSpolkiNIP, ValidateNIPWithCountry, {AddPanel(cDaneSpolkiKodKraju)});

    Type(officeNip, QString());
    EXPECT_TRUE(officeNip->Error().Empty()) << "not required here";
    Type(officeNip, QStringLiteral("1234563219"));
    EXPECT_EQ(officeNip->Error().ErrMsg, QStringLiteral("Nieprawidłowy \"Identyfikator podatkowy NIP\"."));
    EXPECT_EQ(officeNip->Error().ErrType, etValidate);
    Type(officeCountry, QStringLiteral("DE"));
    EXPECT_TRUE(officeNip->Error().Empty());
    Type(officeCountry, QStringLiteral("Pl"));
    EXPECT_FALSE(officeNip->Error().Empty());

    Type(companyNip, QStringLiteral("123-4563218"));
    EXPECT_EQ(companyNip->Error().ErrMsg,
              QStringLiteral("Nieprawidłowy \"Numer Identyfikacji Podatkowej (NIP)\"."));
    Type(companyNip, QStringLiteral(" 1234563218 "));
    EXPECT_TRUE(companyNip->Error().Empty());
}

TEST_F(SectionRulesTest, FormatRulesAcceptEmptyAndValidValues) {
    struct Case {
        TInternalFieldRecord Descriptor;
        TOnValidate Rule;
        TError Error;
        QString Valid;
        QString Invalid;
    };
    const QList<Case> cases{
        {cDanePodmiotuREGON, ValidateREGON, cErrREGON, QStringLiteral("123456785"),
         QStringLiteral("123456786")},
        {cDanePodmiotuAdresEMail, ValidateEmail, cErrEmail, QStringLiteral("jan.kowalski@firma.pl"),
         QStringLiteral("jan@@firma.pl")},
        {cDanePodmiotuAdresDokumentacjiRachunkowejKodPocztowy, ValidatePostalCode, cErrPostalCode,
         QStringLiteral("00-950"), QStringLiteral("0O-950")},
    };
    for (const Case& c : cases) {
        TPanel* panel = Field(c.Descriptor, c.Rule);
        Type(panel, c.Invalid);
        EXPECT_EQ(panel->Error(), c.Error) << c.Invalid.toStdString();
        Type(panel, c.Valid);
        EXPECT_TRUE(panel->Error().Empty()) << c.Valid.toStdString();
        Type(panel, c.Invalid);
        Type(panel, QString());
        EXPECT_TRUE(panel->Error().Empty()) << c.Descriptor.Symbol.toStdString();
    }
}

TEST_F(SectionRulesTest, RulesWiredInACircleStop) {
    TPanel* a = AddPanel(cDaneSpolkiKodKraju);
    TPanel* b = AddPanel(cDanePodmiotuKodKrajuNadaniaNumeru);
    a->SetOnValidate(ValidateCountryCode);
    b->SetOnValidate(ValidateCountryCode);
    a->SetValidateRefCompoments({b});
    b->SetValidateRefCompoments({a});
    Type(a, QStringLiteral("PL"));
    EXPECT_TRUE(a->Error().Empty());
    // Each rule still runs its neighbour afterwards.
    TPanel* nip = Field(cDaneSpolkiNIP, ValidateNIPWithCountry, {a});
    b->SetValidateRefCompoments({a, nip});
    nip->SetValue(QStringLiteral("1234563219"));
    nip->ClearError();
    Type(b, QStringLiteral("x"));
    EXPECT_FALSE(nip->Error().Empty());
}

TEST(DataValidateErrors, RulesIgnoreAMissingPanel) {
    for (TOnValidate rule :
         {ValidateREGON, ValidateEmail, ValidatePostalCode, ValidatePersonKind, ValidateSurname,
          ValidateFirstName, ValidateCompanyName, ValidatePESEL, ValidateBirthDate, ValidateSex,
          ValidateTaxIdentifierChoice, ValidateNIP, ValidateCountryCode, ValidateNIPWithCountry,
          ValidateBankAccount, ValidateBusinessAddressType, ValidateIdentityDocument})
        rule(nullptr);
    RunRule(nullptr);
    EXPECT_EQ(CaptionNIPError(nullptr).ErrMsg, QStringLiteral("Nieprawidłowy \"\"."));
}

TEST(DataValidateErrors, TextsAndKinds) {
    EXPECT_EQ(cErrNIP, (TError{etValidate, QStringLiteral("Nieprawidłowy numer NIP.")}));
    EXPECT_EQ(cErrNIPRequired.ErrType, etRequire);
    EXPECT_EQ(cErrPESELRequired.ErrType, etRequire);
    EXPECT_EQ(cErrChoiceMissing.ErrType, etRequire);
    for (const TError& e : {cErrSurname, cErrFirstName, cErrCompanyName})
        EXPECT_EQ(e.ErrType, etRequire);
    for (const TError& e :
         {cErrREGON, cErrPESEL, cErrPESELBirthDate, cErrPESELSex, cErrChoicePESEL, cErrChoiceNIP, cErrEmail,
          cErrBankAccount, cErrPostalCode, cErrBusinessAddressType, cErrIdentityDocument})
        EXPECT_EQ(e.ErrType, etValidate) << e.ErrMsg.toStdString();

    EXPECT_EQ(cErrChoicePESEL.ErrMsg,
              QString::fromUtf8("Nie podano numeru PESEL a zaznaczono, że właściwym "
                                "identyfikatorem podatkowym jest \x22numer PESEL\x22."));
    EXPECT_EQ(
        cErrChoiceMissing.ErrMsg,
        QString::fromUtf8("Nie dokonano wyboru \"numer PESEL\" / \"NIP\" pomimo podania numeru PESEL i/lub "
                          "Numeru Identyfikacji Podatkowej (NIP)."));
    // Typographic quotes: U+201E opening, U+201D closing.
    const QString e17 = cErrBusinessAddressType.ErrMsg;
    EXPECT_EQ(e17.count(QChar(0x201E)), 2);
    EXPECT_EQ(e17.count(QChar(0x201D)), 2);
    EXPECT_FALSE(e17.contains(QLatin1Char('"')));
    EXPECT_TRUE(e17.startsWith(QString::fromUtf8("Zaznaczono jednocześnie \u201EAdres głównego")));
    EXPECT_EQ(cErrIdentityDocument.ErrMsg,
              QString::fromUtf8("Przy wybranym rodzaju nie wypełnia się pola \"Inny dokument potwierdzający "
                                "tożsamość (opis)\"."));
}

TEST(DataValidateErrors, CaptionNIPErrorDropsEveryColon) {
    TPanel panel;
    panel.SetField(TInternalFieldRecord::Create(QStringLiteral("cX"), QStringLiteral("NIP: firmy:"), ctEdit));
    EXPECT_EQ(CaptionNIPError(&panel).ErrMsg, QStringLiteral("Nieprawidłowy \"NIP firmy\"."));
    EXPECT_EQ(CaptionNIPError(&panel).ErrType, etValidate);
}

} // namespace
