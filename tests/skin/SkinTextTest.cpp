#include <gtest/gtest.h>

#include <string>

#include "edx/EdxImages.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinText.h"

namespace dz {
namespace {

constexpr ColorRef kUnset = 0x12345678;

ColorRef Colour(const EdxColors& colours, const std::string& name) {
    return colours.GetSkinColour(name, kUnset);
}

TEST(SkinText, ScanNumberSeparatorsSignsAndEnd) {
    const std::string_view text = "x=10;y=-20 3-4";
    std::size_t pos = 0;
    std::int32_t v = 0;
    std::vector<std::int32_t> got;
    while (ScanNumber(text, pos, v)) got.push_back(v);
    EXPECT_EQ(got, (std::vector<std::int32_t>{10, -20, 3, -4}));
    EXPECT_EQ(pos, text.size());
    EXPECT_EQ(v, 0);
}

TEST(SkinText, PleditColourForms) {
    EdxColors colours;
    ReadPleditText(
        "[Text]\r\nNormal=#00FF00\r\nCurrent=0F0\r\nNormalBG=#12\r\nFont=Arial\r\nTahoma\r\n"
        "SelectedBG=#0a0B0c0d\r\nmbBG=8C6343",
        colours);
    EXPECT_EQ(Colour(colours, "PLEDIT.Normal"), 0x0000FF00u);
    EXPECT_EQ(Colour(colours, "PLEDIT.Current"), 0x0000FF00u);
    EXPECT_EQ(Colour(colours, "PLEDIT.NormalBG"), 0u);
    EXPECT_EQ(Colour(colours, "pledit.selectedbg"), 0x000C0B0Au);  // first six digits
    EXPECT_EQ(Colour(colours, "PLEDIT.MBBG"), 0x0043638Cu);
    EXPECT_EQ(Colour(colours, "PLEDIT.MBFG"), 0u);  // missing key: black

    // A second file does not replace colours already stored; a missing file stores black.
    ReadPleditText("[Text]\nNormal=#FFFFFF\n", colours);
    EXPECT_EQ(Colour(colours, "PLEDIT.Normal"), 0x0000FF00u);
    EdxColors missing;
    ReadPleditTxt("/nonexistent/pledit.txt", missing);
    EXPECT_EQ(missing.size(), 6u);
    EXPECT_EQ(Colour(missing, "PLEDIT.Current"), 0u);
}

TEST(SkinText, ViscolorLines) {
    std::string text =
        "24,24,41 // background, comment with 99\r\n"
        "300,0,0\r\n"
        "-1, 255, 255,\r\n"
        "\r\n";
    text += std::string(300, 'x') + " 1,2,3\n";  // one long line is one colour
    text += "9 9 9";                             // no final newline
    EdxColors colours;
    ReadViscolorText(text, colours);
    EXPECT_EQ(colours.size(), 6u);  // a short file: the other colours stay absent
    EXPECT_EQ(Colour(colours, "VISCOLOR.Background"), 0x00291818u);
    EXPECT_EQ(Colour(colours, "VISCOLOR.BGDots"), 0x0000002Cu);  // 300 mod 256
    EXPECT_EQ(Colour(colours, "VISCOLOR.Spectrum01"), 0x00FFFFFFu);
    EXPECT_EQ(Colour(colours, "VISCOLOR.Spectrum02"), 0u);  // blank line
    EXPECT_EQ(Colour(colours, "VISCOLOR.Spectrum03"), 0x00030201u);
    EXPECT_EQ(Colour(colours, "VISCOLOR.Spectrum04"), 0x00090909u);

    std::string full;
    for (int i = 0; i < 30; ++i) full += std::to_string(i) + ",0,0\n";
    EdxColors all;
    ReadViscolorText(full, all);
    EXPECT_EQ(all.size(), 24u);
    EXPECT_EQ(Colour(all, "VISCOLOR.Spectrum16"), 17u);
    EXPECT_EQ(Colour(all, "VISCOLOR.Oscilloscope1"), 18u);
    EXPECT_EQ(Colour(all, "VISCOLOR.Oscilloscope5"), 22u);
    EXPECT_EQ(Colour(all, "VISCOLOR.Peaks"), 23u);
}

TEST(SkinText, RegionPolygons) {
    EdxPolygons normal;
    EdxPolygons shade;
    ReadRegionText(
        "[Normal]\r\n; outline\r\nNumPoints = 4, 4\r\n"
        "PointList=0,0 , 275,0 , 275,116 , 0,116 , 1,1 2,1 2,2 1,2\r\n"
        "[WindowShade]\r\nNumPoints=4\r\nPointList=0,0, 275,0, 275,14\r\n",
        normal, shade);
    ASSERT_EQ(normal.polygons.size(), 2u);
    EXPECT_EQ(normal.polygons[0].points,
              (std::vector<Point>{{0, 0}, {275, 0}, {275, 116}, {0, 116}}));
    EXPECT_EQ(normal.polygons[1].points.back(), (Point{1, 2}));
    ASSERT_EQ(shade.polygons.size(), 1u);  // the points ran out: what was read stays
    EXPECT_EQ(shade.polygons[0].points.size(), 3u);

    // A section with one key only, or an empty file, leaves the sets as they are.
    ReadRegionText("[Normal]\nNumPoints=3\n[WindowShade]\nPointList=1,2,3\n", normal, shade);
    ReadRegionText("", normal, shade);
    EXPECT_EQ(normal.polygons.size(), 2u);
    EXPECT_EQ(shade.polygons.size(), 1u);

    // A later file with both keys rebuilds the set.
    ReadRegionText("[normal]\nnumpoints=3\npointlist=5,5 6,5 6,6\n", normal, shade);
    ASSERT_EQ(normal.polygons.size(), 1u);
    EXPECT_EQ(normal.polygons[0].points.front(), (Point{5, 5}));
}

TEST(SkinText, TextColoursFromTheTextBitmap) {
    auto bitmap = [](int height) {
        auto image = std::make_unique<EdxImage>();
        image->fill_blank(2, height);
        image->row(0)[0] = 0x30;                  // blue of pixel (0, 0)
        if (height > 3) image->row(3)[2] = 0x40;  // red of pixel (0, 3)
        return image;
    };
    EdxImages tall;
    auto image = bitmap(4);
    tall.insert("text", image);
    EdxColors colours;
    SetTextColours(tall, colours);
    EXPECT_EQ(Colour(colours, "TEXT.NormalBG"), 0x00300000u);
    EXPECT_EQ(Colour(colours, "TEXT.Normal"), 0x00000040u);

    EdxImages low;
    image = bitmap(3);
    low.insert("TEXT", image);
    EdxColors short_colours;
    SetTextColours(low, short_colours);
    EXPECT_EQ(Colour(short_colours, "TEXT.Normal"), 0xFFFFFFFFu);  // outside the bitmap
}

}  // namespace
}  // namespace dz
