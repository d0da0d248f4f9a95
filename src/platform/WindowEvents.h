#pragma once
// What the window tells the application. The platform calls these on the UI
// thread only; they are the window procedure of the program.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace dz {

// Mouse button records, with the codes the framework routes (0x201-0x209).
inline constexpr int kWmLButtonDown = 0x201;
inline constexpr int kWmLButtonUp = 0x202;
inline constexpr int kWmLButtonDblClk = 0x203;
inline constexpr int kWmRButtonDown = 0x204;
inline constexpr int kWmRButtonUp = 0x205;
inline constexpr int kWmRButtonDblClk = 0x206;
inline constexpr int kWmMButtonDown = 0x207;
inline constexpr int kWmMButtonUp = 0x208;
inline constexpr int kWmMButtonDblClk = 0x209;

// Button-state bits of a mouse record's wParam.
inline constexpr std::uint32_t kMkLButton = 0x01;
inline constexpr std::uint32_t kMkRButton = 0x02;
inline constexpr std::uint32_t kMkShift = 0x04;
inline constexpr std::uint32_t kMkControl = 0x08;
inline constexpr std::uint32_t kMkMButton = 0x10;

class WindowEvents {
public:
    virtual ~WindowEvents() = default;

    // Repaint: call `draw` with the finished frame (the application holds its lock meanwhile).
    virtual void on_paint(const std::function<void(const FrameView&)>& draw) = 0;
    // The user, the system or a signal asks the window to close. The window stays until
    // the application destroys it.
    virtual void on_close_request() = 0;
    // The window is being destroyed (after destroy_window); the last event.
    virtual void on_destroy() = 0;
    // Focus in (true) or out (false).
    virtual void on_focus(bool has_focus) = 0;
    // A key went down or up; `vk` is the Windows virtual key; ctrl/alt/shift are held now.
    virtual void on_key(int vk, bool down, bool ctrl, bool alt, bool shift) = 0;
    // A menu choice (or any other command for the worker).
    virtual void on_command(int id) = 0;
    // A button record 0x201-0x209 with its wParam (kMk* bits).
    virtual void on_mouse_button(int message, std::uint32_t wparam) = 0;
    virtual void on_mouse_move() = 0;
    // Wheel delta in 1/120 notches, positive away from the user.
    virtual void on_wheel(int delta) = 0;
    // Local files dropped on the window, in order (UTF-8 paths).
    virtual void on_drop(std::vector<std::string> paths) = 0;
};

}  // namespace dz
