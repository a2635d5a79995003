// Tests of the local game world, through its network face: the game's hosts
// reached as a proxy, and the inspection address reached directly.

#include "cp1251.h"
#include "hosts.h"
#include "server.h"

#include <httplib.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <iconv.h>
#include <iostream>
#include <memory>
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

int occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
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

struct BackpackItem {
    std::string id;
    std::string n;
    std::string name;
    int weight = 0;
    bool wearable = false;
};

struct CharacterState {
    int room = -1;
    bool online = false;
    int sessions = -1;
    std::vector<std::pair<std::string, std::string>> worn; // slot, name
    std::vector<BackpackItem> backpack;
    std::string json; // the character's whole entry
};

std::string jsonUnescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i)
        out += s[i] == '\\' && i + 1 < s.size() ? s[++i] : s[i];
    return out;
}

// The world writes one character per JSON line.
std::optional<CharacterState> stateOf(const World& w, const std::string& utf8Login) {
    auto res = direct(w).Get("/__world/state");
    if (!res)
        return std::nullopt;
    std::istringstream in(res->body);
    const std::string start = "{\"login\":\"" + utf8Login + "\",";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(start, 0) != 0)
            continue;
        const std::regex head("\"room\":(\\d+),\"online\":(true|false),\"sessions\":(\\d+)[,}]");
        std::smatch m;
        if (!std::regex_search(line, m, head))
            return std::nullopt;
        CharacterState st{std::stoi(m[1]), m[2] == "true", std::stoi(m[3]), {}, {}, line};
        const std::string str = "\"((?:[^\"\\\\]|\\\\.)*)\"";
        std::smatch worn;
        if (std::regex_search(line, worn, std::regex("\"worn\":\\{([^}]*)\\}"))) {
            const std::string list = worn[1];
            const std::regex pair(str + ":" + str);
            for (std::sregex_iterator it(list.begin(), list.end(), pair), end; it != end; ++it)
                st.worn.emplace_back(jsonUnescape((*it)[1]), jsonUnescape((*it)[2]));
        }
        const std::regex item("\\{\"id\":" + str + ",\"n\":(\\d+),\"name\":" + str +
                              ",\"weight\":(\\d+),\"wearable\":(true|false)\\}");
        for (std::sregex_iterator it(line.begin(), line.end(), item), end; it != end; ++it)
            st.backpack.push_back({jsonUnescape((*it)[1]), (*it)[2], jsonUnescape((*it)[3]),
                                   std::stoi((*it)[4]), (*it)[5] == "true"});
        return st;
    }
    return std::nullopt;
}

std::string logJson(const World& w, const std::string& query = "") {
    auto res = direct(w).Get("/__world/log" + query);
    return res ? res->body : std::string();
}

int logEntryCount(const std::string& json) {
    return occurrences(json, "{\"seq\":");
}

// ---------------------------------------------------------------------------
// The text form in which the client captures a page (the old engine's
// serialisation: upper-case tags, its attribute quoting, end tags it
// inserts, CR LF before blocks). Enough of an HTML tree builder for the
// world's pages, so the tests read a page the way the client does.

namespace textform {

struct Node {
    enum Kind { Element, Text, Comment } kind = Element;
    std::string name; // lower case
    std::vector<std::pair<std::string, std::optional<std::string>>> attrs;
    std::string text;
    std::vector<std::unique_ptr<Node>> children;
    Node* parent = nullptr;
};

bool among(const std::string& s, std::initializer_list<const char*> names) {
    for (const char* n : names) {
        if (s == n)
            return true;
    }
    return false;
}

bool isVoid(const std::string& n) {
    return among(n, {"br", "hr", "img", "input", "meta", "link", "base", "area", "param", "col",
                     "frame", "embed", "wbr"});
}

bool isBlock(const std::string& n) {
    return among(n, {"p",    "div",  "hr",         "table",    "ul",   "ol",     "dl",
                     "li",   "dt",   "dd",         "h1",       "h2",   "h3",     "h4",
                     "h5",   "h6",   "blockquote", "pre",      "form", "center", "address",
                     "body", "head", "fieldset",   "noscript", "menu", "dir"});
}

bool isTableStructure(const std::string& n) {
    return among(n, {"table", "tbody", "thead", "tfoot", "tr"});
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string decodeEntities(const std::string& s) {
    static const std::vector<std::pair<std::string, std::string>> named = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", "\xC2\xA0"}};
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        bool done = false;
        for (const auto& [entity, text] : named) {
            if (s.compare(i, entity.size(), entity) == 0) {
                out += text;
                i += entity.size();
                done = true;
                break;
            }
        }
        if (!done)
            out += s[i++];
    }
    return out;
}

class Builder {
public:
    Builder() { cur_ = &root_; }

