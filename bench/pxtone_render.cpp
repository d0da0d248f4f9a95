// Rendering speed of the pxtone engine on a heavy song built here with our writer: 24 units
// over every woice kind (PCM, PTV coordinate and overtone with envelopes, PTN, OGGV), two
// delays and two overdrives, 32 measures of dense notes at 150 BPM.
// Counters: frames_per_second and realtime_factor (seconds of audio per second of work).

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "pxtone/Project.h"
#include "pxtone/Renderer.h"
#include "pxtone/Writer.h"

namespace {

using namespace pxtone;

std::vector<uint8_t> ogg_stream() {
    const auto path = std::filesystem::path(DEZIDU_SOURCE_DIR) / "tests" / "pxtone" / "data" /
                      "tone_stereo44k.ogg";
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

Woice pcm_woice(int frames, double freq, bool loop, int rate) {
    PcmSource pcm;
    pcm.channels = 1;
    pcm.bits = 16;
    pcm.rate = rate;
    for (int i = 0; i < frames; ++i) {
        const double env = loop ? 1.0 : std::exp(-6.0 * i / frames);
        const int16_t s = static_cast<int16_t>(12000 * env * std::sin(2 * M_PI * freq * i / rate));
        pcm.data.push_back(static_cast<uint8_t>(s & 0xFF));
        pcm.data.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
    return Woice::make_pcm(pcm, 0x4500,
                           loop ? VOICEFLAG_WAVELOOP | VOICEFLAG_SMOOTH : VOICEFLAG_SMOOTH);
}

Voice ptv_voice(bool overtone, int release) {
    Voice v;
    v.basic_key = 0x2D00;
    v.voice_flags = VOICEFLAG_WAVELOOP | VOICEFLAG_SMOOTH;
    v.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    if (overtone) {
        v.wave_type = 1;
        v.wave = {{1, 128}, {2, 40}, {3, 30}, {5, -20}};
    } else {
        v.wave_type = 0;
        v.resolution = 200;
        v.wave = {{0, 0}, {40, 110}, {100, 20}, {160, -110}};
    }
    v.env_fps = 100;
    v.env_head = {{1, 128}, {20, 90}};
    v.env_release = release;
    return v;
}

Woice noise_woice(int type, float freq, int ms) {
    NoiseDesign d;
    d.frames = 44100 * ms / 1000;
    NoiseUnit u;
    u.envelope = {{0, 100}, {ms, 0}};
    u.main = {type, false, freq, 100.0f, 0.0f};
    u.freq = {1, false, 30.0f, 20.0f, 0.0f};
    u.volume = {7, false, 8.0f, 50.0f, 0.0f};
    d.units.push_back(u);
    NoiseUnit v = u;
    v.main = {1, false, 80.0f, 100.0f, 0.0f};
    v.pan = -30;
    d.units.push_back(v);
    return Woice::make_ptn(d);
}

std::vector<uint8_t> heavy_song_file() {
    Project p;
    p.name = "bench";
    p.master.tempo = 150.0f;
    p.woices.push_back(pcm_woice(400, 110.25, true, 44100));
    p.woices.push_back(pcm_woice(11025, 60, false, 22050));
    p.woices.push_back(Woice::make_ptv({ptv_voice(true, 30), ptv_voice(false, 20)}));
    p.woices.push_back(Woice::make_ptv({ptv_voice(false, 10)}));
    p.woices.push_back(noise_woice(4, 4000.0f, 120));
    p.woices.push_back(noise_woice(8, 9000.0f, 60));
    p.woices.push_back(Woice::make_oggv(ogg_stream(), 0x4500, VOICEFLAG_SMOOTH));
    const int units = 24;
    p.set_unit_count(units);
    p.delays.push_back({0, 1, 40.0f, 3.0f});
    p.delays.push_back({2, 2, 30.0f, 5.0f});
    p.overdrives.push_back({1, 80.0f, 2.0f});
    p.overdrives.push_back({3, 90.0f, 4.0f});
    const int meas = 32, step = 120;  // sixteenth notes
    for (int u = 0; u < units; ++u) {
        const int woice = u % static_cast<int>(p.woices.size());
        p.add_event(0, u, EVENTKIND_VOICENO, woice);
        p.add_event(0, u, EVENTKIND_GROUPNO, u % 4);
        p.add_event(0, u, EVENTKIND_PAN_VOLUME, 20 + (u * 11) % 90);
        p.add_event(0, u, EVENTKIND_PAN_TIME, 54 + (u * 7) % 20);
        p.add_event(0, u, EVENTKIND_VOLUME, 70);
        if (u % 5 == 0) p.add_event(0, u, EVENTKIND_PORTAMENT, 30);
        for (int c = (u % 3) * 40; c < meas * 4 * 480; c += step * (1 + u % 3)) {
            p.add_event(c, u, EVENTKIND_KEY, 0x4800 + ((c / step * 5 + u * 3) % 24) * 0x100);
            p.add_event(c, u, EVENTKIND_ON, step * (1 + u % 2));
        }
    }
    p.update_measures();
    return write_file(p);
}

const std::vector<uint8_t>& song_bytes() {
    static const std::vector<uint8_t> bytes = heavy_song_file();
    return bytes;
}

void BM_Load(benchmark::State& state) {
    for (auto _ : state) {
        LoadResult r = Project::load(song_bytes());
        if (!r) state.SkipWithError(r.error.message.c_str());
        benchmark::DoNotOptimize(r.project);
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// Loading a small file that holds many long noise woices: 100 designs of 4 units and
// 480000 frames each (the most a design can ask for), all alike or all different.
std::vector<uint8_t> many_noises_file(bool alike) {
    Project p;
    for (int w = 0; w < 100; ++w) {
        NoiseDesign d;
        d.frames = 480000;
        for (int u = 0; u < 4; ++u) {
            NoiseUnit unit;
            unit.envelope = {{0, 100}, {10000, 50}};
            unit.main = {1 + u, false, alike ? 440.0f : 440.0f + w, 100.0f, 0.0f};
            unit.freq = {2, false, 3.0f, 10.0f, 0.0f};
            unit.volume = {7, false, 5.0f, 50.0f, 0.0f};
            d.units.push_back(unit);
        }
        p.woices.push_back(Woice::make_ptn(d));
    }
    p.set_unit_count(1);
    p.update_measures();
    return write_file(p);
}

void BM_LoadManyNoises(benchmark::State& state) {
    const std::vector<uint8_t> bytes = many_noises_file(state.range(0) != 0);
    for (auto _ : state) {
        LoadResult r = Project::load(bytes);
        if (!r) state.SkipWithError(r.error.message.c_str());
        benchmark::DoNotOptimize(r.project);
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_LoadManyNoises)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Render(benchmark::State& state) {
    LoadResult r = Project::load(song_bytes());
    if (!r) {
        state.SkipWithError(r.error.message.c_str());
        return;
    }
    const OutputFormat fmt{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 16};
    Renderer renderer(*r.project);
    renderer.prepare(fmt);
    std::vector<int16_t> buffer(4096 * 2);
    int64_t frames = 0;
    for (auto _ : state) {
        renderer.start(0);
        int n;
        while ((n = renderer.render(buffer.data(), 4096)) == 4096) frames += n;
        frames += n;
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["realtime_factor"] =
        benchmark::Counter(static_cast<double>(frames) / fmt.rate, benchmark::Counter::kIsRate);
    state.counters["song_seconds"] = static_cast<double>(renderer.end_sample()) / fmt.rate;
}
BENCHMARK(BM_Render)
    ->Args({44100, 2})
    ->Args({44100, 1})
    ->Args({48000, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
