#include "server.h"

#include "gamehost.h"
#include "observer.h"
#include "request.h"
#include "requestlog.h"
#include "state.h"

#include <httplib.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace world {

namespace {

// httplib keeps headers in a sorted map and adds its own (REMOTE_ADDR...),
// and the request log must show exactly what came in. So the socket is read
// through this stream, which records the bytes httplib consumes; the request
// head is taken from the record before the body is read.
class RecordingStream final : public httplib::Stream {
public:
    RecordingStream(int sock, std::chrono::microseconds readTimeout,
                    std::chrono::microseconds writeTimeout)
        : sock_(sock), readTimeout_(readTimeout), writeTimeout_(writeTimeout) {}

    bool is_readable() const override {
        return !pending_.empty() || pos_ < end_ || waitFor(POLLIN, readTimeout_);
    }
    bool is_writable() const override { return waitFor(POLLOUT, writeTimeout_); }

    ssize_t read(char* ptr, size_t size) override {
        if (lineStart_ && pending_.empty() && !takeRequestLine())
            return -1;
        if (!pending_.empty()) {
            const std::size_t count = std::min(size, pending_.size());
            std::copy(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count), ptr);
            pending_.erase(0, count);
            return static_cast<ssize_t>(count);
        }
        if (pos_ == end_ && fill() <= 0)
            return -1;
        const std::size_t count = std::min(size, end_ - pos_);
        std::copy(buffer_ + pos_, buffer_ + pos_ + count, ptr);
        if (recording_ && recorded_.size() < kMaxHead)
            recorded_.append(ptr, count);
        pos_ += count;
        return static_cast<ssize_t>(count);
    }

