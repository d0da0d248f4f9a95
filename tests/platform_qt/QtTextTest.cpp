// Text in the world font: the default UI face at 12 pixels, Japanese (code page 932)
// from the installed CJK font, cut to the clip.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/qt/QtTextRenderer.h"

namespace dz {
namespace {

struct Frame {
    int width = 24, height = 16;
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(24 * 3 * 16, 0);
    FrameBuffer view{pixels.data(), width, height, width * 3};
    // The positions of pixels that are not black.
    std::set<int> ink() const {
        std::set<int> out;
        for (int i = 0; i < width * height; ++i) {
            if (pixels[3 * i] || pixels[3 * i + 1] || pixels[3 * i + 2]) out.insert(i);
        }
        return out;
    }
};

TEST(QtTextTest, JapaneseGlyphsComeFromTheCjkFont) {
    QtTextRenderer text;
    Frame sun, book;  // 日 and 本 in code page 932
    text.draw(sun.view, Rect{0, 0, 24, 16}, 0, 0, "\x93\xfa", 0xFFFFFF, 12);
    text.draw(book.view, Rect{0, 0, 24, 16}, 0, 0, "\x96\x7b", 0xFFFFFF, 12);
    EXPECT_GT(sun.ink().size(), 10u);
    EXPECT_GT(book.ink().size(), 10u);
    EXPECT_NE(sun.ink(), book.ink()) << "the same box for both: no glyphs";
    EXPECT_GT(text.measure("\x93\xfa\x96\x7b", 12).cx, text.measure("\x93\xfa", 12).cx);
}

TEST(QtTextTest, TwelvePixelTextStaysInsideTheClip) {
    QtTextRenderer text;
    TextSize size = text.measure("Ag", 12);
    EXPECT_GE(size.cy, 12);
    EXPECT_LE(size.cy, 18);
    Frame f;
    text.draw(f.view, Rect{0, 0, 6, 16}, 0, 0, "WWW", 0x00FF00, 12);
    ASSERT_FALSE(f.ink().empty());
    for (int i : f.ink()) EXPECT_LT(i % f.width, 6) << "drawn outside the clip";
    // Colours are 0x00BBGGRR: green lands in the green byte.
    EXPECT_EQ(f.pixels[3 * *f.ink().begin()], 0);
}

}  // namespace
}  // namespace dz
