#include "edx/EdxDrawOp.h"

#include <algorithm>

#include "edx/EdxRaster.h"

namespace dz {

Rect EdxDrawOp::bounds() const {
    switch (kind) {
        case Kind::Copy:
        case Kind::Stretch:
            return intersect(clip, Rect{x, y, x + w, y + h});
        case Kind::Pixel:
            return intersect(clip, Rect{x, y, x + 1, y + 1});
        case Kind::Line:
            return intersect(
                clip, Rect{std::min(x, w), std::min(y, h), std::max(x, w) + 1, std::max(y, h) + 1});
        case Kind::Fill:
            return intersect(clip, Rect{x, y, w, h});
        case Kind::Text:
            return clip;
    }
    return clip;
}

void EdxDrawOp::execute(EdxImage& back, const Rect& limit) const {
    const Rect c = intersect(clip, limit);
    if (c.empty()) return;
    switch (kind) {
        case Kind::Copy:
            if (image) RasterCopy(back, c, x, y, *image, sx, sy, w, h);
            break;
        case Kind::Stretch:
            if (image) RasterStretch(back, c, x, y, w, h, *image, sx, sy, sw, sh);
            break;
        case Kind::Pixel:
            RasterPixel(back, c, x, y, colour);
            break;
        case Kind::Line:
            RasterLine(back, c, x, y, w, h, colour);
            break;
        case Kind::Fill:
            RasterFill(back, c, Rect{x, y, w, h}, colour);
            break;
        case Kind::Text:
            if (renderer) {
                FrameBuffer frame{back.pixels(), back.width(), back.height(), back.stride()};
                renderer->draw(frame, c, x, y, text, colour, h);
            }
            break;
    }
}

}  // namespace dz
