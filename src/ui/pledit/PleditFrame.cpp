// The editor's frame: the editor body, its title bar, the middle with the side
// borders, the bottom bar, the title-bar buttons, and the shaded bar.
//
// Sprites of PLEDIT (x, y, w x h; a stretch takes a 25-pixel-wide strip):
//   title bar, sy = 0 active / 21 inactive, all 20 high: left corner (0, sy) 25 wide;
//     fill (127, sy) stretched; title piece (26, sy) 100 wide; right corner (153, sy)
//     25 wide
//   middle: left border (0, 42) stretched, 29 high, over x 0..25; right border (26, 42)
//     over x w-25..w
//   bottom bar: (0, 72) 125 x 38 at x 0, (126, 72) 150 x 38 at x w-150
//   buttons, pressed only, 9 x 9: close (52, 42), shade (62, 42), shaded bar's shade
//     button (150, 42)
//   shaded bar, 14 high: fill (72, 57) stretched; left end (72, 42) 25 wide; right end
//     (99, 42) active / (99, 57) inactive, 50 wide
#include <algorithm>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "platform/WindowEvents.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/pledit/PleditHandlers.h"

namespace dz {

namespace {

// The editor's height is 60 + the rows: title bar 20, bottom bar 38, list margins 2.
constexpr int kFrameHeight = 60;

void SetHeight(EdxBody* b, int height) {
    b->rect.bottom = b->rect.top + height;
}

}  // namespace

void TogglePleditShade(TAG_USERDATA* d) {
    d->shade_pledit = !d->shade_pledit;
    relayout(*d);
    save_settings(*d);
}

int PleditHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_RELAYOUT:
            d->scroll_page = std::clamp(d->scroll_page, kPleditMinRows, kPleditMaxRows);
            SetHeight(b, d->scroll_page * d->row_height + kFrameHeight);
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "PNORMAL");
        default:
            return CommonEvents(b, code, d);
    }
}

int PleditTitleBarHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return EasyMove(b, code, d);
    EdxImage* image = SkinImage(d, "PLEDIT");
    const int w = b->rect.width();
    const int sy = Active(b) ? 0 : 21;
    const int centre = static_cast<int>((w - 100) * 0.5);
    DrawPart(b, 0, 0, image, 0, sy, 25, 20);
    DrawStretch(b, 25, centre, 20, image, 127, sy, 20);
    DrawPart(b, centre, 0, image, 26, sy, 100, 20);
    DrawStretch(b, 100 - static_cast<int>((w - 100) * -0.5), w - 25, 20, image, 127, sy, 20);
    DrawPart(b, w - 25, 0, image, 153, sy, 25, 20);
    return 0;
}

int PleditGripHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "PTBAR");
        default:
            return ShadingBarEvents(b, code, d, TogglePleditShade);
    }
}

template <bool InShade>
int PleditShadeButtonHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW:
            if (LooksPressed(b))
                DrawPart(b, 0, 0, SkinImage(d, "PLEDIT"), InShade ? 150 : 62, 42, 9, 9);
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "PWINBUT");
        case kWmLButtonUp:
            TogglePleditShade(d);
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

template <bool InShade>
int PleditCloseButtonHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW:
            if (LooksPressed(b)) DrawPart(b, 0, 0, SkinImage(d, "PLEDIT"), 52, 42, 9, 9);
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "PCLOSE");
        case kWmLButtonUp:
            run_command(*d, kCmdPlaylistEditor);
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

int PleditMiddleHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_RELAYOUT:
            if (b->parent) SetHeight(b, b->parent->rect.height() - 58);
            return 0;
        case EDX_DRAW: {
            EdxImage* image = SkinImage(d, "PLEDIT");
            const int w = b->rect.width(), h = b->rect.height();
            const ColorRef bg = SkinColour(d, "PLEDIT.NormalBG", 0xFFFFFF);
            DrawRect(b, 0, w, h, bg, 1);
            DrawStretch(b, 0, 25, h, image, 0, 42, 29);
            DrawStretch(b, w - 25, w, h, image, 26, 42, 29);
            DrawRect(b, 11, w - 19, h, bg, 1);
            return 0;
        }
        default:
            return EasyMove(b, code, d);
    }
}

int PleditBottomBarHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_RELAYOUT:
            if (b->parent) {
                const int h = b->rect.height();
                b->rect.top = b->parent->rect.height() - h;
                b->rect.bottom = b->rect.top + h;
            }
            return 0;
        case EDX_DRAW: {
            EdxImage* image = SkinImage(d, "PLEDIT");
            DrawPart(b, 0, 0, image, 0, 72, 125, 38);
            DrawPart(b, b->rect.width() - 150, 0, image, 126, 72, 150, 38);
            return 0;
        }
        default:
            return EasyMove(b, code, d);
    }
}

int PleditShadeHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_DRAW: {
            EdxImage* image = SkinImage(d, "PLEDIT");
            const int w = b->rect.width();
            DrawStretch(b, 0, w, 14, image, 72, 57, 14);
            DrawPart(b, 0, 0, image, 72, 42, 25, 14);
            DrawPart(b, w - 50, 0, image, 99, Active(b) ? 42 : 57, 50, 14);
            return 0;
        }
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "PWSNORM");
        default:
            return ShadingBarEvents(b, code, d, TogglePleditShade);
    }
}

template int PleditShadeButtonHandler<false>(EdxBody*, int, TAG_USERDATA*);
template int PleditShadeButtonHandler<true>(EdxBody*, int, TAG_USERDATA*);
template int PleditCloseButtonHandler<false>(EdxBody*, int, TAG_USERDATA*);
template int PleditCloseButtonHandler<true>(EdxBody*, int, TAG_USERDATA*);

}  // namespace dz
