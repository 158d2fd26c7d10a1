#include "uHttpExchange.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

// The hourglass for the duration of a request, where there is a GUI to show it.
class TRequestCursor {
public:
    TRequestCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (m_shown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TRequestCursor() {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
    }
    TRequestCursor(const TRequestCursor&) = delete;
    TRequestCursor& operator=(const TRequestCursor&) = delete;

private:
    bool m_shown;
};

QString SizeText(qint64 Bytes) {
    return Bytes >= 1024 * 1024 ? QStringLiteral("%1 MiB").arg(Bytes / (1024 * 1024))
                                : QStringLiteral("%1 KiB").arg(Bytes / 1024);
}

bool IsLoopback(const QString& Host) {
    if (Host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(Host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

bool IsUsableServiceUrl(const QUrl& Url) {
    const QString scheme = Url.scheme().toLower();
    return Url.isValid() && !Url.host().isEmpty() &&
           (scheme == u"https" || (scheme == u"http" && IsLoopback(Url.host())));
}

THttpExchange::THttpExchange(TNames Names) : FNames(std::move(Names)) {}

THttpExchange::~THttpExchange() = default;

void THttpExchange::Abort() {
    FAborted = true;
    // The reply finishes at once, which ends the wait in Send.
    if (FReply)
        FReply->abort();
}

bool THttpExchange::Send(QNetworkRequest& Request, const QByteArray* Body, TAnswer& Answer, QString& Error) {
    Answer = TAnswer();
    if (FAborted) {
        Error = AbortedText;
        return false;
    }
    const TRequestCursor cursor;
    if (!FHttp)
        FHttp = std::make_unique<QNetworkAccessManager>();
    // A redirect is never followed: it would carry the request to an address the settings did
    // not name.
    Request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    std::unique_ptr<QNetworkReply> reply(Body ? FHttp->post(Request, *Body) : FHttp->get(Request));
    FReply = reply.get();

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool tooLarge = false;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // An answer larger than the limit (announced or while it arrives) is cut off at once.
    auto checkSize = [&](qint64 Received) {
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (tooLarge || (Received <= FMaxAnswerBytes && announced <= FMaxAnswerBytes))
            return;
        tooLarge = true;
        loop.quit();
    };
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] { checkSize(0); });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop,
                     [&](qint64 Received, qint64) { checkSize(Received); });
    // An answer without a length may arrive with no progress signal: what waits unread counts.
    QObject::connect(reply.get(), &QIODevice::readyRead, &loop, [&] { checkSize(reply->bytesAvailable()); });
    timer.start(FTimeoutMs);
    if (!reply->isFinished())
        loop.exec(FAcceptUserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    FReply = nullptr;
    const bool finished = reply->isFinished() && !tooLarge && !FAborted;
    if (!finished) {
        QObject::disconnect(reply.get(), nullptr, &loop, nullptr);
        reply->abort();
        if (FAborted)
            Error = AbortedText;
        else if (tooLarge)
            Error = QStringLiteral("Odpowiedź %1 jest za duża (ponad %2); odrzucono ją.")
                        .arg(FNames.Genitive, SizeText(FMaxAnswerBytes));
        else
            Error = QStringLiteral("%1 nie odpowiedziała w ciągu %2 s.")
                        .arg(FNames.Nominative, QString::number(FTimeoutMs / 1000.0, 'g', 3));
        return false;
    }

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        Error = QStringLiteral("Brak połączenia z %1: %2").arg(FNames.Instrumental, reply->errorString());
        return false;
    }
    // A status of an error still carries the service's own explanation in its body; an
    // answer broken off while it arrived carries nothing to trust.
    const QNetworkReply::NetworkError error = reply->error();
    if (error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied) {
        Error = QStringLiteral("Odpowiedź %1 została przerwana: %2").arg(FNames.Genitive, reply->errorString());
        return false;
    }
    Answer.Status = status.toInt();
    Answer.Body = reply->readAll();
    return true;
}
