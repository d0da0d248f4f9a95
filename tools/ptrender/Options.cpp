#include "Options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "pxtone/PlayPlan.h"
#include "pxtone/Renderer.h"

namespace dz::ptrender {

const char* const usage_text =
    "usage: ptrender [--rate HZ] [--channels 1|2] [--bits 8|16] [--seconds S] [--loops N]\n"
    "                [--start-sample N] [--fade S] [--format wav|flac|ogg] INPUT OUTPUT\n"
    "       ptrender [options] [--jobs N] --out-dir DIR INPUT...\n"
    "       ptrender --info INPUT\n"
    "Renders a pxtone tune (.ptcop, .pttune) to a WAV, FLAC or Ogg Vorbis file: by default\n"
    "44100 Hz (8000 to 48000), 2 channels, 16 bits, one play-through.\n"
    "--format picks the file format; without it OUTPUT's extension (.wav, .flac, .ogg) does.\n"
    "--seconds cuts or extends the output (looping to extend); --loops N plays the loop\n"
    "part N times; --start-sample starts at that output sample; --fade S fades the last S\n"
    "seconds linearly to silence (0: no fade; longer than the output: all of it).\n"
    "--out-dir renders every INPUT to DIR/NAME.wav (.flac, .ogg after --format), N files at\n"
    "a time (default: one per core); a file that fails is reported and the others are still\n"
    "rendered (exit status 1). On a terminal a progress line counts the finished files.\n"
    "--info prints the tune's name, comment, tempo, measures and length.\n";

namespace {

bool parse_int(const std::string& text, long long min, long long max, long long& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max) return false;
    out = v;
    return true;
}

bool parse_double(const std::string& text, double& out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// The longest output: about 11.5 days, 4.8e10 frames at the highest rate, so every frame
// count fits an int64 with room for the loop arithmetic.
constexpr double kMaxSeconds = 1000000;

}  // namespace

std::optional<Format> format_of(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext == ".wav") return Format::Wav;
    if (ext == ".flac") return Format::Flac;
    if (ext == ".ogg") return Format::Ogg;
    return std::nullopt;
}

const char* format_name(Format format) {
    switch (format) {
        case Format::Flac:
            return "flac";
        case Format::Ogg:
            return "ogg";
        case Format::Wav:
            break;
    }
    return "wav";
}

