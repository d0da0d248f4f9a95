#include "platform/qt/QtMainWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cstring>

#include "platform/VirtualKeys.h"
#include "platform/qt/QtKeyMap.h"

namespace dz {

QtMainWindow::QtMainWindow(bool alpha_shape)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), alpha_shape_(alpha_shape) {
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowTitle(QStringLiteral("Dezidu"));
    // An alpha channel for the surface; only where the window system composes every window
    // (without a compositor on X11 transparent pixels would show black and take clicks).
    if (alpha_shape_) setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
}

std::array<std::uint8_t, 256> QtMainWindow::key_state() const {
    std::array<std::uint8_t, 256> out = keys_;
    // Modifiers as the system sees them now, so a release missed while unfocused
    // does not leave one held.
    Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
    out[vk::kShift] = (m & Qt::ShiftModifier) ? 0x80 : 0;
    out[vk::kControl] = (m & Qt::ControlModifier) ? 0x80 : 0;
    out[vk::kMenu] = (m & Qt::AltModifier) ? 0x80 : 0;
    return out;
}

void QtMainWindow::present() {
    if (!events_) return;
    bool framed = false;
    QRect area;
    events_->on_paint([&](const FrameView& f) {
        update_mask(f);
        area = changed_area(f);
        framed = true;
    });
    if (!framed) {
        update();
    } else if (!area.isEmpty()) {
        update(area);
    }
}

QRect QtMainWindow::changed_area(const FrameView& f) {
    const std::size_t bytes = static_cast<std::size_t>(f.stride) * f.height;
    if (f.width != shown_width_ || f.height != shown_height_ || f.stride != shown_stride_ ||
        f.zoom != shown_zoom_ || shown_.size() != bytes) {
        shown_.assign(f.pixels, f.pixels + bytes);
        shown_width_ = f.width;
        shown_height_ = f.height;
        shown_stride_ = f.stride;
        shown_zoom_ = f.zoom;
        return rect();
    }
    const std::size_t row_bytes = 3 * static_cast<std::size_t>(f.width);
    int top = -1, bottom = 0, left = f.width, right = 0;
    for (int y = 0; y < f.height; ++y) {
        const std::uint8_t* now = f.pixels + static_cast<std::size_t>(y) * f.stride;
        std::uint8_t* was = shown_.data() + static_cast<std::size_t>(y) * f.stride;
        if (std::memcmp(now, was, row_bytes) == 0) continue;
        int l = 0, r = f.width;
        while (std::memcmp(now + 3 * l, was + 3 * l, 3) == 0) ++l;
        while (std::memcmp(now + 3 * (r - 1), was + 3 * (r - 1), 3) == 0) --r;
        left = std::min(left, l);
        right = std::max(right, r);
        if (top < 0) top = y;
        bottom = y + 1;
        std::memcpy(was, now, row_bytes);
    }
    if (top < 0) return QRect();
    const double z = f.zoom;
    return QRect(int(left * z), int(top * z), int((right - left) * z), int((bottom - top) * z));
}

void QtMainWindow::update_mask(const FrameView& f) {
    const std::uint8_t kb = (key_ >> 16) & 0xFF, kg = (key_ >> 8) & 0xFF, kr = key_ & 0xFF;
    std::vector<int> runs;
    for (int y = 0; y < f.height; ++y) {
        const std::uint8_t* p = f.pixels + static_cast<std::size_t>(y) * f.stride;
        int x = 0;
        while (x < f.width) {
            while (x < f.width && !(p[3 * x] == kb && p[3 * x + 1] == kg && p[3 * x + 2] == kr))
                ++x;
            int start = x;
            while (x < f.width && p[3 * x] == kb && p[3 * x + 1] == kg && p[3 * x + 2] == kr) ++x;
            if (x > start) {
                runs.push_back(y);
                runs.push_back(start);
                runs.push_back(x);
            }
        }
    }
    // A frame that is key colour everywhere (the unprotected first frame) would cut the
    // whole window away; keep the mask there is until a drawn frame arrives.
    std::size_t key_pixels = 0;
    for (std::size_t i = 0; i < runs.size(); i += 3) key_pixels += runs[i + 2] - runs[i + 1];
    if (f.width > 0 && key_pixels == static_cast<std::size_t>(f.width) * f.height) return;
    // The mask covers the whole frame: a taller frame with the same cut (the editor grown
    // below the player's outline) needs a new one, or its new rows stay cut away.
    if (runs == key_runs_ && f.zoom == mask_zoom_ && f.width == mask_width_ &&
        f.height == mask_height_)
        return;
    key_runs_ = std::move(runs);
    mask_zoom_ = f.zoom;
    mask_width_ = f.width;
    mask_height_ = f.height;
    if (key_runs_.empty()) {
        shape_ = QRegion();
        apply_shape();
        return;
    }
    QRegion cut;
    const double z = f.zoom;
    for (std::size_t i = 0; i < key_runs_.size(); i += 3) {
        int y = key_runs_[i], x0 = key_runs_[i + 1], x1 = key_runs_[i + 2];
        cut += QRect(int(x0 * z), int(y * z), int((x1 - x0) * z), int(z));
    }
    shape_ = QRegion(0, 0, int(f.width * z), int(f.height * z)).subtracted(cut);
    apply_shape();
}

