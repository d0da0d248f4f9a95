#pragma once
// The one font all text is drawn with: the system's default face at a pixel
// height, character set DEFAULT_CHARSET. The platform's text renderer turns it
// into glyphs; without a renderer no text is drawn and every measurement is 0.
//
// Threads: the world's font is used by the worker thread only (by the UI thread
// before the worker starts).

#include <cstdint>

#include "platform/TextRenderer.h"

namespace dz {

class EdxFont {
public:
    static constexpr std::int32_t kDefaultCharSet = 1;

    explicit EdxFont(std::int32_t h = 12) : height(h) {}
    virtual ~EdxFont() = default;
    EdxFont(const EdxFont&) = delete;
    EdxFont& operator=(const EdxFont&) = delete;

    void set_height(std::int32_t h) { height = h; }

    std::int32_t height;  // pixels; 12 for the world's font
    std::int32_t char_set = kDefaultCharSet;
    // Draws and measures text in this font; not owned, outlives the font. May be null.
    TextRenderer* renderer = nullptr;
};

}  // namespace dz
