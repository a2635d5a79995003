#include "state.h"

#include "rooms.h"
#include "wire.h"

namespace world {

WorldState::WorldState() : rng_(std::random_device{}()) {
    // Demo accounts; world/README.md lists them for players and tests.
    const std::pair<std::string_view, std::string_view> accounts[] = {
        {"Вася", "vasya"}, {"Тестер", "test123"},        {"Ёжик в тумане", "ёжик"},
        {"demo", "demo"},  {"Knight", "sword&shield=1"},
    };
    for (const auto& [login, password] : accounts) {
        Character ch;
        ch.login = login;
        ch.password = password;
        ch.room = kStartRoom;
        ch.equipment = starterEquipment(nextItemNumber_);
        characters_.push_back(std::move(ch));
    }
}

void WorldState::fillBackpack(Character& ch, int wearable, int other) {
    ch.equipment.backpack = generatedBackpack(wearable, other, nextItemNumber_);
}

std::uint32_t WorldState::randomNumber() {
    return static_cast<std::uint32_t>(rng_() % 1333927250);
}

Character* WorldState::findByLogin(std::string_view utf8Login) {
    for (auto& ch : characters_) {
        if (ch.login == utf8Login)
            return &ch;
    }
    return nullptr;
}

Character* WorldState::bySession(std::string_view sid) {
    const auto it = sessions_.find(sid);
    return it == sessions_.end() ? nullptr : &characters_[it->second];
}

Character* WorldState::fromCookies(const std::vector<std::string>& cookieHeaders) {
    for (const auto& header : cookieHeaders) {
        std::size_t start = 0;
        while (start < header.size()) {
            auto end = header.find(';', start);
            if (end == std::string::npos)
                end = header.size();
            std::string_view pair = std::string_view(header).substr(start, end - start);
            while (!pair.empty() && pair.front() == ' ')
                pair.remove_prefix(1);
            constexpr std::string_view kName = "sid=";
            if (pair.substr(0, kName.size()) == kName) {
                if (Character* ch = bySession(pair.substr(kName.size())))
                    return ch;
            }
            start = end + 1;
        }
    }
    return nullptr;
}

std::string WorldState::openSession(Character& ch) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string sid;
    do {
        sid.clear();
        for (int i = 0; i < 32; ++i)
            sid += kDigits[rng_() & 0x0F];
    } while (sessions_.count(sid));
    sessions_.emplace(sid, static_cast<std::size_t>(&ch - characters_.data()));
    ch.online = true;
    ++ch.sessions;
    return sid;
}

std::vector<const Character*> WorldState::online() const {
    std::vector<const Character*> list;
    for (const auto& ch : characters_) {
        if (ch.online)
            list.push_back(&ch);
    }
    return list;
}

std::string WorldState::toJson() const {
    std::string out = "{\"characters\":[";
    for (std::size_t i = 0; i < characters_.size(); ++i) {
        const auto& ch = characters_[i];
        if (i)
            out += ",";
        out += "\n{\"login\":" + jsonUtf8(ch.login) + ",\"room\":" + std::to_string(ch.room) +
               ",\"online\":" + (ch.online ? "true" : "false") +
               ",\"sessions\":" + std::to_string(ch.sessions) + ",\"worn\":{";
        bool first = true;
        for (const auto& slot : allSlots()) {
            const auto it = ch.equipment.worn.find(slot.code);
            if (it == ch.equipment.worn.end())
                continue;
            out += first ? "" : ",";
            first = false;
            out += jsonUtf8("w" + std::string(slot.code)) + ":" + jsonUtf8(it->second.name);
        }
        out += "},\"backpack\":[";
        first = true;
        for (const auto& item : ch.equipment.backpack) {
            out += first ? "" : ",";
            first = false;
            out += "{\"id\":" + jsonUtf8(item.id) + ",\"n\":" + std::to_string(item.n) +
                   ",\"name\":" + jsonUtf8(item.name) +
                   ",\"weight\":" + std::to_string(item.weight) +
                   ",\"wearable\":" + (item.wearable() ? "true" : "false") + "}";
        }
        out += "]}";
    }
    out += "\n]}\n";
    return out;
}

} // namespace world
