#include "app/mainwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace orvix {

using namespace Qt::StringLiterals;

TForm1::TForm1(Alerts* alerts, QWidget* parent)
    : QMainWindow(parent), m_boxes(this), m_alerts(alerts ? *alerts : m_boxes), m_log(m_alerts),
      m_store(m_config, m_log, m_alerts) {
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Orvix - Dazu"_s);
    resize(602, 537);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormCreate();
}

void TForm1::FormCreate() {
    if (!DiagnosticLog::RemoveOldFile())
        m_alerts.message(u"BugRep-is nil"_s);
    m_store.LoadConfiguration();
}

bool TForm1::FormClose() {
    const Status saved = m_store.SaveConfiguration();
    if (!saved.ok()) {
        // The save error ends the close: the window stays, nothing is lost.
        QMessageBox::critical(this, windowTitle(), saved.message());
        return false;
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

} // namespace orvix
