// Fuzzes every identifier and format check, and the lookups of the field table, with
// arbitrary text, and aborts when a result leaves its documented range or contradicts
// another routine.
//
// Input layout: byte 0 chooses how the rest becomes text (UTF-8 or raw UTF-16, which
// reaches unpaired surrogates and characters above 255); a byte 0x1F splits the text
// into the first and second argument of the two-argument routines.

#include "CheckCRC.h"
#include "uEwidarQuorDBSymbole.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace CheckCRC;

namespace {

void Require(bool condition, const char* what, const QString& input) {
    if (condition)
        return;
    std::fprintf(stderr, "violated: %s\ninput: %s\n", what, input.toUtf8().toHex().constData());
    std::abort();
}

QString Decode(const uint8_t* data, size_t size, bool utf16) {
    if (utf16)
        return QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

void CheckIdentifiers(const QString& s) {
    const QString trimmed = TrimSpaces(s);
    Require(!trimmed.startsWith(u' ') && !trimmed.endsWith(u' '), "TrimSpaces trims", s);
    Require(TrimSpaces(trimmed) == trimmed, "TrimSpaces idempotent", s);

    const bool pesel = IsValidPESEL(s);
    const QDate birth = PeselBirthDate(s);
    const int sex = PeselSex(s);
    Require(sex >= 0 && sex <= 2, "PeselSex range", s);
    Require(!pesel || (trimmed.size() == 11 && sex != 0), "valid PESEL has 11 digits and a sex", s);
    Require(!birth.isValid() || (birth.year() >= 1800 && birth.year() <= 2299), "PESEL year range", s);
    Require(PeselMatchesBirthDate(s, birth), "PESEL matches its own birth date", s);

    const bool nip = IsValidNIP(s);
    Require(!nip || trimmed.size() == 10 || trimmed.size() == 13, "NIP length", s);
    const bool regon = IsValidREGON(s);
    Require(!regon || (trimmed.size() >= 9 && trimmed.size() <= 15), "REGON length", s);

    Require(!IsValidPostalCode(s) || trimmed.size() == 0 || trimmed.size() == 5 || trimmed.size() == 6,
            "postal code length", s);
    Require(!IsValidEmail(s) || s.contains(u'@'), "e-mail has an at sign", s);
    Require(!IsEmailPart(s) || !s.contains(u'@'), "at sign is not an e-mail character", s);
    Require(!HasNonDigit(s) || !s.isEmpty(), "HasNonDigit of empty", s);
}

void CheckAccounts(const QString& s) {
    const int m = Mod97(s);
    Require(m >= 0 && m <= 96, "Mod97 range", s);
    const int r = IbanRemainder(s);
    Require(r >= 0 && r <= 96, "IbanRemainder range", s);
    Require(r == Mod97(LettersToDigits(KeepAlphanumeric(s.mid(4) + s.left(4)))), "IbanRemainder composition",
            s);
    const QString alnum = KeepAlphanumeric(s);
    Require(!HasNonDigit(LettersToDigits(alnum)), "letters become digits", s);
    LettersToDigits(s);

    const int check = CheckAccountNumber(s);
    Require(check == 0 || check == -1 || check == -2, "CheckAccountNumber range", s);
    Require(IsValidAccountNumber(s) == (CheckAccountNumber(TrimSpaces(s)) != -1), "IsValidAccountNumber", s);

    QString normalised = s.toUpper();
    if (NormalizeAccountNumber(normalised))
        Require(normalised.size() >= 2, "recognised account has a country", s);

    for (const TCharSet& set : {cDigits, cAccountLetters, cAccountBlanks, cEmailChars, cPostalSeparators}) {
        const TCharRun run = FindCharRun(s, set);
        Require(run.Start >= 0 && run.Start <= run.End && run.End <= s.size(), "FindCharRun bounds", s);
        if (run.Start >= 1 && set.Contains(s.at(run.Start - 1)))
            for (int i = run.Start; i <= run.End; ++i)
                Require(set.Contains(s.at(i - 1)), "FindCharRun run in set", s);
    }

    const QString nrb = NrbCheckDigits(s);
    Require(nrb.size() == 2 && !HasNonDigit(nrb), "NrbCheckDigits two digits", s);
}

void CheckPairs(const QString& a, const QString& b) {
    const int digits = IbanCheckDigits(a, b);
    Require(digits == -1 || (digits >= 2 && digits <= 98), "IbanCheckDigits range", a + u'|' + b);
    const QString suffix = TaxAccountSuffix(b);
    Require(suffix.isEmpty() || suffix.size() == 7, "TaxAccountSuffix length", b);
    const QString account = BuildTaxOfficeAccount(a, b);
    Require(suffix.isEmpty() ? account == a : account == NrbCheckDigits(a + suffix) + a + suffix,
            "BuildTaxOfficeAccount", a + u'|' + b);
    if (!suffix.isEmpty() && a.size() == 17 && !HasNonDigit(a))
        Require(CheckAccountNumber(account) == 0, "built tax-office account is valid", a + u'|' + b);

    const QDate date = PeselBirthDate(b);
    PeselMatchesBirthDate(a, date);
    PeselMatchesBirthDate(a, QDateTime(date, QTime(12, 0)));
}

void CheckSchema(const QString& s) {
    const TInternalFieldRecord* field = FindField(s);
    Require(!field || field->Symbol == s, "FindField exact", s);
    const TFieldType type = TextToFieldType(s);
    Require(TextToFieldType(FieldTypeToText(type)) == type, "field type text round trip", s);
    const QStringList options = GroupFieldOptions(s);
    Require(options.isEmpty() ||
                (field && (field->FieldType == ctRadioGroup || field->FieldType == ctCheckBoxGroup)),
            "options only for group fields", s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const bool utf16 = data[0] & 1;
    const QString text = Decode(data + 1, size - 1, utf16);

    CheckIdentifiers(text);
    CheckAccounts(text);
    CheckSchema(text);

    const qsizetype split = text.indexOf(QChar(0x1F));
    const QString first = split < 0 ? text : text.left(split);
    const QString second = split < 0 ? QString() : text.mid(split + 1);
    CheckPairs(first, second);
    CheckPairs(second, first);
    return 0;
}
