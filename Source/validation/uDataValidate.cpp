#include "uDataValidate.h"

#include "CheckCRC.h"
#include "uEwidarComponents_Panel.h"

#include <array>
#include <optional>

namespace uDataValidate {

namespace {

const QString cNone = QStringLiteral("-1");
const QString cZero = QStringLiteral("0");
const QString cOne = QStringLiteral("1");
const QString cInnyDokument = QStringLiteral("InnyDokument");

// Text equality that ignores the case of the letters A-Z only.
bool SameTextAZ(const QString& A, const QString& B) {
    if (A.size() != B.size())
        return false;
    const auto fold = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
    };
    for (qsizetype i = 0; i < A.size(); ++i)
        if (fold(A.at(i)) != fold(B.at(i)))
            return false;
    return true;
}

// The first N related panels of Sender when all of them exist; otherwise Sender's own
// error is cleared and nothing is returned.
template <size_t N> std::optional<std::array<TPanel*, N>> Related(TPanel* Sender) {
    if (!Sender)
        return std::nullopt;
    std::array<TPanel*, N> panels{};
    for (size_t i = 0; i < N; ++i) {
        panels[i] = Sender->ValidateRef(int(i));
        if (!panels[i]) {
            Sender->ClearError();
            return std::nullopt;
        }
    }
    return panels;
}

void SetOrClear(TPanel* Panel, bool Failed, const TError& Error) {
    if (Failed)
        Panel->SetError(Error);
    else
        Panel->ClearError();
}

// An empty value clears the error; otherwise Check decides.
void CheckFormat(TPanel* Sender, bool (*Check)(const QString&), const TError& Error) {
    if (!Sender)
        return;
    const QString value = Sender->Value();
    SetOrClear(Sender, !value.isEmpty() && !Check(value), Error);
}

// A NIP that is not empty and fails the check is wrong only for a Polish (or no) country code.
void CheckNIPForCountry(TPanel* Sender, const QString& Nip, const QString& CountryCode) {
    const bool polish = CountryCode.isEmpty() || SameTextAZ(CountryCode, QStringLiteral("pl"));
    if (!CheckCRC::IsValidNIP(Nip) && polish)
        Sender->SetError(CaptionNIPError(Sender));
    else
        Sender->ClearError();
}

bool IsEmptyChoice(const QString& Choice) {
    return Choice.isEmpty() || Choice == cNone;
}

} // namespace

TError CaptionNIPError(const TPanel* Panel) {
    TError error = cErrNIP;
    const QString caption = Panel ? QString(Panel->Description()).remove(QLatin1Char(':')) : QString();
    error.ErrMsg = QStringLiteral("Nieprawidłowy \"") + caption + QStringLiteral("\".");
    return error;
}

void RunRule(TPanel* Panel) {
    // The rules' own cascades end after a few steps; related panels wired in a circle
    // (a frame's mistake) must stop too instead of exhausting the stack.
    static int depth = 0;
    constexpr int cMaxDepth = 32;
    if (!Panel || !Panel->OnValidate() || depth >= cMaxDepth)
        return;
    ++depth;
    Panel->OnValidate()(Panel);
    --depth;
}

// ---------------------------------------------------------------------------
// Format checks

void ValidateREGON(TPanel* Sender) {
    CheckFormat(Sender, CheckCRC::IsValidREGON, cErrREGON);
}

void ValidateEmail(TPanel* Sender) {
    CheckFormat(Sender, CheckCRC::IsValidEmail, cErrEmail);
}

void ValidatePostalCode(TPanel* Sender) {
    CheckFormat(Sender, CheckCRC::IsValidPostalCode, cErrPostalCode);
}

void ValidateBusinessAddressType(TPanel* Sender) {
    if (!Sender)
        return;
    // The main and the additional business address ticked together.
    const QString value = Sender->Value();
    SetOrClear(Sender, value == QStringLiteral("1,0,1") || value == QStringLiteral("1,1,1"),
               cErrBusinessAddressType);
}

