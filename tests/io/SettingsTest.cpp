#include "io/Settings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "TempDir.h"
#include "io/AtomicFile.h"

namespace dz {
namespace {

using test::read_file;
using test::TempDir;
using test::write_file;

TEST(Settings, FirstStartWithoutFileGivesDefaultsAndTheFirstChangeWritesThem) {
    TempDir dir;
    auto ini = settings_path(dir.path());
    SettingsValues v;
    read_settings(ini, v);
    EXPECT_EQ(v.property.channels, 2);
    EXPECT_EQ(v.property.bits_per_sample, 16);
    EXPECT_EQ(v.property.sample_rate, 44100);
    EXPECT_EQ(v.property.direct_sound, 1);
    EXPECT_FLOAT_EQ(v.property.buffer_seconds, 0.1f);
    EXPECT_EQ(v.setting.visible_pledit, 0);
    EXPECT_EQ(v.setting.visible_player, 1);
    EXPECT_EQ(v.setting.easy_move, 1);
    EXPECT_FLOAT_EQ(v.setting.volume, 1.0f);
    EXPECT_EQ(v.setting.skin_name, "pxtone");
    EXPECT_EQ(v.position.scroll_page, 4);
    EXPECT_FALSE(std::filesystem::exists(ini));

    v.setting.shuffle = 1;  // the S key
    ASSERT_TRUE(write_setting_section(ini, v.setting));
    EXPECT_EQ(read_file(ini),
              "[Setting]\nTimeReverse=0\nShuffle=1\nRepeat=0\nEasyMove=1\nActive=0\nDouble=0\n"
              "VisiblePlayer=1\nShadePlayer=0\nVisiblePledit=0\nShadePledit=0\nVolume=100\n"
              "SelectSkin=pxtone\nPlayLoops=1\nFadeSeconds=0\n");
}

TEST(Settings, VolumeSurvivesReadAndWrite) {
    TempDir dir;
    auto ini = settings_path(dir.path());
    for (int percent : {57, 50, 29, 1, 0, 100, 250, -5}) {
        write_file(ini, "[Setting]\nVolume=" + std::to_string(percent) + "\n");
        SettingValues v;
        read_setting_section(ProfileFile::load_or_empty(ini), v);
        EXPECT_FLOAT_EQ(v.volume, percent / 100.0f);
        for (int round = 0; round < 3; ++round) {
            ASSERT_TRUE(write_setting_section(ini, v));
            read_setting_section(ProfileFile::load_or_empty(ini), v);
        }
        EXPECT_EQ(profile_get_int(ini, "Setting", "Volume", -999), percent);
    }
}

TEST(Settings, LoopsAndFadeAreClampedWhenReadAndSurviveAWrite) {
    TempDir dir;
    auto ini = settings_path(dir.path());
    struct Case {
        const char* text;
        int loops, fade;
    } cases[] = {{"PlayLoops=0\nFadeSeconds=-5", 1, 0},
                 {"PlayLoops=500\nFadeSeconds=61", 99, 60},
                 {"PlayLoops=7\nFadeSeconds=12", 7, 12},
                 {"PlayLoops=x", 1, 0}};
    for (const Case& c : cases) {
        write_file(ini, std::string("[Setting]\n") + c.text + "\n");
        SettingValues v;
        read_setting_section(ProfileFile::load_or_empty(ini), v);
        EXPECT_EQ(v.play_loops, c.loops) << c.text;
        EXPECT_EQ(v.fade_seconds, c.fade) << c.text;
        ASSERT_TRUE(write_setting_section(ini, v));
        SettingValues back;
        read_setting_section(ProfileFile::load_or_empty(ini), back);
        EXPECT_EQ(back.play_loops, c.loops);
        EXPECT_EQ(back.fade_seconds, c.fade);
    }
}

TEST(Settings, SettingReaderKeepsCurrentValuesAsDefaultsButNotForVolumeAndSkin) {
    SettingValues v;
    v.repeat = 1;
    v.double_size = 1;
    v.volume = 0.3f;
    v.skin_name = "other";
    read_setting_section(ProfileFile::parse("[setting]\nDOUBLE=0\nselectskin= Blue \n"), v);
    EXPECT_EQ(v.repeat, 1);
    EXPECT_EQ(v.double_size, 0);
    EXPECT_FLOAT_EQ(v.volume, 1.0f);
    EXPECT_EQ(v.skin_name, "Blue");
    read_setting_section(ProfileFile(), v);
    EXPECT_EQ(v.skin_name, "pxtone");
    read_setting_section(ProfileFile::parse("[Setting]\nSelectSkin=" + std::string(400, 'k')), v);
    EXPECT_EQ(v.skin_name, std::string(259, 'k'));
}

TEST(Settings, BuffSecIsReadAsADecimalAndWrittenWithTwoDecimals) {
    TempDir dir;
    auto ini = settings_path(dir.path());
    write_file(ini, "[Property]\nBuffSec=0.25\nDirectSound=5\nSps=22050\n");
    PropertyValues v;
    read_property_section(ProfileFile::load_or_empty(ini), v);
    EXPECT_FLOAT_EQ(v.buffer_seconds, 0.25f);
    EXPECT_EQ(v.direct_sound, 1);
    EXPECT_EQ(v.sample_rate, 22050);
    ASSERT_TRUE(write_property_section(ini, v));
    EXPECT_EQ(read_file(ini),
              "[Property]\nBuffSec=0.25\nDirectSound=1\nSps=22050\nChannelNum=2\nBps=16\n"
              "Device=\n");

    v.buffer_seconds = 0.1f;
    v.direct_sound = 0;
    ASSERT_TRUE(write_property_section(ini, v));
    EXPECT_EQ(profile_get_string(ini, "Property", "BuffSec", "", 16), "0.10");
    EXPECT_EQ(profile_get_int(ini, "Property", "DirectSound", 9), 0);

    for (auto [text, value] : std::vector<std::pair<std::string, float>>{{"abc", 0.0f},
                                                                         {"", 0.0f},
                                                                         {"0.5s", 0.5f},
                                                                         {"+1.5", 1.5f},
                                                                         {"-0.2", -0.2f},
                                                                         {".75", 0.75f},
                                                                         {"inf", 0.0f},
                                                                         {"nan", 0.0f},
                                                                         {"1e999", 0.0f},
                                                                         {"2e-1", 0.2f}}) {
        PropertyValues p;
        read_property_section(ProfileFile::parse("[Property]\nBuffSec=" + text + "\n"), p);
        EXPECT_FLOAT_EQ(p.buffer_seconds, value) << text;
    }
    PropertyValues missing;
    missing.buffer_seconds = 3.0f;
    read_property_section(ProfileFile(), missing);
    EXPECT_FLOAT_EQ(missing.buffer_seconds, 0.1f);  // the default is the text "0.10"
}

TEST(Settings, DecimalsIgnoreTheProcessLocale) {
    // A German locale writes and reads "0,25"; the file must still say "0.25".
    TempDir dir;
    std::string command =
        "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE";
    const char* old_locpath = std::getenv("LOCPATH");
    std::string saved_locpath = old_locpath ? old_locpath : "";
    ::setenv("LOCPATH", dir.path().c_str(), 1);
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.2f", 0.25);
    EXPECT_STREQ(probe, "0,25");  // the locale is really in force
    EXPECT_EQ(format_two_decimals(0.25f), "0.25");
    EXPECT_FLOAT_EQ(parse_decimal("0.25"), 0.25f);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (old_locpath)
        ::setenv("LOCPATH", saved_locpath.c_str(), 1);
    else
        ::unsetenv("LOCPATH");
}

TEST(Settings, PositionKeepsNegativeCoordinatesAndDefaults) {
    TempDir dir;
    auto ini = settings_path(dir.path());
    PositionValues v{-300, -20, 9};
    ASSERT_TRUE(write_position_section(ini, v));
    EXPECT_EQ(read_file(ini), "[Position]\nWindowLeft=-300\nWindowTop=-20\nScrollPage=9\n");
    PositionValues back{5, 6, 4};
    read_position_section(ProfileFile::load_or_empty(ini), back);
    EXPECT_EQ(back.window_left, -300);
    EXPECT_EQ(back.window_top, -20);
    EXPECT_EQ(back.scroll_page, 9);
    PositionValues current{11, 22, 4};
    read_position_section(ProfileFile::parse("[Position]\nScrollPage=7\n"), current);
    EXPECT_EQ(current.window_left, 11);
    EXPECT_EQ(current.window_top, 22);
    EXPECT_EQ(current.scroll_page, 7);
}

TEST(Settings, SectionWritersKeepTheRestOfTheFile) {
    TempDir dir;
    auto ini = settings_path(dir.path());
    write_file(ini, "[Playlist]\nFile1=/a.ptcop\nNumberOfEntries=1\n[Setting]\nVolume=57\n");
    SettingsValues v;
    read_settings(ini, v);
    v.setting.repeat = 1;
    ASSERT_TRUE(write_setting_section(ini, v.setting));
    ASSERT_TRUE(write_position_section(ini, v.position));
    ASSERT_TRUE(write_property_section(ini, v.property));
    EXPECT_EQ(read_file(ini),
              "[Playlist]\nFile1=/a.ptcop\nNumberOfEntries=1\n[Setting]\nVolume=57\n"
              "TimeReverse=0\nShuffle=0\nRepeat=1\nEasyMove=1\nActive=0\nDouble=0\n"
              "VisiblePlayer=1\nShadePlayer=0\nVisiblePledit=0\nShadePledit=0\n"
              "SelectSkin=pxtone\nPlayLoops=1\nFadeSeconds=0\n[Position]\nWindowLeft=0\nWindowTop="
              "0\nScrollPage=4\n"
              "[Property]\nChannelNum=2\nBps=16\nSps=44100\nDirectSound=1\nBuffSec=0.10\n"
              "Device=\n");
    SettingsValues again;
    read_settings(ini, again);
    EXPECT_EQ(again.setting.repeat, 1);
    EXPECT_FLOAT_EQ(again.setting.volume, 0.57f);

    AudioFormat format = to_audio_format(again.property);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.sample_rate, 44100);
    EXPECT_EQ(format.bits, 16);
    EXPECT_TRUE(format.direct_sound);
    EXPECT_FLOAT_EQ(format.buffer_seconds, 0.1f);
}

// A settings file that cannot take changes is left as it is, and the player says so on
// stderr once instead of dropping every save silently: one that is read-only (also for
// root, whom the permission checks let through), one over the size cap.
TEST(Settings, FilesThatCannotTakeChangesAreLeftAndSaidOnce) {
    TempDir dir;
    const auto ini = settings_path(dir.path());
    write_file(ini, "[Setting]\nVolume=57\n");
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read);
    SettingsValues v;
    read_settings(ini, v);
    v.setting.repeat = 1;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(write_setting_section(ini, v.setting));
    EXPECT_FALSE(write_position_section(ini, v.position));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "dezidu: " + ini.string() + ": read-only; changes to it are not saved\n");
    EXPECT_EQ(read_file(ini), "[Setting]\nVolume=57\n");
    EXPECT_EQ(std::filesystem::status(ini).permissions(), std::filesystem::perms::owner_read);

    const auto big = dir / "big.ini";
    write_file(big, "[Setting]\n");
    std::filesystem::resize_file(big, kMaxReadBytes + 1);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(write_setting_section(big, v.setting));
    EXPECT_FALSE(write_setting_section(big, v.setting));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "dezidu: " + big.string() + ": larger than 64 MiB; changes to it are not saved\n");
    EXPECT_EQ(std::filesystem::file_size(big), kMaxReadBytes + 1);
}

}  // namespace
}  // namespace dz
