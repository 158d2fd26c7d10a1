#include "uRegonSettings.h"

#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"

#include <QHostAddress>

namespace RegonSettings {

QString ServiceAddress() {
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, ServiceAddressName, DefaultServiceAddress);
}

QString UserKey() {
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, UserKeyName, DefaultUserKey);
}

namespace {

bool IsLoopback(const QString& Host) {
    if (Host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(Host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

bool OperationUrl(const QString& Address, const QString& Operation, QUrl& Url, QString& Error) {
    QString base = Address.trimmed();
    if (!base.endsWith(u'/'))
        base += u'/';
    Url = QUrl(base + Operation, QUrl::StrictMode);
    const QString scheme = Url.scheme().toLower();
    const bool usable = Url.isValid() && !Url.host().isEmpty() &&
                        (scheme == u"https" || (scheme == u"http" && IsLoopback(Url.host())));
    if (!usable)
        Error = QStringLiteral("Nieprawidłowy adres usługi REGON w ustawieniach (%1): \"%2\".")
                    .arg(ServiceAddressName, Address);
    return usable;
}

} // namespace RegonSettings
