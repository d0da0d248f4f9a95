// The bodies of the playlist editor (275 x H, H = 60 + 14 x rows), of its shaded bar
// (275 x 14) and of the five button strips, in creation order: a later sibling lies on
// top and is hit first. Rectangles are relative to the parent; tags are the index of
// the menu a right click shows. The editor's sizes follow H on EDX_RELAYOUT.
#include "platform/Geometry.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/player/PlayerHandlers.h"
#include "ui/pledit/PleditHandlers.h"

namespace dz {

void CreatePleditTree(EdxBody* pledit) {
    const int h = pledit->rect.height();
    EdxBody* title = MakeChild(pledit, {PleditTitleBarHandler, 0, 0, 275, 20, 0});
    EdxBody* grip = MakeChild(title, {PleditGripHandler, 0, 0, 275, 20, 0});
    MakeChild(grip, {PleditShadeButtonHandler<false>, 254, 3, 9, 9, 0});
    MakeChild(grip, {PleditCloseButtonHandler<false>, 264, 3, 9, 9, 0});

    EdxBody* middle = MakeChild(pledit, {PleditMiddleHandler, 0, 20, 275, h - 58, 0});
    MakeChild(middle, {ListContainerHandler, 12, 1, 243, h - 60, 0});
    MakeChild(middle, {ScrollBarHandler, 260, 0, 8, h - 58, 0});

    EdxBody* bottom = MakeChild(pledit, {PleditBottomBarHandler, 0, h - 38, 275, 38, 0});
    const ChildSpec bar[] = {
        {ScrollArrowHandler<-1>, 260, 2, 8, 5, 0},
        {ScrollArrowHandler<+1>, 260, 7, 8, 5, 0},
        {ResizeHandleHandler, 256, 19, 19, 19, 0},
        {TransportHandler<Transport::Previous, true>, 131, 23, 7, 8, 4},
        {TransportHandler<Transport::Play, true>, 138, 23, 10, 8, 5},
        {TransportHandler<Transport::Pause, true>, 148, 23, 10, 8, 6},
        {TransportHandler<Transport::Stop, true>, 158, 23, 9, 8, 7},
        {TransportHandler<Transport::Next, true>, 167, 23, 9, 8, 8},
        {TransportHandler<Transport::Eject, true>, 176, 23, 9, 8, 3},
        {TimeMinusHandler<true>, 193, 23, 5, 6, 0},
        {PleditTimeMinutesHandler, 198, 23, 10, 6, 0},
        {PleditTimeSecondsHandler, 211, 23, 10, 6, 0},
        {TimeModeHandler, 190, 23, 30, 6, 13},
        {PleditTotalsHandler, 132, 10, 88, 6, 0},
        // ADD, REM, SEL, MISC, LIST: the tag also names the strip (tag - 15).
        {StripButtonHandler, 11, 8, 25, 18, 15},
        {StripButtonHandler, 40, 8, 25, 18, 16},
        {StripButtonHandler, 69, 8, 25, 18, 17},
        {StripButtonHandler, 98, 8, 25, 18, 18},
        {StripButtonHandler, 228, 8, 25, 18, 19},
    };
    for (const ChildSpec& c : bar) MakeChild(bottom, c);
}

void CreatePleditShadeTree(EdxBody* shade) {
    const ChildSpec children[] = {
        {PleditShadeButtonHandler<true>, 254, 3, 9, 9, 0},
        {PleditCloseButtonHandler<true>, 264, 3, 9, 9, 0},
        {PleditShadeTitleHandler, 4, 2, 242, 10, 0},
    };
    for (const ChildSpec& c : children) MakeChild(shade, c);
}

void CreateStripItems(TAG_USERDATA& d) {
    // Items are 22 x 18, one every 18 pixels right of the strip's 3-pixel bar.
    EdxBody* const strips[] = {d.body_strip_add, d.body_strip_rem, d.body_strip_sel,
                               d.body_strip_misc, d.body_strip_list};
    for (EdxBody* strip : strips) {
        if (!strip) continue;
        const int items = strip->rect.height() / 18;
        for (int k = 0; k < items; ++k) MakeChild(strip, {StripItemHandler, 3, 18 * k, 22, 18, 0});
    }
}

}  // namespace dz
