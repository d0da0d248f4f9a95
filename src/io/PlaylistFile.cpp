#include "io/PlaylistFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>

#include "base/PathUtil.h"
#include "io/UrlPath.h"

namespace dz {

namespace {

constexpr const char* kPlaylist = "Playlist";
constexpr size_t kPathBuffer = kMaxPathBytes + 1;
constexpr size_t kTitleBuffer = 260;

// n when `key` is "File<n>" (any case) with n written without leading zeros.
std::optional<long long> file_key_number(std::string_view key) {
    if (key.size() < 5 || !equals_nocase(key.substr(0, 4), "file")) return std::nullopt;
    std::string_view digits = key.substr(4);
    if (digits.front() == '0' || digits.size() > 10) return std::nullopt;
    long long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

int stored_length(float seconds) {
    if (!(seconds > 0)) return 0;
    if (seconds >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(seconds);
}

void put_playlist_section(ProfileFile& file, const std::vector<PlaylistFileEntry>& entries) {
    file.delete_section(kPlaylist);
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        file.write_string(kPlaylist, "File" + n, entries[i].path);
        file.write_string(kPlaylist, "Title" + n, entries[i].title);
        file.write_string(kPlaylist, "Length" + n, std::to_string(entries[i].length_seconds));
    }
    file.write_string(kPlaylist, "NumberOfEntries", std::to_string(entries.size()));
}

bool write_playlist_file(const std::filesystem::path& path,
                         const std::vector<PlaylistFileEntry>& entries) {
    return ProfileFile::update(path,
                               [&](ProfileFile& file) { put_playlist_section(file, entries); });
}

std::vector<PlaylistFileEntry> read_playlist_section(const ProfileFile& file) {
    std::vector<PlaylistFileEntry> entries;
    const int count = file.get_int(kPlaylist, "NumberOfEntries", 0);
    if (count <= 0) return entries;
    std::vector<long long> numbers;
    for (const std::string& key : file.keys(kPlaylist))
        if (auto n = file_key_number(key); n && *n >= 1 && *n <= count) numbers.push_back(*n);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    entries.reserve(numbers.size());
    for (long long number : numbers) {
        const std::string n = std::to_string(number);
        PlaylistFileEntry entry;
        entry.path = file.get_string(kPlaylist, "File" + n, "", kPathBuffer);
        if (entry.path.empty()) continue;
        entry.title = file.get_string(kPlaylist, "Title" + n, "", kTitleBuffer);
        entry.length_seconds = std::max(0, file.get_int(kPlaylist, "Length" + n, 0));
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<PlaylistFileEntry> read_playlist_file(const std::filesystem::path& path) {
    return read_playlist_section(ProfileFile::load_or_empty(path));
}

AddedPathKind classify_added_path(std::string_view path) {
    if (has_tune_extension(path)) return AddedPathKind::Tune;
    if (path_find_extension(path).find(".ptlist") != std::string_view::npos)
        return AddedPathKind::Playlist;
    return AddedPathKind::None;
}

std::optional<std::vector<PlaylistFileEntry>> open_playlist_source(const std::string& path,
                                                                   HttpClient& http) {
    if (!path_or_url_exists(path, http)) return std::nullopt;
    if (!path_is_url(path)) {
        std::optional<ProfileFile> file = ProfileFile::load(path);
        if (!file) return std::nullopt;
        return read_playlist_section(*file);
    }
    std::optional<std::string> temp = http.fetch(path);
    if (!temp) return std::nullopt;
    std::optional<ProfileFile> file = ProfileFile::load(*temp);
    std::error_code ec;
    std::filesystem::remove(*temp, ec);
    if (!file) return std::nullopt;
    return read_playlist_section(*file);
}

}  // namespace dz
