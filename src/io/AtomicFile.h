#pragma once
// Whole-file writes that never leave a half-written file behind.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dz {

// Writes `data` to a new file in the same folder as `path`, flushes it to the
// disk and renames it over `path`, so that after a crash or a kill `path` holds
// either its old or its new whole content. A symbolic link at `path` is
// followed (its target is replaced). An existing file's permission bits are
// kept; a new file gets 0666 less the umask. Returns false (and removes the
// temporary file) on any failure, leaving `path` untouched.
// A file without write permission (file_is_read_only) is not replaced: false.
bool write_file_atomically(const std::filesystem::path& path, std::string_view data);

// The file (a link followed) exists and may not be written: it has no write
// permission bit at all (which also holds for root, whom the permission checks
// let through), or this process may not write it.
bool file_is_read_only(const std::filesystem::path& path);

// Removes the temporary files that writes to `path` left behind when their
// process was killed before the rename (".<name>.<12 hex digits>.tmp" in the
// same folder), if they were last changed at least `min_age` ago, so that a
// write still in progress elsewhere keeps its file. Returns how many went.
int remove_stale_temp_files(const std::filesystem::path& path,
                            std::chrono::seconds min_age = std::chrono::minutes(10));

// Settings and playlist files larger than this are not read.
inline constexpr std::size_t kMaxReadBytes = std::size_t{64} << 20;

// The whole content of a regular file of at most kMaxReadBytes. Nothing when it
// does not exist or cannot be read (a folder, FIFO or device is not read and
// never blocks); `missing` (when given) tells those two apart.
std::optional<std::string> read_whole_file(const std::filesystem::path& path,
                                           bool* missing = nullptr);

}  // namespace dz
