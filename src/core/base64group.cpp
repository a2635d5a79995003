#include "core/base64group.h"

namespace orvix {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr auto kIndex = [] {
    std::array<std::uint8_t, 256> t{};
    for (auto& v : t)
        v = 63;
    for (int i = 0; i < 64; ++i)
        t[std::uint8_t(kAlphabet[i])] = std::uint8_t(i);
    t[std::uint8_t('=')] = 0;
    return t;
}();

} // namespace

std::array<char, 4> Base64EncodeGroup(GroupWord word) {
    const int n = GroupCount(word) > 3 ? 3 : GroupCount(word);
    std::uint32_t bits = 0;
    for (int i = 0; i < 3; ++i)
        bits = bits << 8 | (i < n ? GroupByte(word, i) : 0);
    std::array<char, 4> out{};
    for (int i = 0; i < 4; ++i)
        out[i] = kAlphabet[(bits >> (18 - 6 * i)) & 0x3F];
    for (int i = n + 1; i < 4; ++i)
        out[i] = '=';
    return out;
}

GroupWord Base64DecodeGroup(QByteArrayView chars) {
    char c[4] = {'=', '=', '=', '='};
    for (qsizetype i = 0; i < 4 && i < chars.size(); ++i)
        c[i] = chars[i];
    std::uint32_t bits = 0;
    for (const char ch : c)
        bits = bits << 6 | kIndex[std::uint8_t(ch)];
    std::uint8_t bytes[3];
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        // Byte i+1 is completed by character i+2.
        const bool padded = c[i + 1] == '=';
        bytes[i] = padded ? 0 : std::uint8_t(bits >> (16 - 8 * i));
        if (!padded)
            count = i + 1;
    }
    return MakeGroupWord(bytes[0], bytes[1], bytes[2], count);
}

} // namespace orvix
