#pragma once
// The player record: the playlist, the current tune, the play position and
// the play state, over the single-tune audio library.
//
// Threads: everything runs on the worker thread except the position callback,
// which the library calls from its audio thread. That callback writes only the
// four position fields (atomics) and reads only the atomics published by
// `publish_position_basis` before every start of the stream. Downloads and
// background reads run on the loader's threads, which touch no entry: their
// results are applied by apply_loaded on the worker.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/AudioLibrary.h"
#include "player/EntryLoader.h"
#include "player/Playlist.h"
#include "player/TuneInfo.h"

namespace dz {

class HttpClient;

class tagPLAYER {
public:
    // Shuffle keys are 1..32767, so the list holds at most this many entries.
    static constexpr int kMaxEntries = 32767;
    // What apply_loaded changed (bits).
    static constexpr int kEntriesRemoved = 1;    // added URLs that do not exist left the list
    static constexpr int kDownloadsApplied = 2;  // downloads changed entries
    static constexpr int kInfoApplied = 4;       // information was filled in
    static constexpr int kFilesDownloaded = 8;   // requested files arrived (or failed)

    // A file downloaded for the application (a playlist): its URL and its copy, which the
    // taker deletes; no copy when the URL does not exist or the download failed.
    struct DownloadedFile {
        std::string url;
        std::string temp_path;
        bool play_first = false;  // the list it holds is to play from its first entry
    };

    // Output format defaults, pxtone_Ready, loop off, random generator seeded with the time.
    explicit tagPLAYER(AudioLibrary& library);
    tagPLAYER(const tagPLAYER&) = delete;
    tagPLAYER& operator=(const tagPLAYER&) = delete;
    // Releases the library unless `release` already ran.
    virtual ~tagPLAYER();

    // ---- fields, in record order ----
    int released = 0;  // the library has been released (shutdown)
    int channels = 2;
    int sample_rate = 44100;  // also the unit of all sample positions
    int bits_per_sample = 16;
    float buffer_seconds = 0.1f;
    std::uint8_t direct_sound = 1;
    PositionCallback position_callback;
    tagTUNEINFO current_tune;  // copy of the current entry as last loaded
    // Written by the audio thread through the position callback.
    std::atomic<int> position_clock{0};
    std::atomic<float> position_seconds{0.0f};
    std::atomic<int> position_sample{0};
    std::atomic<float> position_ratio{0.0f};
    // Playlist totals, recomputed after every change of membership or selection.
    int selected_clocks = 0;
    float selected_seconds = 0.0f;
    int all_clocks = 0;
    float total_seconds = 0.0f;
    void* window = nullptr;  // the main window; opaque, not used by the library
    Playlist playlist;
    float volume = 1.0f;  // last volume given to the library, 0.0-1.0
    int current_index = -1;
    int is_playing = 0;  // started and not stopped; stays 1 while paused
    int is_paused = 0;
    int shuffle = 0;
    int repeat = 0;
    int pause_sample = 0;  // where a paused or prepared tune resumes

    // ---- not part of the record ----
    int seek_count = 0;  // seek() calls so far: the position jumped
    std::string device;  // the output device by its listed name; empty: the default output
    // How the output stood at the last tick. While it is lost a playing tune holds its
    // position and is not moved on from.
    OutputStatus output = OutputStatus::ok;
    // With repeat off a tune plays its loop part this many times in all (1..99) and fades
    // out over its last `fade_seconds` (0..60); the entries' lengths count that play.
    int play_loops = 1;
    int fade_seconds = 0;
    // A next tune is prepared once this little of the current one is left to play.
    static constexpr float kPrepareLeadSeconds = 10.0f;

    AudioLibrary& library() { return library_; }
    // URL entries are checked and downloaded through this client, on the loader's
    // download thread; without one no URL exists.
    void set_http_client(HttpClient* http) {
        http_ = http;
        loader_->set_http_client(http);
    }
    AudioFormat format() const;
    // Re-opens the library with the current output format, then takes the format the
    // library plays (unsupported values become the defaults).
    void reset_output();
    // Shutdown: stop, remove every entry (deleting temporary files), release
    // the library. Runs once.
    void release();

