#pragma once

#include "core/alerts.h"

class QWidget;

namespace orvix {

// Alerts as modal message boxes over the given window.
class MessageBoxAlerts final : public Alerts {
public:
    explicit MessageBoxAlerts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text) override;
    void warning(const QString& text) override;

private:
    QWidget* m_parent;
};

} // namespace orvix
