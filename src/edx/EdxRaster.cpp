#include "edx/EdxRaster.h"

#include <algorithm>
#include <vector>

namespace dz {

namespace {

// The clip cut to the image; empty when the image has no bitmap.
Rect Bounds(const EdxImage& image, const Rect& clip) {
    if (!image.has_bitmap()) return Rect{};
    return intersect(clip, Rect{0, 0, image.width(), image.height()});
}

void Put(std::uint8_t* p, ColorRef c) {
    p[0] = (c >> 16) & 0xFF;
    p[1] = (c >> 8) & 0xFF;
    p[2] = c & 0xFF;
}

// One axis of a stretch: for each destination index, the first source index and the
// number of source pixels that meet there.
struct Span {
    int first;
    int count;
};
std::vector<Span> MapAxis(int dst_size, int src_size) {
    std::vector<Span> spans(static_cast<std::size_t>(dst_size));
    for (int i = 0; i < dst_size; ++i) {
        long long a = static_cast<long long>(i) * src_size / dst_size;
        long long b = static_cast<long long>(i + 1) * src_size / dst_size;
        spans[std::size_t(i)] = Span{int(a), int(std::max<long long>(b - a, 1))};
    }
    return spans;
}

}  // namespace

void RasterPixel(EdxImage& image, const Rect& clip, int x, int y, ColorRef colour) {
    if (!Bounds(image, clip).contains(x, y)) return;
    Put(image.row(y) + 3 * x, colour);
}

void RasterFill(EdxImage& image, const Rect& clip, const Rect& r, ColorRef colour) {
    Rect area = intersect(Bounds(image, clip), r);
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* p = image.row(y) + 3 * area.left;
        for (int x = area.left; x < area.right; ++x, p += 3) Put(p, colour);
    }
}

void RasterCopy(EdxImage& dst, const Rect& clip, int dx, int dy, const EdxImage& src, int sx,
                int sy, int w, int h) {
    if (!src.has_bitmap() || w <= 0 || h <= 0) return;
    // The source block cut to the source image, moved to the destination.
    Rect from = intersect(Rect{sx, sy, sx + w, sy + h}, Rect{0, 0, src.width(), src.height()});
    if (from.empty()) return;
    Rect to{from.left - sx + dx, from.top - sy + dy, from.right - sx + dx, from.bottom - sy + dy};
    Rect area = intersect(Bounds(dst, clip), to);
    if (area.empty()) return;
    const std::size_t bytes = 3 * std::size_t(area.width());
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* s = src.pixels() + std::size_t(y - dy + sy) * src.stride() +
                                3 * std::size_t(area.left - dx + sx);
        std::copy(s, s + bytes, dst.row(y) + 3 * area.left);
    }
}

void RasterStretch(EdxImage& dst, const Rect& clip, int dx, int dy, int dw, int dh,
                   const EdxImage& src, int sx, int sy, int sw, int sh) {
    if (!src.has_bitmap() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    Rect area = intersect(Bounds(dst, clip), Rect{dx, dy, dx + dw, dy + dh});
    if (area.empty()) return;
    const std::vector<Span> cols = MapAxis(dw, sw);
    const std::vector<Span> rows = MapAxis(dh, sh);
    const Rect inside{0, 0, src.width(), src.height()};
    for (int y = area.top; y < area.bottom; ++y) {
        const Span row = rows[std::size_t(y - dy)];
        std::uint8_t* out = dst.row(y) + 3 * area.left;
        for (int x = area.left; x < area.right; ++x, out += 3) {
            const Span col = cols[std::size_t(x - dx)];
            std::uint8_t acc[3] = {0xFF, 0xFF, 0xFF};
            bool any = false;
            for (int v = sy + row.first; v < sy + row.first + row.count; ++v) {
                for (int u = sx + col.first; u < sx + col.first + col.count; ++u) {
                    if (!inside.contains(u, v)) continue;
                    const std::uint8_t* s =
                        src.pixels() + std::size_t(v) * src.stride() + 3 * std::size_t(u);
                    acc[0] &= s[0];
                    acc[1] &= s[1];
                    acc[2] &= s[2];
                    any = true;
                }
            }
            if (!any) continue;
            out[0] = acc[0];
            out[1] = acc[1];
            out[2] = acc[2];
        }
    }
}

void RasterLine(EdxImage& image, const Rect& clip, int x1, int y1, int x2, int y2,
                ColorRef colour) {
    const Rect area = Bounds(image, clip);
    if (area.empty()) return;
    ForEachLinePointIn(x1, y1, x2, y2, area,
                       [&](int x, int y) { Put(image.row(y) + 3 * x, colour); });
}

}  // namespace dz