    // ---- entries and the playlist ----
    // Appends an entry; returns its index, or -1 when the list is full or the
    // path is longer than tagTUNEINFO::kPathMax (said on stderr). A title is cut
    // to tagTUNEINFO::kTitleMax bytes.
    int add_entry(const std::string& path, const std::optional<std::string>& title,
                  float length_seconds);
    // Adds one tune if its path exists; its information is read on the loader and
    // arrives through apply_loaded (the entry shows its file name until then). Returns
    // the new index or -1 (a path longer than tagTUNEINFO::kPathMax is said on stderr).
    // A URL is added at once, marked as downloading: the existence test, the
    // download and the read run on the loader, and apply_loaded removes the entry
    // again when nothing is there (-1 only without an HTTP client).
    int add_file(const std::string& path);
    // True when `path` fits tagTUNEINFO::kPathMax; otherwise says so on stderr.
    static bool path_fits(const std::string& path);
    // Adds a tune whose information is read in the background (request_information):
    // a local file only if it exists (else -1), a URL as add_file does. The title
    // and length given stand until the information arrives.
    int add_file_later(const std::string& path, const std::optional<std::string>& title,
                       float length_seconds);
    // Makes entry i the library's loaded tune; on its first success fills the
    // information and the title. Returns 1 on success, else the failure value.
    // A URL entry whose information is not loaded has no copy to load yet: its
    // download is requested, no tune is left loaded and the result is 0.
    int load_entry(int i);
    // Asks the loader for entry i's information (a URL entry: its download), unless
    // it is loaded or already on its way.
    void request_information(int i);
    // Reads entry i's information now, without touching the loaded tune (a dialog
    // about that entry); a URL entry's download is requested instead.
    void read_information_now(int i);
    // Applies the background work finished since the last call: downloaded copies and
    // information go into their entries (entries loaded in the meantime keep theirs),
    // added URLs that do not exist are removed, totals are recomputed, and a play that
    // waited for a download starts. Returns the k* bits of what changed.
    int apply_loaded();
    // Tests and downloads `url` on the download thread; the copy arrives through
    // take_downloaded_files after apply_loaded. Nothing without an HTTP client.
    void request_file(const std::string& url);
    // The files requested and not yet arrived are lists to play from their first entry.
    void play_requested_files() {
        for (auto& [uid, file] : file_jobs_) file.play_first = true;
    }
    std::vector<DownloadedFile> take_downloaded_files() {
        return std::exchange(downloaded_files_, {});
    }
    // Background work is queued, running or waiting for apply_loaded.
    bool loads_pending() const { return !loader_->idle(); }
    // A play waits for its entry's download (the tune before it plays on meanwhile).
    bool has_pending_play() const { return pending_play_.has_value(); }
    tagTUNEINFO* entry(int i);
    const tagTUNEINFO* entry(int i) const;
    void recompute_totals();
    int current_mark_index() const;  // first entry with current_mark, -1 if none
    int max_sequence() const;        // 0 for an empty list
    // Requests, in list order, the information of every entry that has none yet;
    // it arrives through apply_loaded.
    void load_unloaded_entries();
    // Adds every file directly inside `folder` whose extension names a tune,
    // calling `after_each` after each addition. Returns the number added.
    int add_folder(const std::string& folder, const std::function<void(int index)>& after_each);

    // ---- playback ----
    // clocks_per_beat * tempo / 60 of the current tune, and its length in seconds (0 without
    // tempo).
    float clocks_per_second() const;
    float current_length_seconds() const;
    void set_position(int clock);
    void seek(int sample);
    void stop_tune();
    int load_as_current(int i, int sample);
    int play(int i, int sample);
    // For a player that plays nothing (start-up): makes entry i the current tune, paused at
    // `sample` (0 when it lies past the tune's end), so Play and Pause go on from there. 1 when
    // the entry loaded; otherwise 0, and nothing is made current.
    int pause_at(int i, int sample);
    void set_volume(float v);
    void set_repeat(int on);
    void set_shuffle(int on);
    // Clamps to the ranges of play_loops and fade_seconds, tells the library and updates the
    // lengths.
    void set_play_plan(int loops, int fade);
    // Sets e's total_clocks and length_seconds to its play: one pass from the start to the
    // end, plus play_loops - 1 passes of the loop part when repeat is off. Entries whose
    // information is not loaded keep the length they have.
    void apply_play_length(tagTUNEINFO& e) const;
    // One play-through of e in seconds, whatever the loops (e's length when its information
    // is not loaded).
    static float pass_length_seconds(const tagTUNEINFO& e);
    int first_index() const;
    int last_index() const;
    int next_index(int i) const;
    int prev_index(int i) const;
    // Ten times a second (worker): keeps the output going (poll_output), follows a hand-over
    // to the next tune, moves on from a tune that has ended, and asks the library to prepare
    // the next entry once the current tune is within kPrepareLeadSeconds of its end.
    void tick();

