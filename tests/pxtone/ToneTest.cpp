// Tone preparation: PCM conversion, PTV wave tables and envelopes, PTN noise.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "TestSongs.h"
#include "pxtone/ToneBuilder.h"

namespace pxtone {
namespace {

TEST(Pcm, MonoEightBitBecomesStereoSixteenBit) {
    const std::vector<uint8_t> data = {0, 128, 255, 1};
    std::vector<int16_t> out;
    ASSERT_TRUE(convert_pcm(data, 1, 8, 44100, out));
    EXPECT_EQ(out, (std::vector<int16_t>{-32768, -32768, 0, 0, 32512, 32512, -32512, -32512}));
}

TEST(Pcm, StereoSixteenBitStaysAndOddBytesAreDropped) {
    const std::vector<uint8_t> data = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x33};
    std::vector<int16_t> out;
    ASSERT_TRUE(convert_pcm(data, 2, 16, 44100, out));
    EXPECT_EQ(out, (std::vector<int16_t>{1, -1, -32768, 32767}));
}

TEST(Pcm, RateConversionRepeatsFrames) {
    // 2500 frames at 11025 Hz become 10000 frames, each source frame 4 times.
    std::vector<int16_t> src = test::ramp(2500);
    PcmSource p = test::pcm16(src, 1, 11025);
    std::vector<int16_t> out;
    ASSERT_TRUE(convert_pcm(p.data, 1, 16, 11025, out));
    ASSERT_EQ(out.size(), 20000u);
    for (int a = 0; a < 10000; ++a) ASSERT_EQ(out[static_cast<size_t>(a) * 2], a / 4) << a;
    // 3 frames at 22050: ceil(12 * 2) = 24 bytes -> 6 frames.
    p = test::pcm16({10, 20, 30}, 1, 22050);
    ASSERT_TRUE(convert_pcm(p.data, 1, 16, 22050, out));
    EXPECT_EQ(out, (std::vector<int16_t>{10, 10, 10, 10, 20, 20, 20, 20, 30, 30, 30, 30}));
    // 5 frames at 48000: ceil(20 * 44100 / 48000) = 19 bytes -> 4 frames; frame a takes
    // trunc(a * 48000 / 44100).
    p = test::pcm16({0, 1, 2, 3, 4}, 1, 48000);
    ASSERT_TRUE(convert_pcm(p.data, 1, 16, 48000, out));
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 1, 1, 2, 2, 3, 3}));
}

TEST(Ptv, OvertoneTable) {
    Voice v = test::overtone_voice(1, 128);
    std::vector<int16_t> t;
    build_ptv_table(v, t);
    ASSERT_EQ(t.size(), 800u);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[100 * 2], 32767);
    EXPECT_EQ(t[300 * 2], -32767);
    const double pi = 3.1415926535897932;
    EXPECT_EQ(t[37 * 2], static_cast<int16_t>(std::sin(((2 * pi * 1) * 37) / 400.0) * 32767));
    // Harmonic 2 at amplitude 64 and volume 64: y / x / 128 * V / 128 = 0.125 peak.
    v = test::overtone_voice(2, 64);
    v.volume = 64;
    build_ptv_table(v, t);
    EXPECT_EQ(t[50 * 2], static_cast<int16_t>(0.125 * 32767));
    // Pan bakes into the table: pan 96 halves the left channel.
    v = test::overtone_voice(1, 128);
    v.pan = 96;
    build_ptv_table(v, t);
    EXPECT_EQ(t[100 * 2], 16383);
    EXPECT_EQ(t[100 * 2 + 1], 32767);
    // Amplitudes past full scale clip at +-1.
    v = test::overtone_voice(1, 1000);
    build_ptv_table(v, t);
    EXPECT_EQ(t[100 * 2], 32767);
    EXPECT_EQ(t[300 * 2], -32767);
}

