// Tests of the local game world, through its network face: the game's hosts
// reached as a proxy, and the inspection address reached directly.

#include "cp1251.h"
#include "hosts.h"
#include "server.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <iconv.h>
#include <iostream>
#include <netinet/in.h>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int g_failures = 0;
std::string g_case; // the table row being checked, for failure messages

void check(bool ok, const std::string& what, int line) {
    if (ok)
        return;
    ++g_failures;
    std::cerr << "FAIL (line " << line << ")" << (g_case.empty() ? "" : " [" + g_case + "]") << ": "
              << what << "\n";
}
#define CHECK(cond, what) check((cond), (what), __LINE__)

bool contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

// Conversions for building test input go through glibc's iconv, not the
// world's own table, so a mistake there can't cancel itself out.
std::optional<std::string> iconvConvert(const char* from, const char* to, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input = in;
    std::string out(in.size() * 4 + 8, '\0');
    char* inPtr = input.data();
    std::size_t inLeft = input.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::string cp(const std::string& utf8) {
    return iconvConvert("UTF-8", "CP1251", utf8).value();
}

std::string percentAll(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%%%02X", b);
        out += buf;
    }
    return out;
}

std::string hexOf(const std::string& bytes) {
    std::string out;
    char buf[3];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        out += buf;
    }
    return out;
}

// A world in this process, on a free port.
class World {
public:
    World() : server_(world::HostTable()) {
        port_ = server_.bind(0);
        thread_ = std::thread([this] { server_.run(); });
        while (!server_.isRunning())
            std::this_thread::yield();
    }
    ~World() {
        server_.stop();
        thread_.join();
    }
    int port() const { return port_; }

private:
    world::WorldServer server_;
    std::thread thread_;
    int port_ = -1;
};

// A client that reaches a game host through the world, as the program does.
httplib::Client proxied(const World& w, const std::string& host) {
    httplib::Client cli(host);
    cli.set_proxy("127.0.0.1", w.port());
    cli.set_url_encode(false); // the tests choose every byte of the target
    return cli;
}

httplib::Client direct(const World& w) {
    return httplib::Client("127.0.0.1", w.port());
}

// Sends bytes as they are, ends the sending side and reads the whole answer.
struct RawAnswer {
    int status = 0;
    std::string text;
};

RawAnswer rawExchange(int port, const std::string& bytes) {
    RawAnswer answer;
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(s);
        return answer;
    }
    ::send(s, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    ::shutdown(s, SHUT_WR); // so the world closes after its answer
    char buf[4096];
    ssize_t n;
    while ((n = ::recv(s, buf, sizeof buf, 0)) > 0)
        answer.text.append(buf, static_cast<std::size_t>(n));
    ::close(s);
    if (answer.text.rfind("HTTP/1.", 0) == 0 && answer.text.size() > 12)
        answer.status = std::stoi(answer.text.substr(9, 3));
    return answer;
}

std::string loginBody(const std::string& login, const std::string& password) {
    return "login=" + login + "&psw=" + password + "&enter=" + cp("Зайти") + "&lastlogin=" + login;
}

// Logs in with raw 1251 bytes and returns the session id, or "".
std::string logIn(const World& w, const std::string& utf8Login, const std::string& utf8Password) {
    auto res = proxied(w, "www.tarvo.test")
                   .Post("/enter.pl", loginBody(cp(utf8Login), cp(utf8Password)),
                         "application/x-www-form-urlencoded");
    if (!res)
        return {};
    std::smatch m;
    const std::string cookie = res->get_header_value("Set-Cookie");
    return std::regex_search(cookie, m, std::regex("sid=([0-9a-f]+)")) ? m[1].str() : "";
}

httplib::Headers withSession(const std::string& sid) {
    return {{"Cookie", "sid=" + sid}};
}

struct CharacterState {
    int room = -1;
    bool online = false;
    int sessions = -1;
};

