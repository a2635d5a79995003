#include "chat.h"

#include "cp1251.h"
#include "wire.h"

namespace world {

void ChatLog::append(ChatLine line) {
    line.seq = ++lastSeq_;
    lines_.push_back(std::move(line));
}

std::vector<const ChatLine*> ChatLog::recent(std::string_view host, std::size_t count) const {
    std::vector<const ChatLine*> found;
    for (auto it = lines_.rbegin(); it != lines_.rend() && found.size() < count; ++it) {
        if (it->host == host)
            found.push_back(&*it);
    }
    return {found.rbegin(), found.rend()};
}

std::string ChatLog::toJson() const {
    std::string out = "{\"lines\":[";
    bool first = true;
    for (const auto& line : lines_) {
        out += first ? "\n" : ",\n";
        first = false;
        out += "{\"seq\":" + std::to_string(line.seq) + ",\"login\":" + jsonUtf8(line.login) +
               ",\"host\":" + jsonUtf8(line.host) + ",\"color\":" + jsonUtf8(line.color) +
               ",\"text\":" + jsonUtf8(line.text) + "}";
    }
    out += "\n]}\n";
    return out;
}

std::string chatText(std::string_view cp1251Bytes) {
    const auto end = cp1251Bytes.find_last_not_of(' ');
    return cp1251ToUtf8(cp1251Bytes.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

} // namespace world
