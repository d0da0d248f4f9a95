#include "skin/SkinSelection.h"

#include <algorithm>
#include <system_error>
#include <unordered_set>

#include "base/PathUtil.h"
#include "platform/Menu.h"
#include "skin/SkinLoader.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

// skin_name and the texts of skin items hold at most 259 bytes.
constexpr std::size_t kMaxSkinName = 259;

bool is_archive_name(std::string_view name) {
    const std::string_view ext = path_find_extension(name);
    return contains_nocase(ext, ".wsz") || contains_nocase(ext, ".zip");
}

bool name_before(const DirEntry& a, const DirEntry& b) {
    const std::string la = to_lower_ascii(a.name);
    const std::string lb = to_lower_ascii(b.name);
    return la != lb ? la < lb : a.name < b.name;
}

std::vector<DirEntry> sorted_entries(const std::filesystem::path& folder) {
    std::vector<DirEntry> entries = find_files(folder, "*");
    std::sort(entries.begin(), entries.end(), name_before);
    return entries;
}

void call(const std::function<void(TAG_USERDATA&)>& hook, TAG_USERDATA& data) {
    if (hook) hook(data);
}

}  // namespace

std::filesystem::path SkinsFolder() {
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path("skins") : cwd / "skins";
}

std::vector<std::string> ListSkinNames(const std::filesystem::path& skins_folder) {
    std::vector<std::string> names;
    std::unordered_set<std::string> listed;
    for (const DirEntry& e : sorted_entries(skins_folder)) {
        std::string name;
        if (e.is_dir) {
            if (e.name.empty() || e.name[0] == '.') continue;
            name = e.name;
        } else if (is_archive_name(e.name)) {
            name = path_remove_extension(e.name);
        } else {
            continue;
        }
        if (listed.insert(name).second) names.push_back(std::move(name));
    }
    return names;
}

std::optional<SkinLocation> FindSkin(const std::filesystem::path& skins_folder,
                                     std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (const DirEntry& e : sorted_entries(skins_folder)) {
        const std::string_view entry = e.name;
        const bool matches = equals_nocase(entry, name) ||
                             (entry.size() > name.size() && entry[name.size()] == '.' &&
                              equals_nocase(entry.substr(0, name.size()), name));
        if (!matches) continue;
        if (e.is_dir) return SkinLocation{skins_folder / e.name, true};
        if (is_archive_name(e.name)) return SkinLocation{skins_folder / e.name, false};
    }
    return std::nullopt;
}

void BuildSkinMenu(TAG_USERDATA& data) {
    const std::shared_ptr<Menu>& menu = data.menus[2];
    if (!menu) return;
    data.skin_menu_base = static_cast<int>(menu->items.size());
    int id = kFirstSkinItemId;
    for (std::string& name : ListSkinNames(SkinsFolder())) {
        MenuItem item;
        item.id = id++;
        item.text = std::move(name);
        menu->items.push_back(std::move(item));
    }
}

void CheckSkinItems(TAG_USERDATA& data) {
    const std::shared_ptr<Menu>& menu = data.menus[2];
    if (!menu) return;
    for (MenuItem& item : menu->items) {
        if (item.id < kFirstSkinItemId || item.separator || item.submenu) continue;
        item.checked = std::string_view(item.text).substr(0, kMaxSkinName) == data.skin_name;
    }
}

void SelectSkin(std::string_view name, TAG_USERDATA& data) {
    data.skin_name = std::string(name.substr(0, kMaxSkinName));
    const std::optional<SkinLocation> skin = FindSkin(SkinsFolder(), data.skin_name);
    if (!skin) return;
    if (skin->is_folder) {
        LoadSkinFolder(data, skin->path);
    } else {
        LoadSkinArchive(data, skin->path);
    }
}

void SkinMenuCommand(TAG_USERDATA& data, int id) {
    const std::shared_ptr<Menu>& menu = data.menus[2];
    if (!menu || id < kFirstSkinItemId || data.skin_menu_base < 0) return;
    const std::size_t position = static_cast<std::size_t>(data.skin_menu_base) +
                                 static_cast<std::size_t>(id - kFirstSkinItemId);
    if (position >= menu->items.size()) return;
    const MenuItem& item = menu->items[position];
    if (item.separator || item.submenu) return;
    const std::string text = item.text.substr(0, kMaxSkinName);
    if (text == data.skin_name) return;
    SelectSkin(text, data);
    call(data.hooks.commands.update_menu_checks, data);
    call(data.hooks.commands.save_settings, data);
}

}  // namespace dz
