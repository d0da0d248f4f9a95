#pragma once
// One playlist entry: a tune by path or URL and what the audio library
// reported about it the first time it was loaded.
//
// A plain value. Copies (the player's current tune, sort temporaries) share
// `temp_path` with the entry in the playlist; only the playlist deletes that
// file, when the entry leaves it (see Playlist).

#include <cstdint>
#include <string>
#include <string_view>

#include "base/PathUtil.h"  // has_tune_extension

namespace dz {

// Work on an entry that runs in the background (EntryLoader).
enum class EntryLoading : std::uint8_t {
    None,
    Reading,      // its information is being read
    Downloading,  // its URL is being downloaded (and, when just added, tested)
};

class tagTUNEINFO {
public:
    // Buffer limits of the stored strings, in bytes, terminator excluded.
    static constexpr std::size_t kPathMax = kMaxPathBytes;  // path, temp path
    static constexpr std::size_t kTitleMax = 259;           // title
    static constexpr std::size_t kNameMax = 16;             // the tune's own name
    static constexpr std::size_t kCommentMax = 30000;

    tagTUNEINFO() = default;
    tagTUNEINFO(const tagTUNEINFO&) = default;
    tagTUNEINFO(tagTUNEINFO&&) noexcept = default;
    tagTUNEINFO& operator=(const tagTUNEINFO&) = default;
    tagTUNEINFO& operator=(tagTUNEINFO&&) noexcept = default;
    virtual ~tagTUNEINFO() = default;

    int sequence = 0;        // order of addition; 1..n after every sort
    int info_loaded = 0;     // 1: loaded once, the fields below are valid
    std::string title;       // display title
    std::string path;        // file path or URL as added
    std::string file_title;  // path without folder and extension
    std::string temp_path;   // local copy of a URL tune; empty for local files
    int beats_per_measure = 0;
    float tempo = 0.0f;  // beats per minute
    int clocks_per_beat = 0;
    int measure_count = 0;
    int repeat_measure = 0;
    int play_measures = 0;
    int total_clocks = 0;         // play_measures * beats_per_measure * clocks_per_beat
    float length_seconds = 0.0f;  // total_clocks / clocks per second; 0 without tempo
    std::string name;             // raw bytes (Shift-JIS), at most 16
    std::string comment;          // raw bytes (Shift-JIS), at most 30000
    int shuffle_key = 0;          // 1..32767, distinct within the list
    int selected = 0;
    int current_mark = 0;  // this entry is the current tune

    // ---- not part of the record ----
    std::uint64_t uid = 0;  // identity within the player's life, for background results
    EntryLoading loading = EntryLoading::None;
};

// `path` without folder and extension, as the playlist shows it: the name after
// the last '/' or '\\', less path_find_extension of that name.
std::string file_title_of(std::string_view path);

}  // namespace dz
