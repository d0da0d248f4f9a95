#pragma once
// A pxtone song in memory: master settings, the event list, woices (instruments), units
// (tracks), effects and texts, as read from a `.ptcop` project or a `.pttune` tune of any
// file generation, or as built by a program. Pure data plus the loader; no I/O except the
// thin `load_file` helper.
//
// Usage:
//
//   pxtone::LoadResult r = pxtone::Project::load(bytes);       // std::span<const uint8_t>
//   if (!r) { std::puts(r.error.message.c_str()); return; }     // "not a pxtone tune",
//                                                               // "truncated at byte 1234", ...
//   const pxtone::Project& song = *r.project;
//   pxtone::TuneInfo info = song.info();                        // name, tempo, measures, ...
//   int64_t end = song.end_sample(44100);                       // where one play-through ends
//
//   pxtone::Renderer renderer(song);                            // see Renderer.h
//   renderer.prepare({44100, 2, 16});
//   renderer.start(0);
//   renderer.render(buffer, frames);
//
// File layout (all numbers little-endian; v = base-128 varint, at most 5 bytes):
//
//   | Version code (16 bytes)              | Generation | then                            |
//   |--------------------------------------|------------|---------------------------------|
//   | PTCOLLAGE-050227                     | x1x        | chunks; ends at END=====        |
//   | PTCOLLAGE-050608 / PTTUNE--20050608  | x2x        | chunks; ends at pxtoneND        |
//   | PTCOLLAGE-060115 / PTTUNE--20060115  | x3x        | u16 exe version, u16 0, chunks  |
//   | PTCOLLAGE-060930 / PTTUNE--20060930  | x4x        | as x3x                          |
//   | PTCOLLAGE-071119 / PTTUNE--20071119  | v5         | as x3x                          |
//
//   Chunk: 8-byte tag, u32 size, payload. Payloads are parsed by their layout; the size of
//   `Event V5` is wrong in files from the official tools and is never used.
//   MasterV5 (15): i16 beat clock, i8 beats, f32 tempo, i32 repeat clock, i32 last clock.
//   Event V5: i32 count, then count x (v clock delta, u8 unit, u8 kind, v value).
//   num UNIT (4): i16 units (<= 50), i16 0.     textNAME/textCOMM: raw Shift-JIS bytes.
//   matePCM (24+n), matePTV (12+block), matePTN (16+block), mateOGGV (28+n): woices in order.
//   effeDELA (12): u16 unit, u16 group, f32 rate, f32 freq.
//   effeOVER (16): u16 0, u16 group, f32 cut, f32 amp, f32 0.
//   assiWOIC/assiUNIT (20): u16 index, u16 0, 16-byte NUL-padded name.
//   Older: evenMAST, evenUNIT, pxtnUNIT; x1x: PROJECT=, UNIT====, matePCM=, EVENT===.
//   A tune is a project without names whose clocks are stored divided by 10 (beat clock 48).
//
// Building a song in code (tests, demo tunes): fill the public fields, add events with
// `add_event` (keeps the list sorted as the editors do), add woices with the `Woice::make_*`
// helpers, then call `prepare_tones()` before rendering, or write it with `write_file`
// (Writer.h) and load it back.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pxtone {

// Event kinds; the numbers are the codes stored in files.
enum EventKind : uint8_t {
    EVENTKIND_NULL = 0,
    EVENTKIND_ON = 1,          // note; value = length in clocks
    EVENTKIND_KEY = 2,         // 256 per semitone, 0x6000 = A4
    EVENTKIND_PAN_VOLUME = 3,  // 0 left, 64 centre, 128 right
    EVENTKIND_VELOCITY = 4,
    EVENTKIND_VOLUME = 5,
    EVENTKIND_PORTAMENT = 6,  // glide time in clocks
    EVENTKIND_BEATCLOCK = 7,
    EVENTKIND_BEATTEMPO = 8,
    EVENTKIND_BEATNUM = 9,
    EVENTKIND_REPEAT = 10,
    EVENTKIND_LAST = 11,
    EVENTKIND_VOICENO = 12,
    EVENTKIND_GROUPNO = 13,
    EVENTKIND_TUNING = 14,    // value holds f32 bits
    EVENTKIND_PAN_TIME = 15,  // time-delay pan, 64 centre
    EVENTKIND_NUM = 16,
};

// Order among events at the same clock (lower first).
int event_priority(int kind);

struct Event {
    int32_t clock = 0;
    uint8_t unit = 0;
    uint8_t kind = 0;
    int32_t value = 0;
};

// Master settings. Measures are derived from the events after loading (`update_measures`).
struct Master {
    int32_t beat_clock = 480;  // clocks per beat (48 in tune files)
    int32_t beats = 4;         // beats per measure
    float tempo = 120.0f;      // beats per minute
    int32_t repeat_meas = 0;
    int32_t last_meas = 0;  // 0 = none
    int32_t meas_num = 1;   // derived
};

