// What each Qt platform lets the program do with its window.
#include <gtest/gtest.h>

#include "platform/qt/WindowSystemTraits.h"

namespace dz {
namespace {

TEST(WindowSystemTraits, WaylandCompositorsMoveAndShapeX11MovesExactly) {
    for (const char* wayland : {"wayland", "wayland-egl", "wayland-brcm"}) {
        const WindowSystemTraits t = TraitsForPlatform(wayland);
        EXPECT_FALSE(t.exact_moves) << wayland;
        EXPECT_FALSE(t.keeps_on_top) << wayland;
        EXPECT_TRUE(t.alpha_shape) << wayland;
    }
    for (const char* placed : {"xcb", "offscreen", "minimal", "waylandish"}) {
        const WindowSystemTraits t = TraitsForPlatform(placed);
        EXPECT_TRUE(t.exact_moves) << placed;
        EXPECT_TRUE(t.keeps_on_top) << placed;
        EXPECT_FALSE(t.alpha_shape) << placed;  // no translucent window on X11
    }
}

}  // namespace
}  // namespace dz
