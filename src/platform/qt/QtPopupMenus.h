#pragma once
// Pop-up menus as QMenu, built from a Menu snapshot each time.

#include "platform/PopupMenus.h"

namespace dz {

class QtPopupMenus : public PopupMenus {
public:
    int track(const Menu& menu, Point screen) override;
};

}  // namespace dz