std::optional<CharacterState> stateOf(const World& w, const std::string& utf8Login) {
    auto res = direct(w).Get("/__world/state");
    if (!res)
        return std::nullopt;
    const std::regex entry("\\{\"login\":\"" + utf8Login +
                           "\",\"room\":(\\d+),\"online\":(true|false),\"sessions\":(\\d+)\\}");
    std::smatch m;
    if (!std::regex_search(res->body, m, entry))
        return std::nullopt;
    return CharacterState{std::stoi(m[1]), m[2] == "true", std::stoi(m[3])};
}

std::string logJson(const World& w, const std::string& query = "") {
    auto res = direct(w).Get("/__world/log" + query);
    return res ? res->body : std::string();
}

int logEntryCount(const std::string& json) {
    int n = 0;
    for (std::size_t at = json.find("{\"seq\":"); at != std::string::npos;
         at = json.find("{\"seq\":", at + 1))
        ++n;
    return n;
}

// ---------------------------------------------------------------------------

void testCodecMatchesIconv() {
    g_case = "codec";
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const auto expected = iconvConvert("CP1251", "UTF-8", byte);
        const std::string mine = world::cp1251ToUtf8(byte);
        if (expected) {
            CHECK(mine == *expected, "byte " + std::to_string(b) + " decodes like iconv");
            CHECK(world::utf8ToCp1251(mine) == byte,
                  "byte " + std::to_string(b) + " survives a round trip");
        } else {
            CHECK(mine == "\xEF\xBF\xBD", "undefined byte " + std::to_string(b) + " gives U+FFFD");
        }
    }
    CHECK(world::utf8ToCp1251("a中b") == "a?b", "a character outside 1251 becomes '?'");
    CHECK(world::utf8ToCp1251("x\xD0") == "x?", "a truncated UTF-8 sequence becomes '?'");
}

void testHostsFile() {
    struct Row {
        std::string name, file;
        bool ok;
        std::string mainHost, cookieDomain;
    };
    const std::vector<Row> rows = {
        {"defaults", "# nothing\n\n", true, "www.tarvo.test", "tarvo.test"},
        {"override", "main = Game.Example.test\r\nysmer=y.example.test\n", true,
         "game.example.test", "example.test"},
        {"two labels", "main=tarvo.test\n", true, "tarvo.test", "tarvo.test"},
        {"unknown key", "moon=x.test\n", false, "", ""},
        {"no equals", "main\n", false, "", ""},
        {"bad name", "main=www tarvo.test\n", false, "", ""},
    };
    for (const auto& row : rows) {
        g_case = "hosts: " + row.name;
        world::HostTable hosts;
        std::istringstream in(row.file);
        std::string error;
        const bool ok = hosts.load(in, error);
        CHECK(ok == row.ok, "load result (" + error + ")");
        CHECK(ok || !error.empty(), "a refused file says why");
        if (!ok || !row.ok)
            continue;
        CHECK(hosts.name("main") == row.mainHost, "main host is " + hosts.name("main"));
        CHECK(hosts.kindOf(row.mainHost) == world::HostKind::Main, "main host is recognised");
        CHECK(hosts.cookieDomain() == row.cookieDomain, "cookie domain " + hosts.cookieDomain());
    }
}

