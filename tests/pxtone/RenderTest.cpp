// Frame renderer: note timing, pitch steps, gains, pans, effects, looping, start and output
// formats, checked on small songs built in code.

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSongs.h"

namespace pxtone {
namespace {

using test::render16;

// Unit 0 plays a 16-bit mono PCM ramp (no smoothing) with one note.
Project ramp_song(int32_t on_clock, int32_t length, uint32_t flags = 0, int frames = 30000) {
    Project p =
        test::one_unit_song(Woice::make_pcm(test::pcm16(test::ramp(frames)), 0x4500, flags));
    p.add_event(on_clock, 0, EVENTKIND_ON, length);
    p.update_measures();
    EXPECT_TRUE(p.prepare_tones());
    return p;
}

TEST(Render, PcmNoteLandsOnItsFrames) {
    // 120 BPM, 480 clocks: clock 480 starts at frame 22050; at key 0x6000 and basic key
    // 0x4500 the step is exactly 1, so frame 22050 + k plays sample k.
    Project p = ramp_song(480, 480, 0, 100);
    std::vector<int16_t> out = render16(p, 30000);
    ASSERT_EQ(out.size(), 60000u);
    EXPECT_EQ(out[22049 * 2], 0);
    for (int k = 0; k < 100; ++k) {
        ASSERT_EQ(out[(22050 + k) * 2], k) << k;
        ASSERT_EQ(out[(22050 + k) * 2 + 1], k) << k;
    }
    // Without WAVE LOOP the voice ends with its sample.
    EXPECT_EQ(out[22150 * 2], 0);
}

TEST(Render, NoteLengthAndLoopingSample) {
    // Looping 100-frame sample, note of 10 clocks = trunc(10 * 45.9375) = 459 frames.
    Project p = ramp_song(0, 10, VOICEFLAG_WAVELOOP, 100);
    std::vector<int16_t> out = render16(p, 1000);
    for (int f = 0; f < 459; ++f) ASSERT_EQ(out[f * 2], f % 100) << f;
    EXPECT_EQ(out[459 * 2], 0);
}

TEST(Render, SmoothFadesTheLast4Milliseconds) {
    Project p = ramp_song(0, 10, VOICEFLAG_WAVELOOP | VOICEFLAG_SMOOTH, 100);
    std::vector<int16_t> out = render16(p, 1000);
    // life counts down from 459; smoothing applies while life < 176 (44100 / 250).
    EXPECT_EQ(out[283 * 2], 83);
    for (int f = 284; f < 459; ++f) {
        const int life = 459 - f;
        ASSERT_EQ(out[f * 2], (f % 100) * life / 176) << f;
    }
}

TEST(Render, GainsAreSuccessiveTruncatingSteps) {
    Project p = test::one_unit_song(
        Woice::make_pcm(test::pcm16({1000, -1000}), 0x4500, VOICEFLAG_WAVELOOP));
    p.events.clear();  // default velocity and volume 104
    p.add_event(0, 0, EVENTKIND_ON, 10);
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, 4);
    // 1000 * 104 / 128 = 812; 812 * 104 / 128 = 659 (one combined factor would give 660).
    EXPECT_EQ(out[0], 659);
    EXPECT_EQ(out[2], -659);
    // Volume pan 96: left gain 32.
    p.add_event(0, 0, EVENTKIND_PAN_VOLUME, 96);
    out = render16(p, 1);
    EXPECT_EQ(out[0], 659 * 32 / 64);
    EXPECT_EQ(out[1], 659);
    p.add_event(0, 0, EVENTKIND_PAN_VOLUME, 16);
    out = render16(p, 1);
    EXPECT_EQ(out[0], 659);
    EXPECT_EQ(out[1], 659 * 16 / 64);
}

TEST(Render, NegativeGainsTruncateTowardZero) {
    const std::vector<int16_t> samples = {999, -999, 1001, -1, 32767, -32768};
    Project p =
        test::one_unit_song(Woice::make_pcm(test::pcm16(samples), 0x4500, VOICEFLAG_WAVELOOP));
    p.events.clear();
    p.add_event(0, 0, EVENTKIND_VELOCITY, -77);
    p.add_event(0, 0, EVENTKIND_VOLUME, 300);
    p.add_event(0, 0, EVENTKIND_PAN_VOLUME, 200);  // left gain 128 - 200 = -72
    p.add_event(0, 0, EVENTKIND_ON, 10);
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, static_cast<int>(samples.size()));
    for (size_t i = 0; i < samples.size(); ++i) {
        const int64_t x = int64_t{samples[i]} * -77 / 128 * 300 / 128;
        EXPECT_EQ(out[i * 2], std::clamp<int64_t>(x * -72 / 64, -32767, 32767)) << i;
        EXPECT_EQ(out[i * 2 + 1], std::clamp<int64_t>(x * 64 / 64, -32767, 32767)) << i;
    }
}

