// The program's hooks: dialogs run on the UI thread while the worker waits, and
// give nothing once the UI thread stopped taking calls.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "TestSupport.h"

#include "app/ModuleHooks.h"
#include "app/TagUserData.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeWindowHost.h"

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
    d.hooks.commands.add_files_dialog(d);  // on the UI thread itself: runs at once
    EXPECT_EQ(dialogs.calls["open_files"], 1);
    ASSERT_EQ(d.player.playlist.count(), 1);  // the missing file is not added
    EXPECT_EQ(d.player.playlist[0].path, tune);
}

}  // namespace
}  // namespace dz
