#include "edx/EdxDrag.h"

namespace dz {

void BeginDrag(EdxBody* body) {
    EdxWorld* w = body ? body->world : nullptr;
    if (!w || !w->window) return;
    CallInUiThread(body, [](EdxBody* b, TAG_USERDATA*, std::intptr_t) -> std::intptr_t {
        EdxWorld* world = b->world;
        Rect win = world->window->window_rect();
        Point cur = world->window->cursor_pos();
        world->drag_offset = Point{win.left - cur.x, win.top - cur.y};
        return 0;
    });
    w->dragging = 1;
    Capture(body);
}

void EndDrag(EdxBody* body) {
    EdxWorld* w = body ? body->world : nullptr;
    if (!w) return;
    w->dragging = 0;
    ReleaseCaptureFor(body);
}

void FollowDrag(EdxWorld* w) {
    if (w->dragging != 1 || !w->window) return;
    Point cur = w->window->cursor_pos();
    w->window->move_window(w->drag_offset.x + cur.x, w->drag_offset.y + cur.y);
}

}  // namespace dz
