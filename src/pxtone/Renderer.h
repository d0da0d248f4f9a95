#pragma once
// Turns a loaded Project into PCM frames, one output frame at a time, exactly as the
// reference engine does. Host driven: no threads, clocks or I/O. `prepare` allocates;
// `start`, `render` and the setters never allocate, so `render` may run on an audio thread
// (the caller serialises access; the renderer has no locks).
//
// Usage:
//
//   pxtone::Renderer r(project);           // project must outlive the renderer and have
//                                          // its tones prepared (Project::load does it)
//   if (!r.prepare({44100, 2, 16})) ...    // rate 11025/22050/44100/48000, 1-2 ch, 8/16 bits
//   r.set_loop(true);
//   r.start(start_sample, /*fade_in_ms=*/0);
//   int n = r.render(buffer, frames);      // int16_t[frames*ch] or uint8_t[frames*ch]
//   // n < frames: the song ended (not looping); the rest of the buffer holds silence
//   int clock = r.clock();                 // position in tune clocks
//   int64_t resume = r.sample();           // the sample counter (what "stop" reports)

#include <array>
#include <cstdint>
#include <vector>

#include "pxtone/Project.h"

namespace pxtone {

struct OutputFormat {
    int rate = 44100;  // 11025, 22050, 44100 or 48000 (any rate up to 48000 works)
    int channels = 2;  // 1 or 2
    int bits = 16;     // 8 (unsigned) or 16 (signed, native endian)
};

class Renderer {
public:
    explicit Renderer(const Project& project);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Builds the per-rate state (envelope tables, delay lines). False for an unsupported
    // format, when the project's tones are not prepared, when an overdrive targets a group
    // outside 0..6, or when the tables would exceed kMaxTableBytes (or cannot be allocated).
    // A renderer whose prepare failed renders nothing (render returns 0 and writes nothing).
    bool prepare(const OutputFormat& format);
    const OutputFormat& format() const { return format_; }

    // The highest output rate prepare accepts, in Hz.
    static constexpr int kMaxRate = 48000;
    // Envelope tables and delay lines of one prepared renderer together, in bytes.
    static constexpr int64_t kMaxTableBytes = int64_t{1} << 28;
    // Fades (in or out) longer than this are shortened to it.
    static constexpr int kMaxFadeMs = 24 * 60 * 60 * 1000;

    // Starts at `start_sample` (output samples). A start outside 0 < start < end sample
    // starts at 0. Events before the start are caught up on the first frame and notes
    // that are still sounding restart from their beginning. `fade_in_ms` > 0 fades in.
    void start(int64_t start_sample, int fade_in_ms = 0);

    // Renders up to `frames` frames into `buffer` (interleaved; int16_t for 16 bits,
    // uint8_t for 8 bits). Returns the frames produced; fewer than `frames` when the song
    // ended, and the rest of the buffer is filled with silence.
    int render(void* buffer, int frames);

    void set_loop(bool loop) { loop_ = loop; }
    bool loop() const { return loop_; }
    // 0.0 .. 1.0, applied after the fade; takes effect on the next frame.
    void set_master_volume(float volume);
    float master_volume() const { return master_volume_; }
    // Fades out over `ms` milliseconds, then ends.
    void fade_out(int ms);

    bool ended() const { return ended_; }
    bool started() const { return started_; }
    // The sample counter (frames at the output rate from the song's start).
    int64_t sample() const { return sample_; }
    // Position in tune clocks: trunc(f32(sample) / f32 samples-per-clock).
    int32_t clock() const;
    int64_t end_sample() const { return end_sample_; }
    int64_t repeat_sample() const { return repeat_sample_; }

private:
    struct Tone;  // per woice voice, prepared for the output rate
    struct VoiceState;
    struct UnitCore;
    struct UnitState;
    struct DelayState;

    bool build_tables(const OutputFormat& format);
    void reset_units();
    void loop_jump();
    void reset_unit(UnitState& u);
    void set_voice(UnitState& u, int woice);
    void do_events();
    void do_event(size_t index, int32_t now);
    void note_on(size_t index, int32_t now);
    int block_length(int limit) const;
    template <int Channels>
    void render_unit(UnitState& u, int n, int32_t* const* out);
    // The units' state where the loop starts, kept once its events have run.
    void record_loop_start();
    // C and E of every unit for n frames of the block; D.1-2 each unit's (time-panned) ring
    // values into its group's part of group_buf_.
    template <int Channels>
    void mix_units(int n);
    // D.3-7 Channel c of frame k of the block: the groups through the overdrives and the
    // delays, summed, faded and scaled by the master volume.
    int32_t mix_channel(int c, int k, bool full_volume);
    // E and F after a frame: true when the renderer stops (fade-out done or the end
    // reached without a loop).
    bool advance_frame();
    template <int Channels, int Bits>
    int render_frames(void* buffer, int frames);

    const Project& project_;
    OutputFormat format_;
    bool prepared_ = false;

    float spc_ = 0;          // samples per clock (f32)
    float rate_factor_ = 1;  // 44100 / rate (f32)
    int64_t end_sample_ = 0;
    int64_t repeat_sample_ = 0;
    int32_t smooth_len_ = 1;

    std::vector<std::vector<Tone>> tones_;  // [woice][voice]
    std::vector<UnitState> units_;
    std::vector<DelayState> delays_;
    std::vector<Overdrive> overdrives_;
    std::vector<int32_t> od_limit_;
    // Scratch for one block of frames: group sums [channel][group][frame], one unit's output
    // with its time-pan history [channel][kRing + frame], the pitch of each frame.
    std::vector<int32_t> group_buf_;
    std::vector<int32_t> unit_buf_;
    std::vector<float> base_buf_;

    // The unit states (without their time-pan rings) and the event cursor right after the
    // catch-up that follows a loop jump. They depend only on the prepared song, so the first
    // jump records them and later jumps restore them instead of replaying the events.
    std::vector<UnitCore> loop_units_;
    size_t loop_cursor_ = 0;
    bool loop_recorded_ = false;
    bool loop_record_pending_ = false;

    size_t cursor_ = 0;
    int64_t sample_ = 0;
    bool loop_ = false;
    bool started_ = false;
    bool ended_ = false;
    float master_volume_ = 1.0f;

    // Fade: 0 none, 1 in, -1 out.
    int fade_dir_ = 0;
    int32_t fade_len_ = 0;    // in steps of 256 frames
    int64_t fade_count_ = 0;  // 0 .. fade_len_ * 256
};

}  // namespace pxtone
