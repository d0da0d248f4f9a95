#include "player/Player.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

#include "base/PathUtil.h"
#include "platform/PreferenceChoices.h"
#include "player/Random15.h"

namespace dz {

namespace {

// Truncates toward zero, saturating at the int range (NaN gives 0).
int trunc_to_int(double v) {
    if (!(v == v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace

tagPLAYER::tagPLAYER(AudioLibrary& library)
    : library_(library), loader_(std::make_unique<EntryLoader>(library)) {
    position_callback = [this](int clock) { return on_position(clock); };
    library_.pxtone_Ready(format(), position_callback);
    take_output_format();
    set_repeat(0);
    seed_random15(static_cast<unsigned>(std::time(nullptr)));
}

tagPLAYER::~tagPLAYER() {
    release();
}

AudioFormat tagPLAYER::format() const {
    AudioFormat f;
    f.channels = channels;
    f.sample_rate = sample_rate;
    f.bits = bits_per_sample;
    f.buffer_seconds = buffer_seconds;
    f.direct_sound = direct_sound != 0;
    f.device = device;
    return f;
}

void tagPLAYER::reset_output() {
    library_.pxtone_Reset(format(), position_callback);
    take_output_format();
}

// Positions are counted at the rate the library really plays.
void tagPLAYER::take_output_format() {
    AudioFormat in_use = library_.output_format();
    channels = in_use.channels;
    sample_rate = in_use.sample_rate;
    bits_per_sample = in_use.bits;
}

void tagPLAYER::release() {
    if (released) return;
    settle();
    loader_->stop();
    pending_play_.reset();
    for (const DownloadedFile& f : take_downloaded_files()) {
        std::error_code ec;
        if (!f.temp_path.empty()) std::filesystem::remove(f.temp_path, ec);
    }
    if (library_.pxtone_Tune_IsStreaming()) library_.pxtone_Tune_Stop();
    playlist.clear();
    library_.pxtone_Tune_Release();
    library_.pxtone_Release();
    released = 1;
}

// ---- position ----

float tagPLAYER::clocks_per_second() const {
    return static_cast<float>(current_tune.clocks_per_beat * current_tune.tempo / 60.0);
}

float tagPLAYER::current_length_seconds() const {
    float cps = clocks_per_second();
    if (cps == 0.0f) return 0.0f;
    return static_cast<float>(current_tune.total_clocks) / cps;
}

namespace {

struct Position {
    float seconds;
    int sample;
    float ratio;
};

Position position_of(int clock, float cps, int total_clocks, int sample_rate) {
    Position p;
    p.seconds = cps != 0.0f ? static_cast<float>(clock) / cps : 0.0f;
    p.sample = trunc_to_int(static_cast<double>(p.seconds) * sample_rate);
    p.ratio =
        total_clocks != 0 ? static_cast<float>(clock) / static_cast<float>(total_clocks) : 0.0f;
    return p;
}

}  // namespace

void tagPLAYER::set_position(int clock) {
    Position p = position_of(clock, clocks_per_second(), current_tune.total_clocks, sample_rate);
    position_clock = clock;
    position_seconds = p.seconds;
    position_sample = p.sample;
    position_ratio = p.ratio;
}

// Audio thread: reads only the published atomics, writes only the position.
int tagPLAYER::on_position(int clock) {
    if (library_.pxtone_Tune_IsStreaming()) {
        // After a hand-over the worker takes the next tune's basis at its next tick; until
        // then the one published with the request holds.
        const bool next = library_.handovers() == cb_next_serial_.load();
        Position p = position_of(
            clock, next ? cb_next_clocks_per_second_.load() : cb_clocks_per_second_.load(),
            next ? cb_next_total_clocks_.load() : cb_total_clocks_.load(), cb_sample_rate_.load());
        position_clock = clock;
        position_seconds = p.seconds;
        position_sample = p.sample;
        position_ratio = p.ratio;
    }
    return 1;
}

void tagPLAYER::publish_position_basis() {
    cb_clocks_per_second_ = clocks_per_second();
    cb_total_clocks_ = current_tune.total_clocks;
    cb_sample_rate_ = sample_rate;
}

int tagPLAYER::sample_to_clock(int sample) const {
    if (sample_rate == 0) return 0;
    return trunc_to_int(static_cast<double>(clocks_per_second()) *
                        (static_cast<double>(sample) / sample_rate));
}

// ---- playback ----

// A seek keeps the prepared next tune: the one that follows stays the same.
void tagPLAYER::seek(int sample) {
    follow_handover();
    if (!is_playing) return;
    ++seek_count;
    if (is_paused) {
        pause_sample = sample;
    } else {
        library_.pxtone_Tune_Stop();
        publish_position_basis();
        library_.pxtone_Tune_Start(sample, 0, volume);
    }
    set_position(sample_to_clock(sample));
}

void tagPLAYER::stop_tune() {
    settle();
    halt();
}

void tagPLAYER::halt() {
    library_.pxtone_Tune_Stop();
    position_clock = 0;
    position_seconds = 0.0f;
    position_sample = 0;
    position_ratio = 0.0f;
    is_playing = 0;
    is_paused = 0;
    pause_sample = 0;
}

int tagPLAYER::load_as_current(int i, int sample) {
    return load_as_current_from(i, sample, true);
}

int tagPLAYER::load_as_current_from(int i, int sample, bool may_download) {
    settle();
    if (!playlist.in_range(i)) return 0;
    if (library_.pxtone_Tune_IsStreaming()) stop_tune();
    if (load_entry_from(i, may_download) == 1) {
        current_tune = playlist[i];
        failed_key_.reset();
    } else {
        failed_key_ = playlist[i].shuffle_key;
    }
    set_position(sample_to_clock(sample));
    pause_sample = position_sample;
    return 1;
}

void tagPLAYER::make_current(int i) {
    current_index = i;
    for (auto& e : playlist) e.current_mark = 0;
    playlist[i].current_mark = 1;
}

int tagPLAYER::play(int i, int sample) {
    return play_from(i, sample, true);
}

// A URL entry without its copy is not waited for here: its download is requested and
// the play is kept pending until apply_loaded has the result; whatever plays meanwhile
// plays on. Playing another entry gives a pending play up; playing the current entry
// again (the resume around a change of the list) keeps it.
int tagPLAYER::play_from(int i, int sample, bool may_download) {
    if (i != current_index) pending_play_.reset();
    if (may_download && playlist.in_range(i) && awaits_download(playlist[i])) {
        request_download(playlist[i], false);
        pending_play_ = PendingPlay{playlist[i].uid, sample};
        return 1;
    }
    int r = load_as_current_from(i, sample, may_download);
    if (r != 1) return r;
    make_current(i);
    is_playing = 1;
    is_paused = 0;
    pause_sample = 0;
    publish_position_basis();
    library_.pxtone_Tune_Start(sample, 0, volume);
    return 1;
}

int tagPLAYER::pause_at(int i, int sample) {
    if (!playlist.in_range(i)) return 0;
    const std::optional<int> failed_before = failed_key_;
    load_as_current(i, 0);
    if (failed_key_) {
        failed_key_ = failed_before;
        return 0;
    }
    const int end = trunc_to_int(static_cast<double>(current_length_seconds()) * sample_rate);
    if (sample < 0 || sample >= end) sample = 0;
    set_position(sample_to_clock(sample));
    make_current(i);
    is_playing = 1;
    is_paused = 1;
    // The exact sample: the position fields are whole clocks.
    pause_sample = sample;
    return 1;
}

void tagPLAYER::set_volume(float v) {
    library_.pxtone_Tune_SetVolume(v);
    volume = v;
}

void tagPLAYER::set_repeat(int on) {
    settle();
    library_.pxtone_Tune_SetLoop(on != 0);
    repeat = on;
    update_lengths();
}

void tagPLAYER::set_shuffle(int on) {
    settle();
    shuffle = on;
}

void tagPLAYER::set_play_plan(int loops, int fade) {
    settle();
    play_loops = std::clamp(loops, kMinLoops, kMaxLoops);
    fade_seconds = std::clamp(fade, kMinFadeSeconds, kMaxFadeSeconds);
    library_.set_play_plan(play_loops, fade_seconds);
    update_lengths();
}

void tagPLAYER::apply_play_length(tagTUNEINFO& e) const {
    if (!e.info_loaded) return;
    const std::int64_t measure = std::int64_t{e.beats_per_measure} * e.clocks_per_beat;
    const std::int64_t loop = std::max(0, e.play_measures - e.repeat_measure) * measure;
    std::int64_t clocks = e.play_measures * measure;
    if (!repeat) clocks += (play_loops - 1) * loop;
    e.total_clocks = static_cast<int>(std::clamp<std::int64_t>(clocks, 0, INT_MAX));
    if (e.tempo == 0.0f || e.clocks_per_beat == 0)
        e.length_seconds = 0.0f;
    else
        e.length_seconds =
            static_cast<float>(e.total_clocks / (e.clocks_per_beat * e.tempo / 60.0));
}

float tagPLAYER::pass_length_seconds(const tagTUNEINFO& e) {
    if (!e.info_loaded) return e.length_seconds;
    if (e.tempo == 0.0f || e.clocks_per_beat == 0) return 0.0f;
    const std::int64_t clocks =
        std::int64_t{e.play_measures} * e.beats_per_measure * e.clocks_per_beat;
    return static_cast<float>(static_cast<int>(std::min<std::int64_t>(clocks, INT_MAX)) /
                              (e.clocks_per_beat * e.tempo / 60.0));
}

// The current tune's copy too, and the position basis of a stream that goes on.
void tagPLAYER::update_lengths() {
    for (auto& e : playlist) apply_play_length(e);
    apply_play_length(current_tune);
    recompute_totals();
    publish_position_basis();
}

// ---- play order ----

int tagPLAYER::first_index() const {
    if (playlist.empty()) return -1;
    if (!shuffle) return 0;
    int best = 0;
    for (int k = 1; k < playlist.count(); ++k)
        if (playlist[k].shuffle_key < playlist[best].shuffle_key) best = k;
    return best;
}

int tagPLAYER::last_index() const {
    if (playlist.empty()) return -1;
    if (!shuffle) return playlist.count() - 1;
    int best = 0;
    for (int k = 1; k < playlist.count(); ++k)
        if (playlist[k].shuffle_key > playlist[best].shuffle_key) best = k;
    return best;
}

// The shuffle order moves on from the current tune's key. When the entry made
// current could not be loaded, `current_tune` still holds the tune before it;
// starting from that stale key would find the failed entry again forever, so
// the failed entry's own key is used instead.
int tagPLAYER::shuffle_origin_key() const {
    return failed_key_ ? *failed_key_ : current_tune.shuffle_key;
}

int tagPLAYER::next_index(int i) const {
    if (playlist.empty()) return -1;
    if (!shuffle) return i + 1 <= last_index() ? i + 1 : -1;
    int from = shuffle_origin_key();
    int best = -1;
    for (int k = 0; k < playlist.count(); ++k) {
        int key = playlist[k].shuffle_key;
        if (key > from && (best < 0 || key < playlist[best].shuffle_key)) best = k;
    }
    return best;
}

int tagPLAYER::prev_index(int i) const {
    if (playlist.empty()) return -1;
    if (!shuffle) return i - 1 >= first_index() ? i - 1 : -1;
    int from = shuffle_origin_key();
    int best = -1;
    for (int k = 0; k < playlist.count(); ++k) {
        int key = playlist[k].shuffle_key;
        if (key < from && (best < 0 || key > playlist[best].shuffle_key)) best = k;
    }
    return best;
}

void tagPLAYER::tick() {
    output = library_.poll_output();
    follow_handover();
    if (!is_playing || is_paused || library_.pxtone_Tune_IsStreaming()) {
        revise_next();
        return;
    }
    // The next tune is downloading: wait for it rather than skip it.
    if (pending_play_) {
        if (index_of_uid(pending_play_->uid) >= 0) return;
        pending_play_.reset();
    }
    if (playlist.empty() || current_index == last_index()) {
        stop_tune();
        return;
    }
    // No next entry (the current index lies past the end after a removal): the
    // list has been played through, so stop instead of staying "playing" in silence.
    int i = next_index(current_index);
    if (playlist.in_range(i))
        play(i, 0);
    else
        stop_tune();
}

void tagPLAYER::follow_handover() {
    const int count = library_.handovers();
    if (count == seen_handovers_) return;
    seen_handovers_ = count;
    const int i = queued_index_;
    queued_index_ = -1;
    queued_path_.clear();
    if (!playlist.in_range(i)) {
        // Not reached: every change of the list settles before it is made.
        halt();
        return;
    }
    tagTUNEINFO& e = playlist[i];
    if (!e.info_loaded) {
        fill_information(e, loaded_details());
        recompute_totals();
    }
    current_tune = e;
    failed_key_.reset();
    make_current(i);
    is_playing = 1;
    is_paused = 0;
    pause_sample = 0;
    publish_position_basis();
    cb_next_serial_ = -1;
}

void tagPLAYER::settle() {
    library_.set_next_tune({});
    follow_handover();
    queued_index_ = -1;
    queued_path_.clear();
    cb_next_serial_ = -1;
}

// Only local files, and URL tunes already downloaded, are prepared: a download would hold
// the worker; such an entry starts after the end as before.
void tagPLAYER::revise_next() {
    int i = -1;
    std::string path;
    if (is_playing && !is_paused && !repeat && library_.pxtone_Tune_IsStreaming() &&
        current_length_seconds() - position_seconds.load() <= kPrepareLeadSeconds) {
        i = next_index(current_index);
        if (playlist.in_range(i)) {
            const tagTUNEINFO& e = playlist[i];
            if (!e.temp_path.empty())
                path = e.temp_path;
            else if (!path_is_url(e.path))
                path = e.path;
        }
    }
    if (path.empty()) i = -1;
    if (i == queued_index_ && path == queued_path_) {
        // Asked again: the library drops it when it loads a tune or reopens the output.
        if (!path.empty()) library_.set_next_tune(path);
        return;
    }
    const int before = seen_handovers_;
    settle();
    // A hand-over came first: the next tick asks for what follows the new tune.
    if (seen_handovers_ != before || path.empty()) return;
    const tagTUNEINFO& e = playlist[i];
    queued_index_ = i;
    queued_path_ = path;
    cb_next_clocks_per_second_ = static_cast<float>(e.clocks_per_beat * e.tempo / 60.0);
    cb_next_total_clocks_ = e.total_clocks;
    cb_next_serial_ = library_.handovers() + 1;
    library_.set_next_tune(path);
}

// ---- commands ----

void tagPLAYER::command_play() {
    follow_handover();
    if (library_.pxtone_Tune_IsStreaming()) {
        pending_play_.reset();
        stop_tune();
        return;
    }
    load_unloaded_entries();
    if (is_paused) {
        play(current_index, pause_sample);
    } else if (playlist.in_range(current_index)) {
        play(current_index, 0);
    } else if (!playlist.empty()) {
        play(first_index(), 0);
    }
}

void tagPLAYER::command_pause() {
    settle();
    if (is_paused == 1) {
        play(current_index, pause_sample);
    } else if (is_playing) {
        is_paused = 1;
        pause_sample = library_.pxtone_Tune_Stop();
    }
}

void tagPLAYER::command_stop() {
    pending_play_.reset();
    if (is_playing) stop_tune();
}

// Next and Previous: a playing tune moves on playing; otherwise the entry only
// becomes the current one.
void tagPLAYER::step_to(int i) {
    if (!playlist.in_range(i)) return;
    if (is_playing) {
        play(i, 0);
    } else {
        load_as_current(i, 0);
        make_current(i);
    }
}

void tagPLAYER::command_next() {
    settle();
    step_to(next_index(current_index));
}

void tagPLAYER::command_previous() {
    settle();
    step_to(prev_index(current_index));
}

void tagPLAYER::command_restart() {
    if (is_playing) seek(0);
}

// A tune of length 0 would give -1 as the last sample; the stream starts at 0 then.
void tagPLAYER::command_jump_to_end() {
    if (!is_playing) return;
    int target = trunc_to_int(static_cast<double>(current_length_seconds()) * sample_rate) - 1;
    seek(target < 0 ? 0 : target);
}

void tagPLAYER::command_back5() {
    if (!is_playing) return;
    int target = trunc_to_int((position_seconds.load() - 5.0) * sample_rate);
    seek(target < 0 ? 0 : target);
}

void tagPLAYER::command_forward5() {
    if (!is_playing) return;
    int target = trunc_to_int((position_seconds.load() + 5.0) * sample_rate);
    int end = trunc_to_int(static_cast<double>(current_length_seconds()) * sample_rate);
    if (target > end) target = end - 1;
    seek(target < 0 ? 0 : target);
}

}  // namespace dz
