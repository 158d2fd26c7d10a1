#pragma once
// The session with the public REGON register service, as the REGON search window drives it:
// login, captcha picture, captcha check, search, the service's message and full reports with
// their links followed depth first.
//
// Every operation is one POST that is answered before the call returns: a local event loop
// that takes no user input runs until the answer is complete or the timeout (30 s unless set)
// has passed, under the hourglass cursor. Failures (no network, TLS errors, HTTP status other
// than 200, timeout, an answer that cannot be read) come back as false with a readable text in
// LastError(); nothing is thrown. A session lives as long as its client object.

#include "uHttpExchange.h"
#include "uRegonAnswer.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>


class TRegonClient {
public:
    static constexpr int DefaultTimeoutMs = 30000;
    // Reports followed from one search: no deeper than this, and no more than that many.
    static constexpr int MaxReportDepth = 8;
    static constexpr int MaxReports = 100;
    // Answers larger than this are refused, and cut off while they arrive.
    static constexpr qint64 MaxAnswerBytes = 8 * 1024 * 1024;
    static inline const QString AbortedText = THttpExchange::AbortedText;

    TRegonClient();
    ~TRegonClient();
    TRegonClient(const TRegonClient&) = delete;
    TRegonClient& operator=(const TRegonClient&) = delete;

    void SetTimeout(int Ms) { FHttp.SetTimeout(Ms); }
    int Timeout() const { return FHttp.Timeout(); }
    // The answer size limit (MaxAnswerBytes unless set).
    void SetMaxAnswerBytes(qint64 Bytes) { FHttp.SetMaxAnswerBytes(Bytes); }
    // Whether user input is delivered while a request is awaited (a window that disables its
    // own controls and offers a way to abort sets it); off by default.
    void SetAcceptUserInput(bool Accept) { FHttp.SetAcceptUserInput(Accept); }

    // Ends the request that runs now and refuses every later one (AbortedText), so that a chain
    // of reports stops at once; ClearAbort allows requests again.
    void Abort() { FHttp.Abort(); }
    void ClearAbort() { FHttp.ClearAbort(); }
    bool Aborted() const { return FHttp.Aborted(); }

    // The session identifier sent as header "sid" (a single blank until the first login).
    const QString& Sid() const { return FSid; }
    // Why the last operation failed; empty after success, also when the service simply refused
    // (a wrong code, an empty login answer).
    const QString& LastError() const { return FLastError; }

    // "Zaloguj" with the user key of the settings. True when the service gave a session
    // identifier made of letters and digits only (it travels in a header); otherwise the
    // identifier is left empty.
    bool Login();
    // "pobierzCaptcha": the picture in whatever image format the service sends.
    bool Captcha(QImage& Picture);
    // Login, then the picture when the login succeeded.
    bool StartSession(QImage& Picture);
    // "sprawdzCaptcha": whether the service accepts the typed code.
    bool CheckCaptcha(const QString& Code);
    // "daneSzukaj"; Answer.Found() tells whether the service found anything.
    bool Search(const QString& Regon, const QString& Nip, const QString& Krs, TRegonAnswer& Answer);
    // "DaneKomunikat": the service's message about the last search (may be empty).
    bool Message(QString& Text);
    // "danePobierzPelnyRaport" for one link.
    bool FullReport(const TRegonReportLink& Link, TRegonAnswer& Answer);

    // The whole search step of the window.
    enum class TSearchOutcome {
        soFailed,       // a request failed: LastError()
        soFound,        // Answer holds the results
        soMessage,      // nothing found; Message holds the service's explanation
        soNothing,      // nothing found and the service had nothing to say
        soCodeRejected, // the session's code had lapsed and was refused again: back to the code
                        // step with CodeRejectedText; Picture holds a new picture (may be null)
    };
    struct TSearchResult {
        TSearchOutcome Outcome = TSearchOutcome::soFailed;
        TRegonAnswer Answer;
        QString Message;
        QImage Picture;
    };
    static inline const QString CodeRejectedText =
        QStringLiteral("Kod zabezpieczający przepisany nieprawidłowo.");
    // Search; when nothing is found, ask for the message; an empty message means the code has
    // lapsed: the code is checked again and, when accepted, the search is repeated once.
    TSearchResult RunSearch(const QString& Regon, const QString& Nip, const QString& Krs,
                            const QString& Code);

    using TAnswerHandler = std::function<void(const TRegonAnswer&)>;
    using TLinkHandler = std::function<void(const TRegonReportLink&)>;
    // Hands Answer to OnAnswer, then for each of its report links in order: OnLink, the report
    // request and, on success, the same reading of the report (depth first). A failed report
    // request ends the links of the text that named it. A report already read in this call
    // (the same REGON and report name, whatever the silo),
    // one deeper than MaxReportDepth and any beyond MaxReports are not followed. False when a
    // report request failed.
    bool ReadResults(const TRegonAnswer& Answer, const TAnswerHandler& OnAnswer,
                     const TLinkHandler& OnLink = {});

    // One POST of the service: body sent as is, the answer's bytes kept in AnswerText().
    // Success when the answer is complete with HTTP status 200.
    bool Request(const QString& Operation, const QByteArray& Body);
    const QByteArray& AnswerText() const { return FAnswer; }

private:
    bool Post(const QString& Operation, const QByteArray& Body);
    // Request and decode; the d-value in Answer.
    bool Exchange(const QString& Operation, const QByteArray& Body, TRegonAnswer& Answer);
    bool Follow(const TRegonAnswer& Answer, int Depth, QStringList& Followed, const TAnswerHandler& OnAnswer,
                const TLinkHandler& OnLink);

    THttpExchange FHttp;
    QString FSid = QStringLiteral(" ");
    QString FLastError;
    QByteArray FAnswer;
};
