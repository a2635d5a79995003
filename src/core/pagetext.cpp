#include "core/pagetext.h"

#include "core/htmlnames.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

using Key = std::u16string_view;

Key key(QStringView v) {
    return {v.utf16(), std::size_t(v.size())};
}

using namespace html;

// Every guess about the old engine's attributes lives in this table; its elements are in
// htmlnames.cpp.

enum AttributeFlag : quint8 {
    Known = 1,
    Url = 2,       // always quoted
    Boolean = 4,   // written bare, without a value
    Enumerated = 8, // value lower-cased
    Colour = 16,   // "#RRGGBB" lower-cased
    Quoted = 32,   // always quoted (style)
};

struct AttributeInfo {
    const char16_t* casing = nullptr; // the engine's property casing, when not lower case
    quint8 flags = 0;
};

const std::unordered_map<Key, AttributeInfo>& attributeInfo() {
    static const std::unordered_map<Key, AttributeInfo> map = [] {
        std::unordered_map<Key, AttributeInfo> m;
        for (const char16_t* n :
             {u"cellSpacing", u"cellPadding", u"vAlign",      u"bgColor",     u"colSpan",
              u"noWrap",      u"accessKey",   u"topMargin",   u"leftMargin",  u"aLink",
              u"vLink",       u"maxLength",   u"rowSpan",     u"tabIndex",    u"readOnly",
              u"borderColor", u"frameBorder", u"noShade",     u"noHref",      u"isMap",
              u"useMap",      u"hSpace",      u"vSpace",      u"dateTime",    u"longDesc",
              u"marginWidth", u"marginHeight", u"noResize",   u"encType",     u"bottomMargin",
              u"rightMargin", u"codeBase",    u"codeType",    u"valueType"}) {
            static std::deque<std::u16string> lowered; // the keys' storage, never moved
            std::u16string& lower = lowered.emplace_back(n);
            for (char16_t& c : lower)
                if (c >= u'A' && c <= u'Z')
                    c = char16_t(c - u'A' + u'a');
            m[Key(lower)] = {n, Known};
        }
        m[Key(u"accept-charset")] = {u"acceptCharset", Known};
        for (const char16_t* n :
             {u"href",     u"src",     u"width",    u"height",   u"border",   u"target",
              u"align",    u"color",   u"face",     u"size",     u"name",     u"id",
              u"type",     u"value",   u"alt",      u"title",    u"class",    u"style",
              u"lang",     u"language", u"dir",     u"rel",      u"rev",      u"content",
              u"charset",  u"http-equiv", u"method", u"action",  u"for",      u"checked",
              u"selected", u"disabled", u"multiple", u"text",    u"link",     u"background",
              u"clear",    u"span",    u"start",    u"compact",  u"shape",    u"coords",
              u"scrolling", u"rows",   u"cols",     u"wrap",     u"label",    u"summary",
              u"frame",    u"rules",   u"axis",     u"headers",  u"scope",    u"abbr",
              u"char",     u"defer",   u"event",    u"media",    u"hreflang", u"profile",
              u"version",  u"scheme",  u"lowsrc",   u"accept",   u"declare",  u"data",
              u"classid",  u"archive", u"standby",  u"cite"})
            m[Key(n)].flags |= Known;
        const auto add = [&](std::initializer_list<const char16_t*> names, quint8 flag) {
            for (const char16_t* n : names)
                m[Key(n)].flags |= flag;
        };
        // Keys added here already exist above, so the views stay on static text.
        add({u"href", u"src", u"background", u"action", u"lowsrc", u"longdesc", u"usemap"}, Url);
        add({u"nowrap", u"checked", u"selected", u"disabled", u"readonly", u"multiple",
             u"noshade", u"noresize", u"nohref", u"ismap", u"compact", u"defer", u"declare"},
            Boolean);
        add({u"valign", u"align", u"clear", u"method", u"shape", u"scrolling", u"dir", u"rules",
             u"frame"},
            Enumerated);
        add({u"bgcolor", u"color", u"text", u"link", u"vlink", u"alink", u"bordercolor"}, Colour);
        add({u"style"}, Quoted);
        return m;
    }();
    return map;
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool allSpace(QStringView text) {
    for (QChar c : text)
        if (!isSpace(c))
            return false;
    return true;
}

void appendUpper(QString& out, QStringView name) {
    for (QChar c : name)
        out += c.unicode() >= u'a' && c.unicode() <= u'z' ? QChar(c.unicode() - 32) : c;
}

void appendLower(QString& out, QStringView text) {
    for (QChar c : text)
        out += c.unicode() >= u'A' && c.unicode() <= u'Z' ? QChar(c.unicode() + 32) : c;
}

// Runs of white space become one blank; the engine's escapes already match the old ones.
void appendCollapsed(QString& out, QStringView text) {
    qsizetype run = 0;
    bool inSpace = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isSpace(text[i])) {
            inSpace = false;
            continue;
        }
        if (!inSpace) {
            out += text.sliced(run, i - run);
            out += u' ';
        }
        inSpace = true;
        run = i + 1;
    }
    out += text.sliced(run);
}