TEST(Ptv, CoordinateTableIsQuantizedToItsGrid) {
    Voice v;
    v.data_flags = DATAFLAG_WAVE;
    v.wave_type = 0;
    v.resolution = 400;
    v.wave = {{0, 0}, {200, 127}};
    std::vector<int16_t> t;
    build_ptv_table(v, t);
    // s = 100: y = 63.5 -> 63.5 / 128 * 32767.
    EXPECT_EQ(t[100 * 2], static_cast<int16_t>(63.5 / 128 * 32767));
    // Wrap segment from the last point back to point 0 at the resolution.
    EXPECT_EQ(t[300 * 2], static_cast<int16_t>(63.5 / 128 * 32767));
    EXPECT_EQ(t[200 * 2], static_cast<int16_t>(127.0 / 128 * 32767));
    // Resolution 4: i = 4 * s / 400, so s = 0..99 share one value (a staircase).
    v.resolution = 4;
    v.wave = {{0, -128}, {2, 127}};
    build_ptv_table(v, t);
    EXPECT_EQ(t[0], -32767);
    EXPECT_EQ(t[99 * 2], -32767);
    EXPECT_EQ(t[100 * 2], static_cast<int16_t>(-0.5 / 128 * 32767));
    EXPECT_EQ(t[200 * 2], static_cast<int16_t>(127.0 / 128 * 32767));
}

TEST(Ptv, EnvelopeTable) {
    Voice v;
    v.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    v.env_fps = 1000;
    v.env_head = {{10, 128}, {10, 64}};
    v.env_release = 100;
    std::vector<int32_t> t;
    int32_t release = 0;
    build_envelope(v, 44100, t, release);
    ASSERT_EQ(t.size(), 882u);
    EXPECT_EQ(release, 4410);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[100], 128 * 100 / 441);
    EXPECT_EQ(t[441], 128);
    EXPECT_EQ(t[441 + 100], 128 + (64 - 128) * 100 / 441);
    EXPECT_EQ(t[881], 128 + (64 - 128) * 440 / 441);
    // At 22050 Hz the same envelope is half as long.
    build_envelope(v, 22050, t, release);
    EXPECT_EQ(t.size(), 441u);
    EXPECT_EQ(release, 2205);
    // Zero-length head: one entry at the first level.
    v.env_head = {{0, 100}};
    build_envelope(v, 44100, t, release);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], 100);
    // A skipped middle point (0, 0) leaves a (0, 0) entry and drops the last kept point.
    v.env_head = {{10, 128}, {0, 0}, {10, 64}};
    build_envelope(v, 1000, t, release);
    ASSERT_EQ(t.size(), 20u);
    EXPECT_EQ(t[5], 64);  // interpolating (0,0) -> (10,128)
    EXPECT_EQ(t[10], 0);  // then the zero entry at index 1 holds
    EXPECT_EQ(t[19], 0);
    // No envelope section: no table.
    v.data_flags = DATAFLAG_WAVE;
    build_envelope(v, 44100, t, release);
    EXPECT_TRUE(t.empty());
    EXPECT_EQ(release, 0);
}

TEST(Noise, RandomSequence) {
    const int16_t expected[] = {-13108, 4113,   -8740, -4627,  -13877,
                                -18249, -32126, 14651, -16965, -2314};
    const int16_t* r = noise_random_table();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(r[i], expected[i]) << i;
    EXPECT_EQ(r[44100], 0);
}

