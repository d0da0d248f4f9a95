// The keys of the player, end to end below the window: key events go through
// the accelerator table to the worker, which drives the real audio library
// over the engine and SDL's disk driver; the sound written to the disk file
// shows whether a tune plays.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandTable.h"
#include "app/ModuleHooks.h"
#include "platform/VirtualKeys.h"
#include "platform/fake/FakeWindowHost.h"
#include "player/PxtoneLibrary.h"

#ifndef DEZIDU_DEMO_DIR
#error "DEZIDU_DEMO_DIR must name the folder of the demo tunes"
#endif

namespace dz {
namespace {

using namespace std::chrono_literals;

struct Snapshot {
    int count = 0;
    int current_index = -1;
    int is_playing = 0;
    int is_paused = 0;
    int shuffle = 0;
    int player_shuffle = 0;
    int repeat = 0;
    int player_repeat = 0;
    bool streaming = false;
    std::string device;  // the library's output, asked on the worker that drives it
};

class PlayerKeys : public ::testing::Test {
protected:
    PlayerKeys() {
        dir_ = std::filesystem::temp_directory_path() / ("dz_keys_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        // The program's writers put Dezidu.ini in the current folder: use the test's own.
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        raw_ = (dir_ / "out.raw").string();
        const char* old = std::getenv("SDL_AUDIODRIVER");
        old_driver_ = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", raw_.c_str(), 1);
        lib_ = std::make_unique<PxtoneLibrary>();

        hooks_ = DefaultAppHooks();
        // Command 58 (a skin item) is the test's barrier: it runs on the worker after
        // every command posted before it and copies the state.
        hooks_.skin_menu_command = [this](TAG_USERDATA& d, int) {
            Snapshot s;
            s.count = d.player.playlist.count();
            s.current_index = d.player.current_index;
            s.is_playing = d.player.is_playing;
            s.is_paused = d.player.is_paused;
            s.shuffle = d.shuffle;
            s.player_shuffle = d.player.shuffle;
            s.repeat = d.repeat;
            s.player_repeat = d.player.repeat;
            s.streaming = d.player.library().pxtone_Tune_IsStreaming();
            s.device = lib_->device_name();
            snapshot_ = s;
            ++barriers_;
        };
        app_ = std::make_unique<Application>(host_, *lib_, hooks_);
        app_->create();
        app_->start_worker();
    }
    ~PlayerKeys() override {
        app_->on_close_request();
        host_.pump(5000ms);
        app_.reset();
        lib_.reset();
        if (old_driver_)
            ::setenv("SDL_AUDIODRIVER", old_driver_->c_str(), 1);
        else
            ::unsetenv("SDL_AUDIODRIVER");
        ::unsetenv("SDL_DISKAUDIOFILE");
        std::filesystem::current_path(old_cwd_);
        std::filesystem::remove_all(dir_);
    }

    void key(int vk, bool ctrl = false, bool alt = false, bool shift = false) {
        app_->on_key(vk, true, ctrl, alt, shift);
        app_->on_key(vk, false, ctrl, alt, shift);
    }
    Snapshot state() {
        int before = barriers_;
        app_->on_command(kCmdFirstSkin);
        for (int k = 0; k < 500 && barriers_ == before; ++k) host_.pump(10ms);
        EXPECT_NE(barriers_, before) << "the worker did not answer";
        return snapshot_;
    }
    std::uintmax_t written() {
        std::error_code ec;
        auto n = std::filesystem::file_size(raw_, ec);
        return ec ? 0 : n;
    }
    // Non-zero 16-bit samples the device writes during `span`, after letting the
    // buffers in flight drain for `settle`.
    std::size_t loud_samples(std::chrono::milliseconds settle, std::chrono::milliseconds span) {
        host_.pump(settle);
        std::uintmax_t from = written();
        host_.pump(span);
        std::uintmax_t to = written();
        EXPECT_GT(to, from) << "the device wrote nothing";
        std::ifstream in(raw_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from));
        std::vector<char> bytes(to - from);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::size_t loud = 0;
        for (std::size_t k = 0; k + 1 < bytes.size(); k += 2)
            if (bytes[k] != 0 || bytes[k + 1] != 0) ++loud;
        return loud;
    }

    FakeWindowHost host_;
    std::unique_ptr<PxtoneLibrary> lib_;
    AppHooks hooks_;
    std::unique_ptr<Application> app_;
    std::atomic<int> barriers_{0};
    Snapshot snapshot_;
    std::filesystem::path dir_;
    std::filesystem::path old_cwd_;
    std::string raw_;
    std::optional<std::string> old_driver_;
};

TEST_F(PlayerKeys, DemoTunesPlayPauseStopAndMoveWithTheKeys) {
    ASSERT_EQ(state().device, "sdl:disk");
    const std::string demo = DEZIDU_DEMO_DIR;
    app_->on_drop({demo + "/morning-steps.ptcop", demo + "/echo-hall.ptcop",
                   demo + "/backyard-groove.ptcop"});
    Snapshot s = state();
    ASSERT_EQ(s.count, 3);
    EXPECT_EQ(s.is_playing, 0);  // a drop on a stopped player starts nothing
    EXPECT_EQ(loud_samples(150ms, 300ms), 0u);

    key('X');
    s = state();
    EXPECT_EQ(s.is_playing, 1);
    EXPECT_EQ(s.current_index, 0);
    EXPECT_TRUE(s.streaming);
    EXPECT_GT(loud_samples(100ms, 400ms), 1000u) << "X: sound";

    key('B');
    s = state();
    EXPECT_EQ(s.current_index, 1);
    EXPECT_TRUE(s.streaming);
    key('B');
    key('Z');
    s = state();
    EXPECT_EQ(s.current_index, 1);
    EXPECT_GT(loud_samples(100ms, 400ms), 1000u) << "B/Z: the next tune plays";

    key('C');
    s = state();
    EXPECT_EQ(s.is_paused, 1);
    EXPECT_FALSE(s.streaming);
    EXPECT_EQ(loud_samples(250ms, 300ms), 0u) << "C: silence while paused";
    key('C');
    s = state();
    EXPECT_EQ(s.is_paused, 0);
    EXPECT_TRUE(s.streaming);
    EXPECT_GT(loud_samples(100ms, 400ms), 1000u) << "C again: sound resumes";

    key('V');
    s = state();
    EXPECT_EQ(s.is_playing, 0);
    EXPECT_EQ(s.current_index, 1);
    EXPECT_EQ(loud_samples(250ms, 300ms), 0u) << "V: silence";

    key('S');
    key('R');
    s = state();
    EXPECT_EQ(s.shuffle, 1);
    EXPECT_EQ(s.player_shuffle, 1);
    EXPECT_EQ(s.repeat, 1);
    EXPECT_EQ(s.player_repeat, 1);
    key('S');
    key('R');
    s = state();
    EXPECT_EQ(s.player_shuffle, 0);
    EXPECT_EQ(s.player_repeat, 0);
}

}  // namespace
}  // namespace dz
