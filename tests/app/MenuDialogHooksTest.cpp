// The menus and the File Info dialog as the program wires them: a choice made in a
// menu comes back to the worker as a command (the skin items to the skin command), and
// File Info shows the entry the user is looking at, its name converted from Shift-JIS.
#include <gtest/gtest.h>

#include <chrono>

#include "TestSupport.h"
#include "app/CommandTable.h"
#include "app/ModuleHooks.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakePopupMenus.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/TagUserData.h"
#include "ui/UiCommon.h"
#include "ui/menus/MenuBuilder.h"

namespace dz {
namespace {

using namespace std::chrono_literals;

TEST(MenuDialogHooksTest, MenuChoicesComeBackAsCommandsAndSkinItemsReachTheSkinCommand) {
    TempWorkDir dir;
    FakeWindowHost host;
    FakeAudioLibrary lib;
    FakePopupMenus popups;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.services.popup_menus = &popups;
    d.ini_path = (dir.path() / "Dezidu.ini").string();
    std::vector<int> skin_ids;
    d.hooks.skin_menu_command = [&](TAG_USERDATA&, int id) { skin_ids.push_back(id); };
    d.post_command = [&](int id) { dispatch_command(id, &d); };
    BuildMenus(d, {"Alpha", "Beta"});

    popups.choice = 59;
    ShowMenu(&d, 2, Point{30, 40});
    host.pump(20ms);
    ASSERT_EQ(popups.shown.size(), 1u);
    EXPECT_EQ(popups.shown[0].screen.x, 30);
    EXPECT_EQ(popups.shown[0].menu.items.size(), 4u);
    EXPECT_EQ(skin_ids, std::vector<int>{59});

    // Double Size from the Options menu: the setting flips and its check mark follows.
    popups.choice = 42;
    ShowMenu(&d, 1, Point{0, 0});
    host.pump(20ms);
    EXPECT_EQ(d.double_size, 1);
    EXPECT_TRUE(d.menus[1]->items[7].checked);
    EXPECT_EQ(d.menus[1]->items[7].id, kCmdDoubleSize);

    // Reload Skins Folder builds new menus.
    const Menu* before = d.menus[0].get();
    dispatch_command(kCmdReloadSkins, &d);
    EXPECT_NE(d.menus[0].get(), before);
    EXPECT_TRUE(d.menus[1]->items[7].checked);
}

TEST(MenuDialogHooksTest, FileInfoShowsTheEntryInViewWithItsShiftJisTexts) {
    FakeWindowHost host;
    FakeAudioLibrary lib;
    FakeDialogs dialogs;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.services.dialogs = &dialogs;

    d.hooks.commands.file_info_dialog(d);
    EXPECT_EQ(dialogs.calls["file_info"], 0) << "an empty playlist has nothing to show";

    lib.tunes["/t/a.ptcop"].name = "A";
    FakeTune& b = lib.tunes["/t/b.ptcop"];
    b.name = "\x83\x65\x83\x58\x83\x67";                     // テスト
    b.comment = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd";  // こんにちは
    b.info.tempo = 132.4f;
    b.play_meas = 12;
    d.player.add_entry("/t/a.ptcop", std::nullopt, 0);
    d.player.add_entry("/t/b.ptcop", std::nullopt, 0);

    // Editor shown: the cursor row, loaded before it is shown.
    d.visible_pledit = 1;
    d.list_cursor = 1;
    d.hooks.commands.file_info_dialog(d);
    EXPECT_EQ(dialogs.last_info.path, "/t/b.ptcop");
    EXPECT_EQ(dialogs.last_info.name, "テスト");
    EXPECT_EQ(dialogs.last_info.comment, "こんにちは");
    EXPECT_EQ(dialogs.last_info.tempo, "132");
    EXPECT_EQ(dialogs.last_info.beats, "4");
    EXPECT_EQ(dialogs.last_info.measures, "12");
    EXPECT_EQ(dialogs.last_info.length, "0:21");  // 12 measures of 4 beats at 132.4 BPM
    EXPECT_EQ(dialogs.last_info.format, "ptcop");
    d.player.set_play_plan(3, 0);  // one play-through, whatever the loops
    d.hooks.commands.file_info_dialog(d);
    EXPECT_EQ(dialogs.last_info.length, "0:21");

    // Editor hidden and no current tune: the first entry in play order.
    d.visible_pledit = 0;
    d.hooks.commands.file_info_dialog(d);
    EXPECT_EQ(dialogs.last_info.name, "A");
    EXPECT_EQ(dialogs.calls["file_info"], 3);
}

}  // namespace
}  // namespace dz