    void parse(const std::string& s) {
        std::size_t i = 0;
        while (i < s.size()) {
            if (s.compare(i, 4, "<!--") == 0) {
                const auto end = s.find("-->", i + 4);
                addLeaf(Node::Comment, s.substr(i + 4, end - i - 4));
                i = end == std::string::npos ? s.size() : end + 3;
            } else if (s.compare(i, 2, "<!") == 0) {
                i = std::min(s.size(), s.find('>', i) + 1);
            } else if (s[i] == '<' && i + 1 < s.size() &&
                       (std::isalpha(static_cast<unsigned char>(s[i + 1])) || s[i + 1] == '/')) {
                i = tag(s, i);
            } else {
                auto end = s.find('<', i + 1);
                end = end == std::string::npos ? s.size() : end;
                addLeaf(Node::Text, decodeEntities(s.substr(i, end - i)));
                i = end;
            }
        }
    }

    const Node* documentElement() const {
        for (const auto& c : root_.children) {
            if (c->kind == Node::Element && c->name == "html")
                return c.get();
        }
        return nullptr;
    }
    bool fostered() const { return fostered_; }

private:
    std::size_t tag(const std::string& s, std::size_t i) {
        const bool end = s[i + 1] == '/';
        std::size_t j = i + (end ? 2 : 1);
        std::string name;
        while (j < s.size() && std::isalnum(static_cast<unsigned char>(s[j])))
            name += s[j++];
        name = lower(name);
        std::vector<std::pair<std::string, std::optional<std::string>>> attrs;
        while (j < s.size() && s[j] != '>') {
            if (std::isspace(static_cast<unsigned char>(s[j])) || s[j] == '/') {
                ++j;
                continue;
            }
            std::string an;
            while (j < s.size() && !std::isspace(static_cast<unsigned char>(s[j])) && s[j] != '=' &&
                   s[j] != '>')
                an += s[j++];
            while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j])))
                ++j;
            std::optional<std::string> value;
            if (j < s.size() && s[j] == '=') {
                ++j;
                while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j])))
                    ++j;
                std::string v;
                if (j < s.size() && (s[j] == '"' || s[j] == '\'')) {
                    const char q = s[j++];
                    while (j < s.size() && s[j] != q)
                        v += s[j++];
                    ++j;
                } else {
                    while (j < s.size() && !std::isspace(static_cast<unsigned char>(s[j])) &&
                           s[j] != '>')
                        v += s[j++];
                }
                value = decodeEntities(v);
            }
            attrs.emplace_back(lower(an), value);
        }
        if (end)
            close(name);
        else
            open(name, std::move(attrs));
        return std::min(s.size(), j + 1);
    }

    void popTo(std::initializer_list<const char*> names) {
        while (cur_ != &root_ && !among(cur_->name, names))
            cur_ = cur_->parent;
    }

    Node* push(const std::string& name) {
        auto n = std::make_unique<Node>();
        n->name = name;
        n->parent = cur_;
        Node* raw = n.get();
        cur_->children.push_back(std::move(n));
        return raw;
    }

    void open(const std::string& name,
              std::vector<std::pair<std::string, std::optional<std::string>>> attrs) {
        if (name == "tr") {
            popTo({"table", "tbody", "thead", "tfoot"});
            if (cur_->name == "table")
                cur_ = push("tbody");
        } else if (name == "td" || name == "th") {
            popTo({"tr", "table", "tbody", "thead", "tfoot"});
            if (cur_->name == "table")
                cur_ = push("tbody");
            if (cur_->name != "tr")
                cur_ = push("tr");
        } else if (isBlock(name) && name != "table") {
            // No document type: quirks mode, where a table leaves a P open.
            for (Node* n = cur_; n != &root_ && !among(n->name, {"td", "th", "table"});
                 n = n->parent) {
                if (n->name == "p") {
                    cur_ = n->parent;
                    break;
                }
            }
        }
        Node* el = push(name);
        el->attrs = std::move(attrs);
        if (!isVoid(name))
            cur_ = el;
    }

    void close(const std::string& name) {
        for (Node* n = cur_; n != &root_; n = n->parent) {
            if (n->name == name) {
                cur_ = n->parent;
                return;
            }
            // Other end tags don't reach out of a table or its cells.
            if (!isTableStructure(name) && name != "td" && name != "th" &&
                among(n->name, {"td", "th", "table"}))
                return;
        }
    }

    void addLeaf(Node::Kind kind, const std::string& text) {
        if (kind == Node::Text && isTableStructure(cur_->name) &&
            text.find_first_not_of(" \t\r\n") != std::string::npos)
            fostered_ = true;
        auto n = std::make_unique<Node>();
        n->kind = kind;
        n->text = text;
        n->parent = cur_;
        cur_->children.push_back(std::move(n));
    }

    Node root_;
    Node* cur_;
    bool fostered_ = false;
};

