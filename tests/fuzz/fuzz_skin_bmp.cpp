// Fuzzes the BMP decoder: any bytes decode or are refused, never read outside the input,
// and a decoded image has 4 bytes for each of its pixels and at most 16 M pixels.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/BmpDecoder.h"
#include "skin/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<dz::DecodedImage> image = dz::DecodeBmp(std::span(data, size));
    if (!image) return 0;
    const std::uint64_t pixels = std::uint64_t(image->width) * std::uint64_t(image->height);
    if (image->width <= 0 || image->height <= 0 || pixels > dz::kMaxDibPixels ||
        image->bgra.size() != pixels * 4) {
        std::abort();
    }
    return 0;
}
