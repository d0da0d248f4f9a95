#include "edx/EdxImage.h"

#include <atomic>

namespace dz {

namespace {
std::atomic<std::uint64_t> g_next_id{1};
}  // namespace

EdxImage::EdxImage() {
    renew();
}

void EdxImage::renew() {
    id_ = g_next_id.fetch_add(1, std::memory_order_relaxed);
    version_ = 0;
}

bool EdxImage::fill_blank(int width, int height) {
    if (has_bitmap() || width <= 0 || height <= 0) return false;
    stride_ = row_bytes(width);
    pixels_.assign(static_cast<std::size_t>(stride_) * height, 0);
    width_ = width;
    height_ = height;
    renew();
    return true;
}

bool EdxImage::fill_from(const DecodedImage& d) {
    if (d.width <= 0 || d.height <= 0 ||
        d.bgra.size() < std::size_t(d.width) * std::size_t(d.height) * 4) {
        return false;
    }
    if (!fill_blank(d.width, d.height)) return false;
    const std::uint8_t* in = d.bgra.data();
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* out = row(y);
        for (int x = 0; x < width_; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    return true;
}

void EdxImage::release() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = height_ = stride_ = 0;
    cursor = 0;
    renew();
}

ColorRef EdxImage::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::uint8_t* p = pixels_.data() + static_cast<std::size_t>(y) * stride_ + 3 * x;
    return (ColorRef{p[0]} << 16) | (ColorRef{p[1]} << 8) | ColorRef{p[2]};
}

}  // namespace dz
