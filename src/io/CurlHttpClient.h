#pragma once
// HttpClient over libcurl: agent "Dezidu", redirects followed, proxies from
// the environment (http_proxy, https_proxy, no_proxy, ...), HTTP(S) and FTP
// only. Each call uses its own handle, so one client may serve several threads.

#include <cstdint>

#include "platform/HttpClient.h"

namespace dz {

struct HttpLimits {
    long connect_timeout_ms = 10000;  // to set up the connection
    long low_speed_bytes = 1;         // a transfer slower than this many bytes per second ...
    long low_speed_seconds = 30;      // ... for this long is aborted (waiting for an answer too)
    std::uint64_t max_body_bytes = std::uint64_t{1} << 30;  // larger downloads fail
};

class CurlHttpClient : public HttpClient {
public:
    explicit CurlHttpClient(HttpLimits limits = {});

    bool exists(const std::string& url) override;
    std::optional<std::string> fetch(const std::string& url) override;

private:
    HttpLimits limits_;
};

}  // namespace dz