std::string attrName(const std::string& n) {
    static const std::vector<std::pair<std::string, std::string>> cased = {
        {"cellspacing", "cellSpacing"},
        {"cellpadding", "cellPadding"},
        {"valign", "vAlign"},
        {"bgcolor", "bgColor"},
        {"colspan", "colSpan"},
        {"nowrap", "noWrap"},
        {"accesskey", "accessKey"},
        {"topmargin", "topMargin"},
        {"leftmargin", "leftMargin"},
        {"alink", "aLink"},
        {"vlink", "vLink"},
        {"maxlength", "maxLength"},
        {"rowspan", "rowSpan"},
        {"tabindex", "tabIndex"},
        {"readonly", "readOnly"},
        {"frameborder", "frameBorder"}};
    for (const auto& [from, to] : cased) {
        if (n == from)
            return to;
    }
    return n;
}

std::string attribute(const std::string& name, const std::optional<std::string>& raw) {
    if (!raw)
        return " " + attrName(name);
    std::string v = *raw;
    if (among(name, {"valign", "align"}) ||
        (among(name, {"bgcolor", "color"}) && !v.empty() && v[0] == '#'))
        v = lower(v);
    std::string escaped;
    for (char c : v)
        escaped += c == '&' ? "&amp;" : c == '"' ? "&quot;" : std::string(1, c);
    const bool quoted = v.empty() || v.find_first_of(" \t\r\n\"'=<>`%") != std::string::npos ||
                        among(name, {"href", "src", "background", "action", "lowsrc", "longdesc",
                                     "usemap", "style"}) ||
                        name.rfind("on", 0) == 0;
    return " " + attrName(name) + "=" + (quoted ? "\"" + escaped + "\"" : escaped);
}

bool blank(const Node& n) {
    return n.kind == Node::Text && n.text.find_first_not_of(" \t\r\n") == std::string::npos;
}

bool blockElement(const Node* n) {
    return n && n->kind == Node::Element && isBlock(n->name);
}

void write(const Node& n, std::string& out);

void writeChildren(const Node& n, std::string& out) {
    std::vector<const Node*> kept;
    for (std::size_t i = 0; i < n.children.size(); ++i) {
        const Node* c = n.children[i].get();
        const Node* prev = i ? n.children[i - 1].get() : nullptr;
        const Node* next = i + 1 < n.children.size() ? n.children[i + 1].get() : nullptr;
        if (blank(*c) &&
            (isTableStructure(n.name) || among(n.name, {"html", "head", "ul", "ol", "select"}) ||
             blockElement(prev) || blockElement(next)))
            continue;
        kept.push_back(c);
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i && blockElement(kept[i]))
            out += "\r\n";
        write(*kept[i], out);
    }
}

