#include "Image.h"

#include <algorithm>

namespace skingen {

Pattern::Pattern(std::initializer_list<std::string_view> rows)
    : Pattern(std::vector<std::string_view>(rows)) {}

Pattern::Pattern(std::vector<std::string_view> rows) : rows_(std::move(rows)) {
    for (std::string_view r : rows_) width_ = std::max(width_, static_cast<int>(r.size()));
}

char Pattern::at(int x, int y) const {
    if (y < 0 || y >= height() || x < 0) return '.';
    const std::string_view row = rows_[static_cast<size_t>(y)];
    return x < static_cast<int>(row.size()) ? row[static_cast<size_t>(x)] : '.';
}

bool Pattern::ink(int x, int y) const {
    const char c = at(x, y);
    return c != '.' && c != ' ';
}

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Image::set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Image::fill(int x, int y, int w, int h, Rgb c) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
    for (int yy = y0; yy < y1; ++yy)
        std::fill(pixels_.begin() + static_cast<long>(yy) * width_ + x0,
                  pixels_.begin() + static_cast<long>(yy) * width_ + x1, c);
}

void Image::copy(const Image& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (sx + x >= 0 && sy + y >= 0 && sx + x < src.width_ && sy + y < src.height_)
                set(dx + x, dy + y, src.at(sx + x, sy + y));
}

void Image::draw(const Pattern& p, int x, int y, Rgb c) {
    for (int py = 0; py < p.height(); ++py)
        for (int px = 0; px < p.width(); ++px)
            if (p.ink(px, py)) set(x + px, y + py, c);
}

void Image::draw_shadowed(const Pattern& p, int x, int y, Rgb c, Rgb shadow) {
    for (int py = 0; py <= p.height(); ++py)
        for (int px = 0; px <= p.width(); ++px)
            if (!p.ink(px, py) && p.ink(px - 1, py - 1)) set(x + px, y + py, shadow);
    draw(p, x, y, c);
}

}  // namespace skingen
