// The program's hooks: dialogs run on the UI thread while the worker waits, and
// give nothing once the UI thread stopped taking calls.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "SettleLoads.h"
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "app/AppCallback.h"
#include "app/Application.h"
#include "app/CommandTable.h"
#include "app/ModuleHooks.h"
#include "app/commands/AddPaths.h"
#include "app/commands/Commands.h"
#include "edx/EdxWorld.h"
#include "io/PlaylistFile.h"
#include "platform/Menu.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeHttpClient.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/TagUserData.h"
#include "ui/TopLevel.h"

namespace dz {
namespace {

using namespace std::chrono_literals;

TEST(ModuleHooksTest, DialogsRunOnTheUiThreadAndAnswerTheWorker) {
    FakeWindowHost host;
    FakeAudioLibrary lib;
    FakeDialogs dialogs;
    dialogs.url = "http://example.com/a.ptcop";
    dialogs.folder = "/music";
    AppHooks hooks = DefaultAppHooks();
    TAG_USERDATA d(&host, lib, hooks);
    d.services.dialogs = &dialogs;

    std::optional<std::string> url, folder;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        url = d.hooks.commands.ask_url(d);
        folder = d.hooks.commands.choose_folder(d);
        d.hooks.commands.about_dialog(d);
        done = true;
    });
    while (!done) host.pump(1ms);
    worker.join();
    EXPECT_EQ(url, dialogs.url);
    EXPECT_EQ(folder, dialogs.folder);
    EXPECT_EQ(dialogs.calls["add_url"], 1);
    EXPECT_EQ(dialogs.calls["about"], 1);

    host.stop_ui_calls();  // the close sequence has begun
    std::thread late([&] { url = d.hooks.commands.ask_url(d); });
    late.join();
    EXPECT_EQ(url, std::nullopt);
    EXPECT_EQ(dialogs.calls["add_url"], 1);
}

TEST(ModuleHooksTest, AddFilesDialogAddsTheChosenTunes) {
    TempWorkDir cwd;
    std::string tune = (cwd.path() / "a.ptcop").string();
    std::ofstream(tune) << "x";
    FakeWindowHost host;
    FakeAudioLibrary lib;
    lib.tunes[tune] = FakeTune{};
    FakeDialogs dialogs;
    dialogs.files = {tune, (cwd.path() / "missing.ptcop").string()};
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.services.dialogs = &dialogs;
    cmd_add_files(&d);  // on the UI thread itself: runs at once
    EXPECT_EQ(dialogs.calls["open_files"], 1);
    ASSERT_EQ(d.player.playlist.count(), 1);  // the missing file is not added
    EXPECT_EQ(d.player.playlist[0].path, tune);
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ModuleHooksTest, StartUpReadsTheSettingsFileOfTheCurrentFolderWithoutWritingIt) {
    TempWorkDir cwd;
    const std::string ini =
        "[Setting]\r\nShuffle=1\r\nVolume=50\r\nSelectSkin=Blue\r\nVisiblePledit=1\r\n"
        "[Position]\r\nWindowLeft=40\r\nWindowTop=30\r\nScrollPage=7\r\n"
        "[Playlist]\r\nFile1=/x/a.ptcop\r\nTitle1=A\r\nLength1=12\r\nNumberOfEntries=1\r\n"
        "[Property]\r\nSps=22050\r\n";
    std::ofstream(cwd.path() / "Dezidu.ini", std::ios::binary) << ini;
    // Left by a save that was killed an hour ago, and by one in progress.
    const auto stale = cwd.path() / ".Dezidu.ini.0123456789ab.tmp";
    const auto fresh = cwd.path() / ".Dezidu.ini.aaaaaaaaaaaa.tmp";
    std::ofstream(stale) << "[Setting]\n";
    std::ofstream(fresh) << "[Setting]\n";
    std::filesystem::last_write_time(
        stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    FakeWindowHost host;
    FakeAudioLibrary lib;
    Application app(host, lib, DefaultAppHooks());
    app.create();
    TAG_USERDATA& d = *app.state();
    EXPECT_EQ(d.skin_name, "Blue");
    EXPECT_EQ(d.shuffle, 1);
    EXPECT_EQ(d.player.shuffle, 1);
    EXPECT_EQ(d.visible_pledit, 1);
    EXPECT_EQ(d.scroll_page, 7);
    EXPECT_EQ(host.window.left, 40);  // the stored position wins over the centring
    EXPECT_EQ(host.window.top, 30);
    ASSERT_EQ(d.player.playlist.count(), 1);
    EXPECT_EQ(d.player.playlist[0].title, "A");
    EXPECT_EQ(lib.format.sample_rate, 22050);  // re-opened with the stored format
    std::vector<std::string> calls = lib.take_calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Reset"), calls.end());
    EXPECT_EQ(ReadAll(cwd.path() / "Dezidu.ini"), ini);  // read, never written at start
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(fresh));
}

