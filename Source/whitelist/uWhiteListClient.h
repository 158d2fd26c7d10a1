#pragma once
// Questions to the VAT white list service of the finance ministry:
//   GET api/search/nip/{nip}?date=yyyy-mm-dd                        the subject and its accounts
//   GET api/check/nip/{nip}/bank-account/{account}?date=yyyy-mm-dd   is the account assigned
// Each is answered before the call returns (THttpExchange: timeout, size limit, no redirect,
// TLS errors never ignored). Input is checked before anything is sent: a NIP with a wrong check
// digit, an account that is not 26 digits or a date in the future never reach the service.
// Every failure is false with a Polish text in LastError() and its kind in Failure(); nothing
// is thrown and nothing of a failed answer is kept.

#include "uHttpExchange.h"
#include "uWhiteListAnswer.h"

#include <QDate>
#include <QString>

class TWhiteListClient {
public:
    static constexpr int DefaultTimeoutMs = 20000;
    static constexpr qint64 MaxAnswerBytes = 1024 * 1024;

    enum class TFailure {
        fNone,
        fInput,       // the question itself is wrong (not sent)
        fSettings,    // the address in the settings is not usable (not sent)
        fUnreachable, // no connection, TLS failure, timeout, cut short, too large
        fLimit,       // the service's daily limit of questions is spent
        fRefused,     // the service refused the question (its explanation in LastError)
        fUnreadable,  // an answer that could not be read
    };

    TWhiteListClient();

    void SetTimeout(int Ms) { FHttp.SetTimeout(Ms); }
    void SetMaxAnswerBytes(qint64 Bytes) { FHttp.SetMaxAnswerBytes(Bytes); }

    bool SearchNip(const QString& Nip, const QDate& Date, TWhiteListSearch& Search);
    bool CheckAccount(const QString& Nip, const QString& Account, const QDate& Date, TWhiteListCheck& Check);

    const QString& LastError() const { return FLastError; }
    TFailure Failure() const { return FFailure; }
    // Whether a failure leaves the question to the flat file: the service could not be asked.
    bool ServiceUnavailable() const {
        return FFailure == TFailure::fUnreachable || FFailure == TFailure::fLimit;
    }

    // The NIP as the service takes it: ten digits without dashes; empty when not a valid NIP.
    static QString NipDigits(const QString& Text);

private:
    // GET of Path for Date; the body of a 200 answer in Body.
    bool Get(const QString& Path, const QDate& Date, QByteArray& Body);
    bool CheckDate(const QDate& Date);
    bool Fail(TFailure Kind, const QString& Text);
    QString StartWithNip(const QString& Nip);

    THttpExchange FHttp;
    QString FLastError;
    TFailure FFailure = TFailure::fNone;
};
