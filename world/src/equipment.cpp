#include "equipment.h"

#include <algorithm>

namespace world {

namespace {

struct Kind {
    std::string_view id;
    std::string_view name;
    int weight;
    std::string_view slot;
};

// Identifiers stay clear of "amp": the client finds the item's number after
// the first "amp" of its block, and "&amp;" of the put-on link must be it.
constexpr Kind kHelmet{"helmet1", "Шлем новичка", 2, "9"};
constexpr Kind kJacket{"armor1", "Кожаная куртка", 5, "4"};
constexpr Kind kSword{"sword1", "Меч ученика", 3, "3"};
constexpr Kind kLuckRing{"ring1", "Кольцо удачи", 0, "6"};
constexpr Kind kGuardHelmet{"helmet2", "Шлем стражника", 3, "9"};
constexpr Kind kElixir{"elixir1", "Эликсир жизни", 1, ""};
constexpr Kind kShield{"shield2", "Щит «Рыцарь & Дракон»", 4, "10"};
constexpr Kind kBoots{"boots1", "Сапоги ходока", 2, "12"};
constexpr Kind kScroll{"scroll1", "Свиток телепорта", 0, ""};
constexpr Kind kPowerRing{"ring2", "Кольцо силы", 0, "6"};
constexpr Kind kGloves{"gloves1", "Перчатки бойца", 1, "11"};

Item make(const Kind& kind, int& nextNumber) {
    return Item{std::string(kind.id), nextNumber++, std::string(kind.name), kind.weight,
                std::string(kind.slot)};
}

} // namespace

const std::vector<Slot>& allSlots() {
    static const std::vector<Slot> slots = {
        {"9", "Шапка", "9"},      {"1", "Клипсы", "1"},    {"2", "Кулон", "2"},
        {"10", "Щит", "10"},      {"3", "Оружие", "3"},    {"4", "Броня", "4"},
        {"11", "Перчатки", "11"}, {"12", "Обувь", "12"},   {"6", "Кольцо", "ring"},
        {"7", "Кольцо", "ring"},  {"8", "Кольцо", "ring"},
    };
    return slots;
}

const Slot* findSlot(std::string_view code) {
    for (const auto& s : allSlots()) {
        if (s.code == code)
            return &s;
    }
    return nullptr;
}

int Equipment::backpackWeight() const {
    int sum = 0;
    for (const auto& item : backpack)
        sum += item.weight;
    return sum;
}

std::string Equipment::takeOff(std::string_view setdown) {
    if (setdown == "all") {
        if (worn.empty())
            return "Ничего не надето";
        // In the panel's order, so the backpack's order doesn't depend on
        // how the map sorts its keys.
        for (const auto& s : allSlots()) {
            if (const auto it = worn.find(s.code); it != worn.end()) {
                backpack.push_back(std::move(it->second));
                worn.erase(it);
            }
        }
        return "Вы сняли всё";
    }
    const Slot* slot = setdown.substr(0, 1) == "w" ? findSlot(setdown.substr(1)) : nullptr;
    if (!slot)
        return "Нет такого слота: " + std::string(setdown);
    const auto it = worn.find(slot->code);
    if (it == worn.end())
        return "Ничего не надето: " + std::string(slot->name);
    std::string note = "Вы сняли: " + it->second.name;
    backpack.push_back(std::move(it->second));
    worn.erase(it);
    return note;
}

std::string Equipment::putOn(std::string_view id, std::string_view number) {
    const auto it = std::find_if(backpack.begin(), backpack.end(), [&](const Item& item) {
        return item.id == id && std::to_string(item.n) == number;
    });
    if (it == backpack.end())
        return "Нет такого предмета в рюкзаке";
    const Slot* home = findSlot(it->slot);
    if (!home)
        return "Этот предмет не надевается: " + it->name;
    // The first free slot of the group, else the first one.
    const Slot* target = nullptr;
    for (const auto& s : allSlots()) {
        if (s.group != home->group)
            continue;
        if (!target)
            target = &s;
        if (!worn.count(s.code)) {
            target = &s;
            break;
        }
    }
    Item item = std::move(*it);
    backpack.erase(it);
    std::string note = "Вы надели: " + item.name;
    if (const auto old = worn.find(target->code); old != worn.end()) {
        backpack.push_back(std::move(old->second));
        worn.erase(old);
    }
    worn.emplace(std::string(target->code), std::move(item));
    return note;
}

Equipment starterEquipment(int& nextNumber) {
    Equipment e;
    for (const Kind* kind : {&kHelmet, &kJacket, &kSword, &kLuckRing})
        e.worn.emplace(std::string(kind->slot), make(*kind, nextNumber));
    // Items that can't be put on sit between the others, as in a real
    // backpack, so a reader must skip them.
    for (const Kind* kind :
         {&kGuardHelmet, &kElixir, &kShield, &kBoots, &kScroll, &kPowerRing, &kGloves})
        e.backpack.push_back(make(*kind, nextNumber));
    return e;
}

std::vector<Item> generatedBackpack(int wearable, int other, int& nextNumber) {
    std::vector<Item> items;
    const auto& slots = allSlots();
    for (int w = 0, o = 0; w < wearable || o < other;) {
        if (w < wearable && (w <= o || o >= other)) {
            const Slot& s = slots[static_cast<std::size_t>(w) % slots.size()];
            ++w;
            items.push_back({"item" + std::to_string(w), nextNumber++,
                             std::string(s.name) + " №" + std::to_string(w), 1,
                             std::string(s.code)});
        } else {
            ++o;
            items.push_back({"stone" + std::to_string(o), nextNumber++,
                             "Камень №" + std::to_string(o), 1, std::string()});
        }
    }
    return items;
}

} // namespace world
