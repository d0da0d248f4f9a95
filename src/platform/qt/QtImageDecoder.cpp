#include "platform/qt/QtImageDecoder.h"

#include <QImage>
#include <cstring>

namespace dz {

std::optional<DecodedImage> QtImageDecoder::decode_bitmap(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return std::nullopt;
    QImage image;
    if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")) {
        return std::nullopt;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);  // memory order B, G, R, A
    DecodedImage out;
    out.width = image.width();
    out.height = image.height();
    out.bgra.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(out.bgra.data() + static_cast<std::size_t>(y) * out.width * 4,
                    image.constScanLine(y), static_cast<std::size_t>(out.width) * 4);
    }
    return out;
}

std::optional<DecodedImage> QtImageDecoder::decode_cursor(std::span<const std::uint8_t>) {
    return std::nullopt;
}

}  // namespace dz
