#include "hosts.h"

#include "wire.h"

namespace world {

namespace {

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

bool validHostName(std::string_view s) {
    if (s.empty() || s.size() > 253)
        return false;
    for (char c : s) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

HostTable::HostTable()
    : entries_{
          {"main", HostKind::Main, "www.tarvo.test"},
          {"ysmer", HostKind::City, "ysmercity.tarvo.test"},
          {"krall", HostKind::City, "krallcity.tarvo.test"},
          {"bruvik", HostKind::City, "bruvikcity.tarvo.test"},
          {"makers", HostKind::Makers, "www.orvix.test"},
          {"forum", HostKind::Forum, "forum.gamehub.test"},
          {"velnar", HostKind::Velnar, "velnar.test"},
          {"sh", HostKind::Sh, "sh-logs.test"},
      } {}

bool HostTable::load(std::istream& in, std::string& error) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string text = trim(line);
        if (text.empty() || text[0] == '#')
            continue;
        const auto eq = text.find('=');
        const std::string where = "line " + std::to_string(number) + ": ";
        if (eq == std::string::npos) {
            error = where + "expected key=value";
            return false;
        }
        const std::string key = trim(std::string_view(text).substr(0, eq));
        const std::string value = asciiLower(trim(std::string_view(text).substr(eq + 1)));
        Entry* entry = nullptr;
        for (auto& e : entries_) {
            if (e.key == key)
                entry = &e;
        }
        if (!entry) {
            error = where + "unknown key \"" + key + "\"";
            return false;
        }
        if (!validHostName(value)) {
            error = where + "bad host name \"" + value + "\"";
            return false;
        }
        entry->name = value;
    }
    return true;
}

HostKind HostTable::kindOf(std::string_view host) const {
    const std::string lower = asciiLower(host);
    for (const auto& e : entries_) {
        if (e.name == lower)
            return e.kind;
    }
    return HostKind::Unknown;
}

std::string HostTable::name(std::string_view key) const {
    for (const auto& e : entries_) {
        if (e.key == key)
            return e.name;
    }
    return {};
}

std::string HostTable::cookieDomain() const {
    const std::string main = name("main");
    const auto dot = main.find('.');
    // Keep at least two labels: "tarvo.test", never "test".
    if (dot == std::string::npos || main.find('.', dot + 1) == std::string::npos)
        return main;
    return main.substr(dot + 1);
}

} // namespace world
