#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace world {

// An equipment slot. The game names it by a short decimal code, sent as
// "setdown=w" + code. Rings fit any slot of their group.
struct Slot {
    std::string_view code;
    std::string_view name;  // UTF-8, as the game's page names it
    std::string_view group; // slots an item may go to share a group
};

// In the order the client's take-off panel lists them: 9, 1, 2, 10, 3, 4,
// 11, 12, 6, 7, 8.
const std::vector<Slot>& allSlots();
const Slot* findSlot(std::string_view code);

struct Item {
    std::string id;   // the encyclopedia's identifier, ASCII
    int n = 0;        // this one item's number
    std::string name; // UTF-8
    int weight = 0;
    std::string slot; // where it is worn; empty for what can't be put on

    bool wearable() const { return !slot.empty(); }
};

// Worn items by slot code, and the backpack in the order the page lists it.
struct Equipment {
    std::map<std::string, Item, std::less<>> worn;
    std::vector<Item> backpack;

    int backpackWeight() const;

    // Each returns the note for the page (UTF-8). An unknown slot or item
    // changes nothing.
    std::string takeOff(std::string_view setdown); // "w9", "all"
    std::string putOn(std::string_view id, std::string_view number);
};

constexpr int kBackpackCapacity = 40;

// `nextNumber` hands out item numbers, unique across the world.
Equipment starterEquipment(int& nextNumber);
// `wearable` items that can be put on and `other` ones that can't,
// alternating while both last.
std::vector<Item> generatedBackpack(int wearable, int other, int& nextNumber);

} // namespace world
