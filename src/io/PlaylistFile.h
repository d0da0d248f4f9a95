#pragma once
// The playlist format, kept in the section Playlist of a .ptlist file or of
// the settings file:
//
//   [Playlist]
//   File1=<path or URL>      4095 bytes (kMaxPathBytes) at most are read back
//   Title1=<title>           259 bytes at most are read back
//   Length1=<whole seconds>  truncated toward zero
//   File2=...
//   NumberOfEntries=<N>
//
// Entries are numbered from 1 in decimal without leading zeros; the section
// is rewritten whole (deleted, then written anew, so it moves to the end of
// the file) with one file write.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/ProfileFile.h"
#include "platform/HttpClient.h"

namespace dz {

struct PlaylistFileEntry {
    std::string path;
    std::string title;
    int length_seconds = 0;  // whole seconds, >= 0

    // A stored title and length let the entry be added without opening the tune.
    bool has_stored_info() const { return !title.empty() && length_seconds != 0; }
    bool operator==(const PlaylistFileEntry&) const = default;
};

// Whole seconds of a length: truncated toward zero; negative or not-a-number
// lengths give 0; huge ones saturate.
int stored_length(float seconds);

void put_playlist_section(ProfileFile& file, const std::vector<PlaylistFileEntry>& entries);
// Rewrites the Playlist section of the file at `path` (created when missing).
bool write_playlist_file(const std::filesystem::path& path,
                         const std::vector<PlaylistFileEntry>& entries);

// The entries numbered 1 to NumberOfEntries that have a non-empty File key, in
// number order. A count of 0 or less, or no section, gives none. Only keys
// present in the file are visited, so a huge count costs nothing. A negative
// stored length reads as 0.
std::vector<PlaylistFileEntry> read_playlist_section(const ProfileFile& file);
// The entries of a local file; a missing or unreadable file gives none.
std::vector<PlaylistFileEntry> read_playlist_file(const std::filesystem::path& path);

// What a dropped or entered path names, by its extension (path_find_extension):
// ".ptcop" or ".pttune" anywhere in it, any letter case -> a tune; otherwise
// ".ptlist" in lower case -> a playlist; anything else -> nothing.
enum class AddedPathKind { None, Tune, Playlist };
AddedPathKind classify_added_path(std::string_view path);

// The entries of a playlist named by a local path or a URL. Nothing when the
// path does not exist or cannot be read, the URL has no data or its download
// fails (the current playlist then stays). A URL is downloaded to a temporary
// file that is read and deleted.
std::optional<std::vector<PlaylistFileEntry>> open_playlist_source(const std::string& path,
                                                                   HttpClient& http);

}  // namespace dz
