#include "platform/fake/FakeWindowHost.h"

#include <future>

namespace dz {

FakeWindowHost::FakeWindowHost(int w, int h)
    : window{0, 0, w, h}, ui_thread_(std::this_thread::get_id()) {}

std::intptr_t FakeWindowHost::call_on_ui_thread(std::function<std::intptr_t()> fn) {
    if (is_ui_thread()) return fn();
    auto promise = std::make_shared<std::promise<std::intptr_t>>();
    std::future<std::intptr_t> result = promise->get_future();
    {
        std::lock_guard<std::mutex> g(mutex_);
        if (stopped_) return 0;
        // Only the queued call holds the promise, so dropping the call breaks it.
        tasks_.push_back(
            [promise = std::move(promise), fn = std::move(fn)]() { promise->set_value(fn()); });
    }
    cv_.notify_all();
    try {
        return result.get();
    } catch (const std::future_error&) {
        return 0;  // dropped by stop_ui_calls
    }
}

void FakeWindowHost::post_to_ui_thread(std::function<void()> fn) {
    {
        std::lock_guard<std::mutex> g(mutex_);
        if (stopped_) return;
        tasks_.push_back(std::move(fn));
    }
    cv_.notify_all();
}

void FakeWindowHost::stop_ui_calls() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> g(mutex_);
        stopped_ = true;
        dropped.swap(tasks_);
    }
    // Destroying the tasks breaks their promises: waiting callers get 0.
}

void FakeWindowHost::request_close() {
    ++close_requests;
    post_to_ui_thread([this]() {
        if (events_) events_->on_close_request();
    });
}

CursorHandle FakeWindowHost::set_cursor(CursorHandle cursor) {
    cursors_set.push_back(cursor);
    CursorHandle old = cursor_;
    cursor_ = cursor;
    return old;
}

CursorHandle FakeWindowHost::make_cursor(const DecodedImage& image) {
    if (image.width <= 0 || image.height <= 0) return 0;
    std::lock_guard<std::mutex> g(cursors_mutex_);
    const CursorHandle h = next_cursor_++;
    live_cursors_[h] = FakeCursor{image.width, image.height, image.hot_x, image.hot_y};
    return h;
}

void FakeWindowHost::destroy_cursor(CursorHandle cursor) {
    std::lock_guard<std::mutex> g(cursors_mutex_);
    live_cursors_.erase(cursor);
}

std::map<CursorHandle, FakeWindowHost::FakeCursor> FakeWindowHost::live_cursors() const {
    std::lock_guard<std::mutex> g(cursors_mutex_);
    return live_cursors_;
}

void FakeWindowHost::move_window(int x, int y) {
    if (system_places) return;
    int w = window.width(), h = window.height();
    window = Rect{x, y, x + w, y + h};
}

bool FakeWindowHost::begin_system_move() {
    if (!system_places) return false;
    ++system_moves;
    // The window system owns the button from here: its release comes as a left-button-up.
    if (events_) events_->on_mouse_button(kWmLButtonUp, 0);
    return true;
}

bool FakeWindowHost::set_topmost(bool on) {
    if (system_places) return false;
    topmost = on;
    return true;
}

void FakeWindowHost::resize_client(int width, int height) {
    window.right = window.left + width;
    window.bottom = window.top + height;
}

bool FakeWindowHost::keyboard_state(std::array<std::uint8_t, 256>& out) {
    if (!keyboard_ok) return false;
    out = keys;
    return true;
}

void FakeWindowHost::destroy_window() {
    if (destroyed) return;
    destroyed = true;
    if (events_) events_->on_destroy();
}

void FakeWindowHost::quit_loop() {
    std::lock_guard<std::mutex> g(mutex_);
    quit = true;
    cv_.notify_all();
}

bool FakeWindowHost::run_one(std::unique_lock<std::mutex>& lk) {
    if (tasks_.empty()) return false;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lk.unlock();
    task();
    lk.lock();
    return true;
}

int FakeWindowHost::run_loop() {
    std::unique_lock<std::mutex> lk(mutex_);
    while (!quit) {
        if (!run_one(lk)) cv_.wait(lk, [this] { return quit || !tasks_.empty(); });
    }
    return 0;
}

bool FakeWindowHost::pump(std::chrono::milliseconds duration) {
    auto until = std::chrono::steady_clock::now() + duration;
    std::unique_lock<std::mutex> lk(mutex_);
    while (!quit) {
        if (run_one(lk)) continue;
        if (cv_.wait_until(lk, until, [this] { return quit || !tasks_.empty(); })) continue;
        break;
    }
    return quit;
}

}  // namespace dz
