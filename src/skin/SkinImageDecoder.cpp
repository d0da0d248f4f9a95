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

}  // namespace dz
