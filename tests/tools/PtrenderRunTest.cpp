// Runs the built ptrender binary on written tunes and bad input.

#include <pty.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pxtone/Project.h"
#include "pxtone/Writer.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int exit_code = -1;
    std::string out, err;
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::uint32_t u32_at(const std::string& b, std::size_t at) {
    auto u = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(b[i]));
    };
    return u(at) | u(at + 1) << 8 | u(at + 2) << 16 | u(at + 3) << 24;
}
std::uint32_t u16_at(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

// A file read back through libsndfile: PCM as 32-bit integers, Ogg Vorbis as floats.
struct Sound {
    SF_INFO info{};
    std::vector<int> pcm;
    std::vector<float> floats;
};

Sound read_sound(const std::string& path) {
    Sound s;
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &s.info);
    EXPECT_NE(nullptr, f) << path << ": " << sf_strerror(nullptr);
    if (!f) return s;
    const auto n = static_cast<std::size_t>(s.info.frames * s.info.channels);
    if ((s.info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG) {
        s.floats.resize(n);
        EXPECT_EQ(s.info.frames, sf_readf_float(f, s.floats.data(), s.info.frames)) << path;
    } else {
        s.pcm.resize(n);
        EXPECT_EQ(s.info.frames, sf_readf_int(f, s.pcm.data(), s.info.frames)) << path;
    }
    sf_close(f);
    return s;
}

double rms(const Sound& s) {
    double sum = 0;
    for (int v : s.pcm) sum += std::pow(v / 2147483648.0, 2);
    for (float v : s.floats) sum += static_cast<double>(v) * v;
    const std::size_t n = s.pcm.size() + s.floats.size();
    return n ? std::sqrt(sum / static_cast<double>(n)) : 0;
}

std::string demo(const std::string& name) {
    return std::string(DEMO_DIR) + "/" + name;
}

class PtrenderRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("dz_ptrender_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // `shell` runs first in the same shell, e.g. to set a limit.
    ToolRun run(const std::vector<std::string>& args, const std::string& shell = "") {
        std::string cmd = shell + quote(PTRENDER_PATH);
        for (const auto& a : args) cmd += " " + quote(a);
        cmd += " >" + quote((dir_ / "stdout").string()) + " 2>" + quote((dir_ / "stderr").string());
        ToolRun r;
        const int status = std::system(cmd.c_str());
        r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = slurp(dir_ / "stdout");
        r.err = slurp(dir_ / "stderr");
        return r;
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // 2 measures at 240 BPM (one second each at 44100 Hz: 44100 samples per measure), repeat at 1.
    std::string write_tune(const std::string& name, float tempo = 240.0f) {
        pxtone::Project p;
        p.master.tempo = tempo;
        p.master.repeat_meas = 1;
        p.name = "\x83\x52\x83\x93\x83\x73\x83\x4E";
        p.comment = "first\r\nsecond";
        pxtone::Voice v;
        v.wave_type = 1;
        v.wave = {{1, 128}};
        v.data_flags = pxtone::DATAFLAG_WAVE;
        v.voice_flags = pxtone::VOICEFLAG_WAVELOOP | pxtone::VOICEFLAG_SMOOTH;
        p.woices.push_back(pxtone::Woice::make_ptv({v}));
        p.set_unit_count(1);
        p.add_event(0, 0, pxtone::EVENTKIND_ON, 1920);
        p.add_event(1920, 0, pxtone::EVENTKIND_ON, 1920);
        p.update_measures();
        const std::string file = path(name);
        EXPECT_TRUE(pxtone::write_file(p, file));
        return file;
    }

    fs::path dir_;
};

TEST_F(PtrenderRun, BadCommandLinesExitWithUsage) {
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"--bits", "12", "a", "b"},
                                                                  {"--nope", "a", "b"},
                                                                  {"onlyone"},
                                                                  {"--fade", "-1", "a", "b.wav"},
                                                                  {"--fade", "nan", "a", "b.wav"},
                                                                  {"a", "b.mp3"}}) {
        const ToolRun r = run(args);
        EXPECT_EQ(2, r.exit_code) << ::testing::PrintToString(args);
        EXPECT_NE(std::string::npos, r.err.find("usage:")) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    const ToolRun help = run({"--help"});
    EXPECT_EQ(0, help.exit_code);
    EXPECT_NE(std::string::npos, help.out.find("usage:"));
}

