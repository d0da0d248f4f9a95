#include "platform/qt/WindowSystemTraits.h"

namespace dz {

WindowSystemTraits TraitsForPlatform(std::string_view platform) {
    // Qt's Wayland clients: "wayland" and its variants ("wayland-egl", "wayland-brcm", ...).
    const bool wayland = platform == "wayland" || platform.starts_with("wayland-");
    if (!wayland) return WindowSystemTraits{};
    return WindowSystemTraits{.exact_moves = false, .keeps_on_top = false, .alpha_shape = true};
}

}  // namespace dz
