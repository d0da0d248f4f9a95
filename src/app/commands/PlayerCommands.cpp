// Playback commands: the player's own commands plus what the application adds.
#include "app/commands/Commands.h"
#include "state/HookCalls.h"

namespace dz {

int cmd_previous(TAG_USERDATA* d) {
    d->player.command_previous();
    return 0;
}

// With an empty list the add-files dialog comes first; nothing more if it stays empty.
int cmd_play(TAG_USERDATA* d) {
    if (d->player.playlist.empty()) {
        cmd_add_files(d);
        if (d->player.playlist.empty()) return 0;
    }
    d->player.command_play();
    return 0;
}

int cmd_pause(TAG_USERDATA* d) {
    d->player.command_pause();
    return 0;
}

int cmd_stop(TAG_USERDATA* d) {
    d->player.command_stop();
    return 0;
}

int cmd_next(TAG_USERDATA* d) {
    d->player.command_next();
    return 0;
}

int cmd_restart(TAG_USERDATA* d) {
    d->player.command_restart();
    return 0;
}

int cmd_jump_to_end(TAG_USERDATA* d) {
    d->player.command_jump_to_end();
    return 0;
}

int cmd_back5(TAG_USERDATA* d) {
    d->player.command_back5();
    return 0;
}

int cmd_forward5(TAG_USERDATA* d) {
    d->player.command_forward5();
    return 0;
}

int cmd_repeat(TAG_USERDATA* d) {
    d->repeat = !d->repeat;
    d->player.set_repeat(d->repeat);
    refresh_menu_checks(*d);
    save_settings(*d);
    return 0;
}

int cmd_shuffle(TAG_USERDATA* d) {
    d->shuffle = !d->shuffle;
    d->player.set_shuffle(d->shuffle);
    refresh_menu_checks(*d);
    save_settings(*d);
    return 0;
}

// The output cannot change under a playing tune: stop it before the dialog.
int cmd_preferences(TAG_USERDATA* d) {
    if (d->player.is_playing) d->player.stop_tune();
    call_hook(d->hooks.commands.preferences_dialog, *d);
    return 0;
}

int cmd_file_info(TAG_USERDATA* d) {
    call_hook(d->hooks.commands.file_info_dialog, *d);
    return 0;
}

// The about box shows the list's totals: load what is not loaded, unless that
// would cut into a playing tune.
int cmd_about(TAG_USERDATA* d) {
    if (!d->player.library().pxtone_Tune_IsStreaming()) d->player.load_unloaded_entries();
    call_hook(d->hooks.commands.about_dialog, *d);
    return 0;
}

}  // namespace dz
