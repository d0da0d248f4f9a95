// The desktop media controls' requests on the fake platform: what each does to the player,
// and the state they are shown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "app/MediaBridge.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/TagUserData.h"

namespace dz {
namespace {

class MediaBridge : public ::testing::Test {
protected:
    MediaBridge() {
        dir_ = std::filesystem::temp_directory_path() /
               ("dz_media_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        auto& c = data.hooks.commands;
        c.save_settings = [this](TAG_USERDATA&) { ++saves; };
        c.choose_files = [this](TAG_USERDATA&) {
            ++dialogs;
            return std::vector<std::string>{};
        };
    }
    ~MediaBridge() override { std::filesystem::remove_all(dir_); }

    // A 16 s tune (4 beats of 480 clocks at 120 BPM, 8 measures) named `name` in its file.
    std::string tune(const std::string& file, const std::string& name = "") {
        std::string path = (dir_ / file).string();
        std::ofstream(path) << "x";
        FakeTune t;
        t.name = name;
        lib.tunes[path] = t;
        data.player.add_file(path);
        return path;
    }
    void ask(MediaRequest::Kind kind, std::int64_t micros = 0, int track = -1) {
        MediaRequest r;
        r.kind = kind;
        r.micros = micros;
        r.track = track;
        RunMediaRequest(data, r);
    }
    MediaState::Status status() { return ReadMediaState(data).status; }

    FakeWindowHost host;
    FakeAudioLibrary lib;
    TAG_USERDATA data{&host, lib};
    int saves = 0;
    int dialogs = 0;
    std::filesystem::path dir_;
};

using K = MediaRequest::Kind;
using S = MediaState::Status;

// Unlike the keys, Play never stops a playing tune and Pause never resumes; nothing asks
// for files.
TEST_F(MediaBridge, PlayAndPauseAreStatesNotToggles) {
    ask(K::Play);
    ask(K::PlayPause);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(status(), S::Stopped);
    EXPECT_FALSE(ReadMediaState(data).can_play);

    tune("a.ptcop");
    tune("b.ptcop");
    ask(K::Pause);
    EXPECT_EQ(status(), S::Stopped);
    ask(K::Play);
    EXPECT_EQ(status(), S::Playing);
    lib.take_calls();
    ask(K::Play);
    EXPECT_EQ(status(), S::Playing);
    EXPECT_TRUE(lib.take_calls().empty());
    lib.stop_result = 700;
    ask(K::Pause);
    ask(K::Pause);
    EXPECT_EQ(status(), S::Paused);
    ask(K::Play);
    EXPECT_EQ(status(), S::Playing);
    EXPECT_EQ(lib.start_sample, 700);
    ask(K::PlayPause);
    EXPECT_EQ(status(), S::Paused);
    ask(K::PlayPause);
    EXPECT_EQ(status(), S::Playing);
    ask(K::Next);
    EXPECT_EQ(data.player.current_index, 1);
    ask(K::Stop);
    EXPECT_EQ(status(), S::Stopped);
    ask(K::PlayPause);
    EXPECT_EQ(status(), S::Playing);
    EXPECT_EQ(dialogs, 0);
}

// While the output is lost the tune holds: the bus shows it Paused, and Playing again once
// the output is back, without a request.
TEST_F(MediaBridge, ATuneHeldByALostOutputIsPaused) {
    tune("a.ptcop");
    tune("b.ptcop");
    ask(K::Play);
    lib.output = OutputStatus::lost;
    data.player.tick();
    EXPECT_EQ(status(), S::Paused);
    EXPECT_EQ(data.player.current_index, 0);
    lib.output = OutputStatus::ok;
    data.player.tick();
    EXPECT_EQ(status(), S::Playing);
    lib.output = OutputStatus::stand_in;
    data.player.tick();
    EXPECT_EQ(status(), S::Playing) << "a stand-in keeps time";
}

TEST_F(MediaBridge, SeeksStayInsideTheCurrentTuneAndPastItsEndMoveOn) {
    tune("a.ptcop");
    tune("b.ptcop");
    ask(K::SetPosition, 4'000'000, 0);  // not playing
    EXPECT_EQ(ReadMediaState(data).seeks, 0);
    ask(K::Play);
    ask(K::SetPosition, 4'000'000, 1);   // another tune's id
    ask(K::SetPosition, 17'000'000, 0);  // past the end
    ask(K::SetPosition, -1, 0);
    EXPECT_EQ(ReadMediaState(data).seeks, 0);
    ask(K::SetPosition, 4'000'000, 0);
    MediaState s = ReadMediaState(data);
    EXPECT_EQ(lib.start_sample, 4 * 44100);
    EXPECT_EQ(s.seeks, 1);
    EXPECT_EQ(s.position_us, 4'000'000);
    ask(K::SeekBy, -10'000'000);
    EXPECT_EQ(lib.start_sample, 0);
    ask(K::SeekBy, 15'000'000);
    EXPECT_EQ(lib.start_sample, 15 * 44100);
    EXPECT_EQ(data.player.current_index, 0);
    ask(K::SeekBy, 2'000'000);
    EXPECT_EQ(data.player.current_index, 1);
    EXPECT_EQ(status(), S::Playing);

    // The ends of the range: a seek by the largest step is past the end (on the last tune
    // nothing moves on), by the smallest it restarts; a position of exactly the length is
    // the end of the tune.
    ask(K::SetPosition, 4'000'000, 1);
    const int seeks = ReadMediaState(data).seeks;
    ask(K::SeekBy, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(data.player.current_index, 1);
    EXPECT_EQ(ReadMediaState(data).seeks, seeks);
    ask(K::Previous);
    ask(K::SetPosition, 8'000'000, 0);
    ask(K::SeekBy, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(lib.start_sample, 0);
    ask(K::SetPosition, 16'000'000, 0);
    EXPECT_EQ(data.player.current_index, 1);
    EXPECT_EQ(lib.start_sample, 0);
    EXPECT_EQ(status(), S::Playing);
}

TEST_F(MediaBridge, StateShowsTheCurrentTuneAndTheModes) {
    MediaState s = ReadMediaState(data);
    EXPECT_EQ(s.track, -1);
    EXPECT_TRUE(s.title.empty());
    const std::string a = tune("a.ptcop", "\x89\xb9\x8a\x79");  // 音楽 in code page 932
    tune("b.ptcop");
    MediaRequest r;
    r.kind = K::Next;
    RunMediaRequest(data, r);
    RunMediaRequest(data, r);  // stopped: the second tune becomes current
    s = ReadMediaState(data);
    EXPECT_EQ(s.track, 1);
    EXPECT_EQ(s.title, "b");
    EXPECT_TRUE(s.can_go_previous);
    EXPECT_FALSE(s.can_go_next);
    EXPECT_FALSE(s.can_seek);
    ask(K::Previous);
    ask(K::Play);
    s = ReadMediaState(data);
    EXPECT_EQ(s.title, "音楽");
    EXPECT_EQ(s.location, a);
    EXPECT_EQ(s.length_us, 16'000'000);
    EXPECT_TRUE(s.can_seek);

    r.kind = K::SetVolume;
    r.volume = 0.5;
    RunMediaRequest(data, r);
    r.volume = 3.0;
    RunMediaRequest(data, r);
    EXPECT_EQ(ReadMediaState(data).volume, 1.0);
    EXPECT_EQ(lib.volume, 1.0f);
    EXPECT_EQ(saves, 2);
    r.kind = K::SetShuffle;
    r.on = true;
    RunMediaRequest(data, r);
    RunMediaRequest(data, r);
    r.kind = K::SetRepeat;
    RunMediaRequest(data, r);
    s = ReadMediaState(data);
    EXPECT_TRUE(s.shuffle);
    EXPECT_TRUE(s.repeat);
    EXPECT_TRUE(lib.loop);
    r.on = false;
    RunMediaRequest(data, r);
    EXPECT_FALSE(ReadMediaState(data).repeat);
    EXPECT_EQ(saves, 5);

    // An entry stored as a relative name is shown from the folder the player runs in.
    data.player.add_entry("sub/../c.ptcop", std::string("c"), 16.0f);
    data.player.add_entry("http://host/d.ptcop", std::string("d"), 16.0f);
    data.player.current_index = 2;
    EXPECT_EQ(ReadMediaState(data).location,
              (std::filesystem::current_path() / "c.ptcop").string());
    data.player.current_index = 3;
    EXPECT_EQ(ReadMediaState(data).location, "http://host/d.ptcop");
}

}  // namespace
}  // namespace dz
