// The player's bodies drawn with our default skin: each control state shows the
// sprite its skin coordinates name, and the mouse drives the player.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "app/CommandTable.h"
#include "edx/EdxCodes.h"
#include "edx/EdxRaster.h"
#include "edx/EdxRender.h"
#include "platform/WindowEvents.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakePopupMenus.h"
#include "platform/fake/FakeWindowHost.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinImageDecoder.h"
#include "skin/SkinText.h"
#include "state/TagUserData.h"
#include "ui/BitmapText.h"
#include "ui/TopLevel.h"

namespace dz {
namespace {

constexpr ColorRef kSubstitute = 0x000100;

class PlayerWindow : public ::testing::Test {
protected:
    PlayerWindow() {
        const std::filesystem::path skin = std::filesystem::path(DEZIDU_DEMO_DIR) / "skins/pxtone";
        SkinImageDecoder decoder;
        for (const char* e : {"MAIN", "TITLEBAR", "CBUTTONS", "POSBAR", "VOLUME", "SHUFREP",
                              "MONOSTER", "PLAYPAUS", "NUMBERS", "NUMS_EX", "TEXT"})
            LoadSkinBitmap(skin / (std::string(e) + ".BMP"), d.skin.skin_images, decoder, e);
        ReadPleditTxt(skin / "PLEDIT.TXT", d.skin.skin_colors);
        ReadViscolorTxt(skin / "VISCOLOR.TXT", d.skin.skin_colors);
        world.user_data = &d;
        world.rect = Rect{0, 0, 275, 116};
        RecreateBuffers(&world);
        d.world = &world;
        // Buttons run the program's commands; the ids are recorded.
        d.hooks.run_command = [this](TAG_USERDATA& data, int id) {
            commands.push_back(id);
            dispatch_command(id, &data);
        };
        d.hooks.commands.save_settings = [this](TAG_USERDATA&) { ++saves; };
        CreateTopLevelBodies(d);
        d.body_pledit->visible = 0;
    }

    // The body of the player at (x, y) of the player.
    EdxBody* at(int x, int y) { return HitTest(&world, x, y); }

    void compose() { ComposeFrame(&world, 0, kSubstitute); }

    // True when the frame at (x, y) shows the w x h block at (sx, sy) of `element`.
    ::testing::AssertionResult shows(int x, int y, const char* element, int sx, int sy, int w,
                                     int h) {
        EdxImage* image = d.skin.skin_images.lookup(element);
        if (!image) return ::testing::AssertionFailure() << "no " << element;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                ColorRef want = image->pixel(sx + i, sy + j);
                if (want == 0) want = kSubstitute;
                ColorRef got = world.back_buffer.pixel(x + i, y + j);
                if (got != want)
                    return ::testing::AssertionFailure()
                           << element << " (" << sx + i << ", " << sy + j << ") at (" << x + i
                           << ", " << y + j << "): " << std::hex << got << " != " << want;
            }
        return ::testing::AssertionSuccess();
    }

    void play(float length_seconds = 120.0f) {
        d.player.is_playing = 1;
        d.player.current_tune.length_seconds = length_seconds;
        d.player.current_tune.title = "Tune";
        lib.streaming = true;
    }

