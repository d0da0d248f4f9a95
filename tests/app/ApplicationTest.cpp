// The two loops: commands on the worker, the close sequence, shutdown once,
// the wheel, dropped files, accelerators from keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "TempDir.h"
#include "TestHttpServer.h"
#include "app/Application.h"
#include "app/CommandTable.h"
#include "app/commands/AddPaths.h"
#include "edx/EdxCodes.h"
#include "io/CurlHttpClient.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakePopupMenus.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/ContextMenu.h"
#include "state/ListScroll.h"

namespace dz {
namespace {

using namespace std::chrono_literals;

int CountOf(const std::vector<std::string>& calls, const std::string& what) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), what));
}

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() {
        hooks.after_shutdown = [this](TAG_USERDATA&) {
            ++shutdowns;
            events.push_back("shutdown");
        };
    }
    void start() {
        app = std::make_unique<Application>(host, lib, hooks, services);
        app->create();
        app->start_worker();
    }
    // Serves the UI thread until the close sequence ends the loop (or 5 s pass).
    bool run_until_quit() { return host.pump(5000ms); }

    FakeWindowHost host;
    FakeAudioLibrary lib;
    AppHooks hooks;
    PlatformServices services;
    std::unique_ptr<Application> app;
    std::atomic<int> shutdowns{0};
    std::vector<std::string> events;  // appended by the worker before the close, then the UI
};

TEST_F(ApplicationTest, CloseWhileACommandRunsWaitsForIt) {
    std::atomic<bool> started{false};
    hooks.skin_menu_command = [&](TAG_USERDATA&, int) {
        started = true;
        std::this_thread::sleep_for(300ms);
        events.push_back("command done");
    };
    start();
    app->on_command(kCmdFirstSkin + 2);
    while (!started) host.pump(1ms);  // this thread is the UI thread: keep serving it
    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
    EXPECT_EQ(events, (std::vector<std::string>{"command done", "shutdown"}));
    EXPECT_TRUE(host.destroyed);
}

// A download on the worker ends when the window closes; the close does not wait for
// the server (which would take 30 s here).
TEST_F(ApplicationTest, CloseEndsADownloadInProgress) {
    test::TestHttpServer server;
    server.route("/slow.ptcop",
                 test::HttpRoute{.chunks = std::vector<std::string>(60, "x"), .pause_ms = 500});
    CurlHttpClient http;
    services.http = &http;
    std::atomic<bool> started{false};
    std::optional<std::string> fetched = "not run";
    hooks.skin_menu_command = [&](TAG_USERDATA& d, int) {
        started = true;
        fetched = d.services.http->fetch(server.url("/slow.ptcop"));
    };
    start();
    app->on_command(kCmdFirstSkin + 2);
    while (!started) host.pump(1ms);
    std::this_thread::sleep_for(200ms);
    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
    EXPECT_EQ(fetched, std::nullopt);
}

// A URL handed over while a tune plays, from a server that drips a byte every half
// second: meanwhile the worker runs commands and the tune plays on;
// the close ends the download at once.
TEST_F(ApplicationTest, SlowDownloadLeavesTheWorkerFree) {
    test::TempDir dir;
    const std::string tune = (dir.path() / "a.ptcop").string();
    test::write_file(tune, "tune");
    lib.tunes[tune] = FakeTune{};
    test::TestHttpServer server;
    server.route("/drip.ptcop",
                 test::HttpRoute{.chunks = std::vector<std::string>(240, "x"), .pause_ms = 500});
    CurlHttpClient http;
    services.http = &http;
    hooks.open_paths = open_paths;
    std::atomic<int> answered{0};
    hooks.skin_menu_command = [&](TAG_USERDATA&, int) { ++answered; };
    start();
    app->open_paths({tune});
    for (int k = 0; k < 500 && !lib.streaming; ++k) host.pump(10ms);
    ASSERT_TRUE(lib.streaming);

    app->open_paths({server.url("/drip.ptcop")});
    auto downloading = [&] { return CountOf(server.log(), "GET /drip.ptcop") >= 2; };
    for (int k = 0; k < 1000 && !downloading(); ++k) host.pump(10ms);
    ASSERT_TRUE(downloading());  // the existence test, then the download
    for (int round = 1; round <= 3; ++round) {
        app->on_command(kCmdFirstSkin + 2);
        for (int k = 0; k < 1000 && answered < round; ++k) host.pump(10ms);
        EXPECT_EQ(answered, round);
    }
    EXPECT_TRUE(lib.streaming);
    EXPECT_TRUE(downloading());

    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
}

