// The subject's identifier rules: PESEL, birth date, sex, the tax identifier choice,
// NIP with its country code, and the names required by the person kind. Driven through
// real panels by typing and clicking.

#include "SubjectPanels.h"

namespace {

using namespace uDataValidate;

const QString cKind = cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol;
const QString cChoice = cDanePodmiotuWlasciwyIdentyfikatorPodatkowy.Symbol;

TEST_F(SubjectRulesTest, ChosenPESELMissingThenTyped) {
    Bind({{cKind, QStringLiteral("0")}, {cChoice, QStringLiteral("0")}});
    ShowWindow();
    EXPECT_EQ(pesel->Error(), cErrPESELRequired);
    EXPECT_EQ(choice->Error(), cErrChoicePESEL);
    EXPECT_EQ(sex->Value(), QStringLiteral("-1"));
    EXPECT_TRUE(birthDate->Value().startsWith(QLatin1Char('H')));

    Type(pesel, cPeselKobieta);
    EXPECT_TRUE(pesel->Error().Empty()) << pesel->Error().ErrMsg.toStdString();
    EXPECT_TRUE(choice->Error().Empty());
    EXPECT_EQ(sex->Value(), QStringLiteral("0")) << "kobieta, from the even sex digit";
    EXPECT_EQ(birthDate->Value(), QStringLiteral("1990-01-01"));
    EXPECT_TRUE(sex->Error().Empty());
}

TEST_F(SubjectRulesTest, FillsNeitherAChosenSexNorAGivenBirthDate) {
    Bind({{cKind, QStringLiteral("0")},
          {cDanePodmiotuPlec.Symbol, QStringLiteral("1")},
          {cDanePodmiotuDataUrodzenia.Symbol, QStringLiteral("1990-01-01")}});
    ShowWindow();
    Type(pesel, cPeselMezczyzna);
    EXPECT_EQ(sex->Value(), QStringLiteral("1"));
    EXPECT_EQ(birthDate->Value(), QStringLiteral("1990-01-01"));
    for (TPanel* p : {pesel, sex, birthDate})
        EXPECT_TRUE(p->Error().Empty()) << p->Field().Symbol.toStdString();
}

TEST_F(SubjectRulesTest, SexNotMatchingThePESEL) {
    Bind({{cKind, QStringLiteral("0")},
          {cDanePodmiotuPlec.Symbol, QStringLiteral("0")},
          {cDanePodmiotuPESEL.Symbol, cPeselMezczyzna}});
    ShowWindow();
    EXPECT_EQ(sex->Error(), cErrPESELSex);
    EXPECT_TRUE(pesel->Error().Empty());
    // Choosing "mężczyzna" re-runs the PESEL rule through the sex rule.
    Click(Option(sex, 1));
    EXPECT_EQ(sex->Value(), QStringLiteral("1"));
    EXPECT_TRUE(sex->Error().Empty());
    // Clearing the choice lets the PESEL fill it again.
    Click(Option(sex, 1));
    EXPECT_EQ(sex->Value(), QStringLiteral("1"));
    EXPECT_TRUE(sex->Error().Empty());
}

TEST_F(SubjectRulesTest, BirthDateMismatchMarksThePESEL) {
    Bind({{cKind, QStringLiteral("0")}, {cDanePodmiotuPESEL.Symbol, cPeselKobieta}});
    ShowWindow();
    EXPECT_EQ(birthDate->Value(), QStringLiteral("1990-01-01"));
    birthDate->SetValue(QStringLiteral("1991-01-01"));
    EXPECT_EQ(pesel->Error(), cErrPESELBirthDate);
    EXPECT_TRUE(birthDate->Error().Empty());
    // Blanking the date (Backspace) fills it from the PESEL again.
    birthDate->DateTimePicker()->setFocus();
    QTest::keyClick(birthDate->DateTimePicker(), Qt::Key_Backspace);
    EXPECT_EQ(birthDate->Value(), QStringLiteral("1990-01-01"));
    EXPECT_TRUE(pesel->Error().Empty());
}

TEST_F(SubjectRulesTest, InvalidPESELClearsTheSexError) {
    Bind({{cKind, QStringLiteral("0")},
          {cDanePodmiotuPlec.Symbol, QStringLiteral("0")},
          {cDanePodmiotuPESEL.Symbol, cPeselMezczyzna}});
    ShowWindow();
    ASSERT_EQ(sex->Error(), cErrPESELSex);
    Type(pesel, QStringLiteral("90010112357"));
    EXPECT_EQ(pesel->Error(), cErrPESEL);
    EXPECT_TRUE(sex->Error().Empty());
    // Ten digits are no PESEL either.
    Type(pesel, QStringLiteral("9001011235"));
    EXPECT_EQ(pesel->Error(), cErrPESEL);
}

TEST_F(SubjectRulesTest, PESELWithAnImpossibleDateLeavesTheBirthDateEmpty) {
    Bind({{cKind, QStringLiteral("0")}, {cDanePodmiotuPESEL.Symbol, QStringLiteral("90130112344")}});
    EXPECT_TRUE(birthDate->Value().startsWith(QLatin1Char('H')));
    EXPECT_TRUE(pesel->Error().Empty());
}

TEST_F(SubjectRulesTest, ChosenNIPMissingThenChoiceSwitchedToPESEL) {
    Bind({{cKind, QStringLiteral("0")},
          {cChoice, QStringLiteral("1")},
          {cDanePodmiotuPESEL.Symbol, cPeselKobieta}});
    ShowWindow();
    EXPECT_EQ(nip->Error(), cErrNIPRequired);
    EXPECT_EQ(choice->Error(), cErrChoiceNIP);
    Click(Option(choice, 0));
    EXPECT_EQ(choice->Value(), QStringLiteral("0"));
    EXPECT_TRUE(nip->Error().Empty()) << nip->Error().ErrMsg.toStdString();
    EXPECT_TRUE(choice->Error().Empty());
}

TEST_F(SubjectRulesTest, ChoiceOfPESELWithoutPESELThenNoChoice) {
    Bind({{cKind, QStringLiteral("0")}, {cChoice, QStringLiteral("0")}});
    ShowWindow();
    ASSERT_EQ(pesel->Error(), cErrPESELRequired);
    // A click on the chosen option clears the choice: the "required" error goes.
    Click(Option(choice, 0));
    EXPECT_EQ(choice->Value(), QStringLiteral("-1"));
    EXPECT_TRUE(pesel->Error().Empty());
    EXPECT_TRUE(choice->Error().Empty()) << "nothing given, nothing to choose";
}

TEST_F(SubjectRulesTest, NoChoiceWithANIPGiven) {
    Bind({{cKind, QStringLiteral("0")}});
    ShowWindow();
    Type(nip, QStringLiteral("1234563218"));
    EXPECT_TRUE(nip->Error().Empty());
    EXPECT_EQ(choice->Error(), cErrChoiceMissing);
    // The same for a legal person shows nothing.
    Click(Option(kind, 1));
    EXPECT_TRUE(choice->Error().Empty());
}

TEST_F(SubjectRulesTest, NIPErrorNamesTheFieldAndDependsOnTheCountryCode) {
    Bind({{cKind, QStringLiteral("1")}});
    ShowWindow();
    Type(nip, QStringLiteral("1234563219"));
    const TError expected{etValidate,
                          QStringLiteral("Nieprawidłowy \"Numer Identyfikacji Podatkowej (NIP)\".")};
    EXPECT_EQ(nip->Error(), expected);

    Type(country, QStringLiteral("DE"));
    EXPECT_TRUE(nip->Error().Empty()) << "a foreign NIP is not judged";
    Type(country, QStringLiteral("pl"));
    EXPECT_EQ(nip->Error(), expected);
    Type(country, QStringLiteral("PL"));
    EXPECT_EQ(nip->Error(), expected);
    country->Edit()->clear();
    EXPECT_EQ(nip->Error(), expected);
    Type(nip, QStringLiteral("123-456-32-18"));
    EXPECT_TRUE(nip->Error().Empty());
}

TEST_F(SubjectRulesTest, NamesRequiredByPersonKind) {
    Bind({{cKind, QStringLiteral("0")}});
    ShowWindow();
    EXPECT_EQ(surname->Error(), cErrSurname);
    EXPECT_EQ(firstName->Error(), cErrFirstName);
    EXPECT_TRUE(company->Error().Empty()) << "company name empty for a natural person";

    surname->Edit()->insert(QStringLiteral("Łęcka"));
    EXPECT_TRUE(surname->Error().Empty());

    Click(Option(kind, 1));
    EXPECT_TRUE(firstName->Error().Empty()) << "names empty for a legal person";
    EXPECT_EQ(company->Error(), cErrCompanyName);
    company->Edit()->insert(QStringLiteral("Żuraw sp. z o.o."));
    EXPECT_TRUE(company->Error().Empty());

    // No person kind: nothing is required.
    Click(Option(kind, 1));
    EXPECT_EQ(kind->Value(), QStringLiteral("-1"));
    company->Edit()->clear();
    EXPECT_TRUE(company->Error().Empty());
    EXPECT_TRUE(firstName->Error().Empty());
}

TEST_F(SubjectRulesTest, ShortRelatedListsClearTheOwnErrorOnly) {
    Bind({{cKind, QStringLiteral("0")}, {cChoice, QStringLiteral("0")}});
    ASSERT_EQ(pesel->Error(), cErrPESELRequired);
    sex->SetError(cErrPESELSex);
    pesel->SetValidateRefCompoments({birthDate, sex});
    RunRule(pesel);
    EXPECT_TRUE(pesel->Error().Empty());
    EXPECT_EQ(sex->Error(), cErrPESELSex) << "a rule without its related panels touches no other panel";

    // A related panel that is gone counts as missing.
    choice->SetError(cErrChoicePESEL);
    delete nip;
    nip = nullptr;
    RunRule(choice);
    EXPECT_TRUE(choice->Error().Empty());
}

} // namespace
