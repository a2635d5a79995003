#include "core/domtree.h"

#include "core/htmlnames.h"

namespace orvix {

using namespace Qt::StringLiterals;

qint32 DomTree::addNode(qint32 parent, Kind kind, QStringView nameOrText) {
    const auto index = qint32(m_nodes.size());
    Node& n = m_nodes.emplace_back();
    n.kind = kind;
    if (kind == Kind::Element) {
        n.name = nameOrText;
        n.flags = html::ElementFlags(nameOrText);
    } else {
        n.text = nameOrText;
    }
    n.firstAttribute = qint32(m_attributes.size());
    n.parent = parent;
    if (parent >= 0) {
        Node& p = m_nodes[std::size_t(parent)];
        n.previous = p.lastChild;
        if (p.lastChild >= 0)
            m_nodes[std::size_t(p.lastChild)].next = index;
        else
            p.firstChild = index;
        p.lastChild = index;
    }
    return index;
}

void DomTree::addAttribute(qint32 element, QStringView name, QStringView value) {
    Node& n = m_nodes[std::size_t(element)];
    // Attributes sit together after their element; a late one would belong to another.
    if (n.firstAttribute + n.attributeCount != qint32(m_attributes.size()))
        return;
    m_attributes.push_back({name, value});
    ++n.attributeCount;
}

QStringView DomTree::keep(QString text) {
    return m_texts.emplace_back(std::move(text));
}

namespace {

QString escaped(const QString& text, bool attribute) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += u"&amp;"; break;
        case 0xA0: out += u"&nbsp;"; break;
        case u'"': out += attribute ? u"&quot;"_s : u"\""_s; break;
        case u'<': out += attribute ? u"<"_s : u"&lt;"_s; break;
        case u'>': out += attribute ? u">"_s : u"&gt;"_s; break;
        default: out += c;
        }
    }
    return out;
}

void addFromNode(DomTree& tree, qint32 parent, const DomNode& n, int depth) {
    switch (n.kind) {
    case DomNode::Kind::Text:
        tree.addNode(parent, DomTree::Kind::Text,
                     tree.keep(parent >= 0 && (tree.node(parent).flags & html::RawText)
                                   ? n.text
                                   : escaped(n.text, false)));
        return;
    case DomNode::Kind::Comment:
        tree.addNode(parent, DomTree::Kind::Comment, tree.keep(n.text));
        return;
    case DomNode::Kind::Element: {
        const qint32 e = tree.addNode(parent, DomTree::Kind::Element, tree.keep(n.name.toLower()));
        for (const auto& [name, value] : n.attributes)
            tree.addAttribute(e, tree.keep(name.toLower()), tree.keep(escaped(value, true)));
        if (depth < kMaxDomDepth)
            for (const DomNode& c : n.children)
                addFromNode(tree, e, c, depth + 1);
        return;
    }
    }
}

bool isAsciiSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isNameEnd(QChar c) {
    return isAsciiSpace(c) || c == u'>' || c == u'/';
}

} // namespace

std::shared_ptr<const DomTree> DomTree::fromNodes(const DomNode& root) {
    auto tree = std::make_shared<DomTree>();
    tree->rootTagName = root.name;
    addFromNode(*tree, -1, root, 1);
    return tree;
}

