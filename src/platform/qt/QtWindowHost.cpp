#include "platform/qt/QtWindowHost.h"

#include <sys/eventfd.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMetaObject>
#include <QPixmap>
#include <QScreen>
#include <QStyleHints>
#include <QWindow>

#include <cstdint>
#include <future>

namespace dz {

QtWindowHost::QtWindowHost(int width, int height)
    : traits_(TraitsForPlatform(QGuiApplication::platformName().toStdString())),
      window_(std::make_unique<QtMainWindow>(traits_.alpha_shape)),
      ui_thread_(std::this_thread::get_id()),
      wake_fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      notifier_(wake_fd_ >= 0 ? new QSocketNotifier(wake_fd_, QSocketNotifier::Read) : nullptr) {
    if (notifier_) {
        QObject::connect(notifier_, &QSocketNotifier::activated, [this] { run_pending(); });
    }
    window_->setFixedSize(width, height);
    window_->hide();
    double_click_ms_ = QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

QtWindowHost::~QtWindowHost() {
    stop_ui_calls();
    window_->set_events(nullptr);
}

void QtWindowHost::set_events(WindowEvents* events) {
    events_ = events;
    window_->set_events(events);
}

std::intptr_t QtWindowHost::call_on_ui_thread(std::function<std::intptr_t()> fn) {
    if (is_ui_thread()) return fn();
    auto promise = std::make_shared<std::promise<std::intptr_t>>();
    std::future<std::intptr_t> result = promise->get_future();
    // Only the queued call holds the promise, so dropping the call breaks it.
    post_to_ui_thread(
        [promise = std::move(promise), fn = std::move(fn)]() { promise->set_value(fn()); });
    try {
        return result.get();
    } catch (const std::future_error&) {
        return 0;  // dropped by stop_ui_calls
    }
}

void QtWindowHost::post_to_ui_thread(std::function<void()> fn) {
    std::lock_guard<std::mutex> g(calls_mutex_);
    if (stopped_) return;  // fn is destroyed here: a waiting caller gets 0
    pending_.push_back(std::move(fn));
    if (pending_.size() == 1) {
        if (wake_fd_ >= 0) {
            std::uint64_t one = 1;
            [[maybe_unused]] ssize_t n = write(wake_fd_, &one, sizeof one);
        } else {
            // No eventfd (out of descriptors): a queued call on the window instead.
            QMetaObject::invokeMethod(
                window_.get(), [this] { run_pending(); }, Qt::QueuedConnection);
        }
    }
}

void QtWindowHost::run_pending() {
    // Reset the wake-up first: a post after this read wakes the loop again.
    if (wake_fd_ >= 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] ssize_t n = read(wake_fd_, &count, sizeof count);
    }
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard<std::mutex> g(calls_mutex_);
            if (pending_.empty()) return;
            fn = std::move(pending_.front());
            pending_.pop_front();
        }
        fn();
    }
}

void QtWindowHost::stop_ui_calls() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> g(calls_mutex_);
        if (stopped_) return;
        stopped_ = true;
        dropped.swap(pending_);
        delete notifier_;
        notifier_ = nullptr;
        if (wake_fd_ >= 0) close(wake_fd_);
        wake_fd_ = -1;
    }
    // Destroying the queued calls breaks their promises: waiting callers get 0.
}

void QtWindowHost::present() {
    // Repaint requests are merged: one queued repaint at a time.
    if (present_pending_.exchange(true)) return;
    post_to_ui_thread([this] {
        present_pending_ = false;
        if (!destroyed_) window_->present();
    });
}

namespace {

// A dialog or menu open on the UI thread holds the worker that asked for it, and the close
// sequence waits for the worker: they are dismissed first, as Escape would.
void DismissModalWindows() {
    for (int i = 0; i < 16; ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) break;
        popup->close();
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog && dialog->isVisible()) dialog->reject();
    }
}

}  // namespace

void QtWindowHost::request_close() {
    post_to_ui_thread([this] {
        if (!events_ || destroyed_) return;
        DismissModalWindows();
        events_->on_close_request();
    });
}

Point QtWindowHost::cursor_pos() {
    if (is_ui_thread()) {
        QPoint p = QCursor::pos();
        return Point{p.x(), p.y()};
    }
    return Point{window_->screen_x, window_->screen_y};
}

Point QtWindowHost::cursor_client_pos() {
    return Point{window_->client_x, window_->client_y};
}

void QtWindowHost::set_capture(bool on) {
    if (on == captured_) return;
    captured_ = on;
    if (on) {
        window_->grabMouse();
    } else {
        window_->releaseMouse();
    }
}

