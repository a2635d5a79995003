#include "core/domsnapshot.h"

#include <vector>

namespace orvix {

namespace {

class Reader {
public:
    explicit Reader(QStringView s) : m_s(s) {}

    bool atEnd() const { return m_pos >= m_s.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_s[m_pos]; }
    QChar take() { return atEnd() ? QChar() : m_s[m_pos++]; }

    // A decimal count ended by `end`; false on anything else or an absurd size.
    bool number(qsizetype& out, QChar end) {
        out = 0;
        qsizetype digits = 0;
        while (!atEnd() && m_s[m_pos].isDigit() && m_s[m_pos].unicode() < 0x80) {
            out = out * 10 + (m_s[m_pos++].unicode() - u'0');
            if (++digits > 10)
                return false;
        }
        return digits > 0 && take() == end;
    }
    bool string(QString& out) {
        qsizetype n = 0;
        if (!number(n, u':') || n > m_s.size() - m_pos)
            return false;
        out = m_s.sliced(m_pos, n).toString();
        m_pos += n;
        return true;
    }

private:
    QStringView m_s;
    qsizetype m_pos = 0;
};

} // namespace

std::shared_ptr<const DomNode> DecodeDomSnapshot(QStringView snapshot) {
    Reader r(snapshot);
    auto root = std::make_shared<DomNode>();
    // Pointers stay valid: a parent's children only grow while that parent is on top.
    std::vector<DomNode*> open;
    bool haveRoot = false;
    while (!r.atEnd()) {
        const QChar tag = r.take();
        if (tag == u'/') {
            if (open.empty())
                return nullptr;
            open.pop_back();
            continue;
        }
        DomNode* node = nullptr;
        if (open.empty()) {
            if (haveRoot || tag != u'E')
                return nullptr;
            node = root.get();
            haveRoot = true;
        } else {
            node = &open.back()->children.emplace_back();
        }
        if (tag == u'E') {
            qsizetype count = 0;
            if (!r.string(node->name) || !r.number(count, u','))
                return nullptr;
            for (qsizetype i = 0; i < count; ++i) {
                std::pair<QString, QString> attribute;
                if (!r.string(attribute.first) || !r.string(attribute.second))
                    return nullptr;
                node->attributes.append(std::move(attribute));
            }
            if (open.size() >= kMaxSnapshotDepth)
                return nullptr;
            open.push_back(node);
        } else if (tag == u'T' || tag == u'C') {
            node->kind = tag == u'T' ? DomNode::Kind::Text : DomNode::Kind::Comment;
            if (!r.string(node->text))
                return nullptr;
        } else {
            return nullptr;
        }
    }
    if (!haveRoot || !open.empty())
        return nullptr;
    return root;
}

} // namespace orvix
