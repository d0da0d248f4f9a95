#include "app/PlaylistStore.h"

#include <filesystem>
#include <system_error>

#include "base/PathUtil.h"
#include "io/PlaylistFile.h"
#include "io/UrlPath.h"

namespace dz {

PlaylistStore::PlaylistStore(tagPLAYER& player, HttpClient& http, std::string ini_path,
                             int* list_dirty)
    : player_(player), http_(http), ini_path_(std::move(ini_path)), list_dirty_(list_dirty) {}

void PlaylistStore::mark_dirty() {
    if (list_dirty_) *list_dirty_ = 1;
}

bool PlaylistStore::SavePlaylist(const std::optional<std::string>& path) {
    std::vector<PlaylistFileEntry> entries;
    entries.reserve(player_.playlist.size());
    for (const tagTUNEINFO& e : player_.playlist)
        entries.push_back({e.path, e.title, stored_length(e.length_seconds)});
    return write_playlist_file(path ? *path : ini_path_, entries);
}

bool PlaylistStore::ReadPlaylistFile(const std::string& path) {
    // Read first: a file that exists but cannot be read must not empty the
    // playlist (the empty list would then be saved over the stored one).
    std::optional<ProfileFile> file = ProfileFile::load(path);
    if (!file) return false;
    replace_playlist(read_playlist_section(*file));
    return true;
}

bool PlaylistStore::OpenPlaylist(const std::optional<std::string>& path) {
    std::optional<std::vector<PlaylistFileEntry>> entries =
        open_playlist_source(path ? *path : ini_path_, http_);
    if (!entries) return false;
    replace_playlist(*entries);
    return true;
}

void PlaylistStore::replace_playlist(const std::vector<PlaylistFileEntry>& entries) {
    player_.select_all_as(1);
    player_.remove_selected();
    mark_dirty();
    // Totals are recomputed once at the end rather than after every stored
    // entry: nothing reads them in between, and per entry it is quadratic.
    // Entries without a stored title and length are read in the background: a
    // playlist of thousands of tunes shows at once, and what is stored of such an
    // entry (a title without a length) stands until its tune has been read.
    for (const PlaylistFileEntry& entry : entries) {
        const auto length = static_cast<float>(entry.length_seconds);
        if (!entry.has_stored_info()) {
            std::optional<std::string> title;
            if (!entry.title.empty()) title = entry.title;
            player_.add_file_later(entry.path, title, length);
        } else {
            player_.add_entry(entry.path, entry.title, length);
        }
    }
    player_.recompute_totals();
}

PlaylistStore::Opened PlaylistStore::OpenDownloadedPlaylists() {
    Opened opened = Opened::None;
    for (const tagPLAYER::DownloadedFile& file : player_.take_downloaded_files()) {
        if (file.temp_path.empty()) continue;
        if (ReadPlaylistFile(file.temp_path)) {
            opened = file.play_first ? Opened::PlayFirst : Opened::Replaced;
            SavePlaylist();
        }
        std::error_code ec;
        std::filesystem::remove(file.temp_path, ec);
    }
    return opened;
}

bool PlaylistStore::AddPaths(const std::vector<std::string>& paths) {
    bool touched = false;
    for (const std::string& path : paths) {
        // A URL is tested on the player's download thread, not here.
        const bool url = path_is_url(path);
        if (!url && !path_or_url_exists(path, http_)) continue;
        switch (classify_added_path(path)) {
            case AddedPathKind::Tune:
                if (player_.add_file(path) < 0 && url) continue;
                break;
            case AddedPathKind::Playlist:
                if (url) {
                    // Opened when it has arrived (OpenDownloadedPlaylists).
                    player_.request_file(path);
                    continue;
                }
                if (!OpenPlaylist(path)) continue;  // unreadable: the list stays as it is
                break;
            case AddedPathKind::None:
                continue;
        }
        touched = true;
    }
    if (!touched) return false;
    mark_dirty();
    SavePlaylist();
    return true;
}

}  // namespace dz
