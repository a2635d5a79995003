#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Small byte-level helpers for what travels on the wire: form fields, JSON,
// hex and HTML text. Everything here works on bytes and never throws on bad
// input.
namespace world {

using Fields = std::vector<std::pair<std::string, std::string>>;

// %XX becomes its byte; a malformed escape stays as it is. Raw bytes (the
// game's own pages send Cyrillic unescaped) pass through untouched.
std::string percentDecode(std::string_view s, bool plusIsSpace);

// "a=1&b=&c" → {a,1},{b,""},{c,""}; names and values decoded, '+' a blank.
Fields parseForm(std::string_view s);
std::optional<std::string> fieldValue(const Fields& fields, std::string_view name);

// A JSON string literal. jsonBytes is for wire text of unknown encoding:
// bytes above 0x7F become \u0080..\u00FF, one code point per byte, so a
// reader gets the exact bytes back with a Latin-1 conversion.
std::string jsonBytes(std::string_view bytes);
std::string jsonUtf8(std::string_view utf8);

std::string hexLower(std::string_view bytes);
std::string htmlEscape(std::string_view text);
std::string asciiLower(std::string_view s);
bool iequals(std::string_view a, std::string_view b);

// Digits only, at most nine of them, so the value always fits an int.
std::optional<int> parseSmallNumber(std::string_view digits);

} // namespace world
