// The button strips of the editor's bottom bar: the five strips (top-level bodies
// standing on their buttons), their items, the cover that closes them, and the buttons.
//
// Sprites of PLEDIT. Each strip is 25 wide: a 3-pixel bar (bar x, 111), 3 x its height,
// then 22 x 18 items at x = 3, one every 18 pixels. An item's image is at its normal
// source, or 23 pixels further right while it is hovered.
//
//   strip  bar x  white fill  items from the top (normal source)
//   ADD     48    yes         URL (0, 111), folder (0, 130), files (0, 149)
//   REM    100    yes         nothing (54, 168), all (54, 111), crop (54, 130),
//                             selected (54, 149)
//   SEL    150    no          invert (104, 111), none (104, 130), all (104, 149)
//   MISC   200    no          sort menu (154, 111), nothing (154, 130), (154, 149)
//   LIST   250    no          new (204, 111), save (204, 130), open (204, 149)
#include <array>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "edx/EdxRender.h"
#include "platform/PopupMenus.h"
#include "platform/WindowEvents.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/pledit/PleditHandlers.h"

namespace dz {

namespace {

enum class Action { None, Command, RemoveAll, SortMenu };

struct Item {
    int sx, sy;
    Action action;
    CommandId command;
};

struct StripLook {
    int bar_x;
    bool white;
    std::array<Item, 4> items;
    int count;
};

constexpr int kItemHeight = 18;
constexpr int kHoverShift = 23;
constexpr ColorRef kWhite = 0xFFFFFF;
// The menu of the first button's strip of the bottom bar (ADD); the others follow.
constexpr int kFirstButtonTag = 15;
constexpr int kSortMenu = 14;

// ADD, REM, SEL, MISC, LIST.
constexpr StripLook kStrips[] = {
    {48,
     true,
     {{{0, 111, Action::Command, kCmdAddUrl},
       {0, 130, Action::Command, kCmdAddFolder},
       {0, 149, Action::Command, kCmdAddFiles}}},
     3},
    {100,
     true,
     {{{54, 168, Action::None, kCmdNone},
       {54, 111, Action::RemoveAll, kCmdNone},
       {54, 130, Action::Command, kCmdCrop},
       {54, 149, Action::Command, kCmdRemoveSelected}}},
     4},
    {150,
     false,
     {{{104, 111, Action::Command, kCmdInvertSelection},
       {104, 130, Action::Command, kCmdSelectNone},
       {104, 149, Action::Command, kCmdSelectAll}}},
     3},
    {200,
     false,
     {{{154, 111, Action::SortMenu, kCmdNone},
       {154, 130, Action::None, kCmdNone},
       {154, 149, Action::None, kCmdNone}}},
     3},
    {250,
     false,
     {{{204, 111, Action::Command, kCmdClearPlaylist},
       {204, 130, Action::Command, kCmdSavePlaylist},
       {204, 149, Action::Command, kCmdOpenPlaylist}}},
     3},
};

std::array<EdxBody*, 5> Strips(const TAG_USERDATA* d) {
    return {d->body_strip_add, d->body_strip_rem, d->body_strip_sel, d->body_strip_misc,
            d->body_strip_list};
}

// The strip's index 0-4, or -1.
int StripIndex(const EdxBody* strip, const TAG_USERDATA* d) {
    const auto strips = Strips(d);
    for (std::size_t i = 0; i < strips.size(); ++i) {
        if (strip && strips[i] == strip) return static_cast<int>(i);
    }
    return -1;
}

const Item* ItemOf(const EdxBody* item, const TAG_USERDATA* d) {
    const int s = StripIndex(item->parent, d);
    if (s < 0) return nullptr;
    const int k = item->rect.top / kItemHeight;
    const StripLook& look = kStrips[s];
    return k >= 0 && k < look.count ? &look.items[static_cast<std::size_t>(k)] : nullptr;
}

bool AllBodies(const TAG_USERDATA* d) {
    const EdxBody* const bodies[] = {d->body_main,         d->body_main_shade,  d->body_pledit,
                                     d->body_pledit_shade, d->body_strip_cover, d->body_strip_add,
                                     d->body_strip_rem,    d->body_strip_sel,   d->body_strip_misc,
                                     d->body_strip_list};
    for (const EdxBody* b : bodies) {
        if (!b) return false;
    }
    return true;
}

void CloseStrips(TAG_USERDATA* d) {
    d->body_strip_cover->visible = 0;
    for (EdxBody* s : Strips(d)) s->visible = 0;
}

// Shows menus[index] at a screen point and waits until it closes; the choice comes
// back as a command. The window first shows a frame of the present state, so that
// what the menu was opened from (the lit O button) is what the user sees meanwhile.
void TrackMenu(EdxBody* b, TAG_USERDATA* d, int index, Point screen) {
    EdxWorld* w = b->world;
    PopupMenus* menus = d->services.popup_menus;
    std::shared_ptr<const Menu> menu = d->menus[static_cast<std::size_t>(index)];
    if (!w || !w->window || !menus || !menu) return;
    w->send(EDX_FRAME);
    PaintWindow(w);
    const int id = static_cast<int>(w->window->call_on_ui_thread(
        [menus, menu, screen] { return menus->track(*menu, screen); }));
    if (id != 0 && d->post_command) d->post_command(id);
}

void ShowSortMenu(EdxBody* item, TAG_USERDATA* d) {
    d->options_held = 1;
    refresh_menu_checks(*d);
    // The item's top-right corner.
    TrackMenu(item, d, kSortMenu, ScreenPointOf(item, item->rect.width(), 0));
    d->options_held = 0;
    refresh_menu_checks(*d);
}

void RunItem(EdxBody* b, TAG_USERDATA* d, const Item& item) {
    switch (item.action) {
        case Action::None:
            break;
        case Action::Command:
            run_command(*d, item.command);
            break;
        case Action::RemoveAll:
            run_command(*d, kCmdSelectAll);
            run_command(*d, kCmdRemoveSelected);
            break;
        case Action::SortMenu:
            ShowSortMenu(b, d);
            break;
    }
}

}  // namespace

int StripHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code != EDX_DRAW) return CommonEvents(b, code, d);
    const int s = StripIndex(b, d);
    if (s < 0) return 0;
    const int h = b->rect.height();
    if (kStrips[s].white) DrawRect(b, 0, b->rect.width(), h, kWhite, 1);
    DrawPart(b, 0, 0, SkinImage(d, "PLEDIT"), kStrips[s].bar_x, 111, 3, h);
    return 0;
}

int StripItemHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    const Item* item = ItemOf(b, d);
    if (!item) return CommonEvents(b, code, d);
    switch (code) {
        case EDX_DRAW: {
            const bool hovered = b->world && b->world->hovered == b;
            DrawPart(b, 0, 0, SkinImage(d, "PLEDIT"), item->sx + (hovered ? kHoverShift : 0),
                     item->sy, 22, kItemHeight);
            return 0;
        }
        case kWmLButtonUp:
            if (!AllBodies(d)) return 0;
            RunItem(b, d, *item);
            CloseStrips(d);
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

int StripCoverHandler(EdxBody*, int code, TAG_USERDATA* d) {
    if (code == kWmLButtonUp && AllBodies(d)) CloseStrips(d);
    return 0;
}

int StripButtonHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    if (code == kWmLButtonUp) {
        const int s = b->tag - kFirstButtonTag;
        if (!AllBodies(d) || s < 0 || s >= 5) return 0;
        d->body_strip_cover->visible = 1;
        Strips(d)[static_cast<std::size_t>(s)]->visible = 1;
        return 0;
    }
    return CommonEvents(b, code, d);
}

}  // namespace dz
