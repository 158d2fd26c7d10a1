#pragma once
// The EU's VIES check of a VAT number (its REST interface):
//   POST check-vat-number  {"countryCode", "vatNumber", "requesterMemberStateCode", "requesterNumber"}
//   -> {"valid": true|false, "name", "address", "requestDate", "requestIdentifier", ...}
// When the office's own EU VAT number is set ("ViesRequesterVatNumber", e.g. "PL5260250995"),
// it is sent as the requester and the answer carries a consultation number, the proof of
// the check. The address ("ViesServiceAddress") follows the white list's rules: https only,
// http to loopback for a test service, imposable machine-wide. Failures as in
// TWhiteListClient: false, a Polish text and a kind; nothing thrown, nothing kept.

#include "uHttpExchange.h"
#include "uWhiteListClient.h"

#include <QByteArray>
#include <QString>

namespace ViesSettings {
inline const QString ServiceAddressName = QStringLiteral("ViesServiceAddress");
inline const QString DefaultServiceAddress =
    QStringLiteral("https://ec.europa.eu/taxation_customs/vies/rest-api/");
inline const QString RequesterName = QStringLiteral("ViesRequesterVatNumber");
QString ServiceAddress();
QString Requester();
} // namespace ViesSettings

struct TViesCheck {
    bool Valid = false;
    QString CountryCode;
    QString VatNumber;
    QString Name;    // "---" from the service reads empty
    QString Address;
    QString RequestDate;
    QString RequestIdentifier; // the consultation number (only with a requester)
    QByteArray Raw;
};

class TViesClient {
public:
    using TFailure = TWhiteListClient::TFailure;
    TViesClient();
    void SetTimeout(int Ms) { FHttp.SetTimeout(Ms); }

    // Country: the member state code ("DE"; Greece is "EL"); Number with or without it.
    bool Check(const QString& Country, const QString& Number, TViesCheck& Result);
    const QString& LastError() const { return FLastError; }
    TFailure Failure() const { return FFailure; }

    static bool Parse(const QByteArray& Raw, TViesCheck& Result, QString& Error, TFailure& Kind);

private:
    bool Fail(TFailure Kind, const QString& Text);

    THttpExchange FHttp;
    QString FLastError;
    TFailure FFailure = TFailure::fNone;
};
