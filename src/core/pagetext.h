#pragma once

#include "core/domtree.h"

#include <QString>

namespace orvix {

// Writes an element out the way the old engine serialised it (its outerHTML), the form that
// every page marker of the program is written in: upper-case tags, the engine's attribute
// casing and quoting, collapsed white space and CR LF before block elements.
QString OldOuterHtml(const DomTree& tree, qint32 element);

// What a capture leaves in a page buffer: for every element whose tag name is exactly "HTML",
// in document order, two spaces, its old-form outerHTML and CR LF.
QString CapturedPageText(const DomTree& tree);

} // namespace orvix