TEST_F(PtrenderRun, UnreadableAndInvalidInputsAreNamed) {
    const std::string missing = path("missing.ptcop");
    ToolRun r = run({missing, path("out.wav")});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(missing + ": No such file or directory\n", r.err);
    EXPECT_FALSE(fs::exists(path("out.wav"))) << "no output for a failed input";

    r = run({"--info", dir_.string()});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(dir_.string() + ": is a directory\n", r.err);

    const std::string fifo = path("pipe.ptcop");  // no writer: a blocking open never returns
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    r = run({"--info", fifo});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(fifo + ": not a regular file\n", r.err);

    const std::string text = path("text.ptcop");
    std::ofstream(text) << "hello, this is not music at all";
    r = run({text, path("out.wav")});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(text + ": not a pxtone tune\n", r.err);

    const std::string good = write_tune("good.ptcop");
    const std::string bytes = slurp(good);
    const std::string cut = path("cut.ptcop");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    r = run({cut, path("out.wav")});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(0u, r.err.find(cut + ": truncated at byte ")) << r.err;

    r = run({good, "/nonexistent-dir/out.wav"});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(0u, r.err.find("/nonexistent-dir/out.wav: ")) << r.err;

    r = run({"--start-sample", "88200", good, path("out.wav")});
    EXPECT_EQ(2, r.exit_code);
    EXPECT_NE(std::string::npos, r.err.find("--start-sample")) << r.err;
}

TEST_F(PtrenderRun, RendersOnePlayThroughWithAStandardHeader) {
    const std::string tune = write_tune("tune.ptcop");
    const std::string wav = path("out.wav");
    const ToolRun r = run({tune, wav});
    ASSERT_EQ(0, r.exit_code) << r.err;
    EXPECT_TRUE(r.err.empty()) << "no progress bar when stderr is not a terminal";
    const std::string b = slurp(wav);
    // One play-through: the frame that reaches the end sample (88200) is not played.
    ASSERT_EQ(44u + 88199u * 4, b.size());
    EXPECT_EQ("RIFF", b.substr(0, 4));
    EXPECT_EQ(b.size() - 8, u32_at(b, 4));
    EXPECT_EQ("WAVEfmt ", b.substr(8, 8));
    EXPECT_EQ(16u, u32_at(b, 16));
    EXPECT_EQ(1u, u16_at(b, 20));
    EXPECT_EQ(2u, u16_at(b, 22));
    EXPECT_EQ(44100u, u32_at(b, 24));
    EXPECT_EQ(176400u, u32_at(b, 28));
    EXPECT_EQ(4u, u16_at(b, 32));
    EXPECT_EQ(16u, u16_at(b, 34));
    EXPECT_EQ("data", b.substr(36, 4));
    EXPECT_EQ(88199u * 4, u32_at(b, 40));
    int loud = 0;
    for (std::size_t i = 44; i < b.size(); i += 2) {
        const auto s = static_cast<std::int16_t>(u16_at(b, i));
        loud += s > 2000 || s < -2000;
    }
    EXPECT_GT(loud, 50000) << "the notes are audible";
}

TEST_F(PtrenderRun, LengthFollowsLoopsSecondsStartAndFormat) {
    const std::string tune = write_tune("tune.ptcop");
    const std::string wav = path("out.wav");
    struct Case {
        std::vector<std::string> options;
        std::uint32_t data_bytes;
    };
    const std::vector<Case> cases = {
        {{"--loops", "3"}, (88200 + 2 * 44100 - 1) * 4},
        {{"--seconds", "0.5"}, 22050 * 4},
        {{"--seconds", "5"}, 220500 * 4},
        {{"--start-sample", "10000"}, (88200 - 10000 - 1) * 4},
        {{"--rate", "22050", "--channels", "1", "--bits", "8"}, 44100 - 1},
        {{"--rate", "48000"}, (96000 - 1) * 4},
        {{"--rate", "11025", "--channels", "1", "--bits", "8", "--seconds", "0.1"}, 1103},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.options;
        args.push_back(tune);
        args.push_back(wav);
        const ToolRun r = run(args);
        ASSERT_EQ(0, r.exit_code) << r.err;
        const std::string b = slurp(wav);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(c.data_bytes, u32_at(b, 40)) << ::testing::PrintToString(c.options);
        EXPECT_EQ(44u + c.data_bytes + (c.data_bytes & 1), b.size());
    }
}

