#include "actions/mappanel.h"

#include <QGroupBox>
#include <QPushButton>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

constexpr int kButtonW = 97, kButtonH = 17, kPitch = 16, kGroupW = 113;

struct Group {
    const char16_t* caption;
    int left, top;
    std::initializer_list<const char16_t*> buttons; // top to bottom
};

const Group kGroups[] = {
    {u"Здание Tarvo:",
     8,
     2,
     {u"XPButton5", u"XPButton6", u"XPButton7", u"XPButton8", u"XPButton9", u"XPButton10",
      u"XPButton11", u"XPButton12"}},
    {u"Центральная пл.",
     120,
     3,
     {u"XPButton14", u"XPButton15", u"XPButton16", u"XPButton17", u"XPButton18", u"XPButton19",
      u"XPButton20"}},
    {u"Центральные ул.:", 8, 153, {u"XPButton13", u"XPButton39"}},
    {u"Страшилкин str.", 120, 152, {u"XPButton40", u"XPButton38"}},
};

const char16_t* const kBeginners[] = {u"XPButton21", u"XPButton22", u"XPButton23", u"XPButton24"};

} // namespace

MapPanel::MapPanel(GameNavigation& nav, QWidget* parent)
    : FloatingPanel(u"PanelMap"_s, QRect(264, 26, 241, 231), parent),
      m_map(nav, [this] { Toggle(); }) {
    for (const Group& g : kGroups) {
        auto* box = new QGroupBox(QString::fromUtf16(g.caption), this);
        box->setGeometry(g.left, g.top, kGroupW, int(g.buttons.size()) * kPitch + 22);
        int y = 16;
        for (const char16_t* name : g.buttons) {
            const QString button = QString::fromUtf16(name);
            const MiniMap::Room* room = MiniMap::FindRoom(button);
            addButton(box, button, room ? QString::fromUtf16(room->caption) : u"Новички..."_s, 8,
                      y);
            y += kPitch;
        }
    }
    // Lies over the seven building buttons below "Новички..." while shown.
    m_msml = new FloatingPanel(u"PanelMsml"_s, QRect(8, 33, 97, 112), this, false);
    for (int i = 0; i < 4; ++i) {
        const QString button = QString::fromUtf16(kBeginners[i]);
        addButton(m_msml, button, QString::fromUtf16(MiniMap::FindRoom(button)->caption), 0,
                  4 + i * kPitch);
    }
    QPushButton* close = addButton(this, u"XPButton44"_s, u"X"_s, 220, 211);
    close->resize(17, 17);
    close->setAccessibleName(u"Закрыть"_s);
    connect(close, &QPushButton::clicked, this, &FloatingPanel::Toggle);
    connect(findChild<QPushButton*>(u"XPButton5"_s), &QPushButton::clicked, m_msml,
            &FloatingPanel::Toggle);
}

QPushButton* MapPanel::addButton(QWidget* parent, const QString& name, const QString& caption,
                                 int x, int y) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, kButtonW, kButtonH);
    QFont f = b->font();
    f.setPointSize(7); // 97 pixels must hold "Башня рыц. маг."
    b->setFont(f);
    if (const MiniMap::Room* room = MiniMap::FindRoom(name); room && !room->moves.empty())
        connect(b, &QPushButton::clicked, this, [this, room] { m_map.Click(*room); });
    return b;
}

} // namespace orvix
