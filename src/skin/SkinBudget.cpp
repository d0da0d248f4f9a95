#include "skin/SkinBudget.h"

namespace dz {

bool SkinBudget::take(const ImageSize& size) {
    const std::uint64_t pixels = size.width <= 0 || size.height <= 0
                                     ? 0
                                     : std::uint64_t(size.width) * std::uint64_t(size.height);
    if (pixels > left_) {
        refused_ = size;
        return false;
    }
    left_ -= pixels;
    refused_.reset();
    return true;
}

}  // namespace dz
