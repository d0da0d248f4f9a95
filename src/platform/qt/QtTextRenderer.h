#pragma once
// Text in the system's default face at a pixel height, drawn with QPainter into
// the frame (bytes are code page 932, converted to Unicode for drawing).
// Worker thread: painting a QImage needs no GUI thread.

#include "platform/TextRenderer.h"

namespace dz {

class QtTextRenderer : public TextRenderer {
public:
    void draw(FrameBuffer& target, const Rect& clip, int x, int y, std::string_view text,
              ColorRef colour, int height) override;
    TextSize measure(std::string_view text, int height) override;
};

}  // namespace dz
