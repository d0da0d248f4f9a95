#include "player/EntryLoader.h"

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/HttpClient.h"

namespace dz {

namespace {

// The reading lane yields to the threads that play and paint: reading a large
// playlist keeps a core busy for seconds.
void lower_this_thread_priority() {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
}

void delete_copy(const LoadResult& r) {
    if (r.temp_path.empty()) return;
    std::error_code ec;
    std::filesystem::remove(r.temp_path, ec);
}

}  // namespace

EntryLoader::EntryLoader(AudioLibrary& library) : library_(library) {}

EntryLoader::~EntryLoader() {
    stop();
}

void EntryLoader::set_http_client(HttpClient* http) {
    std::lock_guard<std::mutex> g(mutex_);
    http_ = http;
}

void EntryLoader::submit(LoadJob job) {
    Lane* lane = job.download ? &downloads_ : &reads_;
    {
        std::lock_guard<std::mutex> g(mutex_);
        if (stopping_) return;
        lane->jobs.push_back(std::move(job));
    }
    if (!lane->thread.joinable()) {
        const bool background = lane == &reads_;
        try {
            lane->thread = std::thread([this, lane, background] { run(*lane, background); });
        } catch (const std::system_error&) {
            // No thread to be had: the job runs here, as it would have without a loader.
            run_here(*lane);
            return;
        }
    }
    wake_.notify_all();
}

void EntryLoader::run_here(Lane& lane) {
    std::unique_lock<std::mutex> lk(mutex_);
    while (!lane.jobs.empty()) {
        LoadJob job = std::move(lane.jobs.front());
        lane.jobs.pop_front();
        HttpClient* http = http_;
        lk.unlock();
        LoadResult result = perform(job, http);
        lk.lock();
        results_.push_back(std::move(result));
    }
}

std::vector<LoadResult> EntryLoader::take_results() {
    std::lock_guard<std::mutex> g(mutex_);
    return std::exchange(results_, {});
}

void EntryLoader::drop_queued_reads() {
    std::lock_guard<std::mutex> g(mutex_);
    reads_.jobs.clear();
}

bool EntryLoader::idle() const {
    std::lock_guard<std::mutex> g(mutex_);
    return reads_.jobs.empty() && downloads_.jobs.empty() && !reads_.busy && !downloads_.busy &&
           results_.empty();
}

void EntryLoader::stop() {
    HttpClient* cancel = nullptr;
    {
        std::lock_guard<std::mutex> g(mutex_);
        stopping_ = true;
        reads_.jobs.clear();
        downloads_.jobs.clear();
        if (downloads_.busy) cancel = http_;
    }
    if (cancel) cancel->cancel();
    wake_.notify_all();
    for (Lane* lane : {&reads_, &downloads_})
        if (lane->thread.joinable()) lane->thread.join();
    std::vector<LoadResult> left = take_results();
    for (const LoadResult& r : left) delete_copy(r);
}

void EntryLoader::run(Lane& lane, bool background) {
    if (background) lower_this_thread_priority();
    std::unique_lock<std::mutex> lk(mutex_);
    for (;;) {
        wake_.wait(lk, [&] { return stopping_ || !lane.jobs.empty(); });
        if (stopping_) return;
        LoadJob job = std::move(lane.jobs.front());
        lane.jobs.pop_front();
        lane.busy = true;
        HttpClient* http = http_;
        lk.unlock();
        LoadResult result = perform(job, http);
        lk.lock();
        lane.busy = false;
        if (stopping_) {
            delete_copy(result);
            return;
        }
        results_.push_back(std::move(result));
    }
}

LoadResult EntryLoader::perform(const LoadJob& job, HttpClient* http) {
    LoadResult r;
    r.uid = job.uid;
    r.download = job.download;
    if (!job.download) {
        r.details = library_.read_tune_details(job.path);
        return r;
    }
    if (!http || (job.check && !http->exists(job.path))) {
        r.exists = !job.check;
        return r;
    }
    std::optional<std::string> copy = http->fetch(job.path);
    if (!copy) return r;
    r.temp_path = std::move(*copy);
    if (job.read) r.details = library_.read_tune_details(r.temp_path);
    return r;
}

}  // namespace dz