void testLogin(const World& w) {
    struct Row {
        std::string name, utf8Login, body;
        bool ok;
    };
    const std::string vasya = cp("Вася");
    const std::vector<Row> rows = {
        {"raw 1251 login", "Вася", loginBody(vasya, "vasya"), true},
        {"percent-encoded 1251", "Вася", loginBody(percentAll(vasya), "vasya"), true},
        {"blank as '+', 1251 password", "Ёжик в тумане",
         loginBody(percentAll(cp("Ёжик")) + "+" + cp("в тумане"), cp("ёжик")), true},
        {"wrong password", "Вася", loginBody(vasya, "vasy"), false},
        {"unknown login", "Вася", loginBody(cp("Петя"), "vasya"), false},
        {"login sent as UTF-8", "Вася", loginBody("Вася", "vasya"), false},
        {"unescaped '&' splits the password", "Knight", loginBody("Knight", "sword&shield=1"),
         false},
        {"escaped '&' keeps it", "Knight", loginBody("Knight", "sword%26shield%3D1"), true},
    };
    for (const auto& row : rows) {
        g_case = "login: " + row.name;
        const auto before = stateOf(w, row.utf8Login);
        auto res = proxied(w, "www.tarvo.test")
                       .Post("/enter.pl", row.body, "application/x-www-form-urlencoded");
        CHECK(res && res->status == 200, "enter.pl answers 200");
        if (!res || !before)
            continue;
        const auto after = stateOf(w, row.utf8Login);
        const std::string cookie = res->get_header_value("Set-Cookie");
        if (row.ok) {
            CHECK(
                std::regex_search(cookie, std::regex("^sid=[0-9a-f]+; path=/; domain=tarvo.test$")),
                "session cookie for the whole game domain: " + cookie);
            CHECK(contains(res->body, "<frame name=\"main\" src=\"main.pl\">"), "frame main");
            CHECK(contains(res->body, "<frame name=\"online\" src=\"ch.pl?online=1&n=&\">"),
                  "frame online");
            CHECK(after && after->online && after->sessions == before->sessions + 1,
                  "character online with one more session");
        } else {
            CHECK(cookie.empty(), "no cookie for a failed login");
            CHECK(contains(res->body, cp("Неверный логин или пароль")), "error text");
            CHECK(!contains(res->body, "<frameset"), "no game page");
            CHECK(after && after->sessions == before->sessions, "no session opened");
        }
        CHECK(res->get_header_value("Content-Type") == "text/html; charset=windows-1251",
              "page charset");
    }
}

void testPagesNeedSession(const World& w) {
    struct Row {
        std::string host, method, target, body, cookie;
    };
    const std::vector<Row> rows = {
        {"www.tarvo.test", "GET", "/main.pl", "", ""},
        {"ysmercity.tarvo.test", "GET", "/city.pl?level100=5", "", ""},
        {"krallcity.tarvo.test", "POST", "/city.pl", "setch=799&level1=5", ""},
        {"bruvikcity.tarvo.test", "POST", "/battle.pl", "battle=7", ""},
        {"www.tarvo.test", "GET", "/ch.pl?online=1&n=&42", "", "sid=0123456789abcdef"},
    };
    for (const auto& row : rows) {
        g_case = "no session: " + row.method + " " + row.host + row.target;
        auto cli = proxied(w, row.host);
        httplib::Headers headers;
        if (!row.cookie.empty())
            headers.emplace("Cookie", row.cookie);
        auto res = row.method == "GET" ? cli.Get(row.target, headers)
                                       : cli.Post(row.target, headers, row.body,
                                                  "application/x-www-form-urlencoded");
        CHECK(res && res->status == 200, "answers 200");
        CHECK(res && contains(res->body, cp("Вы не авторизованы")), "says not logged in");
    }
}

