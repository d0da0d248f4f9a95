#pragma once
// A pop-up menu as data: the application builds it, the platform shows it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace dz {

struct Menu;

struct MenuItem {
    int id = 0;        // command id sent when chosen; 0 for separators and submenus
    std::string text;  // UTF-8; '&' marks the mnemonic, text after a tab is the shortcut column
    bool separator = false;
    bool checked = false;
    bool grayed = false;
    std::shared_ptr<Menu> submenu;
};

struct Menu {
    std::vector<MenuItem> items;
};

}  // namespace dz
