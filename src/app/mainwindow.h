#pragma once

#include "app/messageboxalerts.h"
#include "core/configlist.h"
#include "core/configstore.h"
#include "core/diagnosticlog.h"

#include <QMainWindow>

namespace orvix {

// The main window. It owns the configuration list and the diagnostic log for the whole run.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Alerts default to message boxes; tests hand in their own.
    explicit TForm1(Alerts* alerts = nullptr, QWidget* parent = nullptr);

    ConfigList& configList() { return m_config; }
    DiagnosticLog& log() { return m_log; }
    ConfigStore& configStore() { return m_store; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    bool FormClose();

    MessageBoxAlerts m_boxes;
    Alerts& m_alerts;
    DiagnosticLog m_log;
    ConfigList m_config;
    ConfigStore m_store;
};

} // namespace orvix
