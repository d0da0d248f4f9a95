#include "player/PxtoneLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "TestTunes.h"
#include "audio/NullAudioDevice.h"
#include "audio/WavFileDevice.h"
#include "player/Player.h"
#include "pxtone/PlayPlan.h"
#include "pxtone/Renderer.h"

namespace dz {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

template <class Pred>
bool wait_for(Pred done, double seconds) {
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (Clock::now() > until) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

AudioFormat fmt(int channels = 2, int rate = 44100, int bits = 16, float buffer = 0.05f) {
    AudioFormat f;
    f.channels = channels;
    f.sample_rate = rate;
    f.bits = bits;
    f.buffer_seconds = buffer;
    return f;
}

PxtoneLibrary::DeviceFactory null_device() {
    return [] { return std::make_unique<NullAudioDevice>(); };
}

// Positions the callback received, with the time each arrived.
struct PositionLog {
    std::mutex mutex;
    std::vector<std::pair<double, int>> entries;
    Clock::time_point t0 = Clock::now();
    PositionCallback callback() {
        return [this](int clock) {
            std::lock_guard<std::mutex> g(mutex);
            entries.emplace_back(std::chrono::duration<double>(Clock::now() - t0).count(), clock);
            return 1;
        };
    }
    std::vector<std::pair<double, int>> take() {
        std::lock_guard<std::mutex> g(mutex);
        return entries;
    }
    std::size_t size() {
        std::lock_guard<std::mutex> g(mutex);
        return entries.size();
    }
};

// Renders `frames` frames of the file at `path` from `start` with the engine directly.
std::vector<std::int16_t> engine_render(const std::string& path, std::int64_t start, int frames,
                                        const pxtone::OutputFormat& format = {44100, 2, 16}) {
    auto loaded = pxtone::Project::load_file(path);
    EXPECT_TRUE(loaded) << loaded.error.message;
    if (!loaded) return {};
    pxtone::Renderer r(*loaded.project);
    EXPECT_TRUE(r.prepare(format));
    r.start(start);
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * format.channels);
    const int produced = r.render(out.data(), frames);
    out.resize(static_cast<std::size_t>(produced) * format.channels);
    return out;
}

std::vector<std::int16_t> wav_samples16(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> out;
    if (bytes.size() < 44) return out;
    out.resize((bytes.size() - 44) / 2);
    std::memcpy(out.data(), bytes.data() + 44, out.size() * 2);
    return out;
}

class PxtoneLibraryTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const auto& p : files_) std::filesystem::remove(p);
    }
    std::string tune(const pxtone::Project& p, const std::string& name) {
        const std::string path = test::write_tune(p, name);
        EXPECT_FALSE(path.empty());
        files_.push_back(path);
        return path;
    }
    std::string temp(const std::string& name) {
        files_.push_back(test::temp_path(name).string());
        return files_.back();
    }
    std::vector<std::string> files_;
};

TEST_F(PxtoneLibraryTest, LoadReportsTheTuneAndFailsCleanly) {
    pxtone::Project p = test::simple_tune(3, 150.0f);
    p.master.beats = 3;
    p.master.repeat_meas = 1;
    p.name = "\x83\x52\x83\x93";  // Shift-JIS bytes stay raw
    p.comment = "line 1\r\nline 2";
    p.update_measures();
    const std::string path = tune(p, "info.ptcop");

    PxtoneLibrary lib(null_device());
    lib.pxtone_Ready(fmt(), nullptr);
    EXPECT_EQ("null", lib.device_name());
    TuneInformation info;
    EXPECT_FALSE(lib.pxtone_Tune_GetInformation(info));
    EXPECT_FALSE(lib.pxtone_Tune_Start(0, 0, 1.0f)) << "nothing loaded";

    ASSERT_TRUE(lib.pxtone_Tune_Load(path)) << lib.load_error();
    ASSERT_TRUE(lib.pxtone_Tune_GetInformation(info));
    EXPECT_EQ(3, info.beats_per_measure);
    EXPECT_FLOAT_EQ(150.0f, info.tempo);
    EXPECT_EQ(480, info.clocks_per_beat);
    // Three notes of 1920 clocks in 3-beat measures end at clock 5760: 4 measures.
    EXPECT_EQ(4, info.measure_count);
    EXPECT_EQ(4, lib.pxtone_Tune_GetPlayMeas());
    EXPECT_EQ(1, lib.pxtone_Tune_GetRepeatMeas());
    EXPECT_EQ("\x83\x52\x83\x93", lib.pxtone_Tune_GetName());
    EXPECT_EQ("line 1\r\nline 2", lib.pxtone_Tune_GetComment());

    // A failed load leaves no tune loaded.
    EXPECT_FALSE(lib.pxtone_Tune_Load(temp("missing.ptcop")));
    EXPECT_FALSE(lib.load_error().empty());
    EXPECT_FALSE(lib.pxtone_Tune_GetInformation(info));
    EXPECT_EQ(0, lib.pxtone_Tune_GetPlayMeas());
    EXPECT_EQ("", lib.pxtone_Tune_GetName());
    EXPECT_FALSE(lib.pxtone_Tune_Start(0, 0, 1.0f));

    const std::string junk = temp("junk.ptcop");
    std::ofstream(junk) << "PTCOLLAGE-071119 this is not a tune";
    EXPECT_FALSE(lib.pxtone_Tune_Load(junk));
    EXPECT_FALSE(lib.pxtone_Tune_IsStreaming());
}

