#include "rooms.h"

#include <algorithm>

namespace world {

namespace {

constexpr int kBeginners = 1;
constexpr int kSquare = 100;
constexpr int kStreet = 107;
constexpr int kDeathTower = 109;
constexpr int kSecret = 50;

} // namespace

const std::vector<Room>& allRooms() {
    static const std::vector<Room> rooms = {
        {1, "Новички 1", false},        {2, "Новички 2", false},     {3, "Новички 3", false},
        {4, "Новички 4", false},        {5, "Зал войнов 1", false},  {6, "Зал войнов 2", false},
        {7, "Зал войнов 3", false},     {8, "Торговый зал", false},  {9, "Рыцарский зал", false},
        {10, "Башня рыц. маг.", false}, {50, "Секретка", false},     {100, "Центральная пл.", true},
        {101, "Рем. мастерская", true}, {102, "Магазин", true},      {103, "Вокзал", true},
        {104, "КаZино", true},          {105, "Комок", true},        {106, "Почта", true},
        {107, "Страшилкин str.", true}, {109, "Башня смерти", true},
    };
    return rooms;
}

const Room* findRoom(int number) {
    const auto& rooms = allRooms();
    const auto it = std::find_if(rooms.begin(), rooms.end(),
                                 [number](const Room& r) { return r.number == number; });
    return it == rooms.end() ? nullptr : &*it;
}

MoveResult checkMove(int from, int to) {
    if (!findRoom(to))
        return MoveResult::NoSuchRoom;
    bool allowed = false;
    if (to == from || to == kBeginners || to == kSquare)
        allowed = true; // the beginners' hall and the square are reachable from anywhere
    else if ((to >= 2 && to <= 10) || to == kSecret)
        allowed = from == kBeginners || (to == kSecret && from == kSquare);
    else if (to >= 101 && to <= kStreet)
        allowed = from == kSquare || (to == kStreet && from == kDeathTower);
    else if (to == kDeathTower)
        allowed = from == kStreet;
    return allowed ? MoveResult::Moved : MoveResult::NotFromHere;
}

std::vector<int> exitsFrom(int room) {
    std::vector<int> exits;
    for (const auto& r : allRooms()) {
        if (r.number != room && checkMove(room, r.number) == MoveResult::Moved)
            exits.push_back(r.number);
    }
    return exits;
}

} // namespace world
