#include "uColumnMapping.h"

#include "uRegistry.h"
#include "uSubjectFields.h"

#include <QCryptographicHash>
#include <QHash>

namespace ColumnMapping {

namespace {

const QString kKey = QStringLiteral("Software\\Quorsys\\Ewidar\\ImportPodmiotow");

// Other captions that spreadsheets commonly give the fields.
const QHash<QString, QString>& Aliases() {
    static const QHash<QString, QString> aliases = {
        {QStringLiteral("firma"), QStringLiteral("nazwa")},      {QStringLiteral("nazwafirmy"), QStringLiteral("nazwa")},
        {QStringLiteral("tel"), QStringLiteral("telefon")},      {QStringLiteral("nrtelefonu"), QStringLiteral("telefon")},
        {QStringLiteral("mail"), QStringLiteral("email")},       {QStringLiteral("adresemail"), QStringLiteral("email")},
        {QStringLiteral("kod"), QStringLiteral("kod_pocztowy")}, {QStringLiteral("konto"), QStringLiteral("rachunek")},
        {QStringLiteral("nrrachunku"), QStringLiteral("rachunek")},
        {QStringLiteral("numerrachunku"), QStringLiteral("rachunek")},
        {QStringLiteral("miasto"), QStringLiteral("miejscowosc")},
    };
    return aliases;
}

QString HeaderName(const QStringList& Header) {
    QStringList parts;
    for (const QString& h : Header)
        parts.append(Normalized(h));
    return QString::fromLatin1(
        QCryptographicHash::hash(parts.join(u'\x1f').toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

QString Normalized(const QString& Caption) {
    static const QString from = QStringLiteral("ąćęłńóśźż");
    static const QString to = QStringLiteral("acelnoszz");
    QString out;
    for (QChar c : Caption.toLower()) {
        if (const qsizetype i = from.indexOf(c); i >= 0)
            c = to[i];
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            out += c;
    }
    return out;
}

TMapping ByCaption(const QStringList& Header) {
    const auto& fields = SubjectFields::Fields();
    QHash<QString, int> byName;
    for (size_t i = 0; i < fields.size(); ++i) {
        byName.insert(Normalized(fields[i].Caption), static_cast<int>(i));
        byName.insert(Normalized(fields[i].Key), static_cast<int>(i));
    }
    for (auto it = Aliases().begin(); it != Aliases().end(); ++it)
        byName.insert(it.key(), SubjectFields::IndexOfKey(it.value()));
    TMapping out;
    QList<int> taken;
    for (const QString& h : Header) {
        const int field = byName.value(Normalized(h), -1);
        out.append(field >= 0 && !taken.contains(field) ? field : -1);
        if (field >= 0)
            taken.append(field);
    }
    return out;
}

TMapping Remembered(const QStringList& Header) {
    try {
        const QString name = HeaderName(Header);
        if (!Registry::ValueExists(kKey, name))
            return {};
        const QStringList keys = Registry::ReadString(kKey, name, {}).split(u',');
        if (keys.size() != Header.size())
            return {};
        TMapping out;
        for (const QString& k : keys)
            out.append(k.isEmpty() ? -1 : SubjectFields::IndexOfKey(k));
        return out;
    } catch (const Registry::ERegistryException&) {
        return {};
    }
}

TMapping Guess(const QStringList& Header) {
    const TMapping remembered = Remembered(Header);
    return remembered.isEmpty() ? ByCaption(Header) : remembered;
}

bool Remember(const QStringList& Header, const TMapping& Mapping) {
    const auto& fields = SubjectFields::Fields();
    QStringList keys;
    for (const int f : Mapping)
        keys.append(f >= 0 && f < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(f)].Key : QString());
    try {
        Registry::WriteString(kKey, HeaderName(Header), keys.join(u','));
        return true;
    } catch (const Registry::ERegistryException&) {
        return false;
    }
}

} // namespace ColumnMapping
