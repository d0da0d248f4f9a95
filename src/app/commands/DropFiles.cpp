#include "app/commands/DropFiles.h"

#include "app/commands/CommandSupport.h"
#include "player/TuneInfo.h"

namespace dz {

void add_path(TAG_USERDATA& d, const std::string& path) {
    if (d.hooks.commands.add_path) {
        d.hooks.commands.add_path(d, path);
        return;
    }
    add_tune_file(d, path);
}

void add_tune_file(TAG_USERDATA& d, const std::string& path) {
    if (!has_tune_extension(path)) return;
    if (d.player.add_file(path) < 0) return;
    d.list_dirty = 1;
    save_list(d);
}

bool pause_for_list_change(TAG_USERDATA& d) {
    if (!d.player.is_playing) return false;
    d.player.command_pause();
    return true;
}

void resume_after_list_change(TAG_USERDATA& d, bool paused) {
    if (!paused) return;
    if (d.player.playlist.empty()) {
        call_hook(d.hooks.commands.add_files_dialog, d);
        if (d.player.playlist.empty()) return;
    }
    d.player.command_play();
}

void drop_files(TAG_USERDATA& d, const std::vector<std::string>& paths) {
    bool paused = pause_for_list_change(d);
    for (const auto& path : paths) add_path(d, path);
    resume_after_list_change(d, paused);
}

}  // namespace dz
