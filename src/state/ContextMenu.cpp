#include "state/ContextMenu.h"

#include "platform/PopupMenus.h"
#include "state/TagUserData.h"

namespace dz {

void PostContextMenu(TAG_USERDATA& data, std::shared_ptr<const Menu> menu, Point screen) {
    PopupMenus* menus = data.services.popup_menus;
    if (!data.main_window || !menus || !menu) return;
    std::function<void(int)> post = data.post_command;
    data.main_window->post_to_ui_thread([menus, menu, screen, post] {
        int id = menus->track(*menu, screen);
        if (id != 0 && post) post(id);
    });
}

}  // namespace dz
