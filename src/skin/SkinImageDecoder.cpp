#include "skin/SkinImageDecoder.h"

#include "skin/BmpDecoder.h"
#include "skin/CursorDecoder.h"

namespace dz {

std::optional<DecodedImage> SkinImageDecoder::decode_bitmap(std::span<const std::uint8_t> bytes) {
    return DecodeBmp(bytes);
}

std::optional<DecodedImage> SkinImageDecoder::decode_cursor(std::span<const std::uint8_t> bytes) {
    return DecodeCursor(bytes);
}

std::optional<ImageSize> SkinImageDecoder::bitmap_size(std::span<const std::uint8_t> bytes) {
    return MeasureBmp(bytes);
}

std::optional<ImageSize> SkinImageDecoder::cursor_size(std::span<const std::uint8_t> bytes) {
    return MeasureCursor(bytes);
}

}  // namespace dz
