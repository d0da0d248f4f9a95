#pragma once
// Entry points of the modules that commands call into: dialogs (run through
// the UI thread by whoever implements them), the settings and playlist file
// writers, the menus' check marks and rebuild. An empty hook does nothing.

#include <functional>
#include <optional>
#include <string>

namespace dz {

class TAG_USERDATA;

struct CommandHooks {
    using StateHook = std::function<void(TAG_USERDATA&)>;

    // Dialogs (worker thread; each blocks until closed).
    StateHook add_files_dialog;  // open files; adds the chosen tunes, paused around it
    std::function<std::optional<std::string>(TAG_USERDATA&)> ask_url;        // Add URL
    std::function<std::optional<std::string>(TAG_USERDATA&)> choose_folder;  // Add folder
    StateHook open_playlist_dialog;  // choose a .ptlist and read it
    StateHook save_playlist_dialog;  // choose a .ptlist and write it
    StateHook preferences_dialog;    // output format; on OK applies it (pxtone_Reset)
    StateHook file_info_dialog;
    StateHook about_dialog;

    // Adds one dropped or typed path: tunes by extension, playlist files opened.
    std::function<void(TAG_USERDATA&, const std::string& path)> add_path;

    // Writers and menus.
    StateHook save_settings;       // the Setting section
    StateHook save_position;       // the Position section
    StateHook save_playlist;       // the playlist into the settings file
    StateHook update_menu_checks;  // check marks of the menus
    StateHook rebuild_menus;       // all menus, with the skin list
};

}  // namespace dz