    FakeWindowHost host;
    FakeAudioLibrary lib;
    TAG_USERDATA d{&host, lib};
    EdxWorld world{&host};
    std::vector<int> commands;
    int saves = 0;
};

TEST_F(PlayerWindow, ButtonsShowTheirPressedSpriteOnlyWhileHeldAndHovered) {
    EdxBody* play_button = at(40, 90);
    compose();
    EXPECT_TRUE(shows(39, 88, "CBUTTONS", 23, 0, 23, 18));
    world.left_pressed = play_button;
    world.hovered = play_button;
    compose();
    EXPECT_TRUE(shows(39, 88, "CBUTTONS", 23, 18, 23, 18));
    world.hovered = at(20, 90);  // held, but the cursor moved to "previous"
    compose();
    EXPECT_TRUE(shows(39, 88, "CBUTTONS", 23, 0, 23, 18));
    EXPECT_TRUE(shows(16, 88, "CBUTTONS", 0, 18, 23, 18));
    world.left_pressed = nullptr;
    world.hovered = at(140, 95);
    compose();
    EXPECT_TRUE(shows(136, 89, "CBUTTONS", 114, 0, 22, 16));  // eject: hovered, not held
    EXPECT_TRUE(shows(0, 0, "TITLEBAR", 27, 0, 275, 3));      // active title bar
}

TEST_F(PlayerWindow, TogglesIndicatorsAndLampsFollowTheState) {
    compose();
    EXPECT_TRUE(shows(164, 89, "SHUFREP", 28, 0, 47, 15));
    EXPECT_TRUE(shows(210, 89, "SHUFREP", 0, 0, 28, 15));
    EXPECT_TRUE(shows(242, 58, "SHUFREP", 23, 61, 23, 12));
    EXPECT_TRUE(shows(239, 41, "MONOSTER", 0, 12, 29, 12));  // stereo unlit
    EXPECT_TRUE(shows(26, 28, "PLAYPAUS", 18, 0, 9, 9));     // stopped
    EXPECT_TRUE(shows(24, 28, "PLAYPAUS", 25, 0, 2, 9));

    d.shuffle = 1;
    d.repeat = 1;
    d.visible_pledit = 1;
    play();
    compose();
    EXPECT_TRUE(shows(164, 89, "SHUFREP", 28, 30, 47, 15));
    EXPECT_TRUE(shows(210, 89, "SHUFREP", 0, 30, 28, 15));
    EXPECT_TRUE(shows(242, 58, "SHUFREP", 23, 73, 23, 12));
    EXPECT_TRUE(shows(239, 41, "MONOSTER", 0, 0, 29, 12));  // stereo lit
    EXPECT_TRUE(shows(212, 41, "MONOSTER", 29, 12, 27, 12));
    EXPECT_TRUE(shows(26, 28, "PLAYPAUS", 0, 0, 9, 9));  // streaming
    EXPECT_TRUE(shows(24, 28, "PLAYPAUS", 36, 0, 3, 9));

    // A tune held by a lost output is still streaming for the library, but nothing is
    // heard: it shows as paused, the lamp out.
    d.player.output = OutputStatus::lost;
    compose();
    EXPECT_TRUE(shows(26, 28, "PLAYPAUS", 9, 0, 9, 9));
    EXPECT_TRUE(shows(24, 28, "PLAYPAUS", 25, 0, 2, 9));
    d.player.output = OutputStatus::ok;

    lib.streaming = false;
    d.player.is_paused = 1;
    compose();
    EXPECT_TRUE(shows(26, 28, "PLAYPAUS", 9, 0, 9, 9));  // paused
    EXPECT_TRUE(shows(24, 28, "PLAYPAUS", 25, 0, 2, 9));
}

TEST_F(PlayerWindow, VolumeRowsAndSeekThumbFollowTheirValues) {
    for (auto [volume, row] : {std::pair{0.0f, 0}, {0.5f, 13}, {1.0f, 27}}) {
        d.player.volume = volume;
        compose();
        EXPECT_TRUE(shows(107, 57, "VOLUME", 0, 15 * row, 68, 1)) << volume;
        EXPECT_TRUE(shows(107 + 2 * row, 58, "VOLUME", 15, 422, 14, 11)) << volume;
    }
    d.player.current_tune.length_seconds = 100.0f;
    d.player.position_seconds = 50.0f;
    compose();
    EXPECT_TRUE(shows(16, 72, "MAIN", 16, 72, 248, 10));  // nothing plays: no seek bar
    play(100.0f);
    for (auto [seconds, x] : {std::pair{0.0f, 0}, {50.0f, 109}, {100.0f, 219}}) {
        d.player.position_seconds = seconds;
        compose();
        EXPECT_TRUE(shows(16 + x, 72, "POSBAR", 248, 0, 29, 10)) << seconds;
    }
}

// The shaded bar's mini seek bar: the bar and a 3-pixel thumb whose image steps by
// thirds of the position, over a range of 14 pixels.
TEST_F(PlayerWindow, MiniSeekBarOfTheShadedBarFollowsThePosition) {
    EdxImage* bar = d.skin.skin_images.lookup("TITLEBAR");
    ASSERT_NE(bar, nullptr);
    for (int k = 0; k < 3; ++k)  // the skin's three thumbs look alike: tell them apart
        RasterPixel(*bar, Rect{0, 0, bar->width(), bar->height()}, 18 + 3 * k, 39, 0x0000F0 + k);
    d.body_main->visible = 0;
    d.body_main_shade->visible = 1;
    compose();
    EXPECT_TRUE(shows(226, 4, "TITLEBAR", 253, 33, 17, 7));  // nothing plays: the bar only
    play(100.0f);
    for (auto [seconds, x, k] : {std::tuple{20.0f, 2, 0}, {40.0f, 5, 1}, {75.0f, 10, 2}}) {
        d.player.position_seconds = seconds;
        compose();
        EXPECT_TRUE(shows(226, 4, "TITLEBAR", 0, 36, x, 7)) << seconds;
        EXPECT_TRUE(shows(226 + x, 4, "TITLEBAR", 17 + 3 * k, 36, 3, 7)) << seconds;
        EXPECT_TRUE(shows(229 + x, 4, "TITLEBAR", 3 + x, 36, 14 - x, 7)) << seconds;
    }
}

// The play state, the time and the digits: 83 seconds shows "01" and "23" at x 48 and
// 78 (two digits 12 pixels apart), with the minus cell when counting back.
TEST_F(PlayerWindow, TimeDigitsShowMinutesAndSeconds) {
    play(100.0f);
    d.player.position_seconds = 83.5f;
    compose();
    EXPECT_TRUE(shows(48, 26, "NUMS_EX", 0, 0, 9, 13));
    EXPECT_TRUE(shows(60, 26, "NUMS_EX", 9, 0, 9, 13));
    EXPECT_TRUE(shows(78, 26, "NUMS_EX", 18, 0, 9, 13));
    EXPECT_TRUE(shows(90, 26, "NUMS_EX", 27, 0, 9, 13));
    d.time_reverse = 1;  // 16.5 s left
    compose();
    EXPECT_TRUE(shows(36, 26, "NUMS_EX", 99, 0, 9, 13));
    EXPECT_TRUE(shows(78, 26, "NUMS_EX", 9, 0, 9, 13));
    EXPECT_TRUE(shows(90, 26, "NUMS_EX", 54, 0, 9, 13));
}

// The mouse through the world's update: buttons act on the release that reaches them,
// with Shift and Ctrl read from the copied key state.
class PlayerMouse : public PlayerWindow {
protected:
    void move(int x, int y) {
        host.cursor_x = x;
        host.cursor_y = y;
        Update(&world);
    }
    void button(std::uint32_t message, int x, int y) {
        host.cursor_x = x;
        host.cursor_y = y;
        QueueMouseMessage(&world, message, 0);
        Update(&world);
    }
    void click(int x, int y) {
        move(x, y);
        button(kWmLButtonDown, x, y);
        button(kWmLButtonUp, x, y);
    }
    void hold(int key, bool held) {
        host.keys[static_cast<std::size_t>(key)] = held ? 0x80 : 0;
        RefreshKeyState(&world);
    }
};

TEST_F(PlayerMouse, ButtonsRunTheirCommandsWithShiftAndCtrl) {
    click(45, 95);   // play
    click(115, 95);  // next
    hold(0x10, true);
    click(115, 95);  // Shift+next: forward 5 s
    click(140, 95);  // Shift+eject: add folder
    hold(0x10, false);
    hold(0x11, true);
    click(140, 95);  // Ctrl+eject: add URL
    click(45, 95);   // Ctrl+play: add URL
    hold(0x11, false);
    move(20, 95);  // press on previous, release over next: next acts
    button(kWmLButtonDown, 20, 95);
    button(kWmLButtonUp, 115, 95);
    EXPECT_EQ(commands, (std::vector<int>{kCmdPlay, kCmdNext, kCmdForward5, kCmdAddFolder,
                                          kCmdAddUrl, kCmdAddUrl, kCmdNext}));
}

TEST_F(PlayerMouse, ShiftPlayAddsFilesAndShiftOrCtrlPreviousSeekBack) {
    hold(0x10, true);
    click(45, 95);  // Shift+play: add files
    play(100.0f);
    d.player.sample_rate = 44100;
    d.player.position_seconds = 12.0f;
    lib.take_calls();
    click(20, 95);  // Shift+previous: 5 s back
    hold(0x10, false);
    hold(0x11, true);
    click(20, 95);  // Ctrl+previous: the start of the tune
    hold(0x11, false);
    std::vector<std::string> starts;
    for (const std::string& c : lib.take_calls())
        if (c.rfind("Start ", 0) == 0) starts.push_back(c.substr(0, c.find(' ', 6)));
    EXPECT_EQ(starts, (std::vector<std::string>{"Start 308700", "Start 0"}));
    // neither ran "previous entry"
    EXPECT_EQ(commands, (std::vector<int>{kCmdAddFiles, kCmdBack5, kCmdRestart}));
}

TEST_F(PlayerMouse, SeekDragSeeksOnceAfterTheReleaseAndVolumeClamps) {
    play(100.0f);
    d.player.sample_rate = 44100;
    move(40, 76);
    button(kWmLButtonDown, 40, 76);
    move(400, 76);  // past the right end: the whole length
    EXPECT_EQ(d.seek_dragging, 1);
    EXPECT_FLOAT_EQ(d.seek_ratio, 1.0f);
    lib.take_calls();
    button(kWmLButtonUp, 400, 76);
    move(400, 76);
    EXPECT_EQ(d.seek_dragging, 0);
    std::vector<std::string> calls = lib.take_calls();  // one seek, one sample before the end
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("Start ", 0) == 0; }),
              1);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Start 4409999 0 1.00"), calls.end());

    move(120, 62);
    button(kWmLButtonDown, 120, 62);
    move(500, 62);
    EXPECT_FLOAT_EQ(d.player.volume, 1.0f);
    EXPECT_EQ(d.volume_dragging, 1);
    move(0, 62);
    EXPECT_FLOAT_EQ(d.player.volume, 0.0f);
    move(107 + 7 + 27, 62);  // half of the 54-pixel range
    EXPECT_FLOAT_EQ(d.player.volume, 0.5f);
    button(kWmLButtonUp, 141, 62);
    move(141, 62);
    EXPECT_EQ(d.volume_dragging, 0);
    EXPECT_EQ(saves, 1);  // the volume is stored once, when the drag ends
}