void ValidateBankAccount(TPanel* Sender) {
    const auto refs = Related<1>(Sender);
    if (!refs)
        return;
    const QString account = Sender->Value();
    if (account.isEmpty() || CheckCRC::IsValidAccountNumber(account)) {
        Sender->ClearError();
        return;
    }
    // Accounts of foreign banks are not judged.
    const QString country = (*refs)[0]->Value();
    SetOrClear(Sender, country.isEmpty() || SameTextAZ(country, QStringLiteral("polska")), cErrBankAccount);
}

// ---------------------------------------------------------------------------
// Names by person kind ("0" natural person, "1" legal person)

void ValidateSurname(TPanel* Sender) {
    if (const auto refs = Related<1>(Sender))
        SetOrClear(Sender, (*refs)[0]->Value() == cZero && Sender->Value().isEmpty(), cErrSurname);
}

void ValidateFirstName(TPanel* Sender) {
    if (const auto refs = Related<1>(Sender))
        SetOrClear(Sender, (*refs)[0]->Value() == cZero && Sender->Value().isEmpty(), cErrFirstName);
}

void ValidateCompanyName(TPanel* Sender) {
    if (const auto refs = Related<1>(Sender))
        SetOrClear(Sender, (*refs)[0]->Value() == cOne && Sender->Value().isEmpty(), cErrCompanyName);
}

void ValidatePersonKind(TPanel* Sender) {
    if (!Sender)
        return;
    // Copy: a rule may change the list it is given.
    const QList<QPointer<TPanel>> related = Sender->ValidateRefCompoments();
    for (const QPointer<TPanel>& panel : related)
        RunRule(panel);
}

void ValidateCountryCode(TPanel* Sender) {
    if (!Sender)
        return;
    // A longer stored code is kept as it is (typing stops at two letters) but marked.
    SetOrClear(Sender, Sender->Value().size() > 2, cErrCountryCode);
    ValidatePersonKind(Sender);
}

// ---------------------------------------------------------------------------
// NIP

void ValidateNIPWithCountry(TPanel* Sender) {
    const auto refs = Related<1>(Sender);
    if (!refs)
        return;
    const QString nip = Sender->Value();
    if (nip.isEmpty())
        Sender->ClearError();
    else
        CheckNIPForCountry(Sender, nip, (*refs)[0]->Value());
}

void ValidateNIP(TPanel* Sender) {
    const auto refs = Related<2>(Sender);
    if (!refs)
        return;
    TPanel* choice = (*refs)[0];
    const QString nip = Sender->Value();
    if (!nip.isEmpty())
        CheckNIPForCountry(Sender, nip, (*refs)[1]->Value());
    else
        SetOrClear(Sender, choice->Value() == cOne, cErrNIPRequired);
    RunRule(choice);
}

// ---------------------------------------------------------------------------
// Identity document

void ValidateIdentityDocument(TPanel* Sender) {
    const auto refs = Related<1>(Sender);
    if (!refs)
        return;
    const QString symbol = Sender->Field().Symbol;
    const bool onKind =
        symbol == cDaneDokumentuTozsamosciRodzaj.Symbol ||
        (symbol != cDaneDokumentuTozsamosciRodzajInny.Symbol && Sender->ComponentType() == ctComboBox);
    if (onKind) {
        TPanel* description = (*refs)[0];
        const bool other = Sender->Value() == cInnyDokument;
        SetOrClear(description, !other && !description->Value().isEmpty(), cErrIdentityDocument);
        return;
    }
    const bool other = (*refs)[0]->Value() == cInnyDokument;
    SetOrClear(Sender, !Sender->Value().isEmpty() && !other, cErrIdentityDocument);
}

// ---------------------------------------------------------------------------
// PESEL, birth date, sex and the choice of the tax identifier

