#pragma once
// Existence tests and downloads of URLs.
//
// Threads: called from the worker thread; calls block until done.

#include <optional>
#include <string>

namespace dz {

class HttpClient {
public:
    virtual ~HttpClient() = default;

    // True when the URL can be opened and has data available.
    virtual bool exists(const std::string& url) = 0;
    // Downloads the URL into a new temporary file and returns its path; the
    // caller owns the file. Nothing when the download failed.
    virtual std::optional<std::string> fetch(const std::string& url) = 0;
};

}  // namespace dz
