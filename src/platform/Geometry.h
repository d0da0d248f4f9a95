#pragma once
// Plain geometry and pixel records shared by the core and the platform.

#include <cstdint>

namespace dz {

// A point in pixels (signed 32-bit, like POINT).
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle in pixels (like RECT): left and top inclusive, right and bottom exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Intersection of two rectangles; empty (all zero) when they do not overlap.
inline Rect intersect(const Rect& a, const Rect& b) {
    Rect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
           a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (r.empty()) return Rect{};
    return r;
}

// A read-only view of a finished frame: 24-bit pixels, bytes blue, green, red,
// rows top-down, `stride` bytes per row. `zoom` is the display scale (1.0 or 2.0).
struct FrameView {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    double zoom = 1.0;
};

// Colour reference 0x00BBGGRR.
using ColorRef = std::uint32_t;

}  // namespace dz
