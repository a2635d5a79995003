#include "app/floatingpanel.h"

#include <QMouseEvent>

namespace orvix {

namespace {

const QColor kPanel(224, 224, 226);
const QColor kText(0, 83, 208);
const QColor kNavy(0, 0, 128);
// The system's desktop background colour of the classic scheme.
const QColor kDesktop(58, 110, 165);

} // namespace

FloatingPanel::FloatingPanel(const QString& name, const QRect& geometry, QWidget* parent,
                             bool draggable)
    : QFrame(parent), m_draggable(draggable) {
    setObjectName(name);
    setGeometry(geometry);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kPanel);
    p.setColor(QPalette::WindowText, kText);
    p.setColor(QPalette::Light, kDesktop);
    p.setColor(QPalette::Dark, kDesktop);
    setPalette(p);
    hide();
}

void FloatingPanel::Toggle() {
    m_hiddenFlag = !m_hiddenFlag;
    setVisible(!m_hiddenFlag);
    if (!m_hiddenFlag)
        raise();
}

void FloatingPanel::HideAndFlag() {
    m_hiddenFlag = true;
    hide();
}

void FloatingPanel::mousePressEvent(QMouseEvent* event) {
    // Presses that a group box or a label leaves unhandled arrive here too; only the free
    // background drags.
    if (!m_draggable || childAt(event->position().toPoint()))
        return QFrame::mousePressEvent(event);
    m_dragging = true;
    m_grab = event->position().toPoint();
    raise();
}

void FloatingPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging || !parentWidget())
        return QFrame::mouseMoveEvent(event);
    QPoint to = mapToParent(event->position().toPoint()) - m_grab;
    const QRect room = parentWidget()->rect();
    to.setX(qBound(room.left(), to.x(), qMax(room.left(), room.right() - width() + 1)));
    to.setY(qBound(room.top(), to.y(), qMax(room.top(), room.bottom() - height() + 1)));
    move(to);
}

void FloatingPanel::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QFrame::mouseReleaseEvent(event);
}

ClickLabel::ClickLabel(const QString& name, const QString& caption, QWidget* parent, bool clickable)
    : QLabel(caption, parent), m_clickable(clickable) {
    setObjectName(name);
    if (clickable) {
        setCursor(Qt::PointingHandCursor);
        setTextColor(kDesktop);
    }
}

void ClickLabel::setTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void ClickLabel::enterEvent(QEnterEvent* event) {
    if (m_clickable)
        setTextColor(kNavy);
    QLabel::enterEvent(event);
}

void ClickLabel::leaveEvent(QEvent* event) {
    if (m_clickable)
        setTextColor(kDesktop);
    QLabel::leaveEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (m_clickable && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace orvix
