#pragma once
// Calls into the hook tables from commands and bodies (worker thread). A hook that is
// not set does nothing.

#include <utility>

#include "state/TagUserData.h"

namespace dz {

template <class Hook, class... Args>
void call_hook(const Hook& hook, Args&&... args) {
    if (hook) hook(std::forward<Args>(args)...);
}

// Runs a command of the command table at once, as its key would.
inline void run_command(TAG_USERDATA& d, int id) {
    call_hook(d.hooks.run_command, d, id);
}

// The steps after a change of a displayed setting: layout, check marks, settings file.
inline void relayout(TAG_USERDATA& d) {
    call_hook(d.hooks.run_layout, d);
}
inline void refresh_menu_checks(TAG_USERDATA& d) {
    call_hook(d.hooks.commands.update_menu_checks, d);
}
inline void save_settings(TAG_USERDATA& d) {
    call_hook(d.hooks.commands.save_settings, d);
}
inline void save_position(TAG_USERDATA& d) {
    call_hook(d.hooks.commands.save_position, d);
}
inline void save_playlist(TAG_USERDATA& d) {
    call_hook(d.hooks.commands.save_playlist, d);
}

}  // namespace dz
