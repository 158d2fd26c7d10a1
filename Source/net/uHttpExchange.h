#pragma once
// One HTTP request of a public register service, answered before the call returns: a local
// event loop that takes no user input (unless allowed) runs until the answer is complete, the
// timeout has passed, the answer grew past the size limit or Abort was called, under the
// hourglass cursor. No redirect is followed; TLS errors are never ignored (Qt reports them as
// a failed reply). Nothing is thrown.
//
// A complete answer is handed back whatever its HTTP status: the caller decides what a status
// means for its service. Failures carry a Polish text naming the service.

#include <QByteArray>
#include <QString>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QUrl;

// Whether Url may carry a request to a register: https, or plain http only to this machine's
// loopback address (a local test service).
bool IsUsableServiceUrl(const QUrl& Url);

class THttpExchange {
public:
    static constexpr int DefaultTimeoutMs = 30000;
    static constexpr qint64 DefaultMaxAnswerBytes = 8 * 1024 * 1024;

    // The service's name in the forms the failure texts need.
    struct TNames {
        QString Nominative;   // "Usługa REGON" (nie odpowiedziała)
        QString Genitive;     // "usługi REGON" (odpowiedź ...)
        QString Instrumental; // "usługą REGON" (brak połączenia z ...)
    };
    explicit THttpExchange(TNames Names);
    ~THttpExchange();
    THttpExchange(const THttpExchange&) = delete;
    THttpExchange& operator=(const THttpExchange&) = delete;

    void SetTimeout(int Ms) { FTimeoutMs = Ms; }
    int Timeout() const { return FTimeoutMs; }
    void SetMaxAnswerBytes(qint64 Bytes) { FMaxAnswerBytes = Bytes; }
    qint64 MaxAnswerBytes() const { return FMaxAnswerBytes; }
    void SetAcceptUserInput(bool Accept) { FAcceptUserInput = Accept; }

    // Ends the request that runs now and refuses every later one (AbortedText).
    void Abort();
    void ClearAbort() { FAborted = false; }
    bool Aborted() const { return FAborted; }
    static inline const QString AbortedText = QStringLiteral("Wyszukiwanie przerwane.");

    struct TAnswer {
        int Status = 0;   // the HTTP status of a complete answer
        QByteArray Body;  // its bytes
    };
    // GET (Body null) or POST of Request. True with Answer when a complete answer arrived;
    // false with Error otherwise (no connection, TLS failure, timeout, too large, aborted,
    // cut short).
    bool Send(QNetworkRequest& Request, const QByteArray* Body, TAnswer& Answer, QString& Error);

    const TNames& Names() const { return FNames; }

private:
    TNames FNames;
    std::unique_ptr<QNetworkAccessManager> FHttp;
    QNetworkReply* FReply = nullptr;
    bool FAborted = false;
    bool FAcceptUserInput = false;
    int FTimeoutMs = DefaultTimeoutMs;
    qint64 FMaxAnswerBytes = DefaultMaxAnswerBytes;
};
