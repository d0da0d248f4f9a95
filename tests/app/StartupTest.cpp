// Start-up: centring, the twelve initialisation steps in order, the first frame.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/Application.h"
#include "app/CommandTable.h"
#include "edx/EdxCodes.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"

namespace dz {
namespace {

TEST(StartupTest, StepsRunInOrderEachSeeingThePreviousOnes) {
    TempWorkDir cwd;
    FakeWindowHost host;
    FakeAudioLibrary lib;
    std::vector<std::string> steps;
    AppHooks hooks;
    auto step = [&](const char* name) {
        return [&steps, &host, name](TAG_USERDATA& d) {
            steps.push_back(name);
            // Every step runs before the window is shown, with the first four done.
            EXPECT_FALSE(host.shown) << name;
            EXPECT_TRUE(host.colour_key.has_value()) << name;
            EXPECT_FALSE(d.ini_path.empty()) << name;
            ASSERT_NE(d.world, nullptr);
        };
    };
    hooks.read_setting_section = step("setting");
    hooks.read_position_section = step("position");
    hooks.open_stored_playlist = step("playlist");
    hooks.read_property_section = step("property");
    hooks.build_menus = step("menus");
    hooks.select_skin = step("skin");
    hooks.create_bodies = step("bodies");
    hooks.run_layout = step("layout");
    Application app(host, lib, hooks);
    app.create();
    EXPECT_EQ(steps, (std::vector<std::string>{"setting", "position", "playlist", "property",
                                               "menus", "skin", "bodies", "layout"}));
    TAG_USERDATA* d = app.state();
    EXPECT_EQ(*host.colour_key, d->transparent_key);
    EXPECT_EQ(d->ini_path, (cwd.path() / "Dezidu.ini").string());
    EXPECT_EQ(d->japanese, 0);
    // The player was built first: the library is ready with looping off.
    std::vector<std::string> calls = lib.take_calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "Ready");
    EXPECT_EQ(calls[1], "SetLoop 0");
    // The first frame was presented, then the window shown.
    EXPECT_TRUE(host.shown);
    EXPECT_GE(host.presents, 1);
    EXPECT_EQ(app.world()->rect, (Rect{0, 0, 275, 116}));
    EXPECT_EQ(app.world()->front_buffer.pixel(0, 0), 0u);  // attach does not protect the key
}

TEST(StartupTest, JapaneseMarkerAndNoFileWrittenAtStart) {
    TempWorkDir cwd;
    std::ofstream("japanese.ico") << "x";
    FakeWindowHost host;
    FakeAudioLibrary lib;
    Application app(host, lib);
    app.create();
    EXPECT_EQ(app.state()->japanese, 1);
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(cwd.path())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);  // only the marker
}

TEST(StartupTest, WindowIsCentredFromTheScreenOriginOrLeftAlone) {
    {
        FakeWindowHost host;
        host.work = Rect{100, 50, 1380, 1074};  // 1280 x 1024, offset
        FakeAudioLibrary lib;
        Application app(host, lib);
        app.create();
        EXPECT_EQ(host.window, (Rect{502, 454, 777, 570}));  // the work area's offset is not added
    }
    {
        FakeWindowHost host;
        host.work = std::nullopt;
        host.window = Rect{7, 9, 282, 125};
        FakeAudioLibrary lib;
        Application app(host, lib);
        app.create();
        EXPECT_EQ(host.window, (Rect{7, 9, 282, 125}));
    }
}

TEST(StartupTest, BuildsAcceleratorsFromTheTableFirst) {
    FakeWindowHost host;
    FakeAudioLibrary lib;
    AppHooks hooks;
    std::size_t seen = 99;
    hooks.read_setting_section = [&](TAG_USERDATA& d) { seen = d.world->accelerators.size(); };
    Application app(host, lib, hooks);
    app.create();
    EXPECT_EQ(seen, make_accelerators(command_table()).size());
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

TEST(WorldHandlerTest, CursorRequestClimbsFromTheTargetAndStopsAtTheFirstAnswer) {
    FakeWindowHost host;
    FakeAudioLibrary lib;
    Application app(host, lib);
    app.create();
    EdxWorld* world = app.world();
    static int asked_outer = 0;
    asked_outer = 0;
    EdxBody* outer = CreateBody(world, EdxBodyInfo{[](EdxBody*, int code, TAG_USERDATA*) -> int {
                                                       if (code == EDX_SET_CURSOR) ++asked_outer;
                                                       return code == EDX_SET_CURSOR ? 1 : 0;
                                                   },
                                                   {0, 0, 100, 50},
                                                   1,
                                                   0});
    EdxBody* inner = CreateBody(outer, EdxBodyInfo{nullptr, {0, 0, 10, 10}, 1, 0});
    world->target = inner;  // no handler: its parent answers
    host.cursors_set.clear();
    world->send(EDX_UPDATE);
    EXPECT_EQ(asked_outer, 1);
    EXPECT_TRUE(host.cursors_set.empty());  // the world was not asked

    outer->handler = nullptr;  // nobody answers: the world sets the arrow
    world->send(EDX_UPDATE);
    ASSERT_EQ(host.cursors_set.size(), 1u);
    EXPECT_EQ(host.cursors_set[0], kArrowCursor);
}

}  // namespace
}  // namespace dz
