#include "app/Layout.h"

#include "edx/EdxCodes.h"
#include "edx/EdxShape.h"
#include "edx/EdxWindow.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

// Puts a body's top-left corner at (0, y), keeping its size.
void MoveTo(EdxBody* body, int y) {
    body->rect = Rect{0, y, body->rect.width(), y + body->rect.height()};
}

// The editor's strips: their bottom edge lies this far above the editor's bottom.
constexpr int kStripLift = 12;

}  // namespace

int RunLayout(TAG_USERDATA& d) {
    EdxBody* const bodies[] = {d.body_main,         d.body_main_shade,  d.body_pledit,
                               d.body_pledit_shade, d.body_strip_cover, d.body_strip_add,
                               d.body_strip_rem,    d.body_strip_sel,   d.body_strip_misc,
                               d.body_strip_list};
    for (EdxBody* b : bodies) {
        if (!b) return 0;
    }
    EdxWorld* world = d.world;
    if (!world) return 0;
    int width = 0, height = 0;

    if (d.visible_player != 1) {
        d.body_main->visible = 0;
        d.body_main_shade->visible = 0;
    } else if (d.shade_player) {
        d.body_main->visible = 0;
        d.body_main_shade->visible = 1;
        MoveTo(d.body_main_shade, 0);
        width = d.body_main->rect.width();
        height = d.body_main_shade->rect.height();
    } else {
        d.body_main->visible = 1;
        MoveTo(d.body_main, 0);
        width = d.body_main->rect.width();
        height = d.body_main->rect.height();
        d.body_main_shade->visible = 0;
    }

    if (d.visible_pledit != 1) {
        d.body_pledit->visible = 0;
        d.body_pledit_shade->visible = 0;
    } else if (d.shade_pledit) {
        d.body_pledit->visible = 0;
        d.body_pledit_shade->visible = 1;
        MoveTo(d.body_pledit_shade, height);
        width = d.body_pledit->rect.width();
        height += d.body_pledit_shade->rect.height();
    } else {
        d.body_pledit->visible = 1;
        // The editor sets its height from the page size; its children fit themselves.
        Broadcast(d.body_pledit, EDX_RELAYOUT);
        MoveTo(d.body_pledit, height);
        width = d.body_pledit->rect.width();
        height += d.body_pledit->rect.height();
        d.body_pledit_shade->visible = 0;
    }

    EdxBody* const strips[] = {d.body_strip_add, d.body_strip_rem, d.body_strip_sel,
                               d.body_strip_misc, d.body_strip_list};
    if (IsShown(d.body_pledit)) {
        d.body_strip_cover->rect = Rect{0, 0, width, height};
        const int bottom = d.body_pledit->rect.bottom - kStripLift;
        for (EdxBody* s : strips) {
            const int h = s->rect.height();
            s->rect.top = bottom - h;
            s->rect.bottom = bottom;
        }
    } else {
        for (EdxBody* s : strips) s->visible = 0;
    }

    SetZoom(world, d.double_size ? 2.0 : 1.0);
    // Nothing shown makes the size 0: the world then keeps its buffers and shows nothing.
    if (world->rect.width() != width || world->rect.height() != height || world->suspended) {
        SetWorldSize(world, width, height);
    }
    // always_on_top stays the user's wish (saved as such); what shows it lit follows the
    // window system's answer.
    d.topmost_refused = SetTopmost(world, d.always_on_top != 0) ? 0 : 1;

    world->clip = world->rect;
    Broadcast(world, EDX_DRAW);
    world->send(EDX_DRAWN);
    return 0;
}

void ApplyShapeMask(TAG_USERDATA& d, EdxWorld& world) {
    const bool shaded = d.shade_player != 0;
    const EdxBody* body = shaded ? d.body_main_shade : d.body_main;
    const EdxPolygons& polygons = shaded ? d.skin.region_shade : d.skin.region_normal;
    if (!body) return;
    // A top-level body's rectangle is in window pixels.
    world.shape_mask.cut(world.back_buffer, world.clip, body->rect, polygons, d.transparent_key);
}

}  // namespace dz
