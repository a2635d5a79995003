#pragma once

#include "core/domnode.h"

#include <QString>

#include <deque>
#include <memory>
#include <vector>

namespace orvix {

// A document's element tree as the engine serialises it, held flat: every name, text and value
// is a view into text the tree owns, so a page of any size costs a few allocations. Text and
// attribute values keep the engine's escapes ("&amp;", "&lt;", "&gt;", "&nbsp;", "&quot;");
// the contents of SCRIPT and STYLE are raw. Element names are lower case.
class DomTree {
public:
    enum class Kind : quint8 { Element, Text, Comment };
    struct Node {
        Kind kind = Kind::Element;
        QStringView name; // elements
        QStringView text; // text and comments
        quint8 flags = 0; // html::ElementFlags of an element
        qint32 firstAttribute = 0, attributeCount = 0;
        qint32 parent = -1, firstChild = -1, lastChild = -1, previous = -1, next = -1;
    };
    struct Attribute {
        QStringView name, value;
    };

    // The root element's tag name as the engine reports it ("HTML" for an HTML document).
    QString rootTagName;

    const std::vector<Node>& nodes() const { return m_nodes; }
    const Node& node(qint32 i) const { return m_nodes[std::size_t(i)]; }
    QStringView attributeName(const Node& n, qint32 k) const {
        return m_attributes[std::size_t(n.firstAttribute + k)].name;
    }
    QStringView attributeValue(const Node& n, qint32 k) const {
        return m_attributes[std::size_t(n.firstAttribute + k)].value;
    }

    // Building, in document order; attributes right after their element. Views must point into
    // text that outlives the tree (see keep()).
    qint32 addNode(qint32 parent, Kind kind, QStringView nameOrText);
    void addAttribute(qint32 element, QStringView name, QStringView value);
    void reserve(qsizetype nodes, qsizetype attributes) {
        m_nodes.reserve(std::size_t(nodes));
        m_attributes.reserve(std::size_t(attributes));
    }
    // Owns `text` for the tree's lifetime and returns a view of it.
    QStringView keep(QString text);

    // A nested tree built by hand (tests, the fake browser), its text escaped as the engine does.
    static std::shared_ptr<const DomTree> fromNodes(const DomNode& root);

private:
    std::vector<Node> m_nodes;
    std::vector<Attribute> m_attributes;
    std::deque<QString> m_texts;
};

// Reads the engine's serialisation of the root element (its outerHTML) into a tree. Never fails
// on any input: stray end tags are ignored, an unterminated construct reads as text, and the
// nesting stops deepening at kMaxDomDepth. nullptr for an empty text.
std::shared_ptr<const DomTree> ParseSerializedHtml(QString rootTagName, QString outerHtml);

inline constexpr int kMaxDomDepth = 4096;

} // namespace orvix
