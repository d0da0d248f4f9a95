#include "skin/SkinArchive.h"

#include <system_error>

#include "skin/ArchiveReader.h"
#include "skin/FileByteSource.h"

namespace dz {

namespace {

// Null when the member is a skin file; else why it is passed over.
const char* not_a_skin_member(std::string_view name) {
    if (name.empty()) return "no name";
    if (name.back() == '/' || name.back() == '\\') return "folder entry";
    if (ClassifySkinFile(name) != SkinFileKind::kIgnored) return nullptr;
    if (ContainsNoCase(NameExtension(name), ".ANI")) return ".ani cursors load from folders only";
    return "not a skin file";
}

bool is_ztm_name(const std::string& name) {
    if (name.size() != 9 || name.compare(0, 3, "ztm") != 0) return false;
    for (std::size_t i = 3; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int ExtractArchive(ZTemp& ztemp, const std::filesystem::path& path,
                   const SkinArchiveSkip& skipped) {
    const FileByteSource source(path);
    if (!source.is_open()) return 0;
    int added = 0;
    auto want = [&](std::string_view name) {
        const char* why = not_a_skin_member(name);
        if (why && skipped) skipped(name, why);
        return why == nullptr;
    };
    auto add = [&](std::string_view name, std::vector<std::uint8_t>&& content) {
        if (ztemp.AddTempFile(name, content)) {
            ++added;
        } else if (skipped) {
            skipped(name, "no temporary file could be written");
        }
    };
    ReadArchiveMembers(source, want, add, ArchiveLimits{}, skipped);
    return added;
}

int ForEachSkinArchiveMember(const std::filesystem::path& path,
                             const std::function<void(const SkinArchiveMember&)>& visit,
                             const SkinArchiveSkip& skipped) {
    ZTemp ztemp;
    ExtractArchive(ztemp, path, skipped);
    int visits = 0;
    for (const ZTempFile& file : ztemp.files()) {
        SkinArchiveMember member;
        member.member_name = file.member_name;
        member.element = ElementNameOf(file.member_name);
        member.extension = NameExtension(file.member_name);
        member.kind = ClassifySkinFile(file.member_name);
        member.temp_path = file.temp_path;
        visit(member);
        ++visits;
    }
    return visits;
}

void RemoveStaleZtmFiles(const std::filesystem::path& folder, std::chrono::seconds max_age) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!is_ztm_name(it->path().filename().string())) continue;
        std::error_code e;
        if (!it->is_regular_file(e) || it->is_symlink(e)) continue;
        const auto written = it->last_write_time(e);
        if (e || now - written < max_age) continue;
        fs::remove(it->path(), e);
    }
}

void RemoveStaleZtmFiles() {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (!ec) RemoveStaleZtmFiles(folder);
}

}  // namespace dz