TEST(Render, KeyChangesTheStep) {
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    // +12 semitones at clock 100: the step becomes 2 from the frame after the event.
    p.add_event(100, 0, EVENTKIND_KEY, 0x6C00);
    std::vector<int16_t> out = render16(p, 10000);
    const int at = 4594;  // first frame with trunc(f / 45.9375) >= 100
    EXPECT_EQ(out[(at - 1) * 2], at - 1);
    EXPECT_EQ(out[at * 2], at);
    EXPECT_EQ(out[(at + 1) * 2], at + 2);
    EXPECT_EQ(out[(at + 10) * 2], at + 20);
}

TEST(Render, KeyWithOnAtTheSameClockDoesNotSlide) {
    Project p = ramp_song(0, 100, VOICEFLAG_WAVELOOP);
    p.add_event(0, 0, EVENTKIND_PORTAMENT, 480);
    p.add_event(0, 0, EVENTKIND_KEY, 0x6C00);
    std::vector<int16_t> out = render16(p, 100);
    for (int f = 0; f < 50; ++f) ASSERT_EQ(out[f * 2], 2 * f) << f;
}

TEST(Render, PortamentoGlidesOverItsLength) {
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    p.add_event(0, 0, EVENTKIND_PORTAMENT, 10);  // 459 frames
    p.add_event(100, 0, EVENTKIND_KEY, 0x6C00);
    std::vector<int16_t> out = render16(p, 6000);
    const int at = 4594;
    // While gliding the step grows from 1 to 2; afterwards it stays 2.
    const int d1 = out[(at + 10) * 2] - out[(at + 9) * 2];
    EXPECT_GE(d1, 0);
    EXPECT_LE(d1, 2);
    const int later = out[(at + 600) * 2] - out[(at + 500) * 2];
    EXPECT_EQ(later, 200);
    const int during = out[(at + 300) * 2] - out[(at + 200) * 2];
    EXPECT_GT(during, 100);
    EXPECT_LT(during, 200);
}

TEST(Render, MidSongStartRestartsHeldNotes) {
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    int produced = 0;
    std::vector<int16_t> out = render16(p, 10, {}, false, 50000, &produced);
    EXPECT_EQ(produced, 10);
    // Caught up on the first frame: the held note starts from its beginning.
    for (int f = 0; f < 10; ++f) EXPECT_EQ(out[f * 2], f);
    // A start at or past the end (or negative) starts at 0.
    Renderer r(p);
    ASSERT_TRUE(r.prepare({}));
    r.start(r.end_sample());
    EXPECT_EQ(r.sample(), 0);
    r.start(-5);
    EXPECT_EQ(r.sample(), 0);
    r.start(1234);
    EXPECT_EQ(r.sample(), 1234);
    int16_t buf[200];
    r.render(buf, 100);
    EXPECT_EQ(r.sample(), 1334);
    EXPECT_EQ(r.clock(), static_cast<int>(1334.0f / 45.9375f));
}

