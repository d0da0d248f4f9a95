#include "app/ModuleHooks.h"

#include "app/commands/DropFiles.h"

namespace dz {

AppHooks DefaultAppHooks() {
    AppHooks hooks;
    hooks.drop_files = drop_files;
    // Settings and playlist file (io), menus and skins (ui, skin), bodies and layout (ui,
    // edx), the player's tick, the drop sequence: each is set here when its module lands.
    return hooks;
}

}  // namespace dz
