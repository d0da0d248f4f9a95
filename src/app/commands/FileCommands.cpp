// Commands that add tunes or read and write playlist files. The dialogs only
// ask; what is done with the answer is here.
#include "app/commands/AddPaths.h"
#include "app/commands/Commands.h"
#include "base/PathUtil.h"
#include "state/HookCalls.h"

namespace dz {

// Open Playlist: the chosen file replaces the playlist, which is then mirrored into
// the settings file.
int cmd_open_playlist(TAG_USERDATA* d) {
    CommandHooks& c = d->hooks.commands;
    if (!c.choose_playlist_to_open || !c.open_playlist_file) return 0;
    std::optional<std::string> path = c.choose_playlist_to_open(*d);
    if (!path || path->empty()) return 0;
    c.open_playlist_file(*d, *path);
    d->list_dirty = 1;
    save_playlist(*d);
    return 0;
}

// Save Playlist: the playlist is written to the chosen file only.
int cmd_save_playlist(TAG_USERDATA* d) {
    CommandHooks& c = d->hooks.commands;
    if (!c.choose_playlist_to_save || !c.save_playlist_file) return 0;
    std::optional<std::string> path = c.choose_playlist_to_save(*d);
    if (!path || path->empty()) return 0;
    c.save_playlist_file(*d, *path);
    return 0;
}

// Add Files and Add Folder: the chosen tunes are added as a drop is (a playing tune
// paused around the additions, the list saved once).
int cmd_add_files(TAG_USERDATA* d) {
    if (!d->hooks.commands.choose_files) return 0;
    std::vector<std::string> files = d->hooks.commands.choose_files(*d);
    if (!files.empty()) drop_files(*d, files);
    return 0;
}

int cmd_add_folder(TAG_USERDATA* d) {
    if (!d->hooks.commands.choose_folder) return 0;
    std::optional<std::string> folder = d->hooks.commands.choose_folder(*d);
    if (!folder) return 0;
    std::vector<std::string> files = list_tune_files(*folder);
    if (!files.empty()) drop_files(*d, files);
    return 0;
}

int cmd_add_url(TAG_USERDATA* d) {
    if (!d->hooks.commands.ask_url) return 0;
    std::optional<std::string> url = d->hooks.commands.ask_url(*d);
    if (url) add_paths(*d, {*url});
    return 0;
}

}  // namespace dz
