// The drawing primitives on tiny frames, pixel for pixel, and the shape cut.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "PixelGrid.h"
#include "edx/EdxCodes.h"
#include "edx/EdxDraw.h"
#include "edx/EdxRaster.h"
#include "edx/EdxRender.h"
#include "edx/EdxShape.h"
#include "platform/fake/FakeTextRenderer.h"
#include "platform/fake/FakeWindowHost.h"

namespace dz {
namespace {

using Rows = std::vector<std::string>;

constexpr ColorRef kA = 0x0000FF, kB = 0x00FF00, kC = 0xFF0000, kD = 0x808080;
constexpr ColorRef kWhite = 0xFFFFFF;

class DrawTest : public ::testing::Test {
protected:
    // A world of width x height with buffers, clip on the whole frame, and one body.
    EdxBody* frame(int width, int height, Rect body_rect) {
        world.rect = Rect{0, 0, width, height};
        RecreateBuffers(&world);
        world.clip = world.rect;
        return CreateBody(&world, EdxBodyInfo{nullptr, body_rect, 1, 0});
    }
    Rows grid(std::vector<ColorRef> legend = {kA, kB, kC, kD}) {
        return Grid(world.back_buffer, legend);
    }
    FakeWindowHost host;
    EdxWorld world{&host};
};

// Each body draws the image of its tag (null: missing from the skin) over itself.
const EdxImage* g_images[4] = {};
int DrawsItsImage(EdxBody* body, int code, TAG_USERDATA*) {
    if (code == EDX_DRAW) DrawImage(body, g_images[body->tag]);
    return 0;
}

TEST_F(DrawTest, ClipIsTheBodyCutByItsParentNotByTheGrandparent) {
    EdxImage a, b, c;
    FillImage(a, 8, 8, kA);
    FillImage(b, 8, 8, kB);
    FillImage(c, 8, 8, kC);
    g_images[0] = &a;
    g_images[1] = &b;
    g_images[2] = &c;
    g_images[3] = nullptr;
    world.rect = Rect{0, 0, 10, 6};
    RecreateBuffers(&world);
    RasterFill(world.back_buffer, world.rect, world.rect, kD);
    EdxBody* pa = CreateBody(&world, EdxBodyInfo{DrawsItsImage, {0, 0, 4, 4}, 1, 0});
    EdxBody* pb = CreateBody(pa, EdxBodyInfo{DrawsItsImage, {2, 2, 7, 6}, 1, 1});
    CreateBody(pb, EdxBodyInfo{DrawsItsImage, {2, 0, 5, 2}, 1, 2});       // outside pa, inside pb
    CreateBody(&world, EdxBodyInfo{DrawsItsImage, {8, 0, 10, 2}, 1, 3});  // missing image
    world.clip = world.rect;
    Broadcast(&world, EDX_DRAW);
    EXPECT_EQ(grid(), (Rows{"AAAADDDDDD",  //
                            "AAAADDDDDD",  //
                            "AABBCCCDDD",  //
                            "AABBCCCDDD",  //
                            "DDDDDDDDDD",  //
                            "DDDDDDDDDD"}));
}

TEST_F(DrawTest, DrawPartCopiesOnlyWhatTheSourceHas) {
    EdxBody* body = frame(5, 3, Rect{1, 1, 5, 3});
    EdxImage src;
    src.fill_blank(3, 2);
    PutPixel(src, 0, 0, kD);
    PutPixel(src, 1, 0, kA);
    PutPixel(src, 2, 0, kB);
    PutPixel(src, 1, 1, kC);
    PutPixel(src, 2, 1, kA);
    // Three columns asked from x 1: the third lies outside the source and is not drawn.
    RasterFill(world.back_buffer, world.rect, world.rect, kD);
    DrawPart(body, 0, 0, &src, 1, 0, 3, 2);
    DrawPart(body, 0, 0, nullptr, 0, 0, 3, 2);
    EXPECT_EQ(grid(), (Rows{"DDDDD", "DABDD", "DCADD"}));
}

TEST_F(DrawTest, LinesLeaveOutTheirEndPointAndEqualEndsSetOnePixel) {
    EdxBody* body = frame(6, 5, Rect{1, 0, 6, 5});  // lines start at the body's left edge
    DrawLine(body, 0, 4, 0, kA);
    DrawLine(body, 2, 2, 4, kB);
    DrawLine(body, 4, 0, 4, kC);
    EXPECT_EQ(grid(), (Rows{".AAAA.",  //
                            "......",  //
                            ".B....",  //
                            "..B...",  //
                            ".C...."}));
}

TEST_F(DrawTest, RectanglesExcludeRightAndBottomAndFillOnlyWhenFilledIsOne) {
    EdxBody* body = frame(9, 4, Rect{1, 0, 9, 4});  // rectangles start at the body's top
    DrawRect(body, 0, 3, 3, kA, 1);
    DrawRect(body, 4, 7, 4, kB, 2);       // any value but 1 is hollow
    DrawRect(body, 8, 7, 2, kC, 1);       // reversed corners
    EXPECT_EQ(grid(), (Rows{".AAA.BBBC",  //
                            ".AAA.B.BC",  //
                            ".AAA.B.B.",  //
                            ".....BBB."}));
}

TEST_F(DrawTest, PixelsAreClippedToTheCurrentClip) {
    EdxBody* body = frame(4, 2, Rect{0, 0, 4, 2});
    world.clip = Rect{1, 0, 3, 2};
    DrawPixel(body, 0, 0, kA);
    DrawPixel(body, 1, 0, kA);
    DrawPixel(body, 3, 1, kA);
    DrawPixel(body, 2, 1, kB);
    DrawPixel(body, 9, 9, kB);
    EXPECT_EQ(grid(), (Rows{".A..", "..B."}));
}

// A 26 x 2 source: the 25-pixel strip is white but for column 7 (red) and 13 (green) in
// row 0 and column 22 (blue) in row 1; column 25, outside the strip, is grey.
void StripSource(EdxImage& src) {
    FillImage(src, 26, 2, kWhite);
    PutPixel(src, 7, 0, kA);
    PutPixel(src, 13, 0, kB);
    PutPixel(src, 22, 1, kC);
    PutPixel(src, 25, 0, kD);
    PutPixel(src, 25, 1, kD);
}

TEST_F(DrawTest, StretchShrinkingAndsThePixelsThatMeet) {
    EdxBody* body = frame(5, 1, Rect{0, 0, 5, 1});
    EdxImage src;
    StripSource(src);
    // Columns 0-4, 5-9, ... meet in one pixel each; rows 0 and 1 meet too.
    DrawStretch(body, 0, 5, 1, &src, 0, 0, 2);
    EXPECT_EQ(grid({kA, kB, kC, kD, kWhite}), (Rows{"EABEC"}));
}

TEST_F(DrawTest, StretchEnlargingRepeatsTheStripAndNeverReadsPastIt) {
    EdxBody* body = frame(52, 3, Rect{1, 0, 52, 3});
    EdxImage src;
    StripSource(src);
    DrawStretch(body, 1, 51, 3, &src, 0, 0, 1);  // 25 -> 50 wide, 1 -> 3 high
    DrawStretch(body, 5, 5, 3, &src, 0, 0, 1);   // no width: nothing
    std::string row = "..";
    for (int d = 0; d < 50; ++d) row += d / 2 == 7 ? 'A' : d / 2 == 13 ? 'B' : 'E';
    EXPECT_EQ(grid({kA, kB, kC, kD, kWhite}), (Rows{row, row, row}));
}

TEST_F(DrawTest, TextIsFormattedInto2048BytesAndDrawnInTheWorldFont) {
    FakeTextRenderer text;  // every byte a box height / 2 wide, height high
    EdxBody* body = frame(8, 3, Rect{1, 1, 7, 3});
    EXPECT_EQ(MeasureTextWidth(body, "%d", 42), 0) << "no renderer: nothing to measure with";
    world.font.renderer = &text;
    world.font.set_height(2);
    world.clip = Rect{1, 1, 7, 3};
    DrawBodyTextF(body, 0, 0, kA, "%s %d", "ab", 7);  // "ab 7": the space leaves a gap
    DrawBodyText(body, 5, 0, "xyz", kB);              // cut at the clip after one byte
    EXPECT_EQ(grid(), (Rows{"........", ".AA.A.B.", ".AA.A.B."}));
    const std::string longer(5000, 'x');
    EXPECT_EQ(MeasureTextWidth(body, "%s", longer.c_str()), 2047);
    EXPECT_EQ(MeasureTextHeight(body, "%s", "x"), 2);
}

TEST(ShapeTest, PolygonsKeepTheirInsideAndOutlineAndOverlapsAddUp) {
    EdxImage image;
    FillImage(image, 8, 6, kWhite);
    EdxPolygons polygons;
    polygons.polygons.resize(3);
    polygons.polygons[0].points = {{1, 1}, {3, 1}, {3, 2}, {1, 2}};
    polygons.polygons[1].points = {{2, 2}, {5, 2}, {5, 3}, {2, 3}};  // overlaps the first
    // polygons[2] has no points and is skipped.
    CutShape(image, Rect{0, 0, 8, 6}, Rect{0, 0, 7, 5}, polygons, 0x000000);
    EXPECT_EQ(Grid(image, {kWhite}), (Rows{".......A",  //
                                           ".AAA...A",  //
                                           ".AAAAA.A",  //
                                           "..AAAA.A",  //
                                           ".......A",  //
                                           "AAAAAAAA"}));
}

TEST(ShapeTest, WindingRuleFillsAnOutlineWalkedTwice) {
    EdxImage image;
    FillImage(image, 6, 6, kWhite);
    EdxPolygons polygons;
    polygons.polygons.resize(1);
    // Twice round the same square: winding 2 inside, which an even-odd fill would leave out.
    polygons.polygons[0].points = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}, {0, 4}};
    CutShape(image, Rect{0, 0, 6, 6}, Rect{0, 0, 6, 6}, polygons, 0x000000);
    EXPECT_EQ(Grid(image, {kWhite}),
              (Rows{"AAAAA.", "AAAAA.", "AAAAA.", "AAAAA.", "AAAAA.", "......"}));
}

