#include "edx/EdxRender.h"

#include <algorithm>
#include <cstring>

#include "edx/EdxCodes.h"

namespace dz {

void RecreateBuffers(EdxWorld* w) {
    std::lock_guard<std::mutex> g(w->lock);
    for (EdxImage* image : {&w->back_buffer, &w->front_buffer, &w->mask_buffer}) {
        image->release();
        image->fill_blank(w->rect.width(), w->rect.height());
    }
    w->frame_changed = true;
}

void ProtectKeyColour(EdxImage& image, ColorRef key, ColorRef substitute) {
    if (!image.has_bitmap()) return;
    const std::uint8_t kb = (key >> 16) & 0xFF, kg = (key >> 8) & 0xFF, kr = key & 0xFF;
    const std::uint8_t sb = (substitute >> 16) & 0xFF, sg = (substitute >> 8) & 0xFF,
                       sr = substitute & 0xFF;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            if (p[0] == kb && p[1] == kg && p[2] == kr) {
                p[0] = sb;
                p[1] = sg;
                p[2] = sr;
            }
        }
    }
}

void ComposeFrame(EdxWorld* w, ColorRef key, ColorRef substitute,
                  const std::function<void(EdxWorld*)>& cut_shape) {
    EdxImage& back = w->back_buffer;
    if (w->suspended || !back.has_bitmap()) return;
    std::memset(back.pixels(), 0, std::size_t(back.stride()) * back.height());
    w->clip = w->rect;
    Broadcast(w, EDX_DRAW);
    w->send(EDX_DRAWN);
    ProtectKeyColour(back, key, substitute);
    if (cut_shape) cut_shape(w);
    std::lock_guard<std::mutex> g(w->lock);
    EdxImage& front = w->front_buffer;
    if (front.has_bitmap() && front.stride() == back.stride()) {
        std::size_t n = std::size_t(front.stride()) * std::min(front.height(), back.height());
        // Only the worker writes the front buffer, so reading it here needs no more than the
        // lock already held. An unchanged frame leaves the window alone.
        if (std::memcmp(front.pixels(), back.pixels(), n) != 0) {
            std::memcpy(front.pixels(), back.pixels(), n);
            w->frame_changed = true;
        }
    }
}

void PaintWindow(EdxWorld* w) {
    if (!w->window || w->suspended) return;
    {
        std::lock_guard<std::mutex> g(w->lock);
        if (!w->frame_changed) return;
        w->frame_changed = false;
    }
    w->window->present();
}

void PaintFrontBuffer(EdxWorld* w, const std::function<void(const FrameView&)>& draw) {
    std::lock_guard<std::mutex> g(w->lock);
    const EdxImage& front = w->front_buffer;
    if (!front.has_bitmap()) return;
    FrameView view{front.pixels(), front.width(), front.height(), front.stride(), w->zoom};
    draw(view);
}

}  // namespace dz
