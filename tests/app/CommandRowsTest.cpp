// The program's command table: its rows and keys, and what the handlers do to
// the application state on the fake platform.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SettleLoads.h"
#include "app/CommandTable.h"
#include "app/DialogHooks.h"
#include "app/commands/AddPaths.h"
#include "edx/EdxBody.h"
#include "platform/VirtualKeys.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/TagUserData.h"

namespace dz {
namespace {

struct Row {
    int accel, vk, ctrl, alt, shift, id;
};

// The table as the user sees it: key, modifiers and id of each row, in order.
const Row kExpected[] = {
    {1, 'Z', 0, 0, 0, 1},          {1, 'X', 0, 0, 0, 2},          {1, 'C', 0, 0, 0, 3},
    {1, 'V', 0, 0, 0, 4},          {1, 'B', 0, 0, 0, 5},          {1, 'Z', 1, 0, 0, 6},
    {1, 'B', 1, 0, 0, 7},          {1, vk::kLeft, 0, 0, 0, 8},    {1, vk::kRight, 0, 0, 0, 9},
    {1, vk::kUp, 0, 0, 0, 16},     {1, vk::kDown, 0, 0, 0, 17},   {1, vk::kUp, 0, 0, 1, 18},
    {1, vk::kDown, 0, 0, 1, 19},   {1, vk::kReturn, 0, 0, 0, 20}, {1, vk::kPrior, 0, 0, 0, 14},
    {1, vk::kNext, 0, 0, 0, 15},   {1, vk::kHome, 0, 0, 0, 21},   {1, vk::kEnd, 0, 0, 0, 22},
    {1, 'A', 1, 0, 0, 25},         {0, 0, 0, 0, 0, 24},           {1, 'I', 1, 0, 0, 23},
    {1, vk::kDelete, 1, 0, 1, 26}, {1, 'O', 1, 0, 0, 28},         {1, 'S', 1, 0, 0, 27},
    {1, 'N', 1, 0, 0, 26},         {1, vk::kDelete, 0, 0, 0, 30}, {1, vk::kDelete, 1, 0, 0, 29},
    {1, '1', 1, 0, 0, 31},         {1, '2', 1, 0, 0, 32},         {1, '3', 1, 0, 0, 33},
    {1, 'R', 1, 0, 0, 34},         {1, 'R', 1, 0, 1, 35},         {1, 'L', 0, 0, 0, 36},
    {1, 'L', 1, 0, 0, 37},         {1, 'L', 0, 0, 1, 38},         {1, 'T', 1, 0, 0, 47},
    {1, 'T', 1, 0, 0, 48},         {1, 'T', 1, 0, 0, 49},         {1, 'A', 0, 0, 0, 41},
    {1, 'D', 0, 0, 0, 42},         {1, 'E', 0, 0, 0, 43},         {1, 'R', 0, 0, 0, 45},
    {1, 'S', 0, 0, 0, 44},         {1, 'E', 0, 1, 0, 46},         {1, vk::kUp, 0, 1, 0, 50},
    {1, vk::kDown, 0, 1, 0, 51},   {1, vk::kLeft, 0, 1, 0, 52},   {1, vk::kRight, 0, 1, 0, 53},
    {0, 0, 0, 0, 0, 54},           {0, 0, 0, 0, 0, 10},           {1, 'P', 1, 0, 0, 55},
    {1, 'I', 0, 0, 0, 56},         {0, 0, 0, 0, 0, 57},           {1, 'J', 0, 0, 0, 11},
};

TEST(CommandRows, TableHoldsTheRowsInOrderEachWithAHandler) {
    auto table = command_table();
    ASSERT_EQ(table.size(), 54u);
    for (std::size_t k = 0; k < table.size(); ++k) {
        SCOPED_TRACE("row " + std::to_string(k));
        const Row& e = kExpected[k];
        EXPECT_EQ(table[k].id, e.id);
        EXPECT_EQ(table[k].accel_enabled, e.accel);
        EXPECT_NE(table[k].handler, nullptr);
        if (e.accel) {
            EXPECT_EQ(table[k].vk, e.vk);
            EXPECT_EQ(table[k].ctrl, e.ctrl);
            EXPECT_EQ(table[k].alt, e.alt);
            EXPECT_EQ(table[k].shift, e.shift);
        }
    }
}

TEST(CommandRows, AcceleratorsFollowRowOrderAndFirstKeyWins) {
    auto accels = make_accelerators(command_table());
    ASSERT_EQ(accels.size(), 50u);  // rows 19, 48, 49 and 52 have no key
    EXPECT_EQ(accels.front().command, 1);
    EXPECT_EQ(accels.back().command, 11);
    auto key = [&](int vk, bool c, bool a, bool s) {
        return translate_accelerator(accels, vk, c, a, s);
    };
    EXPECT_EQ(key('T', true, false, false), kCmdToggleTime);  // never 48 or 49
    EXPECT_EQ(key(vk::kDelete, true, false, true), kCmdClearPlaylist);
    EXPECT_EQ(key('N', true, false, false), kCmdClearPlaylist);
    EXPECT_EQ(key(vk::kDelete, false, false, false), kCmdRemoveSelected);
    EXPECT_EQ(key(vk::kDelete, true, false, false), kCmdCrop);
    EXPECT_EQ(key('R', false, false, false), kCmdRepeat);
    EXPECT_EQ(key('R', true, false, false), kCmdReverseList);
    EXPECT_EQ(key('R', true, false, true), kCmdRandomizeList);
    EXPECT_EQ(key('L', false, false, true), kCmdAddFolder);
    EXPECT_EQ(key(vk::kUp, false, false, true), kCmdExtendUp);
    EXPECT_EQ(key(vk::kUp, false, true, false), kCmdMoveUp);
    EXPECT_EQ(key('E', false, true, false), kCmdPlaylistEditor);
    EXPECT_EQ(key('1', true, false, false), kCmdSortByTitle);
    EXPECT_EQ(key('J', false, false, false), kCmdJumpToTune);
    EXPECT_EQ(key('X', true, false, false), kCmdNone);  // no such row
    // 48 and 49 carry Ctrl+T in the table too, after 47: no key combination reaches them.
    for (int vk = 0; vk < 256; ++vk)
        for (int m = 0; m < 8; ++m) {
            int id = key(vk, m & 1, m & 2, m & 4);
            EXPECT_NE(id, 48);
            EXPECT_NE(id, 49);
        }
}

class Handlers : public ::testing::Test {
protected:
    Handlers() {
        dir_ = std::filesystem::temp_directory_path() /
               ("dz_cmd_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        auto& c = data.hooks.commands;
        c.save_playlist = [this](TAG_USERDATA&) { log.push_back("save_playlist"); };
        c.save_settings = [this](TAG_USERDATA&) { log.push_back("save_settings"); };
        c.save_position = [this](TAG_USERDATA&) { log.push_back("save_position"); };
        c.update_menu_checks = [this](TAG_USERDATA&) { log.push_back("menu_checks"); };
        data.hooks.run_layout = [this](TAG_USERDATA&) { log.push_back("layout"); };
    }
    ~Handlers() override { std::filesystem::remove_all(dir_); }

    std::string tune(const std::string& name) {
        std::string path = (dir_ / name).string();
        std::ofstream(path) << "x";
        EXPECT_TRUE(test::settle_loads(data.player));  // the loader reads the map
        lib.tunes[path] = FakeTune{};                  // 16 s
        return path;
    }
    void fill(int n) {
        for (int k = 0; k < n; ++k) data.player.add_file(tune("t" + std::to_string(k) + ".ptcop"));
    }
    void run(int id) { dispatch_command(id, &data); }
    std::vector<int> selected() const {
        std::vector<int> out;
        for (int k = 0; k < data.player.playlist.count(); ++k)
            if (data.player.playlist[k].selected) out.push_back(k);
        return out;
    }

    FakeWindowHost host;
    FakeAudioLibrary lib;
    TAG_USERDATA data{&host, lib};
    EdxBody editor;
    std::vector<std::string> log;
    std::filesystem::path dir_;
};

TEST_F(Handlers, PlayOnEmptyListAsksForFilesFirst) {
    int asked = 0;
    data.hooks.commands.choose_files = [&](TAG_USERDATA&) {
        ++asked;
        return std::vector<std::string>{};
    };
    run(kCmdPlay);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(data.player.is_playing, 0);
    std::string a = tune("a.ptcop");
    data.hooks.commands.choose_files = [&](TAG_USERDATA&) { return std::vector<std::string>{a}; };
    run(kCmdPlay);
    EXPECT_EQ(data.player.is_playing, 1);
    EXPECT_TRUE(lib.streaming);
}

TEST_F(Handlers, PlaybackKeysDriveThePlayer) {
    fill(3);
    run(kCmdPlay);  // X
    EXPECT_EQ(data.player.current_index, 0);
    run(kCmdNext);  // B
    EXPECT_EQ(data.player.current_index, 1);
    run(kCmdPrevious);  // Z
    EXPECT_EQ(data.player.current_index, 0);
    lib.stop_result = 500;
    run(kCmdPause);  // C
    EXPECT_EQ(data.player.is_paused, 1);
    run(kCmdPause);
    EXPECT_EQ(lib.start_sample, 500);
    run(kCmdStop);  // V
    EXPECT_EQ(data.player.is_playing, 0);
    EXPECT_FALSE(lib.streaming);
}

TEST_F(Handlers, RepeatAndShuffleToggleStateAndPlayer) {
    run(kCmdRepeat);
    EXPECT_EQ(data.repeat, 1);
    EXPECT_EQ(data.player.repeat, 1);
    EXPECT_TRUE(lib.loop);
    run(kCmdShuffle);
    EXPECT_EQ(data.shuffle, 1);
    EXPECT_EQ(data.player.shuffle, 1);
    run(kCmdShuffle);
    EXPECT_EQ(data.player.shuffle, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"menu_checks", "save_settings", "menu_checks",
                                             "save_settings", "menu_checks", "save_settings"}));
}

TEST_F(Handlers, TimeToggleOnlyWhilePlayingMenuItemsAlways) {
    fill(1);
    run(kCmdToggleTime);
    EXPECT_EQ(data.time_reverse, 0);
    EXPECT_TRUE(log.empty());
    run(kCmdShowRemaining);
    EXPECT_EQ(data.time_reverse, 1);
    run(kCmdShowElapsed);
    EXPECT_EQ(data.time_reverse, 0);
    run(kCmdPlay);
    run(kCmdToggleTime);
    EXPECT_EQ(data.time_reverse, 1);
    EXPECT_EQ(log.back(), "save_settings");
}

TEST_F(Handlers, EditorCommandsNeedTheEditor) {
    fill(5);
    run(kCmdSelectAll);
    run(kCmdCursorDown);
    run(kCmdScrollBottom);  // end
    run(kCmdRemoveSelected);
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(data.list_cursor, -1);
    EXPECT_EQ(data.scroll_top, 0);
    EXPECT_EQ(data.player.playlist.count(), 5);
}

TEST_F(Handlers, CursorJumpsIntoViewThenMovesAndSelectsOnlyItsRow) {
    data.body_pledit = &editor;
    fill(10);
    data.scroll_top = 5;
    data.list_cursor = 2;  // above the view
    run(kCmdCursorUp);     // Up
    EXPECT_EQ(data.list_cursor, 5);
    EXPECT_EQ(selected(), (std::vector<int>{5}));
    run(kCmdCursorUp);
    EXPECT_EQ(data.list_cursor, 4);
    EXPECT_EQ(data.scroll_top, 4);
    data.list_cursor = 9;  // below the view 4..7
    run(kCmdCursorDown);   // Down
    EXPECT_EQ(data.list_cursor, 7);
    run(kCmdCursorDown);
    EXPECT_EQ(data.list_cursor, 8);
    EXPECT_EQ(data.scroll_top, 5);
    EXPECT_EQ(selected(), (std::vector<int>{8}));
    run(kCmdCursorDown);
    run(kCmdCursorDown);  // stays on the last row
    EXPECT_EQ(data.list_cursor, 9);
    EXPECT_EQ(data.scroll_top, 6);
}

TEST_F(Handlers, ShiftCursorExtendsOnlyWhenItMoves) {
    data.body_pledit = &editor;
    fill(3);
    data.list_cursor = 0;
    data.player.select_one(2);
    run(kCmdExtendDown);  // Shift+Down
    EXPECT_EQ(selected(), (std::vector<int>{1, 2}));
    data.player.select_all_as(0);
    data.list_cursor = 0;
    run(kCmdExtendUp);  // Shift+Up at the top: no move, nothing selected
    EXPECT_TRUE(selected().empty());
    data.list_cursor = -1;  // no cursor yet: Up goes to the first visible row
    run(kCmdExtendUp);
    EXPECT_EQ(data.list_cursor, 0);
    EXPECT_EQ(selected(), (std::vector<int>{0}));
}

TEST_F(Handlers, PagesHomeAndEndClampTheScroll) {
    data.body_pledit = &editor;
    fill(3);
    run(kCmdPageDown);  // Page Down on a list shorter than a page
    EXPECT_EQ(data.scroll_top, 0);
    fill(7);                // 10 entries, page 4
    run(kCmdScrollBottom);  // End
    EXPECT_EQ(data.scroll_top, 6);
    EXPECT_EQ(data.scroll_max, 6);
    run(kCmdPageUp);  // Page Up
    EXPECT_EQ(data.scroll_top, 2);
    run(kCmdPageUp);
    EXPECT_EQ(data.scroll_top, 0);
    run(kCmdPageDown);
    run(kCmdPageDown);
    run(kCmdPageDown);
    EXPECT_EQ(data.scroll_top, 6);
    run(kCmdScrollTop);  // Home
    EXPECT_EQ(data.scroll_top, 0);
}

TEST_F(Handlers, EnterPlaysTheCursorRow) {
    data.body_pledit = &editor;
    fill(3);
    data.list_cursor = 2;
    run(kCmdPlayCursorRow);
    EXPECT_EQ(data.player.current_index, 2);
    EXPECT_TRUE(lib.streaming);
    data.list_cursor = 7;
    run(kCmdPlayCursorRow);
    EXPECT_EQ(data.player.current_index, 2);
}

// J: the jump box gets every entry's shown title and file name; the chosen entry plays as
// after a double click and becomes the editor's cursor row, selected and in view.
TEST_F(Handlers, JumpPlaysTheChosenEntryAndShowsItInTheEditor) {
    FakeDialogs dialogs;
    data.services.dialogs = &dialogs;
    InstallDialogHooks(data.hooks.commands);
    data.body_pledit = &editor;
    fill(30);
    lib.tunes[data.player.playlist[2].path].name = "\x83\x65\x83\x58\x83\x67";  // テスト
    data.player.playlist[2].info_loaded = 0;  // read again, with its name
    data.player.load_entry(2);
    run(kCmdPlay);  // X: entry 0 plays
    data.player.playlist[3].selected = 1;

    dialogs.jump_answer = 25;
    run(kCmdJumpToTune);
    ASSERT_EQ(dialogs.last_jump_entries.size(), 30u);
    EXPECT_EQ(dialogs.last_jump_entries[2].title, "テスト");
    EXPECT_EQ(dialogs.last_jump_entries[2].file_name, "t2.ptcop");
    EXPECT_EQ(dialogs.last_jump_entries[7].title, "t7");
    EXPECT_EQ(dialogs.last_jump_current, 0);
    EXPECT_EQ(data.player.current_index, 25);
    EXPECT_EQ(lib.start_sample, 0);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(selected(), std::vector<int>{25});
    EXPECT_EQ(data.list_cursor, 25);
    EXPECT_LE(data.scroll_top, 25);
    EXPECT_GT(data.scroll_top + data.scroll_page, 25);

    // Closed, or an answer that names no entry: nothing changes.
    for (std::optional<int> answer : {std::optional<int>(), std::optional<int>(30)}) {
        dialogs.jump_answer = answer;
        run(kCmdJumpToTune);
        EXPECT_EQ(data.player.current_index, 25);
        EXPECT_EQ(dialogs.last_jump_current, 25);
    }
    EXPECT_EQ(dialogs.calls["jump_to_entry"], 3);
}

TEST_F(Handlers, ClearRemoveAndCropSave) {
    fill(4);
    run(kCmdClearPlaylist);  // Ctrl+N, and Ctrl+Shift+Del (row 21) runs the same handler
    EXPECT_TRUE(data.player.playlist.empty());
    EXPECT_EQ(data.list_dirty, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"save_playlist"}));
    log.clear();

    data.body_pledit = &editor;
    fill(6);
    data.scroll_top = 2;
    data.player.select_range(0, 3);
    run(kCmdRemoveSelected);
    EXPECT_EQ(data.player.playlist.count(), 2);
    EXPECT_EQ(data.scroll_top, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"save_playlist"}));
    data.player.select_one(1);
    run(kCmdCrop);  // crop keeps the selected row, selected
    ASSERT_EQ(data.player.playlist.count(), 1);
    EXPECT_EQ(data.player.playlist[0].file_title, "t5");
    EXPECT_EQ(selected(), (std::vector<int>{0}));
}

