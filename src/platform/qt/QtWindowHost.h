#pragma once
// WindowHost over a Qt widget. The thread that builds it (the Qt GUI thread) is
// the UI thread.
//
// Cross-thread calls are queued here and run in order on the UI thread. A post that
// makes the queue non-empty wakes the UI thread through an eventfd watched by a socket
// notifier made on the UI thread, so nothing the posting thread builds passes through
// Qt's event queue: the calls move only under calls_mutex_, a hand-off ThreadSanitizer
// can follow (Qt's own locks are invisible to it). A blocking call waits on a promise;
// stop_ui_calls() drops every queued call and so breaks their promises: a worker
// waiting on one gets 0 instead of waiting for a UI thread that is waiting for it.

#include <QCursor>
#include <QSocketNotifier>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/WindowHost.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/WindowSystemTraits.h"

namespace dz {

class QtWindowHost : public WindowHost {
public:
    // Creates the window hidden, with a client area of width x height, for the window
    // system of the running Qt platform.
    QtWindowHost(int width, int height);
    ~QtWindowHost() override;

    QtMainWindow& widget() { return *window_; }

    void set_events(WindowEvents* events) override;
    std::intptr_t call_on_ui_thread(std::function<std::intptr_t()> fn) override;
    void post_to_ui_thread(std::function<void()> fn) override;
    bool is_ui_thread() const override { return std::this_thread::get_id() == ui_thread_; }
    void stop_ui_calls() override;
    void present() override;
    void request_close() override;
    Point cursor_pos() override;
    Point cursor_client_pos() override;
    void set_capture(bool on) override;
    CursorHandle set_cursor(CursorHandle cursor) override;
    Rect window_rect() override;
    Rect client_rect() override;
    bool places_window() const override { return traits_.exact_moves; }
    void move_window(int x, int y) override;
    bool begin_system_move() override;
    void resize_client(int width, int height) override;
    bool set_topmost(bool on) override;
    void minimise() override;
    void set_colour_key(ColorRef key) override;
    std::optional<Rect> work_area() override;
    bool keyboard_state(std::array<std::uint8_t, 256>& out) override;
    CursorHandle make_cursor(const DecodedImage& image) override;
    void destroy_cursor(CursorHandle cursor) override;
    void show() override;
    void destroy_window() override;
    void quit_loop() override;
    int double_click_ms() const override { return double_click_ms_; }

    // Cursors made from skin images get handles from here (the arrow is kArrowCursor).
    CursorHandle add_cursor(const QCursor& cursor);

private:
    void run_pending();  // UI thread: runs the queued calls in order

    const WindowSystemTraits traits_;
    std::unique_ptr<QtMainWindow> window_;
    WindowEvents* events_ = nullptr;
    std::thread::id ui_thread_;
    std::mutex calls_mutex_;
    int wake_fd_ = -1;           // eventfd; closed by stop_ui_calls (under calls_mutex_)
    QSocketNotifier* notifier_;  // owned, null without wake_fd_; deleted by stop_ui_calls
    bool stopped_ = false;
    std::deque<std::function<void()>> pending_;  // guarded by calls_mutex_
    std::atomic<bool> present_pending_{false};
    int double_click_ms_ = 500;  // the desktop's, read on the UI thread at construction
    bool destroyed_ = false;
    bool captured_ = false;
    CursorHandle cursor_ = kArrowCursor;       // a new window shows the arrow
    std::map<CursorHandle, QCursor> cursors_;  // UI thread
    CursorHandle next_cursor_ = kArrowCursor + 1;
};

}  // namespace dz
