// One update: cursor tracking, the queued button records (coalesced and ordered),
// pressed bodies and capture, the first-update and update broadcasts.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "edx/EdxCodes.h"
#include "edx/EdxDrag.h"
#include "edx/EdxWorld.h"
#include "platform/WindowEvents.h"
#include "platform/fake/FakeWindowHost.h"

namespace dz {
namespace {

struct Seen {
    EdxBody* body;
    int code;
};
std::vector<Seen>* g_seen = nullptr;

int Recorder(EdxBody* body, int code, TAG_USERDATA*) {
    if (!g_seen) return 0;
    g_seen->push_back({body, code});
    return 0;
}

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen = &seen;
        world.handler = Recorder;
        world.rect = Rect{0, 0, 275, 116};
        button = CreateBody(&world, EdxBodyInfo{Recorder, {10, 10, 60, 30}, 1, 1});
        other = CreateBody(&world, EdxBodyInfo{Recorder, {100, 10, 150, 30}, 1, 2});
        seen.clear();
    }
    void TearDown() override { g_seen = nullptr; }
    void queue(std::initializer_list<int> codes) {
        for (int c : codes) QueueMouseMessage(&world, static_cast<std::uint32_t>(c), 0);
    }
    // Runs Update on a worker thread while this thread serves the UI calls.
    void update() {
        std::atomic<bool> finished{false};
        std::thread t([this, &finished] {
            Update(&world);
            finished = true;
        });
        while (!finished) host.pump(std::chrono::milliseconds(1));
        t.join();
    }
    std::vector<int> mouse_codes_for(EdxBody* b) const {
        std::vector<int> out;
        for (const Seen& s : seen) {
            if (s.body == b && s.code >= 0x201 && s.code <= 0x209) out.push_back(s.code);
        }
        return out;
    }
    void point_at(int x, int y) {
        host.cursor_x = x;
        host.cursor_y = y;
    }

    std::vector<Seen> seen;
    FakeWindowHost host;
    EdxWorld world{&host};
    EdxBody* button = nullptr;
    EdxBody* other = nullptr;
};

TEST_F(UpdateTest, ClickWithinOneTickArrivesDownThenUp) {
    point_at(20, 20);
    queue({kWmLButtonDown, kWmLButtonUp});
    update();
    EXPECT_EQ(mouse_codes_for(button), (std::vector<int>{kWmLButtonDown, kWmLButtonUp}));
    EXPECT_EQ(world.left_pressed, nullptr);
    EXPECT_EQ(host.capture_off, 1);  // every button-up ends the capture
}

TEST_F(UpdateTest, TwoClicksAndADoubleClickWithinOneTickAreSortedByCode) {
    point_at(20, 20);
    queue({kWmLButtonDown, kWmLButtonUp, kWmLButtonDown, kWmLButtonUp});
    update();
    EXPECT_EQ(mouse_codes_for(button),
              (std::vector<int>{kWmLButtonDown, kWmLButtonDown, kWmLButtonUp, kWmLButtonUp}));
    seen.clear();
    queue({kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kWmLButtonUp});
    update();
    EXPECT_EQ(mouse_codes_for(button),
              (std::vector<int>{kWmLButtonDown, kWmLButtonUp, kWmLButtonUp, kWmLButtonDblClk}));
}

TEST_F(UpdateTest, RepeatedRecordsInARowCollapseToOne) {
    point_at(20, 20);
    queue({kWmRButtonDown, kWmRButtonDown, kWmRButtonDown, kWmRButtonUp});
    update();
    EXPECT_EQ(mouse_codes_for(button), (std::vector<int>{kWmRButtonDown, kWmRButtonUp}));
}

TEST_F(UpdateTest, PressedFieldChangesAfterTheHandlerRan) {
    static EdxBody* pressed_during_down = reinterpret_cast<EdxBody*>(1);
    button->handler = [](EdxBody* b, int code, TAG_USERDATA*) -> int {
        if (code == kWmLButtonDown) pressed_during_down = b->world->left_pressed;
        return 0;
    };
    point_at(20, 20);
    queue({kWmLButtonDown});
    update();
    EXPECT_EQ(pressed_during_down, nullptr);
    EXPECT_EQ(world.left_pressed, button);
    EXPECT_TRUE(IsLeftPressed(button));
}

TEST_F(UpdateTest, ClickGoesToBodyUnderCursorAtTickAndToWorldOutside) {
    queue({kWmLButtonDown});
    point_at(120, 20);  // moved onto the other body before the tick
    update();
    EXPECT_EQ(mouse_codes_for(other), (std::vector<int>{kWmLButtonDown}));
    EXPECT_TRUE(mouse_codes_for(button).empty());
    seen.clear();
    point_at(-1, -1);  // outside the window, nothing captured
    queue({kWmLButtonUp});
    update();
    EXPECT_EQ(mouse_codes_for(&world), (std::vector<int>{kWmLButtonUp}));
}

