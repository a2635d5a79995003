#pragma once

#include "chat.h"
#include "equipment.h"

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace world {

struct Character {
    std::string login;    // UTF-8
    std::string password; // UTF-8
    int room = 1;
    bool online = false;
    int sessions = 0;
    Equipment equipment;
};

// Accounts, sessions, where everybody stands, what they wear and carry, and
// what was said. Not thread-safe: the server holds its one world mutex
// around every use.
class WorldState {
public:
    WorldState();

    Character* findByLogin(std::string_view utf8Login);
    Character* bySession(std::string_view sid);
    // A character that logged in with this session id, if any of the given
    // cookie header values carries one.
    Character* fromCookies(const std::vector<std::string>& cookieHeaders);

    // Opens a new login session and marks the character online.
    std::string openSession(Character& ch);

    const std::vector<Character>& characters() const { return characters_; }
    std::vector<const Character*> online() const;

    // Replaces a character's backpack with generated items.
    void fillBackpack(Character& ch, int wearable, int other);
    // The cache-buster of the game's own links, in the client's range.
    std::uint32_t randomNumber();

    ChatLog& chat() { return chat_; }
    const ChatLog& chat() const { return chat_; }

    std::string toJson() const;

private:
    std::vector<Character> characters_; // fixed after seeding: pointers stay valid
    std::map<std::string, std::size_t, std::less<>> sessions_;
    std::mt19937_64 rng_;
    ChatLog chat_;
    int nextItemNumber_ = 1001;
};

} // namespace world
