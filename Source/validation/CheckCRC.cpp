#include "CheckCRC.h"

namespace CheckCRC {

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int DigitAt(const QString& s, int position) {
    return s.at(position - 1).unicode() - u'0';
}

// Number made of the digits at positions first..first+count-1 (all known to be digits).
int NumberAt(const QString& s, int first, int count) {
    int n = 0;
    for (int i = 0; i < count; ++i)
        n = n * 10 + DigitAt(s, first + i);
    return n;
}

// Weighted sum of the leading digits of s (one weight per digit).
template <size_t N> int WeightedSum(const QString& s, const int (&weights)[N]) {
    int sum = 0;
    for (size_t i = 0; i < N; ++i)
        sum += DigitAt(s, int(i) + 1) * weights[i];
    return sum;
}

bool IsAllDigits(const QString& s, int minLength, int maxLength) {
    return s.size() >= minLength && s.size() <= maxLength && !HasNonDigit(s);
}

// Removes the character at position when it is a dash.
bool RemoveDashAt(QString& s, int position) {
    if (position > s.size() || s.at(position - 1) != u'-')
        return false;
    s.remove(position - 1, 1);
    return true;
}

// Text without leading and trailing characters of code 32 or below.
QString TrimControls(const QString& s) {
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s.at(first).unicode() <= 32)
        ++first;
    while (last > first && s.at(last - 1).unicode() <= 32)
        --last;
    return s.mid(first, last - first);
}

} // namespace

QString TrimSpaces(const QString& Text) {
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && Text.at(first) == u' ')
        ++first;
    while (last > first && Text.at(last - 1) == u' ')
        --last;
    return Text.mid(first, last - first);
}

bool HasNonDigit(const QString& Text) {
    for (QChar c : Text)
        if (!IsDigit(c))
            return true;
    return false;
}

bool IsValidPESEL(const QString& Text) {
    const QString s = TrimSpaces(Text);
    if (!IsAllDigits(s, 11, 11))
        return false;
    const int sum = WeightedSum(s, {1, 3, 7, 9, 1, 3, 7, 9, 1, 3});
    return DigitAt(s, 11) == (10 - sum % 10) % 10;
}

QDate PeselBirthDate(const QString& Text) {
    const QString s = TrimSpaces(Text);
    if (!IsAllDigits(s, 6, 11))
        return QDate();
    const int y = NumberAt(s, 1, 2);
    int m = NumberAt(s, 3, 2);
    const int d = NumberAt(s, 5, 2);
    int year = 1900 + y;
    if (m >= 21 && m <= 32) {
        m -= 20;
        year = 2000 + y;
    } else if (m >= 41 && m <= 52) {
        m -= 40;
        year = 2100 + y;
    } else if (m >= 61 && m <= 72) {
        m -= 60;
        year = 2200 + y;
    } else if (m >= 81 && m <= 92) {
        m -= 80;
        year = 1800 + y;
    }
    return QDate::isValid(year, m, d) ? QDate(year, m, d) : QDate();
}

bool PeselMatchesBirthDate(const QString& Text, const QDate& Date) {
    if (!IsValidPESEL(Text))
        return true;
    return PeselBirthDate(Text) == Date;
}

bool PeselMatchesBirthDate(const QString& Text, const QDateTime& Date) {
    return PeselMatchesBirthDate(Text, Date.date());
}

int PeselSex(const QString& Text) {
    const QString s = TrimSpaces(Text);
    if (!IsAllDigits(s, 10, 11))
        return 0;
    return DigitAt(s, 10) % 2 == 1 ? 1 : 2;
}

bool IsValidNIP(const QString& Text) {
    QString s = TrimSpaces(Text);
    if (s.size() == 13) {
        // Each removal is tested on the text left by the previous one.
        const bool reduced = (RemoveDashAt(s, 11) || RemoveDashAt(s, 10)) &&
                             (RemoveDashAt(s, 8) || RemoveDashAt(s, 7)) && RemoveDashAt(s, 4);
        if (!reduced)
            return false;
    }
    if (!IsAllDigits(s, 10, 10))
        return false;
    const int sum = WeightedSum(s, {6, 5, 7, 2, 3, 4, 5, 6, 7});
    return DigitAt(s, 10) == sum % 11;
}

bool IsValidREGON(const QString& Text) {
    QString s = TrimSpaces(Text);
    RemoveDashAt(s, 10);
    if (!IsAllDigits(s, 9, 14))
        return false;
    const int sum = WeightedSum(s, {8, 9, 2, 3, 4, 5, 6, 7});
    return DigitAt(s, 9) == sum % 11 % 10;
}

int Mod97(const QString& Digits) {
    int r = 0;
    for (QChar c : Digits)
        if (IsDigit(c))
            r = (r * 10 + (c.unicode() - u'0')) % 97;
    return r;
}

QString LettersToDigits(const QString& Text) {
    QString result;
    result.reserve(Text.size() * 2);
    for (QChar c : Text) {
        if (IsDigit(c))
            result += c;
        else
            result += QString::number(int(c.unicode()) - 55);
    }
    return result;
}

QString KeepAlphanumeric(const QString& Text) {
    QString result;
    result.reserve(Text.size());
    for (QChar c : Text)
        if (cDigits.Contains(c) || cAccountLetters.Contains(c))
            result += c;
    return result;
}