// Another thread reads a tune's details while the loaded tune plays on untouched.
TEST_F(PxtoneLibraryTest, DetailsAreReadBesideThePlayingTune) {
    pxtone::Project p = test::simple_tune(3, 150.0f);
    p.master.beats = 3;
    p.master.repeat_meas = 1;
    p.name = "Read";
    p.comment = "note";
    p.update_measures();
    const std::string path = tune(p, "details.ptcop");
    pxtone::Project q = test::simple_tune(40, 120.0f);
    q.name = "Playing";
    const std::string playing = tune(q, "playing.ptcop");
    const std::string junk = temp("junk2.ptcop");
    std::ofstream(junk) << "PTCOLLAGE-071119 this is not a tune";

    PxtoneLibrary lib(null_device());
    lib.pxtone_Ready(fmt(), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(playing));
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    std::optional<TuneDetails> read, missing, bad;
    std::thread reader([&] {
        read = lib.read_tune_details(path);
        missing = lib.read_tune_details(temp("missing2.ptcop"));
        bad = lib.read_tune_details(junk);
    });
    reader.join();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(3, read->info.beats_per_measure);
    EXPECT_FLOAT_EQ(150.0f, read->info.tempo);
    EXPECT_EQ(480, read->info.clocks_per_beat);
    EXPECT_EQ(4, read->info.measure_count);
    EXPECT_EQ(4, read->play_meas);
    EXPECT_EQ(1, read->repeat_meas);
    EXPECT_EQ("Read", read->name);
    EXPECT_EQ("note", read->comment);
    EXPECT_FALSE(missing.has_value());
    EXPECT_FALSE(bad.has_value());
    EXPECT_TRUE(lib.pxtone_Tune_IsStreaming());
    EXPECT_EQ("Playing", lib.pxtone_Tune_GetName());
    lib.pxtone_Tune_Stop();
}

TEST_F(PxtoneLibraryTest, FallsBackToTheNullDeviceWhenNoOutputOpens) {
    PxtoneLibrary no_device([] { return std::unique_ptr<AudioDevice>(); });
    no_device.pxtone_Ready(fmt(), nullptr);
    EXPECT_EQ("null", no_device.device_name());

    PxtoneLibrary failing([] { return std::make_unique<WavFileDevice>("/nonexistent-dir/x.wav"); });
    failing.pxtone_Reset(fmt(3, 44100, 24), nullptr);
    EXPECT_EQ("null", failing.device_name());
    EXPECT_EQ(2, failing.format().channels) << "unsupported values fall back to the defaults";
    EXPECT_EQ(16, failing.format().bits);
}

// A rate the engine cannot render (a settings file asking for 96000 Hz) plays at
// 44100 Hz instead of staying silent; 48000 Hz is kept.
TEST_F(PxtoneLibraryTest, RatesTheEngineCannotRenderPlayAt44100) {
    const std::string path = tune(test::simple_tune(1, 240.0f), "rate.ptcop");
    PxtoneLibrary lib(null_device());
    lib.pxtone_Ready(fmt(2, 96000), nullptr);
    EXPECT_EQ(44100, lib.format().sample_rate);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    EXPECT_TRUE(lib.pxtone_Tune_IsStreaming());
    lib.pxtone_Reset(fmt(2, 48000), nullptr);
    EXPECT_EQ(48000, lib.format().sample_rate);

    // The player counts positions at the rate that plays.
    tagPLAYER player(lib);
    player.sample_rate = 96000;
    player.reset_output();
    EXPECT_EQ(44100, player.sample_rate);
    EXPECT_EQ(44100, lib.format().sample_rate);
}

// A buffer length that is none (the Preferences text "abc" stores 0 seconds) or tiny
// still opens a device that plays: the default length, or the 10 ms minimum.
TEST_F(PxtoneLibraryTest, BuffersOfNoLengthOpenAWorkableDevice) {
    PxtoneLibrary lib(null_device());
    for (float none : {0.0f, -1.0f, std::nanf("")}) {
        lib.pxtone_Reset(fmt(2, 44100, 16, none), nullptr);
        EXPECT_FLOAT_EQ(0.1f, lib.format().buffer_seconds) << none;
    }
    lib.pxtone_Reset(fmt(2, 44100, 16, 0.0001f), nullptr);
    EXPECT_FLOAT_EQ(0.01f, lib.format().buffer_seconds);
    lib.pxtone_Reset(fmt(2, 44100, 16, 0.25f), nullptr);
    EXPECT_FLOAT_EQ(0.25f, lib.format().buffer_seconds);
}

// A device whose pulls the test makes itself.
class ManualDevice : public AudioDevice {
public:
    explicit ManualDevice(FillFunction* fill) : fill_(fill) {}
    bool open(const DeviceFormat& f, FillFunction fill) override {
        format_ = f;
        *fill_ = std::move(fill);
        return true;
    }
    bool start() override { return true; }
    void stop() override {}
    void close() override {}
    bool is_open() const override { return true; }
    const DeviceFormat& format() const override { return format_; }
    int buffer_frames() const override { return 10000; }
    std::string name() const override { return "manual"; }

private:
    FillFunction* fill_;
    DeviceFormat format_;
};

