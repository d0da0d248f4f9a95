#include <gtest/gtest.h>

#include "CursorImages.h"
#include "skin/CursorDecoder.h"
#include "skin/SkinImageDecoder.h"

namespace dz {
namespace {

using test::Argb;
using test::Bytes;
using test::CurFile;
using test::Info40;

TEST(CursorDecoder, MonochromeMaskHotspotAndInvertPixels) {
    // 8 x 2, 1 bpp, palette black and white. Top row: XOR 0 1 0 1 0 0 0 0 with AND
    // 0 0 1 1 1 1 1 1; bottom row: white, AND 0. Rows bottom-up.
    Bytes dib = Info40(8, 4, 1);
    dib.raw({0, 0, 0, 0, 255, 255, 255, 0});
    dib.raw({0xFF, 0, 0, 0, 0x50, 0, 0, 0});  // colour rows
    dib.raw({0x00, 0, 0, 0, 0x3F, 0, 0, 0});  // AND rows
    std::optional<DecodedImage> cur = DecodeCursor(CurFile(dib, 8, 2, 3, 1));
    ASSERT_TRUE(cur);
    ASSERT_EQ(cur->width, 8);
    ASSERT_EQ(cur->height, 2);
    EXPECT_EQ(cur->hot_x, 3);
    EXPECT_EQ(cur->hot_y, 1);
    EXPECT_EQ(Argb(cur->bgra, 8, 0, 0), 0xFF000000u);  // black
    EXPECT_EQ(Argb(cur->bgra, 8, 1, 0), 0xFFFFFFFFu);  // white
    EXPECT_EQ(Argb(cur->bgra, 8, 2, 0), 0u);           // transparent
    EXPECT_EQ(Argb(cur->bgra, 8, 3, 0), 0xFF000000u);  // inverting: black, opaque
    EXPECT_EQ(Argb(cur->bgra, 8, 7, 0), 0u);
    EXPECT_EQ(Argb(cur->bgra, 8, 0, 1), 0xFFFFFFFFu);
}

TEST(CursorDecoder, TrueColourMaskAndAlpha) {
    // 24 bpp: colour with AND 0, colour with AND 1 (inverting), black with AND 1.
    Bytes dib24 = Info40(3, 2, 24);
    dib24.raw({10, 20, 30, 40, 50, 60, 0, 0, 0, 0, 0, 0}).raw({0x60, 0, 0, 0});
    std::optional<DecodedImage> rgb = DecodeCursor(CurFile(dib24, 3, 1, 0, 0));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(Argb(rgb->bgra, 3, 0, 0), 0xFF1E140Au);
    EXPECT_EQ(Argb(rgb->bgra, 3, 1, 0), 0xFF000000u);
    EXPECT_EQ(Argb(rgb->bgra, 3, 2, 0), 0u);

    // 32 bpp with alpha in use: the alpha counts, the mask does not.
    Bytes dib32 = Info40(2, 2, 32);
    dib32.raw({1, 2, 3, 0x80, 4, 5, 6, 0}).raw({0xC0, 0, 0, 0});
    std::optional<DecodedImage> argb = DecodeCursor(CurFile(dib32, 2, 1, 0, 0));
    ASSERT_TRUE(argb);
    EXPECT_EQ(Argb(argb->bgra, 2, 0, 0), 0x80030201u);
    EXPECT_EQ(Argb(argb->bgra, 2, 1, 0), 0x00060504u);
}

TEST(CursorDecoder, PngEntriesSkippedAndIconsHaveNoHotspot) {
    const std::vector<std::uint8_t> solid = test::SolidCur(0, 0, 255);
    const std::vector<std::uint8_t> image(solid.begin() + 22, solid.end());
    Bytes f;
    f.u16(0).u16(1).u16(2);  // an icon saved as .cur: the hotspot fields are planes / bpp
    f.u8(32).u8(32).u8(0).u8(0).u16(1).u16(32).u32(16).u32(38);
    f.u8(1).u8(1).u8(0).u8(0).u16(1).u16(24).u32(static_cast<std::uint32_t>(image.size()));
    f.u32(54);
    f.raw({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}).zeros(8).raw(image);
    std::optional<DecodedImage> icon = DecodeCursor(f.v);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 1);
    EXPECT_EQ(Argb(icon->bgra, 1, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(icon->hot_x, 0);
    EXPECT_EQ(icon->hot_y, 0);
}

TEST(CursorDecoder, AniFirstFrameByContent) {
    const auto ani = test::AniFile({test::SolidCur(0, 0, 255, 0, 0), test::SolidCur(255, 0, 0)});
    SkinImageDecoder decoder;
    std::optional<DecodedImage> frame = decoder.decode_cursor(ani);
    ASSERT_TRUE(frame);
    EXPECT_EQ(Argb(frame->bgra, 1, 0, 0), 0xFFFF0000u);  // the first frame (red)
    EXPECT_FALSE(decoder.decode_bitmap(ani));
}

TEST(CursorDecoder, DamagedFilesAreRefused) {
    std::vector<std::uint8_t> cur = test::SolidCur(1, 2, 3);
    EXPECT_TRUE(DecodeCursor(cur));
    std::vector<std::uint8_t> far = cur;
    far[18] = 0xFF;  // image offset past the end
    EXPECT_FALSE(DecodeCursor(far));
    std::vector<std::uint8_t> many = cur;
    many[4] = many[5] = 0xFF;  // 65535 entries claimed, one there
    EXPECT_TRUE(DecodeCursor(many));
    cur.resize(30);
    EXPECT_FALSE(DecodeCursor(cur));
    std::vector<std::uint8_t> ani = test::AniFile({});
    EXPECT_FALSE(DecodeCursor(ani));
    ani.resize(10);
    EXPECT_FALSE(DecodeCursor(ani));
}

}  // namespace
}  // namespace dz
