#include "observer.h"

#include "rooms.h"
#include "wire.h"

#include <charconv>

namespace world {

namespace {

WorldResponse json(int status, std::string body) {
    WorldResponse res;
    res.status = status;
    res.contentType = "application/json";
    res.body = std::move(body);
    return res;
}

WorldResponse error(int status, std::string_view message) {
    return json(status, "{\"error\":" + jsonUtf8(message) + "}\n");
}

constexpr int kMaxGeneratedItems = 1000;

// A count of generated items: absent is 0, anything but a small number is
// refused.
std::optional<int> countField(const Fields& query, std::string_view name) {
    const auto value = fieldValue(query, name);
    if (!value)
        return 0;
    const auto count = parseSmallNumber(*value);
    if (!count || *count > kMaxGeneratedItems)
        return std::nullopt;
    return count;
}

WorldResponse setState(WorldState& state, const Fields& query) {
    const auto login = fieldValue(query, "login");
    if (!login)
        return error(400, "login missing");
    Character* ch = state.findByLogin(*login);
    if (!ch)
        return error(404, "no such login");
    const auto room = fieldValue(query, "room");
    std::optional<int> roomNumber;
    if (room) {
        roomNumber = parseSmallNumber(*room);
        if (!roomNumber || !findRoom(*roomNumber))
            return error(400, "no such room");
    }
    const auto online = fieldValue(query, "online");
    if (online && *online != "0" && *online != "1")
        return error(400, "online must be 0 or 1");
    const auto wearable = countField(query, "backpack");
    const auto other = countField(query, "junk");
    if (!wearable || !other)
        return error(400, "backpack and junk must be counts up to " +
                              std::to_string(kMaxGeneratedItems));
    // Checked everything first, so a bad request changes nothing.
    if (roomNumber)
        ch->room = *roomNumber;
    if (online)
        ch->online = *online == "1";
    if (fieldValue(query, "backpack") || fieldValue(query, "junk"))
        state.fillBackpack(*ch, *wearable, *other);
    return json(200, state.toJson());
}

} // namespace

bool isInspectionRequest(const WorldRequest& req) {
    return !req.absoluteForm &&
           req.target.compare(0, kInspectionPrefix.size(), kInspectionPrefix) == 0;
}

WorldResponse serveInspection(WorldState& state, RequestLog& log, const WorldRequest& req) {
    const Fields query = parseForm(req.query);
    const bool get = req.method == "GET" || req.method == "HEAD";
    const bool post = req.method == "POST";
    if (req.path == "/__world/log" && get) {
        std::uint64_t since = 0;
        if (const auto s = fieldValue(query, "since")) {
            const auto [end, ec] = std::from_chars(s->data(), s->data() + s->size(), since);
            if (ec != std::errc() || end != s->data() + s->size())
                return error(400, "since must be a sequence number");
        }
        return json(200, log.toJson(since));
    }
    if (req.path == "/__world/clear" && post) {
        log.clear();
        state.chat().clear();
        return json(200, "{\"ok\":true}\n");
    }
    if (req.path == "/__world/state" && get)
        return json(200, state.toJson());
    if (req.path == "/__world/chat" && get)
        return json(200, state.chat().toJson());
    if (req.path == "/__world/set" && post)
        return setState(state, query);
    if (req.path == "/__world/log" || req.path == "/__world/clear" ||
        req.path == "/__world/state" || req.path == "/__world/set" || req.path == "/__world/chat")
        return error(405, "wrong method");
    return error(404, "no such inspection address");
}

} // namespace world
