// Older file generations (x1x-x4x): old event chunks, unit records, the key fix-up and the
// sorted event list.

#include <gtest/gtest.h>

#include "TestSongs.h"
#include "pxtone/ByteReader.h"

namespace pxtone {
namespace {

using test::Bytes;

Bytes even_mast(std::initializer_list<std::array<uint32_t, 3>> records) {
    Bytes b;
    b.u16(3).u16(0).u32(static_cast<uint32_t>(records.size()));
    for (const auto& r : records) b.var(r[0]).var(r[1]).var(r[2]);
    return b;
}

Bytes even_unit(uint16_t unit, uint16_t kind,
                std::initializer_list<std::array<uint32_t, 2>> pairs) {
    Bytes b;
    b.u16(unit).u16(kind).u16(2).u16(0).u32(static_cast<uint32_t>(pairs.size()));
    for (const auto& p : pairs) b.var(p[0]).var(p[1]);
    return b;
}

uint32_t fbits(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return v;
}

Bytes ptv_with_legacy_key(uint32_t legacy_key, float legacy_tuning) {
    Bytes block;
    block.var(legacy_key).var(0).var(0).var(1);
    block.var(0x2D00).var(128).var(64).var(fbits(1.0f)).var(3).var(1);
    block.var(1).var(1).var(1).var(128);  // overtone, 1 point
    Bytes full;
    full.raw("PTVOICE-").u32(20051101).u32(static_cast<uint32_t>(block.b.size()));
    full.b.insert(full.b.end(), block.b.begin(), block.b.end());
    Bytes c;
    c.u16(0).u16(0).f32(legacy_tuning).u32(static_cast<uint32_t>(full.b.size()));
    c.b.insert(c.b.end(), full.b.begin(), full.b.end());
    return c;
}

Bytes pcm_chunk() {
    Bytes c;
    c.u16(0).u16(0x4500).u32(3).u16(1).u16(8).u32(22050).f32(1.0f).u32(4).u8(0).u8(255).u8(0).u8(
        255);
    return c;
}

TEST(OldFormats, X2xProject) {
    Bytes b;
    b.raw("PTCOLLAGE-050608");
    b.chunk("evenMAST", even_mast({{7, 0, 480}, {8, 0, fbits(186.0f)}, {9, 0, 5}, {10, 2400, 0}}));
    b.chunk("textNAME", Bytes().raw("old"));
    b.chunk("effeDELA", Bytes().u16(1).u16(0).f32(0).f32(3));
    // Unit 0: PTV with legacy key 0x3900 (keys drop 12 semitones) and legacy tuning 1.5.
    b.chunk("pxtnUNIT", Bytes().u16(2).u16(9));
    b.chunk("assiUNIT", Bytes().u16(0).u16(0).name16("lead"));
    b.chunk("matePTV ", ptv_with_legacy_key(0x3900, 1.5f));
    b.chunk("evenUNIT", even_unit(0, EVENTKIND_ON, {{0, 480}, {960, 480}}));
    b.chunk("evenUNIT", even_unit(0, EVENTKIND_KEY, {{0, 0x6000}, {960, 0x6400}}));
    // Unit 1: PCM, no KEY events (one is inserted), legacy tuning 1.0 (no TUNING event).
    b.chunk("pxtnUNIT", Bytes().u16(1).u16(2));
    b.chunk("matePCM ", pcm_chunk());
    b.chunk("evenUNIT", even_unit(1, EVENTKIND_ON, {{480, 960}, {4800, 960}}));
    b.chunk("evenUNIT",
            even_unit(1, EVENTKIND_VELOCITY, {{480, 50}, {0, 60}}));  // same clock: replaced
    b.raw("pxtoneND");
    LoadResult r = Project::load(b.b);
    ASSERT_TRUE(r) << r.error.message;
    const Project& p = *r.project;
    EXPECT_EQ(p.generation, Generation::X2x);
    EXPECT_EQ(p.master.beat_clock, 480);
    EXPECT_EQ(p.master.tempo, 186.0f);
    EXPECT_EQ(p.master.beats, 5);
    EXPECT_EQ(p.master.repeat_meas, 1);
    EXPECT_EQ(p.name, "old");
    EXPECT_EQ(p.unit_count(), 2);
    EXPECT_EQ(p.unit_names[0], "lead");
    EXPECT_EQ(p.unit_names[1], "no name");
    EXPECT_EQ(p.woices[0].name, "voice_00");
    EXPECT_EQ(p.woices[1].name, "voice_01");
    // Every list entry in (clock, priority) order.
    for (size_t i = 1; i < p.events.size(); ++i) {
        const Event& a = p.events[i - 1];
        const Event& c = p.events[i];
        ASSERT_TRUE(a.clock < c.clock ||
                    (a.clock == c.clock && event_priority(a.kind) <= event_priority(c.kind)))
            << i;
    }
    auto find = [&](int unit, int kind, int clock) -> const Event* {
        for (const Event& e : p.events)
            if (e.unit == unit && e.kind == kind && e.clock == clock) return &e;
        return nullptr;
    };
    ASSERT_TRUE(find(0, EVENTKIND_GROUPNO, 0));
    EXPECT_EQ(find(0, EVENTKIND_GROUPNO, 0)->value, 6);  // capped
    EXPECT_EQ(find(1, EVENTKIND_GROUPNO, 0)->value, 2);
    EXPECT_EQ(find(1, EVENTKIND_VOICENO, 0)->value, 1);
    ASSERT_TRUE(find(0, EVENTKIND_KEY, 0));
    EXPECT_EQ(find(0, EVENTKIND_KEY, 0)->value, 0x6000 - 0x0C00);
    EXPECT_EQ(find(0, EVENTKIND_KEY, 960)->value, 0x6400 - 0x0C00);
    ASSERT_TRUE(find(1, EVENTKIND_KEY, 0));
    EXPECT_EQ(find(1, EVENTKIND_KEY, 0)->value, 0x6000);
    ASSERT_TRUE(find(0, EVENTKIND_TUNING, 0));
    EXPECT_EQ(bits_to_float(find(0, EVENTKIND_TUNING, 0)->value), 1.5f);
    EXPECT_FALSE(find(1, EVENTKIND_TUNING, 0));
    ASSERT_TRUE(find(1, EVENTKIND_VELOCITY, 480));
    EXPECT_EQ(find(1, EVENTKIND_VELOCITY, 480)->value, 60);
    EXPECT_EQ(p.master.meas_num, 3);  // last note ends at 6240: 13 beats
    EXPECT_EQ(p.delays.size(), 1u);
    // It renders.
    EXPECT_FALSE(test::render16(p, 1000).empty());
}

TEST(OldFormats, X4xHasNoKeyFix) {
    Bytes b;
    b.raw("PTCOLLAGE-060930").u16(815).u16(0);
    b.chunk("evenMAST", even_mast({{8, 0, fbits(150.0f)}, {11, 7680, 0}}));
    b.chunk("matePTV ", ptv_with_legacy_key(0x3900, 1.5f));
    b.chunk("assiWOIC", Bytes().u16(0).u16(0).name16("synth"));
    b.chunk("num UNIT", Bytes().u16(1).u16(0));
    b.chunk("evenUNIT", even_unit(0, EVENTKIND_VOICENO, {{0, 0}}));
    b.chunk("evenUNIT", even_unit(0, EVENTKIND_KEY, {{0, 0x5000}}));
    b.chunk("evenUNIT", even_unit(0, EVENTKIND_ON, {{0, 100}, {19200, 480}}));
    b.raw("pxtoneND").u32(0);
    LoadResult r = Project::load(b.b);
    ASSERT_TRUE(r) << r.error.message;
    const Project& p = *r.project;
    EXPECT_EQ(p.generation, Generation::X4x);
    EXPECT_EQ(p.woices[0].name, "synth");
    EXPECT_EQ(p.master.last_meas, 4);
    EXPECT_EQ(p.master.meas_num, 11);  // 19680 clocks -> 41 beats -> 11 measures
    EXPECT_EQ(p.play_meas(), 4);
    for (const Event& e : p.events) {
        if (e.kind == EVENTKIND_KEY) {
            EXPECT_EQ(e.value, 0x5000);
        }
        EXPECT_NE(e.kind, EVENTKIND_TUNING);
    }
}

TEST(OldFormats, X3xTuneAndUnitWoiceCheck) {
    Bytes b;
    b.raw("PTTUNE--20060115").u16(0).u16(0);
    b.chunk("pxtnUNIT", Bytes().u16(1).u16(0));
    b.chunk("pxtnUNIT", Bytes().u16(1).u16(0));
    b.chunk("matePCM ", pcm_chunk());
    b.raw("pxtoneND");
    // Two units but one woice: the key fix cannot run.
    LoadResult r = Project::load(b.b);
    EXPECT_FALSE(r);
    Bytes ok;
    ok.raw("PTTUNE--20060115").u16(0).u16(0);
    ok.chunk("pxtnUNIT", Bytes().u16(1).u16(0));
    ok.chunk("matePCM ", pcm_chunk());
    ok.chunk("evenUNIT", even_unit(0, EVENTKIND_ON, {{48, 48}}));
    ok.raw("pxtoneND");
    r = Project::load(ok.b);
    ASSERT_TRUE(r) << r.error.message;
    EXPECT_EQ(r.project->file_kind, FileKind::Tune);
    EXPECT_EQ(r.project->generation, Generation::X3x);
    // Bad unit type.
    Bytes bad;
    bad.raw("PTTUNE--20060115")
        .u16(0)
        .u16(0)
        .chunk("pxtnUNIT", Bytes().u16(4).u16(0))
        .raw("pxtoneND");
    EXPECT_FALSE(Project::load(bad.b));
}

TEST(OldFormats, X1xProjectWithEndRelativeNotes) {
    Bytes b;
    b.raw("PTCOLLAGE-050227");
    Bytes proj;
    proj.name16("first").f32(120.0f).u16(480).u16(4).u16(4).u16(8).u16(2).u16(16).u32(44100);
    b.chunk("PROJECT=", proj);
    b.chunk("UNIT====", Bytes().name16("piano").u16(1).u16(0));
    b.chunk("matePCM=", pcm_chunk());
    Bytes ev;
    ev.u16(0).u16(EVENTKIND_ON).u16(2).u16(77).u32(2).var(0).var(480).var(480).var(240);
    b.chunk("EVENT===", ev);
    b.raw("END=====");
    LoadResult r = Project::load(b.b);
    ASSERT_TRUE(r) << r.error.message;
    const Project& p = *r.project;
    EXPECT_EQ(p.generation, Generation::X1x);
    EXPECT_EQ(p.name, "first");
    EXPECT_EQ(p.unit_names[0], "piano");
    std::vector<int> on_clocks;
    for (const Event& e : p.events)
        if (e.kind == EVENTKIND_ON) on_clocks.push_back(e.clock);
    // The second note's delta counts from the end of the first: 0 + 480 + 480.
    EXPECT_EQ(on_clocks, (std::vector<int>{0, 960}));
    // x1x files end at END=====; pxtoneND is not their terminator.
    Bytes wrong;
    wrong.raw("PTCOLLAGE-050227").chunk("PROJECT=", proj).raw("pxtoneND");
    EXPECT_FALSE(Project::load(wrong.b));
}

TEST(OldFormats, BadMasterAndUnitChunks) {
    auto x4x = [](const std::string& tag, const Bytes& payload) {
        Bytes b;
        b.raw("PTCOLLAGE-060930").u16(0).u16(0).chunk(tag, payload).raw("pxtoneND");
        return Project::load(b.b);
    };
    EXPECT_FALSE(x4x("evenMAST", even_mast({{7, 10, 480}})));  // beat clock not at 0
    EXPECT_FALSE(x4x("evenMAST", even_mast({{10, 0, 1}})));    // repeat with a value
    EXPECT_FALSE(x4x("evenMAST", even_mast({{12, 0, 1}})));    // unknown kind
    EXPECT_FALSE(x4x("evenMAST", even_mast({{7, 0, 0}})));     // zero beat clock
    Bytes few = even_mast({{7, 0, 480}});
    few.b[4] = 2;  // claims 2 records
    EXPECT_FALSE(x4x("evenMAST", few));
    EXPECT_FALSE(x4x("evenUNIT", even_unit(0, 16, {{0, 1}})));  // kind >= 16
    Bytes res = even_unit(0, 1, {{0, 1}});
    res.b[6] = 1;  // reserved
    EXPECT_FALSE(x4x("evenUNIT", res));
    EXPECT_TRUE(x4x("evenMAST", even_mast({{7, 0, 96}, {9, 0, 3}})));
}

}  // namespace
}  // namespace pxtone
