#pragma once

#include <QStringView>

namespace orvix::html {

// What the old engine's form needs to know of an element, by its lower-case name. Every guess
// about that engine's element sets lives in this one table (htmlnames.cpp).
enum ElementFlag : quint8 {
    Void = 1,       // no end tag
    Block = 2,      // CR LF before it when it has a preceding sibling
    Structure = 4,  // white space between its children is layout, never text
    TablePart = 8,  // never a line break inside it
    RawText = 16,   // content written as it is, and read to its own end tag
    KeepSpace = 32, // white space kept
    ListItem = 64,  // end tag only on the last of its list
};

quint8 ElementFlags(QStringView lowerName);

} // namespace orvix::html