std::shared_ptr<const DomTree> ParseSerializedHtml(QString rootTagName, QString outerHtml) {
    if (outerHtml.isEmpty())
        return nullptr;
    auto tree = std::make_shared<DomTree>();
    tree->rootTagName = std::move(rootTagName);
    const QStringView s = tree->keep(std::move(outerHtml));
    const qsizetype n = s.size();
    // About one node per 16 characters and an attribute per 32 on game pages: no regrowth.
    tree->reserve(n / 16 + 16, n / 32 + 16);
    std::vector<qint32> open; // elements whose end tag is still to come
    std::vector<std::pair<QStringView, QStringView>> attributes; // of the tag being read
    qsizetype pos = 0;

    const auto parent = [&] { return open.empty() ? qint32(-1) : open.back(); };
    const auto text = [&](qsizetype from, qsizetype to) {
        if (to > from)
            tree->addNode(parent(), DomTree::Kind::Text, s.sliced(from, to - from));
    };
    // Names are compared in lower case; a mixed-case name (foreign content) gets a copy.
    const auto lowerName = [&](QStringView name) -> QStringView {
        for (QChar c : name)
            if (c.unicode() >= u'A' && c.unicode() <= u'Z')
                return tree->keep(name.toString().toLower());
        return name;
    };

    while (pos < n) {
        if (s[pos] != u'<') {
            qsizetype end = s.indexOf(u'<', pos);
            if (end < 0)
                end = n;
            text(pos, end);
            pos = end;
            continue;
        }
        if (s.sliced(pos).startsWith(u"<!--")) {
            const qsizetype end = s.indexOf(u"-->", pos + 4);
            if (end < 0) {
                text(pos, n);
                break;
            }
            tree->addNode(parent(), DomTree::Kind::Comment, s.sliced(pos + 4, end - pos - 4));
            pos = end + 3;
            continue;
        }
        if (pos + 1 < n && s[pos + 1] == u'/') {
            const qsizetype end = s.indexOf(u'>', pos);
            if (end < 0) {
                text(pos, n);
                break;
            }
            const QStringView name = s.sliced(pos + 2, end - pos - 2).trimmed();
            for (auto i = open.size(); i-- > 0;)
                if (tree->node(open[i]).name.compare(name, Qt::CaseInsensitive) == 0) {
                    open.resize(i);
                    break;
                }
            pos = end + 1;
            continue;
        }
        if (pos + 1 < n && s[pos + 1] == u'!') { // a declaration: nothing of the tree
            const qsizetype end = s.indexOf(u'>', pos);
            pos = end < 0 ? n : end + 1;
            continue;
        }
        if (pos + 1 >= n || !s[pos + 1].isLetter()) {
            text(pos, pos + 1);
            ++pos;
            continue;
        }

        // A start tag and its attributes; an unterminated one reads as text.
        qsizetype p = pos + 1;
        while (p < n && !isNameEnd(s[p]))
            ++p;
        const QStringView name = lowerName(s.sliced(pos + 1, p - pos - 1));
        attributes.clear();
        bool closed = false;
        while (p < n) {
            while (p < n && (isAsciiSpace(s[p]) || s[p] == u'/'))
                ++p;
            if (p < n && s[p] == u'>') {
                closed = true;
                ++p;
                break;
            }
            const qsizetype nameStart = p;
            while (p < n && !isNameEnd(s[p]) && s[p] != u'=')
                ++p;
            const QStringView attribute = s.sliced(nameStart, p - nameStart);
            QStringView value;
            if (p < n && s[p] == u'=') {
                ++p;
                if (p < n && (s[p] == u'"' || s[p] == u'\'')) {
                    const QChar quote = s[p];
                    const qsizetype end = s.indexOf(quote, p + 1);
                    if (end < 0)
                        break;
                    value = s.sliced(p + 1, end - p - 1);
                    p = end + 1;
                } else {
                    const qsizetype start = p;
                    while (p < n && !isAsciiSpace(s[p]) && s[p] != u'>')
                        ++p;
                    value = s.sliced(start, p - start);
                }
            }
            if (!attribute.isEmpty())
                attributes.emplace_back(lowerName(attribute), value);
        }
        if (!closed) {
            text(pos, n);
            break;
        }
        const qint32 element = tree->addNode(parent(), DomTree::Kind::Element, name);
        for (const auto& [k, v] : attributes)
            tree->addAttribute(element, k, v);
        pos = p;
        const quint8 flags = tree->node(element).flags;
        if (flags & html::Void)
            continue;
        if (flags & html::RawText) {
            // Raw content runs to its own end tag, whatever it holds.
            qsizetype end = pos;
            for (;;) {
                end = s.indexOf(u"</", end);
                if (end < 0 || s.sliced(end + 2).startsWith(name, Qt::CaseInsensitive))
                    break;
                end += 2;
            }
            if (end < 0)
                end = n;
            if (end > pos)
                tree->addNode(element, DomTree::Kind::Text, s.sliced(pos, end - pos));
            const qsizetype close = end < n ? s.indexOf(u'>', end) : -1;
            pos = close < 0 ? n : close + 1;
            continue;
        }
        if (open.size() < std::size_t(kMaxDomDepth))
            open.push_back(element);
    }
    if (tree->nodes().empty())
        return nullptr;
    return tree;
}

} // namespace orvix
