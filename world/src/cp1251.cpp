#include "cp1251.h"

#include <array>
#include <cstdint>

namespace world {

namespace {

constexpr char32_t kUndefined = 0xFFFD;

// Bytes 0x80..0xBF; 0xC0..0xFF are the contiguous А..я block.
constexpr std::array<char32_t, 64> kHigh = {
    0x0402,     0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC,     0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452,     0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    kUndefined, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0,     0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401,     0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0,     0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451,     0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

char32_t decodeByte(unsigned char b) {
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    return kHigh[b - 0x80];
}

int encodeChar(char32_t c) {
    if (c < 0x80)
        return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<int>(0xC0 + (c - 0x0410));
    if (c == kUndefined)
        return -1;
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Returns the next code point, or kUndefined for a malformed sequence (one
// byte is consumed then, so bad input can't stall the loop).
char32_t nextUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80)
        return b0;
    int extra = 0;
    char32_t c = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
    } else {
        return kUndefined;
    }
    std::size_t j = i;
    for (int k = 0; k < extra; ++k, ++j) {
        if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80)
            return kUndefined;
        c = (c << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
    }
    i = j;
    return c;
}

} // namespace

std::string cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes)
        appendUtf8(out, decodeByte(static_cast<unsigned char>(ch)));
    return out;
}

std::string utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const int b = encodeChar(nextUtf8(utf8, i));
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

} // namespace world
