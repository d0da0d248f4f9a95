#pragma once
// The sections Property, Setting and Position of the settings file
// (Dezidu.ini in the current folder at start-up).
//
// Property: ChannelNum, Bps, Sps, DirectSound (integers), BuffSec ("%.2f"),
//           Device (text, 259 bytes at most: the output device's name; empty for the
//           default output; kept when that device is missing, so it is used when back).
// Setting:  TimeReverse, Shuffle, Repeat, EasyMove, Active, Double,
//           VisiblePlayer, ShadePlayer, VisiblePledit, ShadePledit (integers),
//           Volume (integer percent), SelectSkin (text, 259 bytes at most);
//           PlayLoops (1..99), FadeSeconds (0..60): integers, clamped into their ranges
//           when read.
// Position: WindowLeft, WindowTop, ScrollPage (integers, may be negative).
// Resume point, also in Setting: Current (the playlist index of the current entry, -1 for
//           none), Position (seconds into it, six decimals), CurrentFile (that entry's path
//           or URL, so a list changed since is noticed). Written at close only.
//
// Readers take the record's current values as the defaults of the integer
// keys (Volume defaults to 100 and SelectSkin to "pxtone" regardless). Writers
// write every key of their section in the order above with one file write.
// Values are not range-checked: what is read is passed on.

#include <filesystem>
#include <string>

#include "io/ProfileFile.h"
#include "platform/AudioLibrary.h"

namespace dz {

inline constexpr const char* kSettingsFileName = "Dezidu.ini";

struct PropertyValues {
    int channels = 2;
    int bits_per_sample = 16;
    int sample_rate = 44100;
    int direct_sound = 1;  // 0 or 1
    float buffer_seconds = 0.1f;
    std::string device;  // key Device
};

struct SettingValues {
    int time_reverse = 0;
    int shuffle = 0;
    int repeat = 0;
    int easy_move = 1;
    int always_on_top = 0;  // key Active
    int double_size = 0;    // key Double
    int visible_player = 1;
    int shade_player = 0;
    int visible_pledit = 0;
    int shade_pledit = 0;
    float volume = 1.0f;  // 1.0 = full; key Volume holds it in percent
    std::string skin_name = "pxtone";

    // How a tune plays with repeat off: its loop part play_loops times in all, the last
    // fade_seconds fading out.
    int play_loops = 1;    // key PlayLoops
    int fade_seconds = 0;  // key FadeSeconds
};

struct PositionValues {
    int window_left = 0;  // the main window's top-left corner on the screen
    int window_top = 0;
    int scroll_page = 4;  // playlist editor rows per page
};

struct ResumeValues {
    int current = -1;
    double position_seconds = 0.0;
    std::string current_file;
};

struct SettingsValues {
    PropertyValues property;
    SettingValues setting;
    PositionValues position;
};

// "<folder>/Dezidu.ini".
std::filesystem::path settings_path(const std::filesystem::path& folder);

void read_property_section(const ProfileFile& file, PropertyValues& values);
void read_setting_section(const ProfileFile& file, SettingValues& values);
void read_position_section(const ProfileFile& file, PositionValues& values);
// Reads the three sections of one file (a missing file leaves every default).
void read_settings(const std::filesystem::path& path, SettingsValues& values);

// Apply a section's writes to a file in memory.
void put_property_section(ProfileFile& file, const PropertyValues& values);
void put_setting_section(ProfileFile& file, const SettingValues& values);
void put_position_section(ProfileFile& file, const PositionValues& values);

// Write a section into the file at `path` (created when missing) with one
// whole-file write. False when the file could not be read or written.
bool write_property_section(const std::filesystem::path& path, const PropertyValues& values);
bool write_setting_section(const std::filesystem::path& path, const SettingValues& values);
bool write_position_section(const std::filesystem::path& path, const PositionValues& values);

// The resume point. A missing key reads as the default above; a Position that is no number,
// or is negative, reads as 0.
void read_resume_values(const ProfileFile& file, ResumeValues& values);
void put_resume_values(ProfileFile& file, const ResumeValues& values);
bool write_resume_values(const std::filesystem::path& path, const ResumeValues& values);

// The volume key: the nearest integer percent, so a value read is written
// back unchanged (57 -> 0.57f -> 57).
int volume_percent(float volume);
// BuffSec: the decimal number at the start of the text ("0.25", "+1.5e-1"),
// independent of the C locale; no number, or a non-finite one, gives 0.
float parse_decimal(std::string_view text);
// parse_decimal at double precision.
double parse_decimal_double(std::string_view text);
// "%.2f" with a '.' whatever the locale.
std::string format_two_decimals(float value);

// The library's output format for the stored Property values.
AudioFormat to_audio_format(const PropertyValues& values);

}  // namespace dz
