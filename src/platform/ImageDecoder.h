#pragma once
// Decoding of bitmap and cursor files into pixels. Any thread.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace dz {

// Decoded pixels: 32 bits per pixel, bytes blue, green, red, alpha; rows top-down.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;
    int hot_x = 0;  // cursors only
    int hot_y = 0;
};

struct ImageSize {
    int width = 0;
    int height = 0;
};

class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // A BMP file; nullopt when the bytes are not a readable bitmap.
    virtual std::optional<DecodedImage> decode_bitmap(std::span<const std::uint8_t> bytes) = 0;
    // A CUR file, or the first frame of an ANI file, with its hotspot.
    virtual std::optional<DecodedImage> decode_cursor(std::span<const std::uint8_t> bytes) = 0;
    // The sizes the two would give, read from the headers alone (no pixel is allocated),
    // so that a caller can refuse an image before it is decoded; nullopt when the bytes
    // are refused.
    virtual std::optional<ImageSize> bitmap_size(std::span<const std::uint8_t> bytes) = 0;
    virtual std::optional<ImageSize> cursor_size(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace dz
