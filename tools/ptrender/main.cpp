// ptrender: renders a pxtone tune to a WAV, FLAC or Ogg Vorbis file with our engine, or
// prints its information; with --out-dir renders many tunes on several threads.
// Exit codes: 0 done, 1 an input or output failed, 2 bad command line.

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Options.h"
#include "ShiftJis.h"
#include "SoundFile.h"
#include "audio/WavWriter.h"
#include "base/RegularFile.h"
#include "pxtone/Project.h"
#include "pxtone/Renderer.h"

namespace {

using dz::ptrender::Options;

// Tunes are read whole; pipes, devices and folders are refused before they can block.
bool read_file(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    std::string data;
    dz::ReadFileStatus status =
        dz::read_regular_file(path, static_cast<std::size_t>(pxtone::Project::kMaxFileBytes), data);
    if (status != dz::ReadFileStatus::Ok) {
        std::error_code ec;
        if (status == dz::ReadFileStatus::Missing)
            error = std::strerror(ENOENT);
        else if (std::filesystem::is_directory(path, ec))
            error = "is a directory";
        else
            error = dz::describe(status);
        return false;
    }
    bytes.assign(data.begin(), data.end());
    return true;
}

void print_field(const char* label, const std::string& text) {
    std::printf("%-15s", label);
    std::size_t start = 0;
    bool first = true;
    do {
        const std::size_t nl = text.find('\n', start);
        const std::string line =
            text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        std::printf("%s%s\n", first ? "" : "               ", line.c_str());
        first = false;
        start = nl == std::string::npos ? text.size() + 1 : nl + 1;
    } while (start <= text.size());
}

void print_info(const pxtone::Project& project) {
    const pxtone::TuneInfo info = project.info();
    print_field("name:", dz::ptrender::cp932_to_utf8(info.name));
    print_field("comment:", dz::ptrender::cp932_to_utf8(info.comment));
    std::printf("%-15s%g BPM\n", "tempo:", static_cast<double>(info.tempo));
    std::printf("%-15s%d per measure\n", "beats:", info.beats);
    std::printf("%-15s%d per beat\n", "clock:", info.beat_clock);
    std::printf("%-15s%d\n", "measures:", info.measures);
    std::printf("%-15s%d\n", "repeat:", info.repeat_meas);
    std::printf("%-15s%d\n", "play measures:", info.play_meas);
    const double s = info.length_seconds;
    const long whole = std::isfinite(s) && s > 0 ? static_cast<long>(s) : 0;
    std::printf("%-15s%.2f s (%ld:%02ld)\n", "length:", s, whole / 60, whole % 60);
}

class Progress {
public:
    explicit Progress(std::int64_t total) : total_(total), shown_(isatty(STDERR_FILENO) == 1) {}
    void update(std::int64_t done) {
        if (!shown_ || total_ <= 0) return;
        const int percent = static_cast<int>(std::min<std::int64_t>(100, done * 100 / total_));
        if (percent == last_) return;
        last_ = percent;
        char bar[41];
        const int filled = percent * 40 / 100;
        for (int i = 0; i < 40; ++i) bar[i] = i < filled ? '#' : '.';
        bar[40] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
        std::fflush(stderr);
    }
    void finish() {
        if (shown_ && last_ >= 0) std::fputc('\n', stderr);
    }

private:
    std::int64_t total_;
    bool shown_;
    int last_ = -1;
};

// Messages on stderr, and in a batch on a terminal the line "[done/total] percent% name" for
// the files finished so far. A message clears that line, takes its own line and the progress
// line is drawn again under it; each message is one write.
class Console {
public:
    void start_batch(std::size_t total) {
        std::lock_guard lock(mutex_);
        line_ = total > 0 && isatty(STDERR_FILENO) == 1;
        total_ = total;
        draw();
    }
    void file_done(const std::string& input) {
        std::lock_guard lock(mutex_);
        ++done_;
        name_ = std::filesystem::path(input).filename().string();
        draw();
    }
    void finish_batch() {
        std::lock_guard lock(mutex_);
        if (line_) std::fputc('\n', stderr);
        line_ = false;
    }
    __attribute__((format(printf, 2, 3))) void error(const char* format, ...) {
        std::va_list args;
        va_start(args, format);
        std::va_list again;
        va_copy(again, args);
        const int n = std::vsnprintf(nullptr, 0, format, args);
        va_end(args);
        std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
        std::vsnprintf(text.data(), text.size() + 1, format, again);
        va_end(again);
        std::lock_guard lock(mutex_);
        if (line_) text.insert(0, "\r\033[K");
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
        draw();
    }

private:
    // The line fits the terminal's width so that "\r" returns to its start; control
    // characters in the name are shown as '?'.
    void draw() {
        if (!line_) return;
        const int percent = total_ ? static_cast<int>(done_ * 100 / total_) : 100;
        std::string line = "[" + std::to_string(done_) + "/" + std::to_string(total_) + "] " +
                           std::to_string(percent) + "%";
        if (!name_.empty()) line += " ";
        winsize size{};
        const std::size_t columns =
            ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
        std::size_t shown = line.size();  // characters, counting a UTF-8 sequence as one
        for (char c : name_) {
            const auto u = static_cast<unsigned char>(c);
            const bool continuation = (u & 0xC0) == 0x80;
            if (!continuation && shown + 1 >= columns) break;
            shown += !continuation;
            line += u < 0x20 || u == 0x7F ? '?' : c;
        }
        std::fprintf(stderr, "\r\033[K%s", line.c_str());
        std::fflush(stderr);
    }

