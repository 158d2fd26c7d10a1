#pragma once
// Checks of Polish identifiers and formats: PESEL, NIP, REGON, bank account numbers
// (Polish NRB and any IBAN), postal codes and e-mail addresses, and the completion of a
// tax office's bank account from its middle digits.
//
// Every routine is a pure function: no state, no messages, no exceptions. Malformed input
// gives false, 0, -2, a null date or an empty text. Positions are 1-based, as in the
// account-number rules that use them. Every check of a single identifier first trims
// space characters (code 32 only) from both ends.

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

namespace CheckCRC {

// A set of characters with codes 0-255; a character above 255 belongs to no set.
class TCharSet {
public:
    constexpr TCharSet() = default;

    static constexpr TCharSet Range(char16_t First, char16_t Last) {
        TCharSet s;
        for (unsigned c = First; c <= Last && c < 256; ++c)
            s.m_bits[c / 64] |= uint64_t(1) << (c % 64);
        return s;
    }
    static constexpr TCharSet Of(std::u16string_view Chars) {
        TCharSet s;
        for (char16_t c : Chars)
            s = s | Range(c, c);
        return s;
    }
    constexpr TCharSet operator|(const TCharSet& Other) const {
        TCharSet s;
        for (size_t i = 0; i < m_bits.size(); ++i)
            s.m_bits[i] = m_bits[i] | Other.m_bits[i];
        return s;
    }
    constexpr bool Contains(QChar C) const {
        const char16_t c = C.unicode();
        return c < 256 && (m_bits[c / 64] >> (c % 64) & 1) != 0;
    }

private:
    std::array<uint64_t, 4> m_bits{};
};

inline constexpr TCharSet cDigits = TCharSet::Range(u'0', u'9');
inline constexpr TCharSet cAccountLetters = TCharSet::Range(u'A', u'Z');
inline constexpr TCharSet cAccountBlanks = TCharSet::Of(u"\t ");
inline constexpr TCharSet cEmailChars =
    TCharSet::Of(u"-._") | cDigits | cAccountLetters | TCharSet::Range(u'a', u'z');
inline constexpr TCharSet cPostalSeparators = TCharSet::Of(u" -");

// A run of characters found by FindCharRun: 1-based first and last positions.
struct TCharRun {
    int Start = 0;
    int End = 0;

    friend bool operator==(const TCharRun&, const TCharRun&) = default;
};

// Text without leading and trailing spaces (code 32 only; tabs stay).
QString TrimSpaces(const QString& Text);
// True when some character is not "0"-"9"; false for the empty text.
bool HasNonDigit(const QString& Text);

// Eleven digits with a correct check digit.
bool IsValidPESEL(const QString& Text);
// Birth date encoded in the first six digits (century from the month field: +20 2000s,
// +40 2100s, +60 2200s, +80 1800s). A null date when the text is not 6-11 digits or the
// date does not exist. The check digit is not tested.
QDate PeselBirthDate(const QString& Text);
// True when the PESEL is invalid (an invalid PESEL never gives a mismatch), otherwise
// whether its birth date is Date. The time-of-day overload cuts the time off.
bool PeselMatchesBirthDate(const QString& Text, const QDate& Date);
bool PeselMatchesBirthDate(const QString& Text, const QDateTime& Date);
// Sex digit (10th): 1 odd (man), 2 even (woman), 0 when the text is not 10-11 digits.
int PeselSex(const QString& Text);

// Ten digits, or thirteen characters in the dash patterns NNN-NNN-NN-NN, NNN-NN-NN-NNN,
// NNN-NN-NNN-NN or NNN-NNN-N-NNN, with a correct check digit.
bool IsValidNIP(const QString& Text);
// 9 to 14 digits (a dash allowed at position 10) whose first nine carry a correct check
// digit; digits 10-14 are not tested.
bool IsValidREGON(const QString& Text);

// Remainder modulo 97 of a decimal text (0-96); characters other than digits are skipped.
int Mod97(const QString& Digits);
// Digits copied; every other character c becomes the decimal text of (code of c - 55),
// so "A" gives "10" and "Z" gives "35".
QString LettersToDigits(const QString& Text);
// Only the digits and the letters "A"-"Z", in order.
QString KeepAlphanumeric(const QString& Text);
// Remainder of an IBAN text (first four characters moved to the end); 1 for a correct IBAN.
int IbanRemainder(const QString& Text);
// Check digits of the IBAN made of Country (empty means "PL") and the basic account number;
// -1 when the country is not two characters long.
int IbanCheckDigits(const QString& Country, const QString& Basic);
// The two check digits of a Polish account number (NRB) from its 24-digit basic number.
QString NrbCheckDigits(const QString& Basic);
// First run of characters of Set: its start and end positions; both equal the length of
// the text when no character of Set occurs.
TCharRun FindCharRun(const QString& Text, const TCharSet& Set);
// Recognises an upper-case account number: drops leading blanks and puts "PL" in front of
// a Polish number. True when the text is a Polish number or a foreign IBAN.
bool NormalizeAccountNumber(QString& Text);
// 0 recognised and valid, -1 recognised with a wrong check sum, -2 not an account number.
int CheckAccountNumber(const QString& Text);
// False only for a recognised account number with a wrong check sum.
bool IsValidAccountNumber(const QString& Text);

// NN-NNN, NN NNN, NNNNN or the empty text.
bool IsValidPostalCode(const QString& Text);
// Every character is one of "-", ".", "0"-"9", "A"-"Z", "_", "a"-"z" (true for the empty text).
bool IsEmailPart(const QString& Text);
bool IsValidEmail(const QString& Text);

// Last seven digits of a tax office's account for a tax type ("CIT" "1000000", VAT
// "2000000", PIT "3000000", "IND" "7000000"); empty for other types.
QString TaxAccountSuffix(const QString& TaxType);
// Full 26-digit account from the 17 middle digits and the tax type; the middle digits
// unchanged when the type has no suffix.
QString BuildTaxOfficeAccount(const QString& Middle, const QString& TaxType);

} // namespace CheckCRC
