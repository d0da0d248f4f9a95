#include "ui/TopLevel.h"

#include "edx/EdxWorld.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/player/PlayerHandlers.h"
#include "ui/pledit/PleditHandlers.h"

namespace dz {

namespace {

EdxBody* Make(EdxBody* parent, EdxHandler handler, Rect rect, int visible) {
    EdxBodyInfo info;
    info.handler = handler;
    info.rect = rect;
    info.visible = visible;
    return CreateBody(parent, info);
}

}  // namespace

void CreateTopLevelBodies(TAG_USERDATA& d) {
    EdxWorld* w = d.world;
    if (!w || d.body_main) return;
    // (x, y, width, height) as rectangles; the layout moves them.
    d.body_main = Make(w, MainHandler, Rect{0, 0, 275, 116}, 1);
    d.body_main_shade = Make(w, ShadeHandler, Rect{0, 0, 275, 14}, 0);
    d.body_pledit = Make(w, PleditHandler, Rect{0, 0, 275, 116}, 1);
    d.body_pledit_shade = Make(w, PleditShadeHandler, Rect{0, 0, 275, 14}, 0);
    d.body_strip_cover = Make(w, StripCoverHandler, Rect{0, 0, 0, 0}, 0);
    d.body_strip_add = Make(w, StripHandler, Rect{11, 50, 36, 104}, 0);
    d.body_strip_rem = Make(w, StripHandler, Rect{40, 32, 65, 104}, 0);
    d.body_strip_sel = Make(w, StripHandler, Rect{69, 50, 94, 104}, 0);
    d.body_strip_misc = Make(w, StripHandler, Rect{98, 50, 123, 104}, 0);
    d.body_strip_list = Make(w, StripHandler, Rect{228, 50, 253, 104}, 0);
    CreatePlayerTree(d.body_main);
    CreateShadeTree(d.body_main_shade);
    CreatePleditTree(d.body_pledit);
    CreatePleditShadeTree(d.body_pledit_shade);
    CreateStripItems(d);
}

}  // namespace dz
