#pragma once

#include "state.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The game's pages, written the way a game server of the mid-2000s wrote
// them. All text here is UTF-8; the host converts to Windows-1251 on the way
// out.
namespace world::pages {

std::string entry();
std::string loginFailed();
std::string gameFrameset();
std::string notAuthorised();
std::string room(const Character& ch, std::string_view note);
std::string mainView(const Character& ch, std::string_view note);
std::string battle(const Character& ch);
// The inventory ("main.pl?edit=1&"): worn items, then the backpack. `tmp`
// is the cache-buster of the page's own links.
std::string backpack(const Character& ch, std::string_view note, std::uint32_t tmp);
std::string chat(const std::vector<const Character*>& online,
                 const std::vector<const ChatLine*>& lines);
std::string notFound(std::string_view what);
std::string styleSheet();

} // namespace world::pages
