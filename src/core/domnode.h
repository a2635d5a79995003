#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace orvix {

// A snapshot of a document's element tree, taken from the live page.
struct DomNode {
    enum class Kind { Element, Text, Comment };
    Kind kind = Kind::Element;
    QString name; // element tag name as the engine reports it
    QList<std::pair<QString, QString>> attributes;
    QString text; // text and comment nodes
    QList<DomNode> children;
};

} // namespace orvix
