#include "uWhiteListClient.h"

#include "CheckCRC.h"
#include "uWhiteListSettings.h"

#include <QNetworkRequest>

#include <exception>

TWhiteListClient::TWhiteListClient()
    : FHttp({QStringLiteral("Usługa wykazu podatników VAT"), QStringLiteral("usługi wykazu podatników VAT"),
             QStringLiteral("usługą wykazu podatników VAT")}) {
    FHttp.SetTimeout(DefaultTimeoutMs);
    FHttp.SetMaxAnswerBytes(MaxAnswerBytes);
}

QString TWhiteListClient::NipDigits(const QString& Text) {
    const QString t = Text.trimmed();
    if (!CheckCRC::IsValidNIP(t))
        return {};
    QString digits = t;
    digits.remove(u'-');
    return digits;
}

bool TWhiteListClient::Fail(TFailure Kind, const QString& Text) {
    FFailure = Kind;
    FLastError = Text;
    return false;
}

bool TWhiteListClient::CheckDate(const QDate& Date) {
    if (!Date.isValid())
        return Fail(TFailure::fInput, QStringLiteral("Nie podano daty, na którą sprawdzić wykaz podatników VAT."));
    if (Date > QDate::currentDate())
        return Fail(TFailure::fInput,
                    QStringLiteral("Wykaz podatników VAT nie odpowiada na dzień z przyszłości (%1).")
                        .arg(Date.toString(Qt::ISODate)));
    return true;
}

bool TWhiteListClient::Get(const QString& Path, const QDate& Date, QByteArray& Body) {
    QUrl url;
    QString error;
    try {
        if (!WhiteListSettings::RequestUrl(WhiteListSettings::ServiceAddress(), Path, Date.toString(Qt::ISODate),
                                           url, error))
            return Fail(TFailure::fSettings, error);
    } catch (const std::exception& e) {
        return Fail(TFailure::fSettings, QStringLiteral("Nie można odczytać adresu wykazu podatników VAT: %1")
                                             .arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        return Fail(TFailure::fSettings, QStringLiteral("Nie można odczytać adresu wykazu podatników VAT."));
    }
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "application/json");
    THttpExchange::TAnswer answer;
    if (!FHttp.Send(request, nullptr, answer, error))
        return Fail(TFailure::fUnreachable, error);
    if (answer.Status == 200) {
        Body = answer.Body;
        return true;
    }
    const QString said = WhiteListAnswer::RefusalText(answer.Body);
    if (answer.Status == 429)
        return Fail(TFailure::fLimit,
                    QStringLiteral("Wyczerpano limit zapytań do wykazu podatników VAT na dziś.%1")
                        .arg(said.isEmpty() ? QString() : QStringLiteral(" Usługa podała: ") + said));
    if (answer.Status == 400 && !said.isEmpty())
        return Fail(TFailure::fRefused, QStringLiteral("Wykaz podatników VAT odrzucił zapytanie: %1").arg(said));
    if (answer.Status >= 300 && answer.Status < 400)
        return Fail(TFailure::fUnreachable,
                    QStringLiteral("Usługa wykazu podatników VAT przekierowała zapytanie pod inny adres "
                                   "(HTTP %1); przekierowanie nie zostało wykonane.")
                        .arg(answer.Status));
    return Fail(answer.Status >= 500 ? TFailure::fUnreachable : TFailure::fRefused,
                QStringLiteral("Usługa wykazu podatników VAT odpowiedziała błędem HTTP %1.").arg(answer.Status));
}

// Clears the last outcome and gives the NIP's ten digits; empty, with the refusal noted,
// when the text is no valid NIP.
QString TWhiteListClient::StartWithNip(const QString& Nip) {
    FFailure = TFailure::fNone;
    FLastError.clear();
    const QString nip = NipDigits(Nip);
    if (nip.isEmpty())
        Fail(TFailure::fInput, QStringLiteral("Nieprawidłowy numer NIP: \"%1\".").arg(Nip.left(40)));
    return nip;
}

bool TWhiteListClient::SearchNip(const QString& Nip, const QDate& Date, TWhiteListSearch& Search) {
    Search = TWhiteListSearch();
    const QString nip = StartWithNip(Nip);
    if (nip.isEmpty())
        return false;
    QByteArray body;
    if (!CheckDate(Date) || !Get(QStringLiteral("api/search/nip/") + nip, Date, body))
        return false;
    QString error;
    if (!WhiteListAnswer::ParseSearch(body, Search, error))
        return Fail(TFailure::fUnreadable, error);
    return true;
}

bool TWhiteListClient::CheckAccount(const QString& Nip, const QString& Account, const QDate& Date,
                                    TWhiteListCheck& Check) {
    Check = TWhiteListCheck();
    const QString nip = StartWithNip(Nip);
    if (nip.isEmpty())
        return false;
    const QString account = WhiteListAnswer::AccountDigits(Account);
    if (account.isEmpty())
        return Fail(TFailure::fInput,
                    QStringLiteral("Wykaz podatników VAT zawiera tylko polskie rachunki o 26 cyfrach; "
                                   "\"%1\" nim nie jest.")
                        .arg(Account.left(40)));
    QByteArray body;
    if (!CheckDate(Date) ||
        !Get(QStringLiteral("api/check/nip/%1/bank-account/%2").arg(nip, account), Date, body))
        return false;
    QString error;
    if (!WhiteListAnswer::ParseCheck(body, Check, error))
        return Fail(TFailure::fUnreadable, error);
    return true;
}
