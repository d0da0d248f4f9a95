#pragma once
// The image decoder the program uses: our own BMP and cursor readers (BmpDecoder,
// CursorDecoder). Stateless; any thread.

#include "platform/ImageDecoder.h"

namespace dz {

class SkinImageDecoder : public ImageDecoder {
public:
    std::optional<DecodedImage> decode_bitmap(std::span<const std::uint8_t> bytes) override;
    std::optional<DecodedImage> decode_cursor(std::span<const std::uint8_t> bytes) override;
    std::optional<ImageSize> bitmap_size(std::span<const std::uint8_t> bytes) override;
    std::optional<ImageSize> cursor_size(std::span<const std::uint8_t> bytes) override;
};

}  // namespace dz
