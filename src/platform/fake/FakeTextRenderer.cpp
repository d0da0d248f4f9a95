#include "platform/fake/FakeTextRenderer.h"

namespace dz {

void FakeTextRenderer::draw(FrameBuffer& target, const Rect& clip, int x, int y,
                            std::string_view text, ColorRef colour, int height) {
    Rect area = intersect(clip, Rect{0, 0, target.width, target.height});
    const int w = height / 2;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Spaces leave a gap, like a glyph without ink.
        if (text[i] == ' ') continue;
        Rect box = intersect(area, Rect{x + int(i) * w, y, x + int(i + 1) * w, y + height});
        for (int py = box.top; py < box.bottom; ++py) {
            std::uint8_t* p = target.pixels + py * target.stride + 3 * box.left;
            for (int px = box.left; px < box.right; ++px, p += 3) {
                p[0] = (colour >> 16) & 0xFF;
                p[1] = (colour >> 8) & 0xFF;
                p[2] = colour & 0xFF;
            }
        }
    }
}

}  // namespace dz
