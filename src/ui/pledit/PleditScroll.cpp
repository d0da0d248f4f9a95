// The list's scroll bar and arrows, and the editor's resize handle.
//
// Sprites of PLEDIT: scroll thumb 8 x 18, (52, 53) normal / (61, 53) while dragged.
#include <algorithm>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "platform/WindowEvents.h"
#include "state/ListScroll.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/pledit/PleditHandlers.h"

namespace dz {

namespace {

constexpr int kThumbHeight = 18;

// A left press captures the mouse so that the drag goes on outside the body; the
// framework releases it on the button-up. Returns 1 when it handled `code`.
int CaptureEvents(EdxBody* b, int code) {
    if (code == kWmLButtonDown) {
        Capture(b);
        return 1;
    }
    if (code == kWmLButtonUp) {
        ReleaseCaptureFor(b);
        return 1;
    }
    return 0;
}

// The thumb's centre follows the cursor: 9 pixels below the bar's top is the list's
// start, 9 above its bottom the list's end.
void FollowThumb(EdxBody* b, TAG_USERDATA* d) {
    const int h = b->rect.height();
    const int y = MousePosition(b).y - AbsoluteOrigin(b).y - kThumbHeight / 2;
    double ratio = 1.0;
    if (y < 0)
        ratio = 0.0;
    else if (y < h - kThumbHeight)
        ratio = static_cast<double>(y) / (h - kThumbHeight);
    d->scroll_top = static_cast<int>(d->scroll_max * ratio);
    ClampScroll(*d);
}

// Rows for the cursor's height: 4 rows put the editor's bottom 116 pixels below its top,
// and each 14 pixels further down add one.
int RowsAtCursor(EdxBody* b, TAG_USERDATA* d) {
    const int top = AbsoluteOrigin(d->body_pledit).y;
    const int rows = (19 + MousePosition(b).y - top - 116) / 14 + 4;
    return std::clamp(rows, kPleditMinRows, kPleditMaxRows);
}

}  // namespace

int ScrollBarHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_RELAYOUT:
            if (b->parent) b->rect.bottom = b->rect.top + b->parent->rect.height();
            return 0;
        case EDX_UPDATE:
            if (IsLeftPressed(b) && d->scroll_max != 0) FollowThumb(b, d);
            return 0;
        case EDX_DRAW:
            if (d->scroll_max != 0) {
                const int y =
                    static_cast<int>((b->rect.height() - kThumbHeight) *
                                     (static_cast<double>(d->scroll_top) / d->scroll_max));
                DrawPart(b, 0, y, SkinImage(d, "PLEDIT"), IsLeftPressed(b) ? 61 : 52, 53, 8,
                         kThumbHeight);
            }
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "PVSCROLL");
        default:
            CaptureEvents(b, code);
            return CommonEvents(b, code, d);
    }
}

template <int Direction>
int ScrollArrowHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code == kWmLButtonDown) {
        d->scroll_top += Direction;
        ClampScroll(*d);
        return 0;
    }
    return CommonEvents(b, code, d);
}

int ResizeHandleHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_UPDATE:
            if (IsLeftPressed(b) && d->body_pledit) {
                const int rows = RowsAtCursor(b, d);
                if (rows != d->scroll_page) {
                    d->scroll_page = rows;
                    relayout(*d);
                    save_position(*d);
                }
            }
            return 0;
        case EDX_SET_CURSOR:
            return SetSkinCursor(b, d, "PSIZE");
        default:
            CaptureEvents(b, code);
            return CommonEvents(b, code, d);
    }
}

template int ScrollArrowHandler<-1>(EdxBody*, int, TAG_USERDATA*);
template int ScrollArrowHandler<+1>(EdxBody*, int, TAG_USERDATA*);

}  // namespace dz
