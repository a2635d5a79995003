#include "actions/minimap.h"

#include "core/gameaddress.h"
#include "session/gamenavigation.h"

#include <array>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

using S = MiniMap::Step;
using M = MiniMap::Move;

constexpr M kBeginners1[] = {{S::PostLevel, 1}, {S::OpenTop}, {S::Chat}, {S::Hide}};
template <int N>
constexpr M kBuilding[] = {{S::PostLevel, 1}, {S::PostLevel, N}, {S::Chat}, {S::Hide}};
template <int N>
constexpr M kSquare[] = {{S::OpenLevel, 100}, {S::OpenLevel, N}, {S::Chat}, {S::Hide}};
constexpr M kSecret[] = {{S::Secret}, {S::Hide}, {S::Chat}};
constexpr M kCentral[] = {{S::OpenLevel, 100}, {S::Chat}};
constexpr M kStreet[] = {{S::PostSquare}, {S::OpenLevel, 100}, {S::OpenLevel, 107}, {S::Chat}};
constexpr M kTower[] = {{S::OpenLevel, 107}, {S::OpenLevel, 109}, {S::Chat}, {S::Hide}};
constexpr M kBank[] = {{S::OpenLevel, 107}, {S::OpenLevel, 100}, {S::Chat}, {S::Hide}};

constexpr std::array<MiniMap::Room, 22> kRooms = {{
    {u"XPButton21", u"Новички 1", kBeginners1},
    {u"XPButton22", u"Новички 2", kBuilding<2>},
    {u"XPButton23", u"Новички 3", kBuilding<3>},
    {u"XPButton24", u"Новички 4", kBuilding<4>},
    {u"XPButton6", u"Зал войнов 1", kBuilding<5>},
    {u"XPButton7", u"Зал войнов 2", kBuilding<6>},
    {u"XPButton8", u"Зал войнов 3", kBuilding<7>},
    {u"XPButton9", u"Рыцарский зал", kBuilding<9>},
    {u"XPButton10", u"Торговый зал", kBuilding<8>},
    {u"XPButton12", u"Башня рыц. маг.", kBuilding<10>},
    {u"XPButton11", u"Секретка", kSecret},
    {u"XPButton14", u"Магазин", kSquare<102>},
    {u"XPButton15", u"Рем. мастерская", kSquare<101>},
    {u"XPButton16", u"Комок", kSquare<105>},
    {u"XPButton17", u"КаZино", kSquare<104>},
    {u"XPButton18", u"Почта", kSquare<106>},
    {u"XPButton19", u"ЗАГС", {}},
    {u"XPButton20", u"Вокзал", kSquare<103>},
    {u"XPButton13", u"Центральная пл.", kCentral},
    {u"XPButton39", u"Страшилкин str.", kStreet},
    {u"XPButton40", u"Башня смерти", kTower},
    {u"XPButton38", u"Банк", kBank},
}};

const QString kMain = u"main"_s;

} // namespace

std::span<const MiniMap::Room> MiniMap::Rooms() {
    return kRooms;
}

const MiniMap::Room* MiniMap::FindRoom(QStringView button) {
    for (const Room& room : kRooms)
        if (button == QStringView(room.button))
            return &room;
    return nullptr;
}

void MiniMap::postLevel(int level) {
    m_nav.PostInFrame(u"city.pl"_s, kMain, u"setch=799&level%1="_s.arg(level) + CacheBuster());
}

void MiniMap::openLevel(int level) {
    m_nav.NavigateInFrame(kMain, u"city.pl?level%1="_s.arg(level) + CacheBuster());
}

void MiniMap::Click(const Room& room) {
    for (const Move& move : room.moves) {
        switch (move.step) {
        case Step::PostLevel:
            postLevel(move.level);
            break;
        case Step::OpenLevel:
            openLevel(move.level);
            break;
        case Step::OpenTop:
            m_nav.NavigateInFrame(kMain, u"main.pl?top=Вернуться"_s);
            break;
        case Step::PostSquare:
            m_nav.PostInFrame(u"main.pl"_s, kMain, u"setch=190&level100="_s + CacheBuster());
            break;
        case Step::Secret:
            if (m_nav.ServerBase() == m_nav.MainServerBase()) {
                openLevel(100);
                openLevel(50);
            } else {
                postLevel(1);
                postLevel(50);
            }
            break;
        case Step::Chat:
            m_nav.NavigateInFrame(u"online"_s, u"ch.pl?online=1&n=&"_s + CacheBuster());
            break;
        case Step::Hide:
            if (m_hideMap)
                m_hideMap();
            break;
        }
    }
}

} // namespace orvix
