#pragma once
// Reads tune information and downloads URL tunes on threads of its own, so that the
// thread that owns the player never waits for a disk or a server. Two lanes, each a
// thread with a queue run in order: one reads local tunes, the other downloads (an
// existence test first where asked, then the download, then a read of the copy). The
// owner collects the results with take_results() and applies them to the entries they
// name by `uid`.
//
// Threads: every member is called by the controlling thread (the worker; the UI thread
// during start-up and shutdown). A lane's thread starts with its first job and ends in
// stop(); when no thread can be made, jobs run on the calling thread as they come. The
// library is used only through read_tune_details.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/AudioLibrary.h"

namespace dz {

class HttpClient;

struct LoadJob {
    std::uint64_t uid = 0;  // the entry the result belongs to
    std::string path;       // local path, or URL when `download`
    bool download = false;  // download the URL, then read the copy
    bool check = false;     // before the download, test that the URL exists
    bool read = true;       // read the tune (a playlist file is only downloaded)
};

struct LoadResult {
    std::uint64_t uid = 0;
    bool download = false;
    bool exists = true;     // false: the existence test failed (nothing was downloaded)
    std::string temp_path;  // the downloaded copy, owned by whoever takes the result
    std::optional<TuneDetails> details;  // none when the tune does not load
};

class EntryLoader {
public:
    explicit EntryLoader(AudioLibrary& library);
    ~EntryLoader();
    EntryLoader(const EntryLoader&) = delete;
    EntryLoader& operator=(const EntryLoader&) = delete;

    // Downloads go through `http`; without one every download fails.
    void set_http_client(HttpClient* http);
    void submit(LoadJob job);
    // The results finished since the last call, in the order they finished.
    std::vector<LoadResult> take_results();
    // Forgets the reads not started yet (the entries they were for have gone).
    void drop_queued_reads();
    // Nothing queued, running or waiting to be taken.
    bool idle() const;
    // Ends both lanes: queued jobs are dropped, a running download is cancelled
    // (HttpClient::cancel, which lasts), and the copies of results never taken are
    // deleted. Later submissions are ignored. Runs once; the destructor calls it.
    void stop();

private:
    struct Lane {
        std::deque<LoadJob> jobs;
        std::thread thread;
        bool busy = false;  // a job of this lane is running
    };

    void run(Lane& lane, bool background);
    void run_here(Lane& lane);  // the lane's jobs on the calling thread
    LoadResult perform(const LoadJob& job, HttpClient* http);

    AudioLibrary& library_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    HttpClient* http_ = nullptr;       // guarded
    Lane reads_;                       // guarded (but `thread`: controlling thread only)
    Lane downloads_;                   // guarded (but `thread`: controlling thread only)
    std::vector<LoadResult> results_;  // guarded
    bool stopping_ = false;            // guarded
};

}  // namespace dz