CursorHandle QtWindowHost::set_cursor(CursorHandle cursor) {
    CursorHandle old = cursor_;
    if (cursor == cursor_) return old;
    cursor_ = cursor;
    auto it = cursors_.find(cursor);
    if (it != cursors_.end()) {
        window_->setCursor(it->second);
    } else {
        window_->setCursor(Qt::ArrowCursor);
    }
    return old;
}

CursorHandle QtWindowHost::add_cursor(const QCursor& cursor) {
    CursorHandle h = next_cursor_++;
    cursors_.emplace(h, cursor);
    return h;
}

CursorHandle QtWindowHost::make_cursor(const DecodedImage& image) {
    const std::size_t row = static_cast<std::size_t>(image.width) * 4;
    if (image.width <= 0 || image.height <= 0 || image.bgra.size() < row * image.height) return 0;
    // The pixels are read on the UI thread while the caller waits, so they stay alive.
    return static_cast<CursorHandle>(call_on_ui_thread([this, &image, row]() -> std::intptr_t {
        // Format_ARGB32 is blue, green, red, alpha in memory on little-endian machines.
        const QImage pixels(image.bgra.data(), image.width, image.height,
                            static_cast<qsizetype>(row), QImage::Format_ARGB32);
        const QPixmap pixmap = QPixmap::fromImage(pixels);  // a deep copy
        if (pixmap.isNull()) return 0;
        return static_cast<std::intptr_t>(add_cursor(QCursor(pixmap, image.hot_x, image.hot_y)));
    }));
}

void QtWindowHost::destroy_cursor(CursorHandle cursor) {
    if (cursor <= kArrowCursor) return;
    auto drop = [this, cursor] {
        if (cursor_ == cursor) {
            window_->setCursor(Qt::ArrowCursor);
            cursor_ = kArrowCursor;
        }
        cursors_.erase(cursor);
    };
    if (is_ui_thread()) {
        drop();
    } else {
        post_to_ui_thread(drop);
    }
}

Rect QtWindowHost::window_rect() {
    QRect r = window_->frameGeometry();
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Rect QtWindowHost::client_rect() {
    return Rect{0, 0, window_->width(), window_->height()};
}

void QtWindowHost::move_window(int x, int y) {
    window_->move(x, y);
}

bool QtWindowHost::begin_system_move() {
    if (traits_.exact_moves) return false;
    // Released already (a quick click): its button-up is on its way, nothing to move.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) return true;
    QWindow* handle = window_->windowHandle();
    if (!handle || !handle->startSystemMove()) return false;
    // The compositor holds the pointer until the button is released and sends the window
    // no release: the drag's button-up is given here.
    window_->release_left_button();
    return true;
}

void QtWindowHost::resize_client(int width, int height) {
    if (width > 0 && height > 0) window_->setFixedSize(width, height);
}

bool QtWindowHost::set_topmost(bool on) {
    // Where nothing keeps a window on top, the flags stay: changing them re-creates the
    // window, which the window system may then place elsewhere.
    if (!traits_.keeps_on_top) return false;
    bool visible = window_->isVisible();
    if (window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return true;
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) window_->show();  // changing the flags hides the window
    return true;
}

void QtWindowHost::minimise() {
    window_->showMinimized();
}

void QtWindowHost::set_colour_key(ColorRef key) {
    window_->set_colour_key(key);
}

std::optional<Rect> QtWindowHost::work_area() {
    QScreen* screen = window_->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    QRect r = screen->availableGeometry();
    if (r.isEmpty()) return std::nullopt;
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

bool QtWindowHost::keyboard_state(std::array<std::uint8_t, 256>& out) {
    // The worker asks at every update: the key array is written by key events and the
    // modifier query talks to the display, both on the UI thread, so the copy is made there.
    if (is_ui_thread()) {
        out = window_->key_state();
        return true;
    }
    std::array<std::uint8_t, 256> state{};
    bool read = call_on_ui_thread([this, &state]() -> std::intptr_t {
                    state = window_->key_state();
                    return 1;
                }) != 0;
    if (read) out = state;
    return read;  // false once the UI thread takes no calls
}

void QtWindowHost::show() {
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtWindowHost::destroy_window() {
    if (destroyed_) return;
    destroyed_ = true;
    if (captured_) set_capture(false);
    window_->set_destroying();
    window_->hide();
    if (events_) events_->on_destroy();
}

void QtWindowHost::quit_loop() {
    // Queued, so a quit asked for before the loop runs still ends it.
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

}  // namespace dz
