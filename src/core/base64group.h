#pragma once

#include <QByteArrayView>

#include <array>
#include <cstdint>

namespace orvix {

// A group word: bits 0-7 the first byte of a group, 8-15 the second, 16-23 the third, 24-31
// how many of them are valid (0 to 3).
using GroupWord = std::uint32_t;

constexpr GroupWord MakeGroupWord(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, int count) {
    return GroupWord(b1) | GroupWord(b2) << 8 | GroupWord(b3) << 16 | GroupWord(count & 0xFF) << 24;
}
constexpr int GroupCount(GroupWord w) {
    return int(w >> 24);
}
constexpr std::uint8_t GroupByte(GroupWord w, int i) {
    return std::uint8_t(w >> (8 * i));
}

// Four characters; a group of one or two valid bytes ends in "==" or "=".
std::array<char, 4> Base64EncodeGroup(GroupWord word);

// Up to four characters; missing ones count as "=". "=" gives 0 bits, a character outside the
// alphabet 63. A byte completed by "=" is 0; the count is the last byte completed otherwise.
GroupWord Base64DecodeGroup(QByteArrayView chars);

} // namespace orvix