void write(const Node& n, std::string& out) {
    switch (n.kind) {
    case Node::Comment:
        out += "<!--" + n.text + "-->";
        return;
    case Node::Text: {
        bool space = false;
        for (char c : n.text) {
            if (std::isspace(static_cast<unsigned char>(c))) {
                space = true;
                continue;
            }
            if (space)
                out += ' ';
            space = false;
            out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
        }
        if (space)
            out += ' ';
        return;
    }
    case Node::Element:
        out += "<" + upper(n.name);
        for (const auto& [name, value] : n.attrs)
            out += attribute(name, value);
        out += ">";
        if (isVoid(n.name))
            return;
        writeChildren(n, out);
        out += "</" + upper(n.name) + ">";
        return;
    }
}

struct Captured {
    std::string text;
    bool fostered = false; // text the parser had to move out of a table
};

// `page` is a page body as the world sent it (Windows-1251); the result is
// UTF-8.
Captured capture(const std::string& page) {
    Builder b;
    b.parse(iconvConvert("CP1251", "UTF-8", page).value_or(""));
    Captured c;
    if (const Node* html = b.documentElement())
        write(*html, c.text);
    c.fostered = b.fostered();
    return c;
}

} // namespace textform

// The client's reading of a captured backpack page, by its markers: positions
// count from 1, a missing marker is at 0, cuts and copies are clamped.
struct BackpackRead {
    bool isBackpack = false;
    std::string weight;
    struct Row {
        std::string name, id, n;
    };
    std::vector<Row> rows;
};

BackpackRead readBackpack(std::string t) {
    const auto at = [](const std::string& s, const std::string& m) -> long long {
        const auto p = s.find(m);
        return p == std::string::npos ? 0 : static_cast<long long>(p) + 1;
    };
    const auto dropFront = [](std::string& s, long long count) {
        if (count > 0)
            s.erase(0, std::min<std::size_t>(s.size(), static_cast<std::size_t>(count)));
    };
    const auto cutThrough = [&](std::string& s, const std::string& m, int extra) {
        dropFront(s, at(s, m) + static_cast<long long>(m.size()) - 1 + extra);
    };
    const auto copy = [](const std::string& s, long long from, long long count) {
        from = std::max<long long>(from, 1);
        if (count <= 0 || from > static_cast<long long>(s.size()))
            return std::string();
        return s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(count));
    };
    const std::string marker = "<!--Рюкзак-->", weight = "Рюкзак (масса:", blockEnd = "</FONT><BR>",
                      put = "надеть";
    BackpackRead r;
    if (!at(t, marker))
        return r;
    r.isBackpack = true;
    cutThrough(t, weight, 1);
    r.weight = copy(t, 1, at(t, "</B>") - 2);
    cutThrough(t, marker, 1);
    while (at(t, put) && r.rows.size() < 25) {
        const long long end = at(t, blockEnd);
        if (!end)
            break;
        std::string b = copy(t, 1, end);
        cutThrough(t, blockEnd, 1);
        if (!at(b, put))
            continue;
        cutThrough(b, "amp", 1);
        const long long c = at(b, "n="), d = at(b, "amp");
        BackpackRead::Row row;
        row.n = copy(b, c + 2, d - c - 3);
        cutThrough(b, "<A href=\"/encicl/object/", 0);
        row.id = copy(b, 1, at(b, ".html") - 1);
        const long long nameAt = at(b, "_blank>");
        row.name = copy(b, nameAt + 7, at(b, "</A>") - nameAt - 7);
        r.rows.push_back(row);
    }
    return r;
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

