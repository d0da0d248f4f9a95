#include "skin/Dib.h"

#include <algorithm>
#include <bit>

namespace dz {

namespace {

using Bgra = std::array<std::uint8_t, 4>;
constexpr Bgra kBlack{0, 0, 0, 255};

// One colour channel of a bit-field pixel.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;  // mask >> shift

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    std::uint8_t get(std::uint32_t v, std::uint8_t absent) const {
        if (mask == 0) return absent;
        const std::uint32_t x = (v & mask) >> shift;
        if (max == 255) return static_cast<std::uint8_t>(x);
        return static_cast<std::uint8_t>(std::uint64_t{x} * 255 / max);
    }
};

bool valid_bpp(int bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

const Bgra& palette_colour(const DibHeader& h, std::uint32_t index) {
    if (index < h.palette.size()) return h.palette[index];
    return h.palette.empty() ? kBlack : h.palette[0];
}

// Indices of an RLE8 or RLE4 pixel array, top-down rows; pixels never written are 0.
std::vector<std::uint8_t> decode_rle(const DibHeader& h, ByteView b, std::size_t p) {
    const int w = h.width;
    const int rows = h.height;
    const bool rle4 = h.compression == 2;
    std::vector<std::uint8_t> index(static_cast<std::size_t>(w) * rows, 0);
    int x = 0;
    int y = 0;  // counted from the bottom row
    auto put = [&](std::uint8_t v) {
        index[static_cast<std::size_t>(rows - 1 - y) * w + x] = v;
        ++x;
    };
    while (y < rows && b.has(p, 2)) {
        const int n = b.u8(p);
        const std::uint8_t c = b.u8(p + 1);
        p += 2;
        if (n > 0) {
            for (int i = 0; i < n && x < w; ++i) {
                put(rle4 ? static_cast<std::uint8_t>((i & 1) ? (c & 0x0F) : (c >> 4)) : c);
            }
            x = std::min(x, w);
            continue;
        }
        if (c == 0) {  // end of line
            x = 0;
            ++y;
        } else if (c == 1) {  // end of bitmap
            break;
        } else if (c == 2) {  // delta
            if (!b.has(p, 2)) break;
            x = std::min(x + b.u8(p), w);
            y += b.u8(p + 1);
            p += 2;
        } else {  // literal pixels, padded to an even byte count
            const std::size_t bytes = rle4 ? (std::size_t{c} + 1) / 2 : c;
            for (int i = 0; i < c && x < w; ++i) {
                const std::uint8_t v = b.u8(p + (rle4 ? i / 2 : i));
                put(rle4 ? static_cast<std::uint8_t>((i & 1) ? (v & 0x0F) : (v >> 4)) : v);
            }
            p += bytes + (bytes & 1);
        }
    }
    return index;
}

}  // namespace

std::optional<DibHeader> ReadDibHeader(ByteView b, std::size_t pos, int height_divisor,
                                       std::size_t palette_limit) {
    if (!b.has(pos, 4) || height_divisor < 1) return std::nullopt;
    DibHeader h;
    h.header_size = b.u32(pos);
    const std::size_t hs = h.header_size;
    const bool core = hs == 12;
    if (!core && (hs < 16 || hs > 4096)) return std::nullopt;
    if (!b.has(pos, hs)) return std::nullopt;

    auto field32 = [&](std::size_t off) { return off + 4 <= hs ? b.u32(pos + off) : 0u; };
    auto field16 = [&](std::size_t off) { return off + 2 <= hs ? b.u16(pos + off) : 0u; };
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t colours_used = 0;
    if (core) {
        width = b.u16(pos + 4);
        height = b.u16(pos + 6);
        h.bpp = b.u16(pos + 10);
    } else {
        width = static_cast<std::int32_t>(field32(4));
        height = static_cast<std::int32_t>(field32(8));
        h.bpp = static_cast<int>(field16(14));
        h.compression = field32(16);
        colours_used = field32(32);
    }
    if (height < 0) {
        h.top_down = true;
        height = -height;
    }
    height /= height_divisor;
    if (width <= 0 || height <= 0) return std::nullopt;
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxDibPixels) {
        return std::nullopt;
    }
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(height);
    if (!valid_bpp(h.bpp)) return std::nullopt;
    switch (h.compression) {
        case 0:
            break;
        case 1:
            if (h.bpp != 8 || h.top_down) return std::nullopt;
            break;
        case 2:
            if (h.bpp != 4 || h.top_down) return std::nullopt;
            break;
        case 3:
        case 6:
            if (h.bpp != 16 && h.bpp != 32) return std::nullopt;
            break;
        default:
            return std::nullopt;
    }