TEST(Noise, WaveTables) {
    const int16_t* sine = noise_wave_table(1);
    EXPECT_EQ(sine[0], 0);
    EXPECT_EQ(sine[441], 0);
    const double pi = 3.1415926535897932;
    EXPECT_EQ(sine[100], static_cast<int16_t>(32767 * std::sin(((2 * pi * 1) * 100) / 441)));
    const int16_t* saw = noise_wave_table(2);
    EXPECT_EQ(saw[0], 32767);
    EXPECT_EQ(saw[1], static_cast<int16_t>(32767 - 2.0 * 32767 / 441));
    const int16_t* rect = noise_wave_table(3);
    EXPECT_EQ(rect[219], 32767);
    EXPECT_EQ(rect[220], -32767);
    const int16_t* tri = noise_wave_table(7);
    EXPECT_EQ(tri[0], 0);
    EXPECT_EQ(tri[110], 32767);
    EXPECT_EQ(tri[220], 0);
    EXPECT_EQ(tri[330], -32767);
    EXPECT_EQ(tri[55], static_cast<int16_t>(64.0 / 128 * 32767));
    EXPECT_EQ(noise_wave_table(9)[146], 32767);
    EXPECT_EQ(noise_wave_table(9)[147], -32767);
    EXPECT_EQ(noise_wave_table(12)[26], 32767);
    EXPECT_EQ(noise_wave_table(12)[27], -32767);
    const int16_t* saw3 = noise_wave_table(13);
    EXPECT_EQ(saw3[146], 32767);
    EXPECT_EQ(saw3[147], 0);
    EXPECT_EQ(saw3[294], -32767);
    const int16_t* saw6 = noise_wave_table(15);
    const int levels6[] = {32767, 19661, 6553, -6553, -19661, -32767};
    const int edges6[] = {0, 73, 147, 220, 294, 367};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(saw6[edges6[k]], levels6[k]) << k;
    EXPECT_EQ(saw6[72], 32767);
    const int16_t* saw8 = noise_wave_table(16);
    const int levels8[] = {32767, 23405, 14043, 4681, -4681, -14043, -23405, -32767};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(saw8[441 * k / 8], levels8[k]) << k;
    const int16_t* saw4 = noise_wave_table(14);
    EXPECT_EQ(saw4[109], 32767);
    EXPECT_EQ(saw4[110], 10922);
    EXPECT_EQ(saw4[330], -32767);
    // Band-limited saw: 16 harmonics, clamped to +-1.
    double sum = 0;
    for (int h = 1; h <= 16; ++h) sum += std::sin(((2 * pi * h) * 10) / 441) / h;
    EXPECT_EQ(noise_wave_table(5)[10], static_cast<int16_t>(32767 * std::min(sum, 1.0)));
}

TEST(Noise, SineUnitAtFullVolume) {
    // 100 Hz sine, no volume oscillator (half amplitude), flat 100 % envelope.
    NoiseDesign d;
    d.frames = 1000;
    NoiseUnit u;
    u.envelope = {{0, 100}};
    u.main.type = 1;
    u.main.freq = 100.0f;
    u.main.volume = 100.0f;
    d.units.push_back(u);
    std::vector<int16_t> out;
    build_noise(d, out);
    ASSERT_EQ(out.size(), 2000u);
    const int16_t* sine = noise_wave_table(1);
    for (int f = 0; f < 441; ++f) {
        const int16_t expect = static_cast<int16_t>(sine[f] * 1.0 * (0 + 32767) / 65534);
        ASSERT_EQ(out[static_cast<size_t>(f) * 2], expect) << f;
        ASSERT_EQ(out[static_cast<size_t>(f) * 2 + 1], expect) << f;
    }
    // At phase exactly 441 the table reads its zero entry instead of wrapping.
    EXPECT_EQ(out[441 * 2], 0);
    EXPECT_EQ(out[442 * 2], static_cast<int16_t>(sine[1] * 1.0 * 32767 / 65534));
}

TEST(Noise, EnvelopePanAndVolumeOscillator) {
    NoiseDesign d;
    d.frames = 2000;
    NoiseUnit u;
    u.envelope = {{10, 100}, {0, 50}};  // ramp to 100 % over 441 frames, then step to 50 %
    u.pan = 50;                         // left at 50 %
    u.main.type = 3;                    // rectangle, first half +32767
    u.main.freq = 10.0f;
    u.main.volume = 100.0f;
    u.volume.type = 3;
    u.volume.freq = 10.0f;
    u.volume.volume = 100.0f;  // full volume oscillator: v = 32767 -> factor 1
    d.units.push_back(u);
    std::vector<int16_t> out;
    build_noise(d, out);
    for (int f : {0, 1, 100, 440}) {
        const double env = 1.0 * f / 441;
        const double x = 32767.0 * (32767 + 32767) / 65534;
        EXPECT_EQ(out[static_cast<size_t>(f) * 2], static_cast<int16_t>(x * 0.5 * env)) << f;
        EXPECT_EQ(out[static_cast<size_t>(f) * 2 + 1], static_cast<int16_t>(x * env)) << f;
    }
    EXPECT_EQ(out[441 * 2 + 1], static_cast<int16_t>(32767 * 0.5));
    EXPECT_EQ(out[1999 * 2 + 1], static_cast<int16_t>(32767 * 0.5));
}