void testMoves(const World& w) {
    g_case = "moves: login";
    const std::string sid = logIn(w, "Тестер", "test123");
    CHECK(!sid.empty(), "logged in");
    struct Step {
        std::string host, method, target, body;
        int room;
        std::string roomName;
        std::string refusal; // what the page says when the move is refused
    };
    // One walk through the building and the streets, every step checked.
    const std::vector<Step> walk = {
        {"www.tarvo.test", "POST", "/city.pl", "setch=799&level1=1306", 1, "Новички 1", ""},
        {"www.tarvo.test", "POST", "/city.pl", "setch=799&level5=88", 5, "Зал войнов 1", ""},
        {"www.tarvo.test", "POST", "/city.pl", "setch=799&level9=3", 5, "Зал войнов 1",
         "Отсюда в локацию 9 не пройти"},
        {"ysmercity.tarvo.test", "GET", "/city.pl?level100=1333927249", "", 100, "Центральная пл.",
         ""},
        {"ysmercity.tarvo.test", "GET", "/city.pl?level107=0", "", 107, "Страшилкин str.", ""},
        {"ysmercity.tarvo.test", "GET", "/city.pl?level109=12", "", 109, "Башня смерти", ""},
        {"ysmercity.tarvo.test", "GET", "/city.pl?level102=12", "", 109, "Башня смерти",
         "Отсюда в локацию 102 не пройти"},
        {"ysmercity.tarvo.test", "GET", "/city.pl?level42=12", "", 109, "Башня смерти",
         "Локации 42 нет"},
        {"krallcity.tarvo.test", "POST", "/main.pl", "setch=190&level100=931", 100,
         "Центральная пл.", ""},
        {"krallcity.tarvo.test", "GET", "/city.pl?level50=4", "", 50, "Секретка", ""},
    };
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const Step& s = walk[i];
        g_case = "move " + std::to_string(i + 1) + ": " + s.method + " " + s.target + " " + s.body;
        auto cli = proxied(w, s.host);
        auto res = s.method == "GET" ? cli.Get(s.target, withSession(sid))
                                     : cli.Post(s.target, withSession(sid), s.body,
                                                "application/x-www-form-urlencoded");
        CHECK(res && res->status == 200, "answers 200");
        if (!res)
            continue;
        const std::string where =
            cp("<b>" + s.roomName + "</b> (локация " + std::to_string(s.room) + ")");
        CHECK(contains(res->body, where), "room page shows " + s.roomName);
        if (s.refusal.empty())
            CHECK(!contains(res->body, cp("не пройти")) && !contains(res->body, cp("Локации")),
                  "no refusal on the page");
        else
            CHECK(contains(res->body, cp(s.refusal)), "page says: " + s.refusal);
        const auto st = stateOf(w, "Тестер");
        CHECK(st && st->room == s.room, "world state room " + std::to_string(st ? st->room : -1));
    }
}

void testMainViewTop(const World& w) {
    const std::string sid = logIn(w, "demo", "demo");
    const std::string back = cp("Вернуться");
    struct Row {
        std::string name, method, targetOrBody;
        bool understood;
    };
    const std::vector<Row> rows = {
        {"percent-encoded 1251", "GET", "/main.pl?top=" + percentAll(back), true},
        {"raw 1251 bytes", "GET", "/main.pl?top=" + back, true},
        {"percent-encoded UTF-8", "GET", "/main.pl?top=" + percentAll("Вернуться"), false},
        {"no query", "GET", "/main.pl", true},
        {"post of raw 1251", "POST", "top=" + back, true},
    };
    for (const auto& row : rows) {
        g_case = "main.pl: " + row.name;
        auto cli = proxied(w, "bruvikcity.tarvo.test");
        auto res = row.method == "GET" ? cli.Get(row.targetOrBody, withSession(sid))
                                       : cli.Post("/main.pl", withSession(sid), row.targetOrBody,
                                                  "application/x-www-form-urlencoded");
        CHECK(res && contains(res->body, cp("Вы находитесь:")), "main view");
        CHECK(res && contains(res->body, cp("Неизвестная команда")) != row.understood,
              row.understood ? "command understood" : "command not understood");
    }

    g_case = "caching";
    auto get = proxied(w, "www.tarvo.test").Get("/main.pl", withSession(sid));
    auto post =
        proxied(w, "www.tarvo.test")
            .Post("/battle.pl", withSession(sid), "battle=5", "application/x-www-form-urlencoded");
    CHECK(get && get->get_header_value("Cache-Control") == "max-age=600",
          "GET pages may be cached");
    CHECK(post && !post->has_header("Cache-Control"), "POST answers carry no caching");
    CHECK(post && contains(post->body, cp("Вы не в бою")), "battle page");
}

