#pragma once
// The pixels one skin load may decode, bitmaps and cursors together. Real skins use
// well under a million; the cap keeps a skin of images that each claim a huge size (a few
// bytes of RLE data can claim 4096 x 4096) from taking gigabytes. Sizes are taken from
// the headers before anything is decoded. One load, one thread.

#include <cstdint>
#include <optional>

#include "platform/ImageDecoder.h"

namespace dz {

// The reason given for an image that does not fit.
inline constexpr const char* kOverBudget = "over the skin's pixel budget";

// 4096 x 4096.
inline constexpr std::uint64_t kSkinPixelBudget = std::uint64_t{16} << 20;

class SkinBudget {
public:
    explicit SkinBudget(std::uint64_t pixels = kSkinPixelBudget) : left_(pixels) {}

    // Takes width x height pixels when they fit in what is left; otherwise takes nothing,
    // remembers the size as refused() and returns false.
    bool take(const ImageSize& size);
    std::uint64_t left() const { return left_; }
    // The size the latest take() refused; cleared by a take() that succeeds.
    const std::optional<ImageSize>& refused() const { return refused_; }

private:
    std::uint64_t left_;
    std::optional<ImageSize> refused_;
};

}  // namespace dz
