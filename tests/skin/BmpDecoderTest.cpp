#include <gtest/gtest.h>

#include <climits>

#include "TestBytes.h"
#include "skin/BmpDecoder.h"

namespace dz {
namespace {

using test::Argb;
using test::BmpFile;
using test::Bytes;
using test::Info40;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

DecodedImage Decode(const std::vector<std::uint8_t>& file) {
    std::optional<DecodedImage> image = DecodeBmp(file);
    EXPECT_TRUE(image.has_value());
    return image.value_or(DecodedImage{});
}

// Palette entries blue, green, red, 0 for black, red, green, blue.
Bytes FourColours(Bytes info) {
    return info.raw({0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0});
}

TEST(BmpDecoder, TwentyFourBitRowsPaddedBottomUpOrTopDown) {
    Bytes rows;  // first row in the file: 1..9, second: 10..18; 3 bytes of padding each
    rows.raw({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0});
    Bytes trailing = rows;
    trailing.raw({0xAA, 0xBB});  // two bytes after the pixels, as some editors write

    DecodedImage up = Decode(BmpFile(Info40(3, 2, 24), trailing));
    ASSERT_EQ(up.width, 3);
    ASSERT_EQ(up.height, 2);
    EXPECT_EQ(Argb(up.bgra, 3, 0, 0), 0xFF0C0B0Au);  // the file's last row is the top
    EXPECT_EQ(Argb(up.bgra, 3, 2, 1), 0xFF090807u);

    DecodedImage down = Decode(BmpFile(Info40(3, -2, 24), rows));
    ASSERT_EQ(down.height, 2);
    EXPECT_EQ(Argb(down.bgra, 3, 0, 0), 0xFF030201u);
    EXPECT_EQ(Argb(down.bgra, 3, 2, 1), 0xFF121110u);
}

TEST(BmpDecoder, ThirtyTwoBitFourthByteZeroIsOpaque) {
    DecodedImage image = Decode(BmpFile(Info40(1, 1, 32), Bytes().raw({10, 20, 30, 0})));
    EXPECT_EQ(Argb(image.bgra, 1, 0, 0), 0xFF1E140Au);
}

TEST(BmpDecoder, PalettedDepthsShortPalettesAndCoreHeader) {
    // 1 bpp, 9 pixels across two bytes: white, black ..., white.
    Bytes mono = Info40(9, 1, 1).raw({0, 0, 0, 0, 255, 255, 255, 0});
    DecodedImage one = Decode(BmpFile(mono, Bytes().raw({0x80, 0x80, 0, 0})));
    EXPECT_EQ(Argb(one.bgra, 9, 0, 0), kWhite);
    EXPECT_EQ(Argb(one.bgra, 9, 1, 0), kBlack);
    EXPECT_EQ(Argb(one.bgra, 9, 8, 0), kWhite);

    // 4 bpp with 3 colours used: index 7 has no entry and takes entry 0.
    Bytes three = Info40(3, 1, 4, 0, 3).raw({0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0});
    DecodedImage four = Decode(BmpFile(three, Bytes().raw({0x12, 0x70, 0, 0})));
    EXPECT_EQ(Argb(four.bgra, 3, 0, 0), kRed);
    EXPECT_EQ(Argb(four.bgra, 3, 1, 0), kGreen);
    EXPECT_EQ(Argb(four.bgra, 3, 2, 0), kBlack);

    // 8 bpp claiming 256 colours, but the pixels start after two entries.
    Bytes cut = Info40(3, 1, 8).raw({0, 0, 0, 0, 0, 0, 255, 0});
    DecodedImage eight = Decode(BmpFile(cut, Bytes().raw({1, 0, 5, 0})));
    EXPECT_EQ(Argb(eight.bgra, 3, 0, 0), kRed);
    EXPECT_EQ(Argb(eight.bgra, 3, 1, 0), kBlack);
    EXPECT_EQ(Argb(eight.bgra, 3, 2, 0), kBlack);

    // OS/2 core header: 16-bit sizes, palette entries of 3 bytes (red, then green).
    Bytes core;
    core.u32(12).u16(2).u16(1).u16(1).u16(1).raw({0, 0, 255, 0, 255, 0});
    DecodedImage os2 = Decode(BmpFile(core, Bytes().raw({0x40, 0, 0, 0})));
    EXPECT_EQ(Argb(os2.bgra, 2, 0, 0), kRed);
    EXPECT_EQ(Argb(os2.bgra, 2, 1, 0), kGreen);
}

TEST(BmpDecoder, SixteenBitAndBitFieldMasks) {
    // Without bit fields 16 bpp is 5-5-5.
    DecodedImage plain = Decode(BmpFile(Info40(2, 1, 16), Bytes().u16(0x7C00).u16(0x001F)));
    EXPECT_EQ(Argb(plain.bgra, 2, 0, 0), kRed);
    EXPECT_EQ(Argb(plain.bgra, 2, 1, 0), kBlue);

    // 5-6-5 masks after a 40-byte header.
    Bytes rgb565 = Info40(2, 1, 16, 3).u32(0xF800).u32(0x07E0).u32(0x001F);
    DecodedImage masked = Decode(BmpFile(rgb565, Bytes().u16(0x07E0).u16(0xF800)));
    EXPECT_EQ(Argb(masked.bgra, 2, 0, 0), kGreen);
    EXPECT_EQ(Argb(masked.bgra, 2, 1, 0), kRed);

    // V5 header with masks in red, green, blue, alpha byte order. Alpha 0 in every pixel
    // reads as opaque; once a pixel has alpha, alpha counts.
    auto v5 = [](int width) {
        Bytes h = Info40(width, 1, 32, 3);
        h.v[0] = 124;
        h.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000).u32(0xFF000000);
        return h.zeros(124 - 56);
    };
    DecodedImage zero_alpha = Decode(BmpFile(v5(1), Bytes().raw({0x11, 0x22, 0x33, 0})));
    EXPECT_EQ(Argb(zero_alpha.bgra, 1, 0, 0), 0xFF112233u);
    DecodedImage alpha =
        Decode(BmpFile(v5(2), Bytes().raw({0x11, 0x22, 0x33, 0x80, 0x11, 0x22, 0x33, 0})));
    EXPECT_EQ(Argb(alpha.bgra, 2, 0, 0), 0x80112233u);
    EXPECT_EQ(Argb(alpha.bgra, 2, 1, 0), 0x00112233u);
}

TEST(BmpDecoder, Rle8RunsLiteralsDeltaAndEnds) {
    Bytes rle;
    rle.raw({3, 1, 0, 0});                      // bottom row: three red, end of line
    rle.raw({0, 3, 2, 3, 1, 0, 0, 0});          // literal green, blue, red (padded), end of line
    rle.raw({0, 2, 2, 0, 1, 2, 255, 3, 0, 1});  // delta 2 right, one green, overlong run, end
    DecodedImage image = Decode(BmpFile(FourColours(Info40(4, 3, 8, 1, 4)), rle));
    const std::vector<std::uint32_t> expected = {
        kBlack, kBlack, kGreen, kBlue,  // top row: skipped pixels take entry 0
        kGreen, kBlue,  kRed,   kBlack, kRed, kRed, kRed, kBlack};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(Argb(image.bgra, 4, i % 4, i / 4), expected[i]) << "pixel " << i;
    }
}

