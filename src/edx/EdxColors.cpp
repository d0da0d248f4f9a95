#include "edx/EdxColors.h"

#include "edx/EdxImages.h"

namespace dz {

ColorRef EdxColors::GetSkinColour(std::string_view name, ColorRef fallback) const {
    auto it = colours_.find(MakeElementKey(name));
    return it == colours_.end() ? fallback : it->second;
}

bool EdxColors::SetColourIfAbsent(std::string_view name, ColorRef colour) {
    return colours_.try_emplace(MakeElementKey(name), colour).second;
}

}  // namespace dz
