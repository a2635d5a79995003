#include "core/diagnosticlog.h"

#include "core/alerts.h"
#include "core/cp1251.h"
#include "core/programdir.h"

#include <QFile>

namespace orvix {

using namespace Qt::StringLiterals;

DiagnosticLog::DiagnosticLog(Alerts& alerts, Clock clock, QLocale locale)
    : m_alerts(alerts),
      m_clock(clock ? std::move(clock) : Clock([] { return QTime::currentTime(); })),
      m_locale(std::move(locale)), m_timeFormat(longTimeFormat(m_locale)) {}

QString DiagnosticLog::fileName() {
    return u"BugsReport.txt"_s;
}

QString DiagnosticLog::longTimeFormat(const QLocale& locale) {
    // Qt's long format ends in the zone name ("HH:mm:ss t"); the log wants the clock time only.
    const QString full = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : full) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    out = out.trimmed();
    return out.isEmpty() ? u"HH:mm:ss"_s : out;
}

void DiagnosticLog::LogError(const QString& message) {
    const QString line = m_locale.toString(m_clock(), m_timeFormat) + u' ' + message;
    m_lines.append(line);
    m_bytes += cp1251::encode(line);
    m_bytes += "\r\n";
    if (!writeFile())
        m_alerts.message(u"BugRep-is сломан! ... падла!"_s);
}

bool DiagnosticLog::writeFile() const {
    QFile file(ProgramFile(fileName()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (file.write(m_bytes) != m_bytes.size())
        return false;
    return file.flush();
}

bool DiagnosticLog::RemoveOldFile() {
    QFile file(ProgramFile(fileName()));
    return !file.exists() || file.remove();
}

} // namespace orvix