TEST(Render, StopsAtTheEndUnlessLooping) {
    // One measure: end sample 88200. The frame that reaches the end is not played.
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    ASSERT_EQ(p.end_sample(44100), 88200);
    Renderer r(p);
    ASSERT_TRUE(r.prepare({}));
    r.start(0);
    std::vector<int16_t> out(100000 * 2, 7);
    EXPECT_EQ(r.render(out.data(), 100000), 88199);
    EXPECT_TRUE(r.ended());
    EXPECT_EQ(r.sample(), 88200);
    EXPECT_EQ(out[88199 * 2], 0);
    EXPECT_EQ(out[99999 * 2 + 1], 0);
    EXPECT_EQ(r.render(out.data(), 10), 0);

    r.set_loop(true);
    r.start(0);
    EXPECT_EQ(r.render(out.data(), 100000), 100000);
    EXPECT_FALSE(r.ended());
    // After the jump the song replays from the repeat sample (0) with fresh unit state.
    EXPECT_EQ(out[88199 * 2], 88199 % 30000);
    EXPECT_EQ(out[88200 * 2], 0);
    EXPECT_EQ(out[88210 * 2], 10);
    EXPECT_EQ(r.sample(), 100000 - 88200);
}

TEST(Render, LoopJumpsToTheRepeatMeasure) {
    Project p = ramp_song(0, 3840, VOICEFLAG_WAVELOOP);  // two measures
    p.master.repeat_meas = 1;
    p.update_measures();
    int produced = 0;
    std::vector<int16_t> out = render16(p, 176400 + 5, {}, true, 0, &produced);
    EXPECT_EQ(produced, 176405);
    // At the repeat sample (88200) the held note restarts from its beginning.
    for (int k = 0; k < 5; ++k) EXPECT_EQ(out[(176400 + k) * 2], k);
}

TEST(Render, MonoAveragesEachVoiceBeforeGain) {
    Project p = test::one_unit_song(
        Woice::make_pcm(test::pcm16({1000, -3001, 3, 0, -3, 0}, 2), 0x4500, VOICEFLAG_WAVELOOP));
    p.add_event(0, 0, EVENTKIND_ON, 100);
    p.add_event(0, 0, EVENTKIND_PAN_VOLUME, 0);  // ignored in mono
    p.add_event(0, 0, EVENTKIND_PAN_TIME, 0);
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, 3, {44100, 1, 16});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], -1000);  // (1000 - 3001) / 2 truncates toward zero
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(out[2], -1);
}

TEST(Render, EightBitOutput) {
    Project p = test::one_unit_song(Woice::make_pcm(
        test::pcm16({1000, -1000, 32767, -32767, 255, -1, 0, 256}), 0x4500, VOICEFLAG_WAVELOOP));
    p.add_event(0, 0, EVENTKIND_ON, 100);
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    Renderer r(p);
    ASSERT_TRUE(r.prepare({44100, 1, 8}));
    r.start(0);
    uint8_t out[8];
    ASSERT_EQ(r.render(out, 8), 8);
    const uint8_t expect[] = {131, 124, 255, 1, 128, 127, 128, 129};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(out[i], expect[i]) << i;
}

TEST(Render, TimePanDelaysOneChannel) {
    Project p = ramp_song(0, 100, VOICEFLAG_WAVELOOP, 1000);
    p.add_event(0, 0, EVENTKIND_PAN_TIME, 74);  // left lags by 10 samples
    std::vector<int16_t> out = render16(p, 40);
    for (int f = 0; f < 10; ++f) EXPECT_EQ(out[f * 2], 0);
    for (int f = 10; f < 40; ++f) {
        EXPECT_EQ(out[f * 2], f - 10);
        EXPECT_EQ(out[f * 2 + 1], f);
    }
    // At 22050 Hz the older scaling halves the delay (same duration): 5 samples.
    out = render16(p, 20, {22050, 2, 16});
    EXPECT_EQ(out[4 * 2], 0);
    EXPECT_NE(out[6 * 2], 0);
}

TEST(Render, OverdriveClampsThenAmplifies) {
    Project p = test::one_unit_song(
        Woice::make_pcm(test::pcm16({10000, -10000, 1000}), 0x4500, VOICEFLAG_WAVELOOP));
    p.add_event(0, 0, EVENTKIND_ON, 100);
    p.overdrives.push_back({0, 90.0f, 2.0f});
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, 3);
    // limit = trunc(32767 * 10 / 100) = 3276.
    EXPECT_EQ(out[0], 6552);
    EXPECT_EQ(out[2], -6552);
    EXPECT_EQ(out[4], 2000);
    // Only the overdrive's group is affected.
    p.add_event(0, 0, EVENTKIND_GROUPNO, 3);
    out = render16(p, 1);
    EXPECT_EQ(out[0], 10000);
}