TEST_F(Handlers, OrderingsRenumberFollowCurrentAndSave) {
    fill(3);
    run(kCmdPlay);
    run(kCmdReverseList);
    EXPECT_EQ(data.player.current_index, 2);
    EXPECT_EQ(data.player.playlist[0].file_title, "t2");
    EXPECT_EQ(data.list_dirty, 1);
    run(kCmdSortByFileName);  // by file name
    EXPECT_EQ(data.player.current_index, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"save_playlist", "save_playlist"}));
}

TEST_F(Handlers, WindowMovesStayInsideTheWorkArea) {
    host.window = Rect{10, 100, 285, 216};
    run(kCmdMoveLeft);  // Alt+Left: 25 would leave the work area by 15
    EXPECT_EQ(host.window.left, 0);
    run(kCmdMoveLeft);
    EXPECT_EQ(host.window.left, 0);
    run(kCmdMoveUp);  // Alt+Up
    EXPECT_EQ(host.window.top, 75);
    host.window = Rect{1000, 900, 1275, 1016};
    run(kCmdMoveRight);
    EXPECT_EQ(host.window.right, 1280);
    run(kCmdMoveDown);
    EXPECT_EQ(host.window.bottom, 1024);
    EXPECT_EQ(host.window.width(), 275);
    EXPECT_EQ(host.window.height(), 116);
    EXPECT_EQ(std::count(log.begin(), log.end(), "save_position"), 5);
}

