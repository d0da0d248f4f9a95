// Playlist editor commands: keyboard cursor, scrolling, selection, removal, orderings.
#include <algorithm>

#include "app/commands/Commands.h"
#include "state/HookCalls.h"
#include "state/ListScroll.h"

namespace dz {

namespace {

bool editor(TAG_USERDATA* d) {
    return d->body_pledit != nullptr;
}

// Moves the keyboard cursor one row (direction -1 up, +1 down) and keeps it in
// view. A cursor outside the view first jumps to the nearest visible edge row.
// Plain moves select only the cursor row; extending moves add the new row when
// the cursor moved.
void move_cursor(TAG_USERDATA* d, int direction, bool extend) {
    if (!editor(d)) return;
    const int before = d->list_cursor;
    const int t = d->scroll_top;
    const int p = d->scroll_page;
    int r = before;
    if (r < t)
        r = t;
    else if (r >= t + p)
        r = t + p - 1;
    else
        r += direction;

    ClampScroll(*d);
    const int count = d->player.playlist.count();
    if (count == 0 || r < 0)
        r = 0;
    else if (r > count - 1)
        r = count - 1;
    d->list_cursor = r;
    if (r < d->scroll_top)
        d->scroll_top = r;
    else if (r >= d->scroll_top + p)
        d->scroll_top = r - p + 1;
    ClampScroll(*d);

    if (!extend) {
        d->player.select_all_as(0);
        d->player.select_one(r);
    } else if (r != before) {
        d->player.select_one(r);
    }
}

void scroll_to(TAG_USERDATA* d, int top) {
    if (!editor(d)) return;
    d->scroll_top = top;
    ClampScroll(*d);
}

template <void (tagPLAYER::*Sort)()>
int ordering(TAG_USERDATA* d) {
    (d->player.*Sort)();
    d->list_dirty = 1;
    save_playlist(*d);
    return 0;
}

}  // namespace

int cmd_cursor_up(TAG_USERDATA* d) {
    move_cursor(d, -1, false);
    return 0;
}

int cmd_cursor_down(TAG_USERDATA* d) {
    move_cursor(d, +1, false);
    return 0;
}

int cmd_extend_up(TAG_USERDATA* d) {
    move_cursor(d, -1, true);
    return 0;
}

int cmd_extend_down(TAG_USERDATA* d) {
    move_cursor(d, +1, true);
    return 0;
}

int cmd_play_cursor_row(TAG_USERDATA* d) {
    if (editor(d)) d->player.play(d->list_cursor, 0);
    return 0;
}

int cmd_page_up(TAG_USERDATA* d) {
    scroll_to(d, d->scroll_top - d->scroll_page);
    return 0;
}

int cmd_page_down(TAG_USERDATA* d) {
    scroll_to(d, d->scroll_top + d->scroll_page);
    return 0;
}

int cmd_scroll_top(TAG_USERDATA* d) {
    scroll_to(d, 0);
    return 0;
}

int cmd_scroll_bottom(TAG_USERDATA* d) {
    scroll_to(d, d->player.playlist.count() - 1);
    return 0;
}

int cmd_select_all(TAG_USERDATA* d) {
    if (editor(d)) d->player.select_all_as(1);
    return 0;
}

int cmd_select_none(TAG_USERDATA* d) {
    if (editor(d)) d->player.select_all_as(0);
    return 0;
}

int cmd_invert_selection(TAG_USERDATA* d) {
    if (editor(d)) d->player.invert_selection();
    return 0;
}

// The empty list is saved, so that the old one does not come back at the next start.
int cmd_clear_playlist(TAG_USERDATA* d) {
    d->player.select_all_as(1);
    d->player.remove_selected();
    d->list_dirty = 1;
    save_playlist(*d);
    return 0;
}

int cmd_remove_selected(TAG_USERDATA* d) {
    if (!editor(d)) return 0;
    d->player.remove_selected();
    ClampScroll(*d);
    d->list_dirty = 1;
    save_playlist(*d);
    return 0;
}

int cmd_crop(TAG_USERDATA* d) {
    if (!editor(d)) return 0;
    d->player.invert_selection();
    d->player.remove_selected();
    d->player.select_all_as(1);
    ClampScroll(*d);
    d->list_dirty = 1;
    save_playlist(*d);
    return 0;
}

int cmd_sort_by_title(TAG_USERDATA* d) {
    return ordering<&tagPLAYER::sort_by_title>(d);
}
int cmd_sort_by_file_name(TAG_USERDATA* d) {
    return ordering<&tagPLAYER::sort_by_file_name>(d);
}
int cmd_sort_by_path(TAG_USERDATA* d) {
    return ordering<&tagPLAYER::sort_by_path>(d);
}
int cmd_reverse_list(TAG_USERDATA* d) {
    return ordering<&tagPLAYER::reverse_list>(d);
}
int cmd_randomize_list(TAG_USERDATA* d) {
    return ordering<&tagPLAYER::randomize_list>(d);
}

}  // namespace dz
