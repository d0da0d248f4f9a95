#pragma once
// Pop-up menus. UI thread only.

#include "platform/Geometry.h"
#include "platform/Menu.h"

namespace dz {

class PopupMenus {
public:
    virtual ~PopupMenus() = default;
    // Shows `menu` at a screen point and waits until it closes. Returns the chosen item's
    // command id, or 0 when nothing was chosen. The caller posts the id as a command.
    virtual int track(const Menu& menu, Point screen) = 0;
};

}  // namespace dz
