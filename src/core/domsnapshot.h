#pragma once

#include "core/domnode.h"

#include <memory>

namespace orvix {

// The flat form in which the page hands its tree over: every string is its length in UTF-16
// units, ':' and the units, so no character of the page can break the framing.
//   element: 'E' name attributeCount ',' (name value)* children... '/'
//   text: 'T' text    comment: 'C' text
// nullptr for anything malformed, truncated, or nested deeper than kMaxDepth.
std::shared_ptr<const DomNode> DecodeDomSnapshot(QStringView snapshot);

inline constexpr int kMaxSnapshotDepth = 4096;

} // namespace orvix