TEST(Noise, LengthIsClampedAndMissingMainIsSilent) {
    NoiseDesign d;
    d.frames = 1000000;
    NoiseUnit u;
    u.envelope = {{0, 100}};
    d.units.push_back(u);
    std::vector<int16_t> out;
    build_noise(d, out);
    EXPECT_EQ(out.size(), 480000u * 2);
    for (size_t i = 0; i < 2000; ++i) ASSERT_EQ(out[i], 0);
    d.frames = -5;
    build_noise(d, out);
    EXPECT_TRUE(out.empty());
}

// Designs over every oscillator kind, reversal, envelope shape and pan, from a fixed LCG.
inline std::vector<NoiseDesign> assorted_noise_designs(int count) {
    uint32_t state = 20121207;
    auto next = [&state](int lo, int hi) {
        state = state * 1664525u + 1013904223u;
        return lo + static_cast<int>((state >> 8) % static_cast<uint32_t>(hi - lo + 1));
    };
    std::vector<NoiseDesign> designs;
    for (int t = 0; t < count; ++t) {
        NoiseDesign d;
        d.frames = next(0, 3) == 0 ? next(0, 3000) : next(0, 30000);
        const int units = next(0, 4);
        for (int u = 0; u < units; ++u) {
            NoiseUnit nu;
            const int points = next(0, 3);
            for (int p = 0; p < points; ++p)
                nu.envelope.push_back({next(0, 3) == 0 ? 0 : next(-10, 500), next(-5, 105)});
            nu.pan = next(-110, 110);
            auto osc = [&] {
                NoiseOscillator o;
                o.type = next(-1, 17);
                o.reverse = next(0, 1) != 0;
                o.freq = next(0, 4) == 0 ? static_cast<float>(next(0, 44100))
                                         : static_cast<float>(next(0, 200000)) / 100.0f;
                o.volume = static_cast<float>(next(0, 20000)) / 100.0f;
                o.offset = static_cast<float>(next(0, 10000)) / 100.0f;
                return o;
            };
            nu.main = osc();
            nu.freq = osc();
            nu.volume = osc();
            d.units.push_back(nu);
        }
        designs.push_back(d);
    }
    return designs;
}

// The synthesis of 150 assorted designs (every oscillator kind as main, pitch and volume
// oscillator, both directions, envelopes of 0-3 points with zero and negative times, pans
// beyond the range), pinned by an FNV-1a hash of all their samples.
TEST(Noise, AssortedDesignsKeepTheirSamples) {
    std::uint64_t hash = 1469598103934665603ull;
    std::size_t samples = 0;
    for (const NoiseDesign& d : assorted_noise_designs(150)) {
        std::vector<int16_t> out;
        build_noise(d, out);
        samples += out.size();
        for (int16_t s : out) {
            hash ^= static_cast<uint16_t>(s);
            hash *= 1099511628211ull;
        }
    }
    EXPECT_EQ(samples, 3257240u);
    EXPECT_EQ(hash, 0x8bf111aa087e2b22ull);
}

// Equal designs are synthesised once and share the samples; a design differing in any field (here
// only the pan, or one envelope point) gets its own noise, also when the designs are
// synthesised on several threads.
TEST(Noise, EqualDesignsGiveEqualNoiseAndOthersTheirOwn) {
    NoiseDesign a = test::simple_noise(4, 1234.5f);
    a.frames = 150000;  // three designs of this length are synthesised side by side
    NoiseDesign panned = a;
    panned.units[0].pan = 40;
    NoiseDesign longer = a;
    longer.units[0].envelope[1].x = 101;
    Project p;
    for (const NoiseDesign& d : {a, panned, a, longer, panned})
        p.woices.push_back(Woice::make_ptn(d));
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> fresh_a, fresh_panned, fresh_longer;
    build_noise(a, fresh_a);
    build_noise(panned, fresh_panned);
    build_noise(longer, fresh_longer);
    ASSERT_NE(fresh_a, fresh_panned);
    ASSERT_NE(fresh_a, fresh_longer);
    EXPECT_EQ(p.woices[0].voices[0].body, fresh_a);
    EXPECT_EQ(p.woices[1].voices[0].body, fresh_panned);
    EXPECT_EQ(p.woices[2].voices[0].body, fresh_a);
    EXPECT_EQ(p.woices[3].voices[0].body, fresh_longer);
    EXPECT_EQ(p.woices[4].voices[0].body, fresh_panned);
    EXPECT_EQ(p.woices[2].voices[0].body.data(), p.woices[0].voices[0].body.data());
}