// The capture used by the backpack tests, checked on the worked example of
// the text form's description, so a fault there can't hide a page's.
void testTextFormExample() {
    g_case = "text form: worked example";
    const std::string source =
        "<html><body>"
        "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\n"
        " <tr>\n"
        "  <td valign=\"TOP\"><a href=\"/encicl/object/?id=1&amp;p=2\" "
        "target=\"_blank\"><b>Щит</b></a></td>\n"
        "  <td valign=top nowrap><font color=\"#FF0000\">x</font><br></td>\n"
        " </tr>\n"
        "</table>\n"
        "<br>\n"
        "<hr>\n"
        "<!--шлем-->\n"
        "<p class=\"note\">Информация о   \"A\" & B\n"
        "<p>end</body></html>";
    const auto captured = textform::capture(cp(source));
    const std::string expected =
        "<HTML><BODY><TABLE width=\"100%\" border=0 cellSpacing=0 cellPadding=0><TBODY><TR>"
        "<TD vAlign=top><A href=\"/encicl/object/?id=1&amp;p=2\" target=_blank><B>Щит</B></A>"
        "</TD><TD vAlign=top noWrap><FONT color=#ff0000>x</FONT><BR></TD></TR></TBODY></TABLE>"
        "<BR>\r\n<HR><!--шлем-->\r\n<P class=note>Информация о \"A\" &amp; B </P>\r\n"
        "<P>end</P></BODY></HTML>";
    CHECK(captured.text == expected, "captured as\n" + captured.text);
    CHECK(!captured.fostered, "nothing moved out of the table");
}

struct BackpackPage {
    int status = 0;
    std::string source;          // as sent, Windows-1251
    textform::Captured captured; // UTF-8
    BackpackRead read;
};

BackpackPage getBackpackPage(const World& w, const std::string& sid, const std::string& target,
                             const std::string& host = "www.tarvo.test") {
    BackpackPage page;
    auto res = proxied(w, host).Get(target, withSession(sid));
    if (!res)
        return page;
    page.status = res->status;
    page.source = res->body;
    page.captured = textform::capture(res->body);
    page.read = readBackpack(page.captured.text);
    return page;
}

// What the client reads off the page must be what the world holds: every
// item that can be put on, in order, up to 25; the weight; and a block per
// item.
void checkPageMatchesState(const BackpackPage& page, const CharacterState& st) {
    CHECK(page.status == 200, "answers 200");
    CHECK(page.read.isBackpack, "a backpack page");
    CHECK(!page.captured.fostered, "no text strayed out of a table");
    int weight = 0;
    std::vector<BackpackItem> wearable;
    for (const auto& item : st.backpack) {
        weight += item.weight;
        if (item.wearable)
            wearable.push_back(item);
    }
    CHECK(page.read.weight == std::to_string(weight) + "/40", "weight text " + page.read.weight);
    const std::size_t shown = std::min<std::size_t>(wearable.size(), 25);
    CHECK(page.read.rows.size() == shown,
          "rows read: " + std::to_string(page.read.rows.size()) + " of " + std::to_string(shown));
    for (std::size_t i = 0; i < std::min(shown, page.read.rows.size()); ++i) {
        const auto& row = page.read.rows[i];
        const auto& item = wearable[i];
        std::string name = item.name; // the text form writes '&' as "&amp;"
        for (auto at = name.find('&'); at != std::string::npos; at = name.find('&', at + 5))
            name.replace(at, 1, "&amp;");
        CHECK(row.id == item.id && row.n == item.n && row.name == name,
              "row " + std::to_string(i + 1) + ": " + row.id + " " + row.n + " " + row.name);
    }
    const std::string& t = page.captured.text;
    const auto list = t.find("<!--Рюкзак-->");
    CHECK(occurrences(t, "<!--Рюкзак-->") == 1 && occurrences(t, "Рюкзак (масса:") == 1 &&
              t.find("Рюкзак (масса:") < list,
          "one weight heading, ahead of the one list marker");
    if (list != std::string::npos) {
        const std::string items = t.substr(list);
        CHECK(occurrences(items, "</FONT><BR>") == static_cast<int>(st.backpack.size()),
              "one block per item");
        CHECK(occurrences(items, "надеть") == static_cast<int>(wearable.size()),
              "one put-on link per item that can be put on");
    }
    CHECK(occurrences(t, "надеть") == static_cast<int>(wearable.size()),
          "no other put-on link on the page");
}

std::vector<std::string> namesOf(const std::vector<BackpackItem>& items) {
    std::vector<std::string> names;
    for (const auto& i : items)
        names.push_back(i.name);
    return names;
}