TEST(Render, DelayIsARecursiveCombFilter) {
    Project p = test::one_unit_song(Woice::make_pcm(test::pcm16({10000}), 0x4500, 0));
    p.add_event(0, 0, EVENTKIND_ON, 100);
    p.delays.push_back({2, 0, 50.9f, 1000.0f});  // 44 samples, feedback 50 %
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, 200);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[44 * 2], 5000);
    EXPECT_EQ(out[88 * 2], 2500);
    EXPECT_EQ(out[132 * 2 + 1], 1250);
    EXPECT_EQ(out[133 * 2], 0);
    // Overdrive runs before the delay: the echo repeats the driven value.
    p.overdrives.push_back({0, 90.0f, 1.0f});
    out = render16(p, 100);
    EXPECT_EQ(out[0], 3276);
    EXPECT_EQ(out[44 * 2], 1638);
    // Delay lengths per unit: beat = F * 60 / tempo / freq.
    p.overdrives.clear();
    p.delays[0] = {0, 0, 50.0f, 4.0f};  // 44100 * 60 / 120 / 4 = 5512
    out = render16(p, 5600);
    EXPECT_EQ(out[5512 * 2], 5000);
    EXPECT_EQ(out[5511 * 2], 0);
    p.delays[0] = {1, 0, 50.0f, 16.0f};  // measure: 44100 * 60 * 4 / 120 / 16 = 5512
    out = render16(p, 5600);
    EXPECT_EQ(out[5512 * 2], 5000);
    // A delay with rate 0 is off.
    p.delays[0] = {2, 0, 0.0f, 1000.0f};
    out = render16(p, 100);
    EXPECT_EQ(out[44 * 2], 0);
}

TEST(Render, ClipsAtFinalStageOnly) {
    Project p;
    p.woices.push_back(Woice::make_pcm(test::pcm16({30000}), 0x4500, VOICEFLAG_WAVELOOP));
    p.set_unit_count(3);
    for (int u = 0; u < 3; ++u) {
        p.add_event(0, u, EVENTKIND_VELOCITY, 128);
        p.add_event(0, u, EVENTKIND_VOLUME, 128);
        p.add_event(0, u, EVENTKIND_ON, 100);
    }
    p.overdrives.push_back({0, 50.0f, 0.5f});  // limit 16383, then halved: 8191
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, 1);
    EXPECT_EQ(out[0], 8191);  // the 90000 sum was not clipped before the overdrive
    p.overdrives.clear();
    out = render16(p, 1);
    EXPECT_EQ(out[0], 32767);
    Renderer r(p);
    ASSERT_TRUE(r.prepare({}));
    r.set_master_volume(0.5f);
    r.start(0);
    int16_t s[2];
    r.render(s, 1);
    EXPECT_EQ(s[0], 32767);  // 45000 after the volume, still clipped
    r.set_master_volume(0.25f);
    r.render(s, 1);
    EXPECT_EQ(s[0], 22500);
}

TEST(Render, EnvelopeStartsAtZeroAndReleases) {
    Voice v = test::overtone_voice();
    v.voice_flags = VOICEFLAG_WAVELOOP;
    v.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    v.env_fps = 44100;
    v.env_head = {{4, 128}};
    v.env_release = 100;
    v.basic_key = 0x4500;  // step 1: the table plays at one entry per frame
    Project p = test::one_unit_song(Woice::make_ptv({v}));
    p.add_event(0, 0, EVENTKIND_ON, 10);  // gate 459 frames, life 459 + 100
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    const std::vector<int16_t>& table = p.woices[0].voices[0].body.samples();
    std::vector<int16_t> out = render16(p, 700);
    // The table is 4 entries, 0 32 64 96 (the point at 4 itself lies past its end), and
    // frame f reads entry f - 1: the envelope steps before the note's event on frame 0.
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1 * 2], 0);
    for (int f = 2; f < 5; ++f) EXPECT_EQ(out[f * 2], table[f * 2] * (32 * (f - 1)) / 128) << f;
    EXPECT_EQ(out[100 * 2], table[100 * 2] * 96 / 128);  // holds the last entry
    // Release from level 96 over 100 frames, starting after the gate ends.
    for (int k = 0; k < 100; ++k) {
        const int f = 459 + k;
        const int level = 96 - 96 * k / 100;
        ASSERT_EQ(out[f * 2], table[(f % 400) * 2] * level / 128) << f;
    }
    EXPECT_EQ(out[559 * 2], 0);
}

