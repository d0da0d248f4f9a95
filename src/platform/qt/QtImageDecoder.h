#pragma once
// BMP decoding through QImage. Cursor files are read by our own parser (Qt's reads
// .cur hotspots and masks wrongly); until it lands decode_cursor yields nothing.

#include "platform/ImageDecoder.h"

namespace dz {

class QtImageDecoder : public ImageDecoder {
public:
    std::optional<DecodedImage> decode_bitmap(std::span<const std::uint8_t> bytes) override;
    std::optional<DecodedImage> decode_cursor(std::span<const std::uint8_t> bytes) override;
};

}  // namespace dz
