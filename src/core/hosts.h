#pragma once

#include <QString>
#include <QStringList>

namespace orvix {

// The host names the program talks to. Defaults are reserved .test names served by the local
// world; a user's file or command line may name others.
struct Hosts {
    QString main = QStringLiteral("www.tarvo.test");
    QString ysmer = QStringLiteral("ysmercity.tarvo.test");
    QString krall = QStringLiteral("krallcity.tarvo.test");
    QString bruvik = QStringLiteral("bruvikcity.tarvo.test");
    QString makers = QStringLiteral("www.orvix.test");
    QString forum = QStringLiteral("forum.gamehub.test");
    QString velnar = QStringLiteral("velnar.test");
    QString sh = QStringLiteral("sh-logs.test");

    // Applies "key=value" lines (keys as the members above); unknown keys and blank or "#"
    // lines are skipped. Returns the keys it did not know, for the caller to report.
    QStringList apply(QStringView text);

    static QString base(const QString& host) { return QStringLiteral("http://") + host + u'/'; }
    // The first label of a host name: a city server is recognised by it.
    static QString cityToken(const QString& host) { return host.section(u'.', 0, 0); }
};

} // namespace orvix
