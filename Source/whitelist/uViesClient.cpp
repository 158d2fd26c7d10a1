#include "uViesClient.h"

#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrl>

#include <exception>

namespace ViesSettings {
QString ServiceAddress() {
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, ServiceAddressName, DefaultServiceAddress);
}
QString Requester() {
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, RequesterName, QString());
}
} // namespace ViesSettings

namespace {

const QString kUnreadable = QStringLiteral("Nieczytelna odpowiedź systemu VIES.");

// The member states' codes as VIES names them (Greece "EL", Northern Ireland "XI").
bool IsMemberState(const QString& Code) {
    static const QStringList codes = QStringLiteral("AT BE BG CY CZ DE DK EE EL ES FI FR HR HU IE IT LT LU LV MT "
                                                    "NL PL PT RO SE SI SK XI")
                                         .split(u' ');
    return codes.contains(Code);
}

// What VIES says when it cannot answer, in Polish.
QString ViesErrorText(const QString& Code) {
    if (Code == u"INVALID_INPUT")
        return QStringLiteral("System VIES odrzucił numer jako nieprawidłowy.");
    if (Code == u"MS_UNAVAILABLE" || Code == u"MS_MAX_CONCURRENT_REQ")
        return QStringLiteral("System państwa członkowskiego nie odpowiada; spróbuj później.");
    if (Code == u"SERVICE_UNAVAILABLE" || Code == u"GLOBAL_MAX_CONCURRENT_REQ" || Code == u"TIMEOUT")
        return QStringLiteral("System VIES jest chwilowo niedostępny; spróbuj później.");
    if (Code == u"INVALID_REQUESTER_INFO")
        return QStringLiteral("System VIES nie przyjął numeru VAT UE biura z ustawień (%1).")
            .arg(ViesSettings::RequesterName);
    return QStringLiteral("System VIES nie sprawdził numeru (%1).").arg(Code.left(40));
}

} // namespace

TViesClient::TViesClient()
    : FHttp({QStringLiteral("System VIES"), QStringLiteral("systemu VIES"), QStringLiteral("systemem VIES")}) {
    FHttp.SetTimeout(TWhiteListClient::DefaultTimeoutMs);
    FHttp.SetMaxAnswerBytes(TWhiteListClient::MaxAnswerBytes);
}

bool TViesClient::Fail(TFailure Kind, const QString& Text) {
    FFailure = Kind;
    FLastError = Text;
    return false;
}

bool TViesClient::Parse(const QByteArray& Raw, TViesCheck& Result, QString& Error, TFailure& Kind) {
    Result = TViesCheck();
    QJsonParseError pe{};
    const QJsonDocument doc = QJsonDocument::fromJson(Raw, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        Error = kUnreadable;
        Kind = TFailure::fUnreadable;
        return false;
    }
    const QJsonObject o = doc.object();
    const QJsonArray errors = o.value(u"errorWrappers").toArray();
    if (!errors.isEmpty()) {
        const QString code = errors.first().toObject().value(u"error").toString();
        Error = ViesErrorText(code);
        Kind = code == u"INVALID_INPUT" || code == u"INVALID_REQUESTER_INFO" ? TFailure::fRefused
                                                                           : TFailure::fUnreachable;
        return false;
    }
    if (!o.value(u"valid").isBool()) {
        Error = kUnreadable;
        Kind = TFailure::fUnreadable;
        return false;
    }
    auto text = [&](const char* Name) {
        const QString t = o.value(QLatin1String(Name)).toString().trimmed();
        return t == u"---" ? QString() : t;
    };
    Result.Valid = o.value(u"valid").toBool();
    Result.CountryCode = text("countryCode");
    Result.VatNumber = text("vatNumber");
    Result.Name = text("name");
    Result.Address = text("address");
    Result.RequestDate = text("requestDate");
    Result.RequestIdentifier = text("requestIdentifier");
    Result.Raw = Raw;
    return true;
}

bool TViesClient::Check(const QString& Country, const QString& Number, TViesCheck& Result) {
    Result = TViesCheck();
    FFailure = TFailure::fNone;
    FLastError.clear();
    const QString country = Country.trimmed().toUpper();
    QString number = Number.toUpper();
    number.remove(QRegularExpression(QStringLiteral("[\\s.\\-]")));
    if (number.startsWith(country))
        number.remove(0, country.size());
    static const QRegularExpression plain(QStringLiteral("^[0-9A-Z+*]{2,14}$"));
    if (!IsMemberState(country))
        return Fail(TFailure::fInput,
                    QStringLiteral("\"%1\" nie jest kodem państwa członkowskiego UE w systemie VIES.").arg(Country.left(10)));
    if (!plain.match(number).hasMatch())
        return Fail(TFailure::fInput, QStringLiteral("Nieprawidłowy numer VAT: \"%1\".").arg(Number.left(40)));

    QUrl url;
    QJsonObject body{{"countryCode", country}, {"vatNumber", number}};
    try {
        QString base = ViesSettings::ServiceAddress().trimmed();
        if (!base.endsWith(u'/'))
            base += u'/';
        url = QUrl(base + QStringLiteral("check-vat-number"), QUrl::StrictMode);
        if (!IsUsableServiceUrl(url) || url.hasQuery())
            return Fail(TFailure::fSettings, QStringLiteral("Nieprawidłowy adres systemu VIES w ustawieniach (%1): \"%2\".")
                                                 .arg(ViesSettings::ServiceAddressName, ViesSettings::ServiceAddress()));
        QString requester = ViesSettings::Requester().toUpper();
        requester.remove(QRegularExpression(QStringLiteral("[\\s.\\-]")));
        if (requester.size() > 2 && IsMemberState(requester.left(2))) {
            body.insert("requesterMemberStateCode", requester.left(2));
            body.insert("requesterNumber", requester.mid(2));
        }
    } catch (const std::exception& e) {
        return Fail(TFailure::fSettings,
                    QStringLiteral("Nie można odczytać ustawień systemu VIES: %1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        return Fail(TFailure::fSettings, QStringLiteral("Nie można odczytać ustawień systemu VIES."));
    }
    QNetworkRequest request(url);
    request.setRawHeader("Content-Type", "application/json");
    request.setRawHeader("Accept", "application/json");
    const QByteArray payload = QJsonDocument(body).toJson(QJsonDocument::Compact);
    THttpExchange::TAnswer answer;
    QString error;
    if (!FHttp.Send(request, &payload, answer, error))
        return Fail(TFailure::fUnreachable, error);
    // Refusals come as a status of error with the same error list as a body.
    if (answer.Status != 200) {
        TFailure kind = TFailure::fUnreachable;
        TViesCheck ignored;
        if (!Parse(answer.Body, ignored, error, kind) && kind != TFailure::fUnreadable)
            return Fail(kind, error);
        return Fail(answer.Status == 429 ? TFailure::fLimit : TFailure::fUnreachable,
                    QStringLiteral("System VIES odpowiedział błędem HTTP %1.").arg(answer.Status));
    }
    TFailure kind = TFailure::fNone;
    if (!Parse(answer.Body, Result, error, kind))
        return Fail(kind, error);
    return true;
}