enum class WoiceKind : int { None = 0, Pcm = 1, Ptv = 2, Ptn = 3, Oggv = 4 };

// Voice flags.
constexpr uint32_t VOICEFLAG_WAVELOOP = 0x1;
constexpr uint32_t VOICEFLAG_SMOOTH = 0x2;
constexpr uint32_t VOICEFLAG_BEATFIT = 0x4;
constexpr uint32_t VOICEFLAG_MASK = 0x7;
// PTV data flags.
constexpr uint32_t DATAFLAG_WAVE = 0x1;
constexpr uint32_t DATAFLAG_ENVELOPE = 0x2;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// A prepared tone: interleaved stereo 16-bit frames at 44100 Hz. The samples never change
// once made; copies share them (voices of equal noise designs hold one set).
class ToneBody {
public:
    ToneBody() = default;
    explicit ToneBody(std::vector<int16_t> samples)
        : samples_(std::make_shared<const std::vector<int16_t>>(std::move(samples))) {}

    const std::vector<int16_t>& samples() const {
        static const std::vector<int16_t> none;
        return samples_ ? *samples_ : none;
    }
    const int16_t* data() const { return samples().data(); }
    size_t size() const { return samples().size(); }
    bool empty() const { return samples().empty(); }
    int16_t operator[](size_t i) const { return samples()[i]; }

    friend bool operator==(const ToneBody& a, const ToneBody& b) {
        return a.samples() == b.samples();
    }
    friend bool operator==(const ToneBody& a, const std::vector<int16_t>& b) {
        return a.samples() == b;
    }

private:
    std::shared_ptr<const std::vector<int16_t>> samples_;
};

// One voice of a woice. PCM, PTN and OGGV woices have exactly one; PTV woices 1 or 2.
// Wave and envelope fields are used by PTV only.
struct Voice {
    int32_t basic_key = 0x4500;
    int32_t volume = 128;
    int32_t pan = 64;
    float tuning = 1.0f;
    uint32_t voice_flags = VOICEFLAG_SMOOTH;
    uint32_t data_flags = DATAFLAG_WAVE;

    // Wave (data flag 0x1): type 0 = coordinate points (x u8, y i8) on a grid of
    // `resolution`; type 1 = overtones (x harmonic >= 1, y amplitude).
    int32_t wave_type = 0;
    int32_t resolution = 200;
    std::vector<Point> wave;

    // Envelope (data flag 0x2): head points (x = duration in 1/fps s, y = level 0..128)
    // and the release time (1/fps s).
    int32_t env_fps = 0;
    std::vector<Point> env_head;
    int32_t env_release = 0;

    // Prepared tone (filled by prepare_tones).
    ToneBody body;
    int32_t body_frames() const { return static_cast<int32_t>(body.size() / 2); }
};

// Sampled sound as stored in `matePCM `.
struct PcmSource {
    int32_t channels = 1;  // 1 or 2
    int32_t bits = 16;     // 8 (unsigned) or 16 (signed LE)
    int32_t rate = 44100;
    std::vector<uint8_t> data;  // interleaved
};

// Noise design (`PTNOISE-` block).
struct NoiseOscillator {
    int32_t type = 0;  // 0 none .. 16, see NoiseBuilder
    bool reverse = false;
    float freq = 0;    // Hz, 0..44100
    float volume = 0;  // percent, 0..200
    float offset = 0;  // percent, 0..100
    bool operator==(const NoiseOscillator&) const = default;
};

struct NoiseUnit {
    std::vector<Point> envelope;  // x ms (0..10000), y percent (0..100); at most 3
    int32_t pan = 0;              // -100 .. +100
    NoiseOscillator main, freq, volume;
    bool operator==(const NoiseUnit&) const = default;
};

struct NoiseDesign {
    uint32_t version = 20120418;
    int32_t frames = 44100;        // length at 44100 Hz
    std::vector<NoiseUnit> units;  // at most 4
    // Equal designs synthesise the same noise.
    bool operator==(const NoiseDesign&) const = default;
};

struct Woice {
    WoiceKind kind = WoiceKind::None;
    std::string name;  // up to 16 bytes, raw
    std::vector<Voice> voices;

    PcmSource pcm;                    // Pcm
    NoiseDesign noise;                // Ptn
    int32_t ptn_marker = 1;           // Ptn: 0 or 1
    uint32_t ptv_version = 20060111;  // Ptv
    std::vector<uint8_t> ogg;         // Oggv: the complete Ogg Vorbis stream
    int32_t ogg_channels = 0, ogg_rate = 0, ogg_samples = 0;  // Oggv: informational