    ssize_t write(const char* ptr, size_t size) override {
        std::size_t done = 0;
        while (done < size) {
            if (!is_writable())
                return -1;
            const ssize_t n = ::send(sock_, ptr + done, size - done, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return -1;
            done += static_cast<std::size_t>(n);
        }
        return static_cast<ssize_t>(done);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        address(::getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        address(::getsockname, ip, port);
    }
    socket_t socket() const override { return sock_; }

    bool hasBuffered() const { return pos_ < end_ || !pending_.empty(); }
    void startRecording() {
        recorded_.clear();
        recording_ = true;
        lineStart_ = true;
    }
    std::string takeRecording() {
        recording_ = false;
        return std::exchange(recorded_, {});
    }

private:
    ssize_t fill() {
        if (!waitFor(POLLIN, readTimeout_))
            return -1;
        ssize_t n;
        do {
            n = ::recv(sock_, buffer_, sizeof buffer_, 0);
        } while (n < 0 && errno == EINTR);
        pos_ = 0;
        end_ = n > 0 ? static_cast<std::size_t>(n) : 0;
        return n;
    }

    // httplib refuses a target with a second '?' or a raw blank, but the
    // game's chat sends its text unescaped and a client bug must show up in
    // the log, not vanish in a 400. So the request line is recorded as it
    // came and handed to httplib with those characters escaped.
    bool takeRequestLine() {
        lineStart_ = false;
        std::string line;
        for (;;) {
            if (pos_ == end_ && fill() <= 0)
                return false;
            const char c = buffer_[pos_++];
            line += c;
            if (c == '\n' || line.size() > kMaxRequestLine)
                break;
        }
        if (recording_)
            recorded_ += line;
        pending_ = sanitisedRequestLine(line);
        return true;
    }

    static std::string sanitisedRequestLine(const std::string& line) {
        const auto first = line.find(' ');
        const auto last = line.rfind(' ');
        if (first == std::string::npos || last == first || line.back() != '\n')
            return line;
        std::string out = line.substr(0, first + 1);
        bool query = false;
        for (std::size_t i = first + 1; i < last; ++i) {
            const char c = line[i];
            if (c == ' ')
                out += "%20";
            else if (c == '?' && query)
                out += "%3F";
            else
                out += c;
            query = query || c == '?';
        }
        out += line.substr(last);
        return out;
    }

    bool waitFor(short events, std::chrono::microseconds timeout) const {
        pollfd p{sock_, events, 0};
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count();
        int r;
        do {
            r = ::poll(&p, 1, static_cast<int>(ms));
        } while (r < 0 && errno == EINTR);
        return r > 0 && (p.revents & (events | POLLHUP | POLLERR));
    }

    template <typename F> void address(F query, std::string& ip, int& port) const {
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        ip.clear();
        port = -1;
        if (query(sock_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        char text[INET6_ADDRSTRLEN] = {};
        if (addr.ss_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(&addr);
            ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
            port = ntohs(in->sin_port);
        } else if (addr.ss_family == AF_INET6) {
            const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&addr);
            ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
            port = ntohs(in6->sin6_port);
        }
        ip = text;
    }

    int sock_;
    std::chrono::microseconds readTimeout_;
    std::chrono::microseconds writeTimeout_;
    char buffer_[4096];
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool recording_ = false;
    bool lineStart_ = false;
    std::string recorded_;
    std::string pending_;
    static constexpr std::size_t kMaxRequestLine = 16384; // httplib answers 414 beyond 8192
    static constexpr std::size_t kMaxHead = 1 << 20;      // a head beyond this is logged cut short
};

// The head of the request being handled on this worker thread. httplib hands
// a handler only its own parsed Request, and one connection's requests are
// handled one after another on one thread.
thread_local std::string t_requestHead;

class HttpServer final : public httplib::Server {
private:
    bool process_and_close_socket(socket_t sock) override {
        using namespace std::chrono;
        RecordingStream strm(sock, seconds(read_timeout_sec_) + microseconds(read_timeout_usec_),
                             seconds(write_timeout_sec_) + microseconds(write_timeout_usec_));
        bool ok = false;
        for (std::size_t left = keep_alive_max_count_; left > 0 && running(); --left) {
            if (!strm.hasBuffered() && !nextRequestArrives(sock))
                break;
            strm.startRecording();
            bool closed = false;
            ok = process_request(strm, left == 1, closed, [&strm](httplib::Request&) {
                t_requestHead = strm.takeRecording();
            });
            t_requestHead.clear();
            if (!ok || closed)
                break;
        }
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
        return ok;
    }

    bool running() const { return svr_sock_ != INVALID_SOCKET; }

    // Waits in short steps, so stop() doesn't wait out idle keep-alive
    // connections.
    bool nextRequestArrives(int sock) const {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::seconds(keep_alive_timeout_sec_);
        while (running() && std::chrono::steady_clock::now() < deadline) {
            pollfd p{sock, POLLIN, 0};
            const int r = ::poll(&p, 1, 100);
            if (r > 0)
                return true;
            if (r < 0 && errno != EINTR)
                return false;
        }
        return false;
    }
};

void copyResponse(const WorldResponse& from, httplib::Response& to) {
    to.status = from.status;
    for (const auto& [name, value] : from.headers)
        to.set_header(name, value);
    to.set_content(from.body, from.contentType);
}

} // namespace

struct WorldServer::Impl {
    HostTable hosts;
    HttpServer http;
    std::mutex mutex; // guards everything below
    WorldState state;
    RequestLog log;

    void handle(const httplib::Request& in, httplib::Response& out) {
        WorldRequest req;
        if (t_requestHead.empty() || !parseRequestHead(t_requestHead, req)) {
            req.method = in.method;
            req.target = in.target;
            req.version = in.version;
        }
        req.body = in.body;
        resolveTarget(req);

        std::lock_guard lock(mutex);
        WorldResponse res;
        if (isInspectionRequest(req)) {
            res = serveInspection(state, log, req);
        } else {
            log.append(req);
            GameContext ctx{state, hosts};
            switch (hosts.kindOf(req.host)) {
            case HostKind::Main:
                res = serveGameHost(ctx, req, HostKind::Main);
                break;
            case HostKind::City:
                res = serveGameHost(ctx, req, HostKind::City);
                break;
            case HostKind::Makers:
            case HostKind::Forum:
            case HostKind::Velnar:
            case HostKind::Sh:
            case HostKind::Unknown:
                res = notFoundResponse(req);
                break;
            }
        }
        copyResponse(res, out);
    }
};

WorldServer::WorldServer(HostTable hosts) : impl_(std::make_unique<Impl>()) {
    impl_->hosts = std::move(hosts);
    auto handler = [impl = impl_.get()](const httplib::Request& in, httplib::Response& out) {
        impl->handle(in, out);
    };
    // httplib matches the decoded path, which for a proxy request is the
    // whole absolute URL; dispatch happens in handle().
    const std::string any = "[\\s\\S]*";
    impl_->http.Get(any, handler);
    impl_->http.Post(any, handler);
    impl_->http.Put(any, handler);
    impl_->http.Patch(any, handler);
    impl_->http.Delete(any, handler);
    impl_->http.Options(any, handler);
    impl_->http.set_keep_alive_max_count(100);
    impl_->http.set_payload_max_length(1 << 20);
    // Errors httplib answers itself (a garbled request line, a body too
    // large): a short plain page instead of an empty body.
    impl_->http.set_error_handler(
        httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            res.set_content("<html><body>Error " + std::to_string(res.status) + "</body></html>\n",
                            "text/html; charset=windows-1251");
            return httplib::Server::HandlerResponse::Handled;
        }));
    impl_->http.set_exception_handler([](const httplib::Request&, httplib::Response& res,
                                         std::exception_ptr) {
        res.status = 500;
        res.set_content("<html><body>Error 500</body></html>\n", "text/html; charset=windows-1251");
    });
}

WorldServer::~WorldServer() {
    stop();
}

int WorldServer::bind(int port) {
    if (port == 0)
        return impl_->http.bind_to_any_port("127.0.0.1");
    return impl_->http.bind_to_port("127.0.0.1", port) ? port : -1;
}

bool WorldServer::run() {
    return impl_->http.listen_after_bind();
}

bool WorldServer::isRunning() const {
    return impl_->http.is_running();
}

void WorldServer::stop() {
    impl_->http.stop();
}

} // namespace world
