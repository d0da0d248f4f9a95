#pragma once
// The command line of ptrender:
//   ptrender [--rate HZ] [--channels 1|2] [--bits 8|16] [--seconds S] [--loops N]
//            [--start-sample N] [--fade S] [--format wav|flac|ogg] INPUT OUTPUT
//   ptrender [options] [--jobs N] --out-dir DIR INPUT...
//   ptrender --info INPUT
//   ptrender --help
// The file format is --format, else OUTPUT's extension (.wav, .flac, .ogg, any case); an
// OUTPUT with another extension needs --format, and --format may not contradict a known
// extension. With --out-dir the files are DIR/NAME.wav, .flac or .ogg after --format
// (default wav). 8-bit output is unsigned 8-bit PCM in WAV, signed 8-bit in FLAC; Ogg
// Vorbis encodes the rendered samples, 8 or 16 bits, as floats.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pxtone/PlayPlan.h"

namespace dz::ptrender {

enum class Format { Wav, Flac, Ogg };

struct Options {
    bool help = false;
    bool info = false;
    std::string input;
    std::string output;
    int rate = 44100;
    int channels = 2;
    int bits = 16;
    std::optional<double> seconds;  // exact output length; loops to reach it
    int loops = 1;                  // play-throughs of the loop part
    bool loops_given = false;
    std::int64_t start_sample = 0;
    Format format = Format::Wav;
    // --fade: the last `fade` seconds of the output fall linearly to silence (0: none; longer
    // than the output: all of it).
    double fade = 0;
    // --out-dir: every input is rendered to DIR/<input name without extension>.<format>,
    // `jobs` at a time (0: one per core).
    std::string out_dir;
    std::vector<std::string> inputs;
    int jobs = 0;
};

// Parses the arguments after the program name. On error returns nothing and
// sets `error` to a one-line message ("--bits must be 8 or 16").
std::optional<Options> parse_options(const std::vector<std::string>& args, std::string& error);

extern const char* const usage_text;

// The format a file name's extension stands for (".wav", ".flac", ".ogg", any case).
std::optional<Format> format_of(const std::string& path);
// "wav", "flac" or "ogg".
const char* format_name(Format format);

// The file --out-dir writes for `input`: DIR/<input's file name without extension>.<format>.
std::string output_in_dir(const std::string& out_dir, const std::string& input,
                          Format format = Format::Wav);

// Frames the output holds: `seconds` at the rate when given (looping as
// needed); otherwise the play from the start sample to the end sample with
// the loop part [repeat, end) played `loops` times in all. The engine does not
// play the frame that reaches the end when it stops there, so a play-through
// ends one frame before the end sample.
std::int64_t frames_to_render(const Options& options, std::int64_t end_sample,
                              std::int64_t repeat_sample);

// Of those, the frames rendered with looping on: all of them for `seconds`,
// else everything before the last pass (0 when the tune plays once).
std::int64_t frames_looping(const Options& options, std::int64_t end_sample,
                            std::int64_t repeat_sample);

// The frames --fade covers at the end of an output of `total` frames: at most `total`.
std::int64_t fade_frames(const Options& options, std::int64_t total);

// The fade itself (pxtone/PlayPlan.h).
using pxtone::apply_fade;

}  // namespace dz::ptrender
