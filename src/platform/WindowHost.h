#pragma once
// The one top-level window and its UI thread, as the core sees them.
//
// Threads: unless stated, a method is called on the UI thread. Worker code that
// needs one of them goes through call_on_ui_thread / post_to_ui_thread.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/Geometry.h"
#include "platform/ImageDecoder.h"

namespace dz {

class WindowEvents;

// A cursor the host can show. 0 is "no cursor set"; kArrowCursor is the standard arrow.
using CursorHandle = std::uintptr_t;
inline constexpr CursorHandle kArrowCursor = 1;

class WindowHost {
public:
    virtual ~WindowHost() = default;

    // Where the window reports to. Set once, before the window is shown.
    virtual void set_events(WindowEvents* events) = 0;

    // --- cross-thread calls (any thread) ---
    // Runs `fn` on the UI thread and returns its result. On the UI thread it runs at once.
    // From another thread it blocks until the UI thread ran it; once the UI thread has
    // stopped taking calls (the close sequence) it returns 0 without running `fn`, so the
    // worker never waits for a UI thread that is waiting for the worker.
    virtual std::intptr_t call_on_ui_thread(std::function<std::intptr_t()> fn) = 0;
    // Runs `fn` later on the UI thread; dropped once the UI thread stopped taking calls.
    virtual void post_to_ui_thread(std::function<void()> fn) = 0;
    virtual bool is_ui_thread() const = 0;
    // The UI thread takes no further calls; pending blocking calls return 0.
    virtual void stop_ui_calls() = 0;

    // --- any thread ---
    // Ask for a repaint from the front buffer; requests are merged.
    virtual void present() = 0;
    // Post the close request (as the user closing the window does).
    virtual void request_close() = 0;
    // The last known cursor position on the screen, and in client pixels.
    virtual Point cursor_pos() = 0;
    virtual Point cursor_client_pos() = 0;
    // The keyboard state, one byte per virtual key, high bit set while held. From another
    // thread it is read on the UI thread (a blocking call); false when it cannot be read.
    virtual bool keyboard_state(std::array<std::uint8_t, 256>& out) = 0;
    // A cursor of decoded pixels (alpha kept) with their hotspot; 0 when none can be made.
    // Cursors are made on the UI thread: from another thread this is a blocking call, which
    // gives 0 once the UI thread takes no calls.
    virtual CursorHandle make_cursor(const DecodedImage& image) = 0;
    // Frees a cursor of make_cursor; a window showing it shows the arrow. From another
    // thread the work is posted to the UI thread.
    virtual void destroy_cursor(CursorHandle cursor) = 0;

    // --- UI thread ---
    virtual void set_capture(bool on) = 0;
    // Shows `cursor` over the window; returns the previous one.
    virtual CursorHandle set_cursor(CursorHandle cursor) = 0;
    virtual Rect window_rect() = 0;  // screen pixels
    virtual Rect client_rect() = 0;  // (0, 0, width, height)
    // True when move_window puts the window where asked and window_rect's position is where
    // it is (X11). False where only the window system places windows (Wayland): moves are
    // then ignored and the position is not worth keeping.
    virtual bool places_window() const = 0;
    virtual void move_window(int x, int y) = 0;
    // Hands a move by the mouse to the window system, while the left button that started it
    // is held: the window then follows the pointer until the button is released, and the
    // release comes to the window as a left-button-up. True when the window system took
    // the move (or the button was already up); false where the program moves the window
    // itself (move_window on every mouse move).
    virtual bool begin_system_move() = 0;
    virtual void resize_client(int width, int height) = 0;
    // Keeps the window above others (or not). False when the window system refused it: the
    // window is then not kept on top.
    virtual bool set_topmost(bool on) = 0;
    virtual void minimise() = 0;
    // Pixels of this colour (0x00BBGGRR) are cut out of the window and let clicks through.
    virtual void set_colour_key(ColorRef key) = 0;
    // The screen's work area; nullopt when it cannot be read.
    virtual std::optional<Rect> work_area() = 0;
    virtual void show() = 0;
    // Destroys the window: on_destroy is called before this returns.
    virtual void destroy_window() = 0;
    // Ends the UI loop once the current event returns (the quit message).
    virtual void quit_loop() = 0;

    // --- any thread ---
    // The longest time between the clicks of a double click, in milliseconds.
    virtual int double_click_ms() const { return 500; }
};

}  // namespace dz
