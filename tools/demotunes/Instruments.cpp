#include "Instruments.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace dz::demo {
namespace {

using pxtone::Point;

// A PTV voice from overtones (harmonic, amplitude) with an optional envelope.
// Basic key 0x2D00: the 400-frame table sounds A4 (441 Hz) at key 0x6000.
pxtone::Voice ptv_voice(std::vector<Point> overtones, int volume, int pan, float tuning,
                        std::vector<Point> envelope_head, int release_ms) {
    pxtone::Voice v;
    v.basic_key = 0x2D00;
    v.volume = volume;
    v.pan = pan;
    v.tuning = tuning;
    v.voice_flags = pxtone::VOICEFLAG_WAVELOOP | pxtone::VOICEFLAG_SMOOTH;
    v.data_flags = pxtone::DATAFLAG_WAVE;
    v.wave_type = 1;
    v.wave = std::move(overtones);
    if (!envelope_head.empty()) {
        v.data_flags |= pxtone::DATAFLAG_ENVELOPE;
        v.env_fps = 1000;  // envelope times in milliseconds
        v.env_head = std::move(envelope_head);
        v.env_release = release_ms;
    }
    return v;
}

pxtone::NoiseOscillator osc(int type, float freq, float volume, float offset = 0) {
    pxtone::NoiseOscillator o;
    o.type = type;
    o.freq = freq;
    o.volume = volume;
    o.offset = offset;
    return o;
}

// Noise wave types.
constexpr int kSine = 1, kSaw = 2, kRandom = 4;

}  // namespace

pxtone::Woice bell_lead() {
    return pxtone::Woice::make_ptv({ptv_voice({{1, 110}, {2, 36}, {3, 20}, {4, 10}, {6, 5}}, 112,
                                              64, 1.0f, {{6, 128}, {260, 72}, {2500, 36}}, 220)});
}

pxtone::Woice soft_pad() {
    const std::vector<Point> wave = {{1, 96}, {2, 44}, {3, 26}, {4, 10}, {5, 8}};
    const std::vector<Point> env = {{420, 112}, {900, 96}};
    return pxtone::Woice::make_ptv(
        {ptv_voice(wave, 72, 40, 1.0f, env, 650), ptv_voice(wave, 72, 88, 1.0045f, env, 650)});
}

pxtone::Woice round_bass() {
    return pxtone::Woice::make_ptv(
        {ptv_voice({{1, 128}, {2, 52}, {3, 18}}, 120, 64, 1.0f, {{4, 128}, {380, 92}}, 90)});
}

pxtone::Woice square_pluck() {
    return pxtone::Woice::make_ptv({ptv_voice({{1, 110}, {3, 36}, {5, 20}, {7, 10}}, 96, 64, 1.0f,
                                              {{3, 128}, {160, 44}, {600, 0}}, 60)});
}

pxtone::Woice saw_lead() {
    std::vector<Point> saw;
    for (int h = 1; h <= 9; ++h) saw.push_back({h, 100});  // amplitude falls as 1/h
    return pxtone::Woice::make_ptv(
        {ptv_voice(saw, 88, 64, 1.0f, {{10, 128}, {300, 100}, {1500, 80}}, 160)});
}

pxtone::Woice power_tone() {
    return pxtone::Woice::make_ptv(
        {ptv_voice({{1, 128}, {2, 90}, {3, 60}, {4, 40}, {5, 24}}, 128, 64, 1.0f,
                   {{2, 128}, {800, 116}}, 40),
         ptv_voice({{1, 128}, {2, 70}, {3, 40}}, 96, 64, 0.996f, {{2, 128}, {800, 116}}, 40)});
}

pxtone::Woice kick() {
    pxtone::NoiseDesign d;
    d.frames = 44100 * 22 / 100;
    pxtone::NoiseUnit u;
    u.envelope = {{1, 100}, {60, 80}, {150, 0}};
    u.main = osc(kSine, 52.0f, 190.0f);
    // A falling saw bends the pitch down by about 20 semitones over the hit.
    u.freq = osc(kSaw, 2.2f, 40.0f);
    d.units.push_back(u);
    return pxtone::Woice::make_ptn(d);
}

pxtone::Woice snare() {
    pxtone::NoiseDesign d;
    d.frames = 44100 * 18 / 100;
    pxtone::NoiseUnit noise;
    noise.envelope = {{1, 90}, {150, 0}};
    noise.main = osc(kRandom, 26000.0f, 120.0f);
    pxtone::NoiseUnit body;
    body.envelope = {{1, 100}, {70, 0}};
    body.main = osc(kSine, 185.0f, 120.0f);
    d.units = {noise, body};
    return pxtone::Woice::make_ptn(d);
}

pxtone::Woice hat() {
    pxtone::NoiseDesign d;
    d.frames = 44100 * 7 / 100;
    pxtone::NoiseUnit u;
    u.envelope = {{1, 70}, {55, 0}};
    u.pan = 20;
    u.main = osc(kRandom, 44100.0f, 90.0f);
    d.units.push_back(u);
    return pxtone::Woice::make_ptn(d);
}

pxtone::Woice string_pluck() {
    // Karplus-Strong: a 100-sample line of noise, averaged as it recirculates; the averaging
    // adds half a sample to the period, 44100 / 100.5 = 438.8 Hz, close to A4.
    constexpr int period = 100;
    constexpr int frames = 44100 * 9 / 10;
    std::vector<double> line(period);
    std::uint32_t seed = 0x2545F491u;
    for (double& x : line) {
        seed = seed * 1664525u + 1013904223u;
        x = static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
    }
    std::vector<double> out(frames);
    double previous = 0;
    for (int i = 0; i < frames; ++i) {
        double& x = line[static_cast<std::size_t>(i % period)];
        out[static_cast<std::size_t>(i)] = x;
        const double next = 0.5 * (x + previous) * 0.998;
        previous = x;
        x = next;
    }
    double peak = 0;
    for (double x : out) peak = std::max(peak, std::abs(x));
    pxtone::PcmSource pcm;
    pcm.channels = 1;
    pcm.bits = 16;
    pcm.rate = 44100;
    pcm.data.reserve(frames * 2);
    for (int i = 0; i < frames; ++i) {
        double x = out[static_cast<std::size_t>(i)] / peak * 0.85;
        const int tail = frames - i;
        if (tail < 441) x *= tail / 441.0;  // no click at the end
        const auto s = static_cast<std::int16_t>(std::lround(x * 32767));
        pcm.data.push_back(static_cast<std::uint8_t>(s & 0xFF));
        pcm.data.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
    }
    return pxtone::Woice::make_pcm(std::move(pcm), 0x4500, pxtone::VOICEFLAG_SMOOTH);
}

}  // namespace dz::demo
