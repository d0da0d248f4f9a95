#pragma once
// Whole skin files (bitmaps, cursors, text) read into memory. Any thread.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "base/RegularFile.h"

namespace dz {

// The largest skin file read, in bytes.
inline constexpr std::uintmax_t kMaxSkinFileBytes = std::uintmax_t{128} << 20;

// Reads `file` into `bytes`: regular files only (a FIFO or device is refused before it can
// block), at most kMaxSkinFileBytes.
inline ReadFileStatus ReadSkinFile(const std::filesystem::path& file, std::string& bytes) {
    return read_regular_file(file, kMaxSkinFileBytes, bytes);
}

inline std::span<const std::uint8_t> AsBytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace dz
