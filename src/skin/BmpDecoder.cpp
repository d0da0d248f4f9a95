#include "skin/BmpDecoder.h"

#include <algorithm>

#include "skin/Dib.h"

namespace dz {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

// The info header and where the pixel array starts.
std::optional<DibHeader> read_header(const ByteView& b, std::size_t& bits) {
    if (!b.has(0, kFileHeaderSize) || b.u8(0) != 'B' || b.u8(1) != 'M') return std::nullopt;
    std::optional<DibHeader> h = ReadDibHeader(b, kFileHeaderSize, 1, b.size());
    if (!h) return std::nullopt;
    bits = b.u32(10);
    if (bits < h->palette_start || bits >= b.size()) {
        bits = h->palette_end;
    } else if (bits < h->palette_end) {
        h = ReadDibHeader(b, kFileHeaderSize, 1, bits);  // the palette stops at the pixels
    }
    return h;
}

}  // namespace

std::optional<ImageSize> MeasureBmp(std::span<const std::uint8_t> bytes) {
    std::size_t bits = 0;
    const std::optional<DibHeader> h = read_header(ByteView(bytes), bits);
    if (!h) return std::nullopt;
    return ImageSize{h->width, h->height};
}

std::optional<DecodedImage> DecodeBmp(std::span<const std::uint8_t> bytes) {
    const ByteView b(bytes);
    std::size_t bits = 0;
    const std::optional<DibHeader> h = read_header(b, bits);
    if (!h) return std::nullopt;

    const bool keep_alpha = h->bit_fields() && h->masks[3] != 0;
    DecodedImage image;
    image.width = h->width;
    image.height = h->height;
    image.bgra = DecodeDibPixels(*h, b, bits, keep_alpha);
    if (keep_alpha) {
        bool any = false;
        for (std::size_t i = 3; i < image.bgra.size() && !any; i += 4) any = image.bgra[i] != 0;
        if (!any) {
            for (std::size_t i = 3; i < image.bgra.size(); i += 4) image.bgra[i] = 255;
        }
    }
    return image;
}

}  // namespace dz
