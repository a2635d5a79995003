#pragma once

#include <string>
#include <string_view>

namespace world {

// The game speaks Windows-1251 on the wire; the world keeps its own text in
// UTF-8 and converts at the edges.
std::string cp1251ToUtf8(std::string_view bytes);

// Characters that have no Windows-1251 byte become '?', as an old server's
// page writer would print them.
std::string utf8ToCp1251(std::string_view utf8);

} // namespace world
