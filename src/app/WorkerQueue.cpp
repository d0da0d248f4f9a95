#include "app/WorkerQueue.h"

namespace dz {

void WorkerQueue::post(WorkerMessage message) {
    {
        std::lock_guard<std::mutex> g(mutex_);
        queue_.push_back(std::move(message));
    }
    cv_.notify_one();
}

std::optional<WorkerMessage> WorkerQueue::try_pop() {
    std::lock_guard<std::mutex> g(mutex_);
    if (queue_.empty()) return std::nullopt;
    WorkerMessage m = std::move(queue_.front());
    queue_.pop_front();
    return m;
}

void WorkerQueue::wait_until(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock<std::mutex> lk(mutex_);
    cv_.wait_until(lk, deadline, [this] { return !queue_.empty(); });
}

}  // namespace dz
