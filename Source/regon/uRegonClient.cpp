#include "uRegonClient.h"

#include "uRegonBodies.h"
#include "uRegonSettings.h"

#include <QNetworkRequest>

#include <exception>

namespace {

bool IsPlainIdentifier(const QString& Sid) {
    if (Sid.isEmpty())
        return false;
    for (const QChar c : Sid)
        if (!(c.unicode() < 0x80 && c.isLetterOrNumber()))
            return false;
    return true;
}

// Runs Step; an exception (settings that cannot be read, memory running out) becomes a failure
// with a text instead of leaving the client.
template <class TStep> bool Guarded(QString& Error, TStep&& Step) {
    try {
        return Step();
    } catch (const std::exception& e) {
        Error = QStringLiteral("Błąd zapytania do usługi REGON: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Error = QStringLiteral("Błąd zapytania do usługi REGON.");
    }
    return false;
}

// A report is the same whatever silo a link names: it is read once.
QString LinkKey(const TRegonReportLink& Link) {
    return Link.Regon + u'\n' + Link.ReportName;
}

} // namespace

TRegonClient::TRegonClient()
    : FHttp({QStringLiteral("Usługa REGON"), QStringLiteral("usługi REGON"), QStringLiteral("usługą REGON")}) {
    FHttp.SetTimeout(DefaultTimeoutMs);
    FHttp.SetMaxAnswerBytes(MaxAnswerBytes);
}
TRegonClient::~TRegonClient() = default;

bool TRegonClient::Request(const QString& Operation, const QByteArray& Body) {
    FAnswer.clear();
    FLastError.clear();
    return Guarded(FLastError, [&] { return Post(Operation, Body); });
}

bool TRegonClient::Post(const QString& Operation, const QByteArray& Body) {
    if (FHttp.Aborted()) {
        FLastError = THttpExchange::AbortedText;
        return false;
    }
    QUrl url;
    if (!RegonSettings::OperationUrl(RegonSettings::ServiceAddress(), Operation, url, FLastError))
        return false;
    QNetworkRequest request(url);
    request.setRawHeader("sid", FSid.toLatin1());
    request.setRawHeader("Content-type", "application/json");
    THttpExchange::TAnswer answer;
    if (!FHttp.Send(request, &Body, answer, FLastError))
        return false;
    if (answer.Status >= 300 && answer.Status < 400) {
        FLastError = QStringLiteral("Usługa REGON przekierowała zapytanie pod inny adres (HTTP %1); "
                                    "przekierowanie nie zostało wykonane.")
                         .arg(answer.Status);
        return false;
    }
    if (answer.Status != 200) {
        FLastError = QStringLiteral("Usługa REGON odpowiedziała błędem HTTP %1.").arg(answer.Status);
        return false;
    }
    FAnswer = answer.Body;
    return true;
}

bool TRegonClient::Exchange(const QString& Operation, const QByteArray& Body, TRegonAnswer& Answer) {
    Answer = TRegonAnswer();
    return Request(Operation, Body) && TRegonAnswer::Parse(FAnswer, Answer, FLastError);
}

bool TRegonClient::Login() {
    FSid = QStringLiteral(" ");
    QString key;
    if (!Guarded(FLastError, [&] {
            key = RegonSettings::UserKey();
            return true;
        }))
        return false;
    TRegonAnswer answer;
    const bool ok = Exchange(QStringLiteral("Zaloguj"), RegonBodies::LoginBody(key), answer);
    FSid = answer.Text();
    if (!ok)
        return false;
    if (!FSid.isEmpty() && !IsPlainIdentifier(FSid)) {
        FSid.clear();
        FLastError = QStringLiteral("Usługa REGON podała nieprawidłowy identyfikator sesji.");
    }
    return !FSid.isEmpty();
}

bool TRegonClient::Captcha(QImage& Picture) {
    Picture = QImage();
    TRegonAnswer answer;
    if (!Exchange(QStringLiteral("pobierzCaptcha"), {}, answer))
        return false;
    const QByteArray base64 = answer.Text().simplified().remove(u' ').toLatin1();
    if (base64.isEmpty())
        return false;
    const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (decoded)
        Picture = QImage::fromData(*decoded);
    if (Picture.isNull())
        FLastError = QStringLiteral("Nieczytelny obrazek z kodem zabezpieczającym.");
    return !Picture.isNull();
}

bool TRegonClient::StartSession(QImage& Picture) {
    Picture = QImage();
    return Login() && Captcha(Picture);
}

bool TRegonClient::CheckCaptcha(const QString& Code) {
    TRegonAnswer answer;
    return Exchange(QStringLiteral("sprawdzCaptcha"), RegonBodies::CodeBody(Code), answer) &&
           answer.Text().toUpper() == u"TRUE";
}

bool TRegonClient::Search(const QString& Regon, const QString& Nip, const QString& Krs,
                          TRegonAnswer& Answer) {
    return Exchange(QStringLiteral("daneSzukaj"), RegonBodies::SearchBody(Regon, Nip, Krs), Answer);
}

bool TRegonClient::Message(QString& Text) {
    TRegonAnswer answer;
    const bool ok = Exchange(QStringLiteral("DaneKomunikat"), {}, answer);
    Text = answer.Text();
    return ok;
}

bool TRegonClient::FullReport(const TRegonReportLink& Link, TRegonAnswer& Answer) {
    return Exchange(QStringLiteral("danePobierzPelnyRaport"),
                    RegonBodies::ReportBody(Link.Regon, Link.ReportName, Link.Silo), Answer);
}

TRegonClient::TSearchResult TRegonClient::RunSearch(const QString& Regon, const QString& Nip,
                                                    const QString& Krs, const QString& Code) {
    TSearchResult result;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Search(Regon, Nip, Krs, result.Answer))
            return result;
        if (result.Answer.Found()) {
            result.Outcome = TSearchOutcome::soFound;
            return result;
        }
        if (!Message(result.Message))
            return result;
        if (!result.Message.isEmpty()) {
            result.Outcome = TSearchOutcome::soMessage;
            return result;
        }
        if (attempt > 0)
            break;
        // Nothing found and nothing said: the session's code has lapsed. Check it again; once
        // accepted, the search is repeated.
        if (!CheckCaptcha(Code)) {
            if (FLastError.isEmpty()) {
                result.Outcome = TSearchOutcome::soCodeRejected;
                Captcha(result.Picture);
            }
            return result;
        }
    }
    result.Outcome = TSearchOutcome::soNothing;
    return result;
}

bool TRegonClient::ReadResults(const TRegonAnswer& Answer, const TAnswerHandler& OnAnswer,
                               const TLinkHandler& OnLink) {
    QStringList followed;
    return Follow(Answer, 0, followed, OnAnswer, OnLink);
}

bool TRegonClient::Follow(const TRegonAnswer& Answer, int Depth, QStringList& Followed,
                          const TAnswerHandler& OnAnswer, const TLinkHandler& OnLink) {
    if (OnAnswer)
        OnAnswer(Answer);
    if (Depth >= MaxReportDepth)
        return true;
    bool ok = true;
    for (const TRegonReportLink& link : Answer.ReportLinks()) {
        if (FHttp.Aborted()) {
            FLastError = AbortedText;
            return false;
        }
        const QString key = LinkKey(link);
        if (Followed.contains(key) || Followed.size() >= MaxReports)
            continue;
        Followed << key;
        if (OnLink)
            OnLink(link);
        TRegonAnswer report;
        if (!FullReport(link, report))
            return false;
        ok = Follow(report, Depth + 1, Followed, OnAnswer, OnLink) && ok;
    }
    return ok;
}
