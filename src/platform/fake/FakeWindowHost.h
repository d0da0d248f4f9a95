#pragma once
// A window host without a display, for tests. The thread that constructs it is
// its UI thread; the test runs that thread's loop with run_loop() or pump().
// Everything the core asks of the window is recorded.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/WindowEvents.h"
#include "platform/WindowHost.h"

namespace dz {

class FakeWindowHost : public WindowHost {
public:
    FakeWindowHost(int client_width = 275, int client_height = 116);

    // Runs posted UI work until quit_loop(); returns 0.
    int run_loop();
    // Runs posted UI work for at most `duration` or until quit_loop(); true when it quit.
    bool pump(std::chrono::milliseconds duration);

    // Test-controlled inputs.
    std::atomic<int> cursor_x{-1}, cursor_y{-1};  // client pixels; -1: outside
    std::optional<Rect> work{Rect{0, 0, 1280, 1024}};
    std::array<std::uint8_t, 256> keys{};
    bool keyboard_ok = true;
    // A window system that places windows itself (Wayland): moves by the program are
    // ignored, drags are taken by begin_system_move, stays-on-top is refused.
    bool system_places = false;
    int double_click = 500;  // double_click_ms()

    // What the core did.
    std::atomic<int> presents{0};
    std::atomic<int> close_requests{0};
    std::atomic<int> capture_on{0}, capture_off{0};
    std::vector<CursorHandle> cursors_set;
    bool shown = false;
    bool destroyed = false;
    bool quit = false;
    std::optional<ColorRef> colour_key;
    Rect window{0, 0, 275, 116};
    bool topmost = false;
    std::atomic<int> system_moves{0};  // moves handed to the window system

    void set_events(WindowEvents* events) override { events_ = events; }
    std::intptr_t call_on_ui_thread(std::function<std::intptr_t()> fn) override;
    void post_to_ui_thread(std::function<void()> fn) override;
    bool is_ui_thread() const override { return std::this_thread::get_id() == ui_thread_; }
    void stop_ui_calls() override;
    void present() override { ++presents; }
    void request_close() override;
    Point cursor_pos() override { return Point{window.left + cursor_x, window.top + cursor_y}; }
    Point cursor_client_pos() override { return Point{cursor_x, cursor_y}; }
    void set_capture(bool on) override { ++(on ? capture_on : capture_off); }
    CursorHandle set_cursor(CursorHandle cursor) override;
    Rect window_rect() override { return window; }
    Rect client_rect() override { return Rect{0, 0, window.width(), window.height()}; }
    bool places_window() const override { return !system_places; }
    void move_window(int x, int y) override;
    bool begin_system_move() override;
    void resize_client(int width, int height) override;
    bool set_topmost(bool on) override;
    void minimise() override {}
    void set_colour_key(ColorRef key) override { colour_key = key; }
    std::optional<Rect> work_area() override { return work; }
    bool keyboard_state(std::array<std::uint8_t, 256>& out) override;
    // Cursors are counted, not made: any thread, at once.
    CursorHandle make_cursor(const DecodedImage& image) override;
    void destroy_cursor(CursorHandle cursor) override;

    struct FakeCursor {
        int width = 0;
        int height = 0;
        int hot_x = 0;
        int hot_y = 0;
    };
    // The cursors made and not yet destroyed.
    std::map<CursorHandle, FakeCursor> live_cursors() const;
    void show() override { shown = true; }
    void destroy_window() override;
    void quit_loop() override;
    int double_click_ms() const override { return double_click; }

private:
    bool run_one(std::unique_lock<std::mutex>& lk);

    WindowEvents* events_ = nullptr;
    std::thread::id ui_thread_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> tasks_;
    bool stopped_ = false;
    CursorHandle cursor_ = 0;
    mutable std::mutex cursors_mutex_;
    std::map<CursorHandle, FakeCursor> live_cursors_;  // guarded by cursors_mutex_
    CursorHandle next_cursor_ = kArrowCursor + 1;      // guarded by cursors_mutex_
};

}  // namespace dz
