#pragma once
// Registry layer over QSettings, shared by the program and the router.
// A key path "Software\\Org\\A\\B" (leading backslash and trailing separator
// optional) is organisation Org and group "A/B" of the current user's settings.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace Registry {

// Reads a value; when it does not exist the default is written and returned.
QString ReadString(const QString& KeyPath, const QString& Name, const QString& Default);
int32_t ReadInteger(const QString& KeyPath, const QString& Name, int32_t Default);
void WriteString(const QString& KeyPath, const QString& Name, const QString& Value);
void WriteInteger(const QString& KeyPath, const QString& Name, int32_t Value);
bool ValueExists(const QString& KeyPath, const QString& Name);
// The data of every value directly under the key, in name order.
QStringList ReadValues(const QString& KeyPath);

} // namespace Registry