    // Commands of the player (keys, menus, buttons).
    void command_play();
    void command_pause();
    void command_stop();
    void command_next();
    void command_previous();
    void command_restart();
    void command_jump_to_end();
    void command_back5();
    void command_forward5();

    // ---- playlist operations ----
    void select_one(int i);
    void select_range(int a, int b);
    void toggle_one(int i);
    void select_all_as(int v);
    void invert_selection();
    void remove_selected();
    void sort_by_title();
    void sort_by_file_name();
    void sort_by_path();
    void reverse_list();
    void randomize_list();

private:
    struct PendingPlay {
        std::uint64_t uid = 0;
        int sample = 0;
    };

    void take_output_format();
    int on_position(int clock);
    bool path_exists(const std::string& path) const;
    void fill_information(tagTUNEINFO& e, const TuneDetails& details);
    TuneDetails loaded_details();
    bool awaits_download(const tagTUNEINFO& e) const;
    void request_download(tagTUNEINFO& e, bool check);
    int load_entry_from(int i, bool may_download);
    int load_as_current_from(int i, int sample, bool may_download);
    int play_from(int i, int sample, bool may_download);
    int index_of_uid(std::uint64_t uid) const;
    // Entry i for a change of anything but its shuffle key and sequence; null out of range.
    tagTUNEINFO* information_of(int i);
    void remove_missing(const std::vector<std::uint64_t>& uids);
    int draw_shuffle_key() const;
    void make_current(int i);
    void step_to(int i);
    int shuffle_origin_key() const;
    int sample_to_clock(int sample) const;
    void publish_position_basis();
    void finish_ordering();
    void halt();
    void update_lengths();
    // The next tune: `follow_handover` makes the entry the library has handed over to the
    // current one; `settle` drops the prepared tune, after following a hand-over that came
    // first (every change of the playing tune, the list or the play order settles first);
    // `revise_next` asks for the entry that follows now.
    void follow_handover();
    void settle();
    void revise_next();

    AudioLibrary& library_;
    HttpClient* http_ = nullptr;
    std::unique_ptr<EntryLoader> loader_;
    std::uint64_t next_uid_ = 1;
    // The entry to play when its download has been applied, and where.
    std::optional<PendingPlay> pending_play_;
    std::map<std::uint64_t, DownloadedFile> file_jobs_;  // requested files, by job
    std::vector<DownloadedFile> downloaded_files_;       // arrived, not taken yet
    // Shuffle key of the entry made current when its load failed; the play
    // order moves on from it instead of from the stale `current_tune`.
    std::optional<int> failed_key_;
    // What the position callback reads (the audio thread's view of the tune).
    std::atomic<float> cb_clocks_per_second_{0.0f};
    std::atomic<int> cb_total_clocks_{0};
    std::atomic<int> cb_sample_rate_{44100};
    // The same for the tune asked for as next, used once the library's hand-over count
    // reaches cb_next_serial_ (-1: none asked for).
    std::atomic<float> cb_next_clocks_per_second_{0.0f};
    std::atomic<int> cb_next_total_clocks_{0};
    std::atomic<int> cb_next_serial_{-1};
    // The entry asked for as next (-1: none), by index and the path given to the library,
    // and the hand-overs followed so far.
    int queued_index_ = -1;
    std::string queued_path_;
    int seen_handovers_ = 0;
};

}  // namespace dz