using Worn = std::vector<std::pair<std::string, std::string>>;

void testDressing(const World& w) {
    g_case = "dressing: login";
    const std::string login = "Ёжик в тумане";
    const std::string sid = logIn(w, login, "ёжик");
    CHECK(!sid.empty(), "logged in");
    const std::string helmet = "Шлем новичка", guardHelmet = "Шлем стражника",
                      elixir = "Эликсир жизни", shield = "Щит «Рыцарь & Дракон»",
                      boots = "Сапоги ходока", scroll = "Свиток телепорта", luck = "Кольцо удачи",
                      power = "Кольцо силы", gloves = "Перчатки бойца", sword = "Меч ученика",
                      jacket = "Кожаная куртка";

    struct Step {
        std::string name, host;
        std::string request; // an address, or the identifier of an item the page offers
        std::string note;
        Worn worn;
        std::vector<std::string> backpack;
    };
    const std::string www = "www.tarvo.test";
    // One walk from the starting equipment, every step's state checked.
    // clang-format off
    const std::vector<Step> walk = {
        {"the inventory", www, "/main.pl?edit=1&611", "",
         {{"w9", helmet}, {"w3", sword}, {"w4", jacket}, {"w6", luck}},
         {guardHelmet, elixir, shield, boots, scroll, power, gloves}},
        {"put on a helmet over another", www, "helmet2", "Вы надели: " + guardHelmet,
         {{"w9", guardHelmet}, {"w3", sword}, {"w4", jacket}, {"w6", luck}},
         {elixir, shield, boots, scroll, power, gloves, helmet}},
        {"a ring goes to the next free ring slot", www, "ring2", "Вы надели: " + power,
         {{"w9", guardHelmet}, {"w3", sword}, {"w4", jacket}, {"w6", luck}, {"w7", power}},
         {elixir, shield, boots, scroll, gloves, helmet}},
        {"an item with '&' in its link", www, "shield2", "Вы надели: Щит «Рыцарь &amp; Дракон»",
         {{"w9", guardHelmet}, {"w10", shield}, {"w3", sword}, {"w4", jacket}, {"w6", luck},
          {"w7", power}},
         {elixir, boots, scroll, gloves, helmet}},
        {"take off the helmet", www, "/main.pl?setdown=w9&77", "Вы сняли: " + guardHelmet,
         {{"w10", shield}, {"w3", sword}, {"w4", jacket}, {"w6", luck}, {"w7", power}},
         {elixir, boots, scroll, gloves, helmet, guardHelmet}},
        {"take off an empty slot", www, "/main.pl?setdown=w9&78", "Ничего не надето: Шапка",
         {{"w10", shield}, {"w3", sword}, {"w4", jacket}, {"w6", luck}, {"w7", power}},
         {elixir, boots, scroll, gloves, helmet, guardHelmet}},
        {"take off everything", www, "/main.pl?setdown=all", "Вы сняли всё", {},
         {elixir, boots, scroll, gloves, helmet, guardHelmet, shield, sword, jacket, luck, power}},
        {"nothing left to take off", www, "/main.pl?setdown=all", "Ничего не надето", {},
         {elixir, boots, scroll, gloves, helmet, guardHelmet, shield, sword, jacket, luck, power}},
        {"put on from a city server", "krallcity.tarvo.test", "gloves1", "Вы надели: " + gloves,
         {{"w11", gloves}},
         {elixir, boots, scroll, helmet, guardHelmet, shield, sword, jacket, luck, power}},
    };
    // clang-format on
    BackpackPage last;
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const Step& s = walk[i];
        g_case = "dressing " + std::to_string(i + 1) + ": " + s.name;
        std::string target = s.request;
        if (target.front() != '/') {
            // The client's put-on address: the row's stored part with the
            // cache-buster of reading time, then "&" and a click-time one.
            target.clear();
            for (const auto& row : last.read.rows) {
                if (row.id == s.request)
                    target = "/main.pl?set=" + row.id + "&n=" + row.n + "&tmp=4821&93";
            }
            CHECK(!target.empty(), "the page offers " + s.request);
            if (target.empty())
                continue;
        }
        last = getBackpackPage(w, sid, target, s.host);
        const auto st = stateOf(w, login);
        CHECK(st.has_value(), "state");
        if (!st)
            continue;
        CHECK(st->worn == s.worn, "worn after the step: " + st->json);
        CHECK(namesOf(st->backpack) == s.backpack, "backpack after the step: " + st->json);
        checkPageMatchesState(last, *st);
        CHECK(contains(last.captured.text, s.note), "the page says: " + s.note);
    }

    g_case = "dressing: requests are logged";
    CHECK(direct(w).Post("/__world/clear") != nullptr, "clear");
    getBackpackPage(w, sid, "/main.pl?setdown=w11&5");
    const std::string log = logJson(w);
    CHECK(logEntryCount(log) == 1 &&
              contains(log, "\"path\":\"/main.pl\",\"query\":\"setdown=w11&5\""),
          "the take-off is in the request log");
}

