#pragma once

#include "core/alerts.h"

#include <QStringList>

// Alerts that record what the user would have seen, in order.
class RecordingAlerts final : public orvix::Alerts {
public:
    void message(const QString& text) override { messages << text; }
    void warning(const QString& text) override { warnings << text; }

    QStringList messages;
    QStringList warnings;
};
