#pragma once

#include "request.h"

#include <cstdint>
#include <deque>
#include <string>

namespace world {

// Every request the world answered as one of the game's hosts, for tests to
// read back. Sequence numbers keep counting across clear(), so a reader can
// ask for "everything since N" without races against a clear.
class RequestLog {
public:
    // Gives the request its sequence number and keeps a copy.
    std::uint64_t append(WorldRequest& req);
    void clear() { entries_.clear(); }

    // Entries with a sequence number greater than `since`, as a JSON array.
    std::string toJson(std::uint64_t since) const;

private:
    std::deque<WorldRequest> entries_;
    std::uint64_t lastSeq_ = 0;
};

} // namespace world
