// Display toggles, window moves and the skins folder.
#include "app/commands/Commands.h"
#include "state/HookCalls.h"

namespace dz {

namespace {

void display_changed(TAG_USERDATA* d) {
    relayout(*d);
    refresh_menu_checks(*d);
    save_settings(*d);
}

// Offsets the window by (dx, dy) and brings it back inside the work area (left
// edge before right, top before bottom). The position is saved even without a
// window.
void move_window_by(TAG_USERDATA* d, int dx, int dy) {
    if (WindowHost* host = d->main_window) {
        host->call_on_ui_thread([host, dx, dy]() -> std::intptr_t {
            Rect r = host->window_rect();
            r.left += dx;
            r.right += dx;
            r.top += dy;
            r.bottom += dy;
            if (std::optional<Rect> work = host->work_area()) {
                if (r.left < work->left) {
                    int s = work->left - r.left;
                    r.left += s;
                    r.right += s;
                } else if (r.right > work->right) {
                    int s = r.right - work->right;
                    r.left -= s;
                    r.right -= s;
                }
                if (r.top < work->top) {
                    int s = work->top - r.top;
                    r.top += s;
                    r.bottom += s;
                } else if (r.bottom > work->bottom) {
                    int s = r.bottom - work->bottom;
                    r.top -= s;
                    r.bottom -= s;
                }
            }
            host->move_window(r.left, r.top);
            return 0;
        });
    }
    save_position(*d);
}

}  // namespace

// Ctrl+T: only while a tune is playing.
int cmd_toggle_time(TAG_USERDATA* d) {
    if (!d->player.is_playing) return 0;
    d->time_reverse = !d->time_reverse;
    display_changed(d);
    return 0;
}

int cmd_show_elapsed(TAG_USERDATA* d) {
    d->time_reverse = 0;
    display_changed(d);
    return 0;
}

int cmd_show_remaining(TAG_USERDATA* d) {
    d->time_reverse = 1;
    display_changed(d);
    return 0;
}

int cmd_always_on_top(TAG_USERDATA* d) {
    if (d->topmost_refused) return 0;  // the window system decides: the wish stays
    d->always_on_top = !d->always_on_top;
    display_changed(d);
    return 0;
}

int cmd_double_size(TAG_USERDATA* d) {
    d->double_size = !d->double_size;
    display_changed(d);
    return 0;
}

int cmd_easy_move(TAG_USERDATA* d) {
    d->easy_move = !d->easy_move;
    refresh_menu_checks(*d);
    save_settings(*d);
    return 0;
}

int cmd_playlist_editor(TAG_USERDATA* d) {
    d->visible_pledit = !d->visible_pledit;
    display_changed(d);
    return 0;
}

int cmd_move_up(TAG_USERDATA* d) {
    move_window_by(d, 0, -25);
    return 0;
}

int cmd_move_down(TAG_USERDATA* d) {
    move_window_by(d, 0, 25);
    return 0;
}

int cmd_move_left(TAG_USERDATA* d) {
    move_window_by(d, -25, 0);
    return 0;
}

int cmd_move_right(TAG_USERDATA* d) {
    move_window_by(d, 25, 0);
    return 0;
}

int cmd_reload_skins(TAG_USERDATA* d) {
    call_hook(d->hooks.commands.rebuild_menus, *d);
    return 0;
}

}  // namespace dz
