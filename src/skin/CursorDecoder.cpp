#include "skin/CursorDecoder.h"

#include <algorithm>
#include <cstring>

#include "skin/Dib.h"

namespace dz {

namespace {

constexpr std::size_t kDirEntrySize = 16;

bool is_png(ByteView b, std::size_t pos) {
    static constexpr std::uint8_t kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return b.has(pos, 8) && std::memcmp(b.data() + pos, kSig, 8) == 0;
}

bool tag_is(ByteView b, std::size_t pos, const char (&tag)[5]) {
    return b.has(pos, 4) && std::memcmp(b.data() + pos, tag, 4) == 0;
}

DecodedImage decode_image(ByteView b, const DibHeader& h) {
    const std::size_t xor_pos = h.palette_end;
    DecodedImage image;
    image.width = h.width;
    image.height = h.height;
    image.bgra = DecodeDibPixels(h, b, xor_pos, h.bpp == 32);
    std::vector<std::uint8_t>& px = image.bgra;

    if (h.bpp == 32) {
        for (std::size_t i = 3; i < px.size(); i += 4) {
            if (px[i] != 0) return image;  // alpha channel in use; the mask does not count
        }
    }
    const std::size_t w = static_cast<std::size_t>(h.width);
    const std::size_t mask_stride = (w + 31) / 32 * 4;
    const std::size_t mask_pos = xor_pos + h.stride() * h.height;
    for (int r = 0; r < h.height; ++r) {
        const int y = h.top_down ? r : h.height - 1 - r;
        const std::size_t row = mask_pos + static_cast<std::size_t>(r) * mask_stride;
        std::uint8_t* p = px.data() + static_cast<std::size_t>(y) * w * 4;
        for (std::size_t x = 0; x < w; ++x, p += 4) {
            const bool and_bit = (b.u8(row + x / 8) >> (7 - x % 8)) & 1;
            if (!and_bit) {
                p[3] = 255;
            } else if (p[0] == 0 && p[1] == 0 && p[2] == 0) {
                p[3] = 0;  // transparent
            } else {
                p[0] = p[1] = p[2] = 0;  // inverts the screen: drawn black
                p[3] = 255;
            }
        }
    }
    return image;
}

}  // namespace

namespace {

// The image of a CUR/ICO file that is taken, and its directory entry.
struct Chosen {
    DibHeader header;
    std::size_t entry = 0;
};

std::optional<Chosen> choose_image(ByteView b) {
    if (!b.has(0, 6) || b.u16(0) != 0) return std::nullopt;
    const std::uint16_t type = b.u16(2);
    if (type != 1 && type != 2) return std::nullopt;
    const std::size_t count = b.u16(4);

    std::optional<Chosen> best;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + i * kDirEntrySize;
        if (!b.has(entry, kDirEntrySize)) break;
        const std::size_t offset = b.u32(entry + 12);
        if (is_png(b, offset)) continue;
        std::optional<DibHeader> h = ReadDibHeader(b, offset, 2, b.size());
        if (!h || h->compression == 1 || h->compression == 2) continue;  // no RLE masks
        auto rank = [](const DibHeader& d) {
            return std::pair{d.width == 32 && d.height == 32, d.bpp};
        };
        if (!best || rank(*h) > rank(best->header)) best = Chosen{std::move(*h), entry};
    }
    return best;
}

// `frame(bytes)` of the first "icon" chunk of the "fram" list for which it gives a value.
template <class Frame>
auto first_ani_frame(ByteView b, Frame&& frame)
    -> decltype(frame(std::span<const std::uint8_t>{})) {
    if (!tag_is(b, 0, "RIFF") || !tag_is(b, 8, "ACON")) return std::nullopt;
    // Chunks are walked to the end of the data: RIFF sizes in the wild are often wrong.
    for (std::size_t pos = 12; b.has(pos, 8);) {
        const std::size_t size = b.u32(pos + 4);
        const std::size_t data = pos + 8;
        const std::size_t end = std::min(b.size(), data + size);
        if (tag_is(b, pos, "LIST") && tag_is(b, data, "fram")) {
            for (std::size_t sub = data + 4; sub + 8 <= end;) {
                const std::size_t sub_size = b.u32(sub + 4);
                if (tag_is(b, sub, "icon")) {
                    if (auto value = frame(b.sub(sub + 8, sub_size))) return value;
                }
                sub += 8 + sub_size + (sub_size & 1);
            }
        }
        pos = data + size + (size & 1);
    }
    return std::nullopt;
}

std::optional<ImageSize> measure_cur(std::span<const std::uint8_t> bytes) {
    const std::optional<Chosen> chosen = choose_image(ByteView(bytes));
    if (!chosen) return std::nullopt;
    return ImageSize{chosen->header.width, chosen->header.height};
}

}  // namespace

std::optional<DecodedImage> DecodeCurFile(std::span<const std::uint8_t> bytes) {
    const ByteView b(bytes);
    const std::optional<Chosen> chosen = choose_image(b);
    if (!chosen) return std::nullopt;
    DecodedImage image = decode_image(b, chosen->header);
    if (b.u16(2) == 2) {
        image.hot_x = std::min<int>(b.u16(chosen->entry + 4), image.width - 1);
        image.hot_y = std::min<int>(b.u16(chosen->entry + 6), image.height - 1);
    }
    return image;
}

std::optional<DecodedImage> DecodeAniFirstFrame(std::span<const std::uint8_t> bytes) {
    return first_ani_frame(ByteView(bytes), DecodeCurFile);
}

std::optional<ImageSize> MeasureCursor(std::span<const std::uint8_t> bytes) {
    const ByteView b(bytes);
    if (tag_is(b, 0, "RIFF")) return first_ani_frame(b, measure_cur);
    return measure_cur(bytes);
}

std::optional<DecodedImage> DecodeCursor(std::span<const std::uint8_t> bytes) {
    const ByteView b(bytes);
    if (tag_is(b, 0, "RIFF")) return DecodeAniFirstFrame(bytes);
    return DecodeCurFile(bytes);
}

}  // namespace dz
