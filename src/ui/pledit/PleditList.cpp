// The list container and its rows.
//
// Row i lies at y = 14 i in the container (tag i, the entry index) and the container's
// child origin is (0, -scroll_top x 14), which scrolls them. Only the rows that can show
// exist: the container keeps one body for each row from scroll_top to the bottom of its
// height (fewer at the end of the list) and hands them new tags and places as the view
// moves, so a list of any length costs a page of bodies per frame.
#include <algorithm>
#include <vector>

#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowEvents.h"
#include "state/ListScroll.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/pledit/PleditHandlers.h"

namespace dz {

namespace {

// The menu a right click on a row shows.
constexpr int kRowMenu = 10;

// "読み込み中: " in CP932.
constexpr const char* kLoadingJa = "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86: ";

int RowHeight(const TAG_USERDATA* d) {
    return d->row_height > 0 ? d->row_height : 14;
}

// Fits the container's rows to the view: one body per visible entry, tagged and placed.
void SyncRows(EdxBody* list, TAG_USERDATA* d) {
    const int rh = RowHeight(d);
    const int count = d->player.playlist.count();
    const int first = std::clamp(d->scroll_top, 0, count);
    const int fit = (std::max(list->rect.height(), 0) + rh - 1) / rh;
    const int wanted = std::min(count - first, fit);
    std::vector<EdxBody*> rows;
    rows.reserve(list->children.size());
    for (EdxBody* child : list->children) {
        if (!child->remove_mark) rows.push_back(child);
    }
    for (std::size_t k = static_cast<std::size_t>(wanted); k < rows.size(); ++k) {
        rows[k]->remove_mark = 1;
    }
    while (static_cast<int>(rows.size()) < wanted) {
        EdxBodyInfo info;
        info.handler = ListRowHandler;
        rows.push_back(CreateBody(list, info));
    }
    const int w = list->rect.width();
    for (int k = 0; k < wanted; ++k) {
        EdxBody* row = rows[static_cast<std::size_t>(k)];
        const int i = first + k;
        row->tag = i;
        row->rect = Rect{0, rh * i, w, rh * i + rh};
    }
    list->child_origin = Point{0, -d->scroll_top * rh};
}

// Mouse on a row; `i` is a valid entry index.
void RowPress(EdxBody* b, TAG_USERDATA* d, int i) {
    tagPLAYER& p = d->player;
    if (KeyHeld(b, vk::kShift)) {
        p.select_all_as(0);
        p.select_range(d->list_cursor, i);
    } else if (KeyHeld(b, vk::kControl)) {
        p.toggle_one(i);
    } else {
        p.select_all_as(0);
        p.select_one(i);
    }
    d->list_cursor = i;
}

}  // namespace

int ListContainerHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    switch (code) {
        case EDX_RELAYOUT:
            if (b->parent) b->rect.bottom = b->rect.top + b->parent->rect.height() - 2;
            d->list_dirty = 1;
            // A taller page may end the list above the view's bottom: scroll back now,
            // not a frame later.
            ClampScroll(*d);
            return 0;
        case EDX_UPDATE:
            if (d->list_dirty == 1) {
                MarkChildrenForRemoval(b);
                d->list_dirty = 0;
                ClampScroll(*d);
            }
            SyncRows(b, d);
            return 0;
        case EDX_DRAW:
            // Commands and the layout may have moved the view since the update.
            SyncRows(b, d);
            return 0;
        default:
            return CommonEvents(b, code, d);
    }
}

std::string RowTitle(const TAG_USERDATA& d, int index) {
    const tagPLAYER& p = d.player;
    if (!p.playlist.in_range(index)) return {};
    const tagTUNEINFO& e = p.playlist[static_cast<std::size_t>(index)];
    if (e.loading == EntryLoading::None) return e.title;
    const std::string& title = e.title.empty() ? e.file_title : e.title;
    if (e.loading != EntryLoading::Downloading) return title;
    return (d.japanese == 1 ? kLoadingJa : "Loading: ") + title;
}

int ListRowHandler(EdxBody* b, int code, TAG_USERDATA* d) {
    tagPLAYER& p = d->player;
    const int i = b->tag;
    // A row left over from a longer list (its rebuild is due at the next update) takes
    // no clicks and draws nothing.
    if (!p.playlist.in_range(i)) return 0;
    switch (code) {
        case EDX_DRAW: {
            const tagTUNEINFO& e = p.playlist[static_cast<std::size_t>(i)];
            const ColorRef bg = e.selected ? SkinColour(d, "PLEDIT.SelectedBG", 0xFF0000)
                                           : SkinColour(d, "PLEDIT.NormalBG", 0xFF0000);
            const ColorRef fg = e.current_mark ? SkinColour(d, "PLEDIT.Current", 0xFFFFFF)
                                               : SkinColour(d, "PLEDIT.Normal", 0x00FF00);
            DrawRect(b, 0, b->rect.width(), b->rect.height(), bg, 1);
            DrawEntryText(b, e.sequence, RowTitle(*d, i), e.length_seconds, fg, bg);
            return 0;
        }
        case kWmLButtonDown:
            RowPress(b, d, i);
            return 0;
        case kWmLButtonDblClk:
            if (!p.library().pxtone_Tune_IsStreaming()) p.load_unloaded_entries();
            p.play(i, 0);
            return 0;
        case kWmRButtonUp:
            d->list_cursor = i;
            p.select_one(i);
            // The tag is the entry's index here, not a menu's: rows show the list menu.
            if (b->world && b->world->window) ShowMenu(d, kRowMenu, b->world->window->cursor_pos());
            return 0;
        default:
            return 0;
    }
}

}  // namespace dz
