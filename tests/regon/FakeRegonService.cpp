#include "FakeRegonService.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

namespace FakeDoc {

namespace {
QString Quoted(const QString& Text) {
    const QByteArray array = QJsonDocument(QJsonArray{Text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}
} // namespace

TField Null(const QString& Key) {
    return {Key, QStringLiteral("null"), true};
}
TField Number(const QString& Key, const QString& Digits) {
    return {Key, Digits, true};
}
QString Object(const QList<TField>& Fields) {
    QStringList members;
    for (const TField& f : Fields)
        members << Quoted(f.Key) + u':' + (f.Raw ? f.Value : Quoted(f.Value));
    return u'{' + members.join(u',') + u'}';
}
QString Array(const QStringList& Objects) {
    return u'[' + Objects.join(u',') + u']';
}
QString Link(const QString& Regon, const QString& Report, const QString& Silo) {
    return QStringLiteral("danePobierzPelnyRaport(\"%1\",\"%2\", %3)").arg(Regon, Report, Silo);
}

} // namespace FakeDoc

TFakeRegonService::TFakeRegonService() : Server([this](const TFakeHttpRequest& r) { return Handle(r); }) {}

QByteArray TFakeRegonService::Envelope(const QString& DValue) {
    return QJsonDocument(QJsonObject{{QStringLiteral("d"), DValue}}).toJson(QJsonDocument::Compact);
}

QImage TFakeRegonService::Picture() {
    QImage image(60, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(5, 5, 20, 10, Qt::black);
    return image;
}

QStringList TFakeRegonService::Operations() const {
    QStringList operations;
    for (const TFakeHttpRequest& r : Server.Requests)
        operations << QString::fromUtf8(r.Path).mid(Path.size());
    return operations;
}

QList<TFakeHttpRequest> TFakeRegonService::RequestsOf(const QString& Operation) const {
    QList<TFakeHttpRequest> requests;
    for (const TFakeHttpRequest& r : Server.Requests)
        if (QString::fromUtf8(r.Path) == Path + Operation)
            requests << r;
    return requests;
}

TFakeHttpReply TFakeRegonService::Handle(const TFakeHttpRequest& Request) {
    const QString path = QString::fromUtf8(Request.Path);
    if (Request.Method != "POST" || !path.startsWith(Path))
        return {404, "text/html", "<html><body>Not found</body></html>"};
    const QString operation = path.mid(Path.size());
    if (Override)
        if (auto reply = Override(operation, Request))
            return *reply;
    const QJsonObject body = QJsonDocument::fromJson(Request.Body).object();
    TFakeHttpReply reply;
    if (operation == u"Zaloguj") {
        const bool known = body.value(u"pKluczUzytkownika").toString() == UserKey;
        reply.Body = Envelope(known ? SessionId : QString());
    } else if (operation == u"pobierzCaptcha") {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Picture().save(&buffer, PictureFormat);
        // The service escapes every slash of the Base64 text.
        reply.Body = "{\"d\":\"" + buffer.data().toBase64().replace("/", "\\/") + "\"}";
    } else if (operation == u"sprawdzCaptcha") {
        bool accepted = body.value(u"pCaptcha").toString() == Code;
        if (CodeLapsed)
            accepted = accepted && AcceptCodeAgain;
        if (accepted)
            CodeLapsed = false;
        reply.Body = Envelope(accepted ? QStringLiteral("true") : QStringLiteral("false"));
    } else if (operation == u"daneSzukaj") {
        reply = Search(Request);
    } else if (operation == u"DaneKomunikat") {
        reply.Body = Envelope(m_message);
    } else if (operation == u"danePobierzPelnyRaport") {
        const QString key = body.value(u"pRegon").toString() + u'|' + body.value(u"pNazwaRaportu").toString();
        if (!Reports.contains(key))
            return {500, "text/html", "<html><body>Raport nieznany</body></html>"};
        reply.Body = Envelope(Reports.value(key));
    } else {
        return {404, "text/html", "<html><body>Unknown operation</body></html>"};
    }
    return reply;
}

TFakeHttpReply TFakeRegonService::Search(const TFakeHttpRequest& Request) {
    const QJsonObject params =
        QJsonDocument::fromJson(Request.Body).object().value(u"pParametryWyszukiwania").toObject();
    m_message.clear();
    TFakeHttpReply reply;
    if (CodeLapsed) {
        reply.Body = Envelope(QString());
        return reply;
    }
    for (const char16_t* name : {u"Regon", u"Nip", u"Krs"}) {
        const QString value = params.value(QString::fromUtf16(name)).toString();
        if (!value.isEmpty() && Searches.contains(value)) {
            reply.Body = Envelope(Searches.value(value));
            return reply;
        }
    }
    m_message = NothingFoundMessage;
    reply.Body = Envelope(QString());
    return reply;
}
