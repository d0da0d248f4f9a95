#pragma once
// Small cursor files for the skin tests.

#include "TestBytes.h"

namespace dz::test {

// A CUR (type 2) or ICO (type 1) file with one image: `dib` is the image (info header with
// doubled height, palette, colour pixels, AND mask).
inline std::vector<std::uint8_t> CurFile(const Bytes& dib, int width, int height, int hot_x,
                                         int hot_y, int type = 2) {
    Bytes f;
    f.u16(0).u16(static_cast<unsigned>(type)).u16(1);
    f.u8(static_cast<unsigned>(width)).u8(static_cast<unsigned>(height)).u8(0).u8(0);
    f.u16(static_cast<unsigned>(hot_x)).u16(static_cast<unsigned>(hot_y));
    f.u32(static_cast<std::uint32_t>(dib.size())).u32(22).raw(dib.v);
    return f.v;
}

// A 1 x 1 cursor of one opaque 24-bit colour.
inline std::vector<std::uint8_t> SolidCur(std::uint8_t b, std::uint8_t g, std::uint8_t r,
                                          int hot_x = 0, int hot_y = 0) {
    Bytes dib = Info40(1, 2, 24);
    dib.raw({b, g, r, 0}).u32(0);  // colour row, AND row (0: opaque)
    return CurFile(dib, 1, 1, hot_x, hot_y);
}

// An ANI file whose frames are `frames` (CUR files), with an INFO list and a header first.
inline std::vector<std::uint8_t> AniFile(const std::vector<std::vector<std::uint8_t>>& frames) {
    Bytes body;
    body.str("ACON");
    body.str("LIST").u32(4 + 8 + 3).str("INFO").str("INAM").u32(3).str("abc").u8(0);
    body.str("anih").u32(36).u32(36).u32(static_cast<std::uint32_t>(frames.size()));
    body.u32(static_cast<std::uint32_t>(frames.size())).zeros(16).u32(10).u32(1);
    Bytes fram;
    fram.str("fram");
    for (const auto& f : frames) {
        fram.str("icon").u32(static_cast<std::uint32_t>(f.size())).raw(f);
        if (f.size() & 1) fram.u8(0);
    }
    body.str("LIST").u32(static_cast<std::uint32_t>(fram.size())).raw(fram.v);
    Bytes riff;
    riff.str("RIFF").u32(static_cast<std::uint32_t>(body.size())).raw(body.v);
    return riff.v;
}

}  // namespace dz::test
