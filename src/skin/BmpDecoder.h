#pragma once
// BMP files. Any thread.
//
// File header (little-endian), followed by the info header (see Dib.h):
//
// | Offset | Width | Field                                                              |
// |--------|-------|--------------------------------------------------------------------|
// | 0      | 2     | "BM"                                                               |
// | 2      | 4     | file size; not trusted (often 0 or wrong)                          |
// | 6      | 4     | reserved                                                           |
// | 10     | 4     | offset of the pixel array; when it points into the headers or past |
// |        |       | the end, the pixels are taken to follow the palette                |
//
// Bytes after the pixel array are ignored. A pixel array cut short decodes as far as
// it goes; the missing pixels come out 0, 0, 0, 0. 32-bit pixels without bit fields
// ignore their fourth byte (opaque); with an alpha mask they keep its alpha unless it
// is 0 in every pixel, when they are opaque.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/ImageDecoder.h"

namespace dz {

std::optional<DecodedImage> DecodeBmp(std::span<const std::uint8_t> bytes);
// The size DecodeBmp gives, from the headers alone; nothing when it refuses the bytes.
std::optional<ImageSize> MeasureBmp(std::span<const std::uint8_t> bytes);

}  // namespace dz