TEST(ModuleHooksTest, WritersStoreSettingsPositionAndPlaylist) {
    TempWorkDir cwd;
    FakeWindowHost host;
    host.window = Rect{120, 80, 395, 196};
    FakeAudioLibrary lib;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    d.repeat = 1;
    d.player.add_entry("/x/b.ptcop", "B", 3.0f);
    d.hooks.commands.save_settings(d);
    d.hooks.commands.save_position(d);
    d.hooks.commands.save_playlist(d);
    std::string text = ReadAll(d.ini_path);
    EXPECT_NE(text.find("Repeat=1"), std::string::npos);
    EXPECT_NE(text.find("WindowLeft=120"), std::string::npos);
    EXPECT_NE(text.find("WindowTop=80"), std::string::npos);
    EXPECT_NE(text.find("File1=/x/b.ptcop"), std::string::npos);
}

// A worker that saves the position after the UI thread stopped taking calls (the loop
// ended without the close sequence) cannot read the window: the stored position stays.
TEST(ModuleHooksTest, PositionIsNotOverwrittenWhenTheWindowCannotBeRead) {
    TempWorkDir cwd;
    FakeWindowHost host;
    host.window = Rect{120, 80, 395, 196};
    FakeAudioLibrary lib;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    d.hooks.commands.save_position(d);
    host.stop_ui_calls();
    std::thread worker([&] { d.hooks.commands.save_position(d); });
    worker.join();
    std::string text = ReadAll(d.ini_path);
    EXPECT_NE(text.find("WindowLeft=120"), std::string::npos) << text;
    EXPECT_NE(text.find("WindowTop=80"), std::string::npos) << text;
}

// Where the window system places the window (Wayland), its reported position means
// nothing: the position stored by an earlier run stays, the editor's rows are still saved.
TEST(ModuleHooksTest, PositionStaysWhereTheWindowSystemPlacesTheWindow) {
    TempWorkDir cwd;
    FakeWindowHost host;
    host.window = Rect{120, 80, 395, 196};
    FakeAudioLibrary lib;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    d.hooks.commands.save_position(d);
    host.system_places = true;
    host.window = Rect{0, 0, 275, 116};
    d.scroll_page = 9;
    d.hooks.commands.save_position(d);
    std::string text = ReadAll(d.ini_path);
    EXPECT_NE(text.find("WindowLeft=120"), std::string::npos) << text;
    EXPECT_NE(text.find("WindowTop=80"), std::string::npos) << text;
    EXPECT_NE(text.find("ScrollPage=9"), std::string::npos) << text;
}

// A window system that refuses to keep windows on top: the menu item and the command do
// not pretend, and the stored wish survives for a run where it is honoured.
TEST(ModuleHooksTest, RefusedAlwaysOnTopIsShownOffAndTheWishIsKept) {
    TempWorkDir cwd;
    FakeWindowHost host;
    host.system_places = true;
    FakeAudioLibrary lib;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    EdxWorld world(&host);
    d.world = &world;
    world.user_data = &d;
    CreateTopLevelBodies(d);
    d.hooks.build_menus(d);
    d.always_on_top = 1;
    d.hooks.run_layout(d);
    EXPECT_EQ(d.topmost_refused, 1);
    EXPECT_FALSE(host.topmost);
    d.hooks.commands.update_menu_checks(d);
    std::vector<const MenuItem*> items;
    for (const auto& menu : d.menus)
        if (menu)
            for (const MenuItem& item : menu->items)
                if (item.id == kCmdAlwaysOnTop) items.push_back(&item);
    ASSERT_FALSE(items.empty());
    for (const MenuItem* item : items) {
        EXPECT_FALSE(item->checked);
        EXPECT_TRUE(item->grayed);
    }
    cmd_always_on_top(&d);
    EXPECT_EQ(d.always_on_top, 1);
    d.hooks.commands.save_settings(d);
    EXPECT_NE(ReadAll(d.ini_path).find("Active=1"), std::string::npos);

    host.system_places = false;  // honoured: checked, and the command toggles again
    d.hooks.run_layout(d);
    d.hooks.commands.update_menu_checks(d);
    EXPECT_TRUE(host.topmost);
    for (const MenuItem* item : items) {
        EXPECT_TRUE(item->checked);
        EXPECT_FALSE(item->grayed);
    }
    cmd_always_on_top(&d);
    EXPECT_EQ(d.always_on_top, 0);
}