TEST_F(PlayerMouse, TitleBarDoubleClickShadesAndTogglesSave) {
    move(100, 5);
    button(kWmLButtonDblClk, 100, 5);
    EXPECT_EQ(d.shade_player, 1);
    click(170, 95);  // shuffle
    click(220, 95);  // repeat
    EXPECT_EQ(d.shuffle, 1);
    EXPECT_EQ(d.player.shuffle, 1);
    EXPECT_EQ(d.repeat, 1);
    EXPECT_TRUE(lib.loop);
    EXPECT_EQ(saves, 3);
}

// The always-on-top lamp is lit only where the window is kept on top; where the window
// system refuses, a click leaves the stored wish alone.
TEST_F(PlayerMouse, AlwaysOnTopLampShowsWhatTheWindowSystemKeeps) {
    d.always_on_top = 1;
    compose();
    EXPECT_TRUE(shows(10, 32, "TITLEBAR", 312, 54, 8, 8));  // lit
    d.topmost_refused = 1;
    compose();
    EXPECT_TRUE(shows(10, 32, "TITLEBAR", 304, 10, 8, 8));  // the bar, unlit
    click(14, 36);
    EXPECT_EQ(d.always_on_top, 1);
    d.topmost_refused = 0;
    click(14, 36);
    EXPECT_EQ(d.always_on_top, 0);
}

