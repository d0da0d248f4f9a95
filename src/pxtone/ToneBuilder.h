#pragma once
// Tone preparation: every voice becomes a stereo 16-bit body at 44100 Hz (whatever the
// output rate); envelopes and release lengths are built per output rate.

#include <cstdint>
#include <span>
#include <vector>

#include "pxtone/Project.h"

namespace pxtone {

// Upper bound on one prepared body, in frames (about 12 minutes at 44.1 kHz); longer
// sources are refused rather than exhausting memory.
constexpr int64_t kMaxBodyFrames = int64_t{1} << 25;
// Upper bound on a noise design's length, in frames at 44.1 kHz.
constexpr int kMaxNoiseFrames = 480000;

// Converts interleaved PCM (1-2 channels, 8 unsigned or 16 signed bits, any rate) to stereo
// 16-bit at 44100 Hz by sample repetition (no interpolation). False when too long.
bool convert_pcm(std::span<const uint8_t> data, int channels, int bits, int rate,
                 std::vector<int16_t>& out);

// The 400-frame stereo wave table of a PTV voice.
void build_ptv_table(const Voice& voice, std::vector<int16_t>& out);

// A PTV voice's envelope table and release length at `rate`; empty table without envelope.
void build_envelope(const Voice& voice, int rate, std::vector<int32_t>& table, int32_t& release);
// The table length build_envelope would produce (for limits), without building it.
int64_t envelope_length(const Voice& voice, int rate);

// The noise of a PTN design: stereo 16-bit at 44100 Hz.
void build_noise(const NoiseDesign& design, std::vector<int16_t>& out);
// The shared random sequence of the noise generator (44100 values).
const int16_t* noise_random_table();
// One of the 17 fixed noise wave tables (441 entries plus a zero at index 441).
const int16_t* noise_wave_table(int type);

// Decodes a whole Ogg Vorbis stream to interleaved 16-bit PCM at its own rate and channels.
bool decode_ogg(std::span<const uint8_t> stream, int& channels, int& rate,
                std::vector<int16_t>& out, int64_t max_frames);

}  // namespace pxtone
