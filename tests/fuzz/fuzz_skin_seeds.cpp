// Writes seed files for the skin fuzzers into <folder>/bmp, <folder>/cursor and
// <folder>/archive: BMPs of every depth and compression, cursors and an ANI file, and
// archives with and without a central directory.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CursorImages.h"
#include "TestBytes.h"

namespace {

using dz::test::Bytes;
using dz::test::Info40;

void write(const std::filesystem::path& dir, int n, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / ("seed" + std::to_string(n)), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes palette(int entries) {
    Bytes p;
    for (int i = 0; i < entries; ++i) p.u8(i * 40).u8(255 - i * 30).u8(i * 17).u8(0);
    return p;
}

std::vector<std::vector<std::uint8_t>> bitmaps() {
    using dz::test::BmpFile;
    std::vector<std::vector<std::uint8_t>> out;
    out.push_back(BmpFile(Info40(3, 2, 24), Bytes().zeros(24).raw({0xAA, 0xBB})));
    out.push_back(BmpFile(Info40(3, -2, 32), Bytes().zeros(24)));
    out.push_back(
        BmpFile(Info40(9, 2, 1).raw(palette(2).v), Bytes().raw({0x80, 0x80, 0, 0, 1, 2, 0, 0})));
    out.push_back(
        BmpFile(Info40(3, 1, 4, 0, 3).raw(palette(3).v), Bytes().raw({0x12, 0x70, 0, 0})));
    out.push_back(BmpFile(Info40(3, 1, 8).raw(palette(2).v), Bytes().raw({1, 0, 5, 0})));
    out.push_back(
        BmpFile(Info40(4, 3, 8, 1, 4).raw(palette(4).v),
                Bytes().raw({3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 1, 2, 0, 1})));
    out.push_back(BmpFile(Info40(5, 2, 4, 2, 4).raw(palette(4).v),
                          Bytes().raw({5, 0x12, 0, 0, 0, 3, 0x12, 0x30, 0, 1})));
    out.push_back(BmpFile(Info40(2, 1, 16, 3).u32(0xF800).u32(0x07E0).u32(0x001F),
                          Bytes().u16(0x07E0).u16(0xF800)));
    Bytes v5 = Info40(2, 1, 32, 3);
    v5.v[0] = 124;
    v5.u32(0xFF).u32(0xFF00).u32(0xFF0000).u32(0xFF000000).zeros(124 - 56);
    out.push_back(BmpFile(v5, Bytes().raw({1, 2, 3, 0x80, 4, 5, 6, 0})));
    Bytes core;
    core.u32(12).u16(2).u16(1).u16(1).u16(1).raw({0, 0, 255, 0, 255, 0});
    out.push_back(BmpFile(core, Bytes().raw({0x40, 0, 0, 0})));
    return out;
}

std::vector<std::vector<std::uint8_t>> cursors() {
    using dz::test::CurFile;
    std::vector<std::vector<std::uint8_t>> out;
    Bytes mono = Info40(8, 4, 1).raw(palette(2).v);
    mono.raw({0xFF, 0, 0, 0, 0x50, 0, 0, 0, 0x00, 0, 0, 0, 0x3F, 0, 0, 0});
    out.push_back(CurFile(mono, 8, 2, 3, 1));
    Bytes four = Info40(2, 4, 4).raw(palette(16).v).zeros(8 + 8);
    out.push_back(CurFile(four, 2, 2, 1, 1));
    Bytes rgb = Info40(3, 2, 24).raw({10, 20, 30, 40, 50, 60, 0, 0, 0, 0, 0, 0, 0x60, 0, 0, 0});
    out.push_back(CurFile(rgb, 3, 1, 0, 0));
    Bytes argb = Info40(2, 2, 32).raw({1, 2, 3, 0x80, 4, 5, 6, 0, 0xC0, 0, 0, 0});
    out.push_back(CurFile(argb, 2, 1, 1, 0));
    out.push_back(
        dz::test::AniFile({dz::test::SolidCur(0, 0, 255, 0, 0), dz::test::SolidCur(255, 0, 0)}));
    return out;
}

std::vector<std::vector<std::uint8_t>> archives() {
    using dz::test::Bytes8;
    using dz::test::MakeZip;
    const std::vector<std::uint8_t> bmp = bitmaps()[0];
    std::vector<std::vector<std::uint8_t>> out;
    out.push_back(MakeZip({{"Skin/", {}, 0, true},
                           {"Skin/main.bmp", bmp, 8, true},
                           {"Skin/pledit.txt", Bytes8("[Text]\nNormal=#00FF00\n"), 0, true}}));
    out.push_back(MakeZip({{"a.bmp", bmp}, {"b.cur", cursors()[0], 8, true}}, false));
    out.push_back(
        MakeZip({{"region.txt", {}, 0}, {"viscolor.txt", Bytes8("1,2,3\n"), 8}}, true, "comment"));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path root = argv[1];
    int n = 0;
    for (const auto& b : bitmaps()) write(root / "bmp", ++n, b);
    for (const auto& c : cursors()) write(root / "cursor", ++n, c);
    for (const auto& a : archives()) write(root / "archive", ++n, a);
    return 0;
}