namespace {

// Fills an unchosen sex from the PESEL, or compares a chosen one with it.
void CheckSexAgainstPESEL(TPanel* Sex, const QString& Pesel) {
    const QString chosen = Sex->Value();
    const int peselSex = CheckCRC::PeselSex(Pesel);
    if (IsEmptyChoice(chosen)) {
        // "1" mężczyzna, "0" kobieta. Setting the value runs the sex rule, which comes
        // back here with the sex chosen.
        if (peselSex == 1)
            Sex->SetValue(cOne);
        else if (peselSex == 2)
            Sex->SetValue(cZero);
        Sex->ClearError();
        return;
    }
    const bool matches =
        peselSex == 0 || (peselSex == 1 && chosen == cOne) || (peselSex == 2 && chosen == cZero);
    SetOrClear(Sex, !matches, cErrPESELSex);
}

// Fills an empty birth date from the PESEL, then compares; the error sits on the PESEL.
void CheckBirthDateAgainstPESEL(TPanel* Sender, TPanel* BirthDate, const QString& Pesel) {
    const QString shown = BirthDate->Value();
    if (shown.isEmpty() || shown.startsWith(QLatin1Char('H'))) {
        // A PESEL with an impossible date leaves the field empty.
        const QDate date = CheckCRC::PeselBirthDate(Pesel);
        if (date.isValid())
            BirthDate->SetValue(date.toString(QStringLiteral("yyyy-MM-dd")));
    }
    const QDate date = QDate::fromString(BirthDate->Value(), QStringLiteral("yyyy-MM-dd"));
    SetOrClear(Sender, date.isValid() && !CheckCRC::PeselMatchesBirthDate(Pesel, date), cErrPESELBirthDate);
}

} // namespace

void ValidatePESEL(TPanel* Sender) {
    const auto refs = Related<3>(Sender);
    if (!refs)
        return;
    const auto [birthDate, sex, choice] = *refs;
    const QString pesel = Sender->Value();
    if (pesel.isEmpty()) {
        sex->ClearError();
        SetOrClear(Sender, choice->Value() == cZero, cErrPESELRequired);
    } else if (!CheckCRC::IsValidPESEL(pesel)) {
        Sender->SetError(cErrPESEL);
        sex->ClearError();
    } else {
        CheckSexAgainstPESEL(sex, pesel);
        CheckBirthDateAgainstPESEL(Sender, birthDate, pesel);
    }
    RunRule(choice);
}

void ValidateBirthDate(TPanel* Sender) {
    if (const auto refs = Related<1>(Sender))
        RunRule((*refs)[0]);
}

void ValidateSex(TPanel* Sender) {
    if (const auto refs = Related<1>(Sender))
        RunRule((*refs)[0]);
}

// Choice "0" Numer PESEL, "1" NIP, "-1" or empty none. The PESEL and NIP rules are run
// again only when their error is empty or is the "required" error the choice makes
// obsolete; both run this rule after setting their own error, so the cascade ends.
void ValidateTaxIdentifierChoice(TPanel* Sender) {
    const auto refs = Related<3>(Sender);
    if (!refs)
        return;
    const auto [pesel, nip, personKind] = *refs;
    const QString choice = Sender->Value();
    const auto shows = [](const TPanel* Panel, const TError& Error) {
        return Panel->Error().ErrMsg == Error.ErrMsg;
    };
    if (choice == cZero) {
        const bool missing = pesel->Value().isEmpty();
        SetOrClear(Sender, missing, cErrChoicePESEL);
        if (missing && pesel->Error().Empty())
            RunRule(pesel);
        if (shows(nip, cErrNIPRequired))
            RunRule(nip);
    } else if (choice == cOne) {
        const bool missing = nip->Value().isEmpty();
        SetOrClear(Sender, missing, cErrChoiceNIP);
        if (missing && nip->Error().Empty())
            RunRule(nip);
        if (shows(pesel, cErrPESELRequired))
            RunRule(pesel);
    } else if (IsEmptyChoice(choice)) {
        const bool given = !pesel->Value().isEmpty() || !nip->Value().isEmpty();
        SetOrClear(Sender, personKind->Value() == cZero && given, cErrChoiceMissing);
        if (shows(pesel, cErrPESELRequired))
            RunRule(pesel);
        if (shows(nip, cErrNIPRequired))
            RunRule(nip);
    }
}

} // namespace uDataValidate
