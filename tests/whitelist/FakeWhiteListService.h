#pragma once
// The VAT white list service on 127.0.0.1: subjects by NIP with their accounts, the two
// questions of the client, a daily limit, and an override that answers anything at all.

#include "FakeHttpServer.h"

#include <QMap>
#include <QStringList>

#include <functional>
#include <optional>

struct TFakeWhiteListEntry {
    QString Name;
    QString Status = QStringLiteral("Czynny");
    QString Regon;
    QString Krs;
    QString ResidenceAddress;
    QString WorkingAddress;
    QString RegistrationLegalDate;
    QString RemovalDate;
    QString RemovalBasis;
    QStringList Accounts;
};

class TFakeWhiteListService {
public:
    TFakeWhiteListService();
    // "http://127.0.0.1:<port>/"
    QString BaseAddress() const { return Server.Address(QStringLiteral("/")); }

    QMap<QString, TFakeWhiteListEntry> Subjects; // by NIP
    // Questions answered before the limit is spent (-1: no limit).
    int Limit = -1;
    // When set, answers every request instead of the service.
    std::function<std::optional<TFakeHttpReply>(const TFakeHttpRequest&)> Override;
    int RequestCount = 0;

    // A company with a KRS number, an address and two accounts, as the tests use it.
    static TFakeWhiteListEntry Sample();
    // The subject as the service writes it.
    static QByteArray SubjectJson(const QString& Nip, const TFakeWhiteListEntry& Entry);

    TFakeHttpServer Server;

private:
    TFakeHttpReply Answer(const TFakeHttpRequest& Request);
};