int IbanRemainder(const QString& Text) {
    // Same result as Mod97(LettersToDigits(KeepAlphanumeric(moved text))) without building
    // the intermediate texts: a letter stands for exactly two digits (10-35).
    int r = 0;
    auto feed = [&r](QChar c) {
        if (cDigits.Contains(c))
            r = (r * 10 + (c.unicode() - u'0')) % 97;
        else if (cAccountLetters.Contains(c))
            r = (r * 100 + (c.unicode() - 55)) % 97;
    };
    const qsizetype head = qMin<qsizetype>(4, Text.size());
    for (qsizetype i = head; i < Text.size(); ++i)
        feed(Text.at(i));
    for (qsizetype i = 0; i < head; ++i)
        feed(Text.at(i));
    return r;
}

int IbanCheckDigits(const QString& Country, const QString& Basic) {
    const QString country = Country.isEmpty() ? QStringLiteral("PL") : Country;
    if (country.size() != 2)
        return -1;
    return 98 - IbanRemainder((country + QStringLiteral("00") + Basic).toUpper());
}

QString NrbCheckDigits(const QString& Basic) {
    return QString::number(IbanCheckDigits(QStringLiteral("PL"), Basic)).rightJustified(2, u'0');
}

TCharRun FindCharRun(const QString& Text, const TCharSet& Set) {
    const int length = int(Text.size());
    int i = 0;
    while (i < length && !Set.Contains(Text.at(i)))
        ++i;
    if (i == length)
        return {length, length};
    int end = i;
    while (end + 1 < length && Set.Contains(Text.at(end + 1)))
        ++end;
    return {i + 1, end + 1};
}

bool NormalizeAccountNumber(QString& Text) {
    // FindCharRun reports a run that was not found at the end of the text, so each run
    // below is also checked to begin with a character of its set.
    const TCharRun blanks = FindCharRun(Text, cAccountBlanks);
    if (blanks.Start == 1 && cAccountBlanks.Contains(Text.at(0)))
        Text.remove(0, blanks.End);

    const int length = int(Text.size());
    auto isLetterAt = [&Text, length](int position) {
        return position <= length && cAccountLetters.Contains(Text.at(position - 1));
    };
    auto isDigitAt = [&Text, length](int position) {
        return position <= length && cDigits.Contains(Text.at(position - 1));
    };

    const TCharRun digits = FindCharRun(Text, cDigits);
    const bool digitsFirst = digits.Start == 1 && isDigitAt(1);
    bool polish =
        digitsFirst && ((digits.End == 2 && !isLetterAt(3)) || (digits.End == 10 && !isLetterAt(11)));
    if (!polish)
        polish = digitsFirst && digits.End >= 2 && FindCharRun(Text, cDigits | cAccountLetters).End == length;

    const TCharRun letters = FindCharRun(Text, cAccountLetters);
    const bool foreign =
        letters.Start == 1 && isLetterAt(1) && letters.End == 2 && isDigitAt(3) && isDigitAt(4);

    if (polish)
        Text.prepend(u"PL");
    return polish || foreign;
}

int CheckAccountNumber(const QString& Text) {
    QString s = Text.toUpper();
    if (!NormalizeAccountNumber(s))
        return -2;
    return IbanRemainder(s) == 1 ? 0 : -1;
}

bool IsValidAccountNumber(const QString& Text) {
    return CheckAccountNumber(TrimSpaces(Text)) != -1;
}

bool IsValidPostalCode(const QString& Text) {
    const QString s = TrimSpaces(Text);
    switch (s.size()) {
    case 0:
        return true;
    case 5:
        return !HasNonDigit(s);
    case 6:
        for (int i : {0, 1, 3, 4, 5})
            if (!IsDigit(s.at(i)))
                return false;
        return cPostalSeparators.Contains(s.at(2));
    default:
        return false;
    }
}

bool IsEmailPart(const QString& Text) {
    for (QChar c : Text)
        if (!cEmailChars.Contains(c))
            return false;
    return true;
}

bool IsValidEmail(const QString& Text) {
    const QString t = TrimControls(Text);
    const qsizetype at = t.indexOf(u'@');
    if (at < 0 || !t.contains(u'.'))
        return false;
    const QString local = t.left(at);
    const QString domain = t.mid(at + 1);
    if (local.isEmpty() || domain.isEmpty())
        return false;
    // The first dot of the domain needs at least two characters after it.
    const qsizetype dot = domain.indexOf(u'.') + 1;
    if (dot > domain.size() - 2)
        return false;
    return IsEmailPart(local) && IsEmailPart(domain);
}

QString TaxAccountSuffix(const QString& TaxType) {
    const QString u = TaxType.left(3).toUpper();
    if (u == u"CIT")
        return QStringLiteral("1000000");
    if (u == u"VAT" || u == u"GL" || u == u"POG" || u == u"VAI" || u == u"VAP")
        return QStringLiteral("2000000");
    if (u == u"PIT" || u == u"PPL" || u == u"PPD" || u == u"PPE" || u == u"PPW")
        return QStringLiteral("3000000");
    if (u == u"IND")
        return QStringLiteral("7000000");
    return QString();
}

QString BuildTaxOfficeAccount(const QString& Middle, const QString& TaxType) {
    const QString tail = TaxAccountSuffix(TaxType);
    if (tail.isEmpty())
        return Middle;
    return NrbCheckDigits(Middle + tail) + Middle + tail;
}

} // namespace CheckCRC
