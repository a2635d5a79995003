#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace world {

struct ChatLine {
    std::uint64_t seq = 0;
    std::string login; // UTF-8; empty when sent without a session
    std::string host;
    std::string color; // UTF-8
    std::string text;  // UTF-8
};

// Every chat line sent to any game host. Sequence numbers keep counting
// across clear(), as the request log's do.
class ChatLog {
public:
    void append(ChatLine line);
    void clear() { lines_.clear(); }

    const std::deque<ChatLine>& lines() const { return lines_; }
    // The last `count` lines sent to `host`, oldest first.
    std::vector<const ChatLine*> recent(std::string_view host, std::size_t count) const;

    std::string toJson() const;

private:
    std::deque<ChatLine> lines_;
    std::uint64_t lastSeq_ = 0;
};

// The text field of a chat request, already percent-decoded ('+' a blank),
// as UTF-8 without the trailing blanks: the client's cache-buster is a run
// of '+' at the end.
std::string chatText(std::string_view cp1251Bytes);

} // namespace world
