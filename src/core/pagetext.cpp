#include "core/pagetext.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace orvix {

using namespace Qt::StringLiterals;

namespace {

// The tables below hold every guess about the old engine, so one can be changed in one place.

QSet<QString> names(std::initializer_list<const char16_t*> list) {
    QSet<QString> set;
    for (const char16_t* n : list)
        set.insert(QString::fromUtf16(n));
    return set;
}

const QSet<QString>& voidElements() {
    static const QSet<QString> set = names({u"BR", u"HR", u"IMG", u"INPUT", u"META", u"LINK",
                                            u"BASE", u"AREA", u"PARAM", u"COL", u"FRAME",
                                            u"EMBED", u"WBR"});
    return set;
}

const QSet<QString>& blockElements() {
    static const QSet<QString> set =
        names({u"P",     u"DIV",    u"HR",      u"TABLE", u"UL",         u"OL",  u"DL",
               u"LI",    u"DT",     u"DD",      u"H1",    u"H2",         u"H3",  u"H4",
               u"H5",    u"H6",     u"BLOCKQUOTE", u"PRE", u"FORM",      u"CENTER",
               u"ADDRESS", u"BODY", u"HEAD",    u"FIELDSET", u"NOSCRIPT", u"MENU", u"DIR"});
    return set;
}

// Parents whose white space between children is layout, never text.
const QSet<QString>& structureElements() {
    static const QSet<QString> set =
        names({u"HTML", u"HEAD", u"TABLE", u"THEAD", u"TBODY", u"TFOOT", u"TR", u"COLGROUP",
               u"UL", u"OL", u"DL", u"SELECT", u"FRAMESET", u"MENU", u"DIR"});
    return set;
}

// Never breaks a line between table parts: "</TD><TD", "</TBODY></TABLE>".
const QSet<QString>& tableParts() {
    static const QSet<QString> set =
        names({u"TABLE", u"THEAD", u"TBODY", u"TFOOT", u"TR", u"COLGROUP"});
    return set;
}

const QHash<QString, QString>& propertyCasing() {
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        for (const char16_t* n :
             {u"cellSpacing", u"cellPadding", u"vAlign",     u"bgColor",     u"colSpan",
              u"noWrap",      u"accessKey",   u"topMargin",  u"leftMargin",  u"aLink",
              u"vLink",       u"maxLength",   u"rowSpan",    u"tabIndex",    u"readOnly",
              u"borderColor", u"frameBorder", u"noShade",    u"noHref",      u"isMap",
              u"useMap",      u"hSpace",      u"vSpace",     u"dateTime",    u"longDesc",
              u"marginWidth", u"marginHeight", u"noResize",  u"encType",     u"bottomMargin",
              u"rightMargin", u"chOff",       u"codeBase",   u"codeType",    u"valueType"}) {
            const QString name = QString::fromUtf16(n);
            m.insert(name.toLower(), name);
        }
        m.insert(u"accept-charset"_s, u"acceptCharset"_s);
        return m;
    }();
    return map;
}

const QSet<QString>& lowerCaseKnown() {
    static const QSet<QString> set = names(
        {u"href",    u"src",      u"width",   u"height",  u"border",   u"target",   u"align",
         u"color",   u"face",     u"size",    u"name",    u"id",       u"type",     u"value",
         u"alt",     u"title",    u"class",   u"style",   u"lang",     u"language", u"dir",
         u"rel",     u"rev",      u"content", u"charset", u"http-equiv", u"method", u"action",
         u"for",     u"checked",  u"selected", u"disabled", u"multiple", u"text",   u"link",
         u"background", u"clear", u"span",    u"start",   u"compact",  u"shape",    u"coords",
         u"scrolling", u"rows",   u"cols",    u"wrap",    u"label",    u"summary",  u"frame",
         u"rules",   u"axis",     u"headers", u"scope",   u"abbr",     u"char",     u"defer",
         u"event",   u"media",    u"hreflang", u"profile", u"version", u"scheme",   u"lowsrc",
         u"accept",  u"nohref",   u"declare", u"data",    u"classid",  u"archive",  u"standby",
         u"cite",    u"noshade",  u"marginwidth"});
    return set;
}

const QSet<QString>& urlAttributes() {
    static const QSet<QString> set = names(
        {u"href", u"src", u"background", u"action", u"lowsrc", u"longdesc", u"usemap"});
    return set;
}

const QSet<QString>& booleanAttributes() {
    static const QSet<QString> set =
        names({u"nowrap", u"checked", u"selected", u"disabled", u"readonly", u"multiple",
               u"noshade", u"noresize", u"nohref", u"ismap", u"compact", u"defer", u"declare"});
    return set;
}

const QSet<QString>& enumeratedAttributes() {
    static const QSet<QString> set = names(
        {u"valign", u"align", u"clear", u"method", u"shape", u"scrolling", u"dir", u"rules",
         u"frame"});
    return set;
}

const QSet<QString>& colourAttributes() {
    static const QSet<QString> set =
        names({u"bgcolor", u"color", u"text", u"link", u"vlink", u"alink", u"bordercolor"});
    return set;
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool allSpace(const QString& text) {
    for (QChar c : text)
        if (!isSpace(c))
            return false;
    return true;
}

bool isElement(const DomNode* n, const QSet<QString>& set) {
    return n && n->kind == DomNode::Kind::Element && set.contains(n->name.toUpper());
}

void escapeText(QString& out, QStringView text, bool collapse) {
    bool inSpace = false;
    for (QChar c : text) {
        if (collapse && isSpace(c)) {
            if (!inSpace)
                out += u' ';
            inSpace = true;
            continue;
        }
        inSpace = false;
        switch (c.unicode()) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case 0xA0: out += u"&nbsp;"; break;
        default: out += c;
        }
    }
}

