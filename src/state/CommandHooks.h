#pragma once
// Entry points of the modules that commands call into: dialogs (run through
// the UI thread by whoever implements them), the settings and playlist file
// writers, the menus' check marks and rebuild. An empty hook does nothing.
//
// Dialog hooks only ask: each gives the user's answer (nothing when cancelled)
// and the commands act on it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dz {

class TAG_USERDATA;

struct CommandHooks {
    using StateHook = std::function<void(TAG_USERDATA&)>;
    using AskPath = std::function<std::optional<std::string>(TAG_USERDATA&)>;

    // Dialogs (worker thread; each blocks until closed).
    std::function<std::vector<std::string>(TAG_USERDATA&)> choose_files;  // Add Files: tunes
    AskPath ask_url;                                                      // Add URL
    AskPath choose_folder;                                                // Add Folder
    AskPath choose_playlist_to_open;  // Open Playlist: a .ptlist
    AskPath choose_playlist_to_save;  // Save Playlist: a .ptlist
    StateHook preferences_dialog;     // output format; on OK applies it (pxtone_Reset)
    StateHook file_info_dialog;
    StateHook about_dialog;
    // Jump box: the playlist index of the entry chosen to play.
    std::function<std::optional<int>(TAG_USERDATA&)> choose_entry;

    // Adds dropped, chosen or typed paths in order (tunes by extension, playlist files
    // opened), then saves the list once if it changed. True when it changed.
    std::function<bool(TAG_USERDATA&, const std::vector<std::string>& paths)> add_paths;
    // Replaces the playlist with a playlist file's entries; writes the playlist to a file.
    std::function<bool(TAG_USERDATA&, const std::string& path)> open_playlist_file;
    std::function<bool(TAG_USERDATA&, const std::string& path)> save_playlist_file;
    // Opens the playlist URLs whose download has arrived (each replaces the playlist,
    // which is saved, and the rows are rebuilt); a list handed over on a command line
    // then plays from its first entry.
    StateHook open_downloaded_playlists;

    // Writers and menus.
    StateHook save_settings;       // the Setting section
    StateHook save_position;       // the Position section
    StateHook save_playlist;       // the playlist into the settings file
    StateHook update_menu_checks;  // check marks of the menus
    StateHook rebuild_menus;       // all menus, with the skin list
};

}  // namespace dz