TEST_F(PtrenderRun, OutDirRendersEveryGoodInputAndNamesTheBadOnes) {
    fs::create_directories(dir_ / "other");
    const std::string first = write_tune("first.ptcop");
    const std::string second = write_tune("second.pttune", 300.0f);
    const std::string same_name = write_tune("other/first.ptcop");
    const std::string text = path("text.ptcop");
    std::ofstream(text) << "hello, this is not music at all";
    const std::string missing = path("missing.ptcop");
    const std::string out = path("renders/new");  // created
    const ToolRun r =
        run({"--out-dir", out, "--rate", "22050", text, first, missing, second, same_name});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_NE(std::string::npos, r.err.find(text + ": not a pxtone tune\n")) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(missing + ": No such file or directory\n")) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(same_name + ": ")) << r.err;
    std::vector<std::string> written;
    for (const auto& e : fs::directory_iterator(out)) written.push_back(e.path().filename());
    std::sort(written.begin(), written.end());
    EXPECT_EQ((std::vector<std::string>{"first.wav", "second.wav"}), written);
    // Each output is what a single render writes.
    for (const auto& [input, name] : {std::pair{first, "first"}, std::pair{second, "second"}}) {
        const std::string single = path(std::string(name) + "_single.wav");
        ASSERT_EQ(0, run({"--rate", "22050", input, single}).exit_code);
        EXPECT_EQ(slurp(single), slurp(out + "/" + name + ".wav")) << name;
    }

    const ToolRun ok = run({"--out-dir", out, first, second});
    EXPECT_EQ(0, ok.exit_code) << ok.err;
    EXPECT_TRUE(ok.err.empty()) << ok.err;
}

TEST_F(PtrenderRun, OutDirFilesDoNotDependOnTheJobCount) {
    std::vector<std::string> inputs;
    for (int i = 0; i < 5; ++i)
        inputs.push_back(write_tune("t" + std::to_string(i) + ".ptcop", 200.0f + 37.0f * i));
    std::vector<std::string> args = {"--channels", "1", "--seconds", "20", "--out-dir"};
    std::vector<std::string> one = args, two = args;
    one.push_back(path("one"));
    two.push_back(path("two"));
    one.insert(one.begin(), {"--jobs", "1"});
    two.insert(two.begin(), {"--jobs", "2"});
    one.insert(one.end(), inputs.begin(), inputs.end());
    two.insert(two.end(), inputs.begin(), inputs.end());
    ASSERT_EQ(0, run(one).exit_code);
    ASSERT_EQ(0, run(two).exit_code);
    for (int i = 0; i < 5; ++i) {
        const std::string name = "/t" + std::to_string(i) + ".wav";
        const std::string a = slurp(path("one") + name);
        EXPECT_GT(a.size(), 44u) << name;
        EXPECT_EQ(a, slurp(path("two") + name)) << name;
    }
}

TEST_F(PtrenderRun, NeverWritesOverAnInputOrWaitsForAPipe) {
    const std::string tune = write_tune("tune.ptcop");
    const std::string bytes = slurp(tune);
    const std::string link = path("link.wav");
    fs::create_symlink(tune, link);
    ToolRun r = run({tune, link});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(link + ": is the input file and is not overwritten\n", r.err);

    // In a batch, the output of one input is another input.
    const std::string disguised = path("song.wav");
    fs::copy_file(tune, disguised);
    const std::string named_like_it = path("song.ptcop");
    fs::copy_file(tune, named_like_it);
    r = run({"--out-dir", dir_.string(), named_like_it, disguised});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_NE(std::string::npos, r.err.find(named_like_it + ": ")) << r.err;
    EXPECT_EQ(bytes, slurp(tune));
    EXPECT_EQ(bytes, slurp(disguised));

    const std::string fifo = path("out.ogg");  // nothing reads it: opening it would block
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    r = run({tune, fifo});
    EXPECT_EQ(1, r.exit_code);
    EXPECT_EQ(fifo + ": is a pipe that nothing reads\n", r.err);
    EXPECT_TRUE(fs::is_fifo(fifo)) << "a failed render removes only regular files";
}

