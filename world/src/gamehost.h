#pragma once

#include "hosts.h"
#include "request.h"
#include "state.h"

namespace world {

struct GameContext {
    WorldState& state;
    const HostTable& hosts;
};

// The main game server and the city servers. They share the game's pages;
// only the main server has the entry page and the login.
WorldResponse serveGameHost(GameContext& ctx, const WorldRequest& req, HostKind kind);

// A host the world knows of but doesn't serve pages for yet, or doesn't know.
WorldResponse notFoundResponse(const WorldRequest& req);

} // namespace world
