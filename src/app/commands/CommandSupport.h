#pragma once
// Small helpers shared by the command handlers.

#include "state/TagUserData.h"

namespace dz {

// Runs a hook of the command hooks when it is set.
template <class Hook, class... Args>
void call_hook(const Hook& hook, Args&&... args) {
    if (hook) hook(std::forward<Args>(args)...);
}

// The three steps after a change of a displayed setting.
inline void relayout(TAG_USERDATA& d) {
    call_hook(d.hooks.run_layout, d);
}
inline void menu_checks(TAG_USERDATA& d) {
    call_hook(d.hooks.commands.update_menu_checks, d);
}
inline void save_settings(TAG_USERDATA& d) {
    call_hook(d.hooks.commands.save_settings, d);
}
inline void save_list(TAG_USERDATA& d) {
    call_hook(d.hooks.commands.save_playlist, d);
}

}  // namespace dz
