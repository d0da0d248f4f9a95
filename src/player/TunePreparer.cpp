#include "player/TunePreparer.h"

#include <utility>

#include "pxtone/Project.h"

namespace dz {

TunePreparer::TunePreparer(Deliver deliver) : deliver_(std::move(deliver)) {}

TunePreparer::~TunePreparer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void TunePreparer::request(std::uint64_t ticket, const std::string& path,
                           const pxtone::OutputFormat& format) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ticket_ = ticket;
        path_ = path;
        format_ = format;
        pending_ = true;
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void TunePreparer::cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ = false;
}

void TunePreparer::run() {
    for (;;) {
        std::uint64_t ticket = 0;
        std::string path;
        pxtone::OutputFormat format;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || pending_; });
            if (quit_) return;
            pending_ = false;
            ticket = ticket_;
            path = std::move(path_);
            format = format_;
        }
        Prepared prepared;
        pxtone::LoadResult loaded = pxtone::Project::load_file(path);
        if (loaded) {
            auto renderer = std::make_unique<pxtone::Renderer>(*loaded.project);
            if (renderer->prepare(format)) {
                prepared.project = std::move(loaded.project);
                prepared.renderer = std::move(renderer);
            }
        }
        deliver_(ticket, std::move(prepared));
    }
}

}  // namespace dz