TEST_F(ApplicationTest, ExitCommandClosesAndShutdownRunsExactlyOnce) {
    start();
    app->on_command(kCmdExit);
    ASSERT_TRUE(run_until_quit());
    EXPECT_EQ(shutdowns, 1);
    EXPECT_EQ(host.close_requests, 1);
    EXPECT_EQ(app->state()->shut_down, 1);
    EXPECT_EQ(app->state()->menus[1], nullptr);
    app.reset();  // world, then state: the destructor must not shut down again
    EXPECT_EQ(shutdowns, 1);
    std::vector<std::string> calls = lib.take_calls();
    EXPECT_EQ(CountOf(calls, "Release"), 1);
    EXPECT_EQ(CountOf(calls, "Tune_Release"), 1);
    EXPECT_LT(std::find(calls.begin(), calls.end(), "Tune_Release"),
              std::find(calls.begin(), calls.end(), "Release"));
}

TEST_F(ApplicationTest, DestructorShutsDownWhenTheWindowNeverClosed) {
    hooks.build_menus = [](TAG_USERDATA& d) { d.menus[2] = std::make_shared<Menu>(); };
    start();
    host.pump(50ms);
    app.reset();  // the UI loop ended some other way; the worker is still running
    EXPECT_EQ(shutdowns, 1);
    EXPECT_EQ(CountOf(lib.take_calls(), "Release"), 1);
}

TEST_F(ApplicationTest, CloseBeforeTheWorkerExistsDestroysAtOnce) {
    app = std::make_unique<Application>(host, lib, hooks);
    app->create();
    app->on_command(kCmdExit);  // dropped: no worker yet
    EXPECT_EQ(host.close_requests, 0);
    app->on_close_request();
    EXPECT_TRUE(host.destroyed);
    EXPECT_TRUE(host.quit);
    EXPECT_EQ(shutdowns, 1);
}

TEST_F(ApplicationTest, DroppedFilesReachTheWorkerAsOneMessage) {
    std::vector<std::vector<std::string>> drops;
    std::thread::id drop_thread;
    hooks.drop_files = [&](TAG_USERDATA&, const std::vector<std::string>& paths) {
        drops.push_back(paths);
        drop_thread = std::this_thread::get_id();
    };
    start();
    app->on_drop({"/m/a.ptcop", "/m/b.pttune", "/m/list.ptlist"});
    app->on_drop({});  // nothing dropped: no message
    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], (std::vector<std::string>{"/m/a.ptcop", "/m/b.pttune", "/m/list.ptlist"}));
    EXPECT_NE(drop_thread, std::this_thread::get_id());
}

TEST_F(ApplicationTest, WheelScrollsOneRowPerMessageAndNothingUnderANotch) {
    hooks.create_bodies = [](TAG_USERDATA& d) {
        d.body_pledit = CreateBody(d.world, EdxBodyInfo{nullptr, {0, 116, 275, 232}, 1, 0});
        for (int i = 0; i < 10; ++i) d.player.add_entry("t" + std::to_string(i), "t", 1.0f);
    };
    start();
    app->on_wheel(-120);  // down one row
    app->on_wheel(-119);  // under one notch: nothing
    app->on_wheel(-360);  // three notches: still one row
    app->on_wheel(-240);
    app->on_wheel(120);  // up one row
    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
    TAG_USERDATA* d = app->state();
    EXPECT_EQ(d->scroll_top, 2);
    EXPECT_EQ(d->scroll_max, 6);
    EXPECT_EQ(d->list_cursor, -1);  // the cursor row does not move
}

