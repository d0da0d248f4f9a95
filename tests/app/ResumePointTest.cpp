// The resume point on the fake platform: stored at close in the Setting section, taken up
// at the next start by a new state over the same settings file: paused on the entry at the
// exact sample, reported Paused at that position, Play going on from there; a changed list
// or a tune that no longer loads starts as without one.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TestSupport.h"
#include "app/CommandTable.h"
#include "app/MediaBridge.h"
#include "app/ResumePoint.h"
#include "io/ProfileFile.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "platform/fake/FakeWindowHost.h"
#include "state/TagUserData.h"

namespace dz {
namespace {

class ResumePointTest : public ::testing::Test {
protected:
    ResumePointTest() { ini = (dir.path() / "Dezidu.ini").string(); }

    // A state over the settings file whose playlist lists `names` (16 s tunes).
    std::unique_ptr<TAG_USERDATA> run(const std::vector<std::string>& names) {
        auto d = std::make_unique<TAG_USERDATA>(&host, lib);
        d->ini_path = ini;
        for (const std::string& name : names) {
            const std::string path = (dir.path() / name).string();
            lib.tunes.emplace(path, FakeTune{});
            d->player.add_entry(path, std::nullopt, 0);
        }
        return d;
    }
    std::string stored(const char* key) {
        return profile_get_string(ini, "Setting", key, "(none)", 5000);
    }

    TempWorkDir dir;
    std::string ini;
    FakeWindowHost host;
    FakeAudioLibrary lib;
};

TEST_F(ResumePointTest, PausedTuneComesBackPausedAtItsSampleAndPlayGoesOn) {
    const std::vector<std::string> list = {"a.ptcop", "b.ptcop", "c.ptcop"};
    {
        auto d = run(list);
        SaveResumePoint(*d);
        EXPECT_FALSE(std::filesystem::exists(ini)) << "nothing played: nothing written";
        d->player.play(1, 0);
        lib.stop_result = 123457;
        dispatch_command(kCmdPause, d.get());  // C
        SaveResumePoint(*d);
    }
    EXPECT_EQ(stored("Current"), "1");
    EXPECT_EQ(stored("Position"), "2.799478");  // 123457 / 44100
    EXPECT_EQ(stored("CurrentFile"), (dir.path() / "b.ptcop").string());

    auto d = run(list);
    RestoreResumePoint(*d);
    EXPECT_EQ(d->player.current_index, 1);
    EXPECT_EQ(d->player.playlist[1].current_mark, 1);
    EXPECT_EQ(d->player.pause_sample, 123457);
    EXPECT_FALSE(lib.streaming);
    const MediaState s = ReadMediaState(*d);
    EXPECT_EQ(s.status, MediaState::Status::Paused);
    EXPECT_EQ(s.track, 1);
    EXPECT_NEAR(s.position_us, 2799478, 1100) << "whole clocks of 1/960 s";
    dispatch_command(kCmdPlay, d.get());  // X
    EXPECT_EQ(lib.start_sample, 123457);
    EXPECT_TRUE(lib.streaming);

    // A playing tune is stored where it plays; a stopped one on its entry at 0 s.
    d->player.play(2, 0);
    lib.report_position(960 * 5);
    SaveResumePoint(*d);
    EXPECT_EQ(stored("Current"), "2");
    EXPECT_EQ(stored("Position"), "5.000000");
    dispatch_command(kCmdStop, d.get());  // V
    SaveResumePoint(*d);
    EXPECT_EQ(stored("Current"), "2");
    EXPECT_EQ(stored("Position"), "0.000000");
}

TEST_F(ResumePointTest, ChangedListOrUnloadableTuneStartsAsWithout) {
    auto stopped_at_start = [&](TAG_USERDATA& d, const char* why) {
        RestoreResumePoint(d);
        EXPECT_EQ(d.player.current_index, -1) << why;
        EXPECT_EQ(d.player.is_playing, 0) << why;
        dispatch_command(kCmdPlay, &d);  // X: the first entry from its start
        EXPECT_EQ(d.player.current_index, 0) << why;
        EXPECT_EQ(lib.start_sample, 0) << why;
        dispatch_command(kCmdStop, &d);
    };
    auto store = [&](int current, const char* position, const std::string& file) {
        profile_write_string(ini, "Setting", "Current", std::to_string(current));
        profile_write_string(ini, "Setting", "Position", position);
        profile_write_string(ini, "Setting", "CurrentFile", (dir.path() / file).string());
    };

    store(2, "3.5", "c.ptcop");
    {
        auto d = run({"a.ptcop", "b.ptcop"});
        stopped_at_start(*d, "index out of range");
    }
    {
        auto d = run({"a.ptcop", "c.ptcop", "b.ptcop"});
        stopped_at_start(*d, "another file at the index");
    }
    {
        auto d = run({"a.ptcop", "b.ptcop", "c.ptcop"});
        lib.tunes.erase((dir.path() / "c.ptcop").string());
        stopped_at_start(*d, "the tune no longer loads");
    }
    store(-1, "3.5", "c.ptcop");
    {
        auto d = run({"a.ptcop", "b.ptcop", "c.ptcop"});
        stopped_at_start(*d, "no current entry");
    }

    // A position past the tune's end (16 s), or no number, resumes at its start.
    for (const char* position : {"16", "1e300", "abc", "-4"}) {
        store(1, position, "b.ptcop");
        auto d = run({"a.ptcop", "b.ptcop"});
        RestoreResumePoint(*d);
        EXPECT_EQ(d->player.current_index, 1) << position;
        EXPECT_EQ(d->player.is_paused, 1) << position;
        EXPECT_EQ(d->player.pause_sample, 0) << position;
    }
}

}  // namespace
}  // namespace dz
