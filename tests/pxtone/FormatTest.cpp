// File-level facts: varints, master arithmetic, measures, the writer and reader round trip.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "TestSongs.h"
#include "pxtone/ByteReader.h"
#include "pxtone/FreqTable.h"

namespace pxtone {
namespace {

using test::Bytes;

TEST(Varint, EncodesMinimalLengthAndDecodesBack) {
    auto enc = [](uint32_t v) {
        std::vector<uint8_t> out;
        put_varint(out, v);
        return out;
    };
    EXPECT_EQ(enc(0x6000), (std::vector<uint8_t>{0x80, 0xC0, 0x01}));
    EXPECT_EQ(enc(104), (std::vector<uint8_t>{0x68}));
    EXPECT_EQ(enc(480), (std::vector<uint8_t>{0xE0, 0x03}));
    EXPECT_EQ(enc(0x7F).size(), 1u);
    EXPECT_EQ(enc(0x80).size(), 2u);
    EXPECT_EQ(enc(0x3FFF).size(), 2u);
    EXPECT_EQ(enc(0x4000).size(), 3u);
    EXPECT_EQ(enc(0x1FFFFF).size(), 3u);
    EXPECT_EQ(enc(0x200000).size(), 4u);
    EXPECT_EQ(enc(0xFFFFFFF).size(), 4u);
    EXPECT_EQ(enc(0x10000000).size(), 5u);
    EXPECT_EQ(enc(static_cast<uint32_t>(-1)).size(), 5u);
    for (uint32_t v :
         {0u, 1u, 127u, 128u, 0x6000u, 0xBFFFu, 0x12345678u, 0xFFFFFFFFu, 0x80000000u}) {
        std::vector<uint8_t> bytes = enc(v);
        ByteReader r(bytes);
        uint32_t back = 0;
        ASSERT_EQ(r.varint(back), ByteReader::VarResult::Ok);
        EXPECT_EQ(back, v);
        EXPECT_TRUE(r.at_end());
    }
}

TEST(Varint, FifthByteUsesLowNibbleAndRejectsContinuation) {
    // Bits 4-6 of the 5th byte are ignored.
    std::vector<uint8_t> ignored = {0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    ByteReader r(ignored);
    uint32_t v;
    ASSERT_EQ(r.varint(v), ByteReader::VarResult::Ok);
    EXPECT_EQ(v, 0xFFFFFFFFu);
    std::vector<uint8_t> bad = {0x80, 0x80, 0x80, 0x80, 0x80, 0x00};
    ByteReader r2(bad);
    EXPECT_EQ(r2.varint(v), ByteReader::VarResult::Invalid);
    std::vector<uint8_t> cut = {0x80, 0x80};
    ByteReader r3(cut);
    EXPECT_EQ(r3.varint(v), ByteReader::VarResult::Truncated);
}

TEST(FreqTable, PinnedEntries) {
    EXPECT_EQ(FreqTable::f1(0), 1.0f);
    EXPECT_EQ(FreqTable::f1(0x1800), 4.0f);
    EXPECT_EQ(FreqTable::f1(0x0C00), 2.0f);
    EXPECT_EQ(FreqTable::f2(0x6000), 1.0f);
    EXPECT_FLOAT_EQ(FreqTable::f2(0x4500), 0.210224107f);
    EXPECT_FLOAT_EQ(FreqTable::f2(0x2D00), 0.0525560267f);
    EXPECT_FLOAT_EQ(FreqTable::f2(0x6010), 1.00361669f);
    // F1 is quantized to 1/16 semitone; F2 uses key >> 4; both clamp to the table.
    EXPECT_EQ(FreqTable::f1(15), 1.0f);
    EXPECT_EQ(FreqTable::f1(16), FreqTable::f2(0x6010));
    EXPECT_EQ(FreqTable::f2(-100), FreqTable::table()[0]);
    EXPECT_EQ(FreqTable::f2(0x7FFFFFFF), FreqTable::table()[3071]);
    EXPECT_EQ(FreqTable::f1(-0x7000), FreqTable::table()[0]);
    for (int j = 0; j < FreqTable::kSize; j += 97)
        EXPECT_EQ(FreqTable::table()[j], static_cast<float>(std::pow(2.0, (j - 1536) / 192.0)));
}

// A song whose events end exactly at `meas` measures.
Project song_with(int meas, int beats, int clock, float tempo, int repeat, int last = 0) {
    Project p;
    p.master.beats = beats;
    p.master.beat_clock = clock;
    p.master.tempo = tempo;
    p.master.repeat_meas = repeat;
    p.master.last_meas = last;
    p.set_unit_count(1);
    p.add_event(0, 0, EVENTKIND_ON, meas * beats * clock);
    p.update_measures();
    EXPECT_TRUE(p.prepare_tones());
    return p;
}

TEST(Master, SamplesPerClockIsRoundedToFloat) {
    EXPECT_EQ(song_with(1, 4, 480, 120, 0).samples_per_clock(44100), 45.9375f);
    EXPECT_EQ(song_with(1, 4, 480, 150, 0).samples_per_clock(44100), 36.75f);
    EXPECT_FLOAT_EQ(song_with(1, 4, 480, 145, 0).samples_per_clock(44100), 38.0172424f);
    EXPECT_FLOAT_EQ(song_with(1, 4, 480, 189, 0).samples_per_clock(44100), 29.166666f);
    EXPECT_EQ(song_with(1, 4, 48, 120, 0).samples_per_clock(44100), 459.375f);
}

TEST(Master, WorkedEndAndRepeatSamples) {
    struct Row {
        int meas, repeat, beats, clock;
        float tempo;
        int64_t end, rep;
    };
    const Row rows[] = {
        {33, 1, 5, 480, 186, 2347258, 71129},   {25, 1, 4, 480, 120, 2205000, 88200},
        {40, 0, 4, 480, 168, 2520000, 0},       {40, 16, 4, 48, 120, 3528000, 1411200},
        {55, 54, 4, 480, 90, 6468000, 6350400}, {41, 1, 4, 480, 150, 2892960, 70560},
        {17, 0, 4, 480, 120, 1499400, 0},       {1, 0, 4, 480, 120, 88200, 0},
    };
    for (const Row& r : rows) {
        Project p = song_with(r.meas, r.beats, r.clock, r.tempo, r.repeat);
        EXPECT_EQ(p.master.meas_num, r.meas);
        EXPECT_EQ(p.play_meas(), r.meas);
        EXPECT_EQ(p.end_sample(44100), r.end) << r.meas << " measures at " << r.tempo;
        EXPECT_EQ(p.repeat_sample(44100), r.rep) << r.meas << " measures at " << r.tempo;
    }
    // Song I: 45 measures, last measure 44, 189 BPM.
    Project i = song_with(45, 4, 480, 189, 0, 44);
    EXPECT_EQ(i.play_meas(), 44);
    EXPECT_EQ(i.end_sample(44100), 2463999);
    EXPECT_EQ(i.total_samples(44100), 2520000);
    Renderer r(i);
    ASSERT_TRUE(r.prepare({}));
    r.start(2463998);
    int16_t buf[2];
    r.render(buf, 1);
    EXPECT_EQ(r.sample(), 2463999);
    EXPECT_EQ(r.clock(), 84479);
    // Song J: 82 measures at 121 BPM.
    EXPECT_EQ(song_with(82, 4, 480, 121, 0).end_sample(44100), 7172627);
}

TEST(Master, MeasureCountAndClamps) {
    Project p;
    p.set_unit_count(1);
    p.add_event(0, 0, EVENTKIND_ON, 78720);  // largest end 78720 -> 164 beats -> 41 measures
    p.update_measures();
    EXPECT_EQ(p.master.meas_num, 41);
    // Non-note events count by their clock only; master kinds count too.
    p.add_event(80000, 0, EVENTKIND_REPEAT, 0);
    p.update_measures();
    EXPECT_EQ(p.master.meas_num, 42);
    // Repeat at or past the end becomes 0.
    p.master.repeat_meas = 42;
    p.update_measures();
    EXPECT_EQ(p.master.repeat_meas, 0);
    // The last measure extends the measure count when it lies past the events.
    p.master.repeat_meas = 42;
    p.master.last_meas = 50;
    p.update_measures();
    EXPECT_EQ(p.master.meas_num, 50);
    EXPECT_EQ(p.master.last_meas, 50);
    EXPECT_EQ(p.master.repeat_meas, 42);
    // Repeat at or after the last measure would jump past the end: treated as 0.
    p.master.repeat_meas = 10;
    p.master.last_meas = 10;
    p.update_measures();
    EXPECT_EQ(p.master.repeat_meas, 0);
    // An empty song has one measure.
    Project empty;
    empty.update_measures();
    EXPECT_EQ(empty.master.meas_num, 1);
    TuneInfo info = song_with(33, 5, 480, 186, 1).info();
    EXPECT_EQ(info.measures, 33);
    EXPECT_EQ(info.play_meas, 33);
    EXPECT_EQ(info.repeat_meas, 1);
    EXPECT_DOUBLE_EQ(info.length_seconds, 33 * 5 * 60.0 / 186);
}

TEST(Events, SortedInsertionReplacesAndOrdersByPriority) {
    Project p;
    p.set_unit_count(2);
    p.add_event(100, 0, EVENTKIND_ON, 10);
    p.add_event(100, 0, EVENTKIND_KEY, 0x5000);   // 40 before 50
    p.add_event(100, 1, EVENTKIND_VOICENO, 0);    // 10 first
    p.add_event(100, 0, EVENTKIND_PAN_TIME, 70);  // 100 last
    p.add_event(50, 1, EVENTKIND_VELOCITY, 1);    // earlier clock first
    p.add_event(100, 0, EVENTKIND_KEY, 0x5100);   // replaces in place
    p.add_event(100, 1, EVENTKIND_KEY, 0x5200);   // same priority: after unit 0's key
    ASSERT_EQ(p.events.size(), 6u);
    const int kinds[] = {EVENTKIND_VELOCITY, EVENTKIND_VOICENO, EVENTKIND_KEY,
                         EVENTKIND_KEY,      EVENTKIND_ON,      EVENTKIND_PAN_TIME};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(p.events[i].kind, kinds[i]) << i;
    EXPECT_EQ(p.events[2].unit, 0);
    EXPECT_EQ(p.events[2].value, 0x5100);
    EXPECT_EQ(p.events[3].unit, 1);
}

// A song using every woice kind but OGGV, every event kind, both effects and the texts.
Project full_song() {
    Project p;
    p.name = "\x83\x52\x83\x93\x83\x73\x83\x4E";
    p.comment = "line one\r\nline two";
    p.master.tempo = 145.0f;
    p.master.beats = 3;
    p.woices.push_back(
        Woice::make_pcm(test::pcm16(test::ramp(300)), 0x4500, VOICEFLAG_WAVELOOP, 1.5f));
    p.woices.back().name = "ramp";
    PcmSource p8;
    p8.bits = 8;
    p8.channels = 2;
    p8.rate = 22050;
    p8.data = {0, 255, 128, 128, 10, 20};
    p.woices.push_back(Woice::make_pcm(p8));
    Voice coord;
    coord.data_flags = DATAFLAG_WAVE | DATAFLAG_ENVELOPE;
    coord.wave_type = 0;
    coord.resolution = 256;
    coord.wave = {{0, 0}, {64, 127}, {192, -128}};
    coord.env_fps = 100;
    coord.env_head = {{2, 128}, {10, 64}};
    coord.env_release = 30;
    coord.pan = 40;
    coord.volume = 100;
    p.woices.push_back(Woice::make_ptv({test::overtone_voice(3, -50), coord}));
    p.woices.back().name = "sixteen-byte-nam";
    NoiseDesign nd = test::simple_noise(4, 1234.5f);
    nd.units[0].pan = -30;
    nd.units[0].freq = {7, true, 3.5f, 50.0f, 25.0f};
    nd.units[0].volume = {13, false, 2.0f, 150.0f, 100.0f};
    nd.units.push_back(test::simple_noise(16, 100.0f).units[0]);
    p.woices.push_back(Woice::make_ptn(nd, 0x4000, VOICEFLAG_BEATFIT, 0.5f));
    p.set_unit_count(3);
    p.unit_names[0] = "lead";
    p.unit_names[2] = "drums";
    p.delays.push_back({2, 1, 40.0f, 8.0f});
    p.delays.push_back({0, 0, 33.0f, 3.0f});
    p.overdrives.push_back({1, 75.5f, 3.0f});
    p.add_event(0, 0, EVENTKIND_VOICENO, 2);
    p.add_event(0, 1, EVENTKIND_GROUPNO, 1);
    p.add_event(0, 0, EVENTKIND_KEY, 0x5400);
    p.add_event(0, 0, EVENTKIND_PAN_VOLUME, 20);
    p.add_event(0, 0, EVENTKIND_VELOCITY, 90);
    p.add_event(0, 0, EVENTKIND_VOLUME, 70);
    p.add_event(0, 0, EVENTKIND_PORTAMENT, 120);
    p.add_event_f(0, 0, EVENTKIND_TUNING, 1.25f);
    p.add_event(0, 0, EVENTKIND_PAN_TIME, 100);
    p.add_event(0, 0, EVENTKIND_ON, 480);
    p.add_event(480, 2, EVENTKIND_VOICENO, 3);
    p.add_event(480, 2, EVENTKIND_ON, 960);
    p.add_event(500, 1, EVENTKIND_KEY, -5);  // negative values take 5 bytes
    p.add_event(1440, 1, EVENTKIND_ON, 2000);
    p.update_measures();
    return p;
}

TEST(Writer, RoundTripKeepsEverything) {
    Project p = full_song();
    ASSERT_TRUE(p.prepare_tones());
    auto back = test::roundtrip(p);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->generation, Generation::V5);
    EXPECT_EQ(back->file_kind, FileKind::Project);
    EXPECT_EQ(back->name, p.name);
    EXPECT_EQ(back->comment, p.comment);
    EXPECT_EQ(back->master.tempo, 145.0f);
    EXPECT_EQ(back->master.beats, 3);
    EXPECT_EQ(back->master.meas_num, p.master.meas_num);
    ASSERT_EQ(back->events.size(), p.events.size());
    for (size_t i = 0; i < p.events.size(); ++i) {
        EXPECT_EQ(back->events[i].clock, p.events[i].clock);
        EXPECT_EQ(back->events[i].unit, p.events[i].unit);
        EXPECT_EQ(back->events[i].kind, p.events[i].kind);
        EXPECT_EQ(back->events[i].value, p.events[i].value);
    }
    EXPECT_EQ(back->unit_names, p.unit_names);
    ASSERT_EQ(back->delays.size(), 2u);
    EXPECT_EQ(back->delays[0].unit, 2);
    EXPECT_EQ(back->delays[0].group, 1);
    EXPECT_EQ(back->delays[0].rate, 40.0f);
    EXPECT_EQ(back->delays[0].freq, 8.0f);
    ASSERT_EQ(back->overdrives.size(), 1u);
    EXPECT_EQ(back->overdrives[0].cut, 75.5f);
    EXPECT_EQ(back->overdrives[0].amp, 3.0f);
    EXPECT_EQ(back->overdrives[0].group, 1);
    ASSERT_EQ(back->woices.size(), 4u);
    for (size_t w = 0; w < 4; ++w) {
        const Woice& a = p.woices[w];
        const Woice& b = back->woices[w];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.name, b.name);
        ASSERT_EQ(a.voices.size(), b.voices.size());
        for (size_t v = 0; v < a.voices.size(); ++v) {
            EXPECT_EQ(a.voices[v].basic_key, b.voices[v].basic_key);
            EXPECT_EQ(a.voices[v].tuning, b.voices[v].tuning);
            EXPECT_EQ(a.voices[v].voice_flags, b.voices[v].voice_flags);
            EXPECT_EQ(a.voices[v].body, b.voices[v].body) << "woice " << w << " voice " << v;
        }
    }
    EXPECT_EQ(back->woices[0].pcm.data, p.woices[0].pcm.data);
    EXPECT_EQ(back->woices[1].pcm.bits, 8);
    EXPECT_EQ(back->woices[1].pcm.rate, 22050);
    const Voice& coord = back->woices[2].voices[1];
    EXPECT_EQ(coord.wave_type, 0);
    EXPECT_EQ(coord.resolution, 256);
    ASSERT_EQ(coord.wave.size(), 3u);
    EXPECT_EQ(coord.wave[2].y, -128);
    EXPECT_EQ(coord.env_fps, 100);
    ASSERT_EQ(coord.env_head.size(), 2u);
    EXPECT_EQ(coord.env_head[1].x, 10);
    EXPECT_EQ(coord.env_release, 30);
    EXPECT_EQ(coord.pan, 40);
    EXPECT_EQ(back->woices[2].voices[0].wave[0].y, -50);
    const NoiseDesign& nd = back->woices[3].noise;
    ASSERT_EQ(nd.units.size(), 2u);
    EXPECT_EQ(nd.units[0].pan, -30);
    EXPECT_EQ(nd.units[0].main.type, 4);
    EXPECT_EQ(nd.units[0].main.freq, 1234.5f);
    EXPECT_TRUE(nd.units[0].freq.reverse);
    EXPECT_EQ(nd.units[0].freq.offset, 25.0f);
    EXPECT_EQ(nd.units[0].volume.volume, 150.0f);
    EXPECT_EQ(nd.units[1].main.type, 16);
    // Rendering the written file gives the same sound as the song in memory.
    EXPECT_EQ(test::render16(p, 30000), test::render16(*back, 30000));
}

TEST(Writer, TuneFilesCarryNoNamesAndKeepStoredClocks) {
    Project p = full_song();
    p.master.beat_clock = 48;
    p.update_measures();
    auto back = test::roundtrip(p, FileKind::Tune);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->file_kind, FileKind::Tune);
    EXPECT_EQ(back->master.beat_clock, 48);
    EXPECT_EQ(back->woices[0].name, "");
    EXPECT_EQ(back->unit_names[0], "no name");
    EXPECT_EQ(back->events.back().clock, 1440);
}

