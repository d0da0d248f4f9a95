#pragma once
// Image decoding for tests: serves images the test registered by their exact
// bytes; anything else does not decode.

#include <map>
#include <vector>

#include "platform/ImageDecoder.h"

namespace dz {

class FakeImageDecoder : public ImageDecoder {
public:
    std::map<std::vector<std::uint8_t>, DecodedImage> bitmaps;
    std::map<std::vector<std::uint8_t>, DecodedImage> cursors;

    std::optional<DecodedImage> decode_bitmap(std::span<const std::uint8_t> bytes) override {
        return find(bitmaps, bytes);
    }
    std::optional<DecodedImage> decode_cursor(std::span<const std::uint8_t> bytes) override {
        return find(cursors, bytes);
    }

    std::optional<ImageSize> bitmap_size(std::span<const std::uint8_t> bytes) override {
        return size_of(find(bitmaps, bytes));
    }
    std::optional<ImageSize> cursor_size(std::span<const std::uint8_t> bytes) override {
        return size_of(find(cursors, bytes));
    }

private:
    static std::optional<ImageSize> size_of(const std::optional<DecodedImage>& image) {
        if (!image) return std::nullopt;
        return ImageSize{image->width, image->height};
    }
    static std::optional<DecodedImage> find(
        const std::map<std::vector<std::uint8_t>, DecodedImage>& m,
        std::span<const std::uint8_t> bytes) {
        auto it = m.find(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        if (it == m.end()) return std::nullopt;
        return it->second;
    }
};

}  // namespace dz