TEST_F(PtrenderRun, WriteErrorsAndEmptyOutputsFailWithoutAFile) {
    for (const std::string ext : {".wav", ".flac", ".ogg"}) {
        // A file size limit of 64 blocks: writing past it fails with EFBIG, SIGXFSZ ignored.
        const std::string out = path("big" + ext);
        ToolRun r =
            run({"--seconds", "20", demo("echo-hall.ptcop"), out}, "trap '' XFSZ; ulimit -f 64; ");
        EXPECT_EQ(1, r.exit_code) << ext;
        EXPECT_NE(std::string::npos, r.err.find(out + ": File too large\n")) << r.err;
        EXPECT_FALSE(fs::exists(out)) << ext;

        const std::string empty = path("empty" + ext);  // 0.00001 s is no frame at all
        r = run({"--seconds", "0.00001", demo("echo-hall.ptcop"), empty});
        if (ext == ".wav") {
            EXPECT_EQ(0, r.exit_code) << r.err;
            EXPECT_EQ(44u, slurp(empty).size());
        } else {
            EXPECT_EQ(1, r.exit_code) << ext;
            EXPECT_FALSE(fs::exists(empty)) << ext;
        }
    }
}

TEST_F(PtrenderRun, FlacMatchesTheWavAndOggHasItsLength) {
    struct Case {
        int rate, channels, bits;
    };
    for (const Case c : {Case{44100, 2, 16}, Case{8000, 1, 8}, Case{22050, 2, 8},
                         Case{48000, 1, 16}, Case{11025, 1, 16}}) {
        const std::string what = std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) +
                                 " ch, " + std::to_string(c.bits) + " bits";
        std::vector<std::string> args = {"--rate",
                                         std::to_string(c.rate),
                                         "--channels",
                                         std::to_string(c.channels),
                                         "--bits",
                                         std::to_string(c.bits),
                                         "--seconds",
                                         "4",
                                         demo("backyard-groove.ptcop")};
        for (const char* out : {"o.wav", "o.flac", "o.ogg"}) {
            args.push_back(path(out));
            const ToolRun r = run(args);
            ASSERT_EQ(0, r.exit_code) << what << " " << out << ": " << r.err;
            args.pop_back();
        }
        const Sound wav = read_sound(path("o.wav"));
        const Sound flac = read_sound(path("o.flac"));
        const Sound ogg = read_sound(path("o.ogg"));
        EXPECT_EQ(SF_FORMAT_WAV | (c.bits == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16),
                  wav.info.format)
            << what;
        EXPECT_EQ(SF_FORMAT_FLAC | (c.bits == 8 ? SF_FORMAT_PCM_S8 : SF_FORMAT_PCM_16),
                  flac.info.format)
            << what;
        EXPECT_EQ(SF_FORMAT_OGG | SF_FORMAT_VORBIS, ogg.info.format) << what;
        for (const Sound* s : {&wav, &flac, &ogg}) {
            EXPECT_EQ(c.rate, s->info.samplerate) << what;
            EXPECT_EQ(c.channels, s->info.channels) << what;
            EXPECT_EQ(4 * c.rate, s->info.frames) << what;
        }
        EXPECT_TRUE(wav.pcm == flac.pcm) << what;
        // Lossy, but the same music at the same level.
        EXPECT_GT(rms(wav), 0.03) << what;
        EXPECT_NEAR(1.0, rms(ogg) / rms(wav), 0.1) << what;
    }
    // --format wins over an extension that names no format.
    ASSERT_EQ(0, run({"--format", "flac", "--seconds", "1", demo("echo-hall.ptcop"), path("o.bin")})
                     .exit_code);
    EXPECT_EQ(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, read_sound(path("o.bin")).info.format);
}

TEST_F(PtrenderRun, DemoBatchWithABadFileIsTheSameForOneAndTwoJobs) {
    const std::string text = path("text.ptcop");
    std::ofstream(text) << "hello, this is not music at all";
    const std::vector<std::string> names = {"backyard-groove", "echo-hall", "morning-steps"};
    for (const char* format : {"flac", "ogg"}) {
        std::vector<Sound> first;
        for (const char* jobs : {"1", "2"}) {
            const std::string out = path(std::string(format) + jobs);
            std::vector<std::string> args = {
                "--jobs", jobs,     "--format", format,      "--rate", "22050", "--seconds",
                "20",     "--fade", "3",        "--out-dir", out,      text};
            for (const auto& n : names) args.push_back(demo(n + ".ptcop"));
            const ToolRun r = run(args);
            EXPECT_EQ(1, r.exit_code) << format << jobs;
            EXPECT_EQ(text + ": not a pxtone tune\n", r.err);
            std::size_t files = 0;
            for ([[maybe_unused]] const auto& e : fs::directory_iterator(out)) ++files;
            EXPECT_EQ(names.size(), files);
            for (std::size_t i = 0; i < names.size(); ++i) {
                const std::string file = out + "/" + names[i] + "." + format;
                Sound s = read_sound(file);
                EXPECT_EQ(22050 * 20, s.info.frames) << file;
                if (first.size() < names.size()) {
                    first.push_back(std::move(s));
                    continue;
                }
                // Ogg streams carry a random serial number: the samples are compared.
                EXPECT_TRUE(s.pcm == first[i].pcm && s.floats == first[i].floats) << file;
                if (std::string(format) == "flac") {
                    EXPECT_EQ(slurp(path("flac1/" + names[i] + ".flac")), slurp(file));
                }
            }
        }
    }
}

