#pragma once
// Byte builders for the skin tests: little-endian buffers, BMP files and ZIP archives.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dz::test {

struct Bytes {
    std::vector<std::uint8_t> v;

    Bytes& u8(unsigned x) {
        v.push_back(static_cast<std::uint8_t>(x));
        return *this;
    }
    Bytes& u16(unsigned x) { return u8(x & 0xFF).u8((x >> 8) & 0xFF); }
    Bytes& u32(std::uint32_t x) { return u16(x & 0xFFFF).u16(x >> 16); }
    Bytes& str(std::string_view s) {
        v.insert(v.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& raw(const std::vector<std::uint8_t>& b) {
        v.insert(v.end(), b.begin(), b.end());
        return *this;
    }
    Bytes& raw(std::initializer_list<std::uint8_t> b) {
        v.insert(v.end(), b.begin(), b.end());
        return *this;
    }
    Bytes& zeros(std::size_t n) {
        v.insert(v.end(), n, 0);
        return *this;
    }
    std::size_t size() const { return v.size(); }
};

// A BITMAPINFOHEADER (40 bytes).
inline Bytes Info40(int width, int height, int bpp, std::uint32_t compression = 0,
                    std::uint32_t colours_used = 0) {
    Bytes b;
    b.u32(40).u32(static_cast<std::uint32_t>(width)).u32(static_cast<std::uint32_t>(height));
    b.u16(1).u16(static_cast<unsigned>(bpp)).u32(compression).u32(0).u32(2835).u32(2835);
    b.u32(colours_used).u32(0);
    return b;
}

// A BMP file: file header, then `info` (header, masks, palette), then `pixels`. The
// pixel offset is right after `info` unless given.
inline std::vector<std::uint8_t> BmpFile(const Bytes& info, const Bytes& pixels,
                                         std::int64_t off_bits = -1) {
    Bytes f;
    const std::uint32_t off = off_bits < 0 ? static_cast<std::uint32_t>(14 + info.size())
                                           : static_cast<std::uint32_t>(off_bits);
    f.str("BM").u32(0).u32(0).u32(off).raw(info.v);
    if (off > f.size()) f.zeros(off - f.size());
    f.raw(pixels.v);
    return f.v;
}

// Pixel (x, y) of a decoded image as 0xAARRGGBB.
inline std::uint32_t Argb(const std::vector<std::uint8_t>& bgra, int width, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
    return (std::uint32_t{bgra[i + 3]} << 24) | (std::uint32_t{bgra[i + 2]} << 16) |
           (std::uint32_t{bgra[i + 1]} << 8) | bgra[i];
}

inline std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<std::uint8_t> out(deflateBound(&zs, data.size()));
    zs.next_in = const_cast<std::uint8_t*>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

struct ZipMember {
    std::string name;
    std::vector<std::uint8_t> data;
    int method = 8;           // 0 stored, 8 deflated, anything else written as stored bytes
    bool descriptor = false;  // sizes and CRC in a data descriptor after the data
    bool descriptor_signature = true;  // the descriptor starts with its signature
};

inline std::vector<std::uint8_t> Bytes8(std::string_view s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

// A ZIP archive with local headers and (unless `central` is false) a central directory.
inline std::vector<std::uint8_t> MakeZip(const std::vector<ZipMember>& members, bool central = true,
                                         std::string_view comment = "") {
    Bytes zip;
    Bytes cd;
    for (const ZipMember& m : members) {
        const std::vector<std::uint8_t> body = m.method == 8 ? Deflate(m.data) : m.data;
        const std::uint32_t crc =
            static_cast<std::uint32_t>(crc32(0, m.data.data(), static_cast<uInt>(m.data.size())));
        const std::uint32_t offset = static_cast<std::uint32_t>(zip.size());
        const unsigned flags = m.descriptor ? 8 : 0;
        zip.u32(0x04034B50).u16(20).u16(flags).u16(static_cast<unsigned>(m.method)).u16(0).u16(0);
        zip.u32(m.descriptor ? 0 : crc)
            .u32(m.descriptor ? 0 : static_cast<std::uint32_t>(body.size()));
        zip.u32(static_cast<std::uint32_t>(m.data.size()));
        zip.u16(static_cast<unsigned>(m.name.size())).u16(4).str(m.name).raw({0xFE, 0xCA, 0, 0});
        zip.raw(body);
        if (m.descriptor) {
            if (m.descriptor_signature) zip.u32(0x08074B50);
            zip.u32(crc).u32(static_cast<std::uint32_t>(body.size()));
            zip.u32(static_cast<std::uint32_t>(m.data.size()));
        }
        cd.u32(0x02014B50).u16(0x031E).u16(20).u16(flags).u16(static_cast<unsigned>(m.method));
        cd.u16(0).u16(0).u32(crc).u32(static_cast<std::uint32_t>(body.size()));
        cd.u32(static_cast<std::uint32_t>(m.data.size()));
        cd.u16(static_cast<unsigned>(m.name.size())).u16(0).u16(0).u16(0).u16(0).u32(0);
        cd.u32(offset).str(m.name);
    }
    if (central) {
        const std::uint32_t cd_offset = static_cast<std::uint32_t>(zip.size());
        zip.raw(cd.v);
        zip.u32(0x06054B50).u16(0).u16(0).u16(static_cast<unsigned>(members.size()));
        zip.u16(static_cast<unsigned>(members.size())).u32(static_cast<std::uint32_t>(cd.size()));
        zip.u32(cd_offset).u16(static_cast<unsigned>(comment.size())).str(comment);
    }
    return zip.v;
}

}  // namespace dz::test
