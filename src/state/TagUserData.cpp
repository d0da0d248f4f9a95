#include "state/TagUserData.h"

namespace dz {

TAG_USERDATA::TAG_USERDATA(WindowHost* window, AudioLibrary& library, AppHooks h)
    : main_window(window), player(library), hooks(std::move(h)) {
    player.window = window;
}

TAG_USERDATA::~TAG_USERDATA() {
    if (!shut_down) shutdown();
}

void TAG_USERDATA::shutdown() {
    if (shut_down) return;
    for (auto& menu : menus) menu.reset();
    if (!player.released) player.release();
    skin.skin_images.clear();
    skin.skin_colors.clear();
    skin.region_normal.clear();
    skin.region_shade.clear();
    shut_down = 1;
    if (hooks.after_shutdown) hooks.after_shutdown(*this);
}

}  // namespace dz
