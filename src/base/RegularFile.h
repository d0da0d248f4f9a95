#pragma once
// Reading a whole file the user named, safely: only regular files are read
// (a FIFO, a device or a folder is refused before anything can block on it:
// the type is checked with stat and the file opened non-blocking), and never
// more than a cap.

#include <cstddef>
#include <filesystem>
#include <string>

namespace dz {

enum class ReadFileStatus {
    Ok,
    Missing,     // no such file (or a path component is not a folder)
    NotRegular,  // a folder, FIFO, socket or device
    TooLarge,    // larger than the cap
    Failed,      // exists but cannot be opened or read
};

// A short English description of a status ("not a regular file", ...).
const char* describe(ReadFileStatus status);

// Reads the whole of `path` into `out` (replaced). Anything but Ok leaves `out` empty.
ReadFileStatus read_regular_file(const std::filesystem::path& path, std::size_t max_bytes,
                                 std::string& out);

}  // namespace dz