TEST_F(Handlers, WindowMoveWithoutWindowStillSavesPosition) {
    data.main_window = nullptr;
    run(kCmdMoveUp);
    EXPECT_EQ(log, (std::vector<std::string>{"save_position"}));
}

TEST_F(Handlers, PreferencesStopsThePlayingTuneFirst) {
    fill(1);
    run(kCmdPlay);
    bool playing_in_dialog = true;
    data.hooks.commands.preferences_dialog = [&](TAG_USERDATA& d) {
        playing_in_dialog = d.player.is_playing || lib.streaming;
    };
    run(kCmdPreferences);
    EXPECT_FALSE(playing_in_dialog);
}

TEST_F(Handlers, AboutLoadsUnloadedEntriesOnlyWhenNotStreaming) {
    std::string a = tune("a.ptcop");
    data.player.add_entry(a, std::string("A"), 3.0f);
    run(kCmdAbout);
    ASSERT_TRUE(test::settle_loads(data.player));
    EXPECT_EQ(data.player.playlist[0].info_loaded, 1);
    std::string b = tune("b.ptcop");
    data.player.add_entry(b, std::string("B"), 3.0f);
    run(kCmdPlay);  // Play loads it too; make a fresh unloaded one while streaming
    data.player.add_entry(tune("c.ptcop"), std::string("C"), 3.0f);
    lib.take_calls();
    run(kCmdAbout);
    EXPECT_EQ(data.player.playlist[2].info_loaded, 0);
    EXPECT_TRUE(lib.streaming);
}