TEST(ShapeTest, KeptRunsFollowAChangeOfPolygonsOrRectangle) {
    EdxImage image;
    EdxShapeMask mask;
    EdxPolygons polygons;
    polygons.polygons.resize(1);
    polygons.polygons[0].points = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    FillImage(image, 4, 2, kWhite);
    mask.cut(image, Rect{0, 0, 4, 2}, Rect{0, 0, 4, 2}, polygons, 0);
    FillImage(image, 4, 2, kWhite);
    mask.cut(image, Rect{0, 0, 4, 2}, Rect{0, 0, 4, 2}, polygons, 0);
    EXPECT_EQ(mask.builds(), 1);
    EXPECT_EQ(Grid(image, {kWhite}), (Rows{"AA..", "AA.."}));
    polygons.polygons[0].points = {{2, 0}, {3, 0}, {3, 1}, {2, 1}};  // a new skin
    FillImage(image, 4, 2, kWhite);
    mask.cut(image, Rect{0, 0, 4, 2}, Rect{0, 0, 4, 2}, polygons, 0);
    EXPECT_EQ(Grid(image, {kWhite}), (Rows{"..AA", "..AA"}));
    FillImage(image, 4, 2, kWhite);
    mask.cut(image, Rect{0, 0, 4, 2}, Rect{0, 0, 4, 1}, polygons, 0);  // the shaded bar
    EXPECT_EQ(Grid(image, {kWhite}), (Rows{"..AA", "AAAA"}));
    EXPECT_EQ(mask.builds(), 3);
}