// The pull that renders the end of a tune hands its last buffer to the device; the tune
// is streaming until the next pull, when that buffer has played.
TEST_F(PxtoneLibraryTest, TheEndStreamsUntilTheLastBufferHasPlayed) {
    const std::string path = tune(test::simple_tune(1, 240.0f), "end.ptcop");  // 44100 samples
    FillFunction pull;
    PxtoneLibrary lib([&] { return std::make_unique<ManualDevice>(&pull); });
    lib.pxtone_Ready(fmt(), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    std::vector<std::uint8_t> buffer(10000 * 4);
    for (int i = 0; i < 5; ++i) {  // the fifth pull renders the last 4099 frames
        pull(buffer.data(), 10000);
        EXPECT_TRUE(lib.pxtone_Tune_IsStreaming()) << "pull " << i;
    }
    pull(buffer.data(), 10000);
    EXPECT_FALSE(lib.pxtone_Tune_IsStreaming());
}

// A device that opens but will not start: the start fails and nothing streams, so
// the player does not wait on silence.
TEST_F(PxtoneLibraryTest, ADeviceThatDoesNotStartIsNotPlaying) {
    struct NoStart : NullAudioDevice {
        bool start() override { return false; }
    };
    const std::string path = tune(test::simple_tune(1, 240.0f), "nostart.ptcop");
    PxtoneLibrary lib([] { return std::make_unique<NoStart>(); });
    lib.pxtone_Ready(fmt(), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    EXPECT_FALSE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    EXPECT_FALSE(lib.pxtone_Tune_IsStreaming());
}

// A one-second tune on the real-time null device: it streams for about a
// second, reports growing positions, and then stops streaming by itself.
TEST_F(PxtoneLibraryTest, NonLoopingTuneEndsOnTimeWithGrowingPositions) {
    const std::string path = tune(test::simple_tune(1, 240.0f), "once.ptcop");
    PositionLog log;
    PxtoneLibrary lib(null_device());
    lib.pxtone_Ready(fmt(2, 44100, 16, 0.05f), log.callback());
    ASSERT_TRUE(lib.pxtone_Tune_Load(path)) << lib.load_error();
    EXPECT_EQ(44100, lib.end_sample());
    lib.pxtone_Tune_SetLoop(false);
    const auto t0 = Clock::now();
    log.t0 = t0;
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    EXPECT_TRUE(lib.pxtone_Tune_IsStreaming());
    ASSERT_TRUE(wait_for([&] { return !lib.pxtone_Tune_IsStreaming(); }, 10.0));
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    EXPECT_GT(seconds, 0.7);
    EXPECT_LT(seconds, 3.0);

    const auto positions = log.take();
    ASSERT_GE(positions.size(), 10u) << "one report per 0.05 s buffer";
    for (std::size_t i = 1; i < positions.size(); ++i) {
        EXPECT_GE(positions[i].second, positions[i - 1].second);
    }
    EXPECT_EQ(1920, positions.back().second) << "the last report is the end clock";
    // Halfway through the wall-clock time the position is roughly halfway (960 clocks per
    // half second at 240 BPM); loose bounds.
    for (const auto& [t, clock] : positions) {
        if (t > 0.4 && t < 0.6) {
            EXPECT_GT(clock, 400);
            EXPECT_LT(clock, 1600);
        }
    }
    const std::size_t reports = log.size();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(reports, log.size()) << "no reports after the end";
    EXPECT_EQ(44100, lib.pxtone_Tune_Stop()) << "stop after the end returns the end sample";
}

TEST_F(PxtoneLibraryTest, LoopingTuneNeverEndsAndJumpsBack) {
    pxtone::Project p = test::simple_tune(2, 480.0f);  // 2 measures of 0.5 s
    p.master.repeat_meas = 1;
    const std::string path = tune(p, "loop.ptcop");
    PositionLog log;
    PxtoneLibrary lib(null_device());
    lib.pxtone_Ready(fmt(2, 22050, 16, 0.02f), log.callback());
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    lib.pxtone_Tune_SetLoop(true);
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    std::this_thread::sleep_for(2500ms);
    EXPECT_TRUE(lib.pxtone_Tune_IsStreaming());
    const int sample = lib.pxtone_Tune_Stop();
    EXPECT_FALSE(lib.pxtone_Tune_IsStreaming());
    EXPECT_GE(sample, lib.end_sample() / 2) << "after a loop the position is past the repeat";
    EXPECT_LE(sample, lib.end_sample());

    const auto positions = log.take();
    int jumps = 0;
    for (std::size_t i = 1; i < positions.size(); ++i) {
        if (positions[i].second < positions[i - 1].second) {
            ++jumps;
            EXPECT_GE(positions[i].second, 1920) << "loops restart at the repeat measure";
        }
    }
    EXPECT_GE(jumps, 2);
}

TEST_F(PxtoneLibraryTest, StopReturnsTheSampleReachedAndHaltsReports) {
    const std::string path = tune(test::simple_tune(8, 120.0f), "stop.ptcop");
    PositionLog log;
    PxtoneLibrary lib(null_device());
    lib.pxtone_Ready(fmt(2, 44100, 16, 0.05f), log.callback());
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    const auto t0 = Clock::now();
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    std::this_thread::sleep_for(500ms);
    const int sample = lib.pxtone_Tune_Stop();
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    EXPECT_GT(sample, 0.25 * 44100);
    EXPECT_LT(sample, (seconds + 0.2) * 44100);
    EXPECT_EQ(0, sample % 2205) << "whole 0.05 s buffers were rendered";
    EXPECT_FALSE(lib.pxtone_Tune_IsStreaming());
    const std::size_t reports = log.size();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(reports, log.size());
    EXPECT_EQ(sample, lib.pxtone_Tune_Stop()) << "a second stop reports the same sample";

    // Resuming continues from there.
    ASSERT_TRUE(lib.pxtone_Tune_Start(sample, 0, 1.0f));
    EXPECT_TRUE(wait_for([&] { return log.size() > reports; }, 2.0));
    const int later = lib.pxtone_Tune_Stop();
    EXPECT_GT(later, sample);
}

// Stop + start at the returned sample gives exactly what the engine gives for
// a render to that sample followed by a fresh start there (events caught up,
// held notes restarted). The WAV device records what the library streamed.
TEST_F(PxtoneLibraryTest, ResumeAtTheStopSampleMatchesTheEngine) {
    const std::string path = tune(test::simple_tune(6, 120.0f), "resume.ptcop");
    const std::string wav = temp("resume.wav");
    PxtoneLibrary lib([&] {
        return std::make_unique<WavFileDevice>(wav, ThreadedDevice::Pace::real_time, 0, 8.0);
    });
    lib.pxtone_Ready(fmt(2, 44100, 16, 0.05f), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    const int end = static_cast<int>(lib.end_sample());
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    std::this_thread::sleep_for(300ms);
    const int stop = lib.pxtone_Tune_Stop();
    ASSERT_GT(stop, 0);
    ASSERT_LT(stop, end);
    ASSERT_TRUE(lib.pxtone_Tune_Start(stop, 0, 1.0f));
    ASSERT_TRUE(wait_for([&] { return !lib.pxtone_Tune_IsStreaming(); }, 10.0));
    lib.pxtone_Release();

    std::vector<std::int16_t> expected = engine_render(path, 0, stop);
    const auto rest = engine_render(path, stop, end - stop);
    expected.insert(expected.end(), rest.begin(), rest.end());
    // The frame that reaches the end sample is not played.
    ASSERT_EQ(static_cast<std::size_t>(end - 1) * 2, expected.size());
    const auto got = wav_samples16(wav);
    ASSERT_GE(got.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin()));
    for (std::size_t i = expected.size(); i < got.size(); ++i) {
        ASSERT_EQ(0, got[i]) << "silence after the end, at " << i;
    }
}

// What the engine does at a mid-note start: a note held across the start
// sample restarts from its beginning, and events before the start apply.
// Checked against a tune where the same note starts fresh with those events.
TEST_F(PxtoneLibraryTest, SeekCatchesUpEventsAndRestartsHeldNotes) {
    pxtone::Project a;
    a.master.tempo = 120.0f;  // R = 45.9375 samples per clock
    a.woices.push_back(test::sine_woice());
    a.set_unit_count(1);
    a.add_event(0, 0, pxtone::EVENTKIND_ON, 1920 * 2);
    a.add_event(240, 0, pxtone::EVENTKIND_VOLUME, 60);
    a.add_event(240, 0, pxtone::EVENTKIND_KEY, 0x5800);
    a.update_measures();
    pxtone::Project b;  // the state at clock 480, from the start
    b.master.tempo = 120.0f;
    b.woices.push_back(test::sine_woice());
    b.set_unit_count(1);
    b.add_event(0, 0, pxtone::EVENTKIND_VOLUME, 60);
    b.add_event(0, 0, pxtone::EVENTKIND_KEY, 0x5800);
    b.add_event(0, 0, pxtone::EVENTKIND_ON, 1920 * 2 - 480);
    b.update_measures();
    const std::string path_a = tune(a, "seek_a.ptcop");
    const std::string path_b = tune(b, "seek_b.ptcop");
    const std::string wav = temp("seek.wav");

    PxtoneLibrary lib(
        [&] { return std::make_unique<WavFileDevice>(wav, ThreadedDevice::Pace::unpaced, 20000); });
    lib.pxtone_Ready(fmt(2, 44100, 16, 0.05f), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path_a));
    const int start = 480 * 45.9375;  // clock 480 exactly: 22050
    ASSERT_TRUE(lib.pxtone_Tune_Start(start, 0, 1.0f));
    std::this_thread::sleep_for(100ms);
    lib.pxtone_Release();

    const auto got = wav_samples16(wav);
    const auto fresh = engine_render(path_b, 0, 20000);
    ASSERT_EQ(40000u, got.size());
    ASSERT_EQ(40000u, fresh.size());
    EXPECT_TRUE(std::equal(fresh.begin(), fresh.end(), got.begin()));
    const auto direct = engine_render(path_a, start, 20000);
    EXPECT_TRUE(std::equal(direct.begin(), direct.end(), got.begin()));
    int loud = 0;
    for (auto s : got) loud += s > 1000 || s < -1000;
    EXPECT_GT(loud, 1000) << "the restarted note sounds";
}

TEST_F(PxtoneLibraryTest, NegativeStartPlaysFromTheBeginning) {
    const std::string path = tune(test::simple_tune(1, 240.0f), "negative.ptcop");
    const std::string wav = temp("negative.wav");
    PxtoneLibrary lib(
        [&] { return std::make_unique<WavFileDevice>(wav, ThreadedDevice::Pace::unpaced, 44100); });
    lib.pxtone_Ready(fmt(), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    ASSERT_TRUE(lib.pxtone_Tune_Start(-12345, 0, 1.0f));
    ASSERT_TRUE(wait_for([&] { return !lib.pxtone_Tune_IsStreaming(); }, 10.0));
    lib.pxtone_Release();
    const auto expected = engine_render(path, 0, 44100);
    const auto got = wav_samples16(wav);
    ASSERT_EQ(44099u * 2, expected.size());
    ASSERT_EQ(44100u * 2, got.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin()));
    EXPECT_EQ(0, got[88198]);
    EXPECT_EQ(0, got[88199]);
}

TEST_F(PxtoneLibraryTest, SetVolumeAppliesToTheRunningStream) {
    const std::string path = tune(test::simple_tune(8, 120.0f), "volume.ptcop");
    const std::string wav = temp("volume.wav");
    WavFileDevice* device = nullptr;
    PxtoneLibrary lib([&] {
        auto d = std::make_unique<WavFileDevice>(wav, ThreadedDevice::Pace::real_time, 0, 4.0);
        device = d.get();
        return d;
    });
    lib.pxtone_Ready(fmt(2, 44100, 16, 0.02f), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    ASSERT_TRUE(wait_for([&] { return device->frames_written() > 20000; }, 5.0));
    ASSERT_TRUE(lib.pxtone_Tune_SetVolume(0.0f));
    // A buffer rendered before the change may still be on its way to the file.
    const std::int64_t quiet_from = device->frames_written() + 882;
    ASSERT_TRUE(wait_for([&] { return device->frames_written() > quiet_from + 10000; }, 5.0));
    lib.pxtone_Tune_Stop();
    lib.pxtone_Release();

    const auto got = wav_samples16(wav);
    int loud_before = 0;
    for (std::size_t i = 0; i < 40000; ++i) loud_before += got[i] != 0;
    EXPECT_GT(loud_before, 20000);
    for (std::size_t i = quiet_from * 2; i < got.size(); ++i) ASSERT_EQ(0, got[i]) << i;
}

TEST_F(PxtoneLibraryTest, ResetKeepsTheTuneAndPlaysInTheNewFormat) {
    const std::string path = tune(test::simple_tune(1, 240.0f), "reset.ptcop");
    const std::string wav = temp("reset.wav");
    PxtoneLibrary lib(
        [&] { return std::make_unique<WavFileDevice>(wav, ThreadedDevice::Pace::unpaced, 22050); });
    lib.pxtone_Ready(fmt(), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    EXPECT_EQ(44100, lib.end_sample());
    lib.pxtone_Reset(fmt(1, 22050, 8), nullptr);
    EXPECT_EQ(22050, lib.end_sample());
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 0.5f));
    ASSERT_TRUE(wait_for([&] { return !lib.pxtone_Tune_IsStreaming(); }, 10.0));
    lib.pxtone_Release();

    auto loaded = pxtone::Project::load_file(path);
    ASSERT_TRUE(loaded);
    pxtone::Renderer r(*loaded.project);
    ASSERT_TRUE(r.prepare({22050, 1, 8}));
    r.set_master_volume(0.5f);
    r.start(0);
    std::vector<std::uint8_t> expected(22050);
    ASSERT_EQ(22049, r.render(expected.data(), 22050));  // the end frame is not played

    std::ifstream in(wav, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    ASSERT_EQ(44u + 22050u, bytes.size());
    EXPECT_EQ(1, bytes[22]);
    EXPECT_EQ(8, bytes[34]);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + 44));
    EXPECT_EQ(128, bytes.back()) << "8-bit silence after the end";
}

