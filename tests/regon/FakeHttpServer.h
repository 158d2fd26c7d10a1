#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the register client's tests: it records every
// request and answers each with what a handler returns (a status, a body, a delay, or nothing
// at all). One request per connection; the connection is closed after the answer.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <functional>

struct TFakeHttpRequest {
    QByteArray Method;
    QByteArray Path;
    QMap<QByteArray, QByteArray> Headers; // names in lower case
    QByteArray Body;
};

struct TFakeHttpReply {
    int Status = 200;
    QByteArray ContentType = "application/json; charset=utf-8";
    QByteArray Body;
    int DelayMs = 0;
    bool Silent = false;   // never answer
    bool CutShort = false; // announce the whole body, send half of it and close
    bool Unbounded = false; // no length announced: send the body and keep the connection open
    QByteArray ExtraHeaders; // further header lines, each ending in CR LF
};

class TFakeHttpServer : public QObject {
public:
    using THandler = std::function<TFakeHttpReply(const TFakeHttpRequest&)>;

    explicit TFakeHttpServer(THandler Handler);
    // "http://127.0.0.1:<port>" followed by Path.
    QString Address(const QString& Path = QString()) const;

    QList<TFakeHttpRequest> Requests;

private:
    void Accept();
    void Answer(QTcpSocket* Socket, const TFakeHttpReply& Reply);

    QTcpServer m_server;
    THandler m_handler;
};