void testRequestLog(const World& w) {
    g_case = "log";
    CHECK(direct(w).Post("/__world/clear") != nullptr, "clear");
    const std::string body = "setch=799&text=" + cp("Привет") + "&x=%C7";
    const std::string request = "POST http://ysmercity.tarvo.test/city.pl?a=%41?b HTTP/1.1\r\n"
                                "Host: ysmercity.tarvo.test\r\n"
                                "X-Zeta: last letter first\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\n"
                                "X-Alpha:  2 \r\n"
                                "Content-Length: " +
                                std::to_string(body.size()) +
                                "\r\n"
                                "Connection: close\r\n\r\n" +
                                body;
    const RawAnswer answer = rawExchange(w.port(), request);
    CHECK(answer.status == 200, "the request is answered");

    const std::string json = logJson(w);
    CHECK(logEntryCount(json) == 1, "one entry after clear: " + json);
    CHECK(contains(json, "\"method\":\"POST\""), "method");
    CHECK(contains(json, "\"target\":\"http://ysmercity.tarvo.test/city.pl?a=%41?b\""),
          "raw target with escapes and a second '?'");
    CHECK(contains(json,
                   "\"host\":\"ysmercity.tarvo.test\",\"path\":\"/city.pl\",\"query\":\"a=%41?b\""),
          "host, path and query");
    CHECK(contains(json, "\"headers\":[[\"Host\",\"ysmercity.tarvo.test\"],"
                         "[\"X-Zeta\",\"last letter first\"],"
                         "[\"Content-Type\",\"application/x-www-form-urlencoded\"],"
                         "[\"X-Alpha\",\"2\"],"
                         "[\"Content-Length\",\"" +
                             std::to_string(body.size()) +
                             "\"],"
                             "[\"Connection\",\"close\"]]"),
          "headers in arrival order, and only those");
    CHECK(contains(json, "\"body_hex\":\"" + hexOf(body) + "\""), "body bytes");

    // A raw Cyrillic byte in a target is shown one code point per byte.
    g_case = "log: raw byte in target";
    rawExchange(w.port(), "GET http://www.tarvo.test/main.pl?top=" + cp("В") +
                              "\" HTTP/1.1\r\nConnection: close\r\n\r\n");
    const std::string all = logJson(w);
    CHECK(contains(all, "\"target\":\"http://www.tarvo.test/main.pl?top=\\u00c2\\\"\""),
          "byte 0xC2 and a quote escaped");

    g_case = "log: since";
    std::smatch m;
    CHECK(std::regex_search(all, m, std::regex("\"seq\":(\\d+)")), "first entry has a seq");
    if (!m.empty()) {
        const std::string later = logJson(w, "?since=" + m[1].str());
        CHECK(logEntryCount(later) == 1 && contains(later, "top="), "only the later entry");
    }
    auto bad = direct(w).Get("/__world/log?since=x");
    CHECK(bad && bad->status == 400, "a bad since is refused");
}

void testInspectionIsNotLogged(const World& w) {
    g_case = "inspection";
    auto cli = direct(w);
    CHECK(cli.Post("/__world/clear") != nullptr, "clear");
    cli.Get("/__world/state");
    cli.Get("/__world/log");
    cli.Post("/__world/set?login=demo&room=1");
    cli.Get("/__world/nothing");
    CHECK(logEntryCount(logJson(w)) == 0, "inspection requests leave no entries");

    // Through the proxy, the same path is a game address like any other.
    auto res = proxied(w, "www.tarvo.test").Get("/__world/log");
    CHECK(res && res->status == 404, "a game host has no inspection page");
    CHECK(logEntryCount(logJson(w)) == 1, "and that request is logged");

    auto res2 = proxied(w, "www.orvix.test").Get("/");
    CHECK(res2 && res2->status == 404, "hosts without pages yet answer 404");
}

