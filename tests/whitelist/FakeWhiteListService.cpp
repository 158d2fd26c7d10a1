#include "FakeWhiteListService.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

QJsonValue TextOrNull(const QString& Text) {
    return Text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(Text);
}

TFakeHttpReply Json(int Status, const QJsonObject& Object) {
    TFakeHttpReply reply;
    reply.Status = Status;
    reply.Body = QJsonDocument(Object).toJson(QJsonDocument::Compact);
    return reply;
}

TFakeHttpReply Refusal(const char* Code, const char* Message) {
    return Json(400, QJsonObject{{"code", Code}, {"message", QString::fromUtf8(Message)}});
}

QJsonObject Result(QJsonObject Result) {
    static int counter = 0;
    Result.insert("requestId", QStringLiteral("fake-%1").arg(++counter));
    Result.insert("requestDateTime", QStringLiteral("10-12-2026 10:00:00"));
    return QJsonObject{{"result", Result}};
}

} // namespace

TFakeWhiteListService::TFakeWhiteListService()
    : Server([this](const TFakeHttpRequest& Request) { return Answer(Request); }) {}

TFakeWhiteListEntry TFakeWhiteListService::Sample() {
    TFakeWhiteListEntry e;
    e.Name = QStringLiteral("PRZEDSIĘBIORSTWO PRÓBNE SPÓŁKA Z O.O.");
    e.Regon = QStringLiteral("012345675");
    e.Krs = QStringLiteral("0000123456");
    e.WorkingAddress = QStringLiteral("DŁUGA 5/7, 00-950 WARSZAWA");
    e.RegistrationLegalDate = QStringLiteral("2001-05-01");
    e.Accounts = {QStringLiteral("12105000997603123456789123"), QStringLiteral("61109010140000071219812874")};
    return e;
}

QByteArray TFakeWhiteListService::SubjectJson(const QString& Nip, const TFakeWhiteListEntry& E) {
    QJsonArray accounts;
    for (const QString& a : E.Accounts)
        accounts.append(a);
    const QJsonObject subject{{"name", E.Name},
                              {"nip", Nip},
                              {"statusVat", E.Status},
                              {"regon", TextOrNull(E.Regon)},
                              {"pesel", QJsonValue::Null},
                              {"krs", TextOrNull(E.Krs)},
                              {"residenceAddress", TextOrNull(E.ResidenceAddress)},
                              {"workingAddress", TextOrNull(E.WorkingAddress)},
                              {"representatives", QJsonArray()},
                              {"registrationLegalDate", TextOrNull(E.RegistrationLegalDate)},
                              {"registrationDenialDate", QJsonValue::Null},
                              {"registrationDenialBasis", QJsonValue::Null},
                              {"restorationDate", QJsonValue::Null},
                              {"restorationBasis", QJsonValue::Null},
                              {"removalDate", TextOrNull(E.RemovalDate)},
                              {"removalBasis", TextOrNull(E.RemovalBasis)},
                              {"accountNumbers", accounts},
                              {"hasVirtualAccounts", false}};
    return QJsonDocument(subject).toJson(QJsonDocument::Compact);
}

TFakeHttpReply TFakeWhiteListService::Answer(const TFakeHttpRequest& Request) {
    ++RequestCount;
    if (Override)
        if (auto reply = Override(Request))
            return *reply;
    if (Limit == 0) {
        TFakeHttpReply reply;
        reply.Status = 429;
        reply.Body = "Too Many Requests";
        return reply;
    }
    if (Limit > 0)
        --Limit;
    static const QRegularExpression search(QStringLiteral("^/api/search/nip/(\\d+)\\?date=(\\d{4}-\\d\\d-\\d\\d)$"));
    static const QRegularExpression check(
        QStringLiteral("^/api/check/nip/(\\d+)/bank-account/(\\d+)\\?date=(\\d{4}-\\d\\d-\\d\\d)$"));
    const QString path = QString::fromLatin1(Request.Path);
    if (Request.Method != "GET")
        return Refusal("WL-190", "Niepoprawne żądanie.");
    if (const auto m = search.match(path); m.hasMatch()) {
        const QString nip = m.captured(1);
        if (nip.size() != 10)
            return Refusal("WL-113", "Pole 'NIP' ma nieprawidłową długość. Wymagane 10 znaków.");
        QJsonObject result;
        if (Subjects.contains(nip))
            result.insert("subject", QJsonDocument::fromJson(SubjectJson(nip, Subjects[nip])).object());
        else
            result.insert("subject", QJsonValue::Null);
        return Json(200, Result(result));
    }
    if (const auto m = check.match(path); m.hasMatch()) {
        const auto entry = Subjects.find(m.captured(1));
        const bool assigned = entry != Subjects.end() && entry->Accounts.contains(m.captured(2));
        return Json(200, Result(QJsonObject{{"accountAssigned", assigned ? "TAK" : "NIE"}}));
    }
    return Refusal("WL-190", "Niepoprawne żądanie.");
}
