#pragma once
// One drawing primitive as a value: what it draws, where, and the clip it was given.
// Two equal operations on equal source pixels write equal pixels, and an operation
// writes nothing outside bounds(). Coordinates are back-buffer pixels.

#include <cstdint>
#include <string>

#include "edx/EdxImage.h"
#include "platform/TextRenderer.h"

namespace dz {

class EdxBody;

struct EdxDrawOp {
    enum class Kind : std::uint8_t { Copy, Stretch, Pixel, Line, Fill, Text };

    Kind kind = Kind::Fill;
    const EdxBody* body = nullptr;  // the body that drew it
    Rect clip;
    // Copy: destination (x, y), source (sx, sy), size (w, h).
    // Stretch: destination (x, y, w, h), source (sx, sy, sw, sh).
    // Pixel: (x, y). Line: (x, y) to (w, h). Fill: the rectangle (x, y) to (w, h).
    // Text: top-left (x, y), font height h.
    int x = 0, y = 0, w = 0, h = 0;
    int sx = 0, sy = 0, sw = 0, sh = 0;
    ColorRef colour = 0;
    // The source image, with the id and version its pixels had when the operation was made.
    const EdxImage* image = nullptr;
    std::uint64_t image_id = 0;
    std::uint64_t image_version = 0;
    TextRenderer* renderer = nullptr;
    std::string text;

    friend bool operator==(const EdxDrawOp&, const EdxDrawOp&) = default;

    // The pixels it may write: its clip cut to the area it covers.
    Rect bounds() const;
    // Draws it into `back`, cut to `clip` as well as to its own clip.
    void execute(EdxImage& back, const Rect& clip) const;
};

}  // namespace dz
