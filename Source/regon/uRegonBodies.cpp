#include "uRegonBodies.h"

namespace RegonBodies {

QString JsonEscaped(const QString& Value) {
    QString result;
    result.reserve(Value.size() + 8);
    static const QString special = QStringLiteral("\"\\\n\r\t");
    static const QString escape = QStringLiteral("\"\\nrt");
    for (const QChar c : Value) {
        if (const qsizetype i = special.indexOf(c); i >= 0)
            result += u'\\' + escape[i];
        else if (c.unicode() < 0x20)
            result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result;
}

QByteArray LoginBody(const QString& UserKey) {
    return (QStringLiteral("{\"pKluczUzytkownika\":\"") + JsonEscaped(UserKey) + QStringLiteral("\"}"))
        .toUtf8();
}

QByteArray CodeBody(const QString& Code) {
    return (QStringLiteral("{\"pCaptcha\":\"") + JsonEscaped(Code) + QStringLiteral("\"}")).toUtf8();
}

QByteArray SearchBody(const QString& Regon, const QString& Nip, const QString& Krs) {
    QString body = QStringLiteral(
        "{\"pParametryWyszukiwania\": {\"NazwaPodmiotu\": null,\"AdsSymbolGminy\": null,"
        "\"AdsSymbolMiejscowosci\": null,\"AdsSymbolPowiatu\": null,\"AdsSymbolUlicy\": null,"
        "\"AdsSymbolWojewodztwa\": null,\"Dzialalnosci\": null,\"PrzewazajacePKD\": false,\"Regon\": \"");
    body += JsonEscaped(Regon);
    body += QStringLiteral("\",\"Krs\": \"");
    body += JsonEscaped(Krs);
    body += QStringLiteral("\",\"Nip\": \"");
    body += JsonEscaped(Nip);
    body += QStringLiteral("\",\"Regony9zn\": null,\"Regony14zn\": null,\"Krsy\": null,\"Nipy\": null,"
                           "\"NumerwRejestrzeLubEwidencji\": null,\"OrganRejestrowy\": null,"
                           "\"RodzajRejestru\": null,\"FormaPrawna\": null},\"jestWojPowGmn\": true}");
    return body.toUtf8();
}

QByteArray ReportBody(const QString& Regon, const QString& ReportName, const QString& Silo) {
    return (QStringLiteral("{\"pRegon\":\"") + JsonEscaped(Regon) +
            QStringLiteral("\",\"pNazwaRaportu\":\"") + JsonEscaped(ReportName) +
            QStringLiteral("\", \"pSilosID\":\"") + JsonEscaped(Silo) + QStringLiteral("\"}"))
        .toUtf8();
}

} // namespace RegonBodies
