#include "wire.h"

#include <cstdio>

namespace world {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string jsonQuote(std::string_view s, bool highBytesAsCodePoints) {
    std::string out = "\"";
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (b < 0x20 || b == 0x7F || (b >= 0x80 && highBytesAsCodePoints)) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", b);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace

std::string percentDecode(std::string_view s, bool plusIsSpace) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

Fields parseForm(std::string_view s) {
    Fields fields;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find('&', start);
        if (end == std::string_view::npos)
            end = s.size();
        const std::string_view part = s.substr(start, end - start);
        if (!part.empty()) {
            const std::size_t eq = part.find('=');
            if (eq == std::string_view::npos)
                fields.emplace_back(percentDecode(part, true), std::string());
            else
                fields.emplace_back(percentDecode(part.substr(0, eq), true),
                                    percentDecode(part.substr(eq + 1), true));
        }
        start = end + 1;
    }
    return fields;
}

std::optional<std::string> fieldValue(const Fields& fields, std::string_view name) {
    for (const auto& [key, value] : fields) {
        if (key == name)
            return value;
    }
    return std::nullopt;
}

std::string jsonBytes(std::string_view bytes) {
    return jsonQuote(bytes, true);
}

std::string jsonUtf8(std::string_view utf8) {
    return jsonQuote(utf8, false);
}

std::string hexLower(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool iequals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

std::optional<int> parseSmallNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace world
