#pragma once
// Skin archives (.wsz/.zip): their skin files, unpacked one temporary file each.
//
// Only members that name a skin file (SkinElements.h: bitmaps, cursors, PLEDIT,
// VISCOLOR and REGION text) are unpacked; folder entries, nested archives and every
// other member are passed over. At most 16 MiB per member and 64 MiB per archive are
// unpacked (ArchiveLimits). Runs during a skin load, on the thread that loads the skin.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "skin/SkinElements.h"
#include "skin/ZTemp.h"

namespace dz {

// Told of each member that is not unpacked, and why ("not a skin file", "encrypted", ...).
using SkinArchiveSkip = std::function<void(std::string_view member, std::string_view reason)>;

// Unpacks the skin files of the archive at `path` into `ztemp`, in archive order; returns
// how many. An archive that cannot be opened or read adds nothing.
int ExtractArchive(ZTemp& ztemp, const std::filesystem::path& path,
                   const SkinArchiveSkip& skipped = {});

// One skin file of an archive, valid during the visit.
struct SkinArchiveMember {
    std::string_view member_name;  // as stored, folder part included
    std::string element;           // element name: "Skin/main.BMP" -> "main"
    std::string_view extension;    // ".BMP"
    SkinFileKind kind = SkinFileKind::kIgnored;
    std::string_view temp_path;  // the unpacked content; deleted after the visits
};

// Unpacks the archive, calls `visit` for each skin file in archive order, then deletes
// every temporary file (also when a visit throws). Returns the number of visits.
int ForEachSkinArchiveMember(const std::filesystem::path& path,
                             const std::function<void(const SkinArchiveMember&)>& visit,
                             const SkinArchiveSkip& skipped = {});

// Deletes "ztm" files (mkstemp names "ztm" + 6 characters) older than `max_age` from
// `folder`: the remains of a process killed during a skin load. Run at start-up.
void RemoveStaleZtmFiles(const std::filesystem::path& folder,
                         std::chrono::seconds max_age = std::chrono::minutes(10));
// The same in the temporary folder.
void RemoveStaleZtmFiles();

}  // namespace dz