TEST(Render, ReleaseIsCutByTheNextNote) {
    Voice v = test::overtone_voice();
    v.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    v.voice_flags = VOICEFLAG_WAVELOOP;
    v.env_fps = 1;
    v.env_head = {{0, 128}};
    v.env_release = 1;  // 44100 frames of release
    v.basic_key = 0x4500;
    Project p = test::one_unit_song(Woice::make_ptv({v}));
    p.add_event(0, 0, EVENTKIND_ON, 10);
    p.add_event(20, 0, EVENTKIND_ON, 10);
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, 1000);
    // The first note's release is cut after trunc(20 * R) = 918 frames; the new note
    // starts on frame 919 (the first with clock 20) at level 0, then plays from entry 1.
    EXPECT_NE(out[917 * 2], 0);
    EXPECT_EQ(out[918 * 2], 0);
    EXPECT_EQ(out[919 * 2], 0);
    EXPECT_EQ(out[920 * 2], p.woices[0].voices[0].body[2]);
}

TEST(Render, VoiceAndGroupEventsAndUnknownUnits) {
    Project p;
    p.woices.push_back(Woice::make_pcm(test::pcm16({100}), 0x4500, VOICEFLAG_WAVELOOP));
    p.woices.push_back(Woice::make_pcm(test::pcm16({200}), 0x4500, VOICEFLAG_WAVELOOP));
    p.set_unit_count(1);
    p.add_event(0, 0, EVENTKIND_VELOCITY, 128);
    p.add_event(0, 0, EVENTKIND_VOLUME, 128);
    p.add_event(0, 0, EVENTKIND_ON, 1000);
    p.add_event(0, 7, EVENTKIND_ON, 1000);      // no such unit: skipped
    p.add_event(0, 0, EVENTKIND_GROUPNO, 200);  // out of range: ignored
    p.add_event(10, 0, EVENTKIND_VOICENO, 1);   // switches and silences the unit
    p.add_event(20, 0, EVENTKIND_VOICENO, 9);   // invalid woice: ignored
    p.add_event(20, 0, EVENTKIND_ON, 100);
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    std::vector<int16_t> out = render16(p, 1000);
    EXPECT_EQ(out[0], 100);
    EXPECT_EQ(out[458 * 2], 100);
    EXPECT_EQ(out[460 * 2], 0);
    EXPECT_EQ(out[919 * 2], 200);
}

TEST(Render, TuningEventScalesTheStep) {
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    p.add_event_f(0, 0, EVENTKIND_TUNING, 1.5f);
    std::vector<int16_t> out = render16(p, 10);
    const int expect[] = {0, 1, 3, 4, 6, 7, 9, 10, 12, 13};
    for (int f = 0; f < 10; ++f) EXPECT_EQ(out[f * 2], expect[f]);
}

TEST(Render, At48000TheStepUsesTheFloatRateFactor) {
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    std::vector<int16_t> out = render16(p, 1000, {48000, 2, 16});
    const float step = (1.0f * 1.0f) * (1.0f * (44100.0f / 48000.0f));
    double pos = 0;
    for (int f = 0; f < 1000; ++f) {
        ASSERT_EQ(out[f * 2], static_cast<int>(pos)) << f;
        pos += step;
    }
    // 48000 Hz: 50 samples per clock at 120 BPM, end sample 96000.
    Renderer r(p);
    ASSERT_TRUE(r.prepare({48000, 2, 16}));
    EXPECT_EQ(r.end_sample(), 96000);
}

