#include "uRegonSettings.h"

#include "uHttpExchange.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"

namespace RegonSettings {

QString ServiceAddress() {
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, ServiceAddressName, DefaultServiceAddress);
}

QString UserKey() {
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, UserKeyName, DefaultUserKey);
}

bool OperationUrl(const QString& Address, const QString& Operation, QUrl& Url, QString& Error) {
    QString base = Address.trimmed();
    if (!base.endsWith(u'/'))
        base += u'/';
    Url = QUrl(base + Operation, QUrl::StrictMode);
    const bool usable = IsUsableServiceUrl(Url);
    if (!usable)
        Error = QStringLiteral("Nieprawidłowy adres usługi REGON w ustawieniach (%1): \"%2\".")
                    .arg(ServiceAddressName, Address);
    return usable;
}

} // namespace RegonSettings
