#pragma once
// A fake of the public REGON register service on 127.0.0.1 for the client's tests: the session
// (login with the user key, picture, code check, a code that lapses), searches by REGON, NIP
// or KRS, the service's message, full reports reached through links, and overrides that make
// any operation answer slowly or brokenly. Answers are written by hand in document order.

#include "FakeHttpServer.h"

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class TFakeRegonService {
public:
    static inline const QString Path = QStringLiteral("/wsBIR/UslugaBIRzewnPubl.svc/ajaxEndpoint/");

    TFakeRegonService();
    // The base address to put into the settings.
    QString BaseAddress() const { return Server.Address(Path); }

    // Session.
    QString UserKey = QStringLiteral("KluczTestowy0123456x");
    QString SessionId = QStringLiteral("Sesja0123abc");
    QString Code = QStringLiteral("AB12");
    const char* PictureFormat = "JPG";
    bool CodeLapsed = false;     // searches find nothing and the message is empty
    bool AcceptCodeAgain = true; // whether a lapsed code is accepted when checked again
    QString NothingFoundMessage =
        QStringLiteral("Nie znaleziono podmiotu dla podanych kryteriów wyszukiwania.");

    // Search answers by identifier and reports by "regon|report name" (inner documents).
    QMap<QString, QString> Searches;
    QMap<QString, QString> Reports;

    // Replaces the answer of an operation when it returns a value.
    std::function<std::optional<TFakeHttpReply>(const QString& Operation, const TFakeHttpRequest&)> Override;

    // Operation names of the requests received, in order, and the requests of one operation.
    QStringList Operations() const;
    QList<TFakeHttpRequest> RequestsOf(const QString& Operation) const;

    // The envelope {"d":"<text>"} of a d-value.
    static QByteArray Envelope(const QString& DValue);
    // The picture that the service sends.
    static QImage Picture();

    TFakeHttpServer Server;

private:
    TFakeHttpReply Handle(const TFakeHttpRequest& Request);
    TFakeHttpReply Search(const TFakeHttpRequest& Request);
    QString m_message;
};

// Builds answer documents by hand, keeping the order of the keys as written.
namespace FakeDoc {
struct TField {
    QString Key;
    QString Value;
    bool Raw = false; // null, a number or a Boolean, written as is
};
TField Null(const QString& Key);
TField Number(const QString& Key, const QString& Digits);
// {"k":"v",...}
QString Object(const QList<TField>& Fields);
// [{...},{...}]
QString Array(const QStringList& Objects);
// danePobierzPelnyRaport("regon","name", silo)
QString Link(const QString& Regon, const QString& Report, const QString& Silo);
} // namespace FakeDoc
