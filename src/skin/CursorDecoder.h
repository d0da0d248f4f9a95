#pragma once
// Cursor files: CUR (and ICO) images and the first frame of RIFF ANI files. The kind is
// told by the content, not by the file name: ANI data often comes under a .cur name.
// Any thread.
//
// CUR/ICO file (little-endian):
//
// | Offset     | Width | Field                                                        |
// |------------|-------|--------------------------------------------------------------|
// | 0          | 2     | reserved, 0                                                  |
// | 2          | 2     | type: 1 icon, 2 cursor                                       |
// | 4          | 2     | number of images                                             |
// | 6 + 16 i   | 16    | directory entry i:                                           |
// |            |       | +0 width u8, +1 height u8, +2 colours u8, +3 reserved u8,    |
// |            |       | +4 hotspot x u16, +6 hotspot y u16 (cursors; planes and bits |
// |            |       | per pixel in icons), +8 image size u32, +12 image offset u32 |
//
// Each image is a DIB (Dib.h) whose height counts two images: the colour (XOR) image
// with its palette, then a 1-bit AND mask with rows of ((width + 31) / 32) * 4 bytes,
// both bottom-up. A pixel with AND bit 0 shows its colour; AND bit 1 over black is
// transparent; AND bit 1 over any other colour inverts the screen and is drawn black
// and opaque. A 32-bit image with any non-zero fourth byte uses that byte as alpha and
// ignores the mask. Images stored as PNG are not read.
//
// Of several images the one of 32 x 32 pixels with the most bits per pixel is taken
// (the first of equals); without a 32 x 32 image, the one with the most bits per pixel.
// The hotspot of icons is (0, 0); a hotspot outside the image is moved to its edge.
//
// ANI file: "RIFF", size u32, "ACON", then chunks (id, size u32, data padded to an even
// length). The first "icon" chunk inside the "LIST" chunk of type "fram" holds a whole
// CUR/ICO file, the first frame.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/ImageDecoder.h"

namespace dz {

// A CUR/ICO file or an ANI file, by content.
std::optional<DecodedImage> DecodeCursor(std::span<const std::uint8_t> bytes);
// A CUR/ICO file only.
std::optional<DecodedImage> DecodeCurFile(std::span<const std::uint8_t> bytes);
// The first frame of an ANI file only.
std::optional<DecodedImage> DecodeAniFirstFrame(std::span<const std::uint8_t> bytes);
// The size DecodeCursor gives, from the headers alone; nothing when it refuses the bytes.
std::optional<ImageSize> MeasureCursor(std::span<const std::uint8_t> bytes);

}  // namespace dz
