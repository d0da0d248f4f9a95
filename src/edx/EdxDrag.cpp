#include "edx/EdxDrag.h"

namespace dz {

void BeginDrag(EdxBody* body) {
    EdxWorld* w = body ? body->world : nullptr;
    if (!w || !w->window) return;
    // Where the window system places windows itself, it moves the window; else the window
    // follows the mouse from here.
    const std::intptr_t system =
        CallInUiThread(body, [](EdxBody* b, TAG_USERDATA*, std::intptr_t) -> std::intptr_t {
            EdxWorld* world = b->world;
            if (world->window->begin_system_move()) return 1;
            Rect win = world->window->window_rect();
            Point cur = world->window->cursor_pos();
            world->drag_offset = Point{win.left - cur.x, win.top - cur.y};
            return 0;
        });
    if (!system) w->dragging = 1;
    // The button-up (the window system's, after its move) comes to this body either way.
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
