#pragma once
// Text in the system's default face, drawn into the frame (bytes are code page 932,
// converted to Unicode for drawing).
//
// The font height is the character cell (a positive font height in the system's own
// terms): text is `height` pixels high, ascent plus descent. The glyphs are the largest
// whole pixel size whose own ascent plus descent fits the cell; a pixel left over is
// leading at the top of the cell. A run of text is shaped and rasterised once into a
// coverage mask and kept; drawing blends the colour through the mask, so a run gives the
// same pixels wherever it is drawn and whatever part of it the clip lets through.
//
// Threads: one thread at a time (the worker, or the UI thread before the worker starts);
// the caches have no lock. Painting a QImage needs no GUI thread.

#include <QFont>
#include <QImage>
#include <map>
#include <string>
#include <unordered_map>

#include "platform/TextRenderer.h"

namespace dz {

class QtTextRenderer : public TextRenderer {
public:
    void draw(FrameBuffer& target, const Rect& clip, int x, int y, std::string_view text,
              ColorRef colour, int height) override;
    TextSize measure(std::string_view text, int height) override;

    // The cell of a font height: ascent (leading included) and descent, in pixels.
    struct Cell {
        int ascent = 0;
        int descent = 0;
    };
    Cell cell(int height) { return face(height).cell; }

private:
    struct Face {
        QFont font;
        Cell cell;
    };
    // A rasterised run: coverage (0-255) of the text whose top-left is at (-left, -top) of
    // the mask.
    struct Run {
        QImage mask;
        int left = 0;
        int top = 0;
    };
    const Face& face(int height);
    const Run& run(std::string_view text, int height);

    std::map<int, Face> faces_;
    std::unordered_map<std::string, Run> runs_;
    std::unordered_map<std::string, TextSize> sizes_;
};

}  // namespace dz
