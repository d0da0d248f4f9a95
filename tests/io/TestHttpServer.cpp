#include "TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace dz::test {

namespace {

bool send_all(int fd, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

const char* reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

}  // namespace

TestHttpServer::TestHttpServer() {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listen_fd_, 16);
    socklen_t len = sizeof addr;
    ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { accept_loop(); });
}

TestHttpServer::~TestHttpServer() {
    stop_ = true;
    acceptor_.join();
    for (std::thread& t : connections_) t.join();
    ::close(listen_fd_);
}

void TestHttpServer::route(const std::string& path, HttpRoute route) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
}

std::string TestHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> TestHttpServer::log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

void TestHttpServer::accept_loop() {
    while (!stop_) {
        pollfd p{listen_fd_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, fd] {
            serve(fd);
            ::close(fd);
        });
    }
}

void TestHttpServer::serve(int fd) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        if (stop_) return;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<size_t>(n));
    }
    // "GET <target> HTTP/1.1"; a proxy request names the whole URL.
    size_t sp1 = request.find(' ');
    size_t sp2 = request.find(' ', sp1 + 1);
    std::string target = request.substr(sp1 + 1, sp2 - sp1 - 1);
    std::string path = target;
    if (size_t scheme = path.find("://"); scheme != std::string::npos) {
        size_t slash = path.find('/', scheme + 3);
        path = slash == std::string::npos ? "/" : path.substr(slash);
    }
    std::string agent;
    if (size_t at = request.find("User-Agent: "); at != std::string::npos)
        agent = request.substr(at + 12, request.find("\r\n", at) - at - 12);

    HttpRoute route;
    {
        std::lock_guard lock(mutex_);
        log_.push_back("GET " + target);
        log_.push_back("User-Agent: " + agent);
        auto it = routes_.find(path);
        if (it != routes_.end())
            route = it->second;
        else
            route = HttpRoute{.status = 404, .chunks = {"<html>no such page</html>"}};
    }
    if (route.silent) {
        while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return;
    }
    size_t length = 0;
    for (const std::string& c : route.chunks) length += c.size();
    std::string head = "HTTP/1.1 " + std::to_string(route.status) + " " + reason(route.status) +
                       "\r\nConnection: close\r\n";
    if (!route.location.empty()) head += "Location: " + route.location + "\r\n";
    head += route.chunked ? "Transfer-Encoding: chunked\r\n"
                          : "Content-Length: " + std::to_string(length) + "\r\n";
    head += "\r\n";
    if (!send_all(fd, head)) return;
    for (size_t i = 0; i < route.chunks.size(); ++i) {
        if (i > 0) {
            auto until =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(route.pause_ms);
            while (!stop_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (stop_) return;
        }
        std::string piece = route.chunks[i];
        if (route.chunked) {
            char size[32];
            std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
            piece = size + piece + "\r\n";
        }
        if (!send_all(fd, piece)) return;
    }
    if (route.chunked) send_all(fd, "0\r\n\r\n");
}

}  // namespace dz::test
