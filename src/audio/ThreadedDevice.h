#pragma once
// Base of the devices that pull from a thread of their own instead of a sound
// card: the null device and the WAV-file device.
//
// The thread calls fill for one buffer, hands the bytes to consume(), and then
// either waits until the buffer's play time has passed (real-time pace, so
// positions advance and tunes end as they would on a sound card) or pulls the
// next buffer at once (unpaced). `speed` scales real time (2.0 = twice as
// fast) for tests that want shorter runs.
//
// Derived classes must call close() in their own destructor: consume() is
// virtual and the thread must be gone before the derived part is destroyed.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"

namespace dz {

class ThreadedDevice : public AudioDevice {
public:
    enum class Pace { real_time, unpaced };

    explicit ThreadedDevice(Pace pace = Pace::real_time, double speed = 1.0);
    ~ThreadedDevice() override;
    ThreadedDevice(const ThreadedDevice&) = delete;
    ThreadedDevice& operator=(const ThreadedDevice&) = delete;

    bool open(const DeviceFormat& format, FillFunction fill) override;
    bool start() override;
    void stop() override;
    void close() override;
    bool is_open() const override { return open_; }
    const DeviceFormat& format() const override { return format_; }
    int buffer_frames() const override { return buffer_frames_; }

    // Frames pulled since open (any thread).
    std::int64_t frames_pulled() const { return frames_pulled_.load(); }

protected:
    // Controlling thread, during open, before the thread exists. False fails the open.
    virtual bool on_open(const DeviceFormat&) { return true; }
    // Device thread, after each fill, with the bytes just pulled.
    virtual void consume(const std::uint8_t*, std::size_t) {}
    // Controlling thread, after pulling has halted (stop and close).
    virtual void on_halt() {}
    // Controlling thread, after the thread has ended.
    virtual void on_close() {}

private:
    void run();

    const Pace pace_;
    const double speed_;
    DeviceFormat format_;
    int buffer_frames_ = 0;
    bool open_ = false;
    FillFunction fill_;
    std::vector<std::uint8_t> buffer_;

    std::mutex mutex_;  // held by the thread while it pulls
    std::condition_variable wake_;
    std::atomic<bool> running_{false};
    std::atomic<bool> quit_{false};
    bool restart_clock_ = false;  // guarded by mutex_
    std::atomic<std::int64_t> frames_pulled_{0};
    std::thread thread_;
};

}  // namespace dz