// Adding a folder of 1000 tunes writes the settings file once (each write renames a
// whole new file into place: counted with inotify).
// The tunes are read on the loader, not on the worker (no tune is loaded there); the
// list is saved when added and once more when the titles have been read.
TEST(ModuleHooksTest, AddFolderOfAThousandTunesIsReadInTheBackgroundAndSavedTwice) {
    TempWorkDir cwd;
    FakeWindowHost host;
    FakeAudioLibrary lib;
    FakeDialogs dialogs;
    const std::filesystem::path folder = cwd.path() / "tunes";
    std::filesystem::create_directory(folder);
    for (int i = 0; i < 1000; ++i) {
        std::string p = (folder / ("t" + std::to_string(i) + ".ptcop")).string();
        std::ofstream(p) << "x";
        FakeTune t;
        t.name = "Name" + std::to_string(i);
        lib.tunes[p] = t;
    }
    dialogs.folder = folder.string();
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.services.dialogs = &dialogs;
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    int watch = ::inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, cwd.path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    lib.take_calls();
    dispatch_command(kCmdAddFolder, &d);
    EXPECT_EQ(d.player.playlist.count(), 1000);
    for (const std::string& call : lib.take_calls()) EXPECT_NE(call.rfind("Load ", 0), 0u) << call;
    for (int k = 0; k < 6000 && (d.player.loads_pending() || d.list_info_unsaved); ++k) {
        ApplyLoadedEntries(d);
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(d.list_info_unsaved, 0);
    int writes = 0;
    alignas(inotify_event) char buffer[65536];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            auto* e = reinterpret_cast<inotify_event*>(p);
            if ((e->mask & IN_MOVED_TO) && e->len && std::string(e->name) == "Dezidu.ini") ++writes;
            p += sizeof(inotify_event) + e->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(writes, 2);
    const std::vector<PlaylistFileEntry> saved = read_playlist_file(d.ini_path);
    ASSERT_EQ(saved.size(), 1000u);
    EXPECT_EQ(saved[0].title, "Name0");
    EXPECT_EQ(saved[999].title, "Name999");
}

// Add Files: a playing tune is paused around the additions and resumed where it
// stopped, and the list is mirrored into the settings file. A tune that was already
// paused is resumed by the pause step and stopped by the play step, as around a drop.
TEST(ModuleHooksTest, AddFilesDialogPausesAroundTheAdditionsLikeADrop) {
    TempWorkDir cwd;
    auto make = [&](const char* name) {
        std::string p = (cwd.path() / name).string();
        std::ofstream(p) << "x";
        return p;
    };
    const std::string a = make("a.ptcop"), b = make("b.ptcop"), c = make("c.pttune");
    FakeWindowHost host;
    FakeAudioLibrary lib;
    for (const std::string& p : {a, b, c}) lib.tunes[p] = FakeTune{};
    FakeDialogs dialogs;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.services.dialogs = &dialogs;
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    d.player.add_file(a);
    d.player.command_play();
    ASSERT_TRUE(lib.streaming);

    dialogs.files = {};  // cancelled: the playing tune is not touched
    lib.take_calls();
    cmd_add_files(&d);
    EXPECT_TRUE(lib.take_calls().empty());
    EXPECT_FALSE(std::filesystem::exists(d.ini_path));

    lib.stop_result = 4410;
    dialogs.files = {b};
    cmd_add_files(&d);
    ASSERT_EQ(d.player.playlist.count(), 2);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(d.player.is_paused, 0);
    EXPECT_EQ(lib.start_sample, 4410);
    EXPECT_EQ(d.list_dirty, 1);
    EXPECT_NE(ReadAll(d.ini_path).find("NumberOfEntries=2"), std::string::npos);

    d.player.command_pause();
    ASSERT_EQ(d.player.is_paused, 1);
    dialogs.files = {c};
    cmd_add_files(&d);
    EXPECT_EQ(d.player.playlist.count(), 3);
    EXPECT_EQ(d.player.is_playing, 0);  // resumed by the pause step, stopped by the play step
    EXPECT_EQ(d.player.is_paused, 0);
    EXPECT_FALSE(lib.streaming);
    EXPECT_NE(ReadAll(d.ini_path).find("NumberOfEntries=3"), std::string::npos);
}

// Ctrl+S writes the playlist to the chosen file (not to the settings file); Ctrl+O
// replaces the playlist with a file's entries and mirrors it into the settings file.
TEST(ModuleHooksTest, SaveAndOpenPlaylistCommandsWriteAndReadTheChosenFile) {
    TempWorkDir cwd;
    FakeWindowHost host;
    FakeAudioLibrary lib;
    FakeDialogs dialogs;
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.services.dialogs = &dialogs;
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    d.player.add_entry("/x/a.ptcop", "A", 61.5f);
    d.player.add_entry("/x/b.ptcop", "B", 3.0f);
    const std::string list = (cwd.path() / "mine.ptlist").string();

    dispatch_command(kCmdSavePlaylist, &d);  // cancelled
    EXPECT_EQ(dialogs.calls["save_playlist"], 1);
    EXPECT_FALSE(std::filesystem::exists(list));

    dialogs.playlist_to_save = list;
    dispatch_command(kCmdSavePlaylist, &d);
    EXPECT_EQ(ReadAll(list),
              "[Playlist]\nFile1=/x/a.ptcop\nTitle1=A\nLength1=61\nFile2=/x/b.ptcop\n"
              "Title2=B\nLength2=3\nNumberOfEntries=2\n");
    EXPECT_FALSE(std::filesystem::exists(d.ini_path));

    d.player.select_all_as(1);
    d.player.remove_selected();
    dispatch_command(kCmdOpenPlaylist, &d);  // cancelled: nothing read, nothing written
    EXPECT_EQ(dialogs.calls["open_playlist"], 1);
    EXPECT_EQ(d.player.playlist.count(), 0);
    EXPECT_FALSE(std::filesystem::exists(d.ini_path));

    dialogs.playlist_to_open = list;
    dispatch_command(kCmdOpenPlaylist, &d);
    ASSERT_EQ(d.player.playlist.count(), 2);
    EXPECT_EQ(d.player.playlist[0].title, "A");
    EXPECT_EQ(d.player.playlist[1].path, "/x/b.ptcop");
    EXPECT_EQ(d.player.playlist[0].length_seconds, 61.0f);
    EXPECT_EQ(d.list_dirty, 1);
    EXPECT_NE(ReadAll(d.ini_path).find("NumberOfEntries=2"), std::string::npos);
}

}  // namespace
}  // namespace dz

