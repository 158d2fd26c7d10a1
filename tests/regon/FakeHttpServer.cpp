#include "FakeHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <cctype>

namespace {

// The request once its headers and the announced body have arrived.
bool ParseRequest(const QByteArray& Data, TFakeHttpRequest& Request) {
    const qsizetype end = Data.indexOf("\r\n\r\n");
    if (end < 0)
        return false;
    const QList<QByteArray> lines = Data.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    Request = TFakeHttpRequest();
    Request.Method = first.value(0);
    Request.Path = first.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            Request.Headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = Request.Headers.value("content-length", "0").toLongLong();
    if (Data.size() - end - 4 < length)
        return false;
    Request.Body = Data.mid(end + 4, length);
    return true;
}

} // namespace

TFakeHttpServer::TFakeHttpServer(THandler Handler) : m_handler(std::move(Handler)) {
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &TFakeHttpServer::Accept);
}

QString TFakeHttpServer::Address(const QString& Path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(Path);
}

void TFakeHttpServer::Accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            if (!buffer->isEmpty() && !std::isupper(static_cast<unsigned char>(buffer->at(0)))) {
                // Not HTTP (a TLS handshake, for one): answer as a plain server would.
                socket->write("HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
                return;
            }
            TFakeHttpRequest request;
            if (buffer->isEmpty() || !ParseRequest(*buffer, request))
                return;
            buffer->clear();
            Requests << request;
            const TFakeHttpReply reply = m_handler(request);
            if (reply.Silent)
                return;
            if (reply.DelayMs <= 0) {
                Answer(socket, reply);
                return;
            }
            QPointer<QTcpSocket> guarded(socket);
            QTimer::singleShot(reply.DelayMs, this, [this, guarded, reply] {
                if (guarded)
                    Answer(guarded, reply);
            });
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void TFakeHttpServer::Answer(QTcpSocket* Socket, const TFakeHttpReply& Reply) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(Reply.Status) +
                      (Reply.Status == 200 ? " OK" : " Error") + "\r\nContent-Type: " + Reply.ContentType +
                      "\r\n" + Reply.ExtraHeaders;
    if (!Reply.Unbounded)
        head += "Content-Length: " + QByteArray::number(Reply.Body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    Socket->write(head + (Reply.CutShort ? Reply.Body.left(Reply.Body.size() / 2) : Reply.Body));
    if (!Reply.Unbounded)
        Socket->disconnectFromHost();
}
