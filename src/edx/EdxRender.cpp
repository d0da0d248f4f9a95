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
    ProtectKeyColour(image, Rect{0, 0, image.width(), image.height()}, key, substitute);
}

void ProtectKeyColour(EdxImage& image, const Rect& r, ColorRef key, ColorRef substitute) {
    if (!image.has_bitmap()) return;
    const Rect area = intersect(r, Rect{0, 0, image.width(), image.height()});
    const std::uint8_t kb = (key >> 16) & 0xFF, kg = (key >> 8) & 0xFF, kr = key & 0xFF;
    const std::uint8_t sb = (substitute >> 16) & 0xFF, sg = (substitute >> 8) & 0xFF,
                       sr = substitute & 0xFF;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* p = image.row(y) + 3 * area.left;
        for (int x = area.left; x < area.right; ++x, p += 3) {
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
    if (w->suspended || !w->back_buffer.has_bitmap()) return;
    w->composer.compose(*w, key, substitute, cut_shape);
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
