#pragma once
// The player record: the playlist, the current tune, the play position and
// the play state, over the single-tune audio library.
//
// Threads: everything runs on the worker thread except the position callback,
// which the library calls from its audio thread. That callback writes only the
// four position fields (atomics) and reads only the atomics published by
// `publish_position_basis` before every start of the stream.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/AudioLibrary.h"
#include "player/Playlist.h"
#include "player/TuneInfo.h"

namespace dz {

class HttpClient;

class tagPLAYER {
public:
    // Shuffle keys are 1..32767, so the list holds at most this many entries.
    static constexpr int kMaxEntries = 32767;

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

    AudioLibrary& library() { return library_; }
    // URL entries are checked and downloaded through this client; without one
    // no URL exists.
    void set_http_client(HttpClient* http) { http_ = http; }
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
    // Adds one tune if its path exists, reading its information; a streaming
    // tune is stopped and restarted around the load. Returns the new index or -1
    // (a path longer than tagTUNEINFO::kPathMax is said on stderr).
    int add_file(const std::string& path);
    // True when `path` fits tagTUNEINFO::kPathMax; otherwise says so on stderr.
    static bool path_fits(const std::string& path);
    // Makes entry i the library's loaded tune; on its first success fills the
    // information and the title. Returns 1 on success, else the failure value.
    int load_entry(int i);
    tagTUNEINFO* entry(int i);
    const tagTUNEINFO* entry(int i) const;
    void recompute_totals();
    int current_mark_index() const;  // first entry with current_mark, -1 if none
    int max_sequence() const;        // 0 for an empty list
    // Loads, in list order, every entry whose information is not loaded yet.
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
    int first_index() const;
    int last_index() const;
    int next_index(int i) const;
    int prev_index(int i) const;
    // Ten times a second (worker): keeps the output going (poll_output), then moves on from
    // a tune that has ended.
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
    void take_output_format();
    int on_position(int clock);
    bool path_exists(const std::string& path) const;
    void fill_information(tagTUNEINFO& e);
    int draw_shuffle_key() const;
    void make_current(int i);
    void step_to(int i);
    int shuffle_origin_key() const;
    int sample_to_clock(int sample) const;
    void publish_position_basis();
    void finish_ordering();

    AudioLibrary& library_;
    HttpClient* http_ = nullptr;
    // Shuffle key of the entry made current when its load failed; the play
    // order moves on from it instead of from the stale `current_tune`.
    std::optional<int> failed_key_;
    // What the position callback reads (the audio thread's view of the tune).
    std::atomic<float> cb_clocks_per_second_{0.0f};
    std::atomic<int> cb_total_clocks_{0};
    std::atomic<int> cb_sample_rate_{44100};
};

}  // namespace dz