TEST(Render, FadeInRampsInStepsOf256Frames) {
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    Renderer r(p);
    ASSERT_TRUE(r.prepare({}));
    r.start(0, 100);  // 4410 frames -> length 17
    std::vector<int16_t> out(3000 * 2);
    r.render(out.data(), 3000);
    EXPECT_EQ(out[100 * 2], 0);
    EXPECT_EQ(out[256 * 2], 256 * 1 / 17);
    EXPECT_EQ(out[2600 * 2], 2600 * 10 / 17);
    r.fade_out(50);  // 2205 frames -> length 8, from full
    std::vector<int16_t> rest(8 * 256 * 2 + 1000);
    int n = r.render(rest.data(), 8 * 256 + 500);
    EXPECT_TRUE(r.ended());
    EXPECT_LE(n, 8 * 256 + 1);
}

TEST(Render, OutputDoesNotDependOnTheRequestSizes) {
    // Notes, glides, time pan, an enveloped voice and a delay, looping, then a fade-out.
    Project p;
    p.master.tempo = 200.0f;
    p.master.repeat_meas = 1;
    p.woices.push_back(Woice::make_pcm(test::pcm16(test::ramp(300)), 0x4500,
                                       VOICEFLAG_WAVELOOP | VOICEFLAG_SMOOTH));
    Voice v = test::overtone_voice(2, 100);
    v.data_flags |= DATAFLAG_ENVELOPE;
    v.env_fps = 1000;
    v.env_head = {{5, 128}, {30, 60}};
    v.env_release = 40;
    p.woices.push_back(Woice::make_ptv({v}));
    p.set_unit_count(2);
    p.delays.push_back({1, 2, 90.0f, 40.0f});
    p.add_event(0, 0, EVENTKIND_PORTAMENT, 50);
    p.add_event(0, 1, EVENTKIND_VOICENO, 1);
    p.add_event(0, 1, EVENTKIND_GROUPNO, 1);
    p.add_event(0, 1, EVENTKIND_PAN_TIME, 90);
    for (int c = 0; c < 3 * 1920; c += 110) {
        p.add_event(c, 0, EVENTKIND_KEY, 0x5000 + (c % 7) * 0x180);
        p.add_event(c, 0, EVENTKIND_ON, 90);
        p.add_event(c + 37, 1, EVENTKIND_ON, 50);
    }
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    auto render = [&](const std::vector<int>& sizes) {
        Renderer r(p);
        EXPECT_TRUE(r.prepare({}));
        r.set_loop(true);
        r.start(0);
        const int64_t total = r.end_sample() * 2, half = total / 2;
        std::vector<int16_t> all;
        int64_t done = 0;
        for (size_t i = 0; done < total; ++i) {
            if (done == half) r.fade_out(30);  // at the same frame in every run
            int64_t n = std::min<int64_t>(sizes[i % sizes.size()], total - done);
            if (done < half) n = std::min(n, half - done);
            std::vector<int16_t> out(static_cast<size_t>(n) * 2);
            r.render(out.data(), static_cast<int>(n));
            all.insert(all.end(), out.begin(), out.end());
            done += n;
        }
        EXPECT_TRUE(r.ended());
        return all;
    };
    const std::vector<int16_t> whole = render({1 << 30});
    EXPECT_EQ(whole, render({1, 255, 256, 257, 7}));
    EXPECT_EQ(whole, render({4096, 13, 1000}));
}

TEST(Render, ManyClocksPerFrameAreBatched) {
    // A tune with 48 clocks per beat at 11025 Hz: fewer than one frame per clock.
    Project p = ramp_song(0, 1920, VOICEFLAG_WAVELOOP);
    p.master.beat_clock = 4800;
    p.master.tempo = 300;
    p.update_measures();
    ASSERT_GT(p.samples_per_clock(11025), 0.0f);
    ASSERT_LT(p.samples_per_clock(11025), 1.0f);
    p.add_event(3, 0, EVENTKIND_KEY, 0x6C00);
    p.add_event(4, 0, EVENTKIND_VOLUME, 64);
    std::vector<int16_t> out = render16(p, 10, {11025, 2, 16});
    // Frame 1 is clock 4: both events applied before it is computed.
    EXPECT_EQ(out[1 * 2], out[1 * 2 + 1]);
    EXPECT_NE(out[1 * 2], 0);
}

}  // namespace
}  // namespace pxtone
