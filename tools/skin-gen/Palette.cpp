#include "Palette.h"

#include <cmath>
#include <initializer_list>

namespace skingen {

namespace {

int channel(Rgb c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

}  // namespace

Rgb blend(Rgb a, Rgb b, double t) {
    Rgb out = 0;
    for (int shift : {16, 8, 0}) {
        const double v = channel(a, shift) * (1.0 - t) + channel(b, shift) * t;
        out |= static_cast<Rgb>(std::nearbyint(v)) << shift;  // ties to even
    }
    return out;
}

Rgb main_body_row(int row) {
    return blend(pal::kPanel, pal::kPanelLo, (row - 14) / 101.0);
}

Rgb playlist_body_row(int row, int height) {
    return blend(pal::kPanel, pal::kPanelLo, row / static_cast<double>(height - 1));
}

Rgb title_row(int row, int span, bool active) {
    const double t = (row - 2) / static_cast<double>(span);
    return active ? blend(pal::kTitleHi, pal::kTitleLo, t)
                  : blend(pal::kTitleHiIn, pal::kTitleLoIn, t);
}

}  // namespace skingen