void testDressingBadInput(const World& w) {
    g_case = "dressing bad input: login";
    const std::string login = "Knight";
    const std::string session = logIn(w, login, "sword%26shield%3D1");
    CHECK(!session.empty(), "logged in");
    const auto before = stateOf(w, login);
    CHECK(before.has_value(), "state");
    std::string elixirN;
    for (const auto& item : before ? before->backpack : std::vector<BackpackItem>{}) {
        if (item.id == "elixir1")
            elixirN = item.n;
    }
    struct Row {
        std::string name, target, note;
    };
    const std::string huge = "99999999999999999999999999999999";
    const std::vector<Row> rows = {
        {"missing n", "/main.pl?set=helmet2&tmp=1&2", "Нет такого предмета"},
        {"empty n", "/main.pl?set=helmet2&n=&tmp=1", "Нет такого предмета"},
        {"unknown item", "/main.pl?set=nothing&n=1001&tmp=1", "Нет такого предмета"},
        {"huge n", "/main.pl?set=helmet2&n=" + huge + "&tmp=1", "Нет такого предмета"},
        {"negative n", "/main.pl?set=helmet2&n=-1&tmp=1", "Нет такого предмета"},
        {"empty set", "/main.pl?set=&n=", "Нет такого предмета"},
        {"another character's item", "/main.pl?set=helmet2&n=1005&tmp=1", "Нет такого предмета"},
        {"item that can't be put on", "/main.pl?set=elixir1&n=" + elixirN + "&tmp=1",
         "не надевается"},
        {"unknown slot", "/main.pl?setdown=w5&1", "Нет такого слота: w5"},
        {"slot without w", "/main.pl?setdown=9&1", "Нет такого слота"},
        {"upper-case W", "/main.pl?setdown=W9&1", "Нет такого слота"},
        {"bare w", "/main.pl?setdown=w&1", "Нет такого слота"},
        {"empty setdown", "/main.pl?setdown=&1", "Нет такого слота"},
        {"huge slot", "/main.pl?setdown=w" + huge + "&1", "Нет такого слота"},
        {"NUL after the slot", "/main.pl?setdown=w9%00&1", "Нет такого слота"},
        {"1251 bytes as the slot", "/main.pl?setdown=" + cp("шапка") + "&1",
         "Нет такого слота: шапка"},
        {"markup as the slot", "/main.pl?setdown=%3Cb%3E&1", "Нет такого слота: &lt;b&gt;"},
        {"all with a blank", "/main.pl?setdown=all%20", "Нет такого слота"},
        {"edit without a value", "/main.pl?edit", ""},
    };
    for (const auto& row : rows) {
        g_case = "dressing bad input: " + row.name;
        const BackpackPage page = getBackpackPage(w, session, row.target);
        CHECK(page.status == 200 && page.read.isBackpack, "answers with the backpack page");
        CHECK(contains(page.captured.text, row.note), "the page says: " + row.note);
        const auto after = stateOf(w, login);
        CHECK(before && after && after->json == before->json, "nothing changed");
    }

    g_case = "dressing bad input: no session";
    const std::vector<std::string> targets = {"/main.pl?edit=1&1", "/main.pl?setdown=all",
                                              "/main.pl?set=helmet2&n=1005&tmp=1"};
    const auto vasya = stateOf(w, "Вася");
    for (const auto& target : targets) {
        auto res = proxied(w, "www.tarvo.test").Get(target);
        CHECK(res && contains(res->body, cp("Вы не авторизованы")), target + ": not logged in");
    }
    const auto vasyaAfter = stateOf(w, "Вася");
    CHECK(vasya && vasyaAfter && vasya->json == vasyaAfter->json, "nothing changed");

    g_case = "dressing bad input: raw request";
    const RawAnswer raw =
        rawExchange(w.port(), "GET http://www.tarvo.test/main.pl?set=%%%&n=%&setdown HTTP/1.1\r\n"
                              "Cookie: sid=" +
                                  session + "\r\nConnection: close\r\n\r\n");
    CHECK(raw.status == 200, "a garbled query still gets a page");
}