std::optional<Options> parse_options(const std::vector<std::string>& args, std::string& error) {
    Options o;
    std::vector<std::string> files;
    bool seconds_given = false;
    std::optional<Format> format;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            o.help = true;
            return o;
        }
        if (a == "--info") {
            o.info = true;
            continue;
        }
        if (a == "--") {
            files.insert(files.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
        if (a.size() > 1 && a[0] == '-') {
            const bool takes_value = a == "--rate" || a == "--channels" || a == "--bits" ||
                                     a == "--seconds" || a == "--loops" || a == "--start-sample" ||
                                     a == "--out-dir" || a == "--jobs" || a == "--fade" ||
                                     a == "--format";
            if (!takes_value) {
                error = "unknown option " + a;
                return std::nullopt;
            }
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            const std::string& v = args[++i];
            long long n = 0;
            if (a == "--out-dir") {
                if (v.empty()) {
                    error = "--out-dir needs a folder";
                    return std::nullopt;
                }
                o.out_dir = v;
            } else if (a == "--format") {
                if (v == "wav")
                    format = Format::Wav;
                else if (v == "flac")
                    format = Format::Flac;
                else if (v == "ogg")
                    format = Format::Ogg;
                else {
                    error = "--format must be wav, flac or ogg";
                    return std::nullopt;
                }
            } else if (a == "--fade") {
                double s = 0;
                if (!parse_double(v, s) || s < 0) {
                    error = "--fade must be a number of seconds, 0 or more";
                    return std::nullopt;
                }
                o.fade = s;
            } else if (a == "--jobs") {
                if (!parse_int(v, 1, 1024, n)) {
                    error = "--jobs must be a whole number from 1 to 1024";
                    return std::nullopt;
                }
                o.jobs = static_cast<int>(n);
            } else if (a == "--rate") {
                if (!parse_int(v, 8000, pxtone::Renderer::kMaxRate, n)) {
                    error = "--rate must be a whole number of Hz from 8000 to " +
                            std::to_string(pxtone::Renderer::kMaxRate);
                    return std::nullopt;
                }
                o.rate = static_cast<int>(n);
            } else if (a == "--channels") {
                if (!parse_int(v, 1, 2, n)) {
                    error = "--channels must be 1 or 2";
                    return std::nullopt;
                }
                o.channels = static_cast<int>(n);
            } else if (a == "--bits") {
                if (!parse_int(v, 8, 16, n) || (n != 8 && n != 16)) {
                    error = "--bits must be 8 or 16";
                    return std::nullopt;
                }
                o.bits = static_cast<int>(n);
            } else if (a == "--seconds") {
                double s = 0;
                if (!parse_double(v, s) || s <= 0 || s > kMaxSeconds) {
                    error = "--seconds must be a number above 0 and at most " +
                            std::to_string(static_cast<long long>(kMaxSeconds));
                    return std::nullopt;
                }
                o.seconds = s;
                seconds_given = true;
            } else if (a == "--loops") {
                if (!parse_int(v, 1, 1000000, n)) {
                    error = "--loops must be a whole number from 1 to 1000000";
                    return std::nullopt;
                }
                o.loops = static_cast<int>(n);
                o.loops_given = true;
            } else {  // --start-sample
                if (!parse_int(v, 0, INT32_MAX, n)) {
                    error = "--start-sample must be a whole number from 0";
                    return std::nullopt;
                }
                o.start_sample = n;
            }
            continue;
        }
        files.push_back(a);
    }
    if (seconds_given && o.loops_given) {
        error = "--seconds and --loops cannot be used together";
        return std::nullopt;
    }
    if (o.jobs && o.out_dir.empty()) {
        error = "--jobs needs --out-dir";
        return std::nullopt;
    }
    if (!o.out_dir.empty()) {
        if (o.info) {
            error = "--info and --out-dir cannot be used together";
            return std::nullopt;
        }
        if (files.empty()) {
            error = "--out-dir needs at least one input file";
            return std::nullopt;
        }
        o.inputs = files;
        o.format = format.value_or(Format::Wav);
        return o;
    }
    if (o.info) {
        if (files.size() != 1) {
            error = "--info takes one input file";
            return std::nullopt;
        }
        o.input = files[0];
        return o;
    }
    if (files.size() != 2) {
        error = files.size() < 2 ? "an input and an output file are needed" : "too many files";
        return std::nullopt;
    }
    o.input = files[0];
    o.output = files[1];
    const std::optional<Format> named = format_of(o.output);
    if (!format && !named) {
        error = o.output + ": unknown output format (use .wav, .flac, .ogg or --format)";
        return std::nullopt;
    }
    if (format && named && *format != *named) {
        error = std::string("--format ") + format_name(*format) + " does not match " + o.output;
        return std::nullopt;
    }
    o.format = format ? *format : *named;
    return o;
}

std::string output_in_dir(const std::string& out_dir, const std::string& input, Format format) {
    return (std::filesystem::path(out_dir) / std::filesystem::path(input).stem()).string() + "." +
           format_name(format);
}

std::int64_t frames_to_render(const Options& options, std::int64_t end_sample,
                              std::int64_t repeat_sample) {
    if (options.seconds) return std::llround(*options.seconds * options.rate);
    return pxtone::play_frames(end_sample, repeat_sample, options.start_sample, options.loops);
}

std::int64_t frames_looping(const Options& options, std::int64_t end_sample,
                            std::int64_t repeat_sample) {
    if (options.seconds) return frames_to_render(options, end_sample, repeat_sample);
    return pxtone::looping_frames(end_sample, repeat_sample, options.start_sample, options.loops);
}

std::int64_t fade_frames(const Options& options, std::int64_t total) {
    return pxtone::fade_frames(options.fade, options.rate, total);
}

}  // namespace dz::ptrender
