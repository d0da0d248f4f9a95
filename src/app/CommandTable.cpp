#include "app/CommandTable.h"

#include "app/commands/Commands.h"
#include "platform/VirtualKeys.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

// Exit: the close request, as if the user closed the window; the worker finishes this
// command before it leaves its loop.
int command_exit(TAG_USERDATA* data) {
    if (data->main_window) data->main_window->request_close();
    return 0;
}

using namespace vk;

// Rows in table order. Columns: accelerator enabled, virtual key, ctrl, alt, shift, id, handler.
// Rows 35-37 share Ctrl+T: the first accelerator wins, so the key always sends 47 and
// 48/49 come only from the menu. Id 26 has two keys (rows 21 and 24). Row 53 takes id 11,
// which no menu item uses.
// clang-format off
const CommandRow kCommandTable[] = {
    {1, 'Z',     0, 0, 0,  1, cmd_previous},            //  0 Previous
    {1, 'X',     0, 0, 0,  2, cmd_play},                //  1 Play/restart
    {1, 'C',     0, 0, 0,  3, cmd_pause},               //  2 Pause/unpause
    {1, 'V',     0, 0, 0,  4, cmd_stop},                //  3 Stop
    {1, 'B',     0, 0, 0,  5, cmd_next},                //  4 Next
    {1, 'Z',     1, 0, 0,  6, cmd_restart},             //  5 Restart tune
    {1, 'B',     1, 0, 0,  7, cmd_jump_to_end},         //  6 Jump to end of tune
    {1, kLeft,   0, 0, 0,  8, cmd_back5},               //  7 Back 5 seconds
    {1, kRight,  0, 0, 0,  9, cmd_forward5},            //  8 Forward 5 seconds
    {1, kUp,     0, 0, 0, 16, cmd_cursor_up},           //  9 Cursor up
    {1, kDown,   0, 0, 0, 17, cmd_cursor_down},         // 10 Cursor down
    {1, kUp,     0, 0, 1, 18, cmd_extend_up},           // 11 Extend selection up
    {1, kDown,   0, 0, 1, 19, cmd_extend_down},         // 12 Extend selection down
    {1, kReturn, 0, 0, 0, 20, cmd_play_cursor_row},     // 13 Play cursor row
    {1, kPrior,  0, 0, 0, 14, cmd_page_up},             // 14 Page up
    {1, kNext,   0, 0, 0, 15, cmd_page_down},           // 15 Page down
    {1, kHome,   0, 0, 0, 21, cmd_scroll_top},          // 16 Scroll to top
    {1, kEnd,    0, 0, 0, 22, cmd_scroll_bottom},       // 17 Scroll to bottom
    {1, 'A',     1, 0, 0, 25, cmd_select_all},          // 18 Select all
    {0, 0,       0, 0, 0, 24, cmd_select_none},         // 19 Select none
    {1, 'I',     1, 0, 0, 23, cmd_invert_selection},    // 20 Invert selection
    {1, kDelete, 1, 0, 1, 26, cmd_clear_playlist},      // 21 Clear playlist
    {1, 'O',     1, 0, 0, 28, cmd_open_playlist},       // 22 Open playlist
    {1, 'S',     1, 0, 0, 27, cmd_save_playlist},       // 23 Save playlist
    {1, 'N',     1, 0, 0, 26, cmd_clear_playlist},      // 24 Clear playlist
    {1, kDelete, 0, 0, 0, 30, cmd_remove_selected},     // 25 Remove selected
    {1, kDelete, 1, 0, 0, 29, cmd_crop},                // 26 Crop
    {1, '1',     1, 0, 0, 31, cmd_sort_by_title},       // 27 Sort by title
    {1, '2',     1, 0, 0, 32, cmd_sort_by_file_name},   // 28 Sort by file name
    {1, '3',     1, 0, 0, 33, cmd_sort_by_path},        // 29 Sort by path and file name
    {1, 'R',     1, 0, 0, 34, cmd_reverse_list},        // 30 Reverse list
    {1, 'R',     1, 0, 1, 35, cmd_randomize_list},      // 31 Randomize list
    {1, 'L',     0, 0, 0, 36, cmd_add_files},           // 32 Add files
    {1, 'L',     1, 0, 0, 37, cmd_add_url},             // 33 Add URL
    {1, 'L',     0, 0, 1, 38, cmd_add_folder},          // 34 Add folder
    {1, 'T',     1, 0, 0, 47, cmd_toggle_time},         // 35 Toggle time display
    {1, 'T',     1, 0, 0, 48, cmd_show_elapsed},        // 36 Show elapsed time
    {1, 'T',     1, 0, 0, 49, cmd_show_remaining},      // 37 Show remaining time
    {1, 'A',     0, 0, 0, 41, cmd_always_on_top},       // 38 Always on top
    {1, 'D',     0, 0, 0, 42, cmd_double_size},         // 39 Double size
    {1, 'E',     0, 0, 0, 43, cmd_easy_move},           // 40 Easy move
    {1, 'R',     0, 0, 0, 45, cmd_repeat},              // 41 Repeat
    {1, 'S',     0, 0, 0, 44, cmd_shuffle},             // 42 Shuffle
    {1, 'E',     0, 1, 0, 46, cmd_playlist_editor},     // 43 Playlist editor
    {1, kUp,     0, 1, 0, 50, cmd_move_up},             // 44 Move window up
    {1, kDown,   0, 1, 0, 51, cmd_move_down},           // 45 Move window down
    {1, kLeft,   0, 1, 0, 52, cmd_move_left},           // 46 Move window left
    {1, kRight,  0, 1, 0, 53, cmd_move_right},          // 47 Move window right
    {0, 0,       0, 0, 0, 54, cmd_reload_skins},        // 48 Reload skins folder
    {0, 0,       0, 0, 0, kCommandExit, command_exit},  // 49 Exit
    {1, 'P',     1, 0, 0, 55, cmd_preferences},         // 50 Preferences
    {1, 'I',     0, 0, 0, 56, cmd_file_info},           // 51 File information
    {0, 0,       0, 0, 0, 57, cmd_about},               // 52 About
    {1, 'J',     0, 0, 0, 11, cmd_jump_to_tune},        // 53 Jump to tune
};
// clang-format on

}  // namespace

