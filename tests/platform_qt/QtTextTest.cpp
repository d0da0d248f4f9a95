// Text in the world font: the default UI face in a 12-pixel cell, Japanese (code page
// 932) from the installed CJK font, cut to the clip.
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

TEST(QtTextTest, TheFontHeightIsTheCharacterCell) {
    QtTextRenderer text;
    for (int height : {12, 16}) {
        const QtTextRenderer::Cell cell = text.cell(height);
        EXPECT_EQ(cell.ascent + cell.descent, height);
        EXPECT_EQ(text.measure("Ag", height).cy, height);
    }
    // No ink above the cell or below it: rows 2 to 13 of the frame for a cell at y = 2.
    Frame f;
    text.draw(f.view, Rect{0, 0, 24, 16}, 0, 2, "\xc9gj", 0xFFFFFF, 12);
    ASSERT_FALSE(f.ink().empty());
    for (int i : f.ink()) {
        EXPECT_GE(i / f.width, 2);
        EXPECT_LT(i / f.width, 14);
    }
}

TEST(QtTextTest, ARunGivesTheSamePixelsWhereverTheClipCutsIt) {
    QtTextRenderer text;
    Frame whole, left, right;
    text.draw(whole.view, Rect{0, 0, 24, 16}, 1, 1, "Wag", 0x20C0FF, 12);
    text.draw(left.view, Rect{0, 0, 9, 16}, 1, 1, "Wag", 0x20C0FF, 12);
    text.draw(right.view, Rect{9, 0, 24, 16}, 1, 1, "Wag", 0x20C0FF, 12);
    ASSERT_FALSE(whole.ink().empty());
    for (std::size_t i = 0; i < whole.pixels.size(); ++i)
        EXPECT_EQ(whole.pixels[i], (i / 3) % 24 < 9 ? left.pixels[i] : right.pixels[i]) << i;
}

TEST(QtTextTest, TextStaysInsideTheClip) {
    QtTextRenderer text;
    Frame f;
    text.draw(f.view, Rect{0, 0, 6, 16}, 0, 0, "WWW", 0x00FF00, 12);
    ASSERT_FALSE(f.ink().empty());
    for (int i : f.ink()) EXPECT_LT(i % f.width, 6) << "drawn outside the clip";
    // Colours are 0x00BBGGRR: green lands in the green byte.
    EXPECT_EQ(f.pixels[3 * *f.ink().begin()], 0);
}

}  // namespace
}  // namespace dz