// A dropped folder adds the tunes directly inside it, in name order.
TEST_F(Handlers, DropWhilePlayingAddsAllThenResumesWherePaused) {
    data.player.add_file(tune("a.ptcop"));
    run(kCmdPlay);
    lib.stop_result = 4410;
    std::filesystem::create_directories(dir_ / "folder" / "deeper");
    tune("folder/z.ptcop");
    tune("folder/y.pttune");
    tune("folder/deeper/x.ptcop");
    drop_files(data, {tune("b.ptcop"), (dir_ / "notes.txt").string(), (dir_ / "folder").string(),
                      tune("C.PTTUNE")});
    ASSERT_EQ(data.player.playlist.count(), 5);
    EXPECT_EQ(data.player.playlist[1].file_title, "b");
    EXPECT_EQ(data.player.playlist[2].file_title, "y");
    EXPECT_EQ(data.player.playlist[3].file_title, "z");
    EXPECT_EQ(data.player.playlist[4].file_title, "C");
    EXPECT_EQ(data.player.is_paused, 0);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.start_sample, 4410);
    EXPECT_EQ(data.player.current_index, 0);
    EXPECT_EQ(data.list_dirty, 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "save_playlist"), 1);
}

TEST_F(Handlers, DropWhileStoppedDoesNotStartAndDropWhilePausedStops) {
    drop_files(data, {tune("a.ptcop")});
    EXPECT_EQ(data.player.is_playing, 0);
    EXPECT_FALSE(lib.streaming);
    run(kCmdPlay);
    run(kCmdPause);  // paused
    drop_files(data, {tune("b.ptcop")});
    EXPECT_EQ(data.player.is_playing, 0);  // resumed by the pause step, stopped by play
    EXPECT_FALSE(lib.streaming);
}

