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

// Visits the points of ForEachLinePoint(x1, y1, x2, y2) that lie in `clip`, in the same
// order, in steps bounded by the clip's size rather than the line's length: the walk
// starts where the line enters the clip's span of the longer axis, with the rounding
// error it has there.
template <class Visit>
void ForEachLinePointIn(int x1, int y1, int x2, int y2, const Rect& clip, Visit&& visit) {
    if (clip.empty()) return;
    const long long dx = std::llabs(static_cast<long long>(x2) - x1);
    const long long dy = std::llabs(static_cast<long long>(y2) - y1);
    const bool x_major = dx > dy;
    const long long major = x_major ? dx : dy, minor = x_major ? dy : dx;
    if (major == 0) return;
    const int step = x_major ? (x2 > x1 ? 1 : -1) : (y2 > y1 ? 1 : -1);
    const int minor_step = x_major ? (y2 > y1 ? 1 : -1) : (x2 > x1 ? 1 : -1);
    const long long start = x_major ? x1 : y1;
    const long long lo = x_major ? clip.left : clip.top;
    const long long hi = x_major ? clip.right : clip.bottom;
    // Steps i of [0, major) whose major coordinate start + step * i lies in [lo, hi).
    long long first = step > 0 ? lo - start : start - hi + 1;
    long long last = step > 0 ? hi - start : start - lo + 1;
    if (first < 0) first = 0;
    if (last > major) last = major;
    if (first >= last) return;
    // After i steps the minor coordinate has moved k times, k the one value that keeps the
    // error major - 2 * minor * i + 2 * major * k in [0, 2 * major).
    const __int128 behind = static_cast<__int128>(2) * minor * first - major;
    const long long k =
        behind <= 0 ? 0 : static_cast<long long>((behind + 2 * major - 1) / (2 * major));
    long long err = static_cast<long long>(major - static_cast<__int128>(2) * minor * first +
                                           static_cast<__int128>(2) * major * k);
    long long along = start + step * first;
    long long across = (x_major ? y1 : x1) + minor_step * k;
    for (long long i = first; i < last; ++i) {
        const int x = static_cast<int>(x_major ? along : across);
        const int y = static_cast<int>(x_major ? across : along);
        if (clip.contains(x, y)) visit(x, y);
        err -= 2 * minor;
        along += step;
        if (err < 0) {
            across += minor_step;
            err += 2 * major;
        }
    }
}

}  // namespace dz
