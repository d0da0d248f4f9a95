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

namespace {

// What the arguments gave so far.
struct Parsed {
    Options o;
    std::vector<std::string> files;
    bool seconds_given = false;
    std::optional<Format> format;
};

bool takes_value(const std::string& a) {
    return a == "--rate" || a == "--channels" || a == "--bits" || a == "--seconds" ||
           a == "--loops" || a == "--start-sample" || a == "--out-dir" || a == "--jobs" ||
           a == "--fade" || a == "--format";
}

// Takes the value `v` of option `a` (one that takes_value); false with `error` when the
// value is not one the option takes.
bool take_value(Parsed& p, const std::string& a, const std::string& v, std::string& error) {
    Options& o = p.o;
    long long n = 0;
    if (a == "--out-dir") {
        if (v.empty()) {
            error = "--out-dir needs a folder";
            return false;
        }
        o.out_dir = v;
    } else if (a == "--format") {
        if (v == "wav")
            p.format = Format::Wav;
        else if (v == "flac")
            p.format = Format::Flac;
        else if (v == "ogg")
            p.format = Format::Ogg;
        else {
            error = "--format must be wav, flac or ogg";
            return false;
        }
    } else if (a == "--fade") {
        double s = 0;
        if (!parse_double(v, s) || s < 0) {
            error = "--fade must be a number of seconds, 0 or more";
            return false;
        }
        o.fade = s;
    } else if (a == "--jobs") {
        if (!parse_int(v, 1, 1024, n)) {
            error = "--jobs must be a whole number from 1 to 1024";
            return false;
        }
        o.jobs = static_cast<int>(n);
    } else if (a == "--rate") {
        if (!parse_int(v, 8000, pxtone::Renderer::kMaxRate, n)) {
            error = "--rate must be a whole number of Hz from 8000 to " +
                    std::to_string(pxtone::Renderer::kMaxRate);
            return false;
        }
        o.rate = static_cast<int>(n);
    } else if (a == "--channels") {
        if (!parse_int(v, 1, 2, n)) {
            error = "--channels must be 1 or 2";
            return false;
        }
        o.channels = static_cast<int>(n);
    } else if (a == "--bits") {
        if (!parse_int(v, 8, 16, n) || (n != 8 && n != 16)) {
            error = "--bits must be 8 or 16";
            return false;
        }
        o.bits = static_cast<int>(n);
    } else if (a == "--seconds") {
        double s = 0;
        if (!parse_double(v, s) || s <= 0 || s > kMaxSeconds) {
            error = "--seconds must be a number above 0 and at most " +
                    std::to_string(static_cast<long long>(kMaxSeconds));
            return false;
        }
        o.seconds = s;
        p.seconds_given = true;
    } else if (a == "--loops") {
        if (!parse_int(v, 1, 1000000, n)) {
            error = "--loops must be a whole number from 1 to 1000000";
            return false;
        }
        o.loops = static_cast<int>(n);
        o.loops_given = true;
    } else {  // --start-sample
        if (!parse_int(v, 0, INT32_MAX, n)) {
            error = "--start-sample must be a whole number from 0";
            return false;
        }
        o.start_sample = n;
    }
    return true;
}

// The options once every argument is read: the combinations checked, the files placed.
std::optional<Options> finish(Parsed& p, std::string& error) {
    Options& o = p.o;
    const std::vector<std::string>& files = p.files;
    if (p.seconds_given && o.loops_given) {
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
        o.format = p.format.value_or(Format::Wav);
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
    if (!p.format && !named) {
        error = o.output + ": unknown output format (use .wav, .flac, .ogg or --format)";
        return std::nullopt;
    }
    if (p.format && named && *p.format != *named) {
        error = std::string("--format ") + format_name(*p.format) + " does not match " + o.output;
        return std::nullopt;
    }
    o.format = p.format ? *p.format : *named;
    return o;
}

}  // namespace

std::optional<Options> parse_options(const std::vector<std::string>& args, std::string& error) {
    Parsed p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            p.o.help = true;
            return p.o;
        }
        if (a == "--info") {
            p.o.info = true;
            continue;
        }
        if (a == "--") {
            p.files.insert(p.files.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
        if (a.size() > 1 && a[0] == '-') {
            if (!takes_value(a)) {
                error = "unknown option " + a;
                return std::nullopt;
            }
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            if (!take_value(p, a, args[++i], error)) return std::nullopt;
            continue;
        }
        p.files.push_back(a);
    }
    return finish(p, error);
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