TEST(BmpDecoder, Rle4AlternatingNibblesAndLiterals) {
    Bytes rle;
    rle.raw({5, 0x12, 0, 0});           // bottom row: 1 2 1 2 1
    rle.raw({0, 3, 0x12, 0x30, 0, 1});  // literal 1 2 3, end of bitmap
    DecodedImage image = Decode(BmpFile(FourColours(Info40(5, 2, 4, 2, 4)), rle));
    const std::vector<std::uint32_t> expected = {kRed, kGreen, kBlue, kBlack, kBlack,
                                                 kRed, kGreen, kRed,  kGreen, kRed};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Argb(image.bgra, 5, i % 5, i / 5), expected[i]) << "pixel " << i;
    }
}

TEST(BmpDecoder, PixelOffsetWithGapOrInvalid) {
    const Bytes pixel = Bytes().raw({1, 2, 3, 0});
    Bytes gap = Info40(1, 1, 24);
    gap.v.insert(gap.v.end(), 10, 0xEE);  // bytes between the header and the pixels
    DecodedImage after_gap = Decode(BmpFile(gap, pixel, 14 + 40 + 10));
    EXPECT_EQ(Argb(after_gap.bgra, 1, 0, 0), 0xFF030201u);

    // An offset inside the headers, or past the end, means: right after the palette.
    for (std::int64_t bad : {0, 20, 10000}) {
        std::vector<std::uint8_t> file = BmpFile(Info40(1, 1, 24), pixel);
        file[10] = static_cast<std::uint8_t>(bad & 0xFF);
        file[11] = static_cast<std::uint8_t>(bad >> 8);
        DecodedImage image = Decode(file);
        EXPECT_EQ(Argb(image.bgra, 1, 0, 0), 0xFF030201u) << bad;
    }
}

TEST(BmpDecoder, HostileHeadersAreRefusedAndShortPixelsTolerated) {
    EXPECT_FALSE(DecodeBmp(BmpFile(Info40(100000, 100000, 24), Bytes())));
    EXPECT_FALSE(DecodeBmp(BmpFile(Info40(4097, 4097, 8), Bytes())));
    EXPECT_FALSE(DecodeBmp(BmpFile(Info40(1, INT_MIN, 24), Bytes().zeros(4))));
    EXPECT_FALSE(DecodeBmp(BmpFile(Info40(4, -3, 8, 1), Bytes().zeros(8))));  // top-down RLE
    EXPECT_FALSE(DecodeBmp(BmpFile(Info40(4, 3, 24, 4), Bytes().zeros(8))));  // JPEG
    std::vector<std::uint8_t> cut = BmpFile(Info40(1, 1, 24), Bytes().zeros(4));
    cut.resize(30);  // the info header ends past the data
    EXPECT_FALSE(DecodeBmp(cut));
    EXPECT_FALSE(DecodeBmp(std::vector<std::uint8_t>{}));

    // Only the bottom row is there: it decodes; the top row is left empty.
    DecodedImage half = Decode(BmpFile(Info40(1, 2, 24), Bytes().raw({1, 2, 3, 0})));
    EXPECT_EQ(Argb(half.bgra, 1, 0, 1), 0xFF030201u);
    EXPECT_EQ(Argb(half.bgra, 1, 0, 0), 0u);
}

}  // namespace
}  // namespace dz