TEST_F(UpdateTest, CapturedBodyKeepsEventsUntilAnyButtonUp) {
    point_at(20, 20);
    std::thread t([this] { Capture(button); });
    while (host.capture_on == 0) host.pump(std::chrono::milliseconds(1));
    t.join();
    point_at(120, 20);
    queue({kWmMButtonDown});
    update();
    EXPECT_EQ(world.hovered, button);
    EXPECT_EQ(mouse_codes_for(button), (std::vector<int>{kWmMButtonDown}));
    seen.clear();
    queue({kWmMButtonUp});
    update();
    EXPECT_EQ(world.captured, nullptr);
    seen.clear();
    queue({kWmLButtonDown});
    update();
    EXPECT_EQ(mouse_codes_for(other), (std::vector<int>{kWmLButtonDown}));
}

TEST_F(UpdateTest, FirstUpdateOnceThenUpdateBroadcastThenUpdated) {
    point_at(-1, -1);
    update();
    update();
    int first = 0, world_updates = 0, button_updates = 0, updated = 0;
    for (const Seen& s : seen) {
        if (s.code == EDX_FIRST_UPDATE) ++first;
        if (s.code == EDX_UPDATE && s.body == &world) ++world_updates;
        if (s.code == EDX_UPDATE && s.body == button) ++button_updates;
        if (s.code == EDX_UPDATED) ++updated;
    }
    EXPECT_EQ(first, 1);
    EXPECT_EQ(world_updates, 2);
    EXPECT_EQ(button_updates, 2);
    EXPECT_EQ(updated, 2);
    EXPECT_EQ(world.update_count, 2u);
}

TEST_F(UpdateTest, HitTestingUsesLogicalPixelsAtDoubleSize) {
    world.zoom = 2.0;
    point_at(41, 41);  // logical (20, 20)
    queue({kWmLButtonDown});
    update();
    EXPECT_EQ(mouse_codes_for(button), (std::vector<int>{kWmLButtonDown}));
    EXPECT_EQ(MousePosition(button), (Point{20, 20}));
}

TEST_F(UpdateTest, FocusAndKeyStateFollowTheWindow) {
    host.keys[0x10] = 0x80;  // Shift held
    SetFocusState(&world, true);
    EXPECT_EQ(world.key_state[0x10], 0x80);
    host.keyboard_ok = false;
    host.keys[0x10] = 0;
    RefreshKeyState(&world);
    EXPECT_EQ(world.key_state[0x10], 0x80);  // a failed read leaves the copy alone
    SetFocusState(&world, false);
    EXPECT_EQ(world.has_focus, 0);
    EXPECT_EQ(world.key_state[0x10], 0);
}

TEST_F(UpdateTest, DragMovesWindowWithGrabPointFixed) {
    host.window = Rect{300, 200, 575, 316};
    point_at(20, 20);  // screen (320, 220)
    std::thread t([this] { BeginDrag(button); });
    while (host.capture_on == 0) host.pump(std::chrono::milliseconds(1));
    t.join();
    EXPECT_EQ(world.drag_offset, (Point{-20, -20}));
    point_at(50, 70);  // screen (350, 270)
    FollowDrag(&world);
    EXPECT_EQ(host.window, (Rect{330, 250, 605, 366}));
}

// Button records from the window go to the world's queue, as the application passes them.
struct ButtonsToWorld : WindowEvents {
    explicit ButtonsToWorld(EdxWorld& w) : world(w) {}
    void on_mouse_button(int message, std::uint32_t wparam) override {
        QueueMouseMessage(&world, static_cast<std::uint32_t>(message), wparam);
    }
    void on_paint(const std::function<void(const FrameView&)>&) override {}
    void on_close_request() override {}
    void on_destroy() override {}
    void on_focus(bool) override {}
    void on_key(int, bool, bool, bool, bool) override {}
    void on_command(int) override {}
    void on_mouse_move() override {}
    void on_wheel(int) override {}
    void on_drop(std::vector<std::string>) override {}
    EdxWorld& world;
};

TEST_F(UpdateTest, WhereTheWindowSystemPlacesWindowsTheDragIsItsMove) {
    ButtonsToWorld events(world);
    host.set_events(&events);
    host.system_places = true;
    host.window = Rect{300, 200, 575, 316};
    point_at(20, 20);
    std::thread t([this] { BeginDrag(button); });
    while (host.capture_on == 0) host.pump(std::chrono::milliseconds(1));
    t.join();
    EXPECT_EQ(host.system_moves, 1);
    EXPECT_EQ(world.dragging, 0);
    point_at(120, 20);  // over the other body, as the window system moved the window
    FollowDrag(&world);
    EXPECT_EQ(host.window, (Rect{300, 200, 575, 316}));
    // The window system's release reaches the body that started the move, and frees it.
    update();
    EXPECT_EQ(mouse_codes_for(button), (std::vector<int>{kWmLButtonUp}));
    EXPECT_TRUE(mouse_codes_for(other).empty());
    EXPECT_EQ(host.capture_off, 1);
    host.set_events(nullptr);
}

}  // namespace
}  // namespace dz
