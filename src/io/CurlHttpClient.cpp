#include "io/CurlHttpClient.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>

#include "io/TempFile.h"

namespace dz {

namespace {

struct EasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;

// What the body callback sees and leaves behind.
struct Transfer {
    CURL* curl = nullptr;
    bool probe = false;  // existence test: stop at the first byte
    int fd = -1;         // download target
    std::uint64_t max_bytes = 0;
    std::uint64_t bytes = 0;
    bool bad_status = false;
    bool write_failed = false;
    const std::atomic<bool>* cancelled = nullptr;
};

bool write_all(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Returning less than `size` makes libcurl end the transfer with an error.
size_t on_body(char* data, size_t one, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t size = one * count;
    long status = 0;
    curl_easy_getinfo(t->curl, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400) {
        t->bad_status = true;
        return 0;
    }
    t->bytes += size;
    if (t->probe) return size == 0 ? 0 : size - 1;  // got what we wanted; stop here
    if (t->bytes > t->max_bytes || !write_all(t->fd, data, size)) {
        t->write_failed = true;
        return 0;
    }
    return size;
}

// libcurl calls this at least once a second, also while nothing arrives; non-zero
// aborts the transfer.
int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    return t->cancelled && t->cancelled->load() ? 1 : 0;
}

Easy open_handle(const std::string& url, const HttpLimits& limits, Transfer& transfer) {
    static std::once_flag global;
    std::call_once(global, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    Easy curl(curl_easy_init());
    if (!curl) return curl;
    CURL* c = curl.get();
    transfer.curl = c;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Dezidu");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp,ftps");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp,ftps");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // worker threads must not get SIGALRM
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits.connect_timeout_ms);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits.low_speed_bytes);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits.low_speed_seconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits.total_timeout_ms);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.max_body_bytes));
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, on_progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    return curl;
}

}  // namespace

CurlHttpClient::CurlHttpClient(HttpLimits limits) : limits_(limits) {}

bool CurlHttpClient::exists(const std::string& url) {
    if (cancelled_) return false;
    Transfer transfer;
    transfer.probe = true;
    transfer.cancelled = &cancelled_;
    Easy curl = open_handle(url, limits_, transfer);
    if (!curl) return false;
    CURLcode result = curl_easy_perform(curl.get());
    // The probe ends the transfer itself at the first byte (a write error);
    // a complete transfer also counts when it brought a byte.
    if (result != CURLE_OK && result != CURLE_WRITE_ERROR) return false;
    long status = 0;
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
    return !transfer.bad_status && status < 400 && transfer.bytes > 0;
}

std::optional<std::string> CurlHttpClient::fetch(const std::string& url) {
    if (cancelled_) return std::nullopt;
    Transfer transfer;
    transfer.max_bytes = limits_.max_body_bytes;
    transfer.cancelled = &cancelled_;
    Easy curl = open_handle(url, limits_, transfer);
    if (!curl) return std::nullopt;
    std::optional<TempFile> temp = create_temp_file("pat");
    if (!temp) return std::nullopt;
    transfer.fd = temp->fd;
    CURLcode result = curl_easy_perform(curl.get());
    long status = 0;
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
    bool ok = result == CURLE_OK && !transfer.bad_status && !transfer.write_failed && status < 400;
    ok = (::close(temp->fd) == 0) && ok;
    if (!ok) {
        ::unlink(temp->path.c_str());
        return std::nullopt;
    }
    return temp->path;
}

}  // namespace dz