TEST_F(ApplicationTest, WheelNeedsTheEditor) {
    hooks.create_bodies = [](TAG_USERDATA& d) {
        for (int i = 0; i < 10; ++i) d.player.add_entry("t" + std::to_string(i), "t", 1.0f);
    };
    start();
    app->on_wheel(-120);
    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
    EXPECT_EQ(app->state()->scroll_top, 0);  // no editor body: nothing
}

TEST_F(ApplicationTest, ScrollOneRowClampsToTheList) {
    TAG_USERDATA d(&host, lib);
    EdxWorld world(&host);
    d.body_pledit = &world;
    for (int i = 0; i < 10; ++i) d.player.add_entry("t" + std::to_string(i), "t", 1.0f);
    ScrollOneRow(d, -1);
    EXPECT_EQ(d.scroll_top, 0);
    d.scroll_top = 6;
    ScrollOneRow(d, +1);
    EXPECT_EQ(d.scroll_top, 6);
    EXPECT_EQ(d.scroll_max, 6);
    d.scroll_page = 12;  // the list fits one page
    ScrollOneRow(d, +1);
    EXPECT_EQ(d.scroll_top, 0);
    EXPECT_EQ(d.scroll_max, 0);
}

TEST_F(ApplicationTest, IdleWorkerUpdatesAtMostTenTimesASecondAndSetsTheArrow) {
    static std::atomic<int> updates{0};
    updates = 0;
    hooks.create_bodies = [](TAG_USERDATA& d) {
        CreateBody(d.world, EdxBodyInfo{[](EdxBody*, int code, TAG_USERDATA*) -> int {
                                            if (code == EDX_UPDATE) ++updates;
                                            return 0;
                                        },
                                        {0, 0, 10, 10},
                                        1,
                                        0});
    };
    start();
    auto t0 = std::chrono::steady_clock::now();
    host.pump(500ms);
    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count();
    // One update at start, then one after each present (every 100 ms): never more.
    EXPECT_GE(updates, 1);
    EXPECT_LE(updates, ms / 100 + 2);
    EXPECT_LE(host.presents, ms / 100 + 2);
    EXPECT_NE(std::find(host.cursors_set.begin(), host.cursors_set.end(), kArrowCursor),
              host.cursors_set.end());
}

TEST_F(ApplicationTest, AcceleratorKeysBecomeCommandsOtherKeysRefreshKeyState) {
    std::vector<int> ids;
    hooks.skin_menu_command = [&](TAG_USERDATA&, int id) { ids.push_back(id); };
    start();
    app->world()->accelerators = {{EdxAccelerator::kVirtKey | EdxAccelerator::kControl, 'Q', 60}};
    host.keys[0x11] = 0x80;
    app->on_key('Q', true, true, false, false);   // Ctrl+Q: command 60
    app->on_key('Q', true, false, false, false);  // Q alone: not an accelerator
    EXPECT_EQ(app->world()->key_state[0x11], 0x80);
    app->on_focus(false);
    EXPECT_EQ(app->world()->key_state[0x11], 0);
    app->on_close_request();
    ASSERT_TRUE(run_until_quit());
    EXPECT_EQ(ids, (std::vector<int>{60}));
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

TEST_F(ApplicationTest, PopupMenuFromTheWorkerShowsOnTheUiThreadAndItsChoiceIsACommand) {
    FakePopupMenus menus;
    menus.choice = 61;
    services.popup_menus = &menus;
    std::vector<int> ids;
    auto menu = std::make_shared<Menu>();
    MenuItem item;
    item.id = 61;
    item.text = "Skin";
    menu->items.push_back(item);
    hooks.skin_menu_command = [&](TAG_USERDATA& d, int id) {
        ids.push_back(id);
        if (id == 59) PostContextMenu(d, menu, Point{40, 50});
        if (id == 61) d.main_window->request_close();
    };
    start();
    app->on_command(59);
    ASSERT_TRUE(run_until_quit());
    EXPECT_EQ(ids, (std::vector<int>{59, 61}));
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(menus.shown[0].screen, (Point{40, 50}));
    EXPECT_EQ(menus.shown[0].menu.items[0].text, "Skin");
}

}  // namespace
}  // namespace dz