    // Old files only: the basic key and tuning the x1x-x3x fix-up uses.
    int32_t legacy_basic_key = 0;
    float legacy_tuning = 0.0f;

    // Helpers for building songs in code.
    static Woice make_pcm(PcmSource pcm, int32_t basic_key = 0x4500,
                          uint32_t voice_flags = VOICEFLAG_SMOOTH, float tuning = 1.0f);
    static Woice make_ptv(std::vector<Voice> voices);
    static Woice make_ptn(NoiseDesign design, int32_t basic_key = 0x4500,
                          uint32_t voice_flags = VOICEFLAG_SMOOTH, float tuning = 1.0f);
    static Woice make_oggv(std::vector<uint8_t> ogg_stream, int32_t basic_key = 0x4500,
                           uint32_t voice_flags = VOICEFLAG_SMOOTH, float tuning = 1.0f);
};

struct Delay {
    int32_t unit = 0;  // 0 beat, 1 measure, 2 second
    int32_t group = 0;
    float rate = 33.0f;  // feedback percent
    float freq = 3.0f;   // divisor of the time unit
};

struct Overdrive {
    int32_t group = 0;
    float cut = 90.0f;  // percent, 50..99.9
    float amp = 2.0f;   // 0.1..8
};

enum class FileKind { Project, Tune };

// File generation, from the 16-byte version code.
enum class Generation { X1x, X2x, X3x, X4x, V5 };

// What the player shows about a tune.
struct TuneInfo {
    std::string name;     // raw bytes (Shift-JIS), empty when absent
    std::string comment;  // raw bytes (Shift-JIS, CR LF), empty when absent
    int32_t beats = 4;
    float tempo = 120.0f;
    int32_t beat_clock = 480;
    int32_t measures = 1;
    int32_t repeat_meas = 0;
    int32_t play_meas = 1;
    double length_seconds = 0;  // play measures x beats x 60 / tempo
};

struct LoadError {
    enum class Code { None, NotPxtone, Truncated, Invalid, NewerFormat, Unsupported, Io };
    Code code = Code::None;
    size_t offset = 0;    // byte offset where the problem was found
    std::string message;  // e.g. "truncated at byte 1234", "not a pxtone tune"
};

class Project;

struct LoadResult {
    std::unique_ptr<Project> project;  // set on success
    LoadError error;                   // set on failure
    explicit operator bool() const { return project != nullptr; }
};

class Project {
public:
    static constexpr int kMaxUnits = 50;
    static constexpr int kMaxWoices = 100;
    static constexpr int kMaxDelays = 4;
    static constexpr int kMaxOverdrives = 2;
    static constexpr int kMaxGroups = 7;

    // Reads a whole file image. Never reads past `bytes`. Tones are prepared on success.
    static LoadResult load(std::span<const uint8_t> bytes);
    // Reads the file at `path` and loads it (errors: Io with the reason: "cannot open file",
    // "not a regular file", "file too large", "read error"). Only regular files of at most
    // kMaxFileBytes are read.
    static LoadResult load_file(const std::string& path);
    static constexpr int64_t kMaxFileBytes = int64_t{256} << 20;

    FileKind file_kind = FileKind::Project;
    Generation generation = Generation::V5;
    Master master;
    std::vector<Event> events;  // played in list order
    std::vector<Woice> woices;
    std::vector<std::string> unit_names;  // one per unit; "no name" by default
    std::vector<Delay> delays;
    std::vector<Overdrive> overdrives;
    std::string name;     // raw bytes
    std::string comment;  // raw bytes

    int unit_count() const { return static_cast<int>(unit_names.size()); }
    void set_unit_count(int count);

    // Inserts an event in clock order, then priority; an event at the same clock with the
    // same unit and kind is overwritten in place.
    void add_event(int32_t clock, int unit, int kind, int32_t value);
    void add_event_f(int32_t clock, int unit, int kind, float value);

    // Recomputes meas_num from the events and clamps repeat/last (after editing events).
    void update_measures();

    // Builds every voice's 44.1 kHz stereo body from its source. False with `error` set when a
    // source cannot be turned into sound (e.g. an undecodable Ogg stream).
    bool prepare_tones(LoadError* error = nullptr);
    bool tones_ready() const { return tones_ready_; }

    TuneInfo info() const;
    int32_t play_meas() const;
    // Samples per clock at `rate`, rounded to f32 as the engine uses it.
    float samples_per_clock(int rate) const;
    int64_t end_sample(int rate) const;
    int64_t repeat_sample(int rate) const;
    // All measures (not play measures) in double, without the f32 rounding.
    int64_t total_samples(int rate) const;

private:
    bool tones_ready_ = false;
};

}  // namespace pxtone
