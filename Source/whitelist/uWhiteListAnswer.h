#pragma once
// The answers of the VAT white list service, read from its JSON:
//   search  {"result": {"subject": {...} | null, "requestId": "...", "requestDateTime": "..."}}
//   check   {"result": {"accountAssigned": "TAK" | "NIE", "requestId": "...", ...}}
//   refusal {"code": "WL-113", "message": "..."}   (HTTP 400)
// Anything else (HTML, a truncated or malformed document, a result missing its required
// members) is refused with a readable text; nothing of it is kept.

#include <QByteArray>
#include <QString>
#include <QStringList>

// One subject of the list as the service describes it for the date asked about.
struct TWhiteListSubject {
    QString Name;
    QString Nip;
    QString StatusVat; // "Czynny", "Zwolniony", "Niezarejestrowany"
    QString Regon;
    QString Pesel;
    QString Krs;
    QString ResidenceAddress;
    QString WorkingAddress;
    QString RegistrationLegalDate;
    QString RegistrationDenialDate;
    QString RegistrationDenialBasis;
    QString RestorationDate;
    QString RestorationBasis;
    QString RemovalDate;
    QString RemovalBasis;
    QStringList AccountNumbers; // 26 digits each
    bool HasVirtualAccounts = false;
};

struct TWhiteListSearch {
    bool Found = false; // false: the NIP is not on the list for that date
    TWhiteListSubject Subject;
    QString RequestId;
    QString RequestDateTime;
    QByteArray Raw;
    // "Czynny", "Zwolniony" as the service says; "Niezarejestrowany" when not found.
    QString Status() const;
};

struct TWhiteListCheck {
    bool Assigned = false;
    QString RequestId;
    QString RequestDateTime;
    QByteArray Raw;
};

namespace WhiteListAnswer {

inline const QString UnreadableText = QStringLiteral("Nieczytelna odpowiedź wykazu podatników VAT.");

bool ParseSearch(const QByteArray& Text, TWhiteListSearch& Search, QString& Error);
bool ParseCheck(const QByteArray& Text, TWhiteListCheck& Check, QString& Error);
// The service's own explanation of a refusal: "message (code)"; empty when Text holds none.
QString RefusalText(const QByteArray& Text);

// An account number as the service writes it: the 26 digits, without "PL", blanks or dashes;
// empty when Text is not a Polish account number of 26 digits.
QString AccountDigits(const QString& Text);
// "12 3456 7890 ..." for display.
QString GroupedAccount(const QString& Digits);

} // namespace WhiteListAnswer
