#include "app/SettingsSections.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "TempDir.h"
#include "platform/fake/FakeAudioLibrary.h"
#include "player/Player.h"

namespace dz {
namespace {

// The fields of the application state the section readers and writers use.
struct State {
    explicit State(AudioLibrary& library) : player(library) {}
    std::string ini_path;
    tagPLAYER player;
    std::string skin_name;
    int visible_player = 1, shade_player = 0, visible_pledit = 0, shade_pledit = 0;
    int always_on_top = 0, double_size = 0, easy_move = 1, shuffle = 0, repeat = 0;
    int time_reverse = 0, scroll_page = 4;
};

TEST(SettingsSections, SettingReaderDrivesThePlayerAndTheWriterWritesItBack) {
    test::TempDir dir;
    FakeAudioLibrary library;
    State s(library);
    s.ini_path = settings_path(dir.path()).string();
    test::write_file(s.ini_path,
                     "[Setting]\nShuffle=1\nRepeat=1\nVolume=57\nSelectSkin=Blue\nDouble=1\n"
                     "PlayLoops=3\nFadeSeconds=75\n");
    library.take_calls();
    ReadSettingSection(s);
    EXPECT_EQ(s.player.shuffle, 1);
    EXPECT_EQ(s.player.repeat, 1);
    EXPECT_TRUE(library.loop);
    EXPECT_FLOAT_EQ(s.player.volume, 0.57f);
    EXPECT_EQ(library.take_calls(), (std::vector<std::string>{"SetLoop 1", "SetVolume 0.57"}));
    EXPECT_EQ(s.skin_name, "Blue");
    EXPECT_EQ(s.double_size, 1);
    EXPECT_EQ(s.easy_move, 1);
    // Loops and fade-out reach the library; a fade beyond a minute is a minute.
    EXPECT_EQ(s.player.play_loops, 3);
    EXPECT_EQ(library.loops, 3);
    EXPECT_EQ(library.fade_seconds, 60);

    // A settings file that is a FIFO without a writer is not read (and never blocks).
    State fresh(library);
    fresh.ini_path = (dir.path() / "pipe.ini").string();
    ASSERT_EQ(::mkfifo(fresh.ini_path.c_str(), 0600), 0);
    ReadSettingSection(fresh);
    EXPECT_EQ(fresh.shuffle, 0);
    EXPECT_EQ(fresh.easy_move, 1);

    ASSERT_TRUE(WriteSettingSection(s));
    EXPECT_EQ(test::read_file(s.ini_path),
              "[Setting]\nShuffle=1\nRepeat=1\nVolume=57\nSelectSkin=Blue\nDouble=1\n"
              "PlayLoops=3\nFadeSeconds=60\n"
              "TimeReverse=0\nEasyMove=1\nActive=0\nVisiblePlayer=1\nShadePlayer=0\n"
              "VisiblePledit=0\nShadePledit=0\n");
}

TEST(SettingsSections, PropertyReaderReopensTheLibraryWithTheStoredFormat) {
    test::TempDir dir;
    FakeAudioLibrary library;
    State s(library);
    s.ini_path = settings_path(dir.path()).string();
    test::write_file(s.ini_path,
                     "[Property]\nChannelNum=1\nSps=22050\nDirectSound=5\n"
                     "Device= USB Headset \nBuffSec=0.25\n");
    library.take_calls();
    ReadPropertySection(s);
    EXPECT_EQ(library.take_calls(), std::vector<std::string>{"Reset"});
    EXPECT_EQ(library.format.channels, 1);
    EXPECT_EQ(library.format.sample_rate, 22050);
    EXPECT_EQ(library.format.bits, 16);
    EXPECT_TRUE(library.format.direct_sound);
    EXPECT_FLOAT_EQ(library.format.buffer_seconds, 0.25f);
    EXPECT_EQ(s.player.direct_sound, 1);
    EXPECT_EQ(library.format.device, "USB Headset");

    ASSERT_TRUE(WritePropertySection(s));
    EXPECT_EQ(test::read_file(s.ini_path),
              "[Property]\nChannelNum=1\nSps=22050\nDirectSound=1\nDevice=USB Headset\n"
              "BuffSec=0.25\nBps=16\n");
}

TEST(SettingsSections, PositionUsesTheWindowCornerAsDefault) {
    test::TempDir dir;
    FakeAudioLibrary library;
    State s(library);
    s.ini_path = settings_path(dir.path()).string();
    PositionValues where = ReadPositionSection(s, 100, 200);
    EXPECT_EQ(where.window_left, 100);
    EXPECT_EQ(where.window_top, 200);
    EXPECT_EQ(s.scroll_page, 4);
    s.scroll_page = 8;
    ASSERT_TRUE(WritePositionSection(s, -40, 30));
    s.scroll_page = 4;
    where = ReadPositionSection(s, 0, 0);
    EXPECT_EQ(where.window_left, -40);
    EXPECT_EQ(where.window_top, 30);
    EXPECT_EQ(s.scroll_page, 8);
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

// A settings file that cannot be written (its folder is a file) is reported on stderr by
// each writer, naming the file; a write that works says nothing.
TEST(SettingsSections, AFailedWriteIsReportedOnStderr) {
    test::TempDir dir;
    FakeAudioLibrary library;
    State s(library);
    test::write_file((dir.path() / "file").string(), "");
    s.ini_path = (dir.path() / "file" / "Dezidu.ini").string();
    const std::pair<const char*, std::function<bool()>> writers[] = {
        {"Setting", [&] { return WriteSettingSection(s); }},
        {"Property", [&] { return WritePropertySection(s); }},
        {"Position", [&] { return WritePositionSection(s, 1, 2); }},
    };
    for (const auto& [section, write] : writers) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(write());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(section), std::string::npos) << said;
        EXPECT_NE(said.find(s.ini_path), std::string::npos) << said;
    }
    s.ini_path = settings_path(dir.path()).string();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(WriteSettingSection(s));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace dz