// The outline walk inside a clip visits exactly the points of the whole walk that lie in
// it, whatever the line's length.
TEST(ShapeTest, ClippedLineWalkMatchesTheWholeWalk) {
    std::uint32_t seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(2 * range + 1)) - range;
    };
    for (int round = 0; round < 3000; ++round) {
        const int x1 = next(40), y1 = next(40), x2 = next(40), y2 = next(40);
        const int left = next(20), top = next(20);
        const Rect clip{left, top, left + next(20) + 20, top + next(20) + 20};
        std::vector<Point> whole, clipped;
        ForEachLinePoint(x1, y1, x2, y2, [&](int x, int y) {
            if (clip.contains(x, y)) whole.push_back(Point{x, y});
        });
        ForEachLinePointIn(x1, y1, x2, y2, clip, [&](int x, int y) {
            clipped.push_back(Point{x, y});
        });
        ASSERT_EQ(whole, clipped) << x1 << ',' << y1 << ' ' << x2 << ',' << y2;
    }
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    std::vector<Point> diagonal;
    ForEachLinePointIn(kMin, kMin, kMax, kMax, Rect{0, 0, 3, 3}, [&](int x, int y) {
        diagonal.push_back(Point{x, y});
    });
    EXPECT_EQ(diagonal, (std::vector<Point>{{0, 0}, {1, 1}, {2, 2}}));
}

// Polygons at the ends of the coordinate range cut the window as their edges pass through
// it (the cost follows the window's size); slanted edges of a normal outline stay as they
// were.
TEST(ShapeTest, ExtremeAndSlantedPolygons) {
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    EdxImage image;
    FillImage(image, 8, 6, kWhite);
    EdxPolygons polygons;
    polygons.polygons.resize(1);
    polygons.polygons[0].points = {{kMin, 3}, {kMax, 3}, {kMax, kMax}, {kMin, kMax}};
    CutShape(image, Rect{0, 0, 8, 6}, Rect{0, 0, 8, 6}, polygons, 0x000000);
    EXPECT_EQ(Grid(image, {kWhite}),
              (Rows{"........", "........", "........", "AAAAAAAA", "AAAAAAAA", "AAAAAAAA"}));

    EdxImage slanted;
    FillImage(slanted, 10, 8, kWhite);
    polygons.polygons[0].points = {{3, 0}, {9, 1}, {8, 7}, {1, 6}, {0, 2}};
    CutShape(slanted, Rect{0, 0, 10, 8}, Rect{0, 0, 10, 8}, polygons, 0x000000);
    EXPECT_EQ(Grid(slanted, {kWhite}), (Rows{"..AAAAA...",  //
                                             ".AAAAAAAAA",  //
                                             "AAAAAAAAAA",  //
                                             "AAAAAAAAAA",  //
                                             ".AAAAAAA.A",  //
                                             ".AAAAAAAA.",  //
                                             ".AAAAAAAA.",  //
                                             ".....AAAA."}));
}

}  // namespace
}  // namespace dz
