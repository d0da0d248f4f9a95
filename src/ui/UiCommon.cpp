#include "ui/UiCommon.h"

#include "edx/EdxDrag.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowEvents.h"
#include "state/ContextMenu.h"
#include "ui/menus/MenuBuilder.h"

namespace dz {

EdxImage* SkinImage(TAG_USERDATA* d, const char* element) {
    EdxImage* image = d->skin.skin_images.lookup(element);
    return image && image->has_bitmap() ? image : nullptr;
}

ColorRef SkinColour(TAG_USERDATA* d, const char* name, ColorRef fallback) {
    return d->skin.skin_colors.GetSkinColour(name, fallback);
}

int SetSkinCursor(EdxBody* body, TAG_USERDATA* d, const char* name) {
    EdxImage* image = d->skin.cursor_images.lookup(name);
    if (!image || image->cursor == 0) return 0;
    SetBodyCursor(body, image->cursor);
    return 1;
}

bool Active(const EdxBody* body) {
    return body->world && body->world->has_focus.load() != 0;
}

EdxBody* MakeChild(EdxBody* parent, const ChildSpec& c) {
    EdxBodyInfo info;
    info.handler = c.handler;
    info.rect = Rect{c.x, c.y, c.x + c.w, c.y + c.h};
    info.tag = c.tag;
    return CreateBody(parent, info);
}

int EasyMove(EdxBody* body, int code, TAG_USERDATA* d) {
    if (d->easy_move) MoveWindowEvents(body, code, d);
    return CommonEvents(body, code, d);
}

int ShadingBarEvents(EdxBody* body, int code, TAG_USERDATA* d,
                     void (*toggle_shade)(TAG_USERDATA*)) {
    if (code == kWmLButtonDblClk) {
        toggle_shade(d);
        return 0;
    }
    MoveWindowEvents(body, code, d);
    return CommonEvents(body, code, d);
}

bool LooksPressed(const EdxBody* body) {
    const EdxWorld* w = body->world;
    return w && w->left_pressed != nullptr && w->hovered == body;
}

bool KeyHeld(const EdxBody* body, int virtual_key) {
    EdxWorld* w = body->world;
    if (!w || virtual_key < 0 || virtual_key > 255) return false;
    std::lock_guard<std::mutex> guard(w->lock);
    return (w->key_state[static_cast<std::size_t>(virtual_key)] & 0x80) != 0;
}

Point ScreenPointOf(const EdxBody* body, int x, int y) {
    const EdxWorld* w = body->world;
    Rect window = (w && w->window) ? w->window->window_rect() : Rect{};
    Point origin = AbsoluteOrigin(body);
    double zoom = w ? w->zoom : 1.0;
    return Point{window.left + static_cast<std::int32_t>((origin.x + x) * zoom),
                 window.top + static_cast<std::int32_t>((origin.y + y) * zoom)};
}

void ShowMenu(TAG_USERDATA* d, int index, Point screen) {
    if (index < 0 || index >= TAG_USERDATA::kMenuCount) return;
    const std::shared_ptr<Menu>& menu = d->menus[static_cast<std::size_t>(index)];
    if (menu) PostContextMenu(*d, SnapshotMenu(*menu), screen);
}

int CommonEvents(EdxBody* body, int code, TAG_USERDATA* d) {
    if (code == kWmRButtonUp && body->world && body->world->window)
        ShowMenu(d, body->tag, body->world->window->cursor_pos());
    return 0;
}

int MoveWindowEvents(EdxBody* body, int code, TAG_USERDATA* d) {
    if (code == kWmLButtonDown) {
        BeginDrag(body);
        return 1;
    }
    if (code == kWmLButtonUp) {
        EndDrag(body);
        save_position(*d);
        return 1;
    }
    return 0;
}

}  // namespace dz
