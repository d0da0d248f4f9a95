#pragma once
// Pixel operations on a 24-bit image, in image pixels, cut to a clip rectangle
// and to the image. These carry the raster rules of the drawing primitives:
//  - copies write only pixels whose source lies inside the source image;
//  - a stretch maps destination pixel i of a span of D to the source pixels
//    [i*S/D, (i+1)*S/D) of a span of S (at least one); when it shrinks, the
//    source pixels that meet in one destination pixel are combined with AND
//    (the default stretch mode, which keeps dark pixels on light ones);
//  - a line covers its start point and not its end point;
//  - rectangles are given right and bottom exclusive.
// An image without a bitmap is never touched.

#include <cstdlib>

#include "edx/EdxImage.h"

namespace dz {

// Writes `colour` (0x00BBGGRR) at (x, y) when the point is inside the clip and the image.
void RasterPixel(EdxImage& image, const Rect& clip, int x, int y, ColorRef colour);
// Fills `r` with `colour`.
void RasterFill(EdxImage& image, const Rect& clip, const Rect& r, ColorRef colour);
// Copies the w x h block at (sx, sy) of `src` to (dx, dy).
void RasterCopy(EdxImage& dst, const Rect& clip, int dx, int dy, const EdxImage& src, int sx,
                int sy, int w, int h);
// Stretches the sw x sh block at (sx, sy) of `src` onto the dw x dh block at (dx, dy).
// Sizes of 0 or less draw nothing.
void RasterStretch(EdxImage& dst, const Rect& clip, int dx, int dy, int dw, int dh,
                   const EdxImage& src, int sx, int sy, int sw, int sh);
// The line from (x1, y1) to (x2, y2) without its end point.
void RasterLine(EdxImage& image, const Rect& clip, int x1, int y1, int x2, int y2, ColorRef colour);

// Visits every point of the line from (x1, y1) towards (x2, y2), the start point
// included and the end point excluded (nothing when both are equal). Steps along the
// longer axis; the other coordinate is rounded to the nearest pixel.
template <class Visit>
void ForEachLinePoint(int x1, int y1, int x2, int y2, Visit&& visit) {
    const long dx = std::labs(long(x2) - x1), dy = std::labs(long(y2) - y1);
    const int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
    const long steps = dx > dy ? dx : dy;
    // Twice the error of the minor coordinate, so rounding halves stays integral.
    const long major = steps, minor = dx > dy ? dy : dx;
    long err = major;  // rounding to nearest: start half a step in
    int x = x1, y = y1;
    for (long i = 0; i < steps; ++i) {
        visit(x, y);
        err -= 2 * minor;
        if (dx > dy) {
            x += sx;
            if (err < 0) {
                y += sy;
                err += 2 * major;
            }
        } else {
            y += sy;
            if (err < 0) {
                x += sx;
                err += 2 * major;
            }
        }
    }
}

}  // namespace dz
