#pragma once
// The choice of a skin: the current skin's name in the application state, its load from
// the skins folder into the state's skin resources, and the items of the Skins menu.

#include <string_view>

#include "skin/SkinLoader.h"

namespace dz {

class TAG_USERDATA;

// The application state's skin resources, its window and its image decoder (our own BMP
// and cursor decoder when it has none).
SkinRegistries RegistriesOf(TAG_USERDATA& data);

// Makes `name` (cut to 259 bytes) the current skin name, then loads the skin of that name
// from SkinsFolder(). When there is none, nothing is loaded and the resources keep what
// they hold.
void SelectSkin(std::string_view name, TAG_USERDATA& data);

// A command id of kCmdFirstSkin or more: the skin of the item at skin_menu_base + id -
// kCmdFirstSkin of the Skins menu (menus[2]). A skin other than the current one is
// selected, the check marks are brought up to date and the settings saved; choosing the
// current skin does nothing.
void SkinMenuCommand(TAG_USERDATA& data, int id);

}  // namespace dz
