#pragma once
// The one output of an audio library: opened and closed on a thread of its own, watched,
// and reopened by itself after a loss.
//
// States:
//   opening   open() was called; the device is opening on the opening thread
//   open      the device asked for is open (running while its owner wants it to)
//   stand-in  the device asked for did not open: a real-time null device runs in its
//             place, so positions advance and tunes end without a sound card, while the
//             device asked for is retried; once one opens the stream moves onto it
//   lost      the open device was lost (it reported the loss or, running, it pulled
//             nothing for kWatchdogSeconds, or four buffers if longer): nothing pulls, so
//             a stream holds where it was; the device is retried and, once one opens, a
//             wanted stream goes on from there
//   closed    nothing is open and nothing is retried
// Retries begin at once after a loss (kFirstRetrySeconds after a stand-in took over) and
// wait kFirstRetrySeconds, doubling up to kLastRetrySeconds, between failed attempts.
//
// Threads: every method is called from the owner's thread, one call at a time. The
// device's own calls (open, close) run on an opening thread, so open() and poll() never
// wait for a device; start(), name(), has_output() and close() wait for the latest
// open() to finish. The fill function runs on the device's thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/DeviceFormat.h"

namespace dz {

class DeviceKeeper {
public:
    using Clock = std::chrono::steady_clock;
    using Factory = std::function<std::unique_ptr<AudioDevice>()>;
    enum class State { closed, opening, open, stand_in, lost };

    static constexpr double kFirstRetrySeconds = 0.25;
    static constexpr double kLastRetrySeconds = 2.0;
    static constexpr double kWatchdogSeconds = 3.0;
    // close() waits this long for the devices to close (see close()).
    static constexpr double kCloseWaitSeconds = 2.0;

    // `factory` makes the device asked for, once per attempt.
    explicit DeviceKeeper(Factory factory);
    ~DeviceKeeper();
    DeviceKeeper(const DeviceKeeper&) = delete;
    DeviceKeeper& operator=(const DeviceKeeper&) = delete;

    // Stops the device in use and begins opening one in `format`; the devices it replaces
    // are closed on the opening thread first. An opening in this very format still in
    // flight is kept. When the device asked for does not open, a null device stands in.
    void open(const DeviceFormat& format, FillFunction fill);
    // The owner wants the device running. True when it runs, or when it is lost and runs
    // once reopened; false when nothing is open or the device did not start.
    bool start();
    // The owner wants it halted: when this returns fill is not running, and a device that
    // opens later is not started.
    void stop();
    // Ends any retrying and closes every device, an opening in flight included, on a
    // thread of its own: after the close wait the caller goes on, and devices that still
    // have not closed (a sound server that hangs) are left to that thread.
    void close();
    void set_close_wait(Clock::duration wait) { close_wait_ = wait; }

    // Carries the output on without waiting: takes a finished opening, notices a loss,
    // starts a retry when one is due. `now` is the time to judge delays by.
    void poll(Clock::time_point now = Clock::now());

    State state() const { return state_; }
    // After the latest open() has finished: whether a device is open, standing in or being
    // retried (false once closed, or when not even a null device opened).
    bool has_output();
    // The name of the device in use once the latest open() has finished; empty when none.
    std::string name();
    // When the next retry begins; none while nothing is retried or one is in flight.
    std::optional<Clock::time_point> next_retry() const;

private:
    struct Opened {
        std::unique_ptr<AudioDevice> device;
        bool stand_in = false;
    };
    enum class Opening { none, first, retry };

    void launch(Opening kind, bool allow_stand_in);
    void settle_first();
    void take(Opened opened, Clock::time_point now);
    void lose(Clock::time_point now);
    void schedule_retry(Clock::time_point now);
    bool stalled(Clock::time_point now);

    Factory factory_;
    DeviceFormat format_;
    FillFunction fill_;  // the owner's fill, counted
    State state_ = State::closed;
    bool wanted_ = false;
    std::unique_ptr<AudioDevice> device_;  // open or standing in
    // Devices to close on the next opening thread (a lost device), before it opens.
    std::vector<std::unique_ptr<AudioDevice>> retired_;
    std::future<Opened> opening_;
    Opening opening_kind_ = Opening::none;
    Clock::duration close_wait_;
    Clock::duration backoff_{};
    Clock::time_point retry_at_{};
    // The watchdog: pulls counted by the fill wrapper, and since when the count stands.
    std::atomic<std::int64_t> pulls_{0};
    std::int64_t seen_pulls_ = 0;
    Clock::time_point pulls_since_{};
};

}  // namespace dz
