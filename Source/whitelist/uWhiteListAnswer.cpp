#include "uWhiteListAnswer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString TWhiteListSearch::Status() const {
    if (!Found)
        return QStringLiteral("Niezarejestrowany");
    return Subject.StatusVat;
}

namespace WhiteListAnswer {

namespace {

bool ReadObject(const QByteArray& Text, QJsonObject& Object) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(Text, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    Object = doc.object();
    return true;
}

// A member that must be text or null (null and absence read empty); false for any other kind.
bool Text(const QJsonObject& Object, const char* Name, QString& Value) {
    const QJsonValue v = Object.value(QLatin1String(Name));
    if (v.isString()) {
        Value = v.toString().trimmed();
        return true;
    }
    Value.clear();
    return v.isNull() || v.isUndefined();
}

// The result object with its request identifier, which every answer carries.
bool ReadResult(const QByteArray& Raw, QJsonObject& Result, QString& RequestId, QString& DateTime) {
    QJsonObject root;
    if (!ReadObject(Raw, root) || !root.value(u"result").isObject())
        return false;
    Result = root.value(u"result").toObject();
    return Text(Result, "requestId", RequestId) && !RequestId.isEmpty() &&
           Text(Result, "requestDateTime", DateTime);
}

bool ReadSubject(const QJsonObject& S, TWhiteListSubject& Subject) {
    const std::pair<const char*, QString*> texts[] = {
        {"name", &Subject.Name},
        {"nip", &Subject.Nip},
        {"statusVat", &Subject.StatusVat},
        {"regon", &Subject.Regon},
        {"pesel", &Subject.Pesel},
        {"krs", &Subject.Krs},
        {"residenceAddress", &Subject.ResidenceAddress},
        {"workingAddress", &Subject.WorkingAddress},
        {"registrationLegalDate", &Subject.RegistrationLegalDate},
        {"registrationDenialDate", &Subject.RegistrationDenialDate},
        {"registrationDenialBasis", &Subject.RegistrationDenialBasis},
        {"restorationDate", &Subject.RestorationDate},
        {"restorationBasis", &Subject.RestorationBasis},
        {"removalDate", &Subject.RemovalDate},
        {"removalBasis", &Subject.RemovalBasis},
    };
    for (const auto& [name, value] : texts)
        if (!Text(S, name, *value))
            return false;
    if (Subject.Name.isEmpty() || Subject.Nip.isEmpty())
        return false;
    const QJsonValue accounts = S.value(u"accountNumbers");
    if (accounts.isArray()) {
        for (const QJsonValue& a : accounts.toArray()) {
            const QString digits = AccountDigits(a.toString());
            if (!a.isString() || digits.isEmpty())
                return false;
            Subject.AccountNumbers << digits;
        }
    } else if (!accounts.isNull() && !accounts.isUndefined()) {
        return false;
    }
    const QJsonValue virtualAccounts = S.value(u"hasVirtualAccounts");
    if (!virtualAccounts.isBool() && !virtualAccounts.isNull() && !virtualAccounts.isUndefined())
        return false;
    Subject.HasVirtualAccounts = virtualAccounts.toBool(false);
    return true;
}

} // namespace

bool ParseSearch(const QByteArray& Raw, TWhiteListSearch& Search, QString& Error) {
    Search = TWhiteListSearch();
    QJsonObject result;
    bool ok = ReadResult(Raw, result, Search.RequestId, Search.RequestDateTime);
    if (ok) {
        const QJsonValue subject = result.value(u"subject");
        Search.Found = subject.isObject();
        ok = Search.Found ? ReadSubject(subject.toObject(), Search.Subject) : subject.isNull();
    }
    if (!ok) {
        Search = TWhiteListSearch();
        Error = UnreadableText;
        return false;
    }
    Search.Raw = Raw;
    return true;
}

bool ParseCheck(const QByteArray& Raw, TWhiteListCheck& Check, QString& Error) {
    Check = TWhiteListCheck();
    QJsonObject result;
    QString assigned;
    const bool ok = ReadResult(Raw, result, Check.RequestId, Check.RequestDateTime) &&
                    Text(result, "accountAssigned", assigned) && (assigned == u"TAK" || assigned == u"NIE");
    if (!ok) {
        Check = TWhiteListCheck();
        Error = UnreadableText;
        return false;
    }
    Check.Assigned = assigned == u"TAK";
    Check.Raw = Raw;
    return true;
}

QString RefusalText(const QByteArray& Raw) {
    QJsonObject root;
    QString code;
    QString message;
    if (!ReadObject(Raw, root) || !Text(root, "code", code) || !Text(root, "message", message) ||
        message.isEmpty())
        return {};
    // The service's text is shown as plain text, and only its first few hundred characters.
    message.truncate(300);
    return code.isEmpty() ? message : QStringLiteral("%1 (%2)").arg(message, code.left(20));
}

QString AccountDigits(const QString& Text) {
    QString digits;
    QString t = Text.trimmed();
    if (t.startsWith(u"PL", Qt::CaseInsensitive))
        t.remove(0, 2);
    for (const QChar c : t) {
        if (c.isDigit() && c.unicode() < 0x80)
            digits += c;
        else if (c != u' ' && c != u'-')
            return {};
    }
    return digits.size() == 26 ? digits : QString();
}

QString GroupedAccount(const QString& Digits) {
    if (Digits.size() != 26)
        return Digits;
    QString out = Digits.left(2);
    for (int i = 2; i < 26; i += 4)
        out += u' ' + Digits.mid(i, 4);
    return out;
}

} // namespace WhiteListAnswer