void testSetHook(const World& w) {
    struct Row {
        std::string name, query;
        int status;
        int room;
        bool online;
    };
    const std::string tester = percentAll("Тестер");
    const std::vector<Row> rows = {
        {"room and online", "login=" + tester + "&room=107&online=0", 200, 107, false},
        {"online only", "login=" + tester + "&online=1", 200, 107, true},
        {"no such room changes nothing", "login=" + tester + "&room=108&online=0", 400, 107, true},
        {"bad online value", "login=" + tester + "&online=yes", 400, 107, true},
        {"unknown login", "login=" + percentAll("Никто") + "&room=1", 404, 107, true},
        {"login as 1251 isn't UTF-8", "login=" + percentAll(cp("Тестер")) + "&room=1", 404, 107,
         true},
    };
    for (const auto& row : rows) {
        g_case = "set: " + row.name;
        auto res = direct(w).Post("/__world/set?" + row.query);
        CHECK(res && res->status == row.status, "status");
        const auto st = stateOf(w, "Тестер");
        CHECK(st && st->room == row.room && st->online == row.online, "state after");
    }
    auto get = direct(w).Get("/__world/set?login=demo&room=1");
    CHECK(get && get->status == 405, "set wants POST");
}

void testBadInput(const World& w) {
    struct Row {
        std::string name, bytes;
        int status; // 0: the connection may just close
    };
    const std::vector<Row> rows = {
        {"garbage", "GARBAGE\r\n\r\n", 400},
        {"body shorter than announced",
         "POST http://www.tarvo.test/enter.pl HTTP/1.1\r\nContent-Length: 100\r\n\r\nlogin=", 0},
        {"head cut off", "GET http://www.tarvo.test/main.pl HTTP/1.1\r\nHost: www.ta", 0},
        {"overlong target",
         "GET http://www.tarvo.test/?" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n", 414},
        {"bad chunk",
         "POST http://www.tarvo.test/city.pl HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
         400},
        {"huge length",
         "POST http://www.tarvo.test/city.pl HTTP/1.1\r\nContent-Length: "
         "99999999999999999999\r\n\r\n",
         413},
        {"no path", "GET http://www.tarvo.test HTTP/1.1\r\nConnection: close\r\n\r\n", 200},
        {"raw blank in target",
         "GET http://www.tarvo.test/a b HTTP/1.1\r\nConnection: close\r\n\r\n", 404},
        {"unknown host", "GET /city.pl HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n",
         404},
    };
    for (const auto& row : rows) {
        g_case = "bad input: " + row.name;
        const RawAnswer a = rawExchange(w.port(), row.bytes);
        if (row.status)
            CHECK(a.status == row.status, "status " + std::to_string(a.status));
        auto alive = direct(w).Get("/__world/state");
        CHECK(alive && alive->status == 200, "the world still answers");
    }
}

// A JSON string literal for the expected values of the tests: enough for
// the quotes and backslashes the test texts hold.
std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

struct ChatEntry {
    std::uint64_t seq = 0;
    std::string fields; // the entry after its seq, e.g. "login":"Вася",...}
};

// The world writes one chat line per JSON line.
std::vector<ChatEntry> chatEntries(const World& w) {
    std::vector<ChatEntry> entries;
    auto res = direct(w).Get("/__world/chat");
    if (!res)
        return entries;
    std::istringstream in(res->body);
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, std::regex("\\{\"seq\":(\\d+),(.*\\})(,?)")))
            entries.push_back({std::stoull(m[1]), m[2]});
    }
    return entries;
}

