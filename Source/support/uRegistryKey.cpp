#include "uRegistryKey.h"

#include "uPrivateFiles.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <algorithm>

namespace Registry {

namespace {

struct TKeyLocation {
    QString Organisation;
    QString Group;
};

TKeyLocation Locate(const QString& KeyPath) {
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    QStringList parts = KeyPath.split(separators, Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    TKeyLocation loc;
    if (!parts.isEmpty())
        loc.Organisation = parts.takeFirst();
    loc.Group = parts.join(QLatin1Char('/'));
    return loc;
}

std::unique_ptr<QSettings> Open(TRegistryScope Scope, const TKeyLocation& Loc) {
#if defined(Q_OS_WIN)
    // An organisation-only QSettings would land in "...\OrganizationDefaults" on Windows.
    const QString root = Scope == TRegistryScope::rsCurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                                                : QStringLiteral("HKEY_LOCAL_MACHINE");
    auto s = std::make_unique<QSettings>(root + QStringLiteral("\\Software\\") + Loc.Organisation,
                                         QSettings::NativeFormat);
#else
    const auto scope = Scope == TRegistryScope::rsCurrentUser ? QSettings::UserScope : QSettings::SystemScope;
    auto s = std::make_unique<QSettings>(QSettings::NativeFormat, scope, Loc.Organisation);
#endif
    s->setFallbacksEnabled(false);
    if (!Loc.Group.isEmpty())
        s->beginGroup(Loc.Group);
    return s;
}

// The user's own settings file (not the registry of Windows), kept owner-only.
bool IsUserFile(const std::unique_ptr<QSettings>& Settings) {
#if defined(Q_OS_WIN)
    return false;
#else
    return Settings && Settings->scope() == QSettings::UserScope;
#endif
}

bool IsPolicyGroup(const QString& Name) {
    return Name.compare(QLatin1String("UseHKLM"), Qt::CaseInsensitive) == 0 ||
           Name.compare(QLatin1String("default"), Qt::CaseInsensitive) == 0;
}

} // namespace

TRegistryKey::TRegistryKey(TRegistryScope Scope, const QString& KeyPath) {
    const TKeyLocation loc = Locate(KeyPath);
    if (!loc.Organisation.isEmpty())
        m_settings = Open(Scope, loc);
    // The user's file holds the register key: readable by its owner only. A machine-wide
    // file is the administrator's to set.
    if (IsUserFile(m_settings))
        PrivateFiles::Restrict(m_settings->fileName());
}

TRegistryKey::~TRegistryKey() = default;


bool TRegistryKey::IsValid() const {
    return m_settings != nullptr;
}

bool TRegistryKey::Readable() const {
    return m_settings && m_settings->status() != QSettings::AccessError;
}

bool TRegistryKey::Exists() const {
    if (!m_settings)
        return false;
    if (!m_settings->childKeys().isEmpty())
        return true;
    const QStringList groups = m_settings->childGroups();
    return std::any_of(groups.begin(), groups.end(), [](const QString& g) { return !IsPolicyGroup(g); });
}

bool TRegistryKey::HasValue(const QString& Name) const {
    return m_settings && !Name.isEmpty() && m_settings->contains(Name);
}

QVariant TRegistryKey::Value(const QString& Name) const {
    return HasValue(Name) ? m_settings->value(Name) : QVariant();
}

QStringList TRegistryKey::ValueNames() const {
    if (!m_settings)
        return {};
    QStringList names = m_settings->childKeys();
    names.sort();
    return names;
}

std::optional<QString> TRegistryKey::DefaultValue() const {
    for (const QLatin1String name : {QLatin1String("Default"), QLatin1String(".")})
        if (HasValue(name))
            return DataToText(m_settings->value(name));
    return std::nullopt;
}

bool TRegistryKey::Write(const QString& Name, const QVariant& Data) {
    // Checked first: QSettings keeps a change that it could not write in its shared
    // cache and would show it to later readers as if it had been stored.
    if (!m_settings || Name.isEmpty() || !m_settings->isWritable())
        return false;
    if (IsUserFile(m_settings)) {
        // Created owner-only before the first write; later writes keep the file's mode.
        const QString file = m_settings->fileName();
        PrivateFiles::MakeFolder(QFileInfo(file).path());
        PrivateFiles::Prepare(file);
    }
    m_settings->setValue(Name, Data);
    m_settings->sync();
    // A format error is met while reading the old file and does not stop the write.
    return m_settings->status() != QSettings::AccessError;
}

QString DataToText(const QVariant& Data) {
    if (Data.typeId() == QMetaType::QStringList)
        return Data.toStringList().join(QLatin1Char(','));
    return Data.toString();
}

} // namespace Registry