std::span<const CommandRow> command_table() {
    return kCommandTable;
}

void dispatch_command(int id, TAG_USERDATA* data, std::span<const CommandRow> table) {
    if (id >= kFirstSkinCommand) {
        if (data->hooks.skin_menu_command) data->hooks.skin_menu_command(*data, id);
        return;
    }
    for (const CommandRow& row : table) {
        if (row.id == id) {
            if (row.handler) row.handler(data);
            return;
        }
    }
}

void dispatch_command(int id, TAG_USERDATA* data) {
    dispatch_command(id, data, command_table());
}

std::vector<EdxAccelerator> make_accelerators(std::span<const CommandRow> table) {
    std::vector<EdxAccelerator> out;
    for (const CommandRow& row : table) {
        if (row.accel_enabled != 1 || row.id == 0) continue;
        EdxAccelerator a;
        a.flags = EdxAccelerator::kVirtKey;
        if (row.ctrl) a.flags |= EdxAccelerator::kControl;
        if (row.alt) a.flags |= EdxAccelerator::kAlt;
        if (row.shift) a.flags |= EdxAccelerator::kShift;
        a.key = static_cast<std::uint16_t>(row.vk);
        a.command = static_cast<std::uint16_t>(row.id);
        out.push_back(a);
    }
    return out;
}

void build_accelerators(TAG_USERDATA* data) {
    if (data->world) data->world->accelerators = make_accelerators(command_table());
}

int translate_accelerator(const std::vector<EdxAccelerator>& table, int vk, bool ctrl, bool alt,
                          bool shift) {
    for (const EdxAccelerator& a : table) {
        if (a.key != vk) continue;
        if (((a.flags & EdxAccelerator::kControl) != 0) != ctrl) continue;
        if (((a.flags & EdxAccelerator::kAlt) != 0) != alt) continue;
        if (((a.flags & EdxAccelerator::kShift) != 0) != shift) continue;
        return a.command;
    }
    return 0;
}

}  // namespace dz
