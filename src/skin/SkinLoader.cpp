#include "skin/SkinLoader.h"

#include <new>
#include <string>

#include "base/PathUtil.h"
#include "skin/SkinArchive.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinBudget.h"
#include "skin/SkinCursors.h"
#include "skin/SkinLoadListener.h"
#include "skin/SkinText.h"

namespace dz {

namespace {

constexpr const char* kPleditTxt = "PLEDIT.TXT";
constexpr const char* kViscolorTxt = "VISCOLOR.TXT";
constexpr const char* kRegionTxt = "REGION.TXT";

void skipped(const SkinRegistries& skin, std::string_view source, std::string_view reason) {
    if (skin.listener) skin.listener->on_skipped(source, reason);
}

std::string already_loaded(std::string_view element) {
    return "element " + MakeElementKey(element) + " already loaded";
}

// A text file of the folder by its name in any case; `found` tells whether there is one.
std::filesystem::path folder_text(const std::filesystem::path& folder, const char* name,
                                  bool& found) {
    std::optional<std::filesystem::path> path = find_file_nocase(folder, name);
    found = path.has_value();
    return found ? *path : folder / name;
}

void read_folder_text(SkinRegistries& skin, const std::filesystem::path& folder, SkinFileKind kind,
                      const char* name) {
    SkinResources& res = skin.resources;
    bool found = false;
    const std::filesystem::path path = folder_text(folder, name, found);
    ReadFileStatus status = ReadFileStatus::Ok;
    switch (kind) {
        case SkinFileKind::kPleditTxt:
            // Also without the file: six black colours.
            status = ReadPleditTxt(path, res.skin_colors);
            break;
        case SkinFileKind::kViscolorTxt:
            status = ReadViscolorTxt(path, res.skin_colors);
            break;
        default:
            status = ReadRegionTxt(path, res.region_normal, res.region_shade);
            break;
    }
    if (!found || !skin.listener) return;
    const std::string file = path.filename().string();
    if (status == ReadFileStatus::Ok) {
        skin.listener->on_text(kind, file);
        return;
    }
    std::error_code ec;
    const bool dangling =
        status == ReadFileStatus::Missing && std::filesystem::is_symlink(path, ec);
    skipped(skin, file, dangling ? "a link to nothing" : describe(status));
}

// Tells the listener of the folder's entries that no loader reads.
void report_unread_entries(const SkinRegistries& skin, const std::filesystem::path& folder) {
    for (const DirEntry& e : find_files(folder, "*")) {
        if (e.is_dir) {
            skipped(skin, e.name + "/", "sub-folder, not read");
            continue;
        }
        if (wildcard_match("*.bmp", e.name) || wildcard_match("*.cur", e.name) ||
            wildcard_match("*.ani", e.name)) {
            continue;
        }
        if (equals_nocase(e.name, kPleditTxt) || equals_nocase(e.name, kViscolorTxt) ||
            equals_nocase(e.name, kRegionTxt)) {
            continue;
        }
        skipped(skin, e.name, "not a skin file");
    }
}

void load_member(SkinRegistries& skin, SkinBudget& budget, const SkinArchiveMember& m) {
    SkinResources& res = skin.resources;
    const std::filesystem::path file{std::string(m.temp_path)};
    std::string why;
    switch (m.kind) {
        case SkinFileKind::kBitmap: {
            if (!IsUsedBitmap(m.element)) {
                skipped(skin, m.member_name, kUnusedElement);
            } else if (res.skin_images.lookup(m.element)) {
                skipped(skin, m.member_name, already_loaded(m.element));
            } else if (EdxImage* image = LoadSkinBitmap(file, res.skin_images, skin.decoder,
                                                        m.element, &why, &budget)) {
                if (skin.listener) {
                    skin.listener->on_bitmap(MakeElementKey(m.element), image->width(),
                                             image->height(), m.member_name);
                }
            } else {
                ReportNotLoaded(skin.listener, m.member_name, why, &budget);
            }
            if (IsTextColourTrigger(m.element)) SetTextColours(res.skin_images, res.skin_colors);
            break;
        }
        case SkinFileKind::kCursor: {
            if (!IsUsedCursor(m.element)) {
                skipped(skin, m.member_name, kUnusedElement);
                break;
            }
            if (res.cursor_images.lookup(m.element)) {
                skipped(skin, m.member_name, already_loaded(m.element));
                break;
            }
            DecodedImage shape;
            if (LoadSkinCursor(res.cursor_images, m.element, file, skin.decoder, skin.window, &why,
                               &shape, &budget)) {
                if (skin.listener) {
                    skin.listener->on_cursor(MakeElementKey(m.element), shape.width, shape.height,
                                             shape.hot_x, shape.hot_y, m.member_name);
                }
            } else {
                ReportNotLoaded(skin.listener, m.member_name, why, &budget);
            }
            break;
        }
        case SkinFileKind::kPleditTxt:
            ReadPleditTxt(file, res.skin_colors);
            break;
        case SkinFileKind::kViscolorTxt:
            ReadViscolorTxt(file, res.skin_colors);
            break;
        case SkinFileKind::kRegionTxt:
            ReadRegionTxt(file, res.region_normal, res.region_shade);
            break;
        case SkinFileKind::kIgnored:
            return;
    }
    if (m.kind != SkinFileKind::kBitmap && m.kind != SkinFileKind::kCursor && skin.listener) {
        skin.listener->on_text(m.kind, m.member_name);
    }
}

}  // namespace

void ClearSkin(SkinRegistries& skin) {
    SkinResources& res = skin.resources;
    res.skin_images.clear();
    ReleaseSkinCursors(res.cursor_images, skin.window);
    res.skin_colors.clear();
    res.region_normal.clear();
    res.region_shade.clear();
}

void LoadSkinFolder(SkinRegistries& skin, const std::filesystem::path& folder) {
    SkinResources& res = skin.resources;
    ClearSkin(skin);
    SkinBudget budget;
    LoadFolderBitmaps(folder, res.skin_images, skin.decoder, budget, skin.listener);
    LoadFolderCursors(folder, res.cursor_images, skin.decoder, skin.window, budget, skin.listener);
    read_folder_text(skin, folder, SkinFileKind::kPleditTxt, kPleditTxt);
    SetTextColours(res.skin_images, res.skin_colors);
    read_folder_text(skin, folder, SkinFileKind::kViscolorTxt, kViscolorTxt);
    read_folder_text(skin, folder, SkinFileKind::kRegionTxt, kRegionTxt);
    if (skin.listener) report_unread_entries(skin, folder);
}

int LoadSkinArchive(SkinRegistries& skin, const std::filesystem::path& archive) {
    ClearSkin(skin);
    SkinBudget budget;
    return ForEachSkinArchiveMember(
        archive,
        [&](const SkinArchiveMember& m) {
            try {
                load_member(skin, budget, m);
            } catch (const std::bad_alloc&) {
                skipped(skin, m.member_name, "not enough memory");
            }
        },
        [&](std::string_view member, std::string_view reason) { skipped(skin, member, reason); });
}

}  // namespace dz
