#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace world {

enum class HostKind { Main, City, Makers, Forum, Velnar, Sh, Unknown };

// The host names the world answers as. They are configuration: a hosts file
// of "key=value" lines overrides the defaults.
class HostTable {
public:
    struct Entry {
        std::string key; // main, ysmer, krall, bruvik, makers, forum, velnar, sh
        HostKind kind;
        std::string name;
    };

    HostTable();

    // Blank lines and lines starting with '#' are skipped. On a bad line,
    // returns false with a message naming the line; earlier lines stay applied.
    bool load(std::istream& in, std::string& error);

    HostKind kindOf(std::string_view host) const;
    std::string name(std::string_view key) const;
    const std::vector<Entry>& entries() const { return entries_; }

    // The login cookie must reach the city servers too, so it is set for the
    // main server's parent domain ("www.tarvo.test" → "tarvo.test").
    std::string cookieDomain() const;

private:
    std::vector<Entry> entries_;
};

} // namespace world
