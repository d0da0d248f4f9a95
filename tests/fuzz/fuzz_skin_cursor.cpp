// Fuzzes the cursor decoder (CUR, ICO and ANI): a decoded cursor has 4 bytes for each of
// its pixels and its hotspot inside it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/CursorDecoder.h"
#include "skin/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<dz::DecodedImage> image = dz::DecodeCursor(std::span(data, size));
    if (!image) return 0;
    const std::uint64_t pixels = std::uint64_t(image->width) * std::uint64_t(image->height);
    if (image->width <= 0 || image->height <= 0 || pixels > dz::kMaxDibPixels ||
        image->bgra.size() != pixels * 4 || image->hot_x < 0 || image->hot_y < 0 ||
        image->hot_x >= image->width || image->hot_y >= image->height) {
        std::abort();
    }
    return 0;
}
