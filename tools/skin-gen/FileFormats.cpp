#include "FileFormats.h"

#include <zlib.h>

namespace skingen {

namespace {

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void put_info_header(Bytes& b, int w, int h, int bpp, std::uint32_t image_size) {
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(w));
    put32(b, static_cast<std::uint32_t>(h));
    put16(b, 1);
    put16(b, static_cast<std::uint32_t>(bpp));
    put32(b, 0);  // BI_RGB
    put32(b, image_size);
    put32(b, bpp == 24 ? 2835 : 0);
    put32(b, bpp == 24 ? 2835 : 0);
    put32(b, 0);
    put32(b, 0);
}

std::optional<Bytes> deflate_raw(const Bytes& in) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return std::nullopt;
    Bytes out(deflateBound(&z, static_cast<uLong>(in.size())));
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) return std::nullopt;
    return out;
}

}  // namespace

Bytes encode_bmp(const Image& img) {
    const int w = img.width(), h = img.height();
    const std::uint32_t stride = ((static_cast<std::uint32_t>(w) * 24 + 31) / 32) * 4;
    const std::uint32_t image_size = stride * static_cast<std::uint32_t>(h);
    Bytes b;
    b.reserve(54 + image_size);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + image_size);
    put32(b, 0);
    put32(b, 54);
    put_info_header(b, w, h, 24, image_size);
    for (int y = h - 1; y >= 0; --y) {
        const size_t row_start = b.size();
        for (int x = 0; x < w; ++x) {
            const Rgb c = img.at(x, y);
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c >> 16));
        }
        b.resize(row_start + stride, 0);
    }
    return b;
}

Bytes encode_cur(const CursorImage& cur) {
    constexpr int kSize = 32;
    constexpr std::uint32_t kXor = kSize * kSize * 4, kAnd = kSize * 4;
    Bytes b;
    put16(b, 0);
    put16(b, 2);  // cursor
    put16(b, 1);
    b.push_back(kSize);
    b.push_back(kSize);
    b.push_back(0);  // no palette
    b.push_back(0);
    put16(b, static_cast<std::uint32_t>(cur.hot_x));
    put16(b, static_cast<std::uint32_t>(cur.hot_y));
    put32(b, 40 + kXor + kAnd);
    put32(b, 6 + 16);
    put_info_header(b, kSize, 2 * kSize, 32, kXor + kAnd);
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            const bool opaque = cur.mask[static_cast<size_t>(y * kSize + x)];
            const Rgb c = opaque ? cur.pixels.at(x, y) : 0;
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c >> 16));
            b.push_back(opaque ? 0xFF : 0x00);
        }
    for (int y = kSize - 1; y >= 0; --y)
        for (int byte = 0; byte < kSize / 8; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (!cur.mask[static_cast<size_t>(y * kSize + byte * 8 + bit)])
                    bits |= static_cast<std::uint8_t>(0x80 >> bit);
            b.push_back(bits);
        }
    return b;
}

std::optional<Bytes> encode_zip(const std::vector<ZipMember>& members) {
    constexpr std::uint32_t kTime = 0, kDate = ((2024 - 1980) << 9) | (1 << 5) | 1;
    Bytes zip, central;
    for (const ZipMember& m : members) {
        const std::optional<Bytes> packed = deflate_raw(m.data);
        if (!packed) return std::nullopt;
        const auto crc =
            static_cast<std::uint32_t>(crc32(0L, m.data.data(), static_cast<uInt>(m.data.size())));
        const auto offset = static_cast<std::uint32_t>(zip.size());
        const auto name_len = static_cast<std::uint32_t>(m.name.size());
        // Local file header.
        put32(zip, 0x04034B50);
        put16(zip, 20);  // version needed: deflate
        put16(zip, 0);   // flags: no data descriptor
        put16(zip, 8);   // deflate
        put16(zip, kTime);
        put16(zip, kDate);
        put32(zip, crc);
        put32(zip, static_cast<std::uint32_t>(packed->size()));
        put32(zip, static_cast<std::uint32_t>(m.data.size()));
        put16(zip, name_len);
        put16(zip, 0);
        zip.insert(zip.end(), m.name.begin(), m.name.end());
        zip.insert(zip.end(), packed->begin(), packed->end());
        // Central directory entry.
        put32(central, 0x02014B50);
        put16(central, 20);  // made by: version 2.0, MS-DOS
        put16(central, 20);
        put16(central, 0);
        put16(central, 8);
        put16(central, kTime);
        put16(central, kDate);
        put32(central, crc);
        put32(central, static_cast<std::uint32_t>(packed->size()));
        put32(central, static_cast<std::uint32_t>(m.data.size()));
        put16(central, name_len);
        put16(central, 0);  // extra
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        put32(central, 0);  // external attributes
        put32(central, offset);
        central.insert(central.end(), m.name.begin(), m.name.end());
    }
    const auto central_offset = static_cast<std::uint32_t>(zip.size());
    zip.insert(zip.end(), central.begin(), central.end());
    put32(zip, 0x06054B50);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, static_cast<std::uint32_t>(members.size()));
    put16(zip, static_cast<std::uint32_t>(members.size()));
    put32(zip, static_cast<std::uint32_t>(central.size()));
    put32(zip, central_offset);
    put16(zip, 0);
    return zip;
}

}  // namespace skingen
