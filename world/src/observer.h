#pragma once

#include "request.h"
#include "requestlog.h"
#include "state.h"

#include <string_view>

namespace world {

// The world's own address for tests: requests sent to it directly (not
// through the proxy) whose path starts with this prefix. They are not logged.
constexpr std::string_view kInspectionPrefix = "/__world/";

bool isInspectionRequest(const WorldRequest& req);
WorldResponse serveInspection(WorldState& state, RequestLog& log, const WorldRequest& req);

} // namespace world