TEST_F(PtrenderRun, FadeChangesOnlyTheEnd) {
    const std::string tune = demo("morning-steps.ptcop");
    struct Case {
        std::string bits, seconds, fade;
        std::size_t fade_frames;
    };
    // A fade longer than the output fades all of it.
    for (const Case& c :
         {Case{"16", "5", "2", 44100}, Case{"8", "5", "2", 44100}, Case{"16", "1", "100", 22050}}) {
        const std::string plain = path("plain.wav"), faded = path("faded.wav");
        std::vector<std::string> args = {"--rate", "22050",     "--bits",
                                         c.bits,   "--seconds", c.seconds};
        args.insert(args.end(), {tune, plain});
        ASSERT_EQ(0, run(args).exit_code);
        args.back() = faded;
        args.insert(args.begin(), {"--fade", c.fade});
        ASSERT_EQ(0, run(args).exit_code);
        const Sound a = read_sound(plain), b = read_sound(faded);
        ASSERT_EQ(a.pcm.size(), b.pcm.size());
        const std::size_t frames = a.pcm.size() / 2, from = (frames - c.fade_frames) * 2;
        EXPECT_TRUE(std::equal(a.pcm.begin(), a.pcm.begin() + from, b.pcm.begin())) << c.fade;
        // Within the fade each sample is the unfaded one times a gain falling to 0.
        const double unit = c.bits == "8" ? 16777216.0 : 65536.0;  // one step, as read back
        double worst = 0;
        for (std::size_t i = from; i < a.pcm.size(); ++i) {
            const double gain =
                static_cast<double>(frames - 1 - i / 2) / static_cast<double>(c.fade_frames);
            worst = std::max(worst, std::abs(b.pcm[i] - a.pcm[i] * gain) / unit);
        }
        EXPECT_LE(worst, 0.5) << c.bits << " bits, fade " << c.fade;
        EXPECT_EQ(0, b.pcm.back());
        EXPECT_LT(rms(b), rms(a) * 0.9) << c.fade;  // the faded part is not silent
    }
}

TEST_F(PtrenderRun, BatchProgressLineOnATerminal) {
    const std::string text = path("text.ptcop");
    std::ofstream(text) << "not a tune";
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::execl(PTRENDER_PATH, "ptrender", "--seconds", "1", "--out-dir", path("out").c_str(),
                text.c_str(), demo("echo-hall.ptcop").c_str(), demo("morning-steps.ptcop").c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string shown;
    char buffer[4096];
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
    ::close(terminal);
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_NE(std::string::npos, shown.find("[0/3] 0%")) << shown;
    EXPECT_NE(std::string::npos, shown.find("[1/3] 33% ")) << shown;
    EXPECT_NE(std::string::npos, shown.find(text + ": not a pxtone tune\r\n")) << shown;
    const std::size_t last = shown.rfind("[3/3] 100% ");
    ASSERT_NE(std::string::npos, last) << shown;
    EXPECT_EQ(std::string::npos, shown.find('[', last + 1)) << shown;
    EXPECT_EQ("\r\n", shown.substr(shown.size() - 2)) << "the line ends with a newline";
}

TEST_F(PtrenderRun, InfoPrintsConvertedTexts) {
    const std::string tune = write_tune("tune.ptcop");
    const ToolRun r = run({"--info", tune});
    ASSERT_EQ(0, r.exit_code) << r.err;
    EXPECT_EQ(
        "name:          コンピク\n"
        "comment:       first\n"
        "               second\n"
        "tempo:         240 BPM\n"
        "beats:         4 per measure\n"
        "clock:         480 per beat\n"
        "measures:      2\n"
        "repeat:        1\n"
        "play measures: 2\n"
        "length:        2.00 s (0:02)\n",
        r.out);
}

}  // namespace
