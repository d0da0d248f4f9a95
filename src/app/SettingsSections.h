#pragma once
// The section readers and writers over the application state. `State` is
// TAG_USERDATA, or any type with its fields: ini_path, player (tagPLAYER),
// time_reverse, shuffle, repeat, easy_move, always_on_top, double_size,
// visible_player, shade_player, visible_pledit, shade_pledit, skin_name and
// scroll_page. A reader given no path reads ini_path; writers write ini_path, and a write
// that fails is reported on stderr (the program goes on with its settings in memory).

#include <cstdio>
#include <optional>
#include <string>

#include "io/Settings.h"

namespace dz {

// Says on stderr that a section of the settings file could not be written; returns `ok`.
inline bool ReportSectionWrite(bool ok, const std::string& path, const char* section) {
    if (!ok)
        std::fprintf(stderr, "dezidu: cannot write the %s section of the settings file %s\n",
                     section, path.c_str());
    return ok;
}

// The Setting section's values as the state holds them now.
template <class State>
SettingValues SettingValuesOf(const State& s) {
    SettingValues v;
    v.time_reverse = s.time_reverse;
    v.shuffle = s.shuffle;
    v.repeat = s.repeat;
    v.easy_move = s.easy_move;
    v.always_on_top = s.always_on_top;
    v.double_size = s.double_size;
    v.visible_player = s.visible_player;
    v.shade_player = s.shade_player;
    v.visible_pledit = s.visible_pledit;
    v.shade_pledit = s.shade_pledit;
    v.volume = s.player.volume;
    v.skin_name = s.skin_name;

    v.play_loops = s.player.play_loops;
    v.fade_seconds = s.player.fade_seconds;
    return v;
}

// Reads Setting; copies shuffle and repeat into the player, sets the library's
// loop flag, the volume, and the loops and fade-out.
template <class State>
void ReadSettingSection(State& s, const std::optional<std::string>& path = std::nullopt) {
    SettingValues v = SettingValuesOf(s);
    read_setting_section(ProfileFile::load_or_empty(path ? *path : s.ini_path), v);
    s.time_reverse = v.time_reverse;
    s.shuffle = v.shuffle;
    s.repeat = v.repeat;
    s.easy_move = v.easy_move;
    s.always_on_top = v.always_on_top;
    s.double_size = v.double_size;
    s.visible_player = v.visible_player;
    s.shade_player = v.shade_player;
    s.visible_pledit = v.visible_pledit;
    s.shade_pledit = v.shade_pledit;
    s.player.set_shuffle(s.shuffle);
    s.player.set_repeat(s.repeat);
    s.player.set_volume(v.volume);
    s.skin_name = v.skin_name;

    s.player.set_play_plan(v.play_loops, v.fade_seconds);
}

template <class State>
bool WriteSettingSection(const State& s) {
    return ReportSectionWrite(write_setting_section(s.ini_path, SettingValuesOf(s)), s.ini_path,
                              "Setting");
}

// Reads Property into the player's output format, then re-opens the library
// with it (pxtone_Reset).
template <class State>
void ReadPropertySection(State& s, const std::optional<std::string>& path = std::nullopt) {
    PropertyValues v;
    v.channels = s.player.channels;
    v.bits_per_sample = s.player.bits_per_sample;
    v.sample_rate = s.player.sample_rate;
    v.direct_sound = s.player.direct_sound;
    read_property_section(ProfileFile::load_or_empty(path ? *path : s.ini_path), v);
    s.player.channels = v.channels;
    s.player.bits_per_sample = v.bits_per_sample;
    s.player.sample_rate = v.sample_rate;
    s.player.direct_sound = static_cast<decltype(s.player.direct_sound)>(v.direct_sound);
    s.player.buffer_seconds = v.buffer_seconds;
    s.player.device = v.device;
    s.player.reset_output();
}

template <class State>
bool WritePropertySection(const State& s) {
    PropertyValues v;
    v.channels = s.player.channels;
    v.bits_per_sample = s.player.bits_per_sample;
    v.sample_rate = s.player.sample_rate;
    v.direct_sound = s.player.direct_sound;
    v.buffer_seconds = s.player.buffer_seconds;
    v.device = s.player.device;
    return ReportSectionWrite(write_property_section(s.ini_path, v), s.ini_path, "Property");
}

// Reads Position: stores scroll_page and returns where the main window goes
// (the current corner when the file says nothing); the caller moves the window
// there and runs the layout.
template <class State>
PositionValues ReadPositionSection(State& s, int current_left, int current_top,
                                   const std::optional<std::string>& path = std::nullopt) {
    PositionValues v{current_left, current_top, s.scroll_page};
    read_position_section(ProfileFile::load_or_empty(path ? *path : s.ini_path), v);
    s.scroll_page = v.scroll_page;
    return v;
}

// Writes Position with the main window's current top-left corner.
template <class State>
bool WritePositionSection(const State& s, int window_left, int window_top) {
    return ReportSectionWrite(
        write_position_section(s.ini_path, PositionValues{window_left, window_top, s.scroll_page}),
        s.ini_path, "Position");
}

// ---- the resume point (Current, Position, CurrentFile of Setting) ----

// The current entry and the play position as the player holds them now: a paused tune where
// it resumes, a playing one where it is; a stopped player's current entry at 0 seconds.
template <class State>
ResumeValues ResumeValuesOf(const State& s) {
    ResumeValues v;
    const auto& p = s.player;
    const auto* entry = p.entry(p.current_index);
    if (!entry) return v;
    v.current = p.current_index;
    v.current_file = entry->path;
    if (p.is_playing && p.is_paused && p.sample_rate > 0)
        v.position_seconds = static_cast<double>(p.pause_sample) / p.sample_rate;
    else if (p.is_playing)
        v.position_seconds = p.position_seconds.load();
    return v;
}

template <class State>
bool WriteResumeValues(const State& s) {
    return ReportSectionWrite(write_resume_values(s.ini_path, ResumeValuesOf(s)), s.ini_path,
                              "Setting");
}

}  // namespace dz
