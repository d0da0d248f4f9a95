#pragma once
// The choices of the Preferences dialog's four drop-down lists, one row per choice:
// {list control id, position in the list, value, default, Japanese text, English text}.
// The values are the player's channels, bits_per_sample, sample_rate and direct_sound.

#include <span>

namespace dz {

inline constexpr int kListChannels = 1004;
inline constexpr int kListBits = 1005;
inline constexpr int kListSampleRate = 1006;
inline constexpr int kListDevice = 1007;
// The output device list: "Default" first, then the devices by name (not in the table).
inline constexpr int kListOutput = 1016;
inline constexpr const char* kDefaultOutputJa = "既定";
inline constexpr const char* kDefaultOutputEn = "Default";
inline constexpr float kDefaultBufferSeconds = 0.1f;  // the Default button's "0.10"
// The loops and fade-out fields: ranges and the Default button's values.
inline constexpr int kFieldLoops = 1020;
inline constexpr int kFieldFade = 1021;
inline constexpr int kMinLoops = 1, kMaxLoops = 99, kDefaultLoops = 1;
inline constexpr int kMinFadeSeconds = 0, kMaxFadeSeconds = 60, kDefaultFadeSeconds = 0;

struct PreferenceChoice {
    int list;
    int position;
    int value;
    bool is_default;
    const char* japanese;
    const char* english;
};

// clang-format off
inline constexpr PreferenceChoice kPreferenceChoices[] = {
    {kListChannels,   0, 1,     false, "モノラル",     "mono"},
    {kListChannels,   1, 2,     true,  "ステレオ",     "stereo"},
    {kListBits,       0, 8,     false, "8bit",         "8bit"},
    {kListBits,       1, 16,    true,  "16bit",        "16bit"},
    {kListSampleRate, 0, 11025, false, "11025Hz",      "11025Hz"},
    {kListSampleRate, 1, 22050, false, "22050Hz",      "22050Hz"},
    {kListSampleRate, 2, 44100, true,  "44100Hz",      "44100Hz"},
    {kListDevice,     0, 0,     false, "wave mapper",  "wave mapper"},
    {kListDevice,     1, 1,     true,  "direct sound", "direct sound"},
};
// clang-format on

inline std::span<const PreferenceChoice> preference_choices() {
    return kPreferenceChoices;
}

// The value at (list, position); `fallback` when no row has it.
inline int ChoiceValue(int list, int position, int fallback) {
    for (const PreferenceChoice& c : kPreferenceChoices)
        if (c.list == list && c.position == position) return c.value;
    return fallback;
}

// The position of (list, value); `fallback` when no row has it.
inline int ChoicePosition(int list, int value, int fallback) {
    for (const PreferenceChoice& c : kPreferenceChoices)
        if (c.list == list && c.value == value) return c.position;
    return fallback;
}

// The default position of a list; -1 when it has none.
inline int DefaultChoicePosition(int list) {
    for (const PreferenceChoice& c : kPreferenceChoices)
        if (c.list == list && c.is_default) return c.position;
    return -1;
}

}  // namespace dz
