#pragma once
// Frame contents as rows of characters, for pixel-exact expectations: '.' is pure
// black, 'A', 'B', ... are the colours of a legend, '?' anything else.

#include <string>
#include <vector>

#include "edx/EdxImage.h"

namespace dz {

inline std::vector<std::string> Grid(const EdxImage& image, const std::vector<ColorRef>& legend) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            ColorRef c = image.pixel(x, y);
            char ch = c == 0 ? '.' : '?';
            for (std::size_t i = 0; i < legend.size(); ++i) {
                if (legend[i] == c) ch = char('A' + i);
            }
            row += ch;
        }
        rows.push_back(row);
    }
    return rows;
}

// An image of one colour.
inline void FillImage(EdxImage& image, int width, int height, ColorRef c) {
    image.fill_blank(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = image.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = (c >> 16) & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = c & 0xFF;
        }
    }
}

inline void PutPixel(EdxImage& image, int x, int y, ColorRef c) {
    std::uint8_t* p = image.row(y) + 3 * x;
    p[0] = (c >> 16) & 0xFF;
    p[1] = (c >> 8) & 0xFF;
    p[2] = c & 0xFF;
}

}  // namespace dz
