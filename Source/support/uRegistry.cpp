#include "uRegistry.h"

#include <QSettings>

#include <memory>

namespace Registry {

namespace {

struct KeyLocation {
    QString organisation;
    QString group;
};

KeyLocation locate(const QString& keyPath) {
    QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    KeyLocation loc;
    if (!parts.isEmpty())
        loc.organisation = parts.takeFirst();
    loc.group = parts.join(QLatin1Char('/'));
    return loc;
}

std::unique_ptr<QSettings> open(const QString& keyPath) {
    const KeyLocation loc = locate(keyPath);
    auto s = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, loc.organisation);
    if (!loc.group.isEmpty())
        s->beginGroup(loc.group);
    return s;
}

} // namespace

QString ReadString(const QString& KeyPath, const QString& Name, const QString& Default) {
    auto s = open(KeyPath);
    if (s->contains(Name))
        return s->value(Name).toString();
    s->setValue(Name, Default);
    return Default;
}

int32_t ReadInteger(const QString& KeyPath, const QString& Name, int32_t Default) {
    auto s = open(KeyPath);
    if (s->contains(Name)) {
        bool ok = false;
        const int32_t v = s->value(Name).toInt(&ok);
        return ok ? v : Default;
    }
    s->setValue(Name, Default);
    return Default;
}

void WriteString(const QString& KeyPath, const QString& Name, const QString& Value) {
    open(KeyPath)->setValue(Name, Value);
}

void WriteInteger(const QString& KeyPath, const QString& Name, int32_t Value) {
    open(KeyPath)->setValue(Name, Value);
}

bool ValueExists(const QString& KeyPath, const QString& Name) { return open(KeyPath)->contains(Name); }

QStringList ReadValues(const QString& KeyPath) {
    auto s = open(KeyPath);
    QStringList values;
    for (const QString& key : s->childKeys())
        values << s->value(key).toString();
    return values;
}

} // namespace Registry