void testChat(const World& w) {
    g_case = "chat: login";
    const std::string sid = logIn(w, "Вася", "vasya");
    CHECK(!sid.empty(), "logged in");
    CHECK(direct(w).Post("/__world/clear") != nullptr, "clear");
    struct Row {
        std::string name, host, query;
        bool session;
        std::string color, text; // as recorded, UTF-8
    };
    const std::string pluses101(101, '+');
    const std::vector<Row> rows = {
        {"Cyrillic as %XX of 1251", "www.tarvo.test",
         "color=Orange&sys=&om=&lid=&text=" + percentAll(cp("Привет всем, ё!")) + "+", true,
         "Orange", "Привет всем, ё!"},
        {"raw 1251 bytes, '+' a blank", "ysmercity.tarvo.test",
         "color=Navy&sys=&om=&lid=&text=" + cp("Здравствуй") + "+" + cp("мир") + "+++", true,
         "Navy", "Здравствуй мир"},
        {"escaped & # + = % arrive whole", "www.tarvo.test",
         "color=Black&sys=&om=&lid=&text=a%26b%23c%2Bd%3De%25f+g" + pluses101, true, "Black",
         "a&b#c+d=e%f g"},
        {"escaped '+' at the end stays", "www.tarvo.test",
         "color=Black&sys=&om=&lid=&text=1%2B1%2B" + pluses101, true, "Black", "1+1+"},
        {"empty text", "www.tarvo.test", "color=&sys=&om=&lid=&text=+", true, "", ""},
        {"no trailing run", "krallcity.tarvo.test",
         "color=Teal&sys=&om=&lid=&text=" + cp("бой") + "%20" + cp("идёт"), true, "Teal",
         "бой идёт"},
        {"markup and quotes as text", "www.tarvo.test",
         "color=%22Red%3E&sys=&om=&lid=&text=%3Cscript%3Ex%3C/script%3E+%22q%22++", true, "\"Red>",
         "<script>x</script> \"q\""},
        {"no session: empty login", "www.tarvo.test",
         "color=Gray&sys=&om=&lid=&text=" + cp("кто") + "++", false, "Gray", "кто"},
    };
    std::uint64_t lastSeq = 0;
    std::size_t expectedCount = 0;
    for (const auto& row : rows) {
        g_case = "chat: " + row.name;
        auto res =
            proxied(w, row.host)
                .Get("/ch.pl?" + row.query, row.session ? withSession(sid) : httplib::Headers{});
        CHECK(res && res->status == 200, "answers 200");
        CHECK(res && contains(res->body, cp("Вы не авторизованы")) != row.session,
              row.session ? "the chat frame" : "not logged in");
        const auto entries = chatEntries(w);
        CHECK(entries.size() == ++expectedCount, "one more line");
        if (entries.size() != expectedCount)
            continue;
        const ChatEntry& e = entries.back();
        const std::string expected = "\"login\":" + jsonString(row.session ? "Вася" : "") +
                                     ",\"host\":" + jsonString(row.host) +
                                     ",\"color\":" + jsonString(row.color) +
                                     ",\"text\":" + jsonString(row.text) + "}";
        CHECK(e.fields == expected, "recorded " + e.fields + ", wanted " + expected);
        CHECK(e.seq > lastSeq, "sequence numbers grow");
        lastSeq = e.seq;
    }

    g_case = "chat: frame";
    auto frame = proxied(w, "www.tarvo.test").Get("/ch.pl?online=1&n=&77", withSession(sid));
    CHECK(chatEntries(w).size() == expectedCount, "the chat frame records no line");
    CHECK(frame && contains(frame->body, cp("<b>Вася</b>: Привет всем, ё!</font>")),
          "the frame shows a line sent to its host");
    CHECK(frame && contains(frame->body, cp("</b>: a&amp;b#c+d=e%f g</font>")),
          "text is escaped for HTML");
    CHECK(frame && contains(frame->body, "<font color=\"&quot;Red&gt;\">") &&
              !contains(frame->body, "<script>"),
          "hostile colour and text stay text");
    CHECK(frame && contains(frame->body, cp("Сейчас в игре")), "who is online");
    CHECK(frame && !contains(frame->body, cp("Здравствуй")), "another city's chat isn't shown");
    auto city = proxied(w, "ysmercity.tarvo.test").Get("/ch.pl?online=1&n=&78", withSession(sid));
    CHECK(city && contains(city->body, cp("Здравствуй мир")), "the city's frame shows its own");

    g_case = "chat: clear";
    CHECK(direct(w).Post("/__world/clear") != nullptr, "clear");
    CHECK(chatEntries(w).empty(), "clear empties the chat");
    auto body = direct(w).Get("/__world/chat");
    CHECK(body && body->get_header_value("Content-Type") == "application/json" &&
              contains(body->body, "{\"lines\":["),
          "an empty list is still JSON");
    proxied(w, "www.tarvo.test").Get("/ch.pl?color=&text=after", withSession(sid));
    const auto after = chatEntries(w);
    CHECK(after.size() == 1 && after[0].seq > lastSeq, "sequence numbers go on after a clear");
    auto post = direct(w).Post("/__world/chat");
    CHECK(post && post->status == 405, "chat wants GET");
}

