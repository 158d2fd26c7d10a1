#pragma once
// Registry layer over QSettings, shared by the program and the router. Every value of the
// current user's branch is read, tested and written through it; the machine-wide policy
// (uRegistryPolicy.h) decides for each value whether the machine-wide branch supplies or
// overrides it. The mapping of key paths onto QSettings is described in uRegistryKey.h.
//
// Failures:
// - A failed write raises ERegistryException "Failed to set data for '<name>'", except where
//   the machine-wide value wins (modes 3 and 5): there the failure is added to the report list
//   (uRegistryReport.h) and not raised.
// - A failed read (the user's settings file cannot be read) raises "Failed to get data for
//   '<name>'" unless the machine-wide fall-back of modes 2 and 4 supplies the value.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <stdexcept>

namespace Registry {

class ERegistryException : public std::runtime_error {
public:
    explicit ERegistryException(const QString& Message);
    const QString& Message() const { return m_message; }

private:
    QString m_message;
};

// Reads a value; when it does not exist the default is written and returned.
QString ReadString(const QString& KeyPath, const QString& Name, const QString& Default);
// As ReadString. Text that is not a decimal integer reads as the default (not rewritten);
// in modes 2 and 4 the machine-wide value is taken instead when it is an integer.
int32_t ReadInteger(const QString& KeyPath, const QString& Name, int32_t Default);
void WriteString(const QString& KeyPath, const QString& Name, const QString& Value);
void WriteInteger(const QString& KeyPath, const QString& Name, int32_t Value);
bool ValueExists(const QString& KeyPath, const QString& Name);
// The data of every value directly under the key, in name order. The names are those of the
// sources that the key's own mode reads (user, machine-wide or both); each value is then read
// by its own mode. The policy values "UseHKLM" of the machine-wide key are not data.
QStringList ReadValues(const QString& KeyPath);

// Name of the root key that the report names when a user's value cannot be written.
QString CurrentUserRootName();

} // namespace Registry
