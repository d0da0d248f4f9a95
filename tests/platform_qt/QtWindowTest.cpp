// The Qt window host on the offscreen platform: input records, close handling,
// cross-thread calls and their stop flag, merged repaints, signals.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "RecordingEvents.h"
#include "platform/qt/QtSignalBridge.h"
#include "platform/qt/QtWindowHost.h"

namespace dz {
namespace {

using namespace std::chrono_literals;

class QtWindowTest : public ::testing::Test {
protected:
    QtWindowTest() : host(275, 116) { host.set_events(&events); }
    void mouse(QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(10, 20), QPointF(110, 220), b, held, mods);
        QApplication::sendEvent(&host.widget(), &e);
    }
    void pump_until(const std::function<bool()>& done) {
        auto until = std::chrono::steady_clock::now() + 5s;
        while (!done() && std::chrono::steady_clock::now() < until) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    RecordingEvents events;
    QtWindowHost host;
};

TEST_F(QtWindowTest, WindowIsHiddenFramelessAndTitled) {
    QWidget& w = host.widget();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Dezidu"));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(host.client_rect(), (Rect{0, 0, 275, 116}));
    host.resize_client(275, 232);
    EXPECT_EQ(host.client_rect(), (Rect{0, 0, 275, 232}));
    // The first cursor set replaces the arrow: a widget that sets its own cursor gets a
    // non-zero answer at once, so its parents are not asked to set theirs.
    CursorHandle skin = host.add_cursor(QCursor(Qt::CrossCursor));
    EXPECT_EQ(host.set_cursor(skin), kArrowCursor);
    EXPECT_EQ(host.set_cursor(kArrowCursor), skin);
}

// A move the window system took: its button-up is given once, and a late release of that
// press (a window system that does send one) is not a second button-up.
TEST_F(QtWindowTest, ReleaseGivenForASystemMoveIsNotRepeated) {
    // offscreen places windows itself: drags move by pixels, stays-on-top is kept.
    EXPECT_TRUE(host.places_window());
    EXPECT_FALSE(host.begin_system_move());
    EXPECT_TRUE(host.set_topmost(true));
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    host.widget().release_left_button();
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    std::vector<int> messages;
    for (const RecordingEvents::Button& b : events.buttons) messages.push_back(b.message);
    EXPECT_EQ(messages, (std::vector<int>{0x201, 0x202, 0x201, 0x202}));
}

TEST_F(QtWindowTest, ButtonsBecomeRecordsWithTheirStateBits) {
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
    mouse(QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton | Qt::LeftButton,
          Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, Qt::BackButton, Qt::BackButton);  // no record
    ASSERT_EQ(events.buttons.size(), 7u);
    EXPECT_EQ(events.buttons[0].message, 0x201);
    EXPECT_EQ(events.buttons[0].wparam, kMkLButton);
    EXPECT_EQ(events.buttons[1].message, 0x202);
    EXPECT_EQ(events.buttons[1].wparam, 0u);
    EXPECT_EQ(events.buttons[2].message, 0x203);
    EXPECT_EQ(events.buttons[3].message, 0x204);
    EXPECT_EQ(events.buttons[3].wparam, kMkRButton | kMkControl);
    EXPECT_EQ(events.buttons[4].message, 0x206);
    EXPECT_EQ(events.buttons[5].message, 0x207);
    EXPECT_EQ(events.buttons[5].wparam, kMkMButton | kMkLButton | kMkShift);
    EXPECT_EQ(events.buttons[6].message, 0x208);
    // The position of the last event is what the worker's next update sees.
    EXPECT_EQ(host.cursor_client_pos(), (Point{10, 20}));
}

TEST_F(QtWindowTest, WheelKeysAndDrops) {
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&host.widget(), &wheel);
    ASSERT_EQ(events.wheels.size(), 1u);
    EXPECT_EQ(events.wheels[0], -240);

    QKeyEvent bang(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier | Qt::ControlModifier, "!");
    QApplication::sendEvent(&host.widget(), &bang);
    ASSERT_EQ(events.keys.size(), 1u);
    EXPECT_EQ(events.keys[0].vk, '1');
    EXPECT_TRUE(events.keys[0].down && events.keys[0].ctrl && events.keys[0].shift);
    EXPECT_FALSE(events.keys[0].alt);
    std::array<std::uint8_t, 256> state{};
    ASSERT_TRUE(host.keyboard_state(state));
    EXPECT_EQ(state['1'] & 0x80, 0x80);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, "1");
    QApplication::sendEvent(&host.widget(), &up);
    host.keyboard_state(state);
    EXPECT_EQ(state['1'], 0);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/music/a b.ptcop"), QUrl("http://example.com/x.ptcop"),
                  QUrl::fromLocalFile("/music/c.pttune")});
    host.widget().drop(mime);
    ASSERT_EQ(events.drops.size(), 1u);
    EXPECT_EQ(events.drops[0], (std::vector<std::string>{"/music/a b.ptcop", "/music/c.pttune"}));
}

