#include "audio/DeviceKeeper.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <thread>

#include "audio/NullAudioDevice.h"
#include "audio/SdlAudioDevice.h"

namespace dz {
namespace {

DeviceKeeper::Clock::duration seconds(double s) {
    return std::chrono::duration_cast<DeviceKeeper::Clock::duration>(
        std::chrono::duration<double>(s));
}

}  // namespace

DeviceKeeper::DeviceKeeper(Factory factory)
    : factory_(std::move(factory)), close_wait_(seconds(kCloseWaitSeconds)) {}

DeviceKeeper::~DeviceKeeper() {
    close();
}

void DeviceKeeper::open(const DeviceFormat& format, FillFunction fill) {
    stop();
    // Start-up asks twice in the same format (the defaults, then the stored format).
    if (opening_kind_ == Opening::first && format == format_) return;
    format_ = format;
    fill_ = [this, fill = std::move(fill)](std::uint8_t* buffer, int frames) {
        fill(buffer, frames);
        pulls_.fetch_add(1, std::memory_order_relaxed);
    };
    if (device_) retired_.push_back(std::move(device_));
    launch(Opening::first, true);
    state_ = State::opening;
}

// The opening thread closes what it is handed (an earlier opening's device, retired
// devices) before it opens, so an output's server sees the old stream go first.
void DeviceKeeper::launch(Opening kind, bool allow_stand_in) {
    std::future<Opened> earlier = std::move(opening_);
    std::vector<std::unique_ptr<AudioDevice>> retired = std::move(retired_);
    retired_.clear();
    // The factory runs here: only the device's own calls move to the opening thread.
    std::unique_ptr<AudioDevice> device = factory_ ? factory_() : nullptr;
    opening_kind_ = kind;
    // When no thread can be had, the opening runs on this thread at the first wait.
    opening_ = std::async(
        std::launch::async | std::launch::deferred,
        [earlier = std::move(earlier), retired = std::move(retired), device = std::move(device),
         format = format_, fill = fill_, allow_stand_in]() mutable {
            if (earlier.valid()) {
                if (std::unique_ptr<AudioDevice> d = earlier.get().device) d->close();
            }
            for (auto& d : retired) d->close();
            retired.clear();
            Opened opened;
            if (device && device->open(format, fill)) {
                opened.device = std::move(device);
            } else if (allow_stand_in) {
                device = std::make_unique<NullAudioDevice>();
                if (device->open(format, fill)) {
                    opened.device = std::move(device);
                    opened.stand_in = true;
                }
            }
            SdlAudioDevice::release_thread_state();
            return opened;
        });
}

void DeviceKeeper::settle_first() {
    if (opening_kind_ == Opening::first) take(opening_.get(), Clock::now());
}

void DeviceKeeper::take(Opened opened, Clock::time_point now) {
    const Opening kind = opening_kind_;
    opening_kind_ = Opening::none;
    opening_ = {};
    if (!opened.device) {
        // The first opening had not even a null device: nothing plays, as before any open.
        if (kind == Opening::first) {
            state_ = State::closed;
        } else {
            schedule_retry(now);
        }
        return;
    }
    // A stand-in that gives way is a null device: closing it here only ends its thread.
    std::unique_ptr<AudioDevice> stand_in;
    if (kind == Opening::retry && state_ == State::stand_in) {
        stand_in = std::move(device_);
        stand_in->stop();
    }
    device_ = std::move(opened.device);
    backoff_ = {};
    if (opened.stand_in) {
        state_ = State::stand_in;
        schedule_retry(now);
    } else {
        state_ = State::open;
    }
    if (stand_in) stand_in->close();
    if (!wanted_) return;
    // The stream goes on where the renderer stands: on the new device from here.
    pulls_since_ = now;
    seen_pulls_ = pulls_.load();
    if (device_->start()) return;
    if (kind == Opening::first) {
        wanted_ = false;
    } else {
        lose(now);
    }
}

bool DeviceKeeper::start() {
    settle_first();
    wanted_ = true;
    pulls_since_ = Clock::now();
    seen_pulls_ = pulls_.load();
    switch (state_) {
        case State::open:
        case State::stand_in:
            if (device_->start()) return true;
            break;
        case State::lost:
            return true;
        case State::closed:
        case State::opening:
            break;
    }
    wanted_ = false;
    return false;
}

void DeviceKeeper::stop() {
    wanted_ = false;
    if (device_) device_->stop();
}

// A device's close waits for its driver, and a sound server that stopped answering (but did
// not go away) holds that for as long as it stays so: the closing thread is then left to
// finish on its own, holding the devices, so a closing program is not held with it. The
// devices are halted first, so none calls its fill again.
void DeviceKeeper::close() {
    wanted_ = false;
    if (device_) device_->stop();
    auto job = std::make_shared<std::packaged_task<void()>>(
        [opening = std::move(opening_), device = std::move(device_),
         retired = std::move(retired_)]() mutable {
            if (opening.valid()) {
                if (std::unique_ptr<AudioDevice> d = opening.get().device) d->close();
            }
            if (device) device->close();
            device.reset();
            for (auto& d : retired) d->close();
            retired.clear();  // the devices go here, not with the task's last owner
            SdlAudioDevice::release_thread_state();
        });
    opening_ = {};
    opening_kind_ = Opening::none;
    device_.reset();
    retired_.clear();
    state_ = State::closed;
    std::future<void> done = job->get_future();
    try {
        std::thread([job] { (*job)(); }).detach();
    } catch (const std::system_error&) {
        (*job)();
    }
    if (done.wait_for(close_wait_) != std::future_status::ready)
        std::fprintf(stderr, "dezidu: the sound output did not close; it is left behind\n");
}

void DeviceKeeper::poll(Clock::time_point now) {
    if (opening_.valid() &&
        opening_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        take(opening_.get(), now);
    }
    if (state_ == State::open && (device_->is_lost() || stalled(now))) lose(now);
    if ((state_ == State::stand_in || state_ == State::lost) && opening_kind_ == Opening::none &&
        now >= retry_at_) {
        launch(Opening::retry, false);
    }
}

// Running, the device pulls every buffer; a count that stands still that long means the
// device hangs (a sound server that stopped answering).
bool DeviceKeeper::stalled(Clock::time_point now) {
    if (!wanted_) return false;
    const std::int64_t pulls = pulls_.load();
    if (pulls != seen_pulls_) {
        seen_pulls_ = pulls;
        pulls_since_ = now;
        return false;
    }
    const double buffer = static_cast<double>(format_.buffer_frames()) / format_.sample_rate;
    return now - pulls_since_ > seconds(std::max(kWatchdogSeconds, 4 * buffer));
}

// The lost device halts and goes to the first retry's thread to be closed, so its driver
// can start afresh (SDL's sound server connection is made again only then).
void DeviceKeeper::lose(Clock::time_point now) {
    device_->stop();
    retired_.push_back(std::move(device_));
    state_ = State::lost;
    backoff_ = {};
    retry_at_ = now;
}

void DeviceKeeper::schedule_retry(Clock::time_point now) {
    backoff_ = backoff_ == Clock::duration{} ? seconds(kFirstRetrySeconds)
                                             : std::min(backoff_ * 2, seconds(kLastRetrySeconds));
    retry_at_ = now + backoff_;
}

bool DeviceKeeper::has_output() {
    settle_first();
    return state_ != State::closed;
}

std::string DeviceKeeper::name() {
    settle_first();
    return device_ ? device_->name() : std::string();
}

std::optional<DeviceKeeper::Clock::time_point> DeviceKeeper::next_retry() const {
    if (opening_kind_ != Opening::none) return std::nullopt;
    if (state_ != State::stand_in && state_ != State::lost) return std::nullopt;
    return retry_at_;
}

}  // namespace dz
