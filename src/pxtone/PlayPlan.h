#pragma once
// How a tune plays when its loop part [repeat sample, end sample) is played a number of times
// in all, and the linear fade-out over the end of that play.
//
// Frames count at the output rate. A play position ("virtual sample") counts the frames of the
// whole play from the tune's start, the passes of the loop part laid end to end: pass 0 covers
// [0, end), pass k >= 1 covers [end + (k - 1) * loop, end + k * loop), loop = end - repeat.
// The engine does not play the frame that reaches the end when it stops there, so a play ends
// one frame before the end of its last pass.

#include <cstdint>

namespace pxtone {

// Frames of a play from `start` (a sample of the first pass) to its end, the loop part played
// `loops` times in all (1: once through).
int64_t play_frames(int64_t end_sample, int64_t repeat_sample, int64_t start, int loops);

// Of those, the frames rendered with looping on: everything before the last pass (0 when the
// tune plays once).
int64_t looping_frames(int64_t end_sample, int64_t repeat_sample, int64_t start, int loops);

// The frames a fade of `seconds` covers at the end of a play of `total` frames at `rate`: at
// most `total`; 0 for no fade.
int64_t fade_frames(double seconds, int rate, int64_t total);

// Fades `frames` interleaved frames (uint8_t samples centred on 128 for 8 bits, int16_t for
// 16) that start at frame `first` of a play of `total` frames whose last `fade` frames fade.
// The gain of frame i in the fade is (total - 1 - i) / fade: it falls linearly to 0 at the
// last frame. Frames before the fade are not touched.
void apply_fade(void* samples, int frames, int channels, int bits, int64_t first, int64_t total,
                int64_t fade);

// One tune's play from its start, `loops` passes and a fade of `fade_seconds`.
struct PlayPlan {
    int64_t end = 0;      // the renderer's end sample
    int64_t repeat = 0;   // the renderer's repeat sample
    int64_t total = 0;    // frames of the whole play
    int64_t looping = 0;  // frames rendered with looping on
    int64_t fade = 0;     // frames of the fade-out at the end of `total`

    static PlayPlan make(int64_t end_sample, int64_t repeat_sample, int loops, double fade_seconds,
                         int rate);
    int64_t loop_length() const { return end > repeat ? end - repeat : 0; }
    // The play's own end sample: positions at or past it are outside the play.
    int64_t end_position() const { return total + 1; }
    // The renderer's sample at play position `v` (v < end_position()).
    int64_t sample_at(int64_t v) const;
    // Loop jumps made before play position `v` when the renderer stands at `sample`.
    int64_t jumps(int64_t v, int64_t sample) const;
};

}  // namespace pxtone
