#pragma once
// The skin bitmaps, each at its standard size, with every sprite at the coordinates the
// player window and the playlist editor draw it from. Unused areas are one flat colour.

#include <string>
#include <vector>

#include "Image.h"

namespace skingen {

struct NamedBitmap {
    std::string name;  // file name, e.g. "MAIN.BMP"
    Image image;
};

std::vector<NamedBitmap> skin_bitmaps();

}  // namespace skingen
