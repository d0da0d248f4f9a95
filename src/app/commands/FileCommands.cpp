// Commands that add tunes or read and write playlist files.
#include "app/commands/CommandSupport.h"
#include "app/commands/Commands.h"
#include "app/commands/DropFiles.h"

namespace dz {

int cmd_open_playlist(TAG_USERDATA* d) {
    call_hook(d->hooks.commands.open_playlist_dialog, *d);
    return 0;
}

int cmd_save_playlist(TAG_USERDATA* d) {
    call_hook(d->hooks.commands.save_playlist_dialog, *d);
    return 0;
}

int cmd_add_files(TAG_USERDATA* d) {
    call_hook(d->hooks.commands.add_files_dialog, *d);
    return 0;
}

int cmd_add_url(TAG_USERDATA* d) {
    if (!d->hooks.commands.ask_url) return 0;
    std::optional<std::string> url = d->hooks.commands.ask_url(*d);
    if (url) add_path(*d, *url);
    return 0;
}

// The folder scan: direct files of the chosen folder whose extension names a
// tune, with the list saved after each addition; a playing tune is paused
// around it.
int cmd_add_folder(TAG_USERDATA* d) {
    if (!d->hooks.commands.choose_folder) return 0;
    std::optional<std::string> folder = d->hooks.commands.choose_folder(*d);
    if (!folder) return 0;
    bool paused = pause_for_list_change(*d);
    d->player.add_folder(*folder, [d](int) {
        d->list_dirty = 1;
        save_list(*d);
    });
    resume_after_list_change(*d, paused);
    return 0;
}

}  // namespace dz
