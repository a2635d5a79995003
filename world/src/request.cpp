#include "request.h"

#include "wire.h"

namespace world {

namespace {

std::string_view trimOws(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string hostWithoutPort(std::string_view hostPort) {
    if (!hostPort.empty() && hostPort.front() == '[') {
        const auto close = hostPort.find(']');
        return asciiLower(
            hostPort.substr(0, close == std::string_view::npos ? hostPort.size() : close + 1));
    }
    const auto colon = hostPort.find(':');
    return asciiLower(hostPort.substr(0, colon));
}

} // namespace

std::string WorldRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (iequals(key, name))
            return value;
    }
    return {};
}

std::vector<std::string> WorldRequest::headerValues(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [key, value] : headers) {
        if (iequals(key, name))
            values.push_back(value);
    }
    return values;
}

bool parseRequestHead(std::string_view head, WorldRequest& out) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < head.size()) {
        auto end = head.find('\n', start);
        if (end == std::string_view::npos)
            end = head.size();
        std::string_view line = head.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty())
        return false;

    const std::string_view requestLine = lines.front();
    const auto sp1 = requestLine.find(' ');
    const auto sp2 = requestLine.rfind(' ');
    if (sp1 == std::string_view::npos || sp2 == sp1)
        return false;
    out.method = std::string(requestLine.substr(0, sp1));
    out.target = std::string(requestLine.substr(sp1 + 1, sp2 - sp1 - 1));
    out.version = std::string(requestLine.substr(sp2 + 1));

    out.headers.clear();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty())
            break;
        if ((line.front() == ' ' || line.front() == '\t') && !out.headers.empty()) {
            // An obsolete folded line continues the previous value.
            out.headers.back().second += ' ';
            out.headers.back().second += trimOws(line);
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        out.headers.emplace_back(std::string(line.substr(0, colon)),
                                 std::string(trimOws(line.substr(colon + 1))));
    }
    return true;
}

void resolveTarget(WorldRequest& req) {
    std::string_view rest = req.target;
    req.absoluteForm = false;
    req.host.clear();
    constexpr std::string_view kScheme = "http://";
    if (rest.size() >= kScheme.size() && iequals(rest.substr(0, kScheme.size()), kScheme)) {
        req.absoluteForm = true;
        rest.remove_prefix(kScheme.size());
        const auto authorityEnd = rest.find_first_of("/?#");
        std::string_view authority = rest.substr(0, authorityEnd);
        const auto at = authority.rfind('@');
        if (at != std::string_view::npos)
            authority.remove_prefix(at + 1);
        req.host = hostWithoutPort(authority);
        rest =
            authorityEnd == std::string_view::npos ? std::string_view() : rest.substr(authorityEnd);
    } else {
        req.host = hostWithoutPort(req.header("Host"));
    }
    const auto hash = rest.find('#');
    if (hash != std::string_view::npos)
        rest = rest.substr(0, hash);
    const auto q = rest.find('?');
    req.path = std::string(rest.substr(0, q));
    req.query = q == std::string_view::npos ? std::string() : std::string(rest.substr(q + 1));
    if (req.path.empty() || req.path.front() != '/')
        req.path.insert(req.path.begin(), '/');
}

} // namespace world
