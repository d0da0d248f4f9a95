#pragma once
// A WindowEvents that records what the window reports and paints a test frame.

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WindowEvents.h"

namespace dz {

struct RecordingEvents : WindowEvents {
    struct Button {
        int message;
        std::uint32_t wparam;
    };
    struct Key {
        int vk;
        bool down, ctrl, alt, shift;
    };
    std::vector<Button> buttons;
    std::vector<Key> keys;
    std::vector<int> wheels;
    std::vector<std::vector<std::string>> drops;
    std::vector<bool> focus;
    int close_requests = 0;
    int destroys = 0;
    int paints = 0;
    int moves = 0;

    // The frame handed out on paint: width x height, 24-bit rows of `stride` bytes.
    int width = 4, height = 2;
    double zoom = 1.0;
    std::vector<std::uint8_t> frame = std::vector<std::uint8_t>(4 * 2 * 3, 0x40);
    int stride() const { return ((24 * width + 31) / 32) * 4; }

    void on_paint(const std::function<void(const FrameView&)>& draw) override {
        ++paints;
        draw(FrameView{frame.data(), width, height, stride(), zoom});
    }
    void on_close_request() override { ++close_requests; }
    void on_destroy() override { ++destroys; }
    void on_focus(bool f) override { focus.push_back(f); }
    void on_key(int vk, bool down, bool ctrl, bool alt, bool shift) override {
        keys.push_back({vk, down, ctrl, alt, shift});
    }
    void on_command(int) override {}
    void on_mouse_button(int message, std::uint32_t wparam) override {
        buttons.push_back({message, wparam});
    }
    void on_mouse_move() override { ++moves; }
    void on_wheel(int delta) override { wheels.push_back(delta); }
    void on_drop(std::vector<std::string> paths) override { drops.push_back(std::move(paths)); }
};

}  // namespace dz