TEST_F(Handlers, DropUsesTheAddPathHookWhenSet) {
    std::vector<std::string> seen;
    data.hooks.commands.add_paths = [&](TAG_USERDATA&, const std::vector<std::string>& p) {
        seen.insert(seen.end(), p.begin(), p.end());
        return true;
    };
    drop_files(data, {"/x/a.ptlist", "/x/b.ptcop"});
    EXPECT_EQ(seen, (std::vector<std::string>{"/x/a.ptlist", "/x/b.ptcop"}));
}

TEST_F(Handlers, AddFolderScansAndSavesOnce) {
    std::filesystem::create_directories(dir_ / "f");
    for (const char* n : {"x.ptcop", "y.pttune", "z.wav"}) {
        std::string p = (dir_ / "f" / n).string();
        std::ofstream(p) << "x";
        lib.tunes[p] = FakeTune{};
    }
    data.hooks.commands.choose_folder = [&](TAG_USERDATA&) {
        return std::optional<std::string>((dir_ / "f").string());
    };
    run(kCmdAddFolder);
    EXPECT_EQ(data.player.playlist.count(), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "save_playlist"), 1);
    EXPECT_EQ(data.player.is_playing, 0);
}

TEST_F(Handlers, AddUrlSendsTheTypedTextToAddPath) {
    std::vector<std::string> seen;
    data.hooks.commands.add_paths = [&](TAG_USERDATA&, const std::vector<std::string>& p) {
        seen.insert(seen.end(), p.begin(), p.end());
        return true;
    };
    data.hooks.commands.ask_url = [](TAG_USERDATA&) {
        return std::optional<std::string>("http://h/a.ptcop");
    };
    run(kCmdAddUrl);
    data.hooks.commands.ask_url = [](TAG_USERDATA&) { return std::optional<std::string>(); };
    run(kCmdAddUrl);
    EXPECT_EQ(seen, (std::vector<std::string>{"http://h/a.ptcop"}));
}

}  // namespace
}  // namespace dz
