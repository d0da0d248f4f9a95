#include "io/Settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/PathUtil.h"
#include "platform/PreferenceChoices.h"

namespace dz {

namespace {

constexpr const char* kProperty = "Property";
constexpr const char* kSetting = "Setting";
constexpr const char* kPosition = "Position";

// Integers are written as the profile writers do: plain decimal.
void put_int(ProfileFile& file, const char* section, const char* key, int value) {
    file.write_string(section, key, std::to_string(value));
}

template <typename Put>
bool write_section(const std::filesystem::path& path, Put put) {
    return ProfileFile::update(path, put);
}

}  // namespace

std::filesystem::path settings_path(const std::filesystem::path& folder) {
    return folder / kSettingsFileName;
}

int volume_percent(float volume) {
    double percent = static_cast<double>(volume) * 100.0;
    if (!std::isfinite(percent)) return 0;
    percent = std::round(percent);
    if (percent > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (percent < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(percent);
}

float parse_decimal(std::string_view text) {
    float f = static_cast<float>(parse_decimal_double(text));
    return std::isfinite(f) ? f : 0.0f;
}

double parse_decimal_double(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only a plain decimal number counts (no "inf", "nan" or hexadecimal).
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return 0.0;
    double value = 0;
    auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) return 0.0;
    if (ec != std::errc{} || !std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

std::string format_two_decimals(float value) {
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                   std::chars_format::fixed, 2);
    if (ec != std::errc{}) return "0.00";
    return std::string(buffer, end);
}

void read_property_section(const ProfileFile& file, PropertyValues& v) {
    v.channels = file.get_int(kProperty, "ChannelNum", v.channels);
    v.bits_per_sample = file.get_int(kProperty, "Bps", v.bits_per_sample);
    v.sample_rate = file.get_int(kProperty, "Sps", v.sample_rate);
    v.direct_sound = file.get_int(kProperty, "DirectSound", v.direct_sound) != 0 ? 1 : 0;
    v.buffer_seconds = parse_decimal(file.get_string(kProperty, "BuffSec", "0.10", 16));
    v.device = file.get_string(kProperty, "Device", "", 260);
}

void read_setting_section(const ProfileFile& file, SettingValues& v) {
    v.time_reverse = file.get_int(kSetting, "TimeReverse", v.time_reverse);
    v.shuffle = file.get_int(kSetting, "Shuffle", v.shuffle);
    v.repeat = file.get_int(kSetting, "Repeat", v.repeat);
    v.easy_move = file.get_int(kSetting, "EasyMove", v.easy_move);
    v.always_on_top = file.get_int(kSetting, "Active", v.always_on_top);
    v.double_size = file.get_int(kSetting, "Double", v.double_size);
    v.visible_player = file.get_int(kSetting, "VisiblePlayer", v.visible_player);
    v.shade_player = file.get_int(kSetting, "ShadePlayer", v.shade_player);
    v.visible_pledit = file.get_int(kSetting, "VisiblePledit", v.visible_pledit);
    v.shade_pledit = file.get_int(kSetting, "ShadePledit", v.shade_pledit);
    v.volume = static_cast<float>(file.get_int(kSetting, "Volume", 100)) / 100.0f;
    v.skin_name = file.get_string(kSetting, "SelectSkin", "pxtone", 260);

    v.play_loops =
        std::clamp(file.get_int(kSetting, "PlayLoops", v.play_loops), kMinLoops, kMaxLoops);
    v.fade_seconds = std::clamp(file.get_int(kSetting, "FadeSeconds", v.fade_seconds),
                                kMinFadeSeconds, kMaxFadeSeconds);
}

void read_position_section(const ProfileFile& file, PositionValues& v) {
    v.window_left = file.get_int(kPosition, "WindowLeft", v.window_left);
    v.window_top = file.get_int(kPosition, "WindowTop", v.window_top);
    v.scroll_page = file.get_int(kPosition, "ScrollPage", v.scroll_page);
}

void read_settings(const std::filesystem::path& path, SettingsValues& values) {
    ProfileFile file = ProfileFile::load_or_empty(path);
    read_setting_section(file, values.setting);
    read_position_section(file, values.position);
    read_property_section(file, values.property);
}

void put_property_section(ProfileFile& file, const PropertyValues& v) {
    put_int(file, kProperty, "ChannelNum", v.channels);
    put_int(file, kProperty, "Bps", v.bits_per_sample);
    put_int(file, kProperty, "Sps", v.sample_rate);
    put_int(file, kProperty, "DirectSound", v.direct_sound != 0 ? 1 : 0);
    file.write_string(kProperty, "BuffSec", format_two_decimals(v.buffer_seconds));
    file.write_string(kProperty, "Device", v.device);
}

void put_setting_section(ProfileFile& file, const SettingValues& v) {
    put_int(file, kSetting, "TimeReverse", v.time_reverse);
    put_int(file, kSetting, "Shuffle", v.shuffle);
    put_int(file, kSetting, "Repeat", v.repeat);
    put_int(file, kSetting, "EasyMove", v.easy_move);
    put_int(file, kSetting, "Active", v.always_on_top);
    put_int(file, kSetting, "Double", v.double_size);
    put_int(file, kSetting, "VisiblePlayer", v.visible_player);
    put_int(file, kSetting, "ShadePlayer", v.shade_player);
    put_int(file, kSetting, "VisiblePledit", v.visible_pledit);
    put_int(file, kSetting, "ShadePledit", v.shade_pledit);
    put_int(file, kSetting, "Volume", volume_percent(v.volume));
    file.write_string(kSetting, "SelectSkin", v.skin_name);

    put_int(file, kSetting, "PlayLoops", v.play_loops);
    put_int(file, kSetting, "FadeSeconds", v.fade_seconds);
}

void put_position_section(ProfileFile& file, const PositionValues& v) {
    put_int(file, kPosition, "WindowLeft", v.window_left);
    put_int(file, kPosition, "WindowTop", v.window_top);
    put_int(file, kPosition, "ScrollPage", v.scroll_page);
}

bool write_property_section(const std::filesystem::path& path, const PropertyValues& values) {
    return write_section(path, [&](ProfileFile& f) { put_property_section(f, values); });
}

bool write_setting_section(const std::filesystem::path& path, const SettingValues& values) {
    return write_section(path, [&](ProfileFile& f) { put_setting_section(f, values); });
}

bool write_position_section(const std::filesystem::path& path, const PositionValues& values) {
    return write_section(path, [&](ProfileFile& f) { put_position_section(f, values); });
}

void read_resume_values(const ProfileFile& file, ResumeValues& v) {
    v.current = file.get_int(kSetting, "Current", v.current);
    if (file.find(kSetting, "Position")) {
        double seconds = parse_decimal_double(file.get_string(kSetting, "Position", "", 32));
        v.position_seconds = seconds > 0.0 ? seconds : 0.0;
    }
    v.current_file = file.get_string(kSetting, "CurrentFile", v.current_file, kMaxPathBytes + 1);
}

void put_resume_values(ProfileFile& file, const ResumeValues& v) {
    put_int(file, kSetting, "Current", v.current);
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v.position_seconds,
                                   std::chars_format::fixed, 6);
    file.write_string(kSetting, "Position",
                      ec == std::errc{} ? std::string_view(buffer, end - buffer) : "0");
    file.write_string(kSetting, "CurrentFile", v.current_file);
}

bool write_resume_values(const std::filesystem::path& path, const ResumeValues& values) {
    return write_section(path, [&](ProfileFile& f) { put_resume_values(f, values); });
}

AudioFormat to_audio_format(const PropertyValues& v) {
    AudioFormat format;
    format.channels = v.channels;
    format.sample_rate = v.sample_rate;
    format.bits = v.bits_per_sample;
    format.buffer_seconds = v.buffer_seconds;
    format.direct_sound = v.direct_sound != 0;
    format.device = v.device;
    return format;
}

}  // namespace dz
