#include "ui/menus/MenuBuilder.h"

#include <map>

#include "state/TagUserData.h"
#include "ui/menus/CheckMarks.h"
#include "ui/menus/MenuTable.h"

namespace dz {

namespace {

std::shared_ptr<Menu> Copy(const Menu& menu, std::map<const Menu*, std::shared_ptr<Menu>>& done) {
    auto it = done.find(&menu);
    if (it != done.end()) return it->second;  // a shared sub-menu stays shared
    auto copy = std::make_shared<Menu>();
    done[&menu] = copy;
    copy->items = menu.items;
    for (MenuItem& item : copy->items) {
        if (item.submenu) item.submenu = Copy(*item.submenu, done);
    }
    return copy;
}

}  // namespace

void BuildMenus(TAG_USERDATA& data, const std::vector<std::string>& skin_names) {
    for (std::shared_ptr<Menu>& menu : data.menus) menu = std::make_shared<Menu>();
    const bool japanese = data.japanese == 1;
    for (const MenuRow& row : menu_table()) {
        MenuItem item;
        switch (row.kind) {
            case MenuRowKind::Separator:
                item.separator = true;
                break;
            case MenuRowKind::Submenu:
                item.submenu = data.menus[static_cast<std::size_t>(row.submenu)];
                item.text = japanese ? row.japanese : row.english;
                break;
            case MenuRowKind::Command:
                item.id = row.id;
                item.text = japanese ? row.japanese : row.english;
                break;
        }
        data.menus[static_cast<std::size_t>(row.menu)]->items.push_back(std::move(item));
    }
    AppendSkinItems(data, skin_names);
    RefreshCheckMarks(data);
}

void AppendSkinItems(TAG_USERDATA& data, const std::vector<std::string>& skin_names) {
    const std::shared_ptr<Menu>& skins = data.menus[kMenuSkins];
    if (!skins) return;
    data.skin_menu_base = static_cast<int>(skins->items.size());
    int id = kCmdFirstSkin;
    for (const std::string& name : skin_names) {
        MenuItem item;
        item.id = id++;
        item.text = name;
        skins->items.push_back(std::move(item));
    }
}

std::shared_ptr<const Menu> SnapshotMenu(const Menu& menu) {
    std::map<const Menu*, std::shared_ptr<Menu>> done;
    return Copy(menu, done);
}

}  // namespace dz
