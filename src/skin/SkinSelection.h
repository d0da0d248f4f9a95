#pragma once
// The skins folder ("skins" in the current directory, looked up anew at each listing and
// each selection), the skin items of the Skins menu and the choice of a skin.
//
// A skin is a sub-folder of the skins folder or an archive in it: a file whose extension
// holds ".wsz" or ".zip" (any case). Its name is the folder's name, or the archive's name
// without the extension ("Funky.ZIP" is "Funky").
//
// Entries are taken in the order of their names compared without regard to ASCII case
// (then bytewise), the order the file systems skins come from list them in; the
// directory order of Linux file systems is arbitrary.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dz {

class TAG_USERDATA;

// The first command id of the skin items: item k is at position skin_menu_base + k of the
// Skins menu (menus[2]) and carries id kFirstSkinItemId + k.
inline constexpr int kFirstSkinItemId = 58;

// "skins" in the current directory.
std::filesystem::path SkinsFolder();

// The skin names of `skins_folder`: folders whose names do not begin with '.', and
// archives. A name that occurs twice (a folder and an archive of one name) is listed once,
// where it first occurs.
std::vector<std::string> ListSkinNames(const std::filesystem::path& skins_folder);

struct SkinLocation {
    std::filesystem::path path;
    bool is_folder = false;
};

// The skin of a name: the first entry named `name`, or `name` followed by '.' and anything,
// without regard to case ("Base" also finds "base.wsz" and the folder "Base.old"), that is a
// folder or an archive. The name is taken literally (no wildcards); an empty name finds
// nothing.
std::optional<SkinLocation> FindSkin(const std::filesystem::path& skins_folder,
                                     std::string_view name);

// Appends one item per skin of SkinsFolder() to menus[2], after recording its item count
// in skin_menu_base. Nothing without that menu.
void BuildSkinMenu(TAG_USERDATA& data);

// Sets the check mark of each skin item of menus[2]: checked when its text is skin_name.
void CheckSkinItems(TAG_USERDATA& data);

// Makes `name` (cut to 259 bytes) the current skin name, then loads the skin of that name
// from SkinsFolder(). When there is none, nothing is loaded and the registries keep what
// they hold.
void SelectSkin(std::string_view name, TAG_USERDATA& data);

// A command id of kFirstSkinItemId or more: the skin of the item at skin_menu_base + id -
// kFirstSkinItemId. A skin other than the current one is selected, the check marks are
// brought up to date and the settings saved; choosing the current skin does nothing.
void SkinMenuCommand(TAG_USERDATA& data, int id);

}  // namespace dz
