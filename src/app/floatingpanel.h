#pragma once

#include <QFrame>
#include <QLabel>

namespace orvix {

// A panel lying over the game page inside the main window. Its toggle trusts its own hidden
// flag, not the visibility; a press on its free background drags it within the window.
class FloatingPanel : public QFrame {
    Q_OBJECT
public:
    FloatingPanel(const QString& name, const QRect& geometry, QWidget* parent,
                  bool draggable = true);

    void Toggle();
    // For closers that hide without the toggle: flag and visibility stay in step.
    void HideAndFlag();
    bool hiddenFlag() const { return m_hiddenFlag; }
    void resetHiddenFlag() { m_hiddenFlag = true; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_hiddenFlag = true;
    bool m_draggable;
    bool m_dragging = false;
    QPoint m_grab;
};

// A text label that acts on a click: hand pointer, navy while the pointer is over it.
class ClickLabel final : public QLabel {
    Q_OBJECT
public:
    ClickLabel(const QString& name, const QString& caption, QWidget* parent, bool clickable = true);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setTextColor(const QColor& color);
    bool m_clickable;
};

} // namespace orvix
