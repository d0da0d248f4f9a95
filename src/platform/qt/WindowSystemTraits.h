#pragma once
// What the window system behind a Qt platform plugin lets a program do with its top-level
// window. Std only, so the rules can be tested without a display.

#include <string_view>

namespace dz {

struct WindowSystemTraits {
    // The window goes where the program moves it, and its reported position is where it
    // is (X11). Otherwise only the window system places it (Wayland): moves by the program
    // are ignored, the reported position means nothing, and a drag is handed to the
    // compositor (QWindow::startSystemMove).
    bool exact_moves = true;
    // A stays-on-top request is honoured. Wayland's shell has no such request.
    bool keeps_on_top = true;
    // Transparent pixels must be drawn transparent (an alpha-composed surface): the
    // window system composes every surface, and a window mask only limits the input.
    // On X11 the mask cuts the window itself, which also works without a compositor.
    bool alpha_shape = false;
};

// The traits for the platform plugin named `platform` (QGuiApplication::platformName():
// "xcb", "wayland", "wayland-egl", "offscreen", ...).
WindowSystemTraits TraitsForPlatform(std::string_view platform);

}  // namespace dz