// The default output is SDL: with the disk driver the file receives exactly
// the engine's PCM (after the silence SDL writes while paused).
TEST_F(PxtoneLibraryTest, PlaysThroughSdlByDefault) {
    const std::string path = tune(test::simple_tune(1, 480.0f), "sdl.ptcop");
    const std::string raw = temp("sdl.raw");
    const char* old_driver = std::getenv("SDL_AUDIODRIVER");
    const std::string restore = old_driver ? old_driver : "";
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    {
        PxtoneLibrary lib;
        lib.pxtone_Ready(fmt(2, 44100, 16, 0.02f), nullptr);
        EXPECT_EQ("sdl:disk", lib.device_name());
        ASSERT_TRUE(lib.pxtone_Tune_Load(path));
        ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
        EXPECT_TRUE(wait_for([&] { return !lib.pxtone_Tune_IsStreaming(); }, 10.0));
        lib.pxtone_Release();
    }
    if (old_driver) {
        ::setenv("SDL_AUDIODRIVER", restore.c_str(), 1);
    } else {
        ::unsetenv("SDL_AUDIODRIVER");
    }
    ::unsetenv("SDL_DISKAUDIOFILE");

    const auto expected = engine_render(path, 0, 22050);
    std::ifstream in(raw, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::int16_t> got(bytes.size() / 2);
    std::memcpy(got.data(), bytes.data(), got.size() * 2);
    const auto first = [](const std::vector<std::int16_t>& v) {
        return std::find_if(v.begin(), v.end(), [](std::int16_t x) { return x != 0; }) - v.begin();
    };
    const auto e0 = first(expected);
    const auto g0 = first(got);
    ASSERT_LT(e0, static_cast<long>(expected.size()));
    ASSERT_LT(g0, static_cast<long>(got.size()));
    ASSERT_GE(got.size() - g0, expected.size() - e0);
    EXPECT_TRUE(std::equal(expected.begin() + e0, expected.end(), got.begin() + g0));
}

TEST_F(PxtoneLibraryTest, ReleaseIsSafeInAnyState) {
    const std::string path = tune(test::simple_tune(2, 120.0f), "release.ptcop");
    PxtoneLibrary lib(null_device());
    EXPECT_TRUE(lib.pxtone_Tune_Release());
    EXPECT_TRUE(lib.pxtone_Release());
    lib.pxtone_Ready(fmt(), nullptr);
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    // Loading again replaces the playing tune and stops it.
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    EXPECT_FALSE(lib.pxtone_Tune_IsStreaming());
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    EXPECT_TRUE(lib.pxtone_Tune_Release());
    EXPECT_FALSE(lib.pxtone_Tune_IsStreaming());
    EXPECT_FALSE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    EXPECT_TRUE(lib.pxtone_Release());
    EXPECT_EQ("", lib.device_name());
    // Usable again after a release: a start opens the output on demand.
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    EXPECT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    EXPECT_TRUE(lib.pxtone_Tune_IsStreaming());
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

// A device whose thread pulls from open to close, started or not, counting the pulls that
// complete while `watch` is set.
class FreeRunningDevice : public AudioDevice {
public:
    explicit FreeRunningDevice(std::atomic<bool>& watch, std::atomic<int>& pulls)
        : watch_(watch), pulls_(pulls) {}
    ~FreeRunningDevice() override { close(); }
    bool open(const DeviceFormat& format, FillFunction fill) override {
        close();
        format_ = format;
        running_ = true;
        thread_ = std::thread([this, fill = std::move(fill)] {
            std::vector<std::uint8_t> buffer(256 * 4);
            while (running_) {
                fill(buffer.data(), 256);
                if (watch_) ++pulls_;
                std::this_thread::sleep_for(1ms);
            }
        });
        return true;
    }
    bool start() override { return thread_.joinable(); }
    void stop() override {}
    void close() override {
        running_ = false;
        if (thread_.joinable()) thread_.join();
    }
    bool is_open() const override { return thread_.joinable(); }
    const DeviceFormat& format() const override { return format_; }
    int buffer_frames() const override { return 256; }
    std::string name() const override { return "free"; }

private:
    std::atomic<bool>& watch_;
    std::atomic<int>& pulls_;
    DeviceFormat format_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

// Preparing a tune for a new format builds its envelope tables, here 134 MB of them: the
// device thread must not wait on the library's lock meanwhile.
TEST_F(PxtoneLibraryTest, ResetPreparesTheTuneWithoutBlockingTheDevice) {
    pxtone::Project p = test::simple_tune(2, 120.0f);
    pxtone::Voice v = p.woices[0].voices[0];
    v.data_flags = pxtone::DATAFLAG_WAVE | pxtone::DATAFLAG_ENVELOPE;
    v.env_fps = 1;
    v.env_head = {{699, 128}};
    p.woices[0] = pxtone::Woice::make_ptv({v});
    const std::string path = tune(p, "big_envelope.ptcop");
    std::atomic<bool> watch{false};
    std::atomic<int> pulls{0}, first_device_pulls{0};
    int made = 0;
    // Only the device opened by the Reset counts: the first one pulls until Reset closes it.
    PxtoneLibrary lib([&] {
        return std::make_unique<FreeRunningDevice>(watch, ++made == 1 ? first_device_pulls : pulls);
    });
    ASSERT_TRUE(lib.pxtone_Ready(fmt(2, 22050), nullptr));
    ASSERT_TRUE(lib.pxtone_Tune_Load(path)) << lib.load_error();
    watch = true;
    ASSERT_TRUE(lib.pxtone_Reset(fmt(2, 48000), nullptr));
    watch = false;
    EXPECT_EQ(lib.end_sample(), 2 * 2 * 48000);
    EXPECT_EQ(made, 2);
    EXPECT_GE(pulls.load(), 30) << "the device thread waited while the tune was prepared";
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    ASSERT_TRUE(lib.pxtone_Tune_IsStreaming());
    lib.pxtone_Release();
}

// A null device whose open waits until the test lets it go, and counts opens and closes.
struct GatedDevices {
    std::mutex mutex;
    std::condition_variable cv;
    bool released = false;
    int opened = 0, closed = 0;
    void release() {
        std::lock_guard<std::mutex> g(mutex);
        released = true;
        cv.notify_all();
    }
    PxtoneLibrary::DeviceFactory factory() {
        struct Gated : NullAudioDevice {
            GatedDevices* owner;
            explicit Gated(GatedDevices* o) : owner(o) {}
            bool open(const DeviceFormat& f, FillFunction fill) override {
                std::unique_lock<std::mutex> g(owner->mutex);
                owner->cv.wait_for(g, 10s, [this] { return owner->released; });
                ++owner->opened;
                return NullAudioDevice::open(f, std::move(fill));
            }
            void close() override {
                if (is_open()) {
                    std::lock_guard<std::mutex> g(owner->mutex);
                    ++owner->closed;
                }
                NullAudioDevice::close();
            }
            ~Gated() override { close(); }
        };
        return [this] { return std::make_unique<Gated>(this); };
    }
};

// Opening a sound card can take long: Ready and Reset return while the device is still
// opening, a Reset in the same format keeps that opening, and a Start waits for it and plays.
TEST_F(PxtoneLibraryTest, TheDeviceOpensWhileTheCallerGoesOn) {
    const std::string path = tune(test::simple_tune(2, 240.0f), "gated.ptcop");
    GatedDevices gate;
    PositionLog log;
    {
        PxtoneLibrary lib(gate.factory());
        lib.pxtone_Ready(fmt(), log.callback());
        lib.pxtone_Reset(fmt(), log.callback());
        ASSERT_TRUE(lib.pxtone_Tune_Load(path));
        {
            std::lock_guard<std::mutex> g(gate.mutex);
            EXPECT_EQ(gate.opened, 0) << "Ready and Reset waited for the device";
        }
        std::thread releaser([&gate] {
            std::this_thread::sleep_for(50ms);
            gate.release();
        });
        EXPECT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
        releaser.join();
        EXPECT_TRUE(wait_for([&] { return log.size() > 0; }, 5)) << "the start played nothing";
        std::lock_guard<std::mutex> g(gate.mutex);
        EXPECT_EQ(gate.opened, 1) << "a Reset in the same format opened a second device";
    }
    EXPECT_EQ(gate.closed, 1);

    // A Reset in another format while the first device is still opening: that device is
    // closed, and the tune plays in the new format.
    GatedDevices second;
    {
        PxtoneLibrary lib(second.factory());
        lib.pxtone_Ready(fmt(), nullptr);
        lib.pxtone_Reset(fmt(1, 22050, 8), log.callback());
        second.release();
        ASSERT_TRUE(lib.pxtone_Tune_Load(path));
        EXPECT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
        EXPECT_EQ(lib.output_format().sample_rate, 22050);
        std::lock_guard<std::mutex> g(second.mutex);
        EXPECT_EQ(second.opened, 2);
        EXPECT_EQ(second.closed, 1) << "the device the Reset replaced stayed open";
    }
    EXPECT_EQ(second.closed, 2);
}

TEST_F(PxtoneLibraryTest, LoadingADirectoryOrADeviceFailsCleanly) {
    PxtoneLibrary lib(null_device());
    ASSERT_TRUE(lib.pxtone_Ready(fmt(), nullptr));
    EXPECT_FALSE(lib.pxtone_Tune_Load(std::filesystem::temp_directory_path().string()));
    EXPECT_EQ(lib.load_error(), "not a regular file");
    EXPECT_FALSE(lib.pxtone_Tune_Load("/dev/zero"));
    EXPECT_EQ(lib.load_error(), "not a regular file");
    EXPECT_FALSE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    lib.pxtone_Release();
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

// A WAV device that reports a loss when told; the devices made after the first wait in
// open until the test lets them go.
struct LosableWavs {
    std::vector<std::string> paths;
    std::atomic<bool> lose{false};
    std::mutex mutex;
    std::condition_variable cv;
    bool released = false;
    int made = 0;
    void release() {
        std::lock_guard<std::mutex> g(mutex);
        released = true;
        cv.notify_all();
    }
    PxtoneLibrary::DeviceFactory factory() {
        struct Wav : WavFileDevice {
            LosableWavs* owner;
            bool first;
            Wav(LosableWavs* o, const std::string& path, bool f)
                : WavFileDevice(path, Pace::real_time, 0, 8.0), owner(o), first(f) {}
            ~Wav() override { close(); }
            bool open(const DeviceFormat& f, FillFunction fill) override {
                if (!first) {
                    std::unique_lock<std::mutex> g(owner->mutex);
                    owner->cv.wait_for(g, 10s, [this] { return owner->released; });
                }
                return WavFileDevice::open(f, std::move(fill));
            }
            bool is_lost() const override { return first && owner->lose; }
        };
        return [this] {
            const std::size_t n = static_cast<std::size_t>(made++);
            return std::make_unique<Wav>(this, paths.at(n), n == 0);
        };
    }
};

// The output is lost mid-tune: the stream holds (still streaming, no positions), the
// output is reopened in the background, and the tune goes on from the sample reached:
// what the two devices received is the engine's render from 0 without a gap or a repeat.
TEST_F(PxtoneLibraryTest, ALostOutputHoldsAndResumesAtTheSampleReached) {
    const std::string path = tune(test::simple_tune(6, 120.0f), "lost.ptcop");
    LosableWavs wavs;
    wavs.paths = {temp("lost_a.wav"), temp("lost_b.wav")};
    PositionLog log;
    PxtoneLibrary lib(wavs.factory());
    lib.pxtone_Ready(fmt(2, 44100, 16, 0.05f), log.callback());
    ASSERT_TRUE(lib.pxtone_Tune_Load(path));
    const int end = static_cast<int>(lib.end_sample());
    ASSERT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    ASSERT_EQ(lib.poll_output(), OutputStatus::ok);
    ASSERT_TRUE(wait_for([&] { return log.size() >= 5; }, 5));

    wavs.lose = true;
    EXPECT_EQ(lib.poll_output(), OutputStatus::lost);
    const std::size_t reports = log.size();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(lib.poll_output(), OutputStatus::lost) << "the reopening waits for the test";
    EXPECT_TRUE(lib.pxtone_Tune_IsStreaming()) << "a held tune has not ended";
    EXPECT_EQ(log.size(), reports) << "positions went on over a lost output";

    wavs.release();
    EXPECT_TRUE(wait_for([&] { return lib.poll_output() == OutputStatus::ok; }, 5));
    EXPECT_EQ(lib.device_name(), "wav:" + wavs.paths[1]);
    ASSERT_TRUE(wait_for([&] { return !lib.pxtone_Tune_IsStreaming(); }, 10));
    lib.pxtone_Release();

    std::vector<std::int16_t> got = wav_samples16(wavs.paths[0]);
    const std::size_t before = got.size();
    const auto rest = wav_samples16(wavs.paths[1]);
    got.insert(got.end(), rest.begin(), rest.end());
    const auto expected = engine_render(path, 0, end);
    ASSERT_GT(before, 0u);
    ASSERT_LT(before, expected.size()) << "the loss came after the end";
    ASSERT_GE(got.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin()));
}

}  // namespace
}  // namespace dz

namespace dz {
namespace {

// The looped play of `path` as ptrender renders it with --loops and --fade.
std::vector<std::int16_t> looped_render(const std::string& path, int loops, int fade_seconds) {
    auto loaded = pxtone::Project::load_file(path);
    EXPECT_TRUE(loaded);
    if (!loaded) return {};
    pxtone::Renderer r(*loaded.project);
    EXPECT_TRUE(r.prepare({44100, 2, 16}));
    const auto total = pxtone::play_frames(r.end_sample(), r.repeat_sample(), 0, loops);
    const auto looping = pxtone::looping_frames(r.end_sample(), r.repeat_sample(), 0, loops);
    const auto fade = pxtone::fade_frames(fade_seconds, 44100, total);
    std::vector<std::int16_t> out(static_cast<std::size_t>(total) * 2);
    r.set_loop(looping > 0);
    r.start(0);
    int done = r.render(out.data(), static_cast<int>(looping));
    r.set_loop(false);
    done += r.render(out.data() + static_cast<std::ptrdiff_t>(done) * 2,
                     static_cast<int>(total - done));
    EXPECT_EQ(total, done);
    pxtone::apply_fade(out.data(), static_cast<int>(total), 2, 16, 0, total, fade);
    return out;
}

pxtone::Project looping_tune() {
    pxtone::Project p = test::simple_tune(3, 240.0f);  // 1 s measures
    p.master.repeat_meas = 1;
    p.update_measures();
    return p;
}

// The library's output, from an unpaced WAV device, of `first` played with `loops` and
// `fade`, followed by whatever it hands over to.
struct Capture {
    std::vector<std::int16_t> samples;
    int handovers = 0;
};

// Plays `first` through an unpaced WAV device until the stream ends; `setup` runs before the
// start (asking for next tunes).
template <class Setup>
Capture play_through(const std::string& wav, const std::string& first, int loops, int fade,
                     Setup setup) {
    Capture c;
    PxtoneLibrary lib(
        [&] { return std::make_unique<WavFileDevice>(wav, ThreadedDevice::Pace::unpaced); });
    lib.pxtone_Ready(fmt(2, 44100, 16, 0.05f), nullptr);
    lib.set_play_plan(loops, fade);
    EXPECT_TRUE(lib.pxtone_Tune_Load(first)) << lib.load_error();
    setup(lib);
    EXPECT_TRUE(lib.pxtone_Tune_Start(0, 0, 1.0f));
    EXPECT_TRUE(wait_for([&] { return !lib.pxtone_Tune_IsStreaming(); }, 60.0));
    c.handovers = lib.handovers();
    lib.pxtone_Release();
    c.samples = wav_samples16(wav);
    return c;
}

// Exactly `expected`, then silence.
void expect_output(const std::vector<std::int16_t>& expected, const Capture& c) {
    ASSERT_GE(c.samples.size(), expected.size());
    std::size_t first_diff = 0;
    while (first_diff < expected.size() && expected[first_diff] == c.samples[first_diff])
        ++first_diff;
    EXPECT_EQ(expected.size(), first_diff) << "the output differs from frame " << first_diff / 2;
    for (std::size_t i = expected.size(); i < c.samples.size(); ++i)
        ASSERT_EQ(0, c.samples[i]) << "silence after the end, at frame " << i / 2;
}

TEST_F(PxtoneLibraryTest, LoopsFadeAndTheNextTuneFollowSampleForSample) {
    const std::string a = tune(looping_tune(), "loops-a.ptcop");
    const std::string b = tune(test::simple_tune(2, 300.0f), "loops-b.ptcop");
    const std::string wav = temp("loops.wav");

    // The default plan plays the tune once, as the engine does, and nothing follows.
    Capture once = play_through(wav, a, 1, 0, [](PxtoneLibrary&) {});
    expect_output(engine_render(a, 0, 3 * 44100), once);
    EXPECT_EQ(0, once.handovers);

    // Two passes of the loop part with a 1 s fade-out, then the next tune from its first
    // sample, in the same stream, played the same way.
    Capture two = play_through(wav, a, 2, 1, [&](PxtoneLibrary& lib) {
        lib.set_next_tune(b);
        ASSERT_TRUE(wait_for([&] { return lib.next_ready(); }, 30.0));
    });
    std::vector<std::int16_t> expected = looped_render(a, 2, 1);
    ASSERT_EQ(std::size_t{5 * 44100 - 1} * 2, expected.size());
    const auto next = looped_render(b, 2, 1);
    expected.insert(expected.end(), next.begin(), next.end());
    expect_output(expected, two);
    EXPECT_EQ(1, two.handovers);
}

// A next tune asked for and then replaced or dropped never plays.
TEST_F(PxtoneLibraryTest, AReplacedOrDroppedNextTuneDoesNotPlay) {
    const std::string a = tune(test::simple_tune(1, 240.0f), "drop-a.ptcop");
    const std::string b = tune(test::simple_tune(2, 300.0f), "drop-b.ptcop");
    const std::string c = tune(test::simple_tune(1, 180.0f), "drop-c.ptcop");
    const std::string wav = temp("drop.wav");

    Capture replaced = play_through(wav, a, 1, 0, [&](PxtoneLibrary& lib) {
        lib.set_next_tune(b);
        ASSERT_TRUE(wait_for([&] { return lib.next_ready(); }, 30.0));
        lib.set_next_tune(c);
        ASSERT_TRUE(wait_for([&] { return lib.next_ready(); }, 30.0));
    });
    std::vector<std::int16_t> expected = engine_render(a, 0, 44100);
    const auto tail = engine_render(c, 0, 2 * 44100);
    expected.insert(expected.end(), tail.begin(), tail.end());
    expect_output(expected, replaced);

    Capture dropped = play_through(wav, a, 1, 0, [&](PxtoneLibrary& lib) {
        lib.set_next_tune(b);
        ASSERT_TRUE(wait_for([&] { return lib.next_ready(); }, 30.0));
        lib.set_next_tune({});
    });
    expect_output(engine_render(a, 0, 44100), dropped);
    EXPECT_EQ(0, dropped.handovers);
}

}  // namespace
}  // namespace dz
