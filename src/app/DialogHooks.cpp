#include "app/DialogHooks.h"

#include <cstdio>

#include "app/SettingsSections.h"
#include "app/ShownTitle.h"
#include "app/UiCall.h"
#include "base/PathUtil.h"
#include "base/ShiftJis.h"
#include "state/TagUserData.h"

namespace dz {

namespace {

// A dialog of the seam that only asks: the user's answer, nothing when cancelled.
template <class Answer>
Answer Ask(TAG_USERDATA& d, Answer (Dialogs::*ask)(bool japanese)) {
    Dialogs* dialogs = d.services.dialogs;
    if (!dialogs) return Answer{};
    bool japanese = d.japanese == 1;
    return RunOnUiThread(d, [dialogs, japanese, ask] { return (dialogs->*ask)(japanese); });
}

void FileInfoDialog(TAG_USERDATA& d) {
    Dialogs* dialogs = d.services.dialogs;
    if (!dialogs) return;
    std::optional<tagTUNEINFO> entry = FileInfoEntry(d);
    if (!entry) return;
    FileInfoText text = FileInfoTextOf(*entry);
    bool japanese = d.japanese == 1;
    RunOnUiThread(d, [dialogs, &text, japanese] {
        dialogs->file_info(text, japanese);
        return 0;
    });
}

void PreferencesDialog(TAG_USERDATA& d) {
    Dialogs* dialogs = d.services.dialogs;
    if (!dialogs) return;
    PreferenceValues current = PreferenceValuesOf(d.player);
    // The library reads its list in step with the device openings on its own thread.
    current.device_choices = d.player.library().output_devices();
    bool japanese = d.japanese == 1;
    std::optional<PreferenceValues> answer = RunOnUiThread(
        d, [dialogs, &current, japanese] { return dialogs->preferences(current, japanese); });
    if (answer) ApplyPreferences(d, *answer);
}

void AboutDialog(TAG_USERDATA& d) {
    Dialogs* dialogs = d.services.dialogs;
    if (!dialogs) return;
    bool japanese = d.japanese == 1;
    RunOnUiThread(d, [dialogs, japanese] {
        dialogs->about(japanese);
        return 0;
    });
}

// The jump box over a snapshot of the list: the worker waits while it is open, so the
// index it gives still names the entry it showed.
std::optional<int> JumpDialog(TAG_USERDATA& d) {
    Dialogs* dialogs = d.services.dialogs;
    if (!dialogs) return std::nullopt;
    std::vector<JumpEntry> entries = JumpEntriesOf(d.player);
    const int current =
        d.player.playlist.in_range(d.player.current_index) ? d.player.current_index : -1;
    bool japanese = d.japanese == 1;
    return RunOnUiThread(d, [dialogs, &entries, current, japanese] {
        return dialogs->jump_to_entry(entries, current, japanese);
    });
}

}  // namespace

void InstallDialogHooks(CommandHooks& c) {
    c.ask_url = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::add_url); };
    c.choose_folder = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::choose_folder); };
    c.choose_files = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::open_files); };
    c.choose_playlist_to_open = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::open_playlist); };
    c.choose_playlist_to_save = [](TAG_USERDATA& d) { return Ask(d, &Dialogs::save_playlist); };
    c.about_dialog = AboutDialog;
    c.file_info_dialog = FileInfoDialog;
    c.preferences_dialog = PreferencesDialog;
    c.choose_entry = JumpDialog;
}

FileInfoText FileInfoTextOf(const tagTUNEINFO& e) {
    char tempo[32];
    std::snprintf(tempo, sizeof tempo, "%.0f", static_cast<double>(e.tempo));
    FileInfoText t;
    t.path = e.path;
    t.name = Cp932ToUtf8(e.name);
    t.beats = std::to_string(e.beats_per_measure);
    t.tempo = tempo;
    t.measures = std::to_string(e.play_measures);
    const int seconds = static_cast<int>(tagPLAYER::pass_length_seconds(e));
    char length[32];
    std::snprintf(length, sizeof length, "%d:%02d", seconds / 60, seconds % 60);
    t.length = length;
    t.format = contains_nocase(path_find_extension(e.path), ".pttune") ? "pttune" : "ptcop";
    t.comment = Cp932ToUtf8(e.comment);
    return t;
}

std::optional<tagTUNEINFO> FileInfoEntry(TAG_USERDATA& d) {
    tagPLAYER& p = d.player;
    int index = -1;
    bool use_current = false;
    if (d.visible_pledit == 1 && d.shade_pledit == 0) {
        if (d.list_cursor >= 0 && d.list_cursor < p.playlist.count()) index = d.list_cursor;
    } else if (p.current_tune.info_loaded == 1) {
        use_current = true;
    }
    if (index < 0 && !use_current) {
        if (p.playlist.empty()) return std::nullopt;
        index = p.first_index();
    }
    // The other entries are read in the background; the one shown is read before it is
    // copied, so a fresh entry shows its information.
    if (!p.library().pxtone_Tune_IsStreaming()) p.load_unloaded_entries();
    if (use_current) return p.current_tune;
    p.read_information_now(index);
    const tagTUNEINFO* entry = p.entry(index);
    if (!entry) return std::nullopt;
    return *entry;
}

std::vector<JumpEntry> JumpEntriesOf(const tagPLAYER& p) {
    std::vector<JumpEntry> out;
    out.reserve(p.playlist.size());
    for (const tagTUNEINFO& e : p.playlist)
        out.push_back({ShownTitle(e), std::string(path_file_name(e.path))});
    return out;
}

PreferenceValues PreferenceValuesOf(const tagPLAYER& p) {
    PreferenceValues v;
    v.channels = p.channels;
    v.bits = p.bits_per_sample;
    v.sample_rate = p.sample_rate;
    v.direct_sound = p.direct_sound != 0;
    v.buffer_seconds = p.buffer_seconds;
    v.device = p.device;
    v.play_loops = p.play_loops;
    v.fade_seconds = p.fade_seconds;
    return v;
}

void ApplyPreferences(TAG_USERDATA& d, const PreferenceValues& v) {
    tagPLAYER& p = d.player;
    p.channels = v.channels;
    p.bits_per_sample = v.bits;
    p.sample_rate = v.sample_rate;
    p.direct_sound = v.direct_sound ? 1 : 0;
    p.buffer_seconds = v.buffer_seconds;
    p.device = v.device;
    p.reset_output();
    WritePropertySection(d);
    if (v.play_loops != p.play_loops || v.fade_seconds != p.fade_seconds) {
        p.set_play_plan(v.play_loops, v.fade_seconds);
        WriteSettingSection(d);
    }
}

}  // namespace dz
