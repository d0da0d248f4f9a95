#include "edx/EdxWindow.h"

#include "edx/EdxRender.h"

namespace dz {

void SetZoom(EdxWorld* w, double scale) {
    if (!(scale > 0) || scale == w->zoom) return;
    WindowHost* host = w->window;
    if (!host) {
        std::lock_guard<std::mutex> g(w->lock);
        w->zoom = scale;
        return;
    }
    // On the UI thread the repaint it causes cannot come between the new size and the new
    // scale.
    host->call_on_ui_thread([w, host, scale]() -> std::intptr_t {
        const Rect client = host->client_rect();
        double old = w->zoom;
        {
            std::lock_guard<std::mutex> g(w->lock);
            w->zoom = scale;
            w->frame_changed = true;  // the window mask follows the scale
        }
        host->resize_client(static_cast<int>(scale * client.width() / old),
                            static_cast<int>(scale * client.height() / old));
        return 0;
    });
}

void SetWorldSize(EdxWorld* w, int width, int height) {
    if (width <= 0 || height <= 0) {
        w->suspended = 1;
        return;
    }
    w->suspended = 0;
    w->rect = Rect{0, 0, width, height};
    if (WindowHost* host = w->window) {
        const double zoom = w->zoom;
        host->call_on_ui_thread([host, width, height, zoom]() -> std::intptr_t {
            host->resize_client(static_cast<int>(width * zoom), static_cast<int>(height * zoom));
            return 0;
        });
    }
    RecreateBuffers(w);
}

bool SetTopmost(EdxWorld* w, bool on) {
    WindowHost* host = w->window;
    if (!host) return false;
    return host->call_on_ui_thread(
               [host, on]() -> std::intptr_t { return host->set_topmost(on) ? 1 : 0; }) != 0;
}

}  // namespace dz
