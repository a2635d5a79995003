#include "app/options.h"

#include <QFile>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace orvix {

using namespace Qt::StringLiterals;

Options Options::Parse(const QStringList& arguments, const QString& proxyEnv,
                       const QString& hostsEnv) {
    Options o;
    QString proxy = proxyEnv;
    QString hostsFile = hostsEnv;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto value = [&](const QString& name) -> QString {
            if (a.startsWith(name + u'='))
                return a.mid(name.size() + 1);
            if (i + 1 < arguments.size())
                return arguments[++i];
            o.problems << u"%1 needs a value"_s.arg(name);
            return {};
        };
        if (a == u"--proxy"_s || a.startsWith(u"--proxy="_s))
            proxy = value(u"--proxy"_s);
        else if (a == u"--hosts"_s || a.startsWith(u"--hosts="_s))
            hostsFile = value(u"--hosts"_s);
    }
    if (!proxy.isEmpty()) {
        const qsizetype colon = proxy.lastIndexOf(u':');
        bool ok = false;
        const uint port = colon > 0 ? proxy.mid(colon + 1).toUInt(&ok) : 0;
        if (ok && port > 0 && port < 65536) {
            o.proxyHost = proxy.left(colon);
            o.proxyPort = quint16(port);
        } else {
            o.problems << u"proxy \"%1\" is not HOST:PORT"_s.arg(proxy);
        }
    }
    if (!hostsFile.isEmpty()) {
        QFile f(hostsFile);
        if (f.open(QIODevice::ReadOnly)) {
            for (const QString& bad : o.hosts.apply(QString::fromUtf8(f.readAll())))
                o.problems << u"%1: unknown line \"%2\""_s.arg(hostsFile, bad);
        } else {
            o.problems << u"%1: %2"_s.arg(hostsFile, f.errorString());
        }
    }
    return o;
}

bool PrepareEngineForRoot() {
#if defined(Q_OS_UNIX)
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        return true;
    }
#endif
    return false;
}

} // namespace orvix