std::vector<uint8_t> read_data(const std::string& name) {
    std::ifstream in(std::string(PXTONE_TEST_DATA) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

TEST(Ogg, DecodesWholeStreamsAndConvertsThemLikePcm) {
    const std::vector<uint8_t> mono = read_data("tone_mono22k.ogg");
    ASSERT_GT(mono.size(), 100u);
    int channels = 0, rate = 0;
    std::vector<int16_t> pcm;
    ASSERT_TRUE(decode_ogg(mono, channels, rate, pcm, kMaxBodyFrames));
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(rate, 22050);
    EXPECT_EQ(pcm.size(), 5000u);
    int peak = 0;
    for (int16_t s : pcm) peak = std::max(peak, std::abs(int{s}));
    EXPECT_GT(peak, 12000);
    EXPECT_LT(peak, 20000);

    Project p;
    p.woices.push_back(Woice::make_oggv(mono));
    ASSERT_TRUE(p.prepare_tones());
    const std::vector<int16_t>& body = p.woices[0].voices[0].body.samples();
    ASSERT_EQ(body.size(), 10000u * 2);  // 22050 -> 44100: every frame twice, in stereo
    for (size_t a = 0; a < 10000; ++a) {
        ASSERT_EQ(body[a * 2], pcm[a / 2]) << a;
        ASSERT_EQ(body[a * 2 + 1], pcm[a / 2]) << a;
    }

    const std::vector<int16_t> ref = [&] {
        std::vector<uint8_t> st = read_data("tone_stereo44k.ogg");
        std::vector<int16_t> out;
        EXPECT_TRUE(decode_ogg(st, channels, rate, out, kMaxBodyFrames));
        return out;
    }();
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100);
    EXPECT_EQ(ref.size(), 16000u);
    // The frame limit is honoured.
    EXPECT_FALSE(decode_ogg(mono, channels, rate, pcm, 1000));
}

TEST(Ogg, WrittenAndReadBackWithTheSameSound) {
    Project p;
    p.woices.push_back(Woice::make_oggv(read_data("tone_stereo44k.ogg"), 0x4500, VOICEFLAG_SMOOTH));
    p.woices[0].ogg_channels = 2;
    p.woices[0].ogg_rate = 44100;
    p.woices[0].ogg_samples = 8000;
    p.set_unit_count(1);
    p.add_event(0, 0, EVENTKIND_ON, 240);
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    auto back = test::roundtrip(p);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->woices[0].kind, WoiceKind::Oggv);
    EXPECT_EQ(back->woices[0].ogg, p.woices[0].ogg);
    EXPECT_EQ(back->woices[0].ogg_samples, 8000);
    std::vector<int16_t> a = test::render16(p, 9000), b = test::render16(*back, 9000);
    EXPECT_EQ(a, b);
    EXPECT_NE(std::count(a.begin(), a.end(), 0), static_cast<std::ptrdiff_t>(a.size()));
}

TEST(Ogg, UndecodableStreamFailsTonePreparation) {
    Project p;
    p.woices.push_back(Woice::make_oggv({'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0}));
    LoadError err;
    EXPECT_FALSE(p.prepare_tones(&err));
    EXPECT_NE(err.message.find("Ogg"), std::string::npos);
    // Through the file: the load fails.
    std::vector<uint8_t> bytes = write_file(p);
    LoadResult r = Project::load(bytes);
    EXPECT_FALSE(r);
}

}  // namespace
}  // namespace pxtone