struct ValueScan {
    bool needsQuotes = false;
    bool hasNbsp = false;
};

// One pass over a value as the engine escaped it: does it need quotes, does it hold "&nbsp;".
ValueScan scan(QStringView value) {
    ValueScan r;
    r.needsQuotes = value.isEmpty();
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (isSpace(c) || c == u'\'' || c == u'=' || c == u'<' || c == u'>' || c == u'`' ||
            c == u'%')
            r.needsQuotes = true;
        else if (c == u'&') {
            const QStringView rest = value.sliced(i);
            if (rest.startsWith(u"&quot;"))
                r.needsQuotes = true;
            else if (rest.startsWith(u"&nbsp;"))
                r.hasNbsp = true;
        }
    }
    return r;
}

void writeAttribute(QString& out, QStringView name, QStringView value) {
    const auto& map = attributeInfo();
    const auto it = map.find(key(name));
    const AttributeInfo info = it == map.end() ? AttributeInfo{} : it->second;
    const bool event = name.startsWith(u"on");
    out += u' ';
    if (info.casing)
        out += QStringView(info.casing);
    else
        out += name;
    if (info.flags & Boolean)
        return;
    const ValueScan v = scan(value);
    const bool quoted =
        !(info.flags & Known) || event || (info.flags & (Url | Quoted)) || v.needsQuotes;
    out += u'=';
    if (quoted)
        out += u'"';
    const bool lower = (info.flags & Enumerated) || ((info.flags & Colour) && value.startsWith(u'#'));
    // The old engine wrote a non-breaking space in a value as the character itself.
    const QString plain =
        v.hasNbsp ? value.toString().replace(u"&nbsp;"_s, QString(QChar(0xA0))) : QString();
    const QStringView text = v.hasNbsp ? QStringView(plain) : value;
    if (lower)
        appendLower(out, text);
    else
        out += text;
    if (quoted)
        out += u'"';
}

// White space that the old engine did not keep: layout between structure, and next to blocks.
bool dropped(const DomTree& tree, const DomTree::Node& node, quint8 parentFlags) {
    if (node.kind != DomTree::Kind::Text || !allSpace(node.text))
        return false;
    if (parentFlags & Structure)
        return true;
    const auto isBlock = [&](qint32 i) {
        return i >= 0 && tree.node(i).kind == DomTree::Kind::Element &&
               (tree.node(i).flags & Block);
    };
    if (isBlock(node.previous) || isBlock(node.next))
        return true;
    return (node.previous < 0 || node.next < 0) && (parentFlags & Block);
}