    std::mutex mutex_;
    bool line_ = false;
    std::size_t total_ = 0, done_ = 0;
    std::string name_;
};

Console console;

// Device and inode of an existing file.
std::optional<std::pair<dev_t, ino_t>> file_id(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return std::pair{st.st_dev, st.st_ino};
}

int render(const Options& o, const pxtone::Project& project, bool show_progress) {
    pxtone::Renderer renderer(project);
    if (!renderer.prepare({o.rate, o.channels, o.bits})) {
        console.error("%s: cannot be rendered at %d Hz, %d channels, %d bits\n", o.input.c_str(),
                      o.rate, o.channels, o.bits);
        return 1;
    }
    const std::int64_t end = renderer.end_sample();
    if (o.start_sample > 0 && o.start_sample >= end) {
        console.error("ptrender: --start-sample %lld is not before the end of %s (%lld)\n",
                      static_cast<long long>(o.start_sample), o.input.c_str(),
                      static_cast<long long>(end));
        return 2;
    }
    const std::int64_t total = dz::ptrender::frames_to_render(o, end, renderer.repeat_sample());
    const int bytes_per_frame = o.channels * (o.bits / 8);
    if (o.format == dz::ptrender::Format::Wav &&
        static_cast<std::uint64_t>(total) * bytes_per_frame > dz::WavWriter::max_data_bytes) {
        console.error("%s: the output would be too long for a WAV file\n", o.output.c_str());
        return 1;
    }

    if (total == 0 && o.format != dz::ptrender::Format::Wav) {
        console.error("%s: the output would hold no samples, which %s files cannot store\n",
                      o.output.c_str(), o.format == dz::ptrender::Format::Flac ? "FLAC" : "Ogg");
        return 1;
    }

    dz::ptrender::SoundFile writer;
    const auto failed = [&] {
        console.error("%s: %s\n", o.output.c_str(), writer.error().c_str());
        writer.finish();
        std::error_code ec;
        if (writer.is_regular()) std::filesystem::remove(o.output, ec);
        return 1;
    };
    if (!writer.open(o.output, o.format, o.channels, o.rate, o.bits)) return failed();
    // Looping carries the render past the end until the last pass, which
    // ends the way a single play-through does.
    const std::int64_t looping = dz::ptrender::frames_looping(o, end, renderer.repeat_sample());
    const std::int64_t fade = dz::ptrender::fade_frames(o, total);
    renderer.set_loop(looping > 0);
    renderer.start(o.start_sample);

    constexpr int chunk = 8192;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(chunk) * bytes_per_frame);
    Progress progress(show_progress ? total : 0);
    std::int64_t done = 0;
    while (done < total) {
        if (done == looping) renderer.set_loop(o.seconds.has_value());
        const std::int64_t until = done < looping ? looping : total;
        const int want = static_cast<int>(std::min<std::int64_t>(chunk, until - done));
        const int got = renderer.render(buffer.data(), want);
        dz::ptrender::apply_fade(buffer.data(), got, o.channels, o.bits, done, total, fade);
        if (!writer.write(buffer.data(), got)) break;
        done += got;
        progress.update(done);
        if (got < want) break;  // the tune ended
    }
    progress.finish();
    if (!writer.finish()) return failed();
    return 0;
}

