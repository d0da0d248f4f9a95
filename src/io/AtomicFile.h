#pragma once
// Whole-file writes that never leave a half-written file behind.

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
bool write_file_atomically(const std::filesystem::path& path, std::string_view data);

// The whole content of a file. Nothing when it does not exist or cannot be
// read; `missing` (when given) tells those two apart.
std::optional<std::string> read_whole_file(const std::filesystem::path& path,
                                           bool* missing = nullptr);

}  // namespace dz
