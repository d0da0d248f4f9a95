#include "app/commands/AddPaths.h"

#include <filesystem>
#include <system_error>

#include "app/commands/Commands.h"
#include "base/PathUtil.h"
#include "io/PlaylistFile.h"
#include "state/HookCalls.h"

namespace dz {

bool add_paths(TAG_USERDATA& d, const std::vector<std::string>& paths) {
    if (paths.empty()) return false;
    if (d.hooks.commands.add_paths) {
        if (!d.hooks.commands.add_paths(d, paths)) return false;
        d.list_dirty = 1;
        d.list_info_unsaved = 1;  // the tunes' titles and lengths are read in the background
        return true;
    }
    bool changed = false;
    for (const std::string& path : paths)
        if (has_tune_extension(path) && d.player.add_file(path) >= 0) changed = true;
    if (!changed) return false;
    d.list_dirty = 1;
    d.list_info_unsaved = 1;
    save_playlist(d);
    return true;
}

bool pause_for_list_change(TAG_USERDATA& d) {
    if (!d.player.is_playing) return false;
    d.player.command_pause();
    return true;
}

void resume_after_list_change(TAG_USERDATA& d, bool paused) {
    if (paused) cmd_play(&d);
}

namespace {

// The paths with each folder replaced by the tunes directly inside it, in name order.
std::vector<std::string> expand_folders(const std::vector<std::string>& paths) {
    std::vector<std::string> expanded;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (!path_is_url(path) && std::filesystem::is_directory(path, ec)) {
            std::vector<std::string> tunes = list_tune_files(path);
            expanded.insert(expanded.end(), tunes.begin(), tunes.end());
        } else {
            expanded.push_back(path);
        }
    }
    return expanded;
}

}  // namespace

void drop_files(TAG_USERDATA& d, const std::vector<std::string>& paths) {
    bool paused = pause_for_list_change(d);
    add_paths(d, expand_folders(paths));
    resume_after_list_change(d, paused);
}

void open_paths(TAG_USERDATA& d, const std::vector<std::string>& paths) {
    const std::vector<std::string> expanded = expand_folders(paths);
    bool opens_playlist = false;
    for (const std::string& path : expanded)
        if (classify_added_path(path) == AddedPathKind::Playlist) opens_playlist = true;
    int first_new = opens_playlist ? 0 : d.player.playlist.count();
    bool paused = pause_for_list_change(d);
    const bool changed = add_paths(d, expanded);
    // A playlist URL is opened when it has arrived, and plays from there.
    if (opens_playlist) d.player.play_requested_files();
    if (changed && first_new < d.player.playlist.count()) {
        d.player.play(first_new, 0);
        // A URL plays once downloaded; the tune that was playing plays on until then.
        if (d.player.has_pending_play()) resume_after_list_change(d, paused);
        return;
    }
    resume_after_list_change(d, paused);
}

}  // namespace dz
