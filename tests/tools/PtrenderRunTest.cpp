// Runs the built ptrender binary on written tunes and bad input.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
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

class PtrenderRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("dz_ptrender_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    ToolRun run(const std::vector<std::string>& args) {
        std::string cmd = quote(PTRENDER_PATH);
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
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"--bits", "12", "a", "b"}, {"--nope", "a", "b"}, {"onlyone"}}) {
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
    std::vector<std::string> args = {"--channels", "1", "--loops", "2", "--out-dir"};
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
