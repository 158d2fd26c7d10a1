#pragma once
// One registry key of the current user's or the machine-wide branch, mapped onto QSettings.
//
// Mapping (the same for both branches):
// - A key path "Software\Org\A\B" is organisation Org and group "A/B". A leading "Software" is
//   dropped; both '\' and '/' separate path components, and empty components are ignored, so
//   "Software\Quorsys\Ewidar\" and "Software\Quorsys\Ewidar" are the same group. A path that
//   names no organisation is no key at all: it never exists and cannot be written.
// - The key names "K/UseHKLM" and "K/default" of the machine-wide policy therefore become the
//   subgroups "UseHKLM" and "default" of K's group, and a value name "V/UseHKLM" becomes the
//   value "UseHKLM" of the subgroup V.
// - A key exists when its group holds a value or a subkey. The subgroups "UseHKLM" and
//   "default" do not count: they stand for the sibling keys "K/UseHKLM" and "K/default".
//   (QSettings cannot keep an empty group, so an empty key does not exist.)
// - A key's default value is its value named "Default", else its value named "." (the names
//   under which QSettings reaches a registry key's default value on Windows).
// - The user's object never falls back to the machine-wide files: the policy decides that.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;

namespace Registry {

enum class TRegistryScope { rsCurrentUser, rsLocalMachine };

class TRegistryKey {
public:
    TRegistryKey(TRegistryScope Scope, const QString& KeyPath);
    ~TRegistryKey();
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;

    // False when the path names no organisation.
    bool IsValid() const;
    // False when the settings file exists but cannot be read.
    bool Readable() const;
    bool Exists() const;
    bool HasValue(const QString& Name) const;
    // The stored data; invalid when the value does not exist.
    QVariant Value(const QString& Name) const;
    // Names of the values directly under the key, in name order.
    QStringList ValueNames() const;
    std::optional<QString> DefaultValue() const;
    // Creates or overwrites the value and writes it to disk; false when that failed
    // (the file or its folder cannot be written), in which case nothing is kept.
    bool Write(const QString& Name, const QVariant& Data);

private:
    std::unique_ptr<QSettings> m_settings;
};

// Text of stored data: a list (an unquoted INI value with commas) is joined with ','.
QString DataToText(const QVariant& Data);

} // namespace Registry
