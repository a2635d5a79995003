// tarvo-world: the local game world, for demos and end-to-end tests.

#include "hosts.h"
#include "server.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <pthread.h>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kUsageError = 2;

int usage(const std::string& message) {
    std::cerr << "tarvo-world: " << message << "\n"
              << "usage: tarvo-world [--port N] [--hosts FILE] [--exit-on-stdin-eof]\n";
    return kUsageError;
}

bool parsePort(std::string_view text, int& port) {
    if (text.empty() || text.size() > 5)
        return false;
    port = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        port = port * 10 + (c - '0');
    }
    return port <= 65535;
}

} // namespace

int main(int argc, char** argv) {
    int port = 0;
    bool exitOnStdinEof = false;
    world::HostTable hosts;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            if (!parsePort(argv[++i], port))
                return usage("bad port \"" + std::string(argv[i]) + "\"");
        } else if (arg == "--hosts" && hasValue) {
            std::ifstream file(argv[++i]);
            if (!file)
                return usage("cannot read hosts file \"" + std::string(argv[i]) + "\"");
            std::string error;
            if (!hosts.load(file, error))
                return usage(std::string(argv[i]) + ": " + error);
        } else if (arg == "--exit-on-stdin-eof") {
            exitOnStdinEof = true;
        } else {
            return usage("unknown argument \"" + std::string(arg) + "\"");
        }
    }

    // Every thread started from here on inherits the blocked set, so the
    // signals reach only the sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    world::WorldServer server(std::move(hosts));
    const int bound = server.bind(port);
    if (bound < 0) {
        std::cerr << "tarvo-world: cannot listen on 127.0.0.1:" << port << "\n";
        return EXIT_FAILURE;
    }

    std::atomic<bool> finished = false;
    std::thread serving([&] {
        server.run();
        finished = true;
        ::kill(::getpid(), SIGTERM); // a server that died on its own ends the process too
    });
    std::printf("tarvo-world listening on 127.0.0.1:%d\n", bound);
    std::fflush(stdout);

    if (exitOnStdinEof) {
        std::thread([] {
            char buf[256];
            while (::read(STDIN_FILENO, buf, sizeof buf) > 0) {
            }
            ::kill(::getpid(), SIGTERM);
        }).detach();
    }

    int signal = 0;
    sigwait(&stopSignals, &signal);
    while (!finished && !server.isRunning())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!finished)
        server.stop();
    serving.join();
    return EXIT_SUCCESS;
}
