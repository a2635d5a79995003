#include "requestlog.h"

#include "wire.h"

namespace world {

namespace {

// Far more than any test run needs; it only stops a long demo session from
// growing without bound.
constexpr std::size_t kMaxEntries = 100000;

} // namespace

std::uint64_t RequestLog::append(WorldRequest& req) {
    req.seq = ++lastSeq_;
    entries_.push_back(req);
    if (entries_.size() > kMaxEntries)
        entries_.pop_front();
    return req.seq;
}

std::string RequestLog::toJson(std::uint64_t since) const {
    std::string out = "[";
    bool first = true;
    for (const auto& e : entries_) {
        if (e.seq <= since)
            continue;
        if (!first)
            out += ",";
        first = false;
        out += "\n{\"seq\":" + std::to_string(e.seq);
        out += ",\"method\":" + jsonBytes(e.method);
        out += ",\"target\":" + jsonBytes(e.target);
        out += ",\"host\":" + jsonBytes(e.host);
        out += ",\"path\":" + jsonBytes(e.path);
        out += ",\"query\":" + jsonBytes(e.query);
        out += ",\"headers\":[";
        for (std::size_t i = 0; i < e.headers.size(); ++i) {
            if (i)
                out += ",";
            out += "[" + jsonBytes(e.headers[i].first) + "," + jsonBytes(e.headers[i].second) + "]";
        }
        out += "],\"body_hex\":\"" + hexLower(e.body) + "\"}";
    }
    out += "\n]\n";
    return out;
}

} // namespace world