TEST(Reader, EventListIsParsedByCountNotBySize) {
    Project p = full_song();
    std::vector<uint8_t> bytes = write_file(p);
    // The official tools declare a size larger than the payload; readers must not use it.
    const uint8_t* at = std::search(bytes.data(), bytes.data() + bytes.size(),
                                    reinterpret_cast<const uint8_t*>("Event V5"),
                                    reinterpret_cast<const uint8_t*>("Event V5") + 8);
    ASSERT_NE(at, bytes.data() + bytes.size());
    const size_t size_at = static_cast<size_t>(at - bytes.data()) + 8;
    bytes[size_at] = 0x11;
    bytes[size_at + 1] = 0xA4;  // 42001
    LoadResult r = Project::load(bytes);
    ASSERT_TRUE(r) << r.error.message;
    EXPECT_EQ(r.project->events.size(), p.events.size());
    EXPECT_EQ(r.project->woices.size(), 4u);
}

TEST(Reader, ChunkOrderIsFreeAndDefaultsApply) {
    // Only the terminator is needed: defaults 4 beats, 120 BPM, 480 clocks, no units.
    Bytes b;
    b.raw("PTCOLLAGE-071119").u16(5).u16(0).raw("pxtoneND");
    LoadResult r = Project::load(b.b);
    ASSERT_TRUE(r) << r.error.message;
    EXPECT_EQ(r.project->master.beats, 4);
    EXPECT_EQ(r.project->master.tempo, 120.0f);
    EXPECT_EQ(r.project->master.beat_clock, 480);
    EXPECT_EQ(r.project->unit_count(), 0);
    EXPECT_EQ(r.project->master.meas_num, 1);
    // Names: cut at the first NUL; all 16 bytes when no NUL.
    Bytes c;
    c.raw("PTCOLLAGE-071119").u16(5).u16(0);
    c.chunk("num UNIT", Bytes().u16(2).u16(0));
    c.chunk("assiUNIT", Bytes().u16(1).u16(0).name16("bass"));
    c.chunk("assiUNIT", Bytes().u16(0).u16(0).raw("0123456789abcdef"));
    c.raw("pxtoneND").u32(0).raw("trailing bytes are ignored");
    r = Project::load(c.b);
    ASSERT_TRUE(r) << r.error.message;
    EXPECT_EQ(r.project->unit_names[0], "0123456789abcdef");
    EXPECT_EQ(r.project->unit_names[1], "bass");
}

