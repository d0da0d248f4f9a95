#pragma once
// Building the twenty pop-up menus of TAG_USERDATA::menus.
//
// Threads: the UI thread at start-up (before the worker exists), then the worker
// (Reload Skins Folder). The menus are read by the worker only; the UI thread is
// shown snapshots (SnapshotMenu).

#include <memory>
#include <string>
#include <vector>

#include "platform/Menu.h"

namespace dz {

class TAG_USERDATA;

// Replaces the twenty menus with new ones from the menu table in the run's language
// (`japanese`), appends one item per skin name to the Skins menu, then sets the check
// marks (RefreshCheckMarks).
void BuildMenus(TAG_USERDATA& data, const std::vector<std::string>& skin_names);

// Records the Skins menu's item count in skin_menu_base, then appends one item per
// name with the ids kCmdFirstSkin, kCmdFirstSkin + 1, ... in order. Nothing without the Skins menu.
void AppendSkinItems(TAG_USERDATA& data, const std::vector<std::string>& skin_names);

// A deep copy of `menu` and its sub-menus, for the UI thread to show while the worker
// goes on changing the original.
std::shared_ptr<const Menu> SnapshotMenu(const Menu& menu);

}  // namespace dz
