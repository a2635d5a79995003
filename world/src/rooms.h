#pragma once

#include <string_view>
#include <vector>

namespace world {

struct Room {
    int number;
    std::string_view name; // UTF-8
    bool inCity;           // the streets, as opposed to the game building
};

const std::vector<Room>& allRooms();
const Room* findRoom(int number);

constexpr int kStartRoom = 1;

enum class MoveResult { Moved, NoSuchRoom, NotFromHere };

// Whether a character standing in `from` may step to `to`. Standing still is
// always allowed.
MoveResult checkMove(int from, int to);

// The rooms one step away from `room`, for the exits shown on its page.
std::vector<int> exitsFrom(int room);

} // namespace world