TEST(Reader, MasterPositionsBecomeMeasures) {
    Bytes b;
    b.raw("PTTUNE--20071119").u16(5).u16(0);
    // beat clock 48, 4 beats, 120 BPM, repeat at 16 measures, last at 40 measures.
    b.chunk("MasterV5", Bytes().u16(48).u8(4).f32(120.0f).u32(16 * 4 * 48).u32(40 * 4 * 48 + 5));
    b.chunk("num UNIT", Bytes().u16(1).u16(0));
    Bytes ev;
    ev.u32(1).var(0).u8(0).u8(EVENTKIND_ON).var(60 * 4 * 48);
    b.chunk("Event V5", ev);
    b.raw("pxtoneND").u32(0);
    LoadResult r = Project::load(b.b);
    ASSERT_TRUE(r) << r.error.message;
    EXPECT_EQ(r.project->master.meas_num, 60);
    EXPECT_EQ(r.project->master.repeat_meas, 16);
    EXPECT_EQ(r.project->master.last_meas, 40);
    EXPECT_EQ(r.project->end_sample(44100), 3528000);
    EXPECT_EQ(r.project->repeat_sample(44100), 1411200);
}

}  // namespace
}  // namespace pxtone

namespace pxtone {
namespace {

TEST(Reader, LoadFileReadsWhatTheWriterWrote) {
    Project p = full_song();
    const std::string path = ::testing::TempDir() + "/pxtone_format_test.ptcop";
    ASSERT_TRUE(write_file(p, path));
    LoadResult r = Project::load_file(path);
    ASSERT_TRUE(r) << r.error.message;
    EXPECT_EQ(r.project->events.size(), p.events.size());
    std::remove(path.c_str());
    r = Project::load_file(path);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error.code, LoadError::Code::Io);
    EXPECT_FALSE(write_file(p, ::testing::TempDir() + "/no/such/dir/x.ptcop"));
}

TEST(Reader, MasterKindsInTheEventListAreNotPlayed) {
    Project p =
        test::one_unit_song(Woice::make_pcm(test::pcm16({500}), 0x4500, VOICEFLAG_WAVELOOP));
    p.add_event(0, 0, EVENTKIND_ON, 100);
    for (int kind = EVENTKIND_BEATCLOCK; kind <= EVENTKIND_LAST; ++kind)
        p.add_event(10, 0, kind, 7);
    p.add_event(10, 0, 99, 7);  // unknown kind
    p.update_measures();
    ASSERT_TRUE(p.prepare_tones());
    auto back = test::roundtrip(p);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->events.size(), 3u + 5u + 1u);
    std::vector<int16_t> out = test::render16(*back, 4000);
    for (int f = 0; f < 4000; ++f) ASSERT_EQ(out[static_cast<size_t>(f) * 2], 500) << f;
}

}  // namespace
}  // namespace pxtone

