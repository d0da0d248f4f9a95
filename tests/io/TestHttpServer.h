#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: one thread per connection,
// answers from a table of paths, one request per connection.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dz::test {

struct HttpRoute {
    int status = 200;
    std::vector<std::string> chunks{};  // the body, sent piece by piece
    int pause_ms = 0;                   // between two pieces
    bool chunked = false;               // Transfer-Encoding: chunked instead of Content-Length
    bool silent = false;                // accept, read the request, never answer
    std::string location{};             // Location header (redirects)
};

class TestHttpServer {
public:
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    void route(const std::string& path, HttpRoute route);
    std::string url(const std::string& path) const;
    int port() const { return port_; }
    // "GET <target>" and "User-Agent: <agent>" of every request, in order.
    std::vector<std::string> log() const;

private:
    void accept_loop();
    void serve(int fd);

    int listen_fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::map<std::string, HttpRoute> routes_;
    std::vector<std::string> log_;
    std::vector<std::thread> connections_;
};

}  // namespace dz::test
