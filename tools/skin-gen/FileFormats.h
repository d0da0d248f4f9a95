#pragma once
// Byte encodings written by skin-gen: 24-bit BMP, cursor (.CUR) and zip archives.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Image.h"

namespace skingen {

using Bytes = std::vector<std::uint8_t>;

// BITMAPFILEHEADER + 40-byte BITMAPINFOHEADER, 24 bpp, BI_RGB, bottom-up rows padded to
// four bytes, 2835 pixels per metre (72 dpi).
Bytes encode_bmp(const Image& img);

// One 32 × 32 cursor image: 32-bpp BGRA XOR bitmap (alpha 255 where opaque) and the 1-bpp
// AND mask (1 = transparent).
struct CursorImage {
    Image pixels;            // 32 × 32
    std::vector<bool> mask;  // 32 × 32, row 0 at the top; true = opaque
    int hot_x = 0, hot_y = 0;
};
// ICONDIR (type 2, one image), ICONDIRENTRY with the hotspot, then the DIB: a
// BITMAPINFOHEADER of height 64, the XOR pixels and the AND mask, both bottom-up.
Bytes encode_cur(const CursorImage& cur);

struct ZipMember {
    std::string name;
    Bytes data;
};
// A zip archive: every member deflated (method 8, raw deflate, level 9), local headers
// with CRC and sizes (no data descriptors), the central directory and its end record. All
// timestamps are 2024-01-01 00:00. Nothing when zlib fails.
std::optional<Bytes> encode_zip(const std::vector<ZipMember>& members);

}  // namespace skingen
