#include "skin/SkinSelection.h"

#include <algorithm>
#include <system_error>
#include <unordered_set>

#include "base/PathUtil.h"

namespace dz {

namespace {

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

}  // namespace dz
