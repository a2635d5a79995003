#include "app/aboutpanel.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

class LinkLabel final : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), m_onClick(std::move(onClick)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_onClick();
        QLabel::mouseReleaseEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

AboutPanel::AboutPanel(const QString& siteAddress, QWidget* parent)
    : FloatingPanel(u"PanelAutor"_s, QRect(288, 136, 241, 89), parent, false) {
    auto* group = new QGroupBox(u"Об авторах:"_s, this);
    group->setGeometry(4, 2, 233, 58);
    auto* credits = new QLabel(u"Orvix - Dazu: помощник игрока Tarvo.\n"
                               u"Сделано командой Orvix для игроков."_s,
                               group);
    credits->setObjectName(u"AuthorsText"_s);
    credits->setGeometry(8, 16, 220, 36);
    group->setEnabled(false);

    m_link = new LinkLabel(siteAddress, this, [this] {
        HideAndFlag();
        emit siteRequested();
    });
    m_link->setObjectName(u"StaticText57"_s);
    m_link->setGeometry(8, 66, 200, 16);
    m_link->setCursor(Qt::PointingHandCursor);
    QFont underlined = m_link->font();
    underlined.setUnderline(true);
    m_link->setFont(underlined);
    QPalette navy = m_link->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    m_link->setPalette(navy);

    m_close = new QPushButton(u"X"_s, this);
    m_close->setObjectName(u"StaticText56"_s);
    m_close->setAccessibleName(u"Закрыть"_s);
    m_close->setGeometry(219, 66, 17, 17);
    connect(m_close, &QPushButton::clicked, this, &FloatingPanel::HideAndFlag);
}

} // namespace orvix
