#pragma once

#include "hosts.h"

#include <memory>

namespace world {

// The world: one HTTP server on 127.0.0.1 that answers, as a proxy would be
// asked, for every host of the game.
class WorldServer {
public:
    explicit WorldServer(HostTable hosts);
    ~WorldServer();
    WorldServer(const WorldServer&) = delete;
    WorldServer& operator=(const WorldServer&) = delete;

    // Port 0 picks a free one. Returns the port, or -1 when it can't bind.
    int bind(int port);
    // Serves until stop(); call after bind().
    bool run();
    // Call only once isRunning(): before the listening loop has started,
    // httplib's stop() does nothing.
    void stop();
    bool isRunning() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace world