// The executable: its one line on stdout, its exits.
void testProcess(const std::string& exe) {
    struct Row {
        std::string name;
        bool byStdinEof;
        int sig;
    };
    const std::vector<Row> rows = {
        {"stdin EOF", true, 0},
        {"SIGTERM", false, SIGTERM},
        {"SIGINT", false, SIGINT},
    };
    for (const auto& row : rows) {
        g_case = "process: " + row.name;
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) {
            CHECK(false, "pipes");
            return;
        }
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            close(in[1]);
            close(out[0]);
            execl(exe.c_str(), exe.c_str(), "--port", "0", "--exit-on-stdin-eof",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        std::string line;
        char c;
        while (line.find('\n') == std::string::npos && read(out[0], &c, 1) == 1)
            line += c;
        std::smatch m;
        const bool listening = std::regex_match(
            line, m, std::regex("tarvo-world listening on 127\\.0\\.0\\.1:(\\d+)\n"));
        CHECK(listening, "listening line: " + line);
        if (listening) {
            httplib::Client cli("127.0.0.1", std::stoi(m[1]));
            auto res = cli.Get("/__world/state");
            CHECK(res && res->status == 200, "serves on the printed port");
        }
        std::string rest;
        if (row.byStdinEof)
            close(in[1]);
        else
            kill(pid, row.sig);
        while (read(out[0], &c, 1) == 1)
            rest += c;
        int status = 0;
        waitpid(pid, &status, 0);
        CHECK(WIFEXITED(status) && WEXITSTATUS(status) == 0, "exits cleanly");
        CHECK(rest.empty(), "exactly one line on stdout, got more: " + rest);
        if (!row.byStdinEof)
            close(in[1]);
        close(out[0]);
    }

    const std::vector<std::vector<std::string>> badArgs = {
        {"--port", "seventy"}, {"--port", "70000"}, {"--hosts", "/nonexistent/hosts"}, {"--bogus"}};
    for (const auto& args : badArgs) {
        g_case = "process: bad arguments " + args[0];
        const pid_t pid = fork();
        if (pid == 0) {
            std::vector<char*> argv{const_cast<char*>(exe.c_str())};
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, STDERR_FILENO);
            execv(exe.c_str(), argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        CHECK(WIFEXITED(status) && WEXITSTATUS(status) == 2, "usage error exit code 2");
    }
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    testCodecMatchesIconv();
    testHostsFile();
    {
        World w;
        testLogin(w);
        testPagesNeedSession(w);
        testMoves(w);
        testMainViewTop(w);
        testRequestLog(w);
        testInspectionIsNotLogged(w);
        testSetHook(w);
        testChat(w);
        testBadInput(w);
    }
    if (argc > 1)
        testProcess(argv[1]);
    else
        std::cerr << "note: no tarvo-world path given, the executable isn't tested\n";
    g_case.clear();
    if (g_failures) {
        std::cerr << g_failures << " check(s) failed\n";
        return 1;
    }
    std::cout << "all world checks passed\n";
    return 0;
}
