#pragma once
// The skins folder ("skins" in the current directory, looked up anew at each listing and
// each selection) and the skins in it.
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

}  // namespace dz
