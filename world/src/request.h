#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace world {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// A request as it came over the wire: the target exactly as on the request
// line, headers in arrival order, the body's bytes.
struct WorldRequest {
    std::uint64_t seq = 0;
    std::string method;
    std::string target;
    std::string version;
    HeaderList headers;
    std::string body;

    // Worked out from the target (absolute form) or the Host header.
    std::string host; // lower case, without port
    std::string path; // raw, without query; "/" when the target has none
    std::string query;
    bool absoluteForm = false;

    // First value of a header, names compared case-insensitively.
    std::string header(std::string_view name) const;
    std::vector<std::string> headerValues(std::string_view name) const;
};

struct WorldResponse {
    int status = 200;
    std::string contentType = "text/html; charset=windows-1251";
    HeaderList headers;
    std::string body;
};

// Parses a request head (request line and header lines, up to and including
// the blank line). Returns false for a head that has no request line.
bool parseRequestHead(std::string_view head, WorldRequest& out);

// Fills host, path and query from target and the Host header.
void resolveTarget(WorldRequest& req);

} // namespace world
