#include "audio/ThreadedDevice.h"

#include <algorithm>

namespace dz {

ThreadedDevice::ThreadedDevice(Pace pace, double speed)
    : pace_(pace), speed_(speed > 0 ? speed : 1.0) {}

ThreadedDevice::~ThreadedDevice() {
    close();
}

bool ThreadedDevice::open(const DeviceFormat& format, FillFunction fill) {
    close();
    if (!format.valid() || !on_open(format)) return false;
    format_ = format;
    buffer_frames_ = format.buffer_frames();
    buffer_.assign(static_cast<std::size_t>(buffer_frames_) * format.bytes_per_frame(), 0);
    fill_ = std::move(fill);
    frames_pulled_ = 0;
    running_ = false;
    quit_ = false;
    open_ = true;
    thread_ = std::thread([this] { run(); });
    return true;
}

bool ThreadedDevice::start() {
    if (!open_) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (running_) return true;
        restart_clock_ = true;
        running_ = true;
    }
    wake_.notify_all();
    return true;
}

void ThreadedDevice::stop() {
    if (!open_) return;
    // Clearing the flag before taking the lock keeps an unpaced thread, which
    // re-takes the lock at once, from starving this call.
    running_ = false;
    { std::lock_guard<std::mutex> lock(mutex_); }
    wake_.notify_all();
    on_halt();
}

void ThreadedDevice::close() {
    if (!open_) return;
    running_ = false;
    quit_ = true;
    { std::lock_guard<std::mutex> lock(mutex_); }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    on_halt();
    open_ = false;
    fill_ = nullptr;
    on_close();
}

void ThreadedDevice::run() {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        static_cast<double>(buffer_frames_) / format_.sample_rate / speed_));
    Clock::time_point next{};
    std::unique_lock<std::mutex> lock(mutex_);
    while (!quit_) {
        if (!running_) {
            wake_.wait(lock, [this] { return quit_ || running_; });
            continue;
        }
        if (restart_clock_) {
            next = Clock::now();
            restart_clock_ = false;
        }
        if (fill_) {
            fill_(buffer_.data(), buffer_frames_);
        } else {
            std::fill(buffer_.begin(), buffer_.end(), format_.bits == 8 ? 0x80 : 0);
        }
        consume(buffer_.data(), buffer_.size());
        frames_pulled_ += buffer_frames_;
        if (pace_ == Pace::real_time) {
            next += period;
            // After a long stall (a suspended machine) keep time from now on
            // instead of pulling the missed buffers in a burst.
            const auto now = Clock::now();
            if (next < now - 4 * period) next = now;
            wake_.wait_until(lock, next, [this] { return quit_ || !running_; });
        }
    }
}

}  // namespace dz