bool endTagOmitted(const DomTree& tree, const DomTree::Node& item) {
    const bool li = item.name == u"li";
    for (qint32 j = item.next; j >= 0; j = tree.node(j).next) {
        const DomTree::Node& n = tree.node(j);
        if (n.kind == DomTree::Kind::Element &&
            (li ? n.name == u"li" : (n.name == u"dt" || n.name == u"dd")))
            return true;
    }
    return false;
}

void openTag(QString& out, const DomTree& tree, const DomTree::Node& n) {
    out += u'<';
    appendUpper(out, n.name);
    for (qint32 k = 0; k < n.attributeCount; ++k)
        writeAttribute(out, tree.attributeName(n, k), tree.attributeValue(n, k));
    out += u'>';
}

void closeTag(QString& out, const DomTree& tree, const DomTree::Node& n, quint8 flags) {
    if ((flags & Void) || ((flags & ListItem) && endTagOmitted(tree, n)))
        return;
    out += u"</";
    appendUpper(out, n.name);
    out += u'>';
}

void writeElement(QString& out, const DomTree& tree, qint32 top) {
    // Walks the subtree by its links, so no depth of nesting can exhaust the stack. `mode`
    // flags are inherited: RawText and KeepSpace hold for everything inside.
    struct Level {
        qint32 element;
        quint8 flags;
        quint8 inherited;
        bool wroteChild;
    };
    std::vector<Level> levels;
    const auto enter = [&](qint32 e, quint8 inherited) {
        const DomTree::Node& n = tree.node(e);
        const quint8 flags = n.flags;
        openTag(out, tree, n);
        levels.push_back({e, flags, quint8(inherited | (flags & (RawText | KeepSpace))), false});
    };
    enter(top, 0);
    qint32 child = tree.node(top).firstChild;
    while (!levels.empty()) {
        if (child < 0) {
            const Level done = levels.back();
            levels.pop_back();
            const DomTree::Node& n = tree.node(done.element);
            closeTag(out, tree, n, done.flags);
            child = levels.empty() ? -1 : n.next;
            continue;
        }
        Level& at = levels.back();
        const DomTree::Node& n = tree.node(child);
        const bool collapse = !(at.inherited & (RawText | KeepSpace));
        if (collapse && dropped(tree, n, at.flags)) {
            child = n.next;
            continue;
        }
        const bool first = !at.wroteChild;
        at.wroteChild = true;
        switch (n.kind) {
        case DomTree::Kind::Text:
            if (collapse)
                appendCollapsed(out, n.text);
            else
                out += n.text;
            child = n.next;
            break;
        case DomTree::Kind::Comment:
            out += u"<!--";
            out += n.text;
            out += u"-->";
            child = n.next;
            break;
        case DomTree::Kind::Element:
            if (!first && collapse && !(at.flags & TablePart) && (n.flags & Block))
                out += u"\r\n";
            enter(child, levels.back().inherited);
            child = n.firstChild;
            break;
        }
    }
}

} // namespace

QString OldOuterHtml(const DomTree& tree, qint32 element) {
    QString out;
    if (element < 0 || std::size_t(element) >= tree.nodes().size() ||
        tree.node(element).kind != DomTree::Kind::Element)
        return out;
    writeElement(out, tree, element);
    return out;
}

QString CapturedPageText(const DomTree& tree) {
    QString out;
    const auto& nodes = tree.nodes();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const DomTree::Node& n = nodes[i];
        if (n.kind != DomTree::Kind::Element)
            continue;
        // The root reports its own tag name; an element inside can only be an HTML element.
        const bool html = n.parent < 0 ? tree.rootTagName == u"HTML" : n.name == u"html";
        if (!html)
            continue;
        if (out.isEmpty())
            out.reserve(qsizetype(nodes.size()) * 16);
        out += u"  ";
        writeElement(out, tree, qint32(i));
        out += u"\r\n";
    }
    return out;
}

} // namespace orvix
