#pragma once
// Where the register service is and which user key opens a session: two values of the
// program's settings key "Software\Quorsys\Ewidar\", read with their defaults (reading
// writes the default, as every settings value does).
//
// "RegonServiceAddress": the service base address to which an operation name is appended.
// Only https is accepted, except plain http to this machine's loopback address (a local test
// service); TLS certificate errors are never ignored.
// "RegonUserKey": the user key sent at login; the built-in default is a placeholder.

#include <QString>
#include <QUrl>

namespace RegonSettings {

inline const QString ServiceAddressName = QStringLiteral("RegonServiceAddress");
inline const QString UserKeyName = QStringLiteral("RegonUserKey");
inline const QString DefaultServiceAddress =
    QStringLiteral("https://wyszukiwarkaregon.stat.gov.pl/wsBIR/UslugaBIRzewnPubl.svc/ajaxEndpoint/");
inline const QString DefaultUserKey = QStringLiteral("mmmmmmnnnnnooooopppp");

// Both read through the registry layer, whose ERegistryException passes to the caller.
QString ServiceAddress();
QString UserKey();

// Base address + operation; false with a message when the address is not usable.
bool OperationUrl(const QString& Address, const QString& Operation, QUrl& Url, QString& Error);

} // namespace RegonSettings