void testGeneratedBackpack(const World& w) {
    const std::string login = "demo";
    const std::string sid = logIn(w, login, "demo");
    struct Row {
        std::string name, query;
        int status;
        std::size_t items, wearable;
        std::string pattern; // 'w' can be put on, 'o' can't, for the first items
    };
    const std::vector<Row> rows = {
        {"thirty to put on", "backpack=30", 200, 30, 30, "wwwwwwwwww"},
        {"mixed", "backpack=3&junk=2", 200, 5, 3, "wowow"},
        {"more of the others", "backpack=1&junk=3", 200, 4, 1, "wooo"},
        {"only others", "junk=2", 200, 2, 0, "oo"},
        {"empty", "backpack=0", 200, 0, 0, ""},
        {"too many", "backpack=1001", 400, 0, 0, ""},
        {"huge", "backpack=99999999999999999999", 400, 0, 0, ""},
        {"negative", "backpack=-1", 400, 0, 0, ""},
        {"not a number", "junk=x", 400, 0, 0, ""},
        {"enough for the tests", "backpack=40&junk=1", 200, 41, 40, "wowwww"},
    };
    std::optional<CharacterState> previous = stateOf(w, login);
    for (const auto& row : rows) {
        g_case = "generated backpack: " + row.name;
        auto res = direct(w).Post("/__world/set?login=" + login + "&" + row.query);
        CHECK(res && res->status == row.status, "status");
        const auto st = stateOf(w, login);
        CHECK(st.has_value(), "state");
        if (!st || !previous)
            continue;
        if (row.status != 200) {
            CHECK(st->json == previous->json, "a refused request changes nothing");
            continue;
        }
        CHECK(st->worn == previous->worn, "worn items stay");
        CHECK(st->backpack.size() == row.items, "items: " + std::to_string(st->backpack.size()));
        std::size_t wearable = 0;
        std::string pattern;
        for (const auto& item : st->backpack) {
            wearable += item.wearable;
            if (pattern.size() < row.pattern.size())
                pattern += item.wearable ? 'w' : 'o';
        }
        CHECK(wearable == row.wearable && pattern == row.pattern, "mix " + pattern);
        const BackpackPage page = getBackpackPage(w, sid, "/main.pl?edit=1&9");
        checkPageMatchesState(page, *st);
        previous = st;
    }

    g_case = "generated backpack: every generated item can be put on";
    const auto st = stateOf(w, login);
    const BackpackPage page = getBackpackPage(w, sid, "/main.pl?edit=1&10");
    std::size_t worn = 0;
    for (const auto& row : page.read.rows) {
        getBackpackPage(w, sid, "/main.pl?set=" + row.id + "&n=" + row.n + "&tmp=1&2");
        const auto now = stateOf(w, login);
        worn += now && std::none_of(now->backpack.begin(), now->backpack.end(),
                                    [&](const BackpackItem& i) { return i.n == row.n; });
    }
    CHECK(!page.read.rows.empty() && worn == page.read.rows.size(),
          "each put-on leaves the backpack: " + std::to_string(worn));
    CHECK(st && st->backpack.size() == 41, "the backpack before");
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
    testTextFormExample();
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
        testDressing(w);
        testDressingBadInput(w);
        testGeneratedBackpack(w);
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
