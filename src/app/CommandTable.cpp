#include "app/CommandTable.h"

#include "app/commands/Commands.h"
#include "platform/VirtualKeys.h"
#include "state/HookCalls.h"
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
// Rows 35-37 share Ctrl+T: the first accelerator wins, so the key always sends
// kCmdToggleTime and the two others come only from the menu. kCmdClearPlaylist has two
// keys (rows 21 and 24). Row 53 takes id 11, which no menu item uses.
// clang-format off
const CommandRow kCommandTable[] = {
    {1, 'Z',     0, 0, 0, kCmdPrevious,        cmd_previous},          // 0
    {1, 'X',     0, 0, 0, kCmdPlay,            cmd_play},              // 1
    {1, 'C',     0, 0, 0, kCmdPause,           cmd_pause},             // 2
    {1, 'V',     0, 0, 0, kCmdStop,            cmd_stop},              // 3
    {1, 'B',     0, 0, 0, kCmdNext,            cmd_next},              // 4
    {1, 'Z',     1, 0, 0, kCmdRestart,         cmd_restart},           // 5
    {1, 'B',     1, 0, 0, kCmdJumpToEnd,       cmd_jump_to_end},       // 6
    {1, kLeft,   0, 0, 0, kCmdBack5,           cmd_back5},             // 7
    {1, kRight,  0, 0, 0, kCmdForward5,        cmd_forward5},          // 8
    {1, kUp,     0, 0, 0, kCmdCursorUp,        cmd_cursor_up},         // 9
    {1, kDown,   0, 0, 0, kCmdCursorDown,      cmd_cursor_down},       // 10
    {1, kUp,     0, 0, 1, kCmdExtendUp,        cmd_extend_up},         // 11
    {1, kDown,   0, 0, 1, kCmdExtendDown,      cmd_extend_down},       // 12
    {1, kReturn, 0, 0, 0, kCmdPlayCursorRow,   cmd_play_cursor_row},   // 13
    {1, kPrior,  0, 0, 0, kCmdPageUp,          cmd_page_up},           // 14
    {1, kNext,   0, 0, 0, kCmdPageDown,        cmd_page_down},         // 15
    {1, kHome,   0, 0, 0, kCmdScrollTop,       cmd_scroll_top},        // 16
    {1, kEnd,    0, 0, 0, kCmdScrollBottom,    cmd_scroll_bottom},     // 17
    {1, 'A',     1, 0, 0, kCmdSelectAll,       cmd_select_all},        // 18
    {0, 0,       0, 0, 0, kCmdSelectNone,      cmd_select_none},       // 19
    {1, 'I',     1, 0, 0, kCmdInvertSelection, cmd_invert_selection},  // 20
    {1, kDelete, 1, 0, 1, kCmdClearPlaylist,   cmd_clear_playlist},    // 21
    {1, 'O',     1, 0, 0, kCmdOpenPlaylist,    cmd_open_playlist},     // 22
    {1, 'S',     1, 0, 0, kCmdSavePlaylist,    cmd_save_playlist},     // 23
    {1, 'N',     1, 0, 0, kCmdClearPlaylist,   cmd_clear_playlist},    // 24
    {1, kDelete, 0, 0, 0, kCmdRemoveSelected,  cmd_remove_selected},   // 25
    {1, kDelete, 1, 0, 0, kCmdCrop,            cmd_crop},              // 26
    {1, '1',     1, 0, 0, kCmdSortByTitle,     cmd_sort_by_title},     // 27
    {1, '2',     1, 0, 0, kCmdSortByFileName,  cmd_sort_by_file_name}, // 28
    {1, '3',     1, 0, 0, kCmdSortByPath,      cmd_sort_by_path},      // 29
    {1, 'R',     1, 0, 0, kCmdReverseList,     cmd_reverse_list},      // 30
    {1, 'R',     1, 0, 1, kCmdRandomizeList,   cmd_randomize_list},    // 31
    {1, 'L',     0, 0, 0, kCmdAddFiles,        cmd_add_files},         // 32
    {1, 'L',     1, 0, 0, kCmdAddUrl,          cmd_add_url},           // 33
    {1, 'L',     0, 0, 1, kCmdAddFolder,       cmd_add_folder},        // 34
    {1, 'T',     1, 0, 0, kCmdToggleTime,      cmd_toggle_time},       // 35
    {1, 'T',     1, 0, 0, kCmdShowElapsed,     cmd_show_elapsed},      // 36
    {1, 'T',     1, 0, 0, kCmdShowRemaining,   cmd_show_remaining},    // 37
    {1, 'A',     0, 0, 0, kCmdAlwaysOnTop,     cmd_always_on_top},     // 38
    {1, 'D',     0, 0, 0, kCmdDoubleSize,      cmd_double_size},       // 39
    {1, 'E',     0, 0, 0, kCmdEasyMove,        cmd_easy_move},         // 40
    {1, 'R',     0, 0, 0, kCmdRepeat,          cmd_repeat},            // 41
    {1, 'S',     0, 0, 0, kCmdShuffle,         cmd_shuffle},           // 42
    {1, 'E',     0, 1, 0, kCmdPlaylistEditor,  cmd_playlist_editor},   // 43
    {1, kUp,     0, 1, 0, kCmdMoveUp,          cmd_move_up},           // 44
    {1, kDown,   0, 1, 0, kCmdMoveDown,        cmd_move_down},         // 45
    {1, kLeft,   0, 1, 0, kCmdMoveLeft,        cmd_move_left},         // 46
    {1, kRight,  0, 1, 0, kCmdMoveRight,       cmd_move_right},        // 47
    {0, 0,       0, 0, 0, kCmdReloadSkins,     cmd_reload_skins},      // 48
    {0, 0,       0, 0, 0, kCmdExit,            command_exit},          // 49
    {1, 'P',     1, 0, 0, kCmdPreferences,     cmd_preferences},       // 50
    {1, 'I',     0, 0, 0, kCmdFileInfo,        cmd_file_info},         // 51
    {0, 0,       0, 0, 0, kCmdAbout,           cmd_about},             // 52
    {1, 'J',     0, 0, 0, kCmdJumpToTune,      cmd_jump_to_tune},      // 53
};
// clang-format on

}  // namespace

std::span<const CommandRow> command_table() {
    return kCommandTable;
}

void dispatch_command(int id, TAG_USERDATA* data, std::span<const CommandRow> table) {
    if (id >= kCmdFirstSkin) {
        call_hook(data->hooks.skin_menu_command, *data, id);
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