namespace pxtone {
namespace {

uint64_t fnv1a(const void* data, size_t n) {
    uint64_t h = 1469598103934665603ull;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Pins the whole output of a song using every feature, so that a change to the renderer
// that alters any sample shows up (update a value only after checking why it moved).
TEST(Render, FullSongOutputIsStable) {
    Project p = full_song();
    ASSERT_TRUE(p.prepare_tones());
    struct Case {
        OutputFormat fmt;
        uint64_t hash;
    };
    const Case cases[] = {
        {{44100, 2, 16}, 13823961525305026316ull},
        {{22050, 1, 8}, 542239869447256066ull},
        {{48000, 2, 16}, 15700377067918405133ull},
    };
    for (const Case& c : cases) {
        Renderer r(p);
        ASSERT_TRUE(r.prepare(c.fmt));
        r.start(0);
        std::vector<uint8_t> out(static_cast<size_t>(r.end_sample()) * 4 + 16);
        const int n = r.render(out.data(), static_cast<int>(r.end_sample()) + 2);
        EXPECT_EQ(n, r.end_sample() - 1);
        const size_t bytes = static_cast<size_t>(n) * c.fmt.channels * (c.fmt.bits / 8);
        EXPECT_EQ(fnv1a(out.data(), bytes), c.hash) << c.fmt.rate << "/" << c.fmt.channels;
        EXPECT_GT(std::count_if(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(bytes),
                                [&](uint8_t b) { return b != (c.fmt.bits == 8 ? 128 : 0); }),
                  static_cast<std::ptrdiff_t>(bytes / 4));
    }
}

}  // namespace
}  // namespace pxtone
