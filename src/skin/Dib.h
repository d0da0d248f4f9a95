#pragma once
// Device-independent bitmaps (DIBs): the info header, the colour masks, the palette and
// the pixel array, shared by BMP files and the images inside cursor files. Little-endian.
//
// Info headers, told apart by their first field (the header size in bytes):
//
// | Size     | Header                | Fields read (offset from the header's start)            |
// |----------|-----------------------|----------------------------------------------------------|
// | 12       | OS/2 1.x core header  | +4 width u16, +6 height u16 (rows always bottom-up),     |
// |          |                       | +10 bits per pixel u16                                   |
// | 16..39   | OS/2 2.x, short forms | as the 40-byte header; fields past the size read as 0    |
// | 40       | BITMAPINFOHEADER      | +4 width i32, +8 height i32 (negative: rows top-down),   |
// |          |                       | +14 bits per pixel u16, +16 compression u32,             |
// |          |                       | +32 colours used u32                                     |
// | 52, 56   | V2, V3                | as 40, plus +40 red, +44 green, +48 blue mask u32 and    |
// |          |                       | (56) +52 alpha mask u32                                  |
// | 64       | OS/2 2.x              | as 40; the OS/2 fields are ignored                       |
// | 108, 124 | V4, V5                | as 56; the colour-space fields are ignored               |
//
// Compression: 0 none, 1 RLE8 (8 bpp), 2 RLE4 (4 bpp), 3 bit fields and 6 bit fields with
// alpha (16 and 32 bpp). Others (JPEG, PNG, OS/2 Huffman and RLE24) are refused. With a
// header shorter than 52 bytes the bit-field masks follow the header: red, green, blue
// (and alpha for compression 6), u32 each. Without bit fields, 16 bpp is 5-5-5 (bit 15
// unused) and 32 bpp is blue, green, red and a fourth byte.
//
// Palette (1, 4 and 8 bpp): after the header and masks; entries of 4 bytes (blue, green,
// red, unused), 3 bytes after a core header; `colours used` entries, or 2^bpp when that is
// 0 or larger. A palette may be cut short by the start of the pixels or the end of the
// data; indices without an entry take entry 0 (black when there is none).
//
// Pixel array: rows of ((width * bpp + 31) / 32) * 4 bytes, the bottom row first unless
// the height is negative (RLE is always bottom-up).
//
// RLE8 and RLE4 come as byte pairs. A pair (n > 0, c) is a run of n pixels of index c
// (RLE4: the two nibbles of c alternate, high first). Escapes (0, e): e = 0 end of line,
// e = 1 end of bitmap, e = 2 then dx, dy: move right dx and up dy rows; e >= 3: e literal
// pixels follow (RLE8 one byte each, RLE4 two per byte, high nibble first), padded to an
// even byte count. Pixels never written take index 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "skin/ByteView.h"

namespace dz {

// The largest image accepted, in pixels.
inline constexpr std::uint64_t kMaxDibPixels = std::uint64_t{16} << 20;

struct DibHeader {
    std::uint32_t header_size = 0;
    int width = 0;
    int height = 0;  // rows of the image, positive
    bool top_down = false;
    int bpp = 0;
    std::uint32_t compression = 0;
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha; bit-field compression
    std::vector<std::array<std::uint8_t, 4>> palette;  // blue, green, red, 255
    std::size_t palette_start = 0;                     // after the header and the masks
    std::size_t palette_end = 0;  // where a full palette would end (may lie past the data)

    bool bit_fields() const { return compression == 3 || compression == 6; }
    // Bytes per row of the pixel array.
    std::size_t stride() const { return ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4; }
};

// Reads the info header at `pos`. Cursor images pass `height_divisor` 2: their height
// counts the colour image and the AND mask. The palette ends at `palette_limit` at the
// latest. Nothing for a format that is not supported or a size of more than kMaxDibPixels.
std::optional<DibHeader> ReadDibHeader(ByteView bytes, std::size_t pos, int height_divisor,
                                       std::size_t palette_limit);

// Decodes the pixel array that starts at `pos` into top-down rows of width * 4 bytes,
// blue, green, red, alpha. Alpha is 255, except with `keep_alpha` for 32-bit pixels (the
// fourth byte) and bit-field pixels with an alpha mask. Pixels whose bytes lie past the
// data come out as 0, 0, 0, 0.
std::vector<std::uint8_t> DecodeDibPixels(const DibHeader& header, ByteView bytes, std::size_t pos,
                                          bool keep_alpha);

}  // namespace dz
