#pragma once
// The one font all text is drawn with: the system's default face at a pixel
// height. The text renderer of the platform turns it into glyphs.

#include <cstdint>

namespace dz {

class EdxFont {
public:
    explicit EdxFont(std::int32_t h = 12) : height(h) {}
    virtual ~EdxFont() = default;

    void set_height(std::int32_t h) { height = h; }

    std::int32_t height;
    std::int32_t char_set = 1;  // DEFAULT_CHARSET
};

}  // namespace dz
