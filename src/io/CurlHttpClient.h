#pragma once
// HttpClient over libcurl: agent "Dezidu", redirects followed, proxies from
// the environment (http_proxy, https_proxy, no_proxy, ...), HTTP(S) and FTP
// only; every transfer is bounded in time and size, and cancel() ends them within
// a second. Each call uses its own handle, so one client may serve several threads.

#include <atomic>
#include <cstdint>

#include "platform/HttpClient.h"

namespace dz {

struct HttpLimits {
    long connect_timeout_ms = 10000;  // to set up the connection
    // A transfer slower than low_speed_bytes a second for low_speed_seconds in a row is
    // aborted (waiting for an answer too): a server that drips a byte now and then would
    // otherwise hold the download thread until the total limit. Real tunes arrive at
    // kilobytes a second even over slow links.
    long low_speed_bytes = 512;
    long low_speed_seconds = 20;
    long total_timeout_ms = 60000;  // a whole transfer, however it trickles
    std::uint64_t max_body_bytes = std::uint64_t{64} << 20;  // larger downloads fail
};

class CurlHttpClient : public HttpClient {
public:
    explicit CurlHttpClient(HttpLimits limits = {});

    bool exists(const std::string& url) override;
    std::optional<std::string> fetch(const std::string& url) override;
    void cancel() override { cancelled_ = true; }

private:
    HttpLimits limits_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace dz
