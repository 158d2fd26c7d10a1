#include "uWhiteListSettings.h"

#include "uHttpExchange.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"

#include <QUrlQuery>

namespace WhiteListSettings {

QString ServiceAddress() {
    return Registry::ReadString(QuorDataBaseDefs::EwidarKey, ServiceAddressName, DefaultServiceAddress);
}

bool RequestUrl(const QString& Address, const QString& Path, const QString& Date, QUrl& Url, QString& Error) {
    QString base = Address.trimmed();
    if (!base.endsWith(u'/'))
        base += u'/';
    Url = QUrl(base + Path, QUrl::StrictMode);
    const bool usable = IsUsableServiceUrl(Url) && !Url.hasQuery() && !Url.hasFragment();
    if (!usable) {
        Error = QStringLiteral("Nieprawidłowy adres wykazu podatników VAT w ustawieniach (%1): \"%2\".")
                    .arg(ServiceAddressName, Address);
        return false;
    }
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("date"), Date);
    Url.setQuery(query);
    return true;
}

} // namespace WhiteListSettings
