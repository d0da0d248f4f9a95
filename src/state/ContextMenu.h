#pragma once
// Pop-up menus opened by worker code (right click on a widget, editor buttons).

#include <memory>

#include "platform/Geometry.h"
#include "platform/Menu.h"

namespace dz {

class TAG_USERDATA;

// Worker thread: shows `menu` at a screen point on the UI thread without waiting for
// it; the chosen item's id is then posted to the worker as a command.
void PostContextMenu(TAG_USERDATA& data, std::shared_ptr<const Menu> menu, Point screen);

}  // namespace dz
