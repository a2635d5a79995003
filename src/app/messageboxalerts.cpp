#include "app/messageboxalerts.h"

#include <QApplication>
#include <QMessageBox>

namespace orvix {

void MessageBoxAlerts::message(const QString& text) {
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(), text);
}

void MessageBoxAlerts::warning(const QString& text) {
    QMessageBox::warning(m_parent, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

} // namespace orvix
