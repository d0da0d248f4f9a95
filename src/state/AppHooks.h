#pragma once
// Entry points of the modules the application shell calls at fixed points of
// start-up, of every frame and of shutdown. An empty hook does nothing, so the
// order of the sequence is fixed here while the modules land one by one.
// DefaultAppHooks() (ModuleHooks.cpp) plugs the modules in.

#include <functional>
#include <string>
#include <vector>

#include "state/CommandHooks.h"

namespace dz {

class TAG_USERDATA;
class EdxWorld;

struct AppHooks {
    using StateHook = std::function<void(TAG_USERDATA&)>;

    // --- start-up, UI thread, inside EDX_CREATE (steps 5-12) ---
    StateHook read_setting_section;   // 5: toggles, volume, skin name (also loop and volume)
    StateHook read_position_section;  // 6: window position, playlist page size
    StateHook open_stored_playlist;   // 7: OpenPlaylist with no path
    StateHook read_property_section;  // 8: output format, then pxtone_Reset
    StateHook build_menus;            // 9: the 20 menus with the skin list
    StateHook select_skin;            // 10: the skin named by skin_name
    StateHook create_bodies;          // 11: the ten top-level bodies
    StateHook run_layout;             // 12: window layout

    // --- worker thread ---
    // Runs a command of the command table at once, as a key would (bodies' buttons).
    std::function<void(TAG_USERDATA&, int id)> run_command;
    // A command id of kCmdFirstSkin or more: the skins menu item
    // skin_menu_base + id - kCmdFirstSkin.
    std::function<void(TAG_USERDATA&, int id)> skin_menu_command;
    // Files dropped on the window, in order: pause, add each, resume.
    std::function<void(TAG_USERDATA&, const std::vector<std::string>& paths)> drop_files;
    // Paths from a command line: folders scanned, added as a drop, the first new entry played.
    std::function<void(TAG_USERDATA&, const std::vector<std::string>& paths)> open_paths;
    // The first thing the worker does, before any message: take up the stored resume point.
    StateHook restore_resume_point;
    // The last thing the worker does (the close sequence): store the resume point.
    StateHook save_resume_point;
    // Cuts the window shape into the composed frame (only called when a shape applies).
    std::function<void(TAG_USERDATA&, EdxWorld&)> apply_shape;

    // Dialogs, writers and menus the command handlers call.
    CommandHooks commands;

    // --- shutdown, UI thread: called at the end of the shutdown sequence ---
    StateHook after_shutdown;
};

}  // namespace dz
