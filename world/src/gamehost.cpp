#include "gamehost.h"

#include "chat.h"
#include "cp1251.h"
#include "pages.h"
#include "rooms.h"
#include "wire.h"

#include <array>
#include <optional>

namespace world {

namespace {

constexpr std::size_t kChatLinesShown = 50; // the frame shows the latest lines only

// Whether a page looks up the character of the session cookie, and whether
// it refuses a request without one.
enum class Login { None, Optional, Required };

struct Route {
    std::string_view method; // "GET" also answers HEAD
    std::string_view path;
    Login login;
    WorldResponse (*handler)(GameContext&, const WorldRequest&, Character*);
};

WorldResponse html(const std::string& utf8Page) {
    WorldResponse res;
    res.body = utf8ToCp1251(utf8Page);
    return res;
}

// Form fields of a post body, or of the query for everything else.
Fields formOf(const WorldRequest& req) {
    return parseForm(req.method == "POST" ? req.body : req.query);
}

// The location asked for by a "levelN" key; the key's value is a
// cache-buster and means nothing.
std::optional<std::string> levelKey(const Fields& fields) {
    for (const auto& [key, value] : fields) {
        if (key.size() > 5 && key.compare(0, 5, "level") == 0)
            return key.substr(5);
    }
    return std::nullopt;
}

// Moves the character as asked and names the outcome for the page.
std::string moveTo(Character& ch, std::string_view digits) {
    const auto to = parseSmallNumber(digits);
    switch (to ? checkMove(ch.room, *to) : MoveResult::NoSuchRoom) {
    case MoveResult::Moved:
        ch.room = *to;
        return {};
    case MoveResult::NoSuchRoom:
        return "Локации " + std::string(digits) + " нет";
    case MoveResult::NotFromHere:
        return "Отсюда в локацию " + std::string(digits) + " не пройти";
    }
    return {};
}

WorldResponse entryPage(GameContext&, const WorldRequest&, Character*) {
    return html(pages::entry());
}

WorldResponse styleSheet(GameContext&, const WorldRequest&, Character*) {
    WorldResponse res;
    res.contentType = "text/css";
    res.body = pages::styleSheet();
    return res;
}

WorldResponse enter(GameContext& ctx, const WorldRequest& req, Character*) {
    const Fields form = parseForm(req.body);
    const std::string login = cp1251ToUtf8(fieldValue(form, "login").value_or(""));
    const std::string password = cp1251ToUtf8(fieldValue(form, "psw").value_or(""));
    Character* ch = ctx.state.findByLogin(login);
    if (!ch || ch->password != password)
        return html(pages::loginFailed());
    WorldResponse res = html(pages::gameFrameset());
    res.headers.emplace_back("Set-Cookie", "sid=" + ctx.state.openSession(*ch) +
                                               "; path=/; domain=" + ctx.hosts.cookieDomain());
    return res;
}

WorldResponse city(GameContext&, const WorldRequest& req, Character* ch) {
    const auto level = levelKey(formOf(req));
    return html(pages::room(*ch, level ? moveTo(*ch, *level) : std::string()));
}

// Taking off, putting on and the inventory itself all answer with the
// inventory, so the client's backpack browser reads the new list.
std::optional<std::string> equipmentChange(Character& ch, const Fields& form) {
    if (const auto setdown = fieldValue(form, "setdown"))
        return ch.equipment.takeOff(cp1251ToUtf8(*setdown));
    if (const auto set = fieldValue(form, "set"))
        return ch.equipment.putOn(*set, fieldValue(form, "n").value_or(""));
    if (fieldValue(form, "edit"))
        return std::string();
    return std::nullopt;
}

WorldResponse mainPage(GameContext& ctx, const WorldRequest& req, Character* ch) {
    const Fields form = formOf(req);
    if (const auto note = equipmentChange(*ch, form))
        return html(pages::backpack(*ch, *note, ctx.state.randomNumber()));
    if (const auto level = levelKey(form))
        return html(pages::room(*ch, moveTo(*ch, *level)));
    std::string note;
    if (const auto top = fieldValue(form, "top"); top && cp1251ToUtf8(*top) != "Вернуться")
        note = "Неизвестная команда: " + cp1251ToUtf8(*top);
    return html(pages::mainView(*ch, note));
}

WorldResponse battlePage(GameContext&, const WorldRequest&, Character* ch) {
    return html(pages::battle(*ch));
}

// Both the chat frame and the sending of a chat line. A line is recorded
// even without a session, so a test sees what a logged-out client sent.
WorldResponse chatPage(GameContext& ctx, const WorldRequest& req, Character* ch) {
    const Fields form = formOf(req);
    const std::string host = cp1251ToUtf8(req.host);
    if (const auto text = fieldValue(form, "text")) {
        ctx.state.chat().append({0, ch ? ch->login : std::string(), host,
                                 cp1251ToUtf8(fieldValue(form, "color").value_or("")),
                                 chatText(*text)});
    }
    if (!ch)
        return html(pages::notAuthorised());
    return html(pages::chat(ctx.state.online(), ctx.state.chat().recent(host, kChatLinesShown)));
}

// One table per kind of host; a page is added by adding a line.
constexpr std::array kMainRoutes = {
    Route{"GET", "/", Login::None, entryPage},
    Route{"GET", "/index.html", Login::None, entryPage},
    Route{"GET", "/i/main.css", Login::None, styleSheet},
    Route{"POST", "/enter.pl", Login::None, enter},
    Route{"GET", "/city.pl", Login::Required, city},
    Route{"POST", "/city.pl", Login::Required, city},
    Route{"GET", "/main.pl", Login::Required, mainPage},
    Route{"POST", "/main.pl", Login::Required, mainPage},
    Route{"GET", "/battle.pl", Login::Required, battlePage},
    Route{"POST", "/battle.pl", Login::Required, battlePage},
    Route{"GET", "/ch.pl", Login::Optional, chatPage},
};

constexpr std::array kCityRoutes = {
    Route{"GET", "/i/main.css", Login::None, styleSheet},
    Route{"GET", "/city.pl", Login::Required, city},
    Route{"POST", "/city.pl", Login::Required, city},
    Route{"GET", "/main.pl", Login::Required, mainPage},
    Route{"POST", "/main.pl", Login::Required, mainPage},
    Route{"GET", "/battle.pl", Login::Required, battlePage},
    Route{"POST", "/battle.pl", Login::Required, battlePage},
    Route{"GET", "/ch.pl", Login::Optional, chatPage},
};

template <std::size_t N>
const Route* findRoute(const std::array<Route, N>& routes, const WorldRequest& req) {
    const std::string_view method = req.method == "HEAD" ? std::string_view("GET") : req.method;
    for (const auto& r : routes) {
        if (r.method == method && r.path == req.path)
            return &r;
    }
    return nullptr;
}

} // namespace

WorldResponse notFoundResponse(const WorldRequest& req) {
    WorldResponse res = html(pages::notFound(cp1251ToUtf8(req.host + req.path)));
    res.status = 404;
    return res;
}

WorldResponse serveGameHost(GameContext& ctx, const WorldRequest& req, HostKind kind) {
    const Route* route =
        kind == HostKind::Main ? findRoute(kMainRoutes, req) : findRoute(kCityRoutes, req);
    if (!route)
        return notFoundResponse(req);
    Character* ch =
        route->login != Login::None ? ctx.state.fromCookies(req.headerValues("Cookie")) : nullptr;
    WorldResponse res = route->login == Login::Required && !ch ? html(pages::notAuthorised())
                                                               : route->handler(ctx, req, ch);
    // An old server with lax caching: a client that wants fresh pages has to
    // ask for them.
    if (route->method == "GET" && res.status == 200)
        res.headers.emplace_back("Cache-Control", "max-age=600");
    return res;
}

} // namespace world
