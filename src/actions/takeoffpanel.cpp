#include "actions/takeoffpanel.h"

#include "core/gameaddress.h"
#include "session/gamenavigation.h"

#include <QGroupBox>
#include <QPushButton>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

struct SlotButton {
    const char16_t* caption;
    const char16_t* button;
    const char16_t* code; // empty: every slot
    int left, top;
};

const SlotButton kSlots[] = {
    {u"Шапка", u"XPButton25", u"9", 56, 16},  {u"Клипсы", u"XPButton28", u"1", 8, 32},
    {u"Кулон", u"XPButton26", u"2", 56, 32},  {u"Щит", u"XPButton30", u"10", 104, 32},
    {u"Пушка", u"XPButton31", u"3", 8, 48},   {u"Бронь", u"XPButton27", u"4", 56, 48},
    {u"Перчи", u"XPButton37", u"11", 104, 48}, {u"Тапы", u"XPButton29", u"12", 56, 64},
    {u"к1", u"XPButton32", u"6", 52, 84},     {u"к2", u"XPButton33", u"7", 71, 84},
    {u"к3", u"XPButton34", u"8", 90, 84},     {u"Все", u"XPButton36", u"", 56, 104},
};

} // namespace

TakeOffPanel::TakeOffPanel(GameNavigation& nav, std::function<void()> afterTakeOff,
                           QWidget* parent)
    : FloatingPanel(u"PanelSnyt"_s, QRect(392, 26, 169, 143), parent), m_nav(nav),
      m_afterTakeOff(std::move(afterTakeOff)) {
    auto* group = new QGroupBox(u"Снять одежду:"_s, this);
    group->setGeometry(5, 2, 161, 127);
    for (const SlotButton& s : kSlots) {
        const QString caption = QString::fromUtf16(s.caption);
        auto* button = new QPushButton(caption, group);
        button->setObjectName(QString::fromUtf16(s.button));
        // The ring buttons only say "к1"; a screen reader should say which slot they free.
        const bool ring = caption.startsWith(u'к');
        if (ring)
            button->setAccessibleName(u"Кольцо "_s + caption.mid(1));
        button->setGeometry(s.left, s.top, ring ? 20 : 49, 17);
        const QString code = QString::fromUtf16(s.code);
        connect(button, &QPushButton::clicked, this, [this, code] {
            if (code.isEmpty())
                XPButton36Click();
            else
                TakeOffSlot(code);
        });
    }
    auto* close = new QPushButton(u"X"_s, this);
    close->setObjectName(u"XPButton35"_s);
    close->setAccessibleName(u"Закрыть"_s);
    close->setGeometry(145, 106, 17, 17);
    connect(close, &QPushButton::clicked, this, &FloatingPanel::Toggle);
}

void TakeOffPanel::TakeOffSlot(const QString& code) {
    m_nav.NavigateInFrame(u"main"_s, u"main.pl?setdown=w"_s + code + u'&' + CacheBuster());
    returnToRoom();
}

void TakeOffPanel::XPButton36Click() {
    m_nav.NavigateInFrame(u"main"_s, u"main.pl?setdown=all"_s);
    returnToRoom();
}

void TakeOffPanel::returnToRoom() {
    m_nav.PostInFrame(u"main.pl"_s, u"main"_s, u"top=Вернуться"_s);
    if (m_afterTakeOff)
        m_afterTakeOff();
}

} // namespace orvix
