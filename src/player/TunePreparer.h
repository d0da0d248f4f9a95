#pragma once
// Loads a tune and prepares its renderer for an output format on a thread of its own, one
// request at a time, so the thread that asks goes on at once. A request replaces one that
// has not begun; one that has begun runs to its end and is delivered with its ticket, for
// the receiver to keep or drop.
//
// Threads: request() and cancel() come from one owner thread; `deliver` runs on the
// preparing thread, which starts with the first request and ends in the destructor.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "pxtone/Renderer.h"

namespace pxtone {
class Project;
}

namespace dz {

class TunePreparer {
public:
    struct Prepared {
        std::unique_ptr<pxtone::Project> project;
        std::unique_ptr<pxtone::Renderer> renderer;  // prepared for the format asked for
    };
    // Called with the request's ticket and the prepared tune; nothing when the tune did not
    // load or cannot play in the format.
    using Deliver = std::function<void(std::uint64_t ticket, Prepared prepared)>;

    explicit TunePreparer(Deliver deliver);
    ~TunePreparer();
    TunePreparer(const TunePreparer&) = delete;
    TunePreparer& operator=(const TunePreparer&) = delete;

    void request(std::uint64_t ticket, const std::string& path, const pxtone::OutputFormat& format);
    // Forgets the request that has not begun.
    void cancel();

private:
    void run();

    Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool pending_ = false;
    bool quit_ = false;
    std::uint64_t ticket_ = 0;
    std::string path_;
    pxtone::OutputFormat format_;
    std::thread thread_;
};

}  // namespace dz
