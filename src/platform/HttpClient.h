#pragma once
// The network operations of the player: an existence test and a download.
// Both block the calling thread until the server has answered or a time-out has
// struck; neither throws. Tunes are tested and downloaded on the player's download
// thread (EntryLoader); playlist URLs on the worker.

#include <optional>
#include <string>

namespace dz {

class HttpClient {
public:
    virtual ~HttpClient() = default;

    // True when the server answers `url` with a status below 400 and at least
    // one byte of body.
    virtual bool exists(const std::string& url) = 0;

    // Downloads the body of `url` into a new temporary file (prefix "pat", in
    // the system's temporary folder) and returns its path; the caller owns the
    // file and deletes it. Nothing when the transfer fails or the status is
    // 400 or above; no file is left behind then.
    virtual std::optional<std::string> fetch(const std::string& url) = 0;

    // The program is closing: every transfer in progress ends at once (as failed)
    // and later calls fail without a transfer. Any thread.
    virtual void cancel() {}
};

}  // namespace dz