    std::size_t after = pos + hs;
    if (h.bit_fields()) {
        if (hs >= 52) {
            h.masks = {b.u32(pos + 40), b.u32(pos + 44), b.u32(pos + 48), field32(52)};
        } else {
            const std::size_t n = h.compression == 6 ? 4 : 3;
            if (!b.has(after, 4 * n)) return std::nullopt;
            for (std::size_t i = 0; i < n; ++i) h.masks[i] = b.u32(after + 4 * i);
            after += 4 * n;
        }
        if (h.bpp == 16) {
            for (auto& m : h.masks) m &= 0xFFFF;
        }
        if ((h.masks[0] | h.masks[1] | h.masks[2]) == 0) {
            h.masks[0] = h.bpp == 16 ? 0x7C00 : 0xFF0000;
            h.masks[1] = h.bpp == 16 ? 0x03E0 : 0x00FF00;
            h.masks[2] = h.bpp == 16 ? 0x001F : 0x0000FF;
        }
    } else if (h.bpp == 16) {
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    }

    h.palette_start = after;
    const std::size_t entry = core ? 3 : 4;
    std::uint64_t count = colours_used;
    if (h.bpp <= 8 && (count == 0 || count > (1u << h.bpp))) count = 1u << h.bpp;
    h.palette_end = after + static_cast<std::size_t>(count) * entry;
    const std::size_t limit = std::min(palette_limit, b.size());
    if (h.bpp <= 8 && after < limit) {
        const std::size_t have = std::min<std::size_t>(count, (limit - after) / entry);
        h.palette.reserve(have);
        for (std::size_t i = 0; i < have; ++i) {
            const std::size_t at = after + i * entry;
            h.palette.push_back({b.u8(at), b.u8(at + 1), b.u8(at + 2), 255});
        }
    }
    return h;
}

std::vector<std::uint8_t> DecodeDibPixels(const DibHeader& h, ByteView b, std::size_t pos,
                                          bool keep_alpha) {
    const std::size_t w = static_cast<std::size_t>(h.width);
    std::vector<std::uint8_t> out(w * h.height * 4, 0);

    if (h.compression == 1 || h.compression == 2) {
        const std::vector<std::uint8_t> index = decode_rle(h, b, pos);
        for (std::size_t i = 0; i < index.size(); ++i) {
            std::copy_n(palette_colour(h, index[i]).begin(), 4, out.begin() + 4 * i);
        }
        return out;
    }

    const Channel red(h.masks[0]);
    const Channel green(h.masks[1]);
    const Channel blue(h.masks[2]);
    const Channel alpha(keep_alpha ? h.masks[3] : 0);
    const std::size_t stride = h.stride();
    for (int r = 0; r < h.height; ++r) {
        const int y = h.top_down ? r : h.height - 1 - r;
        std::uint8_t* dst = out.data() + static_cast<std::size_t>(y) * w * 4;
        const std::size_t row_pos = pos + static_cast<std::size_t>(r) * stride;
        if (row_pos >= b.size() || row_pos < pos) break;
        const std::uint8_t* src = b.data() + row_pos;
        const std::size_t avail = b.size() - row_pos;
        const std::size_t n = std::min(w, avail * 8 / static_cast<std::size_t>(h.bpp));
        for (std::size_t x = 0; x < n; ++x, dst += 4) {
            switch (h.bpp) {
                case 1: {
                    const auto& c = palette_colour(h, (src[x >> 3] >> (7 - (x & 7))) & 1);
                    std::copy_n(c.begin(), 4, dst);
                    break;
                }
                case 4: {
                    const auto& c = palette_colour(h, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
                    std::copy_n(c.begin(), 4, dst);
                    break;
                }
                case 8:
                    std::copy_n(palette_colour(h, src[x]).begin(), 4, dst);
                    break;
                case 16: {
                    const std::uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
                    dst[0] = blue.get(v, 0);
                    dst[1] = green.get(v, 0);
                    dst[2] = red.get(v, 0);
                    dst[3] = alpha.get(v, 255);
                    break;
                }
                case 24:
                    dst[0] = src[3 * x];
                    dst[1] = src[3 * x + 1];
                    dst[2] = src[3 * x + 2];
                    dst[3] = 255;
                    break;
                default: {  // 32
                    const std::uint8_t* s = src + 4 * x;
                    if (!h.bit_fields()) {
                        dst[0] = s[0];
                        dst[1] = s[1];
                        dst[2] = s[2];
                        dst[3] = keep_alpha ? s[3] : 255;
                        break;
                    }
                    const std::uint32_t v = s[0] | (s[1] << 8) | (s[2] << 16) |
                                            (static_cast<std::uint32_t>(s[3]) << 24);
                    dst[0] = blue.get(v, 0);
                    dst[1] = green.get(v, 0);
                    dst[2] = red.get(v, 0);
                    dst[3] = alpha.get(v, 255);
                    break;
                }
            }
        }
    }
    return out;
}

}  // namespace dz
