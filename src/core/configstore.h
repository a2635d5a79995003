#pragma once

#include "core/status.h"

#include <QByteArray>
#include <QList>

#include <functional>

namespace orvix {

class Alerts;
class ConfigList;
class DiagnosticLog;

// config.ex, the Base64 form of the list, and config.temp, its plain form during a load or save.
class ConfigStore {
public:
    using EventPump = std::function<void()>;

    ConfigStore(ConfigList& list, DiagnosticLog& log, Alerts& alerts);

    // Replaces the list with config.ex; a failure is logged and shown, the list stays as it was.
    void LoadConfiguration();
    // Writes the list into config.ex, replacing it atomically: on failure the old file is intact.
    Status SaveConfiguration();

    // The message-loop step both operations take before touching the files.
    void setEventPump(EventPump pump) { m_pump = std::move(pump); }

    static QByteArray EncodeFile(QByteArrayView plain);
    static QByteArray DecodeFile(QByteArrayView encoded);

private:
    enum class Op { Load, Save };

    Status run(Op op);
    Status runNow(Op op);
    Status saveNow();
    Status saveSteps();
    Status loadNow();
    void pump();

    ConfigList& m_list;
    DiagnosticLog& m_log;
    Alerts& m_alerts;
    EventPump m_pump;
    bool m_busy = false;
    QList<Op> m_deferred;
};

} // namespace orvix
