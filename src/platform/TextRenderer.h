#pragma once
// Text in the one world font, drawn into a 24-bit frame buffer. Worker thread.

#include <cstdint>
#include <string_view>

#include "platform/Geometry.h"

namespace dz {

// A writable 24-bit frame (bytes blue, green, red; rows top-down).
struct FrameBuffer {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

struct TextSize {
    int cx = 0;
    int cy = 0;
};

class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    // Draws `text` (8-bit string, code page 932) with its top-left at (x, y), transparent
    // background, in `colour` (0x00BBGGRR), cut to `clip`. `height` is the font height.
    virtual void draw(FrameBuffer& target, const Rect& clip, int x, int y, std::string_view text,
                      ColorRef colour, int height) = 0;
    // Width and height of `text`; nullopt-like zero size when it cannot be measured.
    virtual TextSize measure(std::string_view text, int height) = 0;
};

}  // namespace dz
