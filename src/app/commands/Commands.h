#pragma once
// The handlers of the command table (worker thread). Each takes the
// application state and returns 0.

namespace dz {

class TAG_USERDATA;

// Playback (PlayerCommands.cpp)
int cmd_previous(TAG_USERDATA* d);
int cmd_play(TAG_USERDATA* d);
int cmd_pause(TAG_USERDATA* d);
int cmd_stop(TAG_USERDATA* d);
int cmd_next(TAG_USERDATA* d);
int cmd_restart(TAG_USERDATA* d);
int cmd_jump_to_end(TAG_USERDATA* d);
int cmd_back5(TAG_USERDATA* d);
int cmd_forward5(TAG_USERDATA* d);
int cmd_repeat(TAG_USERDATA* d);
int cmd_shuffle(TAG_USERDATA* d);
int cmd_preferences(TAG_USERDATA* d);
int cmd_file_info(TAG_USERDATA* d);
int cmd_about(TAG_USERDATA* d);

// Playlist editor (ListCommands.cpp)
int cmd_cursor_up(TAG_USERDATA* d);
int cmd_cursor_down(TAG_USERDATA* d);
int cmd_extend_up(TAG_USERDATA* d);
int cmd_extend_down(TAG_USERDATA* d);
int cmd_play_cursor_row(TAG_USERDATA* d);
int cmd_page_up(TAG_USERDATA* d);
int cmd_page_down(TAG_USERDATA* d);
int cmd_scroll_top(TAG_USERDATA* d);
int cmd_scroll_bottom(TAG_USERDATA* d);
int cmd_select_all(TAG_USERDATA* d);
int cmd_select_none(TAG_USERDATA* d);
int cmd_invert_selection(TAG_USERDATA* d);
int cmd_clear_playlist(TAG_USERDATA* d);
int cmd_remove_selected(TAG_USERDATA* d);
int cmd_crop(TAG_USERDATA* d);
int cmd_sort_by_title(TAG_USERDATA* d);
int cmd_sort_by_file_name(TAG_USERDATA* d);
int cmd_sort_by_path(TAG_USERDATA* d);
int cmd_reverse_list(TAG_USERDATA* d);
int cmd_randomize_list(TAG_USERDATA* d);

// Jump box (JumpCommand.cpp)
int cmd_jump_to_tune(TAG_USERDATA* d);

// Files (FileCommands.cpp)
int cmd_open_playlist(TAG_USERDATA* d);
int cmd_save_playlist(TAG_USERDATA* d);
int cmd_add_files(TAG_USERDATA* d);
int cmd_add_url(TAG_USERDATA* d);
int cmd_add_folder(TAG_USERDATA* d);

// Display and window (WindowCommands.cpp)
int cmd_toggle_time(TAG_USERDATA* d);
int cmd_show_elapsed(TAG_USERDATA* d);
int cmd_show_remaining(TAG_USERDATA* d);
int cmd_always_on_top(TAG_USERDATA* d);
int cmd_double_size(TAG_USERDATA* d);
int cmd_easy_move(TAG_USERDATA* d);
int cmd_playlist_editor(TAG_USERDATA* d);
int cmd_move_up(TAG_USERDATA* d);
int cmd_move_down(TAG_USERDATA* d);
int cmd_move_left(TAG_USERDATA* d);
int cmd_move_right(TAG_USERDATA* d);
int cmd_reload_skins(TAG_USERDATA* d);

}  // namespace dz