TEST_F(QtWindowTest, CloseIsARequestUntilTheWindowIsDestroyed) {
    host.show();
    QCloseEvent close;
    QApplication::sendEvent(&host.widget(), &close);
    EXPECT_EQ(events.close_requests, 1);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(host.widget().isVisible());
    host.destroy_window();
    EXPECT_EQ(events.destroys, 1);
    EXPECT_FALSE(host.widget().isVisible());
    host.destroy_window();
    EXPECT_EQ(events.destroys, 1);
}

TEST_F(QtWindowTest, BlockingCallsRunOnTheUiThreadAndReturnZeroOnceStopped) {
    std::thread::id ui = std::this_thread::get_id();
    std::atomic<std::intptr_t> result{-1};
    std::atomic<bool> ran_on_ui{false};
    std::thread worker([&] {
        result = host.call_on_ui_thread([&]() -> std::intptr_t {
            ran_on_ui = std::this_thread::get_id() == ui;
            return 42;
        });
    });
    pump_until([&] { return result != -1; });
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(ran_on_ui);

    // The UI thread stops serving calls while a worker waits in one (as when it is
    // about to wait for the worker): the worker gets 0 and the call never runs.
    std::atomic<bool> waiting{false};
    std::atomic<bool> ran{false};
    result = -1;
    std::thread blocked([&] {
        waiting = true;
        result = host.call_on_ui_thread([&]() -> std::intptr_t {
            ran = true;
            return 7;
        });
    });
    while (!waiting) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);  // let it queue the call
    host.stop_ui_calls();
    blocked.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(host.call_on_ui_thread([] { return std::intptr_t{5}; }), 5);  // UI thread: direct
    std::thread late([&] { result = host.call_on_ui_thread([] { return std::intptr_t{9}; }); });
    late.join();
    EXPECT_EQ(result, 0);
    QApplication::processEvents();
    EXPECT_FALSE(ran);
}

// The worker reads the keyboard state at every update while key events change it on the
// UI thread: the copy is made on the UI thread, never by the worker reading the window.
TEST_F(QtWindowTest, KeyboardStateFromAnotherThreadIsReadOnTheUiThread) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&host.widget(), &press);
    std::atomic<int> reads{0};
    std::atomic<bool> all_read{true};
    std::atomic<int> held_first{-1};
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) {
            std::array<std::uint8_t, 256> state{};
            if (!host.keyboard_state(state)) all_read = false;
            if (i == 0) held_first = state['A'] & 0x80;
            ++reads;
        }
    });
    // Nothing is read until the UI thread serves the call.
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(held_first, -1);
    pump_until([&] { return held_first != -1; });
    EXPECT_EQ(held_first, 0x80);
    for (int i = 0; i < 200 && reads < 20; ++i) {
        QApplication::sendEvent(&host.widget(), (i % 2) ? &press : &release);
        QApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    pump_until([&] { return reads == 20; });
    worker.join();
    EXPECT_TRUE(all_read);

    // Once the UI thread takes no calls, another thread gets no state.
    host.stop_ui_calls();
    bool read_after_stop = true;
    std::thread late([&] {
        std::array<std::uint8_t, 256> state{};
        read_after_stop = host.keyboard_state(state);
    });
    late.join();
    EXPECT_FALSE(read_after_stop);
    std::array<std::uint8_t, 256> state{};
    EXPECT_TRUE(host.keyboard_state(state));  // the UI thread itself still reads it
}

TEST_F(QtWindowTest, RepaintRequestsAreMerged) {
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) host.present();
    });
    worker.join();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(events.paints, 1);  // one mask check per merged request
    host.present();
    QApplication::processEvents();
    EXPECT_EQ(events.paints, 2);
}

TEST_F(QtWindowTest, SigtermBecomesTheCloseRequestOnTheUiThread) {
    QtSignalBridge bridge([this] { host.request_close(); });
    ASSERT_TRUE(bridge.installed());
    std::raise(SIGTERM);
    pump_until([&] { return events.close_requests > 0; });
    EXPECT_EQ(events.close_requests, 1);
    std::raise(SIGINT);
    pump_until([&] { return events.close_requests > 1; });
    EXPECT_EQ(events.close_requests, 2);
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

// Skin cursors: made from decoded pixels with their hotspot, on the UI thread also when a
// worker asks; a freed cursor that is showing gives way to the arrow.
TEST_F(QtWindowTest, CursorsFromDecodedPixels) {
    DecodedImage image;
    image.width = 2;
    image.height = 1;
    image.bgra = {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00};  // opaque red, transparent
    image.hot_x = 1;
    std::atomic<CursorHandle> made{~CursorHandle{0}};
    std::thread worker([&] { made = host.make_cursor(image); });
    pump_until([&] { return made != ~CursorHandle{0}; });
    worker.join();
    ASSERT_GT(made.load(), kArrowCursor);

    host.set_cursor(made);
    const QCursor shown = host.widget().cursor();
    EXPECT_EQ(shown.hotSpot(), QPoint(1, 0));
    const QImage pixels = shown.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(pixels.size(), QSize(2, 1));
    EXPECT_EQ(pixels.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(qAlpha(pixels.pixel(1, 0)), 0);

    host.destroy_cursor(made);
    EXPECT_EQ(host.widget().cursor().shape(), Qt::ArrowCursor);
    DecodedImage empty;
    EXPECT_EQ(host.make_cursor(empty), 0u);
}

}  // namespace
}  // namespace dz
