#include "skin/SkinArchive.h"

#include <system_error>

#include "skin/ArchiveReader.h"
#include "skin/FileByteSource.h"

namespace dz {

namespace {

bool is_skin_member(std::string_view name) {
    if (name.empty() || name.back() == '/' || name.back() == '\\') return false;
    return ClassifySkinFile(name) != SkinFileKind::kIgnored;
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

int ExtractArchive(ZTemp& ztemp, const std::filesystem::path& path) {
    const FileByteSource source(path);
    if (!source.is_open()) return 0;
    int added = 0;
    ReadArchiveMembers(source, is_skin_member,
                       [&](std::string_view name, std::vector<std::uint8_t>&& content) {
                           if (ztemp.AddTempFile(name, content)) ++added;
                       });
    return added;
}

int ForEachSkinArchiveMember(const std::filesystem::path& path,
                             const std::function<void(const SkinArchiveMember&)>& visit) {
    ZTemp ztemp;
    ExtractArchive(ztemp, path);
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
