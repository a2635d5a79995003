#include "core/htmlnames.h"

#include <string_view>
#include <unordered_map>

namespace orvix::html {

namespace {

using Key = std::u16string_view;

const std::unordered_map<Key, quint8>& table() {
    static const std::unordered_map<Key, quint8> map = [] {
        std::unordered_map<Key, quint8> m;
        const auto add = [&](std::initializer_list<const char16_t*> names, quint8 flag) {
            for (const char16_t* n : names)
                m[Key(n)] |= flag;
        };
        add({u"br", u"hr", u"img", u"input", u"meta", u"link", u"base", u"area", u"param",
             u"col", u"frame", u"embed", u"wbr", u"basefont", u"bgsound", u"keygen", u"source",
             u"track"},
            Void);
        add({u"p", u"div", u"hr", u"table", u"ul", u"ol", u"dl", u"li", u"dt", u"dd", u"h1",
             u"h2", u"h3", u"h4", u"h5", u"h6", u"blockquote", u"pre", u"form", u"center",
             u"address", u"body", u"head", u"fieldset", u"noscript", u"menu", u"dir"},
            Block);
        add({u"html", u"head", u"table", u"thead", u"tbody", u"tfoot", u"tr", u"colgroup", u"ul",
             u"ol", u"dl", u"select", u"frameset", u"menu", u"dir"},
            Structure);
        add({u"table", u"thead", u"tbody", u"tfoot", u"tr", u"colgroup"}, TablePart);
        // The engine writes these elements' content unescaped.
        add({u"script", u"style", u"xmp", u"iframe", u"noembed", u"noframes", u"plaintext",
             u"noscript"},
            RawText);
        add({u"pre", u"textarea"}, KeepSpace);
        add({u"li", u"dt", u"dd"}, ListItem);
        return m;
    }();
    return map;
}

} // namespace

quint8 ElementFlags(QStringView lowerName) {
    const auto& map = table();
    const auto it = map.find(Key(lowerName.utf16(), std::size_t(lowerName.size())));
    return it == map.end() ? 0 : it->second;
}

} // namespace orvix::html