void QtMainWindow::apply_shape() {
    if (!alpha_shape_) {
        if (shape_.isEmpty()) {
            clearMask();
        } else {
            setMask(shape_);
        }
        return;
    }
    // The input region only, on the platform window: a widget mask would also limit what
    // Qt repaints and hands to the compositor, so pixels that leave the shape would keep
    // showing their last drawn colour. An empty region takes input everywhere.
    if (QWindow* handle = windowHandle()) handle->setMask(shape_);
}

void QtMainWindow::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    if (alpha_shape_) {
        // Outside the shape stays fully transparent.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (!shape_.isEmpty()) painter.setClipRegion(shape_);
    }
    bool painted = false;
    if (events_) {
        events_->on_paint([&](const FrameView& f) {
            QImage image(f.pixels, f.width, f.height, f.stride, QImage::Format_BGR888);
            if (f.zoom == 1.0) {
                // Only the part asked for: a present asks for the pixels that changed.
                const QRect part = e->rect() & image.rect();
                painter.drawImage(part.topLeft(), image, part);
            } else {
                // Default hints: exact nearest-neighbour scaling.
                painter.drawImage(QRect(0, 0, width(), height()), image);
            }
            painted = true;
        });
    }
    if (!painted) painter.fillRect(rect(), QColor(0, 1, 0));
}

void QtMainWindow::track(QMouseEvent* e) {
    QPointF g = e->globalPosition();
    QPointF l = e->position();
    screen_x = int(g.x());
    screen_y = int(g.y());
    client_x = int(l.x());
    client_y = int(l.y());
}

void QtMainWindow::button(QMouseEvent* e, int first_code) {
    track(e);
    if (!events_) return;
    int offset;
    switch (e->button()) {
        case Qt::LeftButton:
            offset = 0;
            break;
        case Qt::RightButton:
            offset = 3;
            break;
        case Qt::MiddleButton:
            offset = 6;
            break;
        default:
            return;
    }
    std::uint32_t wparam = 0;
    Qt::MouseButtons b = e->buttons();
    if (b & Qt::LeftButton) wparam |= kMkLButton;
    if (b & Qt::RightButton) wparam |= kMkRButton;
    if (b & Qt::MiddleButton) wparam |= kMkMButton;
    if (e->modifiers() & Qt::ShiftModifier) wparam |= kMkShift;
    if (e->modifiers() & Qt::ControlModifier) wparam |= kMkControl;
    events_->on_mouse_button(first_code + offset, wparam);
}

void QtMainWindow::mousePressEvent(QMouseEvent* e) {
    left_released_ = false;
    button(e, kWmLButtonDown);
}
void QtMainWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (left_released_ && e->button() == Qt::LeftButton) {
        left_released_ = false;  // given already by release_left_button
        track(e);
        return;
    }
    button(e, kWmLButtonUp);
}

void QtMainWindow::release_left_button() {
    left_released_ = true;
    if (events_) events_->on_mouse_button(kWmLButtonUp, 0);
}
// The second press of a double click arrives as this event alone, as the double-click
// record does between the first click's up and the second up.
void QtMainWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    left_released_ = false;
    button(e, kWmLButtonDblClk);
}

void QtMainWindow::mouseMoveEvent(QMouseEvent* e) {
    track(e);
    if (events_) events_->on_mouse_move();
}

void QtMainWindow::leaveEvent(QEvent*) {
    if (QGuiApplication::mouseButtons() != Qt::NoButton) return;  // a button holds the mouse
    client_x = -1;
    client_y = -1;
}

void QtMainWindow::wheelEvent(QWheelEvent* e) {
    if (events_) events_->on_wheel(e->angleDelta().y());
    e->accept();
}

void QtMainWindow::key(QKeyEvent* e, bool down) {
    int v = VirtualKeyFromQt(e->key(), (e->modifiers() & Qt::KeypadModifier) != 0);
    if (v <= 0 || v > 255) return;
    keys_[v] = down ? 0x80 : 0;
    if (!events_) return;
    Qt::KeyboardModifiers m = e->modifiers();
    events_->on_key(v, down, (m & Qt::ControlModifier) != 0, (m & Qt::AltModifier) != 0,
                    (m & Qt::ShiftModifier) != 0);
}

void QtMainWindow::keyPressEvent(QKeyEvent* e) {
    key(e, true);
}
void QtMainWindow::keyReleaseEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) key(e, false);
}

void QtMainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void QtMainWindow::dropEvent(QDropEvent* e) {
    e->acceptProposedAction();
    drop(*e->mimeData());
}

void QtMainWindow::drop(const QMimeData& mime) {
    std::vector<std::string> paths;
    for (const QUrl& url : mime.urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toUtf8().toStdString());
    }
    if (events_ && !paths.empty()) events_->on_drop(std::move(paths));
}

void QtMainWindow::closeEvent(QCloseEvent* e) {
    if (destroying_) {
        e->accept();
        return;
    }
    // The window stays until the worker has ended; the application destroys it.
    e->ignore();
    if (events_) events_->on_close_request();
}

bool QtMainWindow::event(QEvent* e) {
    // The platform window exists from the first show on.
    if (e->type() == QEvent::Show && alpha_shape_) apply_shape();
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) {
        bool active = e->type() == QEvent::WindowActivate;
        if (!active) keys_.fill(0);
        if (events_) events_->on_focus(active);
    }
    return QWidget::event(e);
}

}  // namespace dz