bool needsQuotes(const QString& value) {
    if (value.isEmpty())
        return true;
    for (QChar c : value)
        if (isSpace(c) || c == u'"' || c == u'\'' || c == u'=' || c == u'<' || c == u'>' ||
            c == u'`' || c == u'%')
            return true;
    return false;
}

void writeAttribute(QString& out, const QString& sourceName, QString value) {
    const QString lower = sourceName.toLower();
    out += u' ';
    const auto cased = propertyCasing().constFind(lower);
    const bool known = cased != propertyCasing().cend() || lowerCaseKnown().contains(lower) ||
                       lower.startsWith(u"on"_s);
    out += cased != propertyCasing().cend() ? *cased : sourceName;
    if (booleanAttributes().contains(lower))
        return;
    if (enumeratedAttributes().contains(lower))
        value = value.toLower();
    if (colourAttributes().contains(lower) && value.startsWith(u'#'))
        value = value.toLower();
    const bool quoted = !known || needsQuotes(value) || urlAttributes().contains(lower) ||
                        lower == u"style"_s || lower.startsWith(u"on"_s);
    out += u'=';
    if (quoted)
        out += u'"';
    for (QChar c : value) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'"')
            out += u"&quot;";
        else
            out += c;
    }
    if (quoted)
        out += u'"';
}

// Text that keeps its white space, and text written without escapes.
enum class TextMode { Collapse, Keep, Raw };

TextMode modeInside(const QString& upperName, TextMode outer) {
    if (upperName == u"SCRIPT"_s || upperName == u"STYLE"_s)
        return TextMode::Raw;
    if (upperName == u"PRE"_s || upperName == u"TEXTAREA"_s)
        return TextMode::Keep;
    return outer;
}

// White space that the old engine did not keep: layout between structure, and next to blocks.
bool dropped(const DomNode& parent, qsizetype i, TextMode mode) {
    const DomNode& node = parent.children[i];
    if (mode != TextMode::Collapse || node.kind != DomNode::Kind::Text || !allSpace(node.text))
        return false;
    if (isElement(&parent, structureElements()))
        return true;
    const DomNode* before = i > 0 ? &parent.children[i - 1] : nullptr;
    const DomNode* after = i + 1 < parent.children.size() ? &parent.children[i + 1] : nullptr;
    if (isElement(before, blockElements()) || isElement(after, blockElements()))
        return true;
    return (!before || !after) && isElement(&parent, blockElements());
}

// A list item keeps its end tag only when it is the last of its list.
bool endTagOmitted(const QString& upperName, const DomNode* parent, qsizetype i) {
    if (!parent || (upperName != u"LI"_s && upperName != u"DT"_s && upperName != u"DD"_s))
        return false;
    for (qsizetype j = i + 1; j < parent->children.size(); ++j) {
        const DomNode& next = parent->children[j];
        if (next.kind != DomNode::Kind::Element)
            continue;
        const QString n = next.name.toUpper();
        if (upperName == u"LI"_s ? n == u"LI"_s : (n == u"DT"_s || n == u"DD"_s))
            return true;
    }
    return false;
}

struct Frame {
    const DomNode* node;
    const DomNode* parent;
    qsizetype index; // in the parent
    QString upper;
    TextMode mode;
    qsizetype next = 0; // next child to write
    bool wroteChild = false;
};

} // namespace

QString OldOuterHtml(const DomNode& element) {
    QString out;
    if (element.kind != DomNode::Kind::Element)
        return out;
    // Iterative, so a deeply nested hostile page can't exhaust the stack.
    std::vector<Frame> stack;
    const auto open = [&](const DomNode& node, const DomNode* parent, qsizetype index,
                          TextMode outer) {
        const QString upper = node.name.toUpper();
        out += u'<';
        out += upper;
        for (const auto& [name, value] : node.attributes)
            writeAttribute(out, name, value);
        out += u'>';
        stack.push_back({&node, parent, index, upper, modeInside(upper, outer)});
    };
    open(element, nullptr, 0, TextMode::Collapse);
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next >= f.node->children.size()) {
            if (!voidElements().contains(f.upper) && !endTagOmitted(f.upper, f.parent, f.index))
                out += u"</"_s + f.upper + u'>';
            stack.pop_back();
            continue;
        }
        const qsizetype i = f.next++;
        const DomNode& child = f.node->children[i];
        if (dropped(*f.node, i, f.mode))
            continue;
        const bool first = !f.wroteChild;
        f.wroteChild = true;
        switch (child.kind) {
        case DomNode::Kind::Text:
            if (f.mode == TextMode::Raw)
                out += child.text;
            else
                escapeText(out, child.text, f.mode == TextMode::Collapse);
            break;
        case DomNode::Kind::Comment:
            out += u"<!--"_s + child.text + u"-->"_s;
            break;
        case DomNode::Kind::Element:
            if (!first && f.mode == TextMode::Collapse && isElement(&child, blockElements()) &&
                !tableParts().contains(f.upper))
                out += u"\r\n";
            open(child, f.node, i, f.mode); // may move the stack: f is not used after this
            break;
        }
    }
    return out;
}

QString CapturedPageText(const DomNode& root) {
    QString out;
    std::vector<const DomNode*> pending{&root};
    while (!pending.empty()) {
        const DomNode* node = pending.back();
        pending.pop_back();
        if (node->kind != DomNode::Kind::Element)
            continue;
        if (node->name == u"HTML"_s)
            out += u"  "_s + OldOuterHtml(*node) + u"\r\n"_s;
        for (qsizetype i = node->children.size(); i-- > 0;)
            pending.push_back(&node->children[i]);
    }
    return out;
}

} // namespace orvix
