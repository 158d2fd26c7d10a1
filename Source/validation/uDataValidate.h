#pragma once
// The validation rules that record frames attach to field panels, and the errors they
// report. A rule reads its panel's value and the values of the panel's related panels
// (TPanel::ValidateRefCompoments, in the order given per rule below) and sets or clears
// an error on its own panel or on a related panel. Several rules finish by running a
// related panel's rule, so that a change re-validates the fields that depend on it.
// Rules never stop typing or posting; they only mark fields.
//
// A rule whose related panels are missing (list too short, panel gone) clears its own
// error and does nothing else.

#include "uEwidarComponents_Error.h"

class TPanel;

namespace uDataValidate {

inline const TError cErrNIP{etValidate, QStringLiteral("Nieprawidłowy numer NIP.")};
inline const TError cErrNIPRequired{etRequire,
                                    QStringLiteral("Nie podano Numeru Identyfikacji Podatkowej (NIP).")};
inline const TError cErrREGON{etValidate, QStringLiteral("Nieprawidłowy numer REGON.")};
inline const TError cErrPESEL{etValidate, QStringLiteral("Nieprawidłowy numer PESEL.")};
inline const TError cErrPESELBirthDate{etValidate,
                                       QStringLiteral("Data urodzenia nie pokrywa się z numerem PESEL.")};
inline const TError cErrPESELRequired{etRequire, QStringLiteral("Nie podano numeru PESEL.")};
inline const TError cErrPESELSex{etValidate, QStringLiteral("Wybrana płeć nie pokrywa się z numerem PESEL.")};
inline const TError cErrChoicePESEL{
    etValidate, QStringLiteral("Nie podano numeru PESEL a zaznaczono, że właściwym identyfikatorem "
                               "podatkowym jest \"numer PESEL\".")};
inline const TError cErrChoiceNIP{
    etValidate,
    QStringLiteral("Nie podano NIP a zaznaczono, że właściwym identyfikatorem podatkowym jest \"NIP\".")};
inline const TError cErrChoiceMissing{
    etRequire, QStringLiteral("Nie dokonano wyboru \"numer PESEL\" / \"NIP\" pomimo podania numeru PESEL "
                              "i/lub Numeru Identyfikacji Podatkowej (NIP).")};
inline const TError cErrEmail{etValidate, QStringLiteral("Nieprawidłowy format adresu e-mail.")};
inline const TError cErrBankAccount{etValidate, QStringLiteral("Nieprawidłowy numer rachunku bankowego.")};
inline const TError cErrPostalCode{etValidate, QStringLiteral("Nieprawidłowy format kodu pocztowego.")};
inline const TError cErrSurname{etRequire, QStringLiteral("Nie podano nazwiska.")};
inline const TError cErrFirstName{etRequire, QStringLiteral("Nie podano imienia pierwszego.")};
inline const TError cErrCompanyName{etRequire, QStringLiteral("Nie podano nazwy pełnej (firmy).")};
inline const TError cErrBusinessAddressType{
    etValidate, QStringLiteral("Zaznaczono jednocześnie „Adres głównego miejsca wykonywania działalności "
                               "gospodarczej” i „Adres dodatkowego miejsca wykonywania działalności "
                               "gospodarczej”.")};
inline const TError cErrCountryCode{etValidate,
                                    QStringLiteral("Kod kraju nadania numeru ma więcej niż dwie litery.")};
inline const TError cErrIdentityDocument{
    etValidate, QStringLiteral("Przy wybranym rodzaju nie wypełnia się pola \"Inny dokument potwierdzający "
                               "tożsamość (opis)\".")};

// The NIP error naming the field: "Nieprawidłowy" and the panel's caption as shown,
// without colons, in double quotes, followed by a full stop (kind etValidate).
TError CaptionNIPError(const TPanel* Panel);

// Runs the rule attached to Panel with Panel, as if its value had changed. Rules that
// run each other in a circle stop after 32 nested runs.
void RunRule(TPanel* Panel);

// Rules. Related panels in order:
void ValidateREGON(TPanel* Sender);               // none
void ValidateEmail(TPanel* Sender);               // none
void ValidatePostalCode(TPanel* Sender);          // none
void ValidatePersonKind(TPanel* Sender);          // identifier choice, surname, first name, company name
void ValidateSurname(TPanel* Sender);             // person kind
void ValidateFirstName(TPanel* Sender);           // person kind
void ValidateCompanyName(TPanel* Sender);         // person kind
void ValidatePESEL(TPanel* Sender);               // birth date, sex, identifier choice
void ValidateBirthDate(TPanel* Sender);           // PESEL
void ValidateSex(TPanel* Sender);                 // PESEL
void ValidateTaxIdentifierChoice(TPanel* Sender); // PESEL, NIP, person kind
void ValidateNIP(TPanel* Sender);                 // identifier choice, country code
void ValidateCountryCode(TPanel* Sender);         // NIP; marks a code longer than two letters
void ValidateNIPWithCountry(TPanel* Sender);      // country code
void ValidateBankAccount(TPanel* Sender);         // the bank's country
void ValidateBusinessAddressType(TPanel* Sender); // none
void ValidateIdentityDocument(TPanel* Sender);    // kind combo: description; description: kind combo

} // namespace uDataValidate
