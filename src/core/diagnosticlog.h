#pragma once

#include <QByteArray>
#include <QLocale>
#include <QStringList>
#include <QTime>

#include <functional>

namespace orvix {

class Alerts;

// Timestamped failure lines of the current run, mirrored at once into BugsReport.txt.
class DiagnosticLog {
public:
    using Clock = std::function<QTime()>;

    explicit DiagnosticLog(Alerts& alerts, Clock clock = {}, QLocale locale = QLocale::system());

    // Appends "<time> <message>" and rewrites the file; a write failure is shown, never thrown.
    void LogError(const QString& message);

    // The lines of this run (MemoBugs), oldest first.
    const QStringList& lines() const { return m_lines; }

    // Start-up removal of the previous run's file. False only when a file was there and stayed.
    static bool RemoveOldFile();

    static QString fileName();
    // The locale's long time format without a time-zone field (14:03:27, 2:03:27 PM).
    static QString longTimeFormat(const QLocale& locale);

private:
    bool writeFile() const;

    Alerts& m_alerts;
    Clock m_clock;
    QLocale m_locale;
    QString m_timeFormat;
    QStringList m_lines;
    QByteArray m_bytes; // m_lines as they go to the file
};

} // namespace orvix
