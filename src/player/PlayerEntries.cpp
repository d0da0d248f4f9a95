// tagPLAYER: adding and loading playlist entries, totals, the folder scan.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
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
    e.uid = next_uid_++;
    return playlist.push_back(std::move(e));
}

bool tagPLAYER::path_exists(const std::string& path) const {
    if (path_is_url(path)) return http_ != nullptr && http_->exists(path);
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

// A tune's information is read on the loader, never here: a drop or a folder of many
// tunes (some with Ogg voices to decode) would otherwise hold the worker for seconds, and
// the playing tune plays on undisturbed.
int tagPLAYER::add_file(const std::string& path) {
    return add_file_later(path, std::nullopt, 0.0f);
}

int tagPLAYER::add_file_later(const std::string& path, const std::optional<std::string>& title,
                              float length_seconds) {
    if (playlist.count() >= kMaxEntries || !path_fits(path)) return -1;
    const bool url = path_is_url(path);
    if (url ? http_ == nullptr : !path_exists(path)) return -1;
    int i = add_entry(path, title, length_seconds);
    if (i < 0) return -1;
    if (url)
        request_download(*information_of(i), true);
    else
        request_information(i);
    return i;
}

int tagPLAYER::load_entry(int i) {
    return load_entry_from(i, true);
}

// Without `may_download` a URL entry loads the copy it has (the download just applied).
int tagPLAYER::load_entry_from(int i, bool may_download) {
    tagTUNEINFO* e = information_of(i);
    if (!e) return 0;
    if (!e->info_loaded && path_is_url(e->path) && (may_download || e->temp_path.empty())) {
        // No copy to load: nothing stays loaded, as after any failed load, so the tune
        // loaded before cannot play under this entry.
        if (may_download && http_) request_download(*e, false);
        library_.pxtone_Tune_Release();
        return 0;
    }
    if (!library_.pxtone_Tune_Load(e->temp_path.empty() ? e->path : e->temp_path)) return 0;
    if (!e->info_loaded) fill_information(*e, loaded_details());
    return 1;
}

bool tagPLAYER::awaits_download(const tagTUNEINFO& e) const {
    return http_ != nullptr && !e.info_loaded && path_is_url(e.path);
}

void tagPLAYER::request_download(tagTUNEINFO& e, bool check) {
    if (e.loading == EntryLoading::Downloading) return;
    e.loading = EntryLoading::Downloading;
    loader_->submit(LoadJob{e.uid, e.path, true, check});
}

void tagPLAYER::request_information(int i) {
    tagTUNEINFO* e = information_of(i);
    if (!e || e->info_loaded || e->loading != EntryLoading::None) return;
    if (path_is_url(e->path)) {
        if (http_) request_download(*e, false);
        return;
    }
    e->loading = EntryLoading::Reading;
    loader_->submit(LoadJob{e->uid, e->path, false, false});
}

void tagPLAYER::read_information_now(int i) {
    tagTUNEINFO* e = information_of(i);
    if (!e || e->info_loaded) return;
    if (path_is_url(e->path)) {
        request_information(i);
        return;
    }
    if (std::optional<TuneDetails> details = library_.read_tune_details(e->path)) {
        fill_information(*e, *details);
        recompute_totals();
    }
}

tagTUNEINFO* tagPLAYER::information_of(int i) {
    return playlist.in_range(i) ? &playlist.keeping_index(static_cast<std::size_t>(i)) : nullptr;
}

int tagPLAYER::index_of_uid(std::uint64_t uid) const {
    for (int k = 0; k < playlist.count(); ++k)
        if (playlist[k].uid == uid) return k;
    return -1;
}

// The current index follows its entry when entries before it go.
void tagPLAYER::remove_missing(const std::vector<std::uint64_t>& uids) {
    settle();  // a prepared next tune is known by its index
    const std::unordered_set<std::uint64_t> gone(uids.begin(), uids.end());
    const std::uint64_t current_uid =
        playlist.in_range(current_index) ? playlist[current_index].uid : 0;
    playlist.erase_if([&](const tagTUNEINFO& e) { return gone.count(e.uid) != 0; });
    if (current_uid != 0 && gone.count(current_uid) == 0) current_index = index_of_uid(current_uid);
}

void tagPLAYER::request_file(const std::string& url) {
    if (!http_) return;
    const std::uint64_t uid = next_uid_++;
    file_jobs_[uid] = DownloadedFile{url, {}, false};
    LoadJob job{uid, url, true, true};
    job.read = false;
    loader_->submit(std::move(job));
}

int tagPLAYER::apply_loaded() {
    std::vector<LoadResult> results = loader_->take_results();
    if (results.empty()) return 0;
    int changes = 0;
    std::unordered_map<std::uint64_t, LoadResult*> by_uid;
    by_uid.reserve(results.size());
    for (LoadResult& r : results) {
        auto file = file_jobs_.find(r.uid);
        if (file == file_jobs_.end()) {
            by_uid[r.uid] = &r;
            continue;
        }
        file->second.temp_path = std::exchange(r.temp_path, {});
        downloaded_files_.push_back(std::move(file->second));
        file_jobs_.erase(file);
        changes |= kFilesDownloaded;
    }
    bool pending_done = false;
    std::vector<std::uint64_t> missing;
    for (tagTUNEINFO& e : playlist) {
        auto it = by_uid.find(e.uid);
        if (it == by_uid.end()) continue;
        LoadResult& r = *it->second;
        e.loading = EntryLoading::None;
        if (pending_play_ && pending_play_->uid == e.uid) pending_done = true;
        if (r.download) {
            changes |= kDownloadsApplied;
            if (!r.exists) {
                missing.push_back(e.uid);
                continue;
            }
            if (e.info_loaded) continue;
            if (!r.temp_path.empty()) {
                // A copy from an earlier download whose tune did not load is replaced,
                // not left behind in the temporary folder.
                if (!e.temp_path.empty() && e.temp_path != r.temp_path) {
                    std::error_code ec;
                    std::filesystem::remove(e.temp_path, ec);
                }
                e.temp_path = std::exchange(r.temp_path, {});
            }
        }
        if (r.details && !e.info_loaded) {
            fill_information(e, *r.details);
            changes |= kInfoApplied;
        }
    }
    // Copies nobody took: their entries have gone.
    for (const LoadResult& r : results) {
        if (r.temp_path.empty()) continue;
        std::error_code ec;
        std::filesystem::remove(r.temp_path, ec);
    }
    if (!missing.empty()) {
        remove_missing(missing);
        changes |= kEntriesRemoved;
    }
    if (changes) recompute_totals();
    if (pending_done) {
        const PendingPlay p = *pending_play_;
        pending_play_.reset();
        const int i = index_of_uid(p.uid);
        if (i >= 0) play_from(i, p.sample, false);
    }
    return changes;
}

TuneDetails tagPLAYER::loaded_details() {
    TuneDetails d;
    library_.pxtone_Tune_GetInformation(d.info);
    d.repeat_meas = library_.pxtone_Tune_GetRepeatMeas();
    d.play_meas = library_.pxtone_Tune_GetPlayMeas();
    d.name = library_.pxtone_Tune_GetName();
    d.comment = library_.pxtone_Tune_GetComment();
    return d;
}

void tagPLAYER::fill_information(tagTUNEINFO& e, const TuneDetails& details) {
    const TuneInformation& info = details.info;
    e.beats_per_measure = info.beats_per_measure;
    e.tempo = info.tempo;
    e.clocks_per_beat = info.clocks_per_beat;
    e.measure_count = info.measure_count;
    e.repeat_measure = details.repeat_meas;
    e.play_measures = details.play_meas;
    e.name = cut_text(details.name, tagTUNEINFO::kNameMax);
    e.comment = cut_text(details.comment, tagTUNEINFO::kCommentMax);
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
        if (!playlist[k].info_loaded) request_information(k);
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
