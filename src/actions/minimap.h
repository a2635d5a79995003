#pragma once

#include <QString>

#include <functional>
#include <span>

namespace orvix {

class GameNavigation;

// The mini-map's room buttons: each click sends its moves into the main browser's frames, in
// order and without waiting, then usually closes the map.
class MiniMap {
public:
    enum class Step {
        PostLevel,  // post "setch=799&levelN=" + cb to city.pl
        OpenLevel,  // open "city.pl?levelN=" + cb
        OpenTop,    // open "main.pl?top=Вернуться"
        PostSquare, // post "setch=190&level100=" + cb to main.pl
        Secret,     // main server: open levels 100, 50; a city: post levels 1, 50
        Chat,       // refresh the chat frame
        Hide,       // close the map
    };
    struct Move {
        Step step;
        int level = 0;
    };
    struct Room {
        const char16_t* button; // component name; its click handler is button + "Click"
        const char16_t* caption;
        std::span<const Move> moves; // empty: the button does nothing
    };

    static std::span<const Room> Rooms();
    static const Room* FindRoom(QStringView button);

    MiniMap(GameNavigation& nav, std::function<void()> hideMap)
        : m_nav(nav), m_hideMap(std::move(hideMap)) {}

    // The click handler of one room button.
    void Click(const Room& room);

private:
    void postLevel(int level);
    void openLevel(int level);

    GameNavigation& m_nav;
    std::function<void()> m_hideMap;
};

} // namespace orvix
