#include "app/ModuleHooks.h"

namespace dz {

AppHooks DefaultAppHooks() {
    AppHooks hooks;
    // Settings and playlist file (io), menus and skins (ui, skin), bodies and layout (ui,
    // edx), the player's tick, the drop sequence: each is set here when its module lands.
    return hooks;
}

}  // namespace dz
