#pragma once

#include "core/hosts.h"

#include <QString>
#include <QStringList>

namespace orvix {

struct Options {
    QString proxyHost;
    quint16 proxyPort = 0;
    Hosts hosts;
    QStringList problems; // what the command line or the hosts file got wrong

    // "--proxy HOST:PORT" (or ORVIX_PROXY), "--hosts FILE" (or ORVIX_HOSTS).
    static Options Parse(const QStringList& arguments, const QString& proxyEnv,
                         const QString& hostsEnv);
};

// Must run before the engine starts: turns its sandbox off when running as root, which the
// engine refuses otherwise. True when it did.
bool PrepareEngineForRoot();

} // namespace orvix