// Loads o.input and renders it to o.output (or prints its information).
int run_file(const Options& o, bool show_progress) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!read_file(o.input, bytes, error)) {
        console.error("%s: %s\n", o.input.c_str(), error.c_str());
        return 1;
    }
    const pxtone::LoadResult loaded = pxtone::Project::load(bytes);
    if (!loaded) {
        console.error(
            "%s: %s\n", o.input.c_str(),
            loaded.error.message.empty() ? "cannot be loaded" : loaded.error.message.c_str());
        return 1;
    }
    if (o.info) {
        print_info(*loaded.project);
        return 0;
    }
    return render(o, *loaded.project, show_progress);
}

// --out-dir: each worker takes the next input until none is left. Errors are reported per
// file; the outputs do not depend on the job count.
int run_batch(const Options& options) {
    std::error_code ec;
    std::filesystem::create_directories(options.out_dir, ec);
    if (!std::filesystem::is_directory(options.out_dir, ec)) {
        console.error("%s: cannot be created as a folder\n", options.out_dir.c_str());
        return 1;
    }
    const size_t count = options.inputs.size();
    // Two inputs with the same name would write the same file, and an output may be one of
    // the inputs: such an input is refused.
    std::vector<std::string> outputs(count);
    std::vector<bool> failed(count, false);
    std::set<std::string> taken;
    std::set<std::pair<dev_t, ino_t>> input_ids;
    for (const std::string& input : options.inputs)
        if (const auto id = file_id(input)) input_ids.insert(*id);
    console.start_batch(count);
    for (size_t i = 0; i < count; ++i) {
        outputs[i] =
            dz::ptrender::output_in_dir(options.out_dir, options.inputs[i], options.format);
        const auto id = file_id(outputs[i]);
        if (!taken.insert(outputs[i]).second) {
            console.error("%s: %s is already written for an earlier input\n",
                          options.inputs[i].c_str(), outputs[i].c_str());
            failed[i] = true;
        } else if (id && input_ids.count(*id)) {
            console.error("%s: %s is one of the inputs and is not overwritten\n",
                          options.inputs[i].c_str(), outputs[i].c_str());
            failed[i] = true;
        }
    }
    std::atomic<size_t> next{0};
    std::vector<char> ok(count, 0);
    auto work = [&] {
        for (size_t i; (i = next.fetch_add(1)) < count;) {
            if (!failed[i]) {
                Options o = options;
                o.input = options.inputs[i];
                o.output = outputs[i];
                ok[i] = run_file(o, false) == 0;
            }
            console.file_done(options.inputs[i]);
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t jobs =
        std::min(count, options.jobs > 0 ? static_cast<size_t>(options.jobs) : size_t{cores});
    std::vector<std::thread> threads;
    for (size_t j = 1; j < jobs; ++j) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
    console.finish_batch();
    return std::all_of(ok.begin(), ok.end(), [](char c) { return c != 0; }) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = dz::ptrender::parse_options(args, error);
    if (!options) {
        std::fprintf(stderr, "ptrender: %s\n%s", error.c_str(), dz::ptrender::usage_text);
        return 2;
    }
    if (options->help) {
        std::fputs(dz::ptrender::usage_text, stdout);
        return 0;
    }
    if (!options->out_dir.empty()) return run_batch(*options);
    if (!options->info) {
        const auto in = file_id(options->input);
        if (in && in == file_id(options->output)) {
            console.error("%s: is the input file and is not overwritten\n",
                          options->output.c_str());
            return 1;
        }
    }
    return run_file(*options, true);
}
