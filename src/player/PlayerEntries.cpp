// tagPLAYER: adding and loading playlist entries, totals, the folder scan.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>
#include <vector>

#include "base/PathUtil.h"
#include "platform/HttpClient.h"
#include "player/Player.h"
#include "player/Random15.h"

namespace dz {

namespace {

int saturate(std::int64_t v) {
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

// Text from the library as a C buffer of `limit` characters would hold it:
// up to the first zero byte, at most `limit` bytes.
std::string cut_text(const std::string& s, std::size_t limit) {
    std::size_t n = std::min({s.size(), limit, s.find('\0')});
    return s.substr(0, n);
}

}  // namespace

tagTUNEINFO* tagPLAYER::entry(int i) {
    return playlist.in_range(i) ? &playlist[i] : nullptr;
}

const tagTUNEINFO* tagPLAYER::entry(int i) const {
    return playlist.in_range(i) ? &playlist[i] : nullptr;
}

int tagPLAYER::current_mark_index() const {
    for (int k = 0; k < playlist.count(); ++k)
        if (playlist[k].current_mark) return k;
    return -1;
}

int tagPLAYER::max_sequence() const {
    return playlist.max_sequence();
}

// Draws from the shared generator until a value is neither 0 nor taken. The
// caller guarantees a free key exists (the list is below kMaxEntries).
int tagPLAYER::draw_shuffle_key() const {
    for (;;) {
        int r = random15();
        if (r != 0 && !playlist.key_taken(r)) return r;
    }
}

bool tagPLAYER::path_fits(const std::string& path) {
    if (path.size() <= tagTUNEINFO::kPathMax) return true;
    std::fprintf(stderr,
                 "dezidu: not added, a path of %zu bytes (at most %zu are taken): %.60s...\n",
                 path.size(), tagTUNEINFO::kPathMax, path.c_str());
    return false;
}

int tagPLAYER::add_entry(const std::string& path, const std::optional<std::string>& title,
                         float length_seconds) {
    if (playlist.count() >= kMaxEntries) return -1;
    if (!path_fits(path)) return -1;
    settle();
    tagTUNEINFO e;
    e.sequence = max_sequence() + 1;
    e.path = path;
    e.file_title = file_title_of(path);
    if (title) e.title = cut_text(*title, tagTUNEINFO::kTitleMax);
    e.length_seconds = length_seconds;
    e.shuffle_key = draw_shuffle_key();
    return playlist.push_back(std::move(e));
}

bool tagPLAYER::path_exists(const std::string& path) const {
    if (path_is_url(path)) return http_ != nullptr && http_->exists(path);
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

int tagPLAYER::add_file(const std::string& path) {
    if (playlist.count() >= kMaxEntries || !path_fits(path)) return -1;
    settle();
    int resume_index = -1;
    int resume_sample = 0;
    if (library_.pxtone_Tune_IsStreaming()) {
        resume_index = current_index;
        resume_sample = library_.pxtone_Tune_Stop();
    }
    int added = -1;
    if (path_exists(path)) {
        added = add_entry(path, std::nullopt, 0.0f);
        if (added >= 0) load_entry(added);
        recompute_totals();
    }
    if (resume_index >= 0 && playlist.in_range(resume_index)) play(resume_index, resume_sample);
    return added;
}

int tagPLAYER::load_entry(int i) {
    tagTUNEINFO* e = entry(i);
    if (!e) return 0;
    if (!e->info_loaded && path_is_url(e->path)) {
        if (!http_) return 0;
        std::optional<std::string> local = http_->fetch(e->path);
        if (!local) return 0;
        // A copy from an earlier download whose tune did not load is replaced,
        // not left behind in the temporary folder.
        if (!e->temp_path.empty() && e->temp_path != *local) {
            std::error_code ec;
            std::filesystem::remove(e->temp_path, ec);
        }
        e->temp_path = *local;
    }
    if (!library_.pxtone_Tune_Load(e->temp_path.empty() ? e->path : e->temp_path)) return 0;
    if (!e->info_loaded) fill_information(*e);
    return 1;
}

void tagPLAYER::fill_information(tagTUNEINFO& e) {
    TuneInformation info;
    library_.pxtone_Tune_GetInformation(info);
    e.beats_per_measure = info.beats_per_measure;
    e.tempo = info.tempo;
    e.clocks_per_beat = info.clocks_per_beat;
    e.measure_count = info.measure_count;
    e.repeat_measure = library_.pxtone_Tune_GetRepeatMeas();
    e.play_measures = library_.pxtone_Tune_GetPlayMeas();
    e.name = cut_text(library_.pxtone_Tune_GetName(), tagTUNEINFO::kNameMax);
    e.comment = cut_text(library_.pxtone_Tune_GetComment(), tagTUNEINFO::kCommentMax);
    e.total_clocks = saturate(static_cast<std::int64_t>(e.play_measures) * e.beats_per_measure *
                              e.clocks_per_beat);
    if (e.tempo == 0.0f || e.clocks_per_beat == 0)
        e.length_seconds = 0.0f;
    else
        e.length_seconds =
            static_cast<float>(e.total_clocks / (e.clocks_per_beat * e.tempo / 60.0));
    e.title = (e.name.empty() || contains_nocase(e.name, "no name")) ? e.file_title : e.name;
    e.info_loaded = 1;
    apply_play_length(e);
}

void tagPLAYER::recompute_totals() {
    std::int64_t sel_clocks = 0, clocks = 0;
    float sel_seconds = 0.0f, seconds = 0.0f;
    for (const auto& e : std::as_const(playlist)) {
        // Each length counts in whole seconds.
        float whole = std::trunc(e.length_seconds);
        clocks += e.total_clocks;
        seconds += whole;
        if (e.selected) {
            sel_clocks += e.total_clocks;
            sel_seconds += whole;
        }
    }
    selected_clocks = saturate(sel_clocks);
    selected_seconds = sel_seconds;
    all_clocks = saturate(clocks);
    total_seconds = seconds;
}

void tagPLAYER::load_unloaded_entries() {
    for (int k = 0; k < playlist.count(); ++k)
        if (!playlist[k].info_loaded) load_entry(k);
}

int tagPLAYER::add_folder(const std::string& folder,
                          const std::function<void(int index)>& after_each) {
    int added = 0;
    for (const std::string& path : list_tune_files(folder)) {
        int i = add_file(path);
        if (i < 0) continue;
        ++added;
        if (after_each) after_each(i);
    }
    return added;
}

}  // namespace dz
