#pragma once
// Where the VAT white list service is: a value of the program's settings key
// "Software\Quorsys\Ewidar\", read with its default (reading writes the default, as every
// settings value does; the machine-wide policy may impose it).
//
// "WhiteListServiceAddress": the base address to which "api/search/..." and "api/check/..."
// are appended. Only https is accepted, except plain http to this machine's loopback address
// (a local test service); TLS certificate errors are never ignored.

#include <QString>
#include <QUrl>

namespace WhiteListSettings {

inline const QString ServiceAddressName = QStringLiteral("WhiteListServiceAddress");
inline const QString DefaultServiceAddress = QStringLiteral("https://wl-api.mf.gov.pl/");

// Read through the registry layer, whose ERegistryException passes to the caller.
QString ServiceAddress();

// Base address + Path with the query "date=Date"; false with a message when the address is
// not usable.
bool RequestUrl(const QString& Address, const QString& Path, const QString& Date, QUrl& Url, QString& Error);

} // namespace WhiteListSettings
