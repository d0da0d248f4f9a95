#pragma once
// Writes 24-bit RGB pictures as PNG files (8 bits per channel, no interlace, one
// zlib stream, filter 0 on every row).

#include <cstdint>
#include <string>
#include <vector>

namespace dz {

// `rgb` holds height rows of width * 3 bytes, red, green, blue, top row first.
// False (with `error` set) when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error);

}  // namespace dz