// The main-menu button decides on a double click before it opens the menu: a menu open
// at the second click would take that click.
TEST_F(PlayerMouse, MainMenuButtonDoubleClickClosesAndASingleClickOpensTheMenuLater) {
    FakePopupMenus popups;
    d.services.popup_menus = &popups;
    d.menus[0] = std::make_shared<Menu>();
    host.double_click = 60000;  // the second click comes well inside it
    click(10, 7);
    button(kWmLButtonDblClk, 10, 7);
    button(kWmLButtonUp, 10, 7);
    move(10, 7);
    host.pump(std::chrono::milliseconds(0));
    EXPECT_EQ(host.close_requests, 1);
    EXPECT_TRUE(popups.shown.empty());

    host.double_click = 0;  // no second click: the menu at the next update
    click(10, 7);
    move(10, 7);
    host.pump(std::chrono::milliseconds(0));
    ASSERT_EQ(popups.shown.size(), 1u);
    EXPECT_EQ(popups.shown[0].screen, (Point{6, 12}));  // the button's bottom-left corner
    EXPECT_EQ(host.close_requests, 1);
}

TEST(BitmapText, GlyphMapFirstEntryAndBlankFallback) {
    EXPECT_EQ(GlyphCell('a'), (Point{0, 0}));
    EXPECT_EQ(GlyphCell('Z'), (Point{125, 0}));
    EXPECT_EQ(GlyphCell('@'), (Point{135, 0}));
    EXPECT_EQ(GlyphCell('0'), (Point{0, 6}));
    EXPECT_EQ(GlyphCell(':'), (Point{60, 6}));
    EXPECT_EQ(GlyphCell('#'), (Point{150, 6}));
    EXPECT_EQ(GlyphCell('?'), (Point{15, 12}));
    EXPECT_EQ(GlyphCell('*'), (Point{20, 12}));
    EXPECT_EQ(GlyphCell(' '), (Point{140, 0}));
    EXPECT_EQ(GlyphCell('~'), (Point{140, 0}));
    EXPECT_EQ(GlyphCell('\xe9'), (Point{140, 0}));
    EXPECT_EQ(DigitCell('7'), 63);
    EXPECT_EQ(DigitCell('-'), 99);
    EXPECT_EQ(DigitCell('x'), 90);
}

}  // namespace
}  // namespace dz