#include "../skin/SkinFiles.h"

namespace dz {
namespace {

std::vector<std::string> ItemTexts(const Menu& menu) {
    std::vector<std::string> texts;
    for (const MenuItem& item : menu.items) texts.push_back(item.text);
    return texts;
}

TEST(ModuleHooksTest, SkinChosenAtStartUpAndFromTheSkinsMenuOnTheWorker) {
    test::ScratchSkinDir scratch;  // TMPDIR inside it
    TempWorkDir cwd;
    std::ofstream("Dezidu.ini", std::ios::binary) << "[Setting]\r\nSelectSkin=Blue\r\n";
    scratch.write(cwd.path() / "skins/Blue/main.bmp", test::Bmp24(1, 1, 255, 0, 0));
    scratch.write(cwd.path() / "skins/Red.wsz",
                  test::MakeZip({{"Red/main.bmp", test::Bmp24(1, 1, 0, 0, 255)}}));
    const auto stale = scratch.write(scratch.tmp() / "ztmAbC123", "left by a killed load");
    std::filesystem::last_write_time(
        stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));

    // What the worker saw right after each skin command.
    struct Seen {
        std::thread::id thread;
        std::string skin;
        ColorRef main = 0;
        std::vector<std::string> items;
        bool red_checked = false;
    };
    std::vector<Seen> seen;
    AppHooks hooks = DefaultAppHooks();
    hooks.skin_menu_command = [&seen, real = hooks.skin_menu_command](TAG_USERDATA& d, int id) {
        real(d, id);
        const EdxImage* main = d.skin.skin_images.lookup("MAIN");
        Seen s{std::this_thread::get_id(), d.skin_name, main ? main->pixel(0, 0) : 1,
               ItemTexts(*d.menus[2])};
        for (const MenuItem& item : d.menus[2]->items)
            s.red_checked |= item.text == "Red" && item.checked;
        seen.push_back(s);
    };
    FakeWindowHost host;
    FakeAudioLibrary lib;
    Application app(host, lib, hooks);
    app.create();
    TAG_USERDATA& d = *app.state();
    ASSERT_NE(d.skin.skin_images.lookup("MAIN"), nullptr);
    EXPECT_EQ(d.skin.skin_images.lookup("MAIN")->pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(ItemTexts(*d.menus[2]),
              (std::vector<std::string>{"Reload Skins Folder", "", "Blue", "Red"}));
    EXPECT_TRUE(d.menus[2]->items[2].checked);
    EXPECT_FALSE(std::filesystem::exists(stale));

    scratch.write(cwd.path() / "skins/Green/main.bmp", test::Bmp24(1, 1, 0, 255, 0));
    app.start_worker();
    app.on_command(kCmdReloadSkins);    // Reload Skins Folder: Blue, Green, Red
    app.on_command(kCmdFirstSkin + 2);  // Red
    host.request_close();
    ASSERT_TRUE(host.pump(5000ms));

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].thread, std::this_thread::get_id());
    EXPECT_EQ(seen[0].skin, "Red");
    EXPECT_EQ(seen[0].main, 0x0000FFu);
    EXPECT_EQ(seen[0].items,
              (std::vector<std::string>{"Reload Skins Folder", "", "Blue", "Green", "Red"}));
    EXPECT_TRUE(seen[0].red_checked);
    EXPECT_NE(ReadAll(cwd.path() / "Dezidu.ini").find("SelectSkin=Red"), std::string::npos);
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

// Command-line paths: a folder adds its tunes (in name order), the first new entry plays;
// an opened playlist file plays from its first entry; nothing added leaves the playing
// tune playing where it was.
TEST(ModuleHooksTest, OpenPathsScansFoldersAndPlaysTheFirstNewEntry) {
    TempWorkDir cwd;
    FakeWindowHost host;
    FakeAudioLibrary lib;
    auto make = [&](const std::filesystem::path& p) {
        std::ofstream(p) << "x";
        lib.tunes[p.string()] = FakeTune{};
        return p.string();
    };
    const std::filesystem::path folder = cwd.path() / "tunes";
    std::filesystem::create_directories(folder / "deeper");
    const std::string a = make(cwd.path() / "a.ptcop");
    const std::string c = make(folder / "c.ptcop"), b = make(folder / "b.pttune");
    make(folder / "deeper" / "d.ptcop");  // sub-folders are not scanned
    std::ofstream(folder / "notes.txt") << "x";
    const std::string e = make(cwd.path() / "e.ptcop");
    TAG_USERDATA d(&host, lib, DefaultAppHooks());
    d.ini_path = (cwd.path() / "Dezidu.ini").string();
    d.player.add_file(a);
    d.player.command_play();
    ASSERT_EQ(d.player.current_index, 0);

    open_paths(d, {folder.string(), e});
    ASSERT_EQ(d.player.playlist.count(), 4);
    EXPECT_EQ(d.player.playlist[1].path, b);
    EXPECT_EQ(d.player.playlist[2].path, c);
    EXPECT_EQ(d.player.playlist[3].path, e);
    EXPECT_EQ(d.player.current_index, 1);
    EXPECT_EQ(d.player.is_playing, 1);
    EXPECT_TRUE(lib.streaming);
    EXPECT_NE(ReadAll(d.ini_path).find("NumberOfEntries=4"), std::string::npos);

    lib.take_calls();
    lib.stop_result = 4410;
    open_paths(d, {(cwd.path() / "missing.ptcop").string(), (cwd.path() / "empty").string()});
    EXPECT_EQ(d.player.playlist.count(), 4);
    EXPECT_EQ(d.player.current_index, 1);
    EXPECT_TRUE(lib.streaming);
    EXPECT_EQ(lib.start_sample, 4410);  // resumed where the pause left it

    const std::string list = (cwd.path() / "two.ptlist").string();
    ASSERT_TRUE(write_playlist_file(list, {{c, "", 0}, {a, "", 0}}));
    open_paths(d, {list});
    ASSERT_EQ(d.player.playlist.count(), 2);
    EXPECT_EQ(d.player.current_index, 0);
    EXPECT_EQ(d.player.current_tune.path, c);
    EXPECT_EQ(lib.start_sample, 0);

    // A playlist URL: downloaded while the tune plays on, then opened and played.
    FakeHttpClient http;
    http.responses["http://h/l.ptlist"] = {
        200, "[Playlist]\nNumberOfEntries=1\nFile1=" + e + "\nTitle1=E\nLength1=4\n"};
    d.services.http = &http;
    d.player.set_http_client(&http);
    open_paths(d, {"http://h/l.ptlist"});
    EXPECT_EQ(d.player.playlist.count(), 2);
    EXPECT_TRUE(lib.streaming);
    ASSERT_TRUE(test::settle_loads(d.player));
    d.hooks.commands.open_downloaded_playlists(d);
    ASSERT_EQ(d.player.playlist.count(), 1);
    EXPECT_EQ(d.player.current_tune.path, e);
    EXPECT_TRUE(lib.streaming);
}

}  // namespace
}  // namespace dz
