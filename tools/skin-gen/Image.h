#pragma once
// An RGB image (row 0 at the top) and a one-bit pattern drawn into it.

#include <string_view>
#include <vector>

#include "Palette.h"

namespace skingen {

// Rows of characters: '.' and ' ' are empty, any other character is ink.
class Pattern {
public:
    Pattern() = default;
    Pattern(std::initializer_list<std::string_view> rows);
    explicit Pattern(std::vector<std::string_view> rows);

    int width() const { return width_; }
    int height() const { return static_cast<int>(rows_.size()); }
    bool ink(int x, int y) const;
    char at(int x, int y) const;  // '.' outside

private:
    std::vector<std::string_view> rows_;
    int width_ = 0;
};

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgb fill);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // All drawing is clipped to the image.
    void set(int x, int y, Rgb c);
    void fill(int x, int y, int w, int h, Rgb c);
    void hline(int x0, int x1, int y, Rgb c) { fill(x0, y, x1 - x0 + 1, 1, c); }
    void vline(int x, int y0, int y1, Rgb c) { fill(x, y0, 1, y1 - y0 + 1, c); }
    // Copies the w×h rectangle at (sx, sy) of `src` to (dx, dy).
    void copy(const Image& src, int sx, int sy, int w, int h, int dx, int dy);
    // The ink of `p` at (x, y) in colour c.
    void draw(const Pattern& p, int x, int y, Rgb c);
    // The ink in c with a shadow in `shadow` at (+1, +1) where the ink itself is not.
    void draw_shadowed(const Pattern& p, int x, int y, Rgb c, Rgb shadow);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

}  // namespace skingen
