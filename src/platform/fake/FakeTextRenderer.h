#pragma once
// Text for tests without fonts: every byte is a filled box `height / 2` wide and
// `height` high, so widths and drawn pixels are exact and font-free.

#include "platform/TextRenderer.h"

namespace dz {

class FakeTextRenderer : public TextRenderer {
public:
    void draw(FrameBuffer& target, const Rect& clip, int x, int y, std::string_view text,
              ColorRef colour, int height) override;
    TextSize measure(std::string_view text, int height) override {
        return TextSize{static_cast<int>(text.size()) * (height / 2), height};
    }
};

}  // namespace dz
