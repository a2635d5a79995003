#include "pages.h"

#include "rooms.h"
#include "wire.h"

namespace world::pages {

namespace {

std::string page(std::string_view title, std::string_view body) {
    std::string out = "<html>\n<head>\n"
                      "<meta http-equiv=\"Content-Type\" content=\"text/html; "
                      "charset=windows-1251\">\n"
                      "<title>";
    out += title;
    out += "</title>\n<link rel=stylesheet href=\"i/main.css\">\n</head>\n"
           "<body bgcolor=#e2e0e0 leftmargin=5 topmargin=5>\n";
    out += body;
    out += "\n</body>\n</html>\n";
    return out;
}

std::string roomName(int number) {
    const Room* r = findRoom(number);
    return r ? std::string(r->name) : "?";
}

std::string roomLine(int number) {
    return "<b>" + htmlEscape(roomName(number)) + "</b> (локация " + std::to_string(number) + ")";
}

std::string noteBlock(std::string_view note) {
    if (note.empty())
        return {};
    return "<p><font color=red><b>" + htmlEscape(note) + "</b></font>\n";
}

// Building rooms are left by the game's form post, the streets by links.
std::string exitsBlock(int from) {
    std::string out = "<table cellspacing=0 cellpadding=2>\n";
    for (int to : exitsFrom(from)) {
        const Room* r = findRoom(to);
        if (!r)
            continue;
        out += "<tr><td>";
        if (r->inCity) {
            out += "<a href=\"city.pl?level" + std::to_string(to) + "=1\">" + htmlEscape(r->name) +
                   "</a>";
        } else {
            out += "<form method=post action=\"city.pl\" style=\"margin:0\">"
                   "<input type=hidden name=setch value=799>"
                   "<input type=submit class=btn name=level" +
                   std::to_string(to) + " value=\"" + htmlEscape(r->name) + "\"></form>";
        }
        out += "\n";
    }
    out += "</table>";
    return out;
}

} // namespace

std::string entry() {
    return page("Tarvo - бойцовский клуб онлайн",
                "<center><br><br>\n"
                "<table border=0 cellpadding=4 bgcolor=#d0cccc>\n"
                "<tr><td colspan=2 align=center><b>Tarvo</b><br>Вход в игру</td></tr>\n"
                "<form method=post action=\"enter.pl\" "
                "onsubmit=\"this.lastlogin.value=this.login.value\">\n"
                "<input type=hidden name=lastlogin value=\"\">\n"
                "<tr><td>Логин:</td><td><input type=text name=login size=20 maxlength=30>\n"
                "<tr><td>Пароль:</td><td><input type=password name=psw size=20 maxlength=30>\n"
                "<tr><td colspan=2 align=center><input type=submit name=enter value=\"Зайти\">\n"
                "</form>\n"
                "</table>\n"
                "</center>");
}

std::string loginFailed() {
    return page("Tarvo - ошибка входа", "<center><br><br><font color=red><b>Неверный логин или "
                                        "пароль</b></font><br><br>\n"
                                        "<a href=\"/\">Назад</a></center>");
}

std::string gameFrameset() {
    return "<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n"
           "<title>Tarvo</title>\n</head>\n"
           "<frameset rows=\"*,190\" frameborder=1 border=1>\n"
           "<frame name=\"main\" src=\"main.pl\">\n"
           "<frame name=\"online\" src=\"ch.pl?online=1&n=&\">\n"
           "</frameset>\n</html>\n";
}

std::string notAuthorised() {
    return page("Tarvo", "<center><br><b>Вы не авторизованы</b><br>\n"
                         "<a href=\"/\" target=_top>Войти в игру</a></center>");
}

std::string room(const Character& ch, std::string_view note) {
    std::string body = "<table width=100% border=0><tr><td>" + roomLine(ch.room) +
                       "</td><td align=right>" + htmlEscape(ch.login) + "</td></tr></table>\n";
    body += noteBlock(note);
    body += "<hr>Выходы:\n" + exitsBlock(ch.room);
    body += "\n<hr><a href=\"main.pl?top=Вернуться\">Вернуться</a>";
    return page(roomName(ch.room), body);
}

std::string mainView(const Character& ch, std::string_view note) {
    std::string body = "<table width=100% border=0><tr><td><b>" + htmlEscape(ch.login) +
                       "</b> [0]</td><td align=right>Вы находитесь: " + roomLine(ch.room) +
                       "</td></tr></table>\n";
    body += noteBlock(note);
    body += "<table border=0 cellpadding=3><tr>\n"
            "<td><a href=\"main.pl?top=Вернуться\">Вернуться</a>\n"
            "<td><a href=\"battle.pl\">Поединки</a>\n"
            "<td><a href=\"main.pl?edit=1&\">Инвентарь</a>\n"
            "<td><form method=post action=\"main.pl\" style=\"margin:0\">"
            "<input type=hidden name=setch value=190>"
            "<input type=submit class=btn name=level100 value=\"Выйти в город\"></form>\n"
            "</tr></table>";
    return page(htmlEscape(ch.login), body);
}

std::string battle(const Character& ch) {
    return page("Поединки", "<b>" + htmlEscape(ch.login) +
                                "</b>: Вы не в бою.<br>\n"
                                "Вы находитесь: " +
                                roomLine(ch.room) +
                                "<br>\n<a href=\"main.pl?top=Вернуться\">Вернуться</a>");
}

// The client reads the backpack from this page's text form by fixed
// markers: the weight in "<b>Рюкзак (масса: W)</b>" before "<!--Рюкзак-->",
// then one block per item ending in "</font><br>", the put-on link (whose
// "&amp;" before "n=" is the block's first "amp") ahead of the encyclopedia
// link with target=_blank. Nothing else on the page may say "надеть".
std::string backpack(const Character& ch, std::string_view note, std::uint32_t tmp) {
    const Equipment& e = ch.equipment;
    const std::string cb = std::to_string(tmp);
    std::string body = "<table width=\"100%\" border=0 cellspacing=0 cellpadding=0>\n"
                       "<tr>\n"
                       " <td><b>" +
                       htmlEscape(ch.login) +
                       "</b> [0]\n"
                       " <td align=right><a href=\"main.pl?top=Вернуться\">Вернуться</a>\n"
                       "</table>\n";
    body += noteBlock(note);
    body += "<!-- надето -->\n"
            "<table border=0 cellspacing=1 cellpadding=2>\n"
            " <tr><td colspan=3><b>Надето:</b> <a href=\"main.pl?setdown=all\">снять всё</a>\n";
    for (const auto& slot : allSlots()) {
        body += " <tr>\n  <td width=60>" + std::string(slot.name) + "\n";
        const auto it = e.worn.find(slot.code);
        if (it == e.worn.end()) {
            body += "  <td><font color=gray>пусто</font>\n  <td>\n";
            continue;
        }
        body += "  <td><a href=\"/encicl/object/" + it->second.id + ".html\" target=\"_blank\">" +
                htmlEscape(it->second.name) + "</a>\n  <td><a href=\"main.pl?setdown=w" +
                std::string(slot.code) + "&" + cb + "\">снять</a>\n";
    }
    body += "</table>\n<br>\n"
            "<table width=\"100%\" border=0 cellspacing=0 cellpadding=2>\n"
            "<tr><td bgcolor=#d0cccc><b>Рюкзак (масса: " +
            std::to_string(e.backpackWeight()) + "/" + std::to_string(kBackpackCapacity) +
            ")</b>\n"
            "</table>\n"
            "<!--Рюкзак-->\n"
            "<table width=\"100%\" border=0 cellspacing=1 cellpadding=3>\n";
    if (e.backpack.empty())
        body += " <tr><td>Пусто\n";
    for (const Item& item : e.backpack) {
        const Slot* slot = findSlot(item.slot);
        body += " <tr><!--" + std::string(slot ? slot->name : "прочее") +
                "-->\n"
                "  <td width=80 align=center valign=top bgcolor=#d8d4d4>";
        // No item pictures: the world has none to serve.
        if (slot)
            body += "<a href=\"main.pl?set=" + item.id + "&n=" + std::to_string(item.n) +
                    "&tmp=" + cb + "\">надеть</a>\n";
        else
            body += "&nbsp;\n";
        body += "  <td valign=top>\n"
                "   <a href=\"/encicl/object/" +
                item.id + ".html\" target=\"_blank\">" + htmlEscape(item.name) +
                "</a> (масса: " + std::to_string(item.weight) +
                ")<br>\n"
                "   <font color=\"#555555\">" +
                (slot ? "Слот: " + std::string(slot->name) : std::string("Не надевается")) +
                "</font><br>\n";
    }
    body += "</table>";
    return page("Инвентарь", body);
}

std::string chat(const std::vector<const Character*>& online,
                 const std::vector<const ChatLine*>& lines) {
    std::string body = "<table width=100% border=0><tr valign=top>\n"
                       "<td width=75%><div id=chat>\n";
    for (const ChatLine* line : lines) {
        const std::string who = line->login.empty() ? "(без входа)" : line->login;
        body += "<font color=\"" + htmlEscape(line->color) + "\"><b>" + htmlEscape(who) +
                "</b>: " + htmlEscape(line->text) + "</font><br>\n";
    }
    body += "</div>\n"
            "<td>Сейчас в игре (" +
            std::to_string(online.size()) + "):<br>\n";
    for (const Character* ch : online)
        body += "<a href=\"inf.pl?login=" + htmlEscape(ch->login) + "\" target=_blank>" +
                htmlEscape(ch->login) + "</a><br>\n";
    body += "</table>";
    return page("Чат", body);
}

std::string notFound(std::string_view what) {
    return page("404", "<h3>Страница не найдена</h3>\n" + htmlEscape(what));
}

std::string styleSheet() {
    return "body { font-family: Verdana, Arial; font-size: 10pt; }\n"
           "td { font-size: 10pt; }\n"
           "a { color: #003388; text-decoration: none; }\n"
           ".btn { font-size: 8pt; width: 120px; }\n";
}

} // namespace world::pages
