#pragma once
// The player's playlist in files (the application applies what io reads): saving it (into the
// settings file after every change, or into a .ptlist), reading it back, opening a playlist by path
// or URL, and adding whatever a dropped or entered path names.
//
// Threads: the worker (commands), the UI thread (drops, start-up); the caller
// makes sure only one of them touches the player at a time.

#include <optional>
#include <string>
#include <vector>

#include "io/PlaylistFile.h"
#include "platform/HttpClient.h"
#include "player/Player.h"

namespace dz {

class PlaylistStore {
public:
    // `ini_path` is the settings file; `list_dirty` (optional) is set to 1
    // whenever the playlist editor must rebuild its rows.
    PlaylistStore(tagPLAYER& player, HttpClient& http, std::string ini_path,
                  int* list_dirty = nullptr);

    // Writes the whole playlist into `path`, or into the settings file with no
    // path, with one file write. False when the file could not be written.
    bool SavePlaylist(const std::optional<std::string>& path = std::nullopt);

    // Replaces the playlist with the entries of a local playlist file. Entries
    // with a stored title and length are added as they are; the others are
    // added if they exist (a URL: tested in the background) and read in the
    // background (tagPLAYER::add_file_later). A file that cannot be read leaves
    // the playlist as it is and gives false.
    bool ReadPlaylistFile(const std::string& path);

    // Reads a playlist from a local file or a URL (downloaded to a temporary
    // file, read, deleted), or from the settings file with no path. A path that
    // does not exist, or a failed download, leaves the playlist as it is.
    // True when the playlist was replaced.
    bool OpenPlaylist(const std::optional<std::string>& path = std::nullopt);

    // Adds what `path` names: a tune (".ptcop"/".pttune" in any case) is added
    // (a URL at once, tested and downloaded in the background), a playlist
    // (".ptlist" in lower case) replaces the playlist (a URL once downloaded in the
    // background: OpenDownloadedPlaylists); then the playlist is saved into the
    // settings file. Anything else, or a path that does not exist, does nothing.
    // True when the playlist was touched (a playlist URL touches it later).
    bool AddPath(const std::string& path) { return AddPaths({path}); }
    // AddPath for each path in order, with one save at the end when any touched
    // the playlist.
    bool AddPaths(const std::vector<std::string>& paths);

    // Opens the playlists whose download the player has applied (each replaces the
    // playlist, which is then saved) and deletes their copies; a failed download does
    // nothing. Tells whether the playlist was replaced, and whether the last one opened
    // is to play from its first entry.
    enum class Opened { None, Replaced, PlayFirst };
    Opened OpenDownloadedPlaylists();

private:
    void mark_dirty();
    void replace_playlist(const std::vector<PlaylistFileEntry>& entries);

    tagPLAYER& player_;
    HttpClient& http_;
    std::string ini_path_;
    int* list_dirty_;
};

}  // namespace dz
