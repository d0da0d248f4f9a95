#pragma once
// The one top-level window: frameless, painted from the application's front
// buffer (stretched 2x nearest-neighbour at double size), cut by a mask built
// from the key colour. Input is translated into WindowEvents. UI thread only.
//
// With an alpha shape (Wayland) the mask only limits the input there, so the window is
// also translucent: pixels outside the mask are painted fully transparent and the
// compositor shows what is behind them.

#include <QMimeData>
#include <QRegion>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/WindowEvents.h"

namespace dz {

class QtMainWindow : public QWidget {
public:
    explicit QtMainWindow(bool alpha_shape = false);

    void set_events(WindowEvents* events) { events_ = events; }
    void set_colour_key(ColorRef key) { key_ = key; }
    // Closing for good: a close event is then accepted instead of becoming a request.
    void set_destroying() { destroying_ = true; }
    // Rebuilds the mask when the key-coloured pixels changed, then repaints the part of
    // the window whose pixels changed since the last present.
    void present();

    // The keyboard state, one byte per virtual key (high bit: held).
    std::array<std::uint8_t, 256> key_state() const;
    // Dropped data: its local files, in order, go to on_drop as one list.
    void drop(const QMimeData& mime);
    // The window system took the held left button (a move of its own): on_mouse_button
    // gets its release now, and a late release of that press is not passed on.
    void release_left_button();
    // The part of the window that is drawn and takes input; empty: all of it.
    const QRegion& shape() const { return shape_; }

    // Last known cursor position: screen and client pixels (client -1, -1 when outside).
    std::atomic<int> screen_x{0}, screen_y{0};
    std::atomic<int> client_x{-1}, client_y{-1};

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    void track(QMouseEvent* e);
    void button(QMouseEvent* e, int first_code);
    void key(QKeyEvent* e, bool down);
    void update_mask(const FrameView& frame);
    void apply_shape();  // shape_ as the window's mask (X11) or input region (alpha shape)
    // The window pixels whose frame pixels differ from the last present's (the whole
    // window when the size or the scale changed); keeps the frame for the next time.
    QRect changed_area(const FrameView& frame);

    WindowEvents* events_ = nullptr;
    const bool alpha_shape_;
    bool left_released_ = false;  // release_left_button ran since the last press
    QRegion shape_;               // the mask set, in window pixels
    ColorRef key_ = 0;
    bool destroying_ = false;
    std::array<std::uint8_t, 256> keys_{};
    // Runs of key-coloured pixels of the last masked frame: (row, first, end) triples.
    std::vector<int> key_runs_;
    double mask_zoom_ = 0;
    int mask_width_ = 0, mask_height_ = 0;  // the frame size the mask was made for
    // The frame of the last present, and its layout.
    std::vector<std::uint8_t> shown_;
    int shown_width_ = 0, shown_height_ = 0, shown_stride_ = 0;
    double shown_zoom_ = 0;
};

}  // namespace dz
