#include "core/gameaddress.h"

#include <QRandomGenerator>

namespace orvix {

QString ServerBase(const QString& currentAddress, const Hosts& hosts) {
    QString base = Hosts::base(hosts.main);
    // Later tokens win, in this order.
    for (const QString* city : {&hosts.ysmer, &hosts.krall, &hosts.bruvik})
        if (currentAddress.contains(Hosts::cityToken(*city)))
            base = Hosts::base(*city);
    return base;
}

QString CacheBuster() {
    return QString::number(QRandomGenerator::global()->bounded(quint32(1333927250)));
}

QString First50(const QString& text) {
    return text.left(50);
}

QString EngineVersionPrefix(const QString& version) {
    return version.left(3);
}

bool IsAcceptedEngineVersion(const QString& version) {
    const QString prefix = EngineVersionPrefix(version);
    return prefix == QStringLiteral("6.0") || prefix == QStringLiteral("5.5");
}

} // namespace orvix
